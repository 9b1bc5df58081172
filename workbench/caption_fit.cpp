#include "workbench/caption_fit.hpp"

#include <QFontMetrics>
#include <QRect>
#include <QTextLayout>

#include <algorithm>
#include <climits>

#include "workbench/window_controls.hpp"

namespace el::workbench {
namespace {

constexpr int kAnyHeight = INT_MAX / 4;
constexpr int kButtonBorder = 6;  // both sides of a button's caption together
constexpr int kFrameInset = 12;   // a frame's title starts a little in and ends before the edge

bool singleLine(const ControlSpec& entry) {
    return entry.name == control::kReadProgressLabel || entry.name == control::kRunProgressLabel;
}

int sharedHeight(const QRect& a, const QRect& b) { return std::min(a.bottom(), b.bottom()) - std::max(a.top(), b.top()) + 1; }

// The input controls above `entry` that begin inside its rectangle: every input control of
// its frame above a label, the later ones above an input control. `indent` is where the
// caption starts inside the rectangle.
std::vector<CaptionRoom::Cover> coversOf(const ControlSpec& entry, double dpi, int indent) {
    const QRect own = pixelRect(entry.rect, dpi);
    std::vector<CaptionRoom::Cover> covers;
    bool above = entry.kind == ControlKind::Label;
    for (const ControlSpec& other : controlLayout()) {
        if (&other == &entry) above = true;
        if (!above || &other == &entry || other.kind == ControlKind::Label || other.frame != entry.frame) continue;
        const QRect rect = pixelRect(other.rect, dpi);
        if (sharedHeight(rect, own) > 2 && rect.left() > own.left() && rect.left() <= own.right())
            covers.push_back({std::max(0, rect.top() - own.top()), rect.left() - own.left() - indent});
    }
    return covers;
}

QString withoutTrailingBlanks(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text[end - 1].isSpace()) --end;
    return text.left(end);
}

// The widths of the lines of `text` wrapped as the painter wraps it.
std::vector<double> wrappedLines(const QFont& font, const QString& text, int width) {
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    std::vector<double> widths;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        widths.push_back(line.naturalTextWidth());
    }
    layout.endLayout();
    return widths;
}

// Lines one line spacing apart, from the top of the room or centred in it.
bool linesFit(const QFontMetrics& metrics, const std::vector<double>& widths, const CaptionRoom& room) {
    const int height = static_cast<int>(widths.size()) * metrics.lineSpacing() - metrics.leading();
    if (height > room.size.height() + metrics.descent()) return false;
    int baseline = (room.centred ? (room.size.height() - height) / 2 : 0) + metrics.ascent();
    for (double width : widths) {
        if (width > room.widthAt(baseline)) return false;
        baseline += metrics.lineSpacing();
    }
    return true;
}

}  // namespace

int indicatorSize(double dpi) { return scaledPixels(13, dpi); }
int indicatorGap(double dpi) { return scaledPixels(3, dpi); }

int CaptionRoom::widthAt(int baseline) const {
    int width = size.width();
    for (const Cover& cover : covers)
        if (baseline >= cover.from) width = std::min(width, cover.width);
    return width;
}

CaptionRoom captionRoom(const ControlSpec& entry, double dpi) {
    const QSize rect = pixelRect(entry.rect, dpi).size();
    const int indicator = indicatorSize(dpi) + indicatorGap(dpi);
    const QSize besideIndicator(rect.width() - indicator, rect.height());
    switch (entry.kind) {
    case ControlKind::Label: return {rect, !singleLine(entry), false, coversOf(entry, dpi, 0)};
    case ControlKind::CheckBox: return {besideIndicator, true, true, coversOf(entry, dpi, indicator)};
    case ControlKind::Option: return {besideIndicator, false, true, coversOf(entry, dpi, indicator)};
    case ControlKind::Frame: return {{rect.width() - scaledPixels(kFrameInset, dpi), kAnyHeight}, false, false, {}};
    case ControlKind::Button: return {{rect.width() - scaledPixels(kButtonBorder, dpi), kAnyHeight}, false, true, {}};
    default: return {rect, false, false, {}};
    }
}

bool captionFits(const QFont& font, const QString& text, const CaptionRoom& room) {
    const QString shown = withoutTrailingBlanks(text);
    const QFontMetrics metrics(font);
    if (room.wrap) return linesFit(metrics, wrappedLines(font, shown, room.size.width()), room);
    return linesFit(metrics, {static_cast<double>(metrics.horizontalAdvance(shown))}, room);
}

QFont fittedFont(const QFont& font, const QString& text, const CaptionRoom& room, double smallest) {
    QFont candidate = font;
    if (text.isEmpty()) return candidate;
    double points = font.pointSizeF();
    while (!captionFits(candidate, text, room) && points - 0.5 >= smallest) {
        points -= 0.5;
        candidate.setPointSizeF(points);
    }
    return candidate;
}

}  // namespace el::workbench
