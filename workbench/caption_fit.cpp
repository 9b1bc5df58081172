#include "workbench/caption_fit.hpp"

#include <QFontMetrics>
#include <QRect>

#include <climits>

namespace el::workbench {

bool captionFits(const QFont& font, const QString& text, QSize room, bool wrap) {
    const QFontMetrics metrics(font);
    if (!wrap) return metrics.horizontalAdvance(text) <= room.width() && metrics.height() <= room.height();
    const QRect needed = metrics.boundingRect(QRect(0, 0, room.width(), INT_MAX / 4), Qt::TextWordWrap, text);
    return needed.width() <= room.width() && needed.height() <= room.height();
}

QFont fittedFont(const QFont& font, const QString& text, QSize room, bool wrap, double smallest) {
    QFont candidate = font;
    if (text.isEmpty()) return candidate;
    double points = font.pointSizeF();
    while (!captionFits(candidate, text, room, wrap) && points - 0.5 >= smallest) {
        points -= 0.5;
        candidate.setPointSizeF(points);
    }
    return candidate;
}

}  // namespace el::workbench
