#include "app/main_frame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QSysInfo>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include "app/about_dlg.h"
#include "app/button_images.h"
#include "app/commands.h"
#include "app/lock_keys.h"
#include "app/settings_store.h"
#include "document/zulbo_doc.h"
#include "filelist/zulbo_view.h"
#include "platform/file_system.h"
#include "platform/prompter.h"
#include "platform/text_bytes.h"

static void InitResources() { Q_INIT_RESOURCE(zul); }

namespace zul {

namespace {

// The bytes of a dropped local file's path, percent-decoded from the URL itself, so names that
// are not valid UTF-8 arrive unchanged; empty for anything that is not a local file.
// A URL naming another machine ("file://server/x") is not a local file: its path alone would name
// whatever happens to lie at the same place here.
bool IsLocalFile(const QUrl& url) {
  if (!url.isLocalFile()) return false;
  const QString host = url.host();
  return host.isEmpty() || host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0 ||
         host.compare(QSysInfo::machineHostName(), Qt::CaseInsensitive) == 0;
}

std::string LocalPath(const QUrl& url) {
  if (!IsLocalFile(url)) return {};
  return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}

bool HasLocalFile(const QMimeData* data) {
  if (!data || !data->hasUrls()) return false;
  for (const QUrl& url : data->urls()) {
    if (IsLocalFile(url)) return true;
  }
  return false;
}

}  // namespace

// At global scope: the macro declares the resource's initialiser in the enclosing namespace. It
// also makes the linker keep the resources, which nothing else refers to.

CMainFrame::CMainFrame(const Services& services)
    : m_services(services),
      m_view(new CZulboView(m_filter, m_services, this)),
      m_doc(std::make_unique<CZulboDoc>(m_filter, *m_view, m_services, this)) {
  ::InitResources();
  setCentralWidget(m_view);
  setAcceptDrops(true);
  // The menus are the only place to show or hide the bars.
  setContextMenuPolicy(Qt::NoContextMenu);
  CreateMenus();
  CreateToolBar();
  CreateStatusBar();
  connect(m_doc.get(), &CZulboDoc::TitleChanged, this, &CMainFrame::ShowTitle);
  // A filter file opened or saved becomes the most recent one.
  connect(m_doc.get(), &CZulboDoc::TitleChanged, this, [this] {
    if (m_doc->PathName().empty()) return;
    m_recent.Add(m_doc->PathName());
    ShowRecentFiles();
  });
  connect(m_view, &CZulboView::FilesRenamed, m_doc.get(), &CZulboDoc::FollowRenames);
  connect(m_view, &CZulboView::StatusMessage, this,
          [this](const QString& text) { statusBar()->showMessage(text); });
  ShowTitle(m_doc->Title());
  m_view->OnInitialUpdate();

  qApp->installEventFilter(this);
  UpdateLockPanes();
  if (ReadLockKeys()) {
    // A lock key may change while another program has the keyboard; a cheap poll catches it.
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &CMainFrame::UpdateLockPanes);
    timer->start(500);
  }
}

CMainFrame::~CMainFrame() { qApp->removeEventFilter(this); }

QAction* CMainFrame::Action(int command) const {
  const auto found = m_actions.find(command);
  return found == m_actions.end() ? nullptr : found->second;
}

QAction* CMainFrame::AddAction(int command, const QString& menuText, const QString& commandText) {
  auto* action = new QAction(menuText, this);
  const qsizetype newline = commandText.indexOf(QLatin1Char('\n'));
  action->setStatusTip(commandText.left(newline));
  action->setToolTip(commandText.mid(newline + 1));
  m_actions[command] = action;
  return action;
}

void CMainFrame::CreateMenus() {
  CZulboView* view = m_view;
  CZulboDoc* doc = m_doc.get();
  auto bind = [this](QAction* action, auto handler) {
    connect(action, &QAction::triggered, this, handler);
  };

  QMenu* file = menuBar()->addMenu(QStringLiteral("&Datei"));
  bind(AddAction(CmdAddFiles, QStringLiteral("Datei(en) hinzufügen..."),
                 QStringLiteral("Datei(en) hinzufügen\nDatei(en) hinzufügen")),
       [view] { view->OnAddFiles(); });
  bind(AddAction(CmdAddFolder, QStringLiteral("Verzeichnis hinzufügen..."),
                 QStringLiteral("Ordner hinzufügen\nOrdner hinzufügen")),
       [view] { view->OnAddFolder(); });
  bind(AddAction(CmdFileOpen, QStringLiteral("Filter Ö&ffnen..."),
                 QStringLiteral("Öffnet ein bestehenden Filter.\nFilter Öffnen")),
       [doc] { doc->OnFileOpen(); });
  bind(AddAction(CmdFileSave, QStringLiteral("Filter S&peichern"),
                 QStringLiteral("Speichert den aktuellen Filter.\nFilter Speichern")),
       [doc] { doc->OnFileSave(); });
  bind(AddAction(
           CmdFileSaveAs, QStringLiteral("Filter Speichern &unter..."),
           QStringLiteral("Speichert das aktive Dokument unter neuem Namen.\nSpeichern unter")),
       [doc] { doc->OnFileSaveAs(); });
  bind(AddAction(CmdExit, QStringLiteral("&Beenden"),
                 QStringLiteral("Verläßt die Anwendung; fragt, ob Dokumente gespeichert werden "
                                "sollen.\nBeenden")),
       [this] { close(); });
  Action(CmdFileOpen)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  Action(CmdFileSave)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  file->addAction(Action(CmdAddFiles));
  file->addAction(Action(CmdAddFolder));
  file->addSeparator();
  file->addAction(Action(CmdFileOpen));
  file->addAction(Action(CmdFileSave));
  file->addAction(Action(CmdFileSaveAs));
  file->addSeparator();
  for (size_t i = 0; i < RecentFiles::kMax; ++i) {
    m_recentActions[i] = file->addAction(QString());
    connect(m_recentActions[i], &QAction::triggered, this, [this, i] { OpenRecent(i); });
  }
  m_recentSeparator = file->addSeparator();
  ShowRecentFiles();
  file->addAction(Action(CmdExit));

  QMenu* edit = menuBar()->addMenu(QStringLiteral("&Bearbeiten"));
  QAction* undo = AddAction(CmdUndo, QStringLiteral("&Rückgängig"),
                            QStringLiteral("Macht die letzte Aktion rückgängig.\nRückgängig"));
  undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  bind(undo, [view] { view->OnUndo(); });
  // Enabled while the last run has files to rename back, and then saying how many.
  auto showUndo = [undo](int files) {
    undo->setEnabled(files > 0);
    if (files <= 0) {
      undo->setText(QStringLiteral("&Rückgängig"));
    } else if (files == 1) {
      undo->setText(QStringLiteral("&Rückgängig: Umbenennen (1 Datei)"));
    } else {
      undo->setText(QStringLiteral("&Rückgängig: Umbenennen (%1 Dateien)").arg(files));
    }
  };
  showUndo(0);
  connect(view, &CZulboView::UndoAvailable, undo, showUndo);
  bind(AddAction(CmdEditFilter, QStringLiteral("Filter bearbeiten..."),
                 QStringLiteral("Filter bearbeiten\nFilter bearbeiten")),
       [view] { view->OnEditFilter(); });
  bind(AddAction(CmdApplyFilter, QStringLiteral("Filter anwenden (Dateien umbenennen)"),
                 QStringLiteral("Filter anwenden (Dateien umbenennen)\nFilter anwenden")),
       [view] { view->OnApplyFilter(); });
  bind(AddAction(CmdSettings, QStringLiteral("Einstellungen..."),
                 QStringLiteral("Einstellungen bearbeiten\nEinstellungen")),
       [view] { view->OnSettings(); });
  edit->addAction(undo);
  edit->addSeparator();
  edit->addAction(Action(CmdEditFilter));
  edit->addAction(Action(CmdApplyFilter));
  edit->addSeparator();
  edit->addAction(Action(CmdSettings));

  QMenu* viewMenu = menuBar()->addMenu(QStringLiteral("&Ansicht"));
  QAction* toolBar =
      AddAction(CmdViewToolBar, QStringLiteral("&Symbolleiste"),
                QStringLiteral("Blendet die Symbolleiste ein oder aus.\nSymbolleiste "
                               "ein-/ausschalten"));
  QAction* statusBar =
      AddAction(CmdViewStatusBar, QStringLiteral("S&tatusleiste"),
                QStringLiteral("Blendet die Statusleiste ein oder aus.\nStatusleiste "
                               "ein-/ausschalten"));
  toolBar->setCheckable(true);
  statusBar->setCheckable(true);
  viewMenu->addAction(toolBar);
  viewMenu->addAction(statusBar);
  viewMenu->addSeparator();
  QAction* nextConflict = AddAction(
      CmdNextConflict, QStringLiteral("Nächster Konflikt"),
      QStringLiteral("Wählt die nächste Zeile mit einem Konflikt oder einer Warnung aus und zeigt "
                     "sie an.\nNächster Konflikt"));
  nextConflict->setShortcut(QKeySequence(Qt::Key_F8));
  bind(nextConflict, [view] { view->OnNextConflict(); });
  viewMenu->addAction(nextConflict);

  QMenu* help = menuBar()->addMenu(QStringLiteral("&?"));
  bind(AddAction(CmdAbout, QStringLiteral("Inf&o über Zulbo..."),
                 QStringLiteral("Zeigt Programm-Informationen, Versionsnummer und Copyright "
                                "an.\nInfo")),
       [this] { RunAboutBox(m_services, this); });
  bind(AddAction(CmdHelp, QStringLiteral("Hilfe"), QStringLiteral("Öffnet die Hilfe-Datei\nHilfe")),
       [view] { view->ShowHelp(); });
  Action(CmdHelp)->setShortcut(QKeySequence::HelpContents);
  help->addAction(Action(CmdAbout));
  help->addAction(Action(CmdHelp));
}

void CMainFrame::CreateToolBar() {
  m_toolBar = new QToolBar(QStringLiteral("Symbolleiste"), this);
  m_toolBar->setObjectName(QStringLiteral("toolBar"));
  m_toolBar->setIconSize(QSize(kButtonSize, kButtonSize));
  m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
  m_toolBar->setFloatable(true);
  m_toolBar->setMovable(true);
  addToolBar(Qt::TopToolBarArea, m_toolBar);

  QList<QIcon> pictures;
  LoadButtonImages(QStringLiteral(":/toolbar_normal.png"), QIcon::Normal, pictures);
  LoadButtonImages(QStringLiteral(":/toolbar_disabled.png"), QIcon::Disabled, pictures);
  LoadButtonImages(QStringLiteral(":/toolbar_hot.png"), QIcon::Active, pictures);

  // 0 marks a separator.
  const int buttons[] = {CmdAddFiles, CmdAddFolder, 0,      CmdFileOpen,    CmdFileSave,
                         0,           CmdSettings,  0,      CmdApplyFilter, CmdEditFilter,
                         0,           CmdAbout,     CmdHelp};
  int cell = 0;
  for (const int command : buttons) {
    if (command == 0) {
      m_toolBar->addSeparator();
      continue;
    }
    QAction* action = Action(command);
    if (cell < pictures.size()) action->setIcon(pictures[cell]);
    action->setIconVisibleInMenu(false);  // the pictures belong to the toolbar only
    m_toolBar->addAction(action);
    ++cell;
  }

  QAction* toggle = Action(CmdViewToolBar);
  toggle->setChecked(true);
  connect(toggle, &QAction::triggered, m_toolBar, &QToolBar::setVisible);
  connect(m_toolBar, &QToolBar::visibilityChanged, toggle, &QAction::setChecked);
}

void CMainFrame::CreateStatusBar() {
  QStatusBar* bar = statusBar();
  m_ready = new QLabel(QStringLiteral("Bereit"));
  bar->addWidget(m_ready, 1);
  const QString widest[3] = {QStringLiteral("UF"), QStringLiteral("NUM"), QStringLiteral("RF")};
  for (int i = 0; i < 3; ++i) {
    m_lockPanes[i] = new QLabel;
    m_lockPanes[i]->setAlignment(Qt::AlignCenter);
    m_lockPanes[i]->setMinimumWidth(m_lockPanes[i]->fontMetrics().horizontalAdvance(widest[i]) +
                                    12);
    m_lockPanes[i]->setFrameShape(QFrame::Panel);
    m_lockPanes[i]->setFrameShadow(QFrame::Sunken);
    bar->addPermanentWidget(m_lockPanes[i]);
  }

  QAction* toggle = Action(CmdViewStatusBar);
  toggle->setChecked(true);
  connect(toggle, &QAction::triggered, bar, &QStatusBar::setVisible);
  // The check's count, as text of a label, so that screen readers get it too.
  connect(m_view, &CZulboView::PlanChecked, m_ready, [this](const QString& summary) {
    m_ready->setText(summary.isEmpty() ? QStringLiteral("Bereit") : summary);
  });
}

void CMainFrame::UpdateLockPanes() {
  const std::optional<LockKeys> keys = ReadLockKeys();
  m_lockPanes[0]->setText(keys && keys->caps ? QStringLiteral("UF") : QString());
  m_lockPanes[1]->setText(keys && keys->num ? QStringLiteral("NUM") : QString());
  m_lockPanes[2]->setText(keys && keys->scroll ? QStringLiteral("RF") : QString());
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
  // A key event passes the window first and then every widget up the chain: look once.
  if (!watched->isWindowType() && watched != qApp) return QMainWindow::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ApplicationStateChange:
      UpdateLockPanes();
      break;
    default:
      break;
  }
  return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::ShowRecentFiles() {
  const std::vector<std::string>& paths = m_recent.Paths();
  for (size_t i = 0; i < RecentFiles::kMax; ++i) {
    QAction* entry = m_recentActions[i];
    entry->setVisible(i < paths.size());
    if (i >= paths.size()) continue;
    entry->setText(RecentFiles::MenuText(i, paths[i]));
    entry->setStatusTip(TextOf(paths[i]));
  }
  m_recentSeparator->setVisible(!paths.empty());
}

void CMainFrame::OpenRecent(size_t index) {
  if (index >= m_recent.Paths().size()) return;
  const std::string path = m_recent.Paths()[index];
  const Result<FileStatus> status = m_services.files.Examine(path);
  if (!status && (status.error() == std::errc::no_such_file_or_directory ||
                  status.error() == std::errc::not_a_directory)) {
    m_recent.Remove(path);
    ShowRecentFiles();
    m_services.prompter.Message(
        this, QString(),
        QStringLiteral("Die Filterdatei „%1“ gibt es nicht mehr.\nSie wurde aus der Liste der "
                       "zuletzt benutzten Dateien entfernt.")
            .arg(TextOf(path)),
        Prompter::Buttons::Ok, Prompter::Icon::Warning);
    return;
  }
  m_doc->Open(path);
}

void CMainFrame::KeepSettingsIn(SettingsStore& store) {
  m_store = &store;
  const KeptSettings kept = store.Load();
  m_view->Options().includeSubfolders = kept.includeSubfolders;
  m_view->Options().lastFolder = kept.listFolder;
  m_view->FilterDialogPos() = kept.filterDialogPos;
  m_doc->SetLastFolder(kept.filterFolder);
  QHeaderView* header = m_view->horizontalHeader();
  if (kept.columnWidths.size() == header->count()) {
    for (int column = 0; column < header->count(); ++column)
      header->resizeSection(column, kept.columnWidths[column]);
  }
  m_toolBar->setVisible(kept.toolBarVisible);
  Action(CmdViewToolBar)->setChecked(kept.toolBarVisible);
  statusBar()->setVisible(kept.statusBarVisible);
  Action(CmdViewStatusBar)->setChecked(kept.statusBarVisible);
  m_keptGeometry = kept.windowGeometry;
  m_keptMaximised = kept.maximised;
  m_recent.Set(kept.recentFiles);
  ShowRecentFiles();
  if (store.Damaged()) {
    statusBar()->showMessage(
        QStringLiteral("Die Einstellungen in „%1“ konnten nicht gelesen werden; es gelten die "
                       "Voreinstellungen.")
            .arg(store.Path()));
  }
}

void CMainFrame::ShowAsKept() {
  if (!m_keptGeometry.isEmpty()) restoreGeometry(m_keptGeometry);
  if (m_keptMaximised) {
    showMaximized();
  } else {
    showNormal();
  }
}

KeptSettings CMainFrame::CurrentSettings() const {
  KeptSettings kept;
  kept.includeSubfolders = m_view->Options().includeSubfolders;
  kept.listFolder = m_view->Options().lastFolder;
  kept.filterDialogPos = m_view->FilterDialogPos();
  kept.filterFolder = m_doc->LastFolder();
  const QHeaderView* header = m_view->horizontalHeader();
  for (int column = 0; column < header->count(); ++column)
    kept.columnWidths.push_back(header->sectionSize(column));
  // Hidden by the user, not merely because the window is.
  kept.toolBarVisible = !m_toolBar->isHidden();
  kept.statusBarVisible = !statusBar()->isHidden();
  kept.windowGeometry = saveGeometry();
  kept.maximised = isMaximized();
  kept.recentFiles = m_recent.Paths();
  return kept;
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (m_store && !m_store->Save(CurrentSettings())) {
    m_services.prompter.Message(
        this, QString(),
        QStringLiteral("Die Einstellungen konnten nicht in „%1“ gespeichert werden.")
            .arg(m_store->Path()),
        Prompter::Buttons::Ok, Prompter::Icon::Warning);
  }
  QMainWindow::closeEvent(event);
}

void CMainFrame::ShowTitle(const QString& documentTitle) {
  // "[*]" is Qt's placeholder for the modified mark; doubled it shows as written.
  QString title = documentTitle;
  title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
  setWindowTitle(QStringLiteral("Zul - ") + title);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (HasLocalFile(event->mimeData())) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
  std::vector<std::string> paths;
  for (const QUrl& url : event->mimeData()->urls()) {
    std::string path = LocalPath(url);
    if (!path.empty()) paths.push_back(std::move(path));
  }
  if (paths.empty()) return;
  event->acceptProposedAction();
  activateWindow();
  raise();
  // Opened once the drop has finished, so that messages do not hold up the program dragged from.
  QTimer::singleShot(0, this, [this, paths] {
    for (const std::string& path : paths) m_doc->Open(path);
  });
}

}  // namespace zul
