#include "cli/options.h"

#include "cli/shell_quote.h"

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

// The options that take a value.
bool TakesValue(const std::string& name) {
  return name == "--sort" || name == "--filter" || name == "--save" || name == "--files0-from" ||
         IsFilterFieldOption(name);
}

// A path option's value names a file, so it cannot be empty.
bool TakePath(const std::string& name, const std::string& value, std::string& field,
              std::string& error) {
  if (value.empty()) {
    error = "Die Option „" + name + "“ braucht einen Dateinamen.";
    return false;
  }
  field = value;
  return true;
}

bool TakeValue(const std::string& name, const std::string& value, Options& options,
               std::string& error) {
  if (name == "--sort") {
    if (ParseSort(value, options.sort)) return true;
    error =
        "Unbekannte Sortierung „" + value + "“: erlaubt sind name, created, modified und captured.";
    return false;
  }
  if (name == "--filter") return TakePath(name, value, options.filterFile, error);
  if (name == "--save") return TakePath(name, value, options.saveFile, error);
  if (name == "--files0-from") {
    std::string source;
    if (!TakePath(name, value, source, error)) return false;
    options.files0From = source;
    return true;
  }
  return ParseFilterFieldOption(name, value, options.overrides, error);
}

// What the operands are: with --filter or --mask all paths, otherwise the filter file and then
// the paths, as before the Filter could be given as options.
bool AssignOperands(std::vector<std::string> operands, Options& options, std::string& error) {
  const bool filterAsOption = !options.filterFile.empty() || options.overrides.mask.has_value();
  if (!filterAsOption) {
    if (operands.empty()) {
      error = options.files0From || !options.saveFile.empty()
                  ? "Es fehlt die Filterdatei (oder „--filter“ oder „--mask“)."
                  : "Es fehlen die Filterdatei und mindestens ein Pfad.";
      return false;
    }
    options.filterFile = operands.front();
    operands.erase(operands.begin());
  }
  if (options.files0From) {
    if (!operands.empty()) {
      error = "Mit „--files0-from“ stehen die Pfade nur dort, nicht auch als Argument: „" +
              ShellQuote(operands.front()) + "“.";
      return false;
    }
    return true;
  }
  // Saving the Filter is a task of its own.
  if (operands.empty() && options.saveFile.empty()) {
    error = "Es fehlt mindestens ein Pfad.";
    return false;
  }
  options.paths = std::move(operands);
  return true;
}

}  // namespace

std::optional<Options> ParseOptions(const std::vector<std::string>& arguments, std::string& error) {
  Options options;
  std::vector<std::string> operands;
  bool optionsEnd = false;
  bool filterOptions = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (optionsEnd || argument.size() < 2 || argument[0] != '-') {
      operands.push_back(argument);
      continue;
    }
    const size_t equals = argument.rfind("--", 0) == 0 ? argument.find('=') : std::string::npos;
    const std::string name = argument.substr(0, equals);
    if (TakesValue(name)) {
      if (equals == std::string::npos && i + 1 == arguments.size()) {
        error = "Die Option „" + name + "“ braucht einen Wert.";
        return std::nullopt;
      }
      const std::string value =
          equals == std::string::npos ? arguments[++i] : argument.substr(equals + 1);
      if (!TakeValue(name, value, options, error)) return std::nullopt;
      filterOptions = filterOptions || name != "--sort";
      continue;
    }
    if (equals != std::string::npos) {
      error = "Die Option „" + name + "“ nimmt keinen Wert.";
      return std::nullopt;
    }
    if (argument == "--") {
      optionsEnd = true;
    } else if (argument == "-r" || argument == "--recursive") {
      options.recursive = true;
    } else if (argument == "-0" || argument == "--null") {
      options.null = true;
    } else if (argument == "--json") {
      options.json = true;
    } else if (argument == "--apply") {
      options.apply = true;
    } else if (argument == "--undo") {
      options.undo = true;
    } else if (argument == "-h" || argument == "--help") {
      options.help = true;
    } else if (argument == "--version") {
      options.version = true;
    } else {
      error = "Unbekannte Option „" + argument + "“.";
      return std::nullopt;
    }
  }
  if (options.help || options.version) return options;
  if (options.undo) {
    if (options.apply || !operands.empty() || filterOptions || options.json) {
      error = "„--undo“ nimmt weder einen Filter noch Pfade, nicht „--apply“ und nicht „--json“.";
      return std::nullopt;
    }
    return options;
  }
  if (options.json && options.null) {
    error = "„--json“ und „-0“ schließen einander aus.";
    return std::nullopt;
  }
  if (!AssignOperands(std::move(operands), options, error)) return std::nullopt;
  return options;
}

std::string HelpText() {
  return R"(Aufruf: zulren [OPTIONEN] FILTERDATEI PFAD...
       zulren --mask=MASKE [FILTEROPTIONEN] [OPTIONEN] PFAD...
       zulren --filter=FILTERDATEI [FILTEROPTIONEN] [OPTIONEN] PFAD...
       zulren --undo

Benennt Dateien mit einem Filter um: dieselben Namen, dieselbe Prüfung, dieselbe Sicherheit wie
im Fenster von Zul. Ohne --apply wird nur gezeigt, was geschehen würde (Probelauf); nichts wird
umbenannt.

Der Filter kommt aus einer .fil-Datei, die im Fenster gespeichert wurde, aus den Filteroptionen
oder aus beidem. Das erste Argument ist die Filterdatei, wenn weder --filter noch --mask gegeben
ist; sonst ist jedes Argument ein Pfad. Filteroptionen ersetzen das jeweilige Feld der
Filterdatei; ohne Filterdatei gelten für die übrigen Felder die Vorgaben des Fensters.

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

Filteroptionen:
      --filter=DATEI    den Filter aus dieser Filterdatei lesen
      --mask=MASKE      Maske des neuen Namens, etwa "[index]_[name].[typ]" (Vorgabe
                        "[name].[typ]")
      --search=TEXT     diesen Text im alten Namen ersetzen ...
      --replace=TEXT    ... durch diesen (Vorgabe: leer)
      --start=ZAHL      Startwert des Zählers (Vorgabe 1)
      --step=ZAHL       Schrittweite des Zählers (Vorgabe 1)
      --digits=ZAHL     Mindestzahl der Ziffern von [index] und [zufall], 0 bis 255
                        (Vorgabe 0: so viele, wie die Zahl hat)
      --fill=TEXT       damit auf die Ziffernzahl auffüllen (Vorgabe 0)
      --name-case=ART   Schreibweise des Namens: keep (keine Änderung), lower (alles klein),
                        upper (alles GROSS), first (Anfangsbuchstabe groß), words (alle
                        Anfangsbuchstaben groß)
      --ext-case=ART    Schreibweise der Endung: keep, lower, upper oder first
      --save=DATEI      den so entstandenen Filter als Filterdatei speichern, die das Fenster
                        öffnet (eine vorhandene Datei nur, wenn sie eine Filterdatei ist); ohne
                        Pfade wird nur gespeichert
Texte dürfen keinen Zeilenumbruch enthalten.

Optionen:
  -r, --recursive       bei Ordnern auch alle Unterordner einbeziehen, wo ihr Name steht;
                        symbolischen Verknüpfungen auf Ordner wird nicht gefolgt (die
                        Verknüpfung selbst ist eine Zeile wie jede Datei)
      --sort=ART        alle Zeilen sortieren wie ein Klick auf die Spalte:
                        name (Alter Name), created (Erstelltdatum), modified (Änderungsdatum),
                        captured (Aufnahmedatum; ohne eines gilt das Änderungsdatum)
      --files0-from=DATEI  die Pfade aus DATEI lesen (- für die Standardeingabe), jeden mit
                        NUL abgeschlossen, wie sie „find -print0“ schreibt; dann keine Pfade
                        als Argumente
      --apply           wirklich umbenennen: erst prüfen, bei einem Konflikt nichts tun;
                        schlägt eine Umbenennung dennoch fehl, wird alles zurückbenannt
      --undo            die jüngste Umbenennung rückgängig machen (aus dem Fenster oder
                        von der Kommandozeile); wurde sie unterbrochen (Absturz, kill),
                        werden ihre schon umbenannten Dateien zurückbenannt
  -0, --null            statt der Tabelle je Zeile alten und neuen Pfad, jeweils mit NUL
                        abgeschlossen (für Skripte)
      --json            statt der Tabelle je Zeile ein JSON-Objekt und am Ende eine
                        Zusammenfassung (siehe „man zulren“)
  -h, --help            diese Hilfe zeigen
      --version         die Version zeigen

Ausgabe: je Zeile alter Name, „->“, neuer Name und, nach „ # “, gegebenenfalls der Grund eines
Konflikts oder einer Warnung (ein versteckter neuer Name und ein leerer Platzhalter sind nur
Warnungen). Mit -0 stehen die Gründe auf der Standardfehlerausgabe. Namen mit Leerzeichen,
Steuerzeichen oder ungültigem UTF-8 stehen in Anführungszeichen wie bei
„ls --quoting-style=shell-escape“. Die Zusammenfassung steht auf der Standardfehlerausgabe, ebenso
eine Fortschrittszeile, wenn sie ein Terminal ist.

Mit --json steht je Zeile ein Objekt wie
  {"type":"row","old":"/pfad/a.jpg","new":"/pfad/001_a.jpg","conflict":false,"kind":null,"reason":null}
auf der Standardausgabe, zuletzt
  {"type":"summary","files":1,"conflicts":0,"warnings":0,"apply":false,"renamed":0,"status":0}
Pfade, die kein gültiges UTF-8 sind, stehen zusätzlich Byte für Byte in "old_bytes" bzw.
"new_bytes".

Unterbrochene Umbenennung: Wurde „zulren --apply“ oder das Fenster mitten in einer Umbenennung
beendet, stellt „zulren --undo“ die alten Namen wieder her (das Fenster fragt beim nächsten
Start danach). Es läuft immer nur eine Umbenennung zugleich; eine zweite wartet kurz und nennt
dann, wer gerade umbenennt.

Rückgabewert:
  0  keine Konflikte, alles umbenannt (oder zurückbenannt)
  1  Konflikte gefunden, eine Umbenennung fehlgeschlagen und zurückbenannt, oder Dateien
     konnten bei --undo nicht zurückbenannt werden
  2  falscher Aufruf, ein ungültiger Wert einer Option oder keine lesbare Filterdatei; nichts
     wurde umbenannt
  3  nach einem Fehler konnte nicht alles zurückbenannt werden (jede Datei wird genannt), das
     Protokoll der Umbenennung konnte nicht geschrieben oder nicht abgeschlossen werden (es
     bleibt dann erhalten), oder eine andere Umbenennung läuft gerade

Beispiel:
  find Fotos -name '*.jpg' -print0 | zulren --mask='[index]_[name].[typ]' --digits=3 \
      --files0-from=- --apply
)";
}

}  // namespace zul
