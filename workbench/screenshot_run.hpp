#pragma once
// Screenshot mode's extras: a run with every variable as species, and the tab in front.

#include <QString>

namespace el::workbench {

class WorkbenchWindow;

// Moves every variable of the loaded file into the species list, names `target` (when not
// empty) as target species, presses "G  O" and waits until the run has ended.
void runEverySpecies(WorkbenchWindow& window, const QString& target);

// Brings the tab "log", "map", "fit" or "weights" to the front; false for another name.
bool showTab(WorkbenchWindow& window, const QString& name);

}  // namespace el::workbench
