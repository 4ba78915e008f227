#include "dialogs/mask_menu.h"

#include <utility>

namespace zul {

namespace {

// The twelve values of a date group: the group's prefix, after an "r" for the year-first date.
struct DateValueEntry {
  bool yearFirst;
  const char* suffix;
  const char* meaning;
};

constexpr DateValueEntry kDateValues[] = {
    {false, "datum", "Datum, Tag zuerst"},
    {true, "datum", "Datum, Jahr zuerst"},
    {false, "jj", "Jahr, zweistellig"},
    {false, "jjjj", "Jahr, vierstellig"},
    {false, "mm", "Monat, zweistellig"},
    {false, "monat", "Monat ohne führende Null"},
    {false, "t", "Tag ohne führende Null"},
    {false, "tt", "Tag, zweistellig"},
    {false, "zeit", "Uhrzeit"},
    {false, "h", "Stunde"},
    {false, "m", "Minute"},
    {false, "s", "Sekunde"},
};

PlaceholderGroup DateGroup(const char* title, const std::string& prefix) {
  PlaceholderGroup group{title, {}};
  for (const DateValueEntry& value : kDateValues) {
    std::string text = value.yearFirst ? "[r" : "[";
    text.append(prefix).append(value.suffix).push_back(']');
    group.placeholders.push_back({std::move(text), value.meaning});
  }
  return group;
}

}  // namespace

const std::vector<PlaceholderGroup>& PlaceholderGroups() {
  static const std::vector<PlaceholderGroup> groups = {
      DateGroup("Heute", ""),
      DateGroup("Erstellt", "e"),
      DateGroup("Geändert", "a"),
      DateGroup("Aufnahme", "f"),
      {"Musik",
       {{"[interpret]", "Interpret"},
        {"[album]", "Album"},
        {"[titel]", "Titel"},
        {"[spur]", "Nummer des Stücks, zweistellig"},
        {"[genre]", "Genre"},
        {"[cdnr]", "Nummer der CD"},
        {"[erschienen]", "Erscheinungsjahr"}}},
      {"Foto",
       {{"[hersteller]", "Hersteller der Kamera"},
        {"[kamera]", "Modell der Kamera"},
        {"[breite]", "Breite in Pixeln (Fotos und Videos)"},
        {"[hoehe]", "Höhe in Pixeln (Fotos und Videos)"}}},
      {"Zähler",
       {{"[eindeutig]", "nur bei gleichem Namen: -2, -3, ..."},
        {"[index]", "Zähler: Start, dann je Zeile um die Schrittweite weiter"},
        {"[zufall]", "Zufallszahl"}}},
      {"Name",
       {{"[name]", "alter Name ohne Endung"},
        {"[typ]", "Endung ohne Punkt"},
        {"[,]", "Bereich: Zeichen des alten Namens von, bis"},
        {"[[]", "öffnende eckige Klammer"},
        {"[]]", "schließende eckige Klammer"}}},
  };
  return groups;
}

}  // namespace zul
