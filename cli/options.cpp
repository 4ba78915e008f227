#include "cli/options.h"

namespace zul {

namespace {

bool ParseSort(const std::string& value, Options::Sort& sort) {
  if (value == "name") {
    sort = Options::Sort::Name;
  } else if (value == "created") {
    sort = Options::Sort::Created;
  } else if (value == "modified") {
    sort = Options::Sort::Modified;
  } else if (value == "captured") {
    sort = Options::Sort::Captured;
  } else {
    return false;
  }
  return true;
}

}  // namespace

std::optional<Options> ParseOptions(const std::vector<std::string>& arguments, std::string& error) {
  Options options;
  std::vector<std::string> operands;
  bool optionsEnd = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (optionsEnd || argument.size() < 2 || argument[0] != '-') {
      operands.push_back(argument);
      continue;
    }
    if (argument == "--") {
      optionsEnd = true;
    } else if (argument == "-r" || argument == "--recursive") {
      options.recursive = true;
    } else if (argument == "-0" || argument == "--null") {
      options.null = true;
    } else if (argument == "--apply") {
      options.apply = true;
    } else if (argument == "--undo") {
      options.undo = true;
    } else if (argument == "-h" || argument == "--help") {
      options.help = true;
    } else if (argument == "--version") {
      options.version = true;
    } else if (argument.rfind("--sort=", 0) == 0 || argument == "--sort") {
      std::string value;
      if (argument == "--sort") {
        if (i + 1 == arguments.size()) {
          error = "Die Option „--sort“ braucht einen Wert: name, created, modified oder captured.";
          return std::nullopt;
        }
        value = arguments[++i];
      } else {
        value = argument.substr(7);
      }
      if (!ParseSort(value, options.sort)) {
        error = "Unbekannte Sortierung „" + value +
                "“: erlaubt sind name, created, modified und captured.";
        return std::nullopt;
      }
    } else {
      error = "Unbekannte Option „" + argument + "“.";
      return std::nullopt;
    }
  }
  if (options.help || options.version) return options;
  if (options.undo) {
    if (options.apply || !operands.empty()) {
      error = "„--undo“ nimmt weder eine Filterdatei noch Pfade und nicht „--apply“.";
      return std::nullopt;
    }
    return options;
  }
  if (operands.size() < 2) {
    error = operands.empty() ? "Es fehlen die Filterdatei und mindestens ein Pfad."
                             : "Es fehlt mindestens ein Pfad.";
    return std::nullopt;
  }
  options.filterFile = operands.front();
  options.paths.assign(operands.begin() + 1, operands.end());
  return options;
}

std::string HelpText() {
  return R"(Aufruf: zulren [OPTIONEN] FILTERDATEI PFAD...
       zulren --undo

Benennt Dateien mit einem Filter um, der in Zul als .fil-Datei gespeichert wurde: dieselben
Namen, dieselbe Prüfung, dieselbe Sicherheit wie im Fenster. Ohne --apply wird nur gezeigt, was
geschehen würde (Probelauf); nichts wird umbenannt.

Jeder PFAD ist eine Datei (so übernommen) oder ein Ordner (seine Dateien ohne versteckte, in
Byte-Reihenfolge ihrer Namen, wie im Fenster). Die Zeilen folgen der Reihenfolge der Argumente;
[index] zählt nach dieser Reihenfolge. Pfade werden so gezeigt, wie sie angegeben wurden.

Platzhalter aus der Datei selbst (nur gelesen, wo die Maske sie braucht, nur aus regulären
Dateien): [interpret] [album] [titel] [spur] [genre] [cdnr] [erschienen] aus den Tags von
Musikdateien (MP3, FLAC, Ogg, M4A, WMA, WAV, AIFF), [hersteller] [kamera] [breite] [hoehe] aus
Fotos und Videos; englisch [artist] [title] [track] [disc] [released] [make] [model] [width]
[height]. Ein „/“ im Wert wird zu „-“, Steuerzeichen zu Leerzeichen. Fehlt der Wert, bleibt der
Platzhalter leer und die Zeile bekommt die Warnung „Leerer Platzhalter“. [eindeutig] ([unique])
bleibt leer, solange der neue Name frei ist, sonst wird er „-2“, „-3“, ...: die kleinste Zahl, mit
der der Name unter den früheren Zeilen desselben Ordners und auf der Platte frei ist.
Datum und Uhrzeit der Dateien gelten in der Ortszeit (Zeitzone des Systems, TZ).

Optionen:
  -r, --recursive       bei Ordnern auch alle Unterordner einbeziehen, wo ihr Name steht;
                        symbolischen Verknüpfungen auf Ordner wird nicht gefolgt (die
                        Verknüpfung selbst ist eine Zeile wie jede Datei)
      --sort=ART        alle Zeilen sortieren wie ein Klick auf die Spalte:
                        name (Alter Name), created (Erstelltdatum), modified (Änderungsdatum),
                        captured (Aufnahmedatum; ohne eines gilt das Änderungsdatum)
      --apply           wirklich umbenennen: erst prüfen, bei einem Konflikt nichts tun;
                        schlägt eine Umbenennung dennoch fehl, wird alles zurückbenannt
      --undo            die jüngste Umbenennung rückgängig machen (aus dem Fenster oder
                        von der Kommandozeile); wurde sie unterbrochen (Absturz, kill),
                        werden ihre schon umbenannten Dateien zurückbenannt
  -0, --null            statt der Tabelle je Zeile alten und neuen Pfad, jeweils mit NUL
                        abgeschlossen (für Skripte)
  -h, --help            diese Hilfe zeigen
      --version         die Version zeigen

Ausgabe: je Zeile alter Name, „->“, neuer Name und, nach „ # “, gegebenenfalls der Grund eines
Konflikts oder einer Warnung (ein versteckter neuer Name und ein leerer Platzhalter sind nur
Warnungen). Mit -0 stehen die
Gründe auf der Standardfehlerausgabe. Namen mit Leerzeichen, Steuerzeichen oder ungültigem UTF-8 stehen in Anführungszeichen wie bei
„ls --quoting-style=shell-escape“. Die Zusammenfassung steht auf der Standardfehlerausgabe.

Unterbrochene Umbenennung: Wurde „zulren --apply“ oder das Fenster mitten in einer Umbenennung
beendet, stellt „zulren --undo“ die alten Namen wieder her (das Fenster fragt beim nächsten
Start danach). Es läuft immer nur eine Umbenennung zugleich; eine zweite wartet kurz und nennt
dann, wer gerade umbenennt.

Rückgabewert:
  0  keine Konflikte, alles umbenannt (oder zurückbenannt)
  1  Konflikte gefunden, eine Umbenennung fehlgeschlagen und zurückbenannt, oder Dateien
     konnten bei --undo nicht zurückbenannt werden
  2  falscher Aufruf oder keine lesbare Filterdatei; nichts wurde umbenannt
  3  nach einem Fehler konnte nicht alles zurückbenannt werden (jede Datei wird genannt), das
     Protokoll der Umbenennung konnte nicht geschrieben oder nicht abgeschlossen werden (es
     bleibt dann erhalten), oder eine andere Umbenennung läuft gerade
)";
}

}  // namespace zul
