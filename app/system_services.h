#pragma once

#include "platform/services.h"

namespace zul {

// The real ones: the Linux file system, Qt's dialogs, the desktop's opener, the user's state
// folder, the files' own metadata. Here, above every layer, since it ties them together.
Services SystemServices();

}  // namespace zul
