#pragma once
// What is made after a completed run when asked: the predictions table, the hindcast block
// (added to the log after the report), the hindcast over several species (its table, never
// in the log), the risk's outputs, the run summary, the risk map and the report. What could
// not be made comes back as diagnostics; the front end says them its own way.

#include <optional>
#include <string>
#include <vector>

#include "base/feedback.hpp"
#include "base/log_sink.hpp"
#include "base/settings.hpp"
#include "engine/hindcast/hindcast.hpp"
#include "engine/hindcast/hindcast_all.hpp"
#include "engine/model/run_result.hpp"
#include "engine/risk/risk_result.hpp"
#include "ops/diagnostic.hpp"
#include "ops/figure_files.hpp"
#include "ops/risk_options.hpp"
#include "vector/vector_data.hpp"

namespace el::ops {

struct AfterRunRequest {
    std::string predictionsFile;        // "" for none
    std::string summaryFile;            // "" for none
    std::vector<double> hindcastYears;  // none: no hindcast
    // A hindcast over several species: the candidates, in species-list order (none: only
    // the target's hindcast, when there is a target), the table file and the rules.
    std::vector<std::string> hindcastTargets;
    std::string hindcastTable;  // "" for none
    engine::HindcastEligibility hindcastRules;
    bool targetHindcast = true;  // the target's own block in the log (a target was given)
    RiskOptions risk;            // the risk of a first record, when asked
};

struct AfterRunContext {
    const vec::VectorData& data;
    const engine::RunResult& result;
    const SettingValues& given;              // the settings as the command line gave them
    const SettingsSource& afterRun;          // as the run left them
    std::string missvalue;                   // the text of a missing value in the tables
    std::string inputFile;                   // as given on the command line
    std::optional<std::string> inputSha256;  // of the bytes read, when a summary is asked for
    std::string calculationDate;
    double runSeconds = 0;
};

struct AfterRunOutputs {
    Diagnostics failures;                        // every output not made, its file or case the subject (none: all made)
    Diagnostics notices;                         // besides: the risk's check said plainly, why there is none
    std::vector<engine::HindcastYear> hindcast;  // the target's hindcast made, for the report
    std::optional<engine::AllSpeciesHindcast> allSpecies;  // the hindcast over several species, when made
    std::optional<engine::RiskResult> risk;                // the target's risk, when asked for
};

// Makes each output asked for after a completed run, in this order: the predictions table,
// the hindcasts (the target's block into `log`), the risk and its tables, the summary, then
// the risk map and the report, which shows the hindcasts and the risk. The figures drawn
// from the run alone (`writeFigures`) come before, as the front end tells of them. Throws
// el::Cancelled when a checkpoint stops a hindcast run.
AfterRunOutputs writeOutputs(const AfterRunRequest& request, const AfterRunContext& run, const FigureRequest& figures,
                             const CompletedRun& completed, LogSink& log, Feedback& feedback);

}  // namespace el::ops
