#pragma once
// The one registry of every parameter a front end offers: the settings of a run, the input
// (vector files, records tables, occurrence points, regions layers, encodings), the figures,
// tables and hindcasts asked for, and the converter's options. Each is declared once, with
// its name, type, default, range or choices, help, the front ends that show it and how each
// spells it. The batch runner and the converter build their command lines and --help from
// it, the window its controls and captions, the R package its formals and help pages; one
// check per parameter gives the same refusal in every front end.
//
// To declare a parameter: add its id to `Param` (anywhere before the run settings' block is
// fine, order is the registry's order within a group) and one entry to the table in
// parameters.cpp in the same place, with designated initialisers; the table is checked
// against the enum at compile time.

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/settings.hpp"

namespace el {

enum class Param {
    // Input
    Species,
    Encoding,
    // Figures
    Map,
    MapSpecies,
    MapYDown,
    MapValues,
    MapExtent,
    MapLabels,
    MapCrs,
    FitPlot,
    WeightPlot,
    Report,
    // Tables
    Predictions,
    Summary,
    // Hindcasts
    Hindcast,
    HindcastTargets,
    HindcastTable,
    HindcastMinBefore,
    HindcastMinAfter,
    HindcastMinUnreached,
    // The risk of a first record
    RiskHorizon,
    AsOf,
    RiskTable,
    WatchList,
    // Console
    Quiet,
    Force,
    // Records tables and occurrence points
    Records,
    Sheet,
    Occurrences,
    RegionColumn,
    SpeciesColumn,
    DateColumn,
    LongitudeColumn,
    LatitudeColumn,
    Absent,
    Regions,
    RegionsLayer,
    Join,
    DropUnmatched,
    KeepSpecimens,
    CountryCodes,
    Filter,
    MinRegions,
    // The settings of a run, in the order of `Setting`
    DataFileName,
    LogFileName,
    SkipFormatCheck,
    TargetSpecies,
    AutoWeight,
    ExcludeLimited,
    ExcludingLimit,
    AddPrediction,
    WeightPower,
    SampleN,
    ExamineWeight,
    TrainingRatio,
    IterationN,
    DoReliability,
    SimOutput,
    MissingMode,
    ElMatrixOutput,
    Threads,
    // About the program
    Help,
    Version,
    // The converter's layer import
    Layer,
    NameField,
    SpeciesFields,
    TargetSrs,
};
inline constexpr std::size_t kParamCount = static_cast<std::size_t>(Param::TargetSrs) + 1;

enum class ParamType {
    Text,         // any text (a name, a column)
    Switch,       // on ("1") or off ("0")
    Choice,       // one of its choices
    WholeNumber,  // a whole number within its range
    Number,       // a number
    File,         // a file name, ending in one of its extensions when it has any
    List,         // texts separated by commas
    NumberList,   // numbers separated by commas
    Box,          // xmin,ymin,xmax,ymax
    Encoding,     // a text encoding the system knows, or "auto"
    Pair,         // KEY=VALUE, or VALUE alone
};

// The groups a front end lists its parameters in; each front end orders them its own way.
enum class ParamGroup { Input, Figures, Tables, Hindcast, Console, Records, Run, About, Layer };

// The front ends, as bits of a parameter's `shownIn`.
enum FrontEnd : unsigned {
    kBatch = 1u << 0,    // earlylate-batch
    kConvert = 1u << 1,  // earlylate-convert
    kWindow = 1u << 2,   // the window's controls and dialogs
    kR = 1u << 3,        // the R package
};

// How each front end names a parameter; empty where it does not show it.
struct ParamSpelling {
    std::string_view flag;       // long option, e.g. "--threads"
    std::string_view shortFlag;  // e.g. "-t"
    std::string_view argName;    // the value as --help shows it, e.g. "N"; empty for a switch
    std::string_view rName;      // the R argument
    std::string_view caption;    // the window's caption
};

// Bits of a parameter's `rules`.
enum ParamRule : unsigned {
    kNonEmpty = 1u << 0,       // an empty value is refused (" needs ..." with `needs`)
    kNonEmptyItems = 1u << 1,  // a list with an empty item is refused the same way
    kEmptyAllowed = 1u << 2,   // "" is a value of its own (e.g. every core), not checked further
    kCheckedByRun = 1u << 3,   // taken as typed; the run refuses a text it cannot use, where it first uses it
    kMissingBare = 1u << 4,    // a missing value is refused without naming what is expected
    kRepeatable = 1u << 5,     // given again, it adds a value (ParamValues::items) instead of replacing it
};

// A file extension a File parameter accepts; `gis` when only a build with GIS support writes it.
struct FileExtension {
    std::string_view extension;  // lower case, with the dot
    bool gis = false;
};

struct Parameter {
    Param id = Param::Species;
    std::string_view name = {};  // e.g. "threads", "hindcast_min_before"; a run setting keeps its setting's name
    ParamType type = ParamType::Text;
    ParamGroup group = ParamGroup::Input;
    unsigned shownIn = 0;                // FrontEnd bits
    std::string_view defaultValue = {};  // as text; a switch "0" or "1"
    std::string_view help = {};          // "{default}" stands for the default value
    ParamSpelling spelling = {};
    std::span<const Choice> choices = {};
    std::string_view expects = {};       // what a refused value should have been, e.g. "a whole number from 1 to 256"
    std::string_view needs = "a value";  // what an empty value lacks (kNonEmpty, kNonEmptyItems)
    std::string_view missingWords = {};  // what a missing value lacks; empty: the argName
    double min = 0, max = 0;             // the range of a whole number
    std::span<const FileExtension> extensions = {};
    std::optional<Setting> setting = std::nullopt;  // the run setting it is kept as
    std::string_view switchValue = "1";             // the value the switch's option sets
    std::optional<Setting> alsoOn = std::nullopt;   // a check box the option switches on as well
    unsigned rules = 0;                             // ParamRule bits
    std::string_view convertHelp = {};              // the converter's words, where its input is named otherwise

    bool shownBy(FrontEnd front) const { return (shownIn & front) != 0; }
    bool has(ParamRule rule) const { return (rules & rule) != 0; }
};

// What this build can do, where a parameter's check depends on it.
struct Capabilities {
    bool gis = false;  // GIS layers are read and written (GDAL)
};

std::span<const Parameter> parameterTable();
const Parameter& parameter(Param id);
std::optional<Param> parameterByName(std::string_view name);
// The parameter a run setting is kept as.
Param parameterOf(Setting setting);

// The parameters a front end shows, in registry order; of one group, or of every group.
std::vector<const Parameter*> parametersFor(FrontEnd front);
std::vector<const Parameter*> parametersFor(FrontEnd front, ParamGroup group);

// The help of `p` as `front` shows it, its default put in.
std::string helpText(const Parameter& p, FrontEnd front);

// The default of a whole-number parameter (its text read as a number).
int wholeDefault(Param id);

// The one check of a parameter's value: nothing when it is accepted, else the refusal as it
// follows the name a front end gives the parameter ("option --threads" in the batch runner):
// " takes a whole number from 1 to 256, not \"0\"" or ": \"x\" must end in .json".
std::optional<std::string> refusalOf(const Parameter& p, std::string_view value, const Capabilities& can);

// One text per parameter, starting from the defaults, and which were given. Values are kept
// as given; read them typed once the registry's check has accepted them.
class ParamValues {
public:
    ParamValues();

    const std::string& text(Param id) const { return texts_[index(id)]; }
    bool given(Param id) const { return given_[index(id)]; }
    void set(Param id, std::string value);
    void add(Param id, const std::string& value);  // a kRepeatable parameter's next value

    bool on(Param id) const;                                   // a switch
    int whole(Param id) const;                                 // a whole number (0 when not one)
    std::vector<std::string> list(Param id) const;             // "" gives no item
    std::vector<std::string> items(Param id) const;            // each value of a kRepeatable one, as given
    std::vector<double> numbers(Param id) const;               // the items that read as numbers
    std::optional<std::array<double, 4>> box(Param id) const;  // nothing when not given

    // The run settings, the values the run reads.
    SettingValues settings() const;

private:
    static std::size_t index(Param id) { return static_cast<std::size_t>(id); }
    std::array<std::string, kParamCount> texts_;
    std::array<bool, kParamCount> given_{};
};

}  // namespace el
