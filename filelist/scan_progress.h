#pragma once

#include <functional>
#include <memory>

#include <QElapsedTimer>

class QProgressDialog;
class QWidget;

// Feedback of a folder scan: told the number of files found so far, answers whether to go on.
class ScanProgress {
 public:
  virtual ~ScanProgress() = default;
  virtual bool Continue(int filesFound) = 0;
};

// Stays invisible while the scan is short; once it has run for `delayMs`, shows a modal progress
// dialog with the number of files found and "Abbrechen", and keeps the window painted.
class TimedScanProgress : public ScanProgress {
 public:
  explicit TimedScanProgress(QWidget* owner, int delayMs = 500);
  ~TimedScanProgress() override;

  bool Continue(int filesFound) override;
  // The dialog once shown, else nullptr.
  QProgressDialog* Dialog() const { return m_dialog.get(); }

 private:
  void Show();

  QWidget* m_owner;
  int m_delayMs;
  QElapsedTimer m_started;
  qint64 m_lastUpdate = 0;
  std::unique_ptr<QProgressDialog> m_dialog;
};

// Makes the feedback of one scan; tests replace it to stay headless or to cancel at will.
using ScanProgressFactory = std::function<std::unique_ptr<ScanProgress>(QWidget* owner)>;
std::unique_ptr<ScanProgress> MakeScanProgress(QWidget* owner);
// An empty factory restores the timed dialog.
void SetScanProgressFactory(ScanProgressFactory factory);
