#pragma once
// What a run leaves for whoever shows it (the window's tabs, the batch runner's figures):
// every number the report was made from, in typed form, so nothing has to be read back
// from the log or from the weight-test file.

#include <optional>
#include <string>
#include <vector>

#include "engine/model/power_iteration_outcome.hpp"
#include "engine/model/prediction.hpp"
#include "engine/model/species_weights.hpp"

namespace el::engine {

enum class RunStatus {
    Completed,  // every pass ran
    NoSpecies,  // empty species list: the log was cleared, nothing else
    Stopped,    // ended early (message shown): bad input, split regions, failed write-back
    Cancelled,  // a checkpoint threw el::Cancelled: no file written, the log keeps its lines
};

// Where a region stands in the last pass, as the figures tell it apart.
enum class RegionRole {
    Training,    // used, and its target date (or, without target, any date) took part in the fit
    Validation,  // used, its target date hidden by the split
    Other,       // used, with no date of the target species
    Excluded,    // left out by the exclusion of regions with few relations
};

// One species in one power pass: its line, the trial-to-date scale and the predicted date
// of every used position (a * score + b; empty when the species is not predictable).
struct SpeciesOutcome {
    SpeciesFit fit;
    double scale = 0;
    std::vector<double> predicted;
};

// The fluctuation trials of the run, per region number; zeros when none ran.
struct TrialSummary {
    bool ran = false;
    std::vector<double> eigenmean;
    std::vector<double> eigensd;
    double vectorshift = 0;
};

// One power pass of an examine-weight run, as its weight-test line records it.
struct WeightGridCell {
    double p1 = 0;
    double p2 = 0;
    double rt = kNotComputable;
    double rv = kNotComputable;
    double rw = kNotComputable;
};

// The result of a run: filled from the last power pass of a completed run; a run that did
// not complete leaves only its status.
struct RunResult {
    RunStatus status = RunStatus::Stopped;

    std::vector<std::string> regionNames;  // every region, in file order (index: region number)
    std::vector<int> regno;                // used position -> region number
    std::vector<double> score;             // region score per used position
    PowerIterationOutcome scoreIteration;  // whether the score's power iteration settled, and its products
    std::vector<int> order;                // used positions by score, largest first
    std::vector<int> regionviable;         // per region number
    TrialSummary trials;

    std::vector<std::string> speciesNames;  // species-list order
    int target = -1;                        // species position of the target, -1 without one
    SpeciesWeights weights;                 // of the last pass
    std::vector<SpeciesOutcome> species;    // per species

    std::vector<std::string> actualText;            // per region number: the target's text before the split
    std::vector<std::optional<double>> actualDate;  // per region number: the target's date before the split
    std::vector<RegionRole> role;                   // per region number

    bool examinedWeights = false;          // an examine-weight run
    std::vector<WeightGridCell> weightGrid;  // its weight-test lines in pass order (p1 outer, p2 inner)
};

}  // namespace el::engine
