#include "engine/hindcast/hindcast.hpp"

#include <cctype>
#include <cmath>

#include <gtest/gtest.h>

#include "engine/hindcast/hindcast_all.hpp"
#include "engine/hindcast/hindcast_columns.hpp"
#include "engine/hindcast/hindcast_report.hpp"
#include "engine/hindcast/rank_measures.hpp"
#include "engine/hindcast/region_distance.hpp"
#include "engine/model/run_error.hpp"
#include "engine/run/engine.hpp"
#include "outputs/prediction_table.hpp"

#include "tests/engine/run_fixture.hpp"
#include "tests/support/recording_host.hpp"

namespace el::engine {
namespace {

const std::vector<std::string> kSpecies{"A", "B", "C", "T"};

// Eight regions in a row, 1000 units apart (plane coordinates), which three species and
// the target T reached from the west. Cut off at 2000: B's last two dates and T's dates in
// R3, R4 and R5 lie after it; R6 and R7 are not reached, R8 unknown.
std::vector<std::vector<std::string>> rowValues() {
    return {{"1980", "1990", "1985", "1995"},          {"1982", "1992", "1987", "1998"},
            {"1984", "1994", "Unknown", "2003"},       {"1986", "1996", "1991", "2001"},
            {"1988", "1998", "1993", "2006"},          {"1990", "2000", "1995", "NotYetArrived"},
            {"1992", "2001", "1997", "NotYetArrived"}, {"1994", "2003.5", "NotYetArrived", "Unknown"}};
}

vec::VectorData rowData(std::vector<std::vector<std::string>> values) {
    vec::VectorData data = test::makeData(kSpecies, {"R1", "R2", "R3", "R4", "R5", "R6", "R7", "R8"}, values);
    for (std::size_t i = 0; i < data.objects.size(); ++i) data.objects[i].parts[0].x = {1000.0 * static_cast<double>(i)};
    data.objects[5].parts[0].x = {1500};  // R6 lies between R2 and R3, nearer the reached regions than any
    return data;
}

// The same file with every later cell replaced by hand.
vec::VectorData rowMaskedByHand() {
    auto values = rowValues();
    values[6][1] = "NotYetArrived";  // B 2001
    values[7][1] = "NotYetArrived";  // B 2003.5
    for (int region : {2, 3, 4}) values[static_cast<std::size_t>(region)][3] = "NotYetArrived";
    return rowData(values);
}

class Hindcast : public ::testing::Test {
protected:
    Hindcast() {
        request.data = &data;
        request.species = kSpecies;
        request.calculationDate = "12-05-2026";
        request.settings.set(Setting::TargetSpecies, "T");
        request.settings.set(Setting::IterationN, "20");
    }
    vec::VectorData data = rowData(rowValues());
    HindcastRequest request;
    Feedback quiet;
};

TEST_F(Hindcast, MaskedRunIsTheNormalRunOfTheCopyMaskedByHand) {
    const vec::VectorData byHand = rowMaskedByHand();
    EXPECT_EQ(maskLaterDates(data, kSpecies, 2000).objects[6].values, byHand.objects[6].values);

    test::RecordingHost host;
    host.values = request.settings;
    RunRequest normal;
    normal.data = &byHand;
    normal.species = kSpecies;
    normal.calculationDate = "12-05-2026";
    const RunResult expected = Engine().run(normal, host);
    ASSERT_EQ(expected.status, RunStatus::Completed);

    const MaskedRun masked = runMasked(request, 2000, quiet);
    ASSERT_EQ(masked.result.status, RunStatus::Completed);
    EXPECT_EQ(masked.log, host.log);  // every line, every number, the trials' included
    EXPECT_EQ(masked.result.score, expected.score);
    ASSERT_EQ(masked.result.species.size(), 4u);
    EXPECT_EQ(masked.result.species[3].predicted, expected.species[3].predicted);
    EXPECT_EQ(masked.result.trials.eigensd, expected.trials.eigensd);
}

TEST_F(Hindcast, FiguresOfTheRowByHand) {
    const HindcastYear year = hindcastYear(request, regionCentres(data), 2000, quiet);
    ASSERT_TRUE(year.ran) << year.error;
    // Scored: R3, R4, R5 reached later (2003, 2001, 2006), R6 and R7 not reached; R1 and R2
    // were reached by 2000 and R8 is unknown.
    ASSERT_EQ(year.regions.size(), 5u);
    EXPECT_EQ(year.figures.reachedLater, 3);
    EXPECT_EQ(year.figures.notReached, 2);
    const auto predicted = [&](int i) { return *year.regions[static_cast<std::size_t>(i)].predicted; };
    // The forecast follows the row: R3 < R4 < R5 < R6, R7, so every pair is ordered rightly...
    ASSERT_LT(predicted(0), predicted(1));
    ASSERT_LT(predicted(1), predicted(2));
    ASSERT_LT(predicted(2), std::min(predicted(3), predicted(4)));
    EXPECT_DOUBLE_EQ(*year.figures.auc, 1.0);
    // ...while the recorded order is R4, R3, R5: ranks (1, 2, 3) against (2, 1, 3) correlate 0.5.
    EXPECT_DOUBLE_EQ(*year.figures.spearman, 0.5);
    EXPECT_DOUBLE_EQ(*year.figures.mae,
                     (std::fabs(predicted(0) - 2003) + std::fabs(predicted(1) - 2001) + std::fabs(predicted(2) - 2006)) / 3);
    // Distances from R2 (x = 1000): R3 1000, R4 2000, R5 3000; R6 500 and R7 5000. Of the six
    // pairs only the three against R7 put the later region nearer: 0.5.
    EXPECT_DOUBLE_EQ(*year.regions[3].distance, 500);
    EXPECT_DOUBLE_EQ(*year.figures.distanceAuc, 0.5);
    EXPECT_DOUBLE_EQ(*year.figures.distanceSpearman, 0.5);
}

TEST_F(Hindcast, YearsAreIndependentOfOneAnotherAndOfTheCallersEngine) {
    request.settings.set(Setting::IterationN, "7");
    const std::vector<HindcastYear> both = runHindcast(request, {1999, 2000}, quiet);
    const std::vector<HindcastYear> alone = runHindcast(request, {2000}, quiet);
    ASSERT_EQ(both.size(), 2u);
    EXPECT_EQ(runMasked(request, 2000, quiet).log, runMasked(request, 2000, quiet).log);
    EXPECT_EQ(both[1].figures.mae, alone[0].figures.mae);
    EXPECT_EQ(both[0].year, 1999);
}

TEST_F(Hindcast, UnpredictableTargetLeavesOnlyTheDistanceFigures) {
    // By 1996 the target holds one date only: no line can be fitted.
    const HindcastYear year = hindcastYear(request, regionCentres(data), 1996, quiet);
    ASSERT_TRUE(year.ran);
    EXPECT_EQ(year.figures.reachedLater, 4);
    EXPECT_FALSE(year.figures.auc || year.figures.spearman || year.figures.mae);
    EXPECT_TRUE(year.figures.distanceAuc.has_value());
    const LogLines lines = hindcastLines({year});
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[2], "Year,Reached later,Not reached,AUC,Spearman,MAE,Distance AUC,Distance Spearman");
    EXPECT_EQ(lines[3].substr(0, 26), " 1996, 4, 2,null,null,null");
}

// The log's title line and the table's header name the same columns in the same order: a
// title is its name with blanks for underscores and the first letter (or an abbreviation)
// in capitals; the counts are whole numbers in the table.
TEST(HindcastColumns, LogTitlesAndTableNamesAgree) {
    const LogLines lines = hindcastLines({});
    ASSERT_EQ(lines.size(), 3u);
    const PredictionTable table = allSpeciesTable({});
    const std::string csv = tableCsv(table);
    ASSERT_EQ(csv.substr(0, csv.find_first_of("\r\n")),
              "year,species,reached_later,not_reached,auc,spearman,mae,distance_auc,distance_spearman");
    std::string titles;
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        if (c == 1) continue;  // the species, which the one-target block has not
        std::string name = table.columns[c].name;
        for (char& ch : name) ch = ch == '_' ? ' ' : ch;
        titles += (titles.empty() ? "" : ",") + name;
    }
    std::string lowered = lines[2];
    for (char& ch : lowered) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    EXPECT_EQ(lowered, titles);
    EXPECT_EQ(table.columns[2].type, ColumnType::Integer);
    EXPECT_EQ(table.columns[3].type, ColumnType::Integer);
    EXPECT_EQ(table.columns[4].type, ColumnType::Number);
}

TEST_F(Hindcast, NeedsATargetAndReportsAStoppedRun) {
    request.settings.set(Setting::TargetSpecies, "");
    EXPECT_THROW(runHindcast(request, {2000}, quiet), RunError);
    request.settings.set(Setting::TargetSpecies, "T");
    request.settings.set(Setting::WeightPower, "six");
    const HindcastYear year = hindcastYear(request, regionCentres(data), 2000, quiet);
    EXPECT_FALSE(year.ran);
    EXPECT_NE(year.error.find("six"), std::string::npos);
    EXPECT_EQ(hindcastLines({year})[3], " 2000,null,null,null,null,null,null,null");
}

TEST_F(Hindcast, WritesNothingWhateverTheSettingsSay) {
    request.settings.set(Setting::AddPrediction, "1");
    request.settings.set(Setting::ExamineWeight, "1");
    const MaskedRun masked = runMasked(request, 2000, quiet);
    EXPECT_EQ(masked.result.status, RunStatus::Completed);
    EXPECT_FALSE(masked.result.examinedWeights);
    EXPECT_TRUE(masked.messages.empty());
}

TEST(HindcastMask, OnlyDatesAfterTheYearOfTheSpeciesAnalysed) {
    const vec::VectorData data =
        test::makeData({"A", "Other", "T"}, {"R1", "R2"}, {{"2000.5", "2005", "Arrived"}, {"2000", "1999", "null"}});
    const vec::VectorData masked = maskLaterDates(data, {"A", "T"}, 2000);
    EXPECT_EQ(masked.objects[0].values, (std::vector<std::string>{"NotYetArrived", "2005", "Arrived"}));
    EXPECT_EQ(masked.objects[1].values, (std::vector<std::string>{"2000", "1999", "null"}));
}

TEST(RankMeasures, TiesPairsAndWhatCannotBeComputed) {
    EXPECT_EQ(averageRanks({30, 10, 20, 10}), (std::vector<double>{4, 1.5, 3, 1.5}));
    // (1,2) (1,4) (2,4) are ordered, (2,2) ties, (3,2) is not: 4.5 of 6.
    EXPECT_DOUBLE_EQ(*orderedPairShare({1, 2, 3}, {2, 4}), 0.75);
    EXPECT_FALSE(orderedPairShare({}, {1}));
    EXPECT_DOUBLE_EQ(*spearman({1, 2, 3, 4}, {10, 20, 40, 30}), 0.8);
    EXPECT_DOUBLE_EQ(*spearman({1, 2, 3}, {5, 5, 1}), -std::sqrt(0.75));
    EXPECT_FALSE(spearman({1, 2}, {1, 2}));     // fewer than three
    EXPECT_FALSE(spearman({1, 2, 3}, {4, 4, 4}));  // no spread
    EXPECT_DOUBLE_EQ(*meanAbsoluteDifference({2000, 2010}, {2003, 2009}), 2);
    EXPECT_FALSE(meanAbsoluteDifference({}, {}));
}

}  // namespace
}  // namespace el::engine
