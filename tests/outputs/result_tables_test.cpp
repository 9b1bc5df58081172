#include "outputs/prediction_table.hpp"
#include "outputs/run_summary.hpp"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include "engine/run/engine.hpp"

#include "tests/engine/run_fixture.hpp"
#include "tests/support/recording_host.hpp"

namespace el::engine {
namespace {

// Six regions; R6 knows almost nothing and is left out by a region exclusion. The target's
// value in R3 is missing, and one region's name needs quoting in a CSV file.
vec::VectorData sixRegions() {
    return test::makeData({"A", "B", "T"}, {"R1", "R2", "Say \"R3\", east", "R4", "R5", "R6"},
                          {{"1990", "1985", "2010"},
                           {"1992", "1986", "2011"},
                           {"1995", "1990", "null"},
                           {"1993", "1988", "2012"},
                           {"1997", "1991", "NotYetArrived"},
                           {"1999", "Unknown", "Unknown"}});
}

class ResultTables : public ::testing::Test {
protected:
    RunResult run(std::vector<std::string> species) {
        RunRequest request;
        request.data = &data;
        request.species = std::move(species);
        request.calculationDate = "12-05-2026";
        RunResult result = Engine().run(request, host);
        EXPECT_EQ(result.status, RunStatus::Completed) << (host.messages.empty() ? "" : host.messages.back());
        return result;
    }
    // The cell of `column` in row `row`.
    static const TableCell& cell(const PredictionTable& table, std::size_t row, const std::string& column) {
        for (std::size_t c = 0; c < table.columns.size(); ++c)
            if (table.columns[c].name == column) return table.rows.at(row).at(c);
        throw std::out_of_range(column);
    }

    vec::VectorData data = sixRegions();
    test::RecordingHost host;
};

TEST_F(ResultTables, TableOfARunWithTrials) {
    host.values.set(Setting::TargetSpecies, "T");
    host.values.set(Setting::IterationN, "10");
    host.values.set(Setting::TrainingRatio, "0.7");  // 4 of 6 stay: R3 and R6 (keywords) hide first
    const RunResult result = run({"A", "B", "T"});
    const PredictionTable table = predictionTable(data, result, "null");

    std::vector<std::string> names;
    for (const TableColumn& column : table.columns) names.push_back(column.name);
    EXPECT_EQ(names, (std::vector<std::string>{"region", "number", "used", "role", "actual", "score", "trial_mean",
                                               "trial_sd", "date_sd", "Predicted_A", "Predicted_B", "Predicted_T", "overdue"}));
    ASSERT_EQ(table.rows.size(), 6u);
    EXPECT_EQ(cell(table, 3, "number").number, 4);
    EXPECT_EQ(cell(table, 0, "role").text, "training");
    EXPECT_TRUE(cell(table, 4, "role").empty);  // not yet arrived: no date to train or validate on
    EXPECT_TRUE(cell(table, 2, "actual").empty);  // the missing value, as the file holds it: empty
    EXPECT_EQ(cell(table, 4, "actual").text, "NotYetArrived");
    // The numbers the log shows: score, trial spread and the SD column in date units.
    const SpeciesOutcome& target = result.species[2];
    ASSERT_TRUE(target.fit.predictable);
    EXPECT_EQ(cell(table, 1, "score").number, result.score[1]);
    EXPECT_EQ(cell(table, 1, "trial_sd").number, result.trials.eigensd[1]);
    EXPECT_EQ(cell(table, 1, "date_sd").number, target.scale * result.trials.eigensd[1]);
    EXPECT_EQ(cell(table, 5, "Predicted_T").number, target.predicted[5]);

    const std::string csv = tableCsv(table);
    EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
              "region,number,used,role,actual,score,trial_mean,trial_sd,date_sd,Predicted_A,Predicted_B,Predicted_T,overdue");
    EXPECT_NE(csv.find("\r\n\"Say \"\"R3\"\", east\",3,yes,,,"), std::string::npos);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 7);
}

TEST_F(ResultTables, ExcludedRegionsAndRunsWithoutTrialsLeaveCellsEmpty) {
    host.values.set(Setting::DoReliability, "0");
    host.values.set(Setting::ExcludeLimited, "1");
    host.values.set(Setting::ExcludingLimit, "6");  // R6 relates 6 times, the others at least 11
    host.values.set(Setting::TargetSpecies, "T");
    host.values.set(Setting::SampleN, "0");
    const RunResult result = run({"A", "B", "T"});
    ASSERT_EQ(result.regno.size(), 5u);
    const PredictionTable table = predictionTable(data, result, "null");
    EXPECT_EQ(cell(table, 5, "used").text, "excluded");
    for (const char* column : {"score", "trial_mean", "trial_sd", "date_sd", "Predicted_A", "Predicted_T"})
        EXPECT_TRUE(cell(table, 5, column).empty) << column;
    // No trials ran: the report prints 0, the table claims no spread at all.
    EXPECT_TRUE(cell(table, 0, "trial_sd").empty);
    EXPECT_TRUE(cell(table, 0, "date_sd").empty);
    EXPECT_FALSE(cell(table, 0, "score").empty);
    EXPECT_NE(tableCsv(table).find("\r\nR6,6,excluded,,Unknown,,,,,,,,\r\n"), std::string::npos);
}

TEST_F(ResultTables, WithoutTargetNothingIsValidatedAndDateSdIsEmpty) {
    host.values.set(Setting::IterationN, "5");
    const RunResult result = run({"A", "B"});
    const PredictionTable table = predictionTable(data, result, "null");
    EXPECT_EQ(table.columns.size(), 12u);
    EXPECT_TRUE(cell(table, 0, "date_sd").empty);
    EXPECT_TRUE(cell(table, 0, "actual").empty);
    EXPECT_FALSE(cell(table, 0, "trial_sd").empty);
}

TEST_F(ResultTables, SummaryNamesEverySettingAndLeavesWhatCannotBeComputedNull) {
    host.values.set(Setting::TargetSpecies, "T");
    host.values.set(Setting::DoReliability, "0");
    const RunResult result = run({"A", "B", "T"});
    const std::vector<HindcastYear> years{{2011, true, "", {2, 1, 0.5, std::nullopt, 1.25, 1, std::nullopt}, {}, "T"},
                                          {2000, false, "There are less-connective regions", {}, {}, ""}};
    const auto json = nlohmann::json::parse(runSummaryJson(
        {"9.9", "in.csv", std::string(64, 'a'), host.values, "12-05-2026", result, 1.5, &years}));
    EXPECT_EQ(json["version"], "9.9");
    EXPECT_EQ(json["input"]["sha256"], std::string(64, 'a'));
    EXPECT_EQ(json["settings"].size(), kSettingCount);
    EXPECT_EQ(json["settings"]["doreliability"], "0");
    EXPECT_EQ(json["counts"], (nlohmann::json{{"regions", 6}, {"regions_used", 6}, {"species", 3}}));
    const auto& target = json["species"][2];
    EXPECT_EQ(target["name"], "T");
    EXPECT_EQ(target["n_training"], 3);
    EXPECT_EQ(target["n_validation"], 0);
    EXPECT_TRUE(target["r_validation"].is_null());  // -10 in the report
    EXPECT_EQ(target["r_all"].get<double>(), result.species[2].fit.rt);
    EXPECT_TRUE(json["species"][0]["r_validation"].is_null());
    EXPECT_TRUE(json["trials"]["mean_sd"].is_null());
    EXPECT_EQ(json["converged"], true) << "the run's own score settles";
    EXPECT_GT(json["power_iterations"].get<int>(), 1);
    EXPECT_EQ(json["power_iterations"], result.scoreIteration.iterations);
    EXPECT_EQ(json["hindcast"][0], (nlohmann::json{{"year", 2011}, {"reached_later", 2}, {"not_reached", 1},
                                                   {"auc", 0.5}, {"spearman", nullptr}, {"mae", 1.25},
                                                   {"distance_auc", 1}, {"distance_spearman", nullptr}}));
    EXPECT_TRUE(json["hindcast"][1]["reached_later"].is_null());
    EXPECT_EQ(json["hindcast"][1]["error"], "There are less-connective regions");

    const auto plain = nlohmann::json::parse(
        runSummaryJson({"9.9", "in.csv", std::nullopt, host.values, "12-05-2026", result, 0, nullptr}));
    EXPECT_FALSE(plain.contains("hindcast"));
    EXPECT_TRUE(plain["input"]["sha256"].is_null());

    RunResult unsettled = result;
    unsettled.scoreIteration = {false, 1000000};
    const auto json2 = nlohmann::ordered_json::parse(
        runSummaryJson({"9.9", "in.csv", std::nullopt, host.values, "12-05-2026", unsettled, 0, nullptr}));
    EXPECT_EQ(json2["converged"], false);
    EXPECT_EQ(json2["power_iterations"], 1000000);
    std::vector<std::string> keys;
    for (const auto& item : json2.items()) keys.push_back(item.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"version", "input", "calculation_date", "settings", "counts", "target",
                                              "examine_weight", "species", "trials", "converged", "power_iterations",
                                              "skill", "run_seconds"}))
        << "the new keys leave the others in their order";
}

}  // namespace
}  // namespace el::engine
