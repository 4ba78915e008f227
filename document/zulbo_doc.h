#pragma once

#include <optional>
#include <string>
#include <vector>

#include <QObject>
#include <QString>

#include "core/rename_plan.h"
#include "engine/filter_settings.h"
#include "platform/file_system.h"
#include "platform/services.h"

class QWidget;

namespace zul {

class CZulboView;

// The open filter file. It holds no data of its own: it reads into and writes from the main
// window's current Filter, and hands a file that is not a filter file to the list. Never marked
// modified, so nothing ever asks to save.
class CZulboDoc : public QObject {
  Q_OBJECT

 public:
  CZulboDoc(FilterSettings& filter, CZulboView& view, const Services& services, QWidget* owner);

  // The document's full path; empty while no filter file was opened or saved.
  const std::string& PathName() const { return m_path; }
  // "Umbennenungstool" without a path, else the file's name.
  QString Title() const;

  // Opens `path` as the document: a filter file becomes the current Filter, any other file a row
  // of the list (and never the document's path). An empty file is not read: one named "*.fil"
  // becomes the document's path, any other a row. A path equal to the current one is not opened
  // again. False, after the German file message, when the file cannot be read.
  bool Open(const std::string& path);
  // The commands "Filter Öffnen...", "Filter Speichern" and "Filter Speichern unter...". False
  // when cancelled or failed. "Filter Speichern" replaces only the file the document opened or
  // saved last; where another file now stands at its path, it asks first.
  bool OnFileOpen();
  bool OnFileSave();
  bool OnFileSaveAs();

  // Where the open and save dialogs start: the folder of the last filter file opened or saved.
  const std::string& LastFolder() const { return m_folder; }
  void SetLastFolder(std::string folder) { m_folder = std::move(folder); }

  // The file types of the open and save dialogs.
  static QString FileFilters();
  // The name the save dialog proposes for a document of this title that has no file yet.
  static std::string ProposedFileName(const QString& title);

  // Follows the document's file when the list renamed it (see CZulboView::FilesRenamed).
  void FollowRenames(const RenamePlan& plan, const std::vector<size_t>& steps, bool back);

 signals:
  void TitleChanged(const QString& title);

 private:
  // Whether the file at `path`, which exists, may be replaced: the user is asked.
  bool MayReplace(const std::string& path, const QString& title);
  bool Write(const std::string& path);
  void SetPathName(const std::string& path, std::optional<FileIdentity> identity);

  FilterSettings& m_filter;
  CZulboView& m_view;
  Services m_services;
  QWidget* m_owner;
  std::string m_path;
  // The file the document opened or saved last; unknown where the system could not tell.
  std::optional<FileIdentity> m_identity;
  std::string m_folder;
};

}  // namespace zul
