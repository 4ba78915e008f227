#include "dialogs/mask_menu.h"

namespace {

// The twelve values of a date group, after the group's prefix.
struct DateValueEntry {
  const char* suffix;
  const char* meaning;
};

constexpr DateValueEntry kDateValues[] = {
    {"datum", "Datum, Tag zuerst"},
    {"jj", "Jahr, zweistellig"},
    {"jjjj", "Jahr, vierstellig"},
    {"mm", "Monat, zweistellig"},
    {"monat", "Monat ohne führende Null"},
    {"t", "Tag ohne führende Null"},
    {"tt", "Tag, zweistellig"},
    {"zeit", "Uhrzeit"},
    {"h", "Stunde"},
    {"m", "Minute"},
    {"s", "Sekunde"},
};

PlaceholderGroup DateGroup(const char* title, const std::string& prefix) {
  PlaceholderGroup group{title, {}};
  for (const DateValueEntry& value : kDateValues) {
    group.placeholders.push_back({"[" + prefix + value.suffix + "]", value.meaning});
    // The year-first date follows the day-first one.
    if (value.suffix == kDateValues[0].suffix)
      group.placeholders.push_back({"[r" + prefix + "datum]", "Datum, Jahr zuerst"});
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
      {"Zähler",
       {{"[index]", "Zähler: Start, dann je Zeile um die Schrittweite weiter"},
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
