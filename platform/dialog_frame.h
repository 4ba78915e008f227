#pragma once

class QWidget;

namespace zul {

// Gives a modal dialog the title bar of a dialog: a close button, no minimise or maximise button
// (a minimised modal dialog takes its whole program off the screen). Call before showing it.
void UseDialogTitleBar(QWidget& dialog);

}  // namespace zul
