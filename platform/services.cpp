#include "platform/services.h"

#include "platform/desktop_open.h"
#include "platform/file_system.h"
#include "platform/prompter.h"

Services SystemServices() { return {SystemFileSystem(), QtPrompter(), SystemDesktopOpener()}; }
