#include "platform/dialog_frame.h"

#include <QWidget>

namespace zul {

void UseDialogTitleBar(QWidget& dialog) {
  // Without the customise hint the window manager chooses the buttons itself.
  dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
}

}  // namespace zul
