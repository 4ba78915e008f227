#pragma once

#include <vector>

#include <QString>

#include "core/rename_run.h"

class QWidget;

namespace zul {

class Prompter;

// Tells which files of the plan could not be renamed back, and why, in a list that scrolls under
// their count. The one place that shows such a list: for a roll-back, "Rückgängig" and the undo
// of a cut-off run alike.
void ReportUnrestored(Prompter& prompter, QWidget* owner, const QString& title,
                      const RenamePlan& plan, const std::vector<Unrestored>& unrestored);

// The label of the progress of an undo of `total` files.
QString UndoProgressLabel(int done, int total);

}  // namespace zul
