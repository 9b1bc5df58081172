#pragma once
// Renders the window as it stands into a PNG file.

#include <QString>

namespace el::workbench {

class WorkbenchWindow;

// Returns an error text, or an empty string when the file was written.
QString saveScreenshot(WorkbenchWindow& window, const QString& file);

}  // namespace el::workbench
