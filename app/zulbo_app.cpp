#include "app/zulbo_app.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>

#include "app/interrupted_runs.h"
#include "app/main_frame.h"
#include "document/zulbo_doc.h"

namespace zul {

namespace {

// The first argument that is not a switch. Switches start with '-' and are ignored, as are empty
// arguments; after "--" every non-empty argument is a name.
std::string CommandLineFile(const std::vector<std::string>& arguments) {
  bool switches = true;
  for (const std::string& argument : arguments) {
    if (switches && argument == "--") {
      switches = false;
      continue;
    }
    if (argument.empty() || (switches && argument.front() == '-')) continue;
    return argument;
  }
  return {};
}

}  // namespace

CZulboApp::CZulboApp(const Services& services) : m_services(services) {}

CZulboApp::~CZulboApp() {
  if (!m_qtTranslator.isEmpty()) QCoreApplication::removeTranslator(&m_qtTranslator);
}

bool CZulboApp::InitInstance(const std::vector<std::string>& arguments) {
  QApplication::setApplicationName(QStringLiteral("Zul"));
  // Wayland compositors find the window's icon and name through its desktop entry.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.example.zul"));
  // Whatever the desktop's language: the program speaks German, so Qt's buttons say "Ja", "Nein",
  // and its dialogs write dates, sizes and file types in German.
  if (m_qtTranslator.isEmpty() &&
      m_qtTranslator.load(QStringLiteral("qtbase_de"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(&m_qtTranslator);
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  OfferUndoOfInterruptedRuns(m_services);

  auto frame = std::make_unique<CMainFrame>(m_services);  // it brings the resources in
  QIcon icon;
  for (const int size : {16, 32, 256})
    icon.addFile(QStringLiteral(":/icons/zul-%1.png").arg(size), QSize(size, size));
  frame->setWindowIcon(icon);
  QApplication::setWindowIcon(icon);
  const std::string file = CommandLineFile(arguments);
  if (!file.empty() && !frame->Doc().Open(file)) return false;
  m_mainFrame = std::move(frame);
  m_mainFrame->showMaximized();
  return true;
}

}  // namespace zul
