#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QTranslator>

#include "app/settings_store.h"
#include "app/system_services.h"

namespace zul {

class CMainFrame;

// The application object: starts the program and holds its main window.
class CZulboApp {
 public:
  // The services are those the program's pieces are given; they must outlive the application.
  // The settings are kept in the file at `settingsPath`.
  explicit CZulboApp(const Services& services = SystemServices(),
                     QString settingsPath = SettingsStore::DefaultPath());
  ~CZulboApp();

  // Start-up: German texts and the German locale for Qt's own dialogs, the offer to undo renaming
  // runs that were cut off (before anything else), the main window with the kept settings, shown
  // as it was left. The arguments that are not switches ("-..."; "--" ends them) name files and
  // folders: one file is opened as the document; several, or a folder, are added to the list.
  // False when the one file cannot be opened (after the German file message): the window is then
  // never shown and the program ends.
  // Does not enter the event loop. Needs a QApplication.
  bool InitInstance(const std::vector<std::string>& arguments);

  // The main window; nullptr before start-up or after it failed.
  CMainFrame* MainFrame() const { return m_mainFrame.get(); }

 private:
  Services m_services;
  SettingsStore m_settings;
  QTranslator m_qtTranslator;
  std::unique_ptr<CMainFrame> m_mainFrame;
};

}  // namespace zul
