#include "filelist/zulbo_view.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QPalette>
#include <QStyle>
#include <QToolTip>

#include "core/full_path.h"
#include "filelist/row_focus_delegate.h"
#include "platform/prompter.h"

namespace zul {

CZulboView::CZulboView(FilterSettings& filter, const Services& services, QWidget* parent)
    : QTableView(parent),
      m_filter(filter),
      m_services(services),
      m_model(new FileListModel(this)),
      m_addedFolder(m_services.files) {
  setModel(m_model);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setSortingEnabled(false);
  setDragEnabled(false);
  setAcceptDrops(false);
  setDragDropMode(QAbstractItemView::NoDragDrop);
  setWordWrap(false);
  setShowGrid(false);
  setItemDelegate(new RowFocusDelegate(this));
  // A selected row selects every column; bold headers would say nothing.
  horizontalHeader()->setHighlightSections(false);
  verticalHeader()->hide();
  // Rows as compact as the font allows, with the style's room for the focus frame.
  verticalHeader()->setMinimumSectionSize(0);
  verticalHeader()->setDefaultSectionSize(
      fontMetrics().height() +
      2 * style()->pixelMetric(QStyle::PM_FocusFrameVMargin, nullptr, this));
  const int widths[ColCount] = {250, 250, 300, 160, 160, 160};
  for (int c = 0; c < ColCount; ++c) setColumnWidth(c, widths[c]);

  // The selection stays visible while another window has the focus.
  QPalette colours = palette();
  for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
    colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
  setPalette(colours);
  m_model->SetStandInLook(colours.brush(QPalette::Disabled, QPalette::Text));
  ConnectInteraction();
  ConnectCheck();
}

// The focus leaves a widget also in QWidget's destructor, when the view's own parts are gone: the
// delegate must not hear of it then.
CZulboView::~CZulboView() { removeEventFilter(itemDelegate()); }

void CZulboView::OnInitialUpdate() { clearSelection(); }

void CZulboView::AddFile(const std::string& fullPath) {
  const FileRecord record = MakeRecord(m_addedFolder, FullPath(m_services.files, fullPath));
  m_model->Append(record, IdentifyRecord(m_addedFolder, record));
}

void CZulboView::RecomputeNewNames() {
  m_addedFolder.Close();
  ReadingCaptureTimes([this](const CaptureProgress& progress) {
    return m_model->ComputeNewNames(m_filter, m_services.captures, progress);
  });
  m_model->MakeNamesUnique(m_services.files);
}

void CZulboView::ReadingCaptureTimes(const std::function<int(const CaptureProgress&)>& read) {
  // Most work reads no file: the dialog is started by the first one read.
  std::unique_ptr<Progress> progress;
  const int rows = RowCount();
  const int unread = read([&](int done) {
    if (!progress) {
      progress = m_services.prompter.StartProgress(
          this,
          [rows](int passed) {
            return QStringLiteral("Metadaten werden gelesen...\n%1 von %2 Dateien")
                .arg(passed)
                .arg(rows);
          },
          rows, true);
    }
    return progress->Continue(done);
  });
  progress.reset();
  if (unread == 0) return;
  emit StatusMessage(
      unread == 1 ? QStringLiteral("Lesen abgebrochen: für 1 Datei gilt das Änderungsdatum als "
                                   "Aufnahmedatum.")
                  : QStringLiteral("Lesen abgebrochen: für %1 Dateien gilt das Änderungsdatum als "
                                   "Aufnahmedatum.")
                        .arg(unread));
}

// The full text of a cell shows as a tip where the column cuts it off; the check's reason, where
// the cell has one, shows always.
bool CZulboView::viewportEvent(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QTableView::viewportEvent(event);
  const auto* help = static_cast<QHelpEvent*>(event);
  const QModelIndex cell = indexAt(help->pos());
  if (cell.isValid()) {
    const QString text = cell.data(Qt::DisplayRole).toString();
    const QString reason = cell.data(Qt::ToolTipRole).toString();
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const QRect rect = visualRect(cell);
    const int iconWidth =
        cell.data(Qt::DecorationRole).isNull()
            ? 0
            : style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this) + margin;
    const bool cut = fontMetrics().horizontalAdvance(text) > rect.width() - 2 * margin - iconWidth;
    QString tip = cut ? text : QString();
    if (!reason.isEmpty()) tip += (cut ? QStringLiteral("\n") : QString()) + reason;
    if (!tip.isEmpty()) {
      QToolTip::showText(help->globalPos(), tip, viewport(), rect);
      return true;
    }
  }
  QToolTip::hideText();
  event->ignore();
  return true;
}

}  // namespace zul
