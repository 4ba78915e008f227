#pragma once

#include <optional>
#include <string>
#include <vector>

#include <QByteArray>
#include <QList>
#include <QPoint>
#include <QString>

namespace zul {

// What the program keeps from one run to the next. The defaults are those of a first start.
struct KeptSettings {
  bool includeSubfolders = false;
  QByteArray windowGeometry;  // QWidget::saveGeometry; empty: none kept
  bool maximised = true;
  bool toolBarVisible = true;
  bool statusBarVisible = true;
  QList<int> columnWidths;   // of the list's columns, left to right; empty: none kept
  std::string listFolder;    // last folder of "Datei(en) hinzufügen" and "Verzeichnis..."
  std::string filterFolder;  // last folder of the filter files' open and save dialogs
  std::optional<QPoint> filterDialogPos;
  std::vector<std::string> recentFiles;  // filter files, most recent first

  bool operator==(const KeptSettings&) const = default;
};

// The settings file, $XDG_CONFIG_HOME/zul/zul.conf. Paths are kept as bytes, whatever their
// encoding.
class SettingsStore {
 public:
  explicit SettingsStore(QString path = DefaultPath());
  static QString DefaultPath();
  const QString& Path() const { return m_path; }

  // The kept settings; the defaults where there is no file yet. A file that cannot be read or
  // holds something this program did not write gives the defaults as a whole, and Damaged() says
  // so; such a file is replaced at the next Save.
  KeptSettings Load();
  bool Damaged() const { return m_damaged; }

  // Writes the settings as a whole; false when the file could not be written.
  [[nodiscard]] bool Save(const KeptSettings& settings);

 private:
  QString m_path;
  bool m_damaged = false;
};

}  // namespace zul
