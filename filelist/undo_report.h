#pragma once

#include <vector>

#include <QString>

#include "filelist/core/rename_run.h"

class Prompter;
class QWidget;

// Tells which files of the plan an undo could not rename back, and why (as UndoRun reports
// them). The one place that shows such a list, for "Rückgängig" and for the undo of a cut-off run
// alike.
void ReportUnrestored(Prompter& prompter, QWidget* owner, const RenamePlan& plan,
                      const std::vector<Unrestored>& unrestored);

// The label of the progress of an undo of `total` files.
QString UndoProgressLabel(int done, int total);
