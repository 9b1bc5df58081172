#pragma once
// The fonts of the window: a narrow sans for captions, a Japanese-capable font for lists
// and text fields (species names are often Japanese), bold for headings and the run button.

#include <QFont>

namespace el::workbench {

QFont captionFont();                   // 9 pt sans
QFont headingFont();                   // 9 pt sans, bold
QFont runButtonFont();                 // 12 pt sans, bold
QFont listFont();                      // 9 pt, Japanese-capable

}  // namespace el::workbench
