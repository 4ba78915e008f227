#include "filelist/scan_progress.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace {

// Repaints at most this often, so the dialog costs nothing measurable on a large scan.
constexpr qint64 kUpdateIntervalMs = 100;

ScanProgressFactory& Factory() {
  static ScanProgressFactory factory;
  return factory;
}

QString FoundText(int filesFound) {
  return QStringLiteral("Dateien werden hinzugefügt...\n%1 Dateien gefunden").arg(filesFound);
}

}  // namespace

TimedScanProgress::TimedScanProgress(QWidget* owner, int delayMs)
    : m_owner(owner), m_delayMs(delayMs) {
  m_started.start();
}

TimedScanProgress::~TimedScanProgress() = default;

bool TimedScanProgress::Continue(int filesFound) {
  const qint64 elapsed = m_started.elapsed();
  if (!m_dialog) {
    if (elapsed < m_delayMs) return true;
    Show();
  } else if (elapsed - m_lastUpdate < kUpdateIntervalMs) {
    return !m_dialog->wasCanceled();
  }
  m_lastUpdate = elapsed;
  m_dialog->setLabelText(FoundText(filesFound));
  QCoreApplication::processEvents();
  return !m_dialog->wasCanceled();
}

void TimedScanProgress::Show() {
  m_dialog =
      std::make_unique<QProgressDialog>(FoundText(0), QStringLiteral("Abbrechen"), 0, 0, m_owner);
  m_dialog->setWindowTitle(QStringLiteral("Zul"));
  m_dialog->setWindowModality(Qt::WindowModal);
  m_dialog->setMinimumDuration(0);
  m_dialog->setAutoClose(false);
  m_dialog->setAutoReset(false);
  m_dialog->show();
}

std::unique_ptr<ScanProgress> MakeScanProgress(QWidget* owner) {
  if (Factory()) return Factory()(owner);
  return std::make_unique<TimedScanProgress>(owner);
}

void SetScanProgressFactory(ScanProgressFactory factory) { Factory() = std::move(factory); }
