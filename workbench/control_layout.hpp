#pragma once
// Where every control of the window sits, in twips (1/1440 inch) from the top left of the
// client area or of its frame, and which setting or fixed caption it shows. Captions of
// setting-bound controls come from the settings table so the window and the batch runner
// cannot drift apart.

#include <QRect>

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/settings.hpp"

namespace el::workbench {

inline constexpr int kClientWidthTwips = 10560;
inline constexpr int kClientHeightTwips = 8790;

struct TwipRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

enum class ControlKind {
    Label, Button, CheckBox, TextField, List, DriveList, FolderList, FileList, Frame, Option,
    EncodingList,  // the text encoding the Read step assumes: kEncodingChoices
};

// What the encoding list offers, the first at start-up.
inline constexpr std::string_view kEncodingChoices[] = {"auto", "UTF-8", "CP932"};

// How a control follows a resize of the window: the log panel takes the extra room and
// what sits below it moves down with it; everything else stays put.
enum class Anchor { Fixed, Grow, FollowBottom };

struct ControlSpec {
    std::string_view name;                // the control's name, also the widget's object name
    ControlKind kind = ControlKind::Label;
    TwipRect rect;
    std::string_view frame;               // enclosing frame, empty for the window itself
    std::string_view caption;             // fixed caption; empty when the setting supplies it
    std::optional<Setting> setting;       // bound setting (value, or the source of the caption)
    std::string_view choice;              // for an option: its value within the setting's choices
    bool bold = false;
    Anchor anchor = Anchor::Fixed;
};

// Every control, frames before the controls they hold.
std::span<const ControlSpec> controlLayout();

// The caption the control shows at start-up: its fixed caption, or the settings table's
// caption of its setting (or of its option choice).
std::string captionOf(const ControlSpec& entry);

// One of the drawn lines that frame the layout.
struct TwipLine {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    int width = 1;
};
std::span<const TwipLine> drawnLines();

// Twips to pixels for a screen of the given logical dots per inch (15 twips per pixel at 96).
int twipsToPixels(int twips, double dpi);
// A rectangle of the layout in pixels at `dpi`.
QRect pixelRect(const TwipRect& rect, double dpi);
// A size in pixels of a 96-dpi screen, in pixels at `dpi`.
int scaledPixels(int pixels, double dpi);

}  // namespace el::workbench
