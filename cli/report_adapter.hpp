#pragma once
// What the report and the weight plot read from a completed batch run, gathered in one
// place: the run's summary, the settings as the run left them, and what only the log and
// the weight-test file hold today (the trial SDs and the power grid).

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/settings.hpp"
#include "engine/engine.hpp"
#include "figures/report_content.hpp"
#include "figures/weight_grid.hpp"
#include "vector/vector_data.hpp"

namespace el::batch {

struct CompletedRun {
    const VectorData& data;
    const engine::RunSummary& summary;
    const SettingsSource& settings;      // the settings as the run left them
    const std::vector<std::string>& log;
    std::string sourceFile;              // as given on the command line
    std::string calculationDate;
    std::vector<std::string> species;    // analysed, in list order
    std::filesystem::path workDir;       // where the weight-test file is
};

// The power grid of an examine-weight run, read back from its weight-test file; nothing
// after a report-mode run or when the file cannot be read.
std::optional<figures::WeightGrid> weightGridOf(const CompletedRun& run);

figures::ReportContent reportContentOf(const CompletedRun& run, const figures::MapChoice& map,
                                       const figures::MapOptions& mapOptions);

}  // namespace el::batch
