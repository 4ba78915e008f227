#pragma once

#include <QWidget>

namespace zul {

// Whether a dialog asks the window manager for a dialog's title bar: a close button, no minimise
// or maximise button.
inline bool HasDialogTitleBar(const QWidget& dialog) {
  const Qt::WindowFlags flags = dialog.windowFlags();
  return flags.testFlag(Qt::CustomizeWindowHint) && flags.testFlag(Qt::WindowCloseButtonHint) &&
         !flags.testFlag(Qt::WindowMinimizeButtonHint) &&
         !flags.testFlag(Qt::WindowMaximizeButtonHint);
}

}  // namespace zul
