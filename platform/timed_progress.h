#pragma once

#include <functional>
#include <memory>

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "platform/prompter.h"

class QProgressDialog;

namespace zul {

// Stays invisible while the work is short; once it has run for `delayMs`, shows a window-modal
// progress dialog with the label and "Abbrechen", and keeps the window painted. While the dialog
// shows, a step repaints the dialog alone: the owner keeps the picture it had (the system's
// exposures still show it) and repaints once, when the work is over.
class TimedProgress : public Progress {
 public:
  TimedProgress(QWidget* owner, std::function<QString(int done)> label, int total, bool cancellable,
                int delayMs = 500);
  ~TimedProgress() override;

  bool Continue(int done) override;
  // The dialog once shown, else nullptr.
  QProgressDialog* Dialog() const { return m_dialog.get(); }

 private:
  void Show();

  QWidget* m_owner;
  std::function<QString(int done)> m_label;
  int m_total;
  bool m_cancellable;
  int m_delayMs;
  QElapsedTimer m_started;
  qint64 m_lastUpdate = 0;
  std::unique_ptr<QProgressDialog> m_dialog;
  QPointer<QWidget> m_frozenOwner;  // the owner whose updates wait for the end of the work
};

}  // namespace zul
