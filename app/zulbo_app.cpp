#include "app/zulbo_app.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QStatusBar>

#include "app/interrupted_runs.h"
#include "app/main_frame.h"
#include "app/start_arguments.h"
#include "document/zulbo_doc.h"
#include "platform/text_bytes.h"

namespace zul {

CZulboApp::CZulboApp(const Services& services, QString settingsPath)
    : m_services(services), m_settings(std::move(settingsPath)) {}

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
  const std::string restored = OfferUndoOfInterruptedRuns(m_services);

  auto frame = std::make_unique<CMainFrame>(m_services);  // it brings the resources in
  QIcon icon;
  for (const int size : {16, 32, 256})
    icon.addFile(QStringLiteral(":/icons/zul-%1.png").arg(size), QSize(size, size));
  frame->setWindowIcon(icon);
  QApplication::setWindowIcon(icon);
  frame->KeepSettingsIn(m_settings);
  const std::vector<std::string> names = CommandLineFiles(arguments);
  const bool document = OpensAsDocument(names, m_services);
  if (document && !frame->Doc().Open(names.front())) return false;
  m_mainFrame = std::move(frame);
  m_mainFrame->ShowAsKept();
  if (!restored.empty()) m_mainFrame->statusBar()->showMessage(TextOf(restored));
  // Added once the window shows, so that a long scan has a window for its progress.
  if (!document && !names.empty()) AddToList(m_mainFrame->View(), m_services, names);
  return true;
}

}  // namespace zul
