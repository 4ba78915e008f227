#include "filelist/zulbo_view.h"

#include <unistd.h>

#include <QHeaderView>
#include <QHelpEvent>
#include <QPalette>
#include <QStyle>
#include <QToolTip>

#include "filelist/date_text.h"
#include "filelist/row_focus_delegate.h"

CZulboView::CZulboView(FilterSettings& filter, QWidget* parent)
    : QTableView(parent), m_filter(filter), m_model(new FileListModel(this)) {
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
  const int widths[ColCount] = {250, 250, 300, 160, 160};
  for (int c = 0; c < ColCount; ++c) setColumnWidth(c, widths[c]);

  // The selection stays visible while another window has the focus.
  QPalette colours = palette();
  for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
    colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
  setPalette(colours);
  ConnectInteraction();
}

CZulboView::~CZulboView() = default;

void CZulboView::OnInitialUpdate() { clearSelection(); }

void CZulboView::AddFile(const std::string& fullPath) {
  // The run rebuilds the path from the folder and the name, so the folder must not depend on a
  // working directory that may change later.
  std::string absolute;
  if (fullPath.empty() || fullPath[0] != '/') {
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd)) absolute = std::string(cwd) + "/" + fullPath;
  }
  const std::string& path = absolute.empty() ? fullPath : absolute;
  const size_t slash = path.rfind('/');
  FileEntry entry;
  entry.oldName = slash == std::string::npos ? path : path.substr(slash + 1);
  entry.newName = entry.oldName;
  entry.directory = slash == std::string::npos ? std::string() : path.substr(0, slash);
  DateTexts dates = FileDateTexts(path);
  entry.created = std::move(dates.created);
  entry.modified = std::move(dates.modified);
  m_model->Append(std::move(entry));
}

void CZulboView::RecomputeNewNames() {
  const int count = m_model->Count();
  if (count == 0) return;
  std::vector<std::string> names;
  names.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    const FileEntry& row = m_model->Row(i);
    names.push_back(m_filter.Evaluate(row.oldName, i, row.created, row.modified));
  }
  m_model->SetNewNames(std::move(names));
}

// The full text of a cell shows as a tip only where the column cuts it off.
bool CZulboView::viewportEvent(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QTableView::viewportEvent(event);
  const auto* help = static_cast<QHelpEvent*>(event);
  const QModelIndex cell = indexAt(help->pos());
  if (cell.isValid()) {
    const QString text = cell.data(Qt::DisplayRole).toString();
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const QRect rect = visualRect(cell);
    if (fontMetrics().horizontalAdvance(text) > rect.width() - 2 * margin) {
      QToolTip::showText(help->globalPos(), text, viewport(), rect);
      return true;
    }
  }
  QToolTip::hideText();
  event->ignore();
  return true;
}
