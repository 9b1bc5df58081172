#include "workbench/window_fonts.hpp"

#include <QStringList>

namespace el::workbench {
namespace {

QFont fontOf(const QStringList& families, double points, bool bold) {
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

// Calibri and its metric twin first, so captions fit the rectangles they were laid out for;
// otherwise a condensed sans, which comes closest to their width.
const QStringList kSans{"Calibri", "Carlito", "DejaVu Sans Condensed", "Noto Sans CJK JP", "DejaVu Sans"};
const QStringList kJapanese{"Noto Sans CJK JP", "Noto Sans JP", "Meiryo", "MS UI Gothic", "DejaVu Sans"};

}  // namespace

QFont captionFont() { return fontOf(kSans, 9, false); }
QFont headingFont() { return fontOf(kSans, 9, true); }
QFont runButtonFont() { return fontOf(kSans, 12, true); }
QFont listFont() { return fontOf(kJapanese, 9, false); }

}  // namespace el::workbench
