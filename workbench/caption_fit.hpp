#pragma once
// Fits a caption into the room its control has. The layout's rectangles were drawn for a
// 9 pt font of Calibri's widths with a 13-pixel check box; a caption that still does not
// fit is drawn smaller, in half-point steps down to a floor.

#include <QFont>
#include <QSize>
#include <QString>

#include <vector>

#include "workbench/control_layout.hpp"

namespace el::workbench {

inline constexpr double kSmallestCaptionPoints = 7.0;

// The box of a check box or the circle of an option, and the gap to its caption, in pixels.
int indicatorSize(double dpi);
int indicatorGap(double dpi);

struct CaptionRoom {
    // Where an input control lies over part of the caption's room: the lines whose baseline
    // is `from` pixels or more below the room's top must end within `width`.
    struct Cover {
        int from = 0;
        int width = 0;
    };
    QSize size;
    bool wrap = false;     // the caption wraps at word boundaries
    bool centred = false;  // its lines are centred vertically in the room, else they start at its top
    std::vector<Cover> covers;

    int widthAt(int baseline) const;
};

// The room of the caption of `entry` at `dpi`: its rectangle less the indicator of a check
// box or option, the border of a button or the inset of a frame's title. Input controls lie
// above labels, and a later input control above an earlier one: where one begins inside
// the rectangle, the caption's lines beside it end at its left edge. A check box's caption
// wraps, and so does every label's but the two progress labels'.
CaptionRoom captionRoom(const ControlSpec& entry, double dpi);

// True when `text` fits `room` in `font`: no line is wider than the room where it lies
// (trailing blanks do not count), and the lines are no higher than the room with the last
// line's descent.
bool captionFits(const QFont& font, const QString& text, const CaptionRoom& room);

// `font`, or the largest smaller size (not below `smallest` points) at which the text fits;
// the smallest size when nothing fits.
QFont fittedFont(const QFont& font, const QString& text, const CaptionRoom& room,
                 double smallest = kSmallestCaptionPoints);

}  // namespace el::workbench
