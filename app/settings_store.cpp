#include "app/settings_store.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>

namespace zul {

namespace {

constexpr int kMaxRecentFiles = 4;

// The reads below check each value's form: a value that is there but unusable marks the file
// damaged, so that a file half garbage does not give a half-kept start.
class Reader {
 public:
  explicit Reader(QSettings& settings) : m_settings(settings) {}
  bool Damaged() const { return m_damaged; }

  void Bool(const char* key, bool& out) {
    const QVariant value = m_settings.value(QLatin1String(key));
    if (!value.isValid()) return;
    const QString text = value.toString();
    if (text == QLatin1String("true")) {
      out = true;
    } else if (text == QLatin1String("false")) {
      out = false;
    } else {
      m_damaged = true;
    }
  }

  void Bytes(const char* key, QByteArray& out) {
    const QVariant value = m_settings.value(QLatin1String(key));
    if (!value.isValid()) return;
    if (value.typeId() != QMetaType::QByteArray) {
      m_damaged = true;
      return;
    }
    out = value.toByteArray();
  }

  void Path(const char* key, std::string& out) {
    QByteArray bytes;
    Bytes(key, bytes);
    out = bytes.toStdString();
  }

  void Point(const char* key, std::optional<QPoint>& out) {
    const QVariant value = m_settings.value(QLatin1String(key));
    if (!value.isValid()) return;
    if (value.typeId() != QMetaType::QPoint) {
      m_damaged = true;
      return;
    }
    out = value.toPoint();
  }

  void Ints(const char* key, QList<int>& out) {
    const QVariant value = m_settings.value(QLatin1String(key));
    if (!value.isValid()) return;
    QList<int> ints;
    for (const QString& text : value.toStringList()) {
      bool ok = false;
      const int number = text.toInt(&ok);
      if (!ok || number < 0) {
        m_damaged = true;
        return;
      }
      ints.push_back(number);
    }
    out = ints;
  }

 private:
  QSettings& m_settings;
  bool m_damaged = false;
};

QStringList TextList(const QList<int>& numbers) {
  QStringList texts;
  for (const int number : numbers) texts.push_back(QString::number(number));
  return texts;
}

}  // namespace

SettingsStore::SettingsStore(QString path) : m_path(std::move(path)) {}

QString SettingsStore::DefaultPath() {
  // Honours $XDG_CONFIG_HOME, with ~/.config where it is unset.
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/zul/zul.conf");
}

KeptSettings SettingsStore::Load() {
  m_damaged = false;
  KeptSettings kept;
  const QFileInfo file(m_path);
  if (!file.exists()) return kept;
  // QSettings reads an unreadable file as an empty one.
  if (!file.isFile() || !file.isReadable()) {
    m_damaged = true;
    return kept;
  }
  QSettings settings(m_path, QSettings::IniFormat);
  // Keys of some other writer are let be, as long as they look like keys at all: text that is
  // not, the bytes of a picture say, has merely passed the lenient parse.
  static const QRegularExpression keyLike(QStringLiteral("^[A-Za-z0-9_/]+$"));
  const QStringList keys = settings.allKeys();
  if (settings.status() != QSettings::NoError ||
      !std::all_of(keys.begin(), keys.end(),
                   [](const QString& key) { return keyLike.match(key).hasMatch(); })) {
    m_damaged = true;
    return kept;
  }
  Reader read(settings);
  read.Bool("list/includeSubfolders", kept.includeSubfolders);
  read.Path("list/lastFolder", kept.listFolder);
  read.Ints("list/columnWidths", kept.columnWidths);
  read.Bytes("window/geometry", kept.windowGeometry);
  read.Bool("window/maximised", kept.maximised);
  read.Bool("window/toolBar", kept.toolBarVisible);
  read.Bool("window/statusBar", kept.statusBarVisible);
  read.Path("filter/lastFolder", kept.filterFolder);
  read.Point("filter/dialogPosition", kept.filterDialogPos);
  const int recent = settings.beginReadArray(QStringLiteral("recentFiles"));
  for (int i = 0; i < recent && i < kMaxRecentFiles; ++i) {
    settings.setArrayIndex(i);
    std::string path;
    read.Path("path", path);
    if (!path.empty()) kept.recentFiles.push_back(std::move(path));
  }
  settings.endArray();
  if (read.Damaged()) {
    m_damaged = true;
    return {};
  }
  return kept;
}

bool SettingsStore::Save(const KeptSettings& kept) {
  // QSettings would merge into a damaged file whatever of it it could parse.
  if (m_damaged && QFileInfo(m_path).isFile() && !QFile::remove(m_path)) return false;
  if (!QDir().mkpath(QFileInfo(m_path).absolutePath())) return false;
  QSettings settings(m_path, QSettings::IniFormat);
  settings.clear();
  settings.setValue(QStringLiteral("list/includeSubfolders"), kept.includeSubfolders);
  settings.setValue(QStringLiteral("list/lastFolder"), QByteArray::fromStdString(kept.listFolder));
  settings.setValue(QStringLiteral("list/columnWidths"), TextList(kept.columnWidths));
  settings.setValue(QStringLiteral("window/geometry"), kept.windowGeometry);
  settings.setValue(QStringLiteral("window/maximised"), kept.maximised);
  settings.setValue(QStringLiteral("window/toolBar"), kept.toolBarVisible);
  settings.setValue(QStringLiteral("window/statusBar"), kept.statusBarVisible);
  settings.setValue(QStringLiteral("filter/lastFolder"),
                    QByteArray::fromStdString(kept.filterFolder));
  if (kept.filterDialogPos) {
    settings.setValue(QStringLiteral("filter/dialogPosition"), *kept.filterDialogPos);
  }
  settings.beginWriteArray(QStringLiteral("recentFiles"));
  for (int i = 0; i < static_cast<int>(kept.recentFiles.size()) && i < kMaxRecentFiles; ++i) {
    settings.setArrayIndex(i);
    settings.setValue(QStringLiteral("path"), QByteArray::fromStdString(kept.recentFiles[i]));
  }
  settings.endArray();
  settings.sync();
  if (settings.status() != QSettings::NoError) return false;
  m_damaged = false;
  return true;
}

}  // namespace zul
