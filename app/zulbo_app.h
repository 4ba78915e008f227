#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QTranslator>

#include "app/system_services.h"

namespace zul {

class CMainFrame;

// The application object: starts the program and holds its main window.
class CZulboApp {
 public:
  // The services are those the program's pieces are given; they must outlive the application.
  explicit CZulboApp(const Services& services = SystemServices());
  ~CZulboApp();

  // Start-up: German texts and the German locale for Qt's own dialogs, the offer to undo renaming
  // runs that were cut off (before anything else), the main window, the file named by the first
  // argument that is not a switch ("-..."; "--" ends them) opened as the document, the window
  // shown maximised. False when the file cannot be opened (after the German file message): the
  // window is then never shown and the program ends.
  // Does not enter the event loop. Needs a QApplication.
  bool InitInstance(const std::vector<std::string>& arguments);

  // The main window; nullptr before start-up or after it failed.
  CMainFrame* MainFrame() const { return m_mainFrame.get(); }

 private:
  Services m_services;
  QTranslator m_qtTranslator;
  std::unique_ptr<CMainFrame> m_mainFrame;
};

}  // namespace zul
