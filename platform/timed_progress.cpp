#include "platform/timed_progress.h"

#include <QCoreApplication>
#include <QProgressDialog>

#include "platform/dialog_frame.h"

namespace zul {

namespace {

// Repaints at most this often, so the dialog costs nothing measurable on long work.
constexpr qint64 kUpdateIntervalMs = 100;

}  // namespace

TimedProgress::TimedProgress(QWidget* owner, std::function<QString(int done)> label, int total,
                             bool cancellable, int delayMs)
    : m_owner(owner),
      m_label(std::move(label)),
      m_total(total),
      m_cancellable(cancellable),
      m_delayMs(delayMs) {
  m_started.start();
}

TimedProgress::~TimedProgress() {
  m_dialog.reset();
  if (m_frozenOwner) m_frozenOwner->setUpdatesEnabled(true);
}

bool TimedProgress::Continue(int done) {
  const qint64 elapsed = m_started.elapsed();
  if (!m_dialog) {
    if (elapsed < m_delayMs) return true;
    Show();
  } else if (elapsed - m_lastUpdate < kUpdateIntervalMs) {
    return !m_dialog->wasCanceled();
  }
  m_lastUpdate = elapsed;
  m_dialog->setLabelText(m_label(done));
  if (m_total > 0) m_dialog->setValue(std::min(done, m_total));
  QCoreApplication::processEvents();
  return !m_dialog->wasCanceled();
}

void TimedProgress::Show() {
  m_dialog = std::make_unique<QProgressDialog>(
      m_label(0), m_cancellable ? QStringLiteral("Abbrechen") : QString(), 0, std::max(m_total, 0),
      m_owner);
  if (!m_cancellable) m_dialog->setCancelButton(nullptr);
  UseDialogTitleBar(*m_dialog);
  m_dialog->setWindowTitle(QStringLiteral("Zul"));
  m_dialog->setWindowModality(Qt::WindowModal);
  m_dialog->setMinimumDuration(0);
  m_dialog->setAutoClose(false);
  m_dialog->setAutoReset(false);
  m_dialog->show();
  if (m_owner && m_owner->updatesEnabled()) {
    m_frozenOwner = m_owner;
    m_owner->setUpdatesEnabled(false);
  }
}

}  // namespace zul
