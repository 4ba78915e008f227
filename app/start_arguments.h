#pragma once

#include <string>
#include <vector>

#include "platform/services.h"

namespace zul {

class CZulboView;

// The names on the command line: every argument that is not a switch. Switches start with '-'
// and are ignored, as are empty arguments; after "--" every non-empty argument is a name.
std::vector<std::string> CommandLineFiles(const std::vector<std::string>& arguments);

// Whether the names are opened as the document (one name that is no folder: a filter file
// becomes the current Filter) rather than added to the list.
bool OpensAsDocument(const std::vector<std::string>& names, const Services& services);

// Adds the named files and folders to the list, in their order: a folder as "Verzeichnis
// hinzufügen..." adds it (with or without its subfolders as the folder options say), anything
// else as one row. Names that lead nowhere are listed in one message; the others are added.
void AddToList(CZulboView& view, const Services& services, const std::vector<std::string>& names);

}  // namespace zul
