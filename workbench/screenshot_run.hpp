#pragma once
// Screenshot mode's extras: a run with every variable as species, and the tab in front.

#include <QString>

namespace el::workbench {

class WorkbenchWindow;

// Moves every variable of the loaded file into the species list, names `target` (when not
// empty) as target species, presses "G  O" and waits until the run has ended.
void runEverySpecies(WorkbenchWindow& window, const QString& target);

// Makes the Hindcast tab's hindcast of `years` (its year field's text) and waits until it
// has ended.
void runHindcast(WorkbenchWindow& window, const QString& years);

// Turns the risk control on with `horizon` years, for the run to come.
void askRisk(WorkbenchWindow& window, const QString& horizon);

// Shows the risk map on the Map tab, when the run shown has a risk.
void showRiskMap(WorkbenchWindow& window);

// Brings the tab "log", "map", "fit", "weights", "table" or "hindcast" to the front; false
// for another name.
bool showTab(WorkbenchWindow& window, const QString& name);

}  // namespace el::workbench
