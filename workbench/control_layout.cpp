#include "workbench/control_layout.hpp"

#include <array>
#include <cmath>

namespace el::workbench {
namespace {

using K = ControlKind;
using S = Setting;

constexpr ControlSpec fixed(std::string_view name, K kind, TwipRect rect, std::string_view caption,
                            bool bold = false) {
    return {name, kind, rect, {}, caption, std::nullopt, {}, bold, Anchor::Fixed};
}
constexpr ControlSpec bound(std::string_view name, K kind, TwipRect rect, Setting setting,
                            std::string_view frame = {}) {
    return {name, kind, rect, frame, {}, setting, {}, false, Anchor::Fixed};
}
constexpr ControlSpec option(std::string_view name, TwipRect rect, std::string_view frame, Setting setting,
                             std::string_view choice) {
    return {name, K::Option, rect, frame, {}, setting, choice, false, Anchor::Fixed};
}
constexpr ControlSpec anchored(ControlSpec entry, Anchor anchor) {
    entry.anchor = anchor;
    return entry;
}

constexpr std::array kControls{
    fixed("Label1", K::Label, {120, 0, 4575, 495},
          "Supervised forecasting of the range expansion of alien species by early-late relationship", true),
    fixed("Label15", K::Label, {4800, 0, 4095, 255}, "File: species as variable in vector file format"),
    fixed("Label5", K::Label, {4800, 240, 4695, 435},
          "Data for regions: numerical first observation date, or key-words as Arrived, NotYetArrived, Unknown"),
    fixed("Command5", K::Button, {9480, 0, 855, 375}, "Exit"),
    fixed("Label9", K::Label, {0, 540, 3615, 255}, "Step1: Read file", true),
    bound("Label17", K::Label, {5640, 600, 1755, 255}, S::LogFileName),
    bound("Text3", K::TextField, {7380, 600, 1335, 270}, S::LogFileName),
    fixed("Command6", K::Button, {8760, 600, 1095, 255}, "Save log"),
    fixed("Command8", K::Button, {9900, 600, 555, 255}, "Clear"),
    anchored(fixed("List3", K::List, {5760, 840, 4755, 6780}, {}), Anchor::Grow),
    fixed("Label6", K::Label, {180, 900, 4335, 255}, "Data file name (vector format)"),
    fixed("Drive1", K::DriveList, {180, 1140, 1215, 300}, {}),
    fixed("Label21", K::Label, {1620, 1185, 825, 255}, "Encoding"),
    fixed("Combo1", K::EncodingList, {2460, 1140, 1215, 300}, {}),
    fixed("Dir1", K::FolderList, {240, 1440, 2175, 1290}, {}),
    fixed("File1", K::FileList, {2460, 1440, 3135, 1350}, {}),
    bound("Label2", K::Label, {1260, 2760, 1095, 255}, S::DataFileName),
    bound("Text7", K::TextField, {2460, 2760, 3135, 270}, S::DataFileName),
    fixed("Command1", K::Button, {3060, 3120, 1335, 375}, "Read"),
    // Not of the first design: a first-record table joined to its regions layer, left of the arrow.
    fixed("Command10", K::Button, {180, 3120, 2340, 375}, "Records table..."),
    bound("Check100", K::CheckBox, {4440, 3120, 1335, 375}, S::SkipFormatCheck),
    fixed("Label10", K::Label, {0, 3480, 3255, 255}, "Step2: Variables and options", true),
    fixed("Label18", K::Label, {4440, 3480, 1155, 195}, {}),
    fixed("Label3", K::Label, {180, 3780, 975, 255}, "Variables"),
    fixed("Label4", K::Label, {3300, 3780, 2295, 255}, "Training and target species"),
    fixed("List1", K::List, {180, 4020, 2355, 1500}, {}),
    fixed("List2", K::List, {3180, 4020, 2415, 1860}, {}),
    fixed("Command2", K::Button, {2580, 4200, 555, 495}, "-->"),
    fixed("Command3", K::Button, {2580, 5040, 555, 375}, "<--"),
    fixed("Command7", K::Button, {720, 5520, 1815, 375}, "select target species"),
    bound("Frame4", K::Frame, {120, 5880, 2715, 612}, S::TargetSpecies),
    bound("Text1", K::TextField, {60, 240, 2475, 312}, S::TargetSpecies, "Frame4"),
    bound("Frame2", K::Frame, {2880, 5880, 2715, 495}, S::MissingMode),
    option("Option4", {60, 240, 1335, 195}, "Frame2", S::MissingMode, "row"),
    option("Option5", {1320, 240, 1275, 195}, "Frame2", S::MissingMode, "matrix"),
    bound("Frame1", K::Frame, {2880, 6360, 2715, 495}, S::SimOutput),
    option("Option3", {120, 240, 915, 195}, "Frame1", S::SimOutput, "similarity"),
    option("Option2", {1080, 240, 795, 180}, "Frame1", S::SimOutput, "distance"),
    option("Option1", {1920, 240, 675, 180}, "Frame1", S::SimOutput, "none"),
    bound("Check2", K::CheckBox, {120, 6480, 2652, 375}, S::AutoWeight),
    bound("Frame3", K::Frame, {2880, 6840, 2715, 435}, S::ElMatrixOutput),
    option("Option6", {120, 180, 1155, 195}, "Frame3", S::ElMatrixOutput, "detailed"),
    option("Option7", {1500, 180, 1035, 195}, "Frame3", S::ElMatrixOutput, "none"),
    bound("Check1", K::CheckBox, {120, 6840, 2712, 432}, S::ExcludeLimited),
    bound("Label8", K::Label, {360, 7320, 1155, 195}, S::ExcludingLimit),
    bound("Text5", K::TextField, {1440, 7200, 615, 270}, S::ExcludingLimit),
    bound("Check3", K::CheckBox, {3000, 7320, 2595, 180}, S::AddPrediction),
    fixed("Label12", K::Label, {120, 7800, 1455, 495}, "Power in weight calculation:"),
    bound("Label16", K::Label, {1560, 7800, 735, 255}, S::WeightPower),
    bound("Text2", K::TextField, {2280, 7800, 615, 270}, S::WeightPower),
    anchored(fixed("Label7", K::Label, {7320, 7800, 3195, 735}, {}), Anchor::FollowBottom),
    bound("Check5", K::CheckBox, {3120, 7920, 1215, 255}, S::DoReliability),
    fixed("Command4", K::Button, {4320, 7920, 1575, 735}, "G  O", true),
    // Not of the first design: beside the run, under the log panel, clear of every other control.
    anchored(fixed("Command9", K::Button, {5940, 7680, 1335, 300}, "Save report"), Anchor::FollowBottom),
    bound("Label13", K::Label, {1320, 8040, 1335, 255}, S::SampleN),
    bound("Text4", K::TextField, {2280, 8040, 615, 270}, S::SampleN),
    anchored(fixed("Label11", K::Label, {6000, 8040, 1215, 375}, {}), Anchor::FollowBottom),
    bound("Label19", K::Label, {3360, 8160, 855, 255}, S::IterationN),
    bound("Check4", K::CheckBox, {120, 8280, 1815, 180}, S::ExamineWeight),
    bound("Text6", K::TextField, {2280, 8400, 615, 270}, S::TrainingRatio),
    bound("Text8", K::TextField, {3360, 8400, 615, 270}, S::IterationN),
    bound("Label20", K::Label, {120, 8520, 2295, 255}, S::TrainingRatio),
    anchored(fixed("Label14", K::Label, {6000, 8520, 1095, 195}, {}), Anchor::FollowBottom),
};

// Three boxes (Step 1, Step 2, the weight rows) and the thick arrow between the steps.
constexpr std::array kLines{
    TwipLine{0, 840, 5640, 840},     TwipLine{5640, 840, 5640, 3060}, TwipLine{5640, 3060, 0, 3060},
    TwipLine{0, 3060, 0, 840},       TwipLine{0, 3720, 5640, 3720},   TwipLine{5640, 3720, 5640, 7560},
    TwipLine{5640, 7560, 0, 7560},   TwipLine{0, 7560, 0, 3720},      TwipLine{0, 7680, 3000, 7680},
    TwipLine{3000, 7680, 3000, 8760}, TwipLine{3000, 8760, 0, 8760},  TwipLine{0, 8760, 0, 7680},
    TwipLine{2760, 3120, 2760, 3480, 3}, TwipLine{2640, 3360, 2760, 3480, 3}, TwipLine{2880, 3360, 2760, 3480, 3},
};

}  // namespace

std::span<const ControlSpec> controlLayout() { return kControls; }

std::string captionOf(const ControlSpec& entry) {
    if (!entry.caption.empty() || !entry.setting) return std::string(entry.caption);
    const SettingInfo& info = settingInfo(*entry.setting);
    if (entry.kind == ControlKind::TextField) return {};
    if (entry.kind == ControlKind::Option) {
        for (const auto& choice : info.choices)
            if (choice.value == entry.choice) return std::string(choice.caption);
        return {};
    }
    return std::string(info.caption);
}

std::span<const TwipLine> drawnLines() { return kLines; }

int twipsToPixels(int twips, double dpi) { return static_cast<int>(std::lround(twips * dpi / 1440.0)); }

QRect pixelRect(const TwipRect& rect, double dpi) {
    return {twipsToPixels(rect.left, dpi), twipsToPixels(rect.top, dpi), twipsToPixels(rect.width, dpi),
            twipsToPixels(rect.height, dpi)};
}

int scaledPixels(int pixels, double dpi) { return static_cast<int>(std::lround(pixels * dpi / 96.0)); }

}  // namespace el::workbench
