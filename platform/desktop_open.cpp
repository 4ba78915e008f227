#include "platform/desktop_open.h"

#include <optional>

#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextStream>

namespace zul {

namespace {

class OpenErrors : public std::error_category {
 public:
  const char* name() const noexcept override { return "desktop open"; }
  std::string message(int value) const override {
    switch (static_cast<OpenError>(value)) {
      case OpenError::FileNotFound:
        return "file not found";
      case OpenError::PathNotFound:
        return "path not found";
      case OpenError::AccessDenied:
        return "access denied";
      case OpenError::BadProgram:
        return "program could not be started";
      case OpenError::NoAssociation:
        return "no program associated";
    }
    return "unknown";
  }
};

// A field code's letter after "%": the ones that stand for the file or address to open.
bool IsTargetCode(QChar letter) {
  return letter == u'u' || letter == u'U' || letter == u'f' || letter == u'F' || letter == u'1';
}

// The value of `key` in `group` of a desktop-entry-style file; empty when absent.
QString ReadEntry(const QString& path, const QString& group, const QString& key) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
  QTextStream in(&file);
  const QString header = u'[' + group + u']';
  bool inGroup = false;
  while (!in.atEnd()) {
    const QString line = in.readLine().trimmed();
    if (line.isEmpty() || line.startsWith(u'#')) continue;
    if (line.startsWith(u'[')) {
      inGroup = line == header;
      continue;
    }
    if (!inGroup) continue;
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0 || line.left(equals).trimmed() != key) continue;
    return line.mid(equals + 1).trimmed();
  }
  return {};
}

// The string escapes of desktop entry values (\s, \n, \t, \r, \\).
QString UnescapeValue(const QString& value) {
  QString out;
  out.reserve(value.size());
  for (qsizetype i = 0; i < value.size(); ++i) {
    if (value[i] != u'\\' || i + 1 == value.size()) {
      out += value[i];
      continue;
    }
    const QChar next = value[++i];
    if (next == u's') {
      out += u' ';
    } else if (next == u'n') {
      out += u'\n';
    } else if (next == u't') {
      out += u'\t';
    } else if (next == u'r') {
      out += u'\r';
    } else {
      out += next;  // "\\" and any escape of another character keep that character
    }
  }
  return out;
}

// The Exec line of the desktop entry with this id, looked up in the data folders; a desktop
// file id "a-b.desktop" may also live as "a/b.desktop".
QString ExecOfDesktopEntry(const QString& id, const QStringList& dataDirs) {
  QStringList names{id};
  if (id.contains(u'-')) names << QString(id).replace(u'-', u'/');
  for (const QString& dir : dataDirs) {
    for (const QString& name : names) {
      const QString path = dir + QStringLiteral("/applications/") + name;
      if (!QFileInfo(path).isFile()) continue;
      QString line =
          UnescapeValue(ReadEntry(path, QStringLiteral("Desktop Entry"), QStringLiteral("Exec")));
      if (!line.isEmpty()) return line;
    }
  }
  return {};
}

// A path that names nothing: its folder is there (file not found) or not (path not found).
std::error_code MissingFileCode(const QString& path) {
  return QFileInfo(QFileInfo(path).absolutePath()).isDir() ? OpenError::FileNotFound
                                                           : OpenError::PathNotFound;
}

// What xdg-open's exit code says: 2 the file is missing, 1 (its syntax), 3 (a tool it needs is
// missing) and 4 (the action failed) all come down to nothing being there to open it.
std::error_code XdgOpenResult(int exitCode) {
  if (exitCode == 0) return {};
  return exitCode == 2 ? OpenError::FileNotFound : OpenError::NoAssociation;
}

// Opens through xdg-open where it is installed; nullopt where it is not or does not start. Qt
// starts xdg-open and reports success whatever it then finds, so that a desktop without a program
// for the target showed nothing at all. xdg-open mostly hands the target on and ends at once; on
// some desktops it waits for the program it started, which was found then: after a short wait
// that counts as success, and the process is left to end by itself.
std::optional<std::error_code> OpenWithXdgOpen(const QUrl& url) {
  constexpr int kWaitMs = 2000;
  const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
  if (program.isEmpty()) return std::nullopt;
  auto* process = new QProcess;
  process->setProgram(program);
  process->setArguments({url.isLocalFile() ? url.toLocalFile() : url.toString(QUrl::FullyEncoded)});
  process->setStandardOutputFile(QProcess::nullDevice());
  process->setStandardErrorFile(QProcess::nullDevice());
  process->start();
  if (!process->waitForStarted()) {
    delete process;
    return std::nullopt;
  }
  QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  const bool ended = process->waitForFinished(kWaitMs);
  QGuiApplication::restoreOverrideCursor();
  if (!ended) {
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    return std::error_code();
  }
  const std::error_code result = process->exitStatus() == QProcess::NormalExit
                                     ? XdgOpenResult(process->exitCode())
                                     : std::error_code(OpenError::NoAssociation);
  delete process;
  return result;
}

class QtDesktopOpener : public DesktopOpener {
 public:
  std::error_code Open(const QString& target) override {
    const QUrl url = TargetUrl(target);
    if (url.isLocalFile()) {
      const QFileInfo file(url.toLocalFile());
      if (!file.exists()) return MissingFileCode(file.filePath());
      if (!file.isReadable()) return OpenError::AccessDenied;
    }
    if (const std::optional<std::error_code> opened = OpenWithXdgOpen(url)) return *opened;
    if (QDesktopServices::openUrl(url)) return {};
    return OpenError::NoAssociation;
  }

  QString WebPageHandlerCommand() override {
    return DefaultHandlerCommand(QStringLiteral("text/html"), XdgDirectories::FromEnvironment());
  }

  std::error_code StartDetached(const QStringList& argv) override {
    if (argv.isEmpty() || argv.front().isEmpty()) return OpenError::FileNotFound;
    const QString& program = argv.front();
    const QString path = program.contains(u'/') ? program : QStandardPaths::findExecutable(program);
    if (path.isEmpty()) return OpenError::FileNotFound;
    if (!QFileInfo::exists(path)) return MissingFileCode(path);
    const QFileInfo file(path);
    if (!file.isFile() || !file.isExecutable()) return OpenError::AccessDenied;
    if (QProcess::startDetached(path, argv.mid(1))) return {};
    return OpenError::BadProgram;
  }
};

}  // namespace

const std::error_category& OpenErrorCategory() {
  static const OpenErrors category;
  return category;
}

DesktopOpener& SystemDesktopOpener() {
  static QtDesktopOpener desktop;
  return desktop;
}

QUrl TargetUrl(const QString& target) {
  static const QRegularExpression withScheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
  if (withScheme.match(target).hasMatch() ||
      target.startsWith(QStringLiteral("mailto:"), Qt::CaseInsensitive)) {
    return QUrl(target);
  }
  if (target.startsWith(u'/')) return QUrl::fromLocalFile(target);
  return QUrl(QStringLiteral("http://") + target);
}

QString CutAtFieldCode(const QString& command) {
  qsizetype quoted = -1;
  qsizetype bare = -1;
  for (qsizetype i = 0; i + 1 < command.size(); ++i) {
    if (command[i] != u'%') continue;
    if (command[i + 1] == u'%') {  // "%%" is a literal percent sign
      ++i;
      continue;
    }
    if (!IsTargetCode(command[i + 1])) continue;
    if (bare < 0) bare = i;
    if (quoted < 0 && i > 0 && command[i - 1] == u'"' && i + 2 < command.size() &&
        command[i + 2] == u'"') {
      quoted = i - 1;
    }
  }
  const qsizetype cut = quoted >= 0 ? quoted : bare;
  return cut >= 0 ? command.left(cut) : command;
}

QStringList FallbackArguments(const QString& handlerCommand, const QString& target) {
  // The field codes left in front of the target (%i, %c, %k and the deprecated ones) stand for
  // details of the entry that this start does not give: such an argument is dropped rather than
  // handed to the program as it stands.
  static const QRegularExpression otherFieldCode(QStringLiteral("^%[A-Za-z]$"));
  QStringList argv;
  for (QString& argument : QProcess::splitCommand(CutAtFieldCode(handlerCommand))) {
    if (otherFieldCode.match(argument).hasMatch()) continue;
    argv << argument.replace(QStringLiteral("%%"), QStringLiteral("%"));
  }
  argv << target;
  return argv;
}

XdgDirectories XdgDirectories::FromEnvironment() {
  const auto variable = [](const char* name, const QString& fallback) {
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? fallback : value;
  };
  const QString home = QDir::homePath();
  XdgDirectories dirs;
  dirs.configDirs << variable("XDG_CONFIG_HOME", home + QStringLiteral("/.config"));
  dirs.configDirs
      << variable("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg")).split(u':', Qt::SkipEmptyParts);
  dirs.dataDirs << variable("XDG_DATA_HOME", home + QStringLiteral("/.local/share"));
  dirs.dataDirs << variable("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"))
                       .split(u':', Qt::SkipEmptyParts);
  for (const QString& desktop :
       qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':', Qt::SkipEmptyParts)) {
    dirs.currentDesktops << desktop.toLower();
  }
  return dirs;
}

QString DefaultHandlerCommand(const QString& mimeType, const XdgDirectories& dirs) {
  struct Source {
    QString path;
    QString group;
  };
  const QString defaults = QStringLiteral("Default Applications");
  QList<Source> sources;
  const auto addLists = [&](const QString& dir) {
    for (const QString& desktop : dirs.currentDesktops) {
      sources.append({dir + u'/' + desktop + QStringLiteral("-mimeapps.list"), defaults});
    }
    sources.append({dir + QStringLiteral("/mimeapps.list"), defaults});
  };
  for (const QString& dir : dirs.configDirs) addLists(dir);
  for (const QString& dir : dirs.dataDirs) addLists(dir + QStringLiteral("/applications"));
  for (const QString& dir : dirs.dataDirs) {
    sources.append({dir + QStringLiteral("/applications/defaults.list"), defaults});
  }
  for (const QString& dir : dirs.dataDirs) {
    sources.append(
        {dir + QStringLiteral("/applications/mimeinfo.cache"), QStringLiteral("MIME Cache")});
  }
  for (const Source& source : sources) {
    const QString ids = ReadEntry(source.path, source.group, mimeType);
    for (const QString& id : ids.split(u';', Qt::SkipEmptyParts)) {
      QString exec = ExecOfDesktopEntry(id.trimmed(), dirs.dataDirs);
      if (!exec.isEmpty()) return exec;
    }
  }
  return {};
}

}  // namespace zul
