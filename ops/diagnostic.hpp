#pragma once
// What an operation tells its caller besides its result: a warning (the work goes on, the
// input may not say what the user meant) or a refusal (this part is not done). Each names
// what it is about, so that every front end shows the same list in its own way: standard
// error and exit codes, message boxes and status lines, classed R conditions.

#include <string>
#include <string_view>
#include <vector>

namespace el::ops {

enum class Severity { Warning, Refusal };

// The kinds of diagnostic, stable across releases: R turns each into a condition class.
enum class DiagnosticKind {
    DuplicatedRegionNames,      // subject: the first name held by more than one region
    UndatedSpecies,             // subject: the species
    NoValidation,               // subject: the target species
    MapWithoutGeometry,         // subject: the figure's file ("" for the window's map)
    LayerWithoutGeometry,       // subject: the layer's file
    DistanceWithoutGeometry,    // a hindcast's distance baseline; no subject
    BadThreadCount,             // subject: the thread count as given
    UnknownTarget,              // subject: the target as given
    OversizedSimilarityOutput,  // subject: its estimated size in bytes
    NoSkill,                    // subject: the target species
    MixedScriptName,            // subject: the region or species name that mixes alphabets
    EncodingGuess,              // subject: the encoding the automatic choice took
    TableNotVectorFile,         // subject: the file refused as a vector file
    BadYear,                    // a hindcast's cut-off year; subject: the year as given
    NoHindcastTarget,           // a target hindcast without a target among the species; no subject
    BadEligibilityRule,         // subject: the rule's value as given
    WeightPlotWithoutGrid,      // subject: the plot's file
    OutputNotMade,              // subject: its file, the hindcast's year or species, or the output's name
    RiskNotice,                 // the risk's check said plainly, or why there is none; no subject
};

struct Diagnostic {
    Severity severity = Severity::Warning;
    DiagnosticKind kind = DiagnosticKind::DuplicatedRegionNames;
    std::string text;     // the sentence shown, without a "warning: " prefix
    std::string subject;  // the name, file or value at fault

    bool operator==(const Diagnostic&) const = default;
};

using Diagnostics = std::vector<Diagnostic>;

// A refusal of kind OutputNotMade: an output asked for that could not be made.
Diagnostic outputNotMade(std::string text, std::string subject);

// "duplicated_region_names", ...: the kind as R's condition classes and the tests name it.
std::string_view kindName(DiagnosticKind kind);

}  // namespace el::ops
