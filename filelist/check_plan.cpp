#include <utility>

#include <QApplication>
#include <QItemSelectionModel>
#include <QStyle>

#include "core/plan_check_text.h"
#include "filelist/zulbo_view.h"
#include "platform/prompter.h"

namespace zul {

namespace {

// Long enough to take a drag step or a burst of added files as one change.
constexpr int kCheckDelayMs = 150;

// Qt's palette has no role for warnings: an orange that keeps its contrast on the list's
// background, dark on a light one, light on a dark one.
QBrush WarningColour(const QPalette& palette) {
  const bool darkBackground = palette.color(QPalette::Base).lightness() < 128;
  return darkBackground ? QColor::fromHsl(28, 255, 170) : QColor::fromHsl(22, 255, 80);
}

}  // namespace

void CZulboView::ConnectCheck() {
  m_model->SetIssueLook(style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this),
                        WarningColour(palette()));
  m_checkTimer.setSingleShot(true);
  m_checkTimer.setInterval(kCheckDelayMs);
  connect(&m_checkTimer, &QTimer::timeout, this, [this] {
    if (std::exchange(m_changedWhileWaiting, false))
      m_checkTimer.start();
    else
      RecheckPlan();
  });
  // Rows added, removed, moved or sorted, and texts changed: the plan is another one. The
  // check's own results come with roles of their own and change no plan.
  connect(m_model, &QAbstractItemModel::rowsInserted, this, &CZulboView::ScheduleRecheck);
  connect(m_model, &QAbstractItemModel::rowsRemoved, this, &CZulboView::ScheduleRecheck);
  connect(m_model, &QAbstractItemModel::modelReset, this, &CZulboView::ScheduleRecheck);
  connect(m_model, &QAbstractItemModel::layoutChanged, this, &CZulboView::ScheduleRecheck);
  connect(m_model, &QAbstractItemModel::dataChanged, this,
          [this](const QModelIndex&, const QModelIndex&, const QList<int>& roles) {
            if (roles.isEmpty() || roles.contains(Qt::DisplayRole)) ScheduleRecheck();
          });
  connect(this, &CZulboView::FilesRenamed, this, &CZulboView::ScheduleRecheck);
}

// Called for every single change (a drag step makes thousands), so it only takes note; the
// timer, once running, waits until a whole interval has passed without a change.
void CZulboView::ScheduleRecheck() {
  if (m_checkTimer.isActive())
    m_changedWhileWaiting = true;
  else
    m_checkTimer.start();
}

void CZulboView::RecheckPlan() {
  if (m_checkHolds > 0) return;
  m_checkTimer.stop();
  m_changedWhileWaiting = false;
  // Quick on a local disk; a slow network folder gets feedback.
  const std::unique_ptr<Progress> progress = m_services.prompter.StartProgress(
      this,
      [](int done) {
        return QStringLiteral("Die Umbenennung wird geprüft …\n%1 Ordner geprüft").arg(done);
      },
      0, false);
  std::vector<StepCheck> checks;
  {
    // The plan holds a copy of every name: it lives only as long as the check.
    const RenamePlan plan = MakePlan(m_model->Rows());
    checks = CheckSteps(plan, m_services.files,
                        [&](size_t done) { progress->Continue(static_cast<int>(done)); });
  }
  std::vector<StepIssue> issues(checks.size());
  for (size_t i = 0; i < checks.size(); ++i) issues[i] = checks[i].issue;
  m_checkSummary = QString::fromUtf8(CheckSummary(issues));
  m_model->SetChecks(checks);
  emit PlanChecked(m_checkSummary);
}

void CZulboView::OnNextConflict() {
  if (m_checkTimer.isActive()) RecheckPlan();
  const int count = RowCount();
  // The current row counts only while selected: Qt makes the first row current on its own.
  const QModelIndex currentCell = currentIndex();
  const int current =
      currentCell.isValid() && selectionModel()->isRowSelected(currentCell.row(), {})
          ? currentCell.row()
          : -1;
  for (int step = 1; step <= count; ++step) {
    const int row = (current + step) % count;
    if (m_model->Issue(row) == StepIssue::None) continue;
    const QModelIndex cell = m_model->index(row, ColNewName);
    selectionModel()->setCurrentIndex(
        cell, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(cell, QAbstractItemView::EnsureVisible);
    return;
  }
  QApplication::beep();
}

}  // namespace zul
