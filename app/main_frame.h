#pragma once

#include <map>
#include <memory>

#include <QMainWindow>

#include "app/recent_files.h"
#include "engine/filter_settings.h"
#include "platform/services.h"

class QAction;
class QLabel;
class QToolBar;

namespace zul {

class CZulboDoc;
class CZulboView;
class SettingsStore;
struct KeptSettings;

// The one main window: menus, toolbar, status bar and the list in its client area. It owns the
// current Filter, which every other part reaches through it.
class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  explicit CMainFrame(const Services& services);
  ~CMainFrame() override;

  // Declared first, so it exists before the list and the document that refer to it.
  FilterSettings m_filter;

  CZulboView& View() { return *m_view; }
  CZulboDoc& Doc() { return *m_doc; }
  // The action of a command id (see app/commands.h); nullptr for an unknown id.
  QAction* Action(int command) const;
  QToolBar* ToolBar() const { return m_toolBar; }
  QLabel* MessagePane() const { return m_ready; }
  // The lock-key panes "UF", "NUM" and "RF", in this order.
  QLabel* LockPane(int index) const { return m_lockPanes[index]; }

  // Shows the lock keys' state in the status bar (empty panes where it is unknown).
  void UpdateLockPanes();

  // Takes the settings kept in `store`, the defaults where it holds none (the status bar says
  // when it could not be read), and writes them back there when the window is closed.
  void KeepSettingsIn(SettingsStore& store);
  // Shows the window as it was left: its kept size and place, maximised where it was and at the
  // first start.
  void ShowAsKept();
  KeptSettings CurrentSettings() const;

  // The filter files of "&1" to "&4" in the "Datei" menu.
  const RecentFiles& Recent() const { return m_recent; }
  // Opens the filter file of that entry; one whose file is gone is removed, with a message.
  void OpenRecent(size_t index);

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QAction* AddAction(int command, const QString& menuText, const QString& commandText);
  void CreateMenus();
  void CreateToolBar();
  void CreateStatusBar();
  void ShowTitle(const QString& documentTitle);
  void ShowRecentFiles();

  Services m_services;
  CZulboView* m_view;
  std::unique_ptr<CZulboDoc> m_doc;
  std::map<int, QAction*> m_actions;
  QToolBar* m_toolBar = nullptr;
  QLabel* m_ready = nullptr;
  QLabel* m_lockPanes[3] = {};
  RecentFiles m_recent;
  QAction* m_recentActions[RecentFiles::kMax] = {};
  QAction* m_recentSeparator = nullptr;
  SettingsStore* m_store = nullptr;
  QByteArray m_keptGeometry;
  bool m_keptMaximised = true;
};

}  // namespace zul
