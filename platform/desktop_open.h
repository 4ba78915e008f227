#pragma once

#include <system_error>

#include <QString>
#include <QStringList>
#include <QUrl>

namespace zul {

// Why the desktop could not open or start something.
enum class OpenError {
  FileNotFound = 1,  // the file, or the program
  PathNotFound,      // the folder it should be in
  AccessDenied,
  BadProgram,  // the program could not be started
  NoAssociation,
};
const std::error_category& OpenErrorCategory();
inline std::error_code make_error_code(OpenError error) {
  return {static_cast<int>(error), OpenErrorCategory()};
}

// Opening files and web addresses with the desktop's programs; an empty code means success.
// Production uses Qt's desktop services and the freedesktop MIME application lists; tests hand in
// their own opener, so nothing is started during a test.
class DesktopOpener {
 public:
  virtual ~DesktopOpener() = default;

  // The desktop's "open" of a file path or an address (see TargetUrl).
  virtual std::error_code Open(const QString& target) = 0;

  // The Exec line of the desktop's default program for web pages (text/html); empty when the
  // desktop names none or its desktop entry cannot be read.
  virtual QString WebPageHandlerCommand() = 0;

  // Starts a program (argv[0]) with its arguments, detached from us.
  virtual std::error_code StartDetached(const QStringList& argv) = 0;
};

// The desktop's own opener.
DesktopOpener& SystemDesktopOpener();

// What "open" is given: a target with a scheme ("mailto:", "https://") as it is, an absolute
// path as a local file, anything else as a web address ("example.org/x" -> "http://example.org/x").
QUrl TargetUrl(const QString& target);

// A handler's command line made ready for one more argument: the command is cut off at its
// first field code, a quoted one ("%u" in quotation marks) being looked for before a bare one;
// %u, %U, %f, %F and the "%1" of older commands count as field codes. A command without any
// stays whole.
QString CutAtFieldCode(const QString& command);

// The program and arguments to start: the cut command split by the shell's quoting
// rules without the arguments that are other field codes (%i, %c, ...), and the target as one
// more argument of its own, whatever blanks it holds.
QStringList FallbackArguments(const QString& handlerCommand, const QString& target);

// The folders of the freedesktop base directory specification that the lookup reads.
struct XdgDirectories {
  QStringList configDirs;       // $XDG_CONFIG_HOME first, then $XDG_CONFIG_DIRS
  QStringList dataDirs;         // $XDG_DATA_HOME first, then $XDG_DATA_DIRS
  QStringList currentDesktops;  // $XDG_CURRENT_DESKTOP, lower case
  static XdgDirectories FromEnvironment();
};

// The Exec line of the default program for a MIME type, found as `xdg-mime query default` finds
// it: the first "[Default Applications]" entry in the mimeapps.list files (desktop-specific before
// generic, configuration folders before data folders' "applications" subfolders, then the older
// defaults.list and the mimeinfo.cache), whose desktop entry exists. Empty when there is none.
QString DefaultHandlerCommand(const QString& mimeType, const XdgDirectories& dirs);

}  // namespace zul

template <>
struct std::is_error_code_enum<zul::OpenError> : std::true_type {};
