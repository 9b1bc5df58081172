#pragma once
// Shrinks a caption's font, in half-point steps down to a floor, until the caption fits the
// room its control has. The layout's rectangles were drawn for one particular narrow font;
// this keeps captions readable with whatever fonts the machine has.

#include <QFont>
#include <QSize>
#include <QString>

namespace el::workbench {

inline constexpr double kSmallestCaptionPoints = 7.5;

// True when `text` fits `room` in `font`: on one line, or wrapped at word boundaries.
bool captionFits(const QFont& font, const QString& text, QSize room, bool wrap);

// `font`, or the largest smaller size (not below `smallest` points) at which the text fits;
// the smallest size when nothing fits.
QFont fittedFont(const QFont& font, const QString& text, QSize room, bool wrap,
                 double smallest = kSmallestCaptionPoints);

}  // namespace el::workbench
