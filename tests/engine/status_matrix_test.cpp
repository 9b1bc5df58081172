#include "engine/status_matrix.hpp"

#include <gtest/gtest.h>

#include "engine/run_error.hpp"
#include "tests/engine/run_fixture.hpp"
#include "tests/support/recording_host.hpp"

namespace el::engine {
namespace {

using test::makeData;
using test::RecordingHost;

TEST(StatusKeywords, SixKeywordsMatchExactly) {
    EXPECT_EQ(keywordKind("分布"), StatusKind::Arrived);
    EXPECT_EQ(keywordKind("未分布"), StatusKind::NotYetArrived);
    EXPECT_EQ(keywordKind("不明"), StatusKind::Unknown);
    for (const char* text : {"arrived", " Arrived", "not yet arrived"}) EXPECT_FALSE(readStatus(text)) << text;
}

TEST(SpeciesTable, LastMatchingVariableWinsAndTargetIsCaseSensitive) {
    const auto data = makeData({"A", "B", "A"}, {"R1"}, {{"1", "2", "3"}});
    const auto table = buildSpeciesTable(data, {"A", "B"}, "b");
    EXPECT_EQ(table.variable, (std::vector<int>{2, 1}));
    EXPECT_FALSE(table.target);
    EXPECT_EQ(buildSpeciesTable(data, {"A", "B"}, "B").target, 1);
    EXPECT_THROW(buildSpeciesTable(data, {"C"}, ""), RunError);
}

TEST(StatusMatrixBuild, MissingMarkerInAnyCaseWarnsPerCellAndBecomesUnknown) {
    const auto data = makeData({"A", "B"}, {"R1", "R2"}, {{"null", "NULL"}, {"2001", "Null"}});
    RecordingHost host;
    const auto table = buildSpeciesTable(data, {"A", "B"}, "B");
    const auto m = buildStatusMatrix(data, table, "null", host);
    EXPECT_EQ(host.messages, std::vector<std::string>(3, "Missing value is considered to be Unknown"));
    EXPECT_EQ(m.at(0, 0), "Unknown");
    EXPECT_EQ(m.at(0, 1), "Unknown");
    EXPECT_EQ(m.at(1, 0), "2001");
    EXPECT_EQ(m.actualText, (std::vector<std::string>{"Unknown", "Unknown"}));
    EXPECT_EQ(host.caption(Label::Status), "");
}

TEST(StatusMatrixBuild, ValueThatIsNeitherKeywordNorNumberNamesRegionSpeciesAndText) {
    const auto data = makeData({"T", "P"}, {"R1", "R2"}, {{"2000", "1"}, {"arrived", "2"}});
    RecordingHost host;
    const auto table = buildSpeciesTable(data, {"T", "P"}, "");
    try {
        buildStatusMatrix(data, table, "null", host);
        FAIL() << "no error";
    } catch (const RunError& e) {
        EXPECT_STREQ(e.what(), "Region R2, species T: the value \"arrived\" is neither a keyword nor a number");
    }
}

TEST(TrainingCount, RoundsHalfToEvenAndClamps) {
    EXPECT_EQ(trainingCount(0.25, 10), 2);
    EXPECT_EQ(trainingCount(0.75, 10), 8);
    EXPECT_EQ(trainingCount(0, 10), 0);
    EXPECT_EQ(trainingCount(-0.5, 10), 1);
    EXPECT_EQ(trainingCount(3, 10), 10);
}

TEST(TrainingCount, EmptyRatioBecomesOneInTheHostAndTextIsRefused) {
    RecordingHost host;
    host.values.set(Setting::TrainingRatio, "");
    EXPECT_EQ(readTrainingCount(4, host), 4);
    EXPECT_EQ(host.values.get(Setting::TrainingRatio), "1");
    host.values.set(Setting::TrainingRatio, "half");
    EXPECT_THROW(readTrainingCount(4, host), RunError);
}

StatusMatrix targetColumn(const std::vector<std::string>& values) {
    std::vector<std::string> regions;
    std::vector<std::vector<std::string>> rows;
    for (std::size_t i = 0; i < values.size(); ++i) {
        regions.push_back("R" + std::to_string(i + 1));
        rows.push_back({values[i]});
    }
    const auto data = makeData({"T"}, regions, rows);
    RecordingHost host;
    return buildStatusMatrix(data, buildSpeciesTable(data, {"T"}, "T"), "null", host);
}

TEST(TrainingSplit, LatestDatesHiddenFirstTiesToLowerRegion) {
    auto m = targetColumn({"2001", "2005", "2005", "2003"});
    splitTrainingValidation(m, 0, 3);
    EXPECT_EQ(m.at(2, 0), "2005");
    splitTrainingValidation(m, 0, 2);
    EXPECT_EQ(m.at(1, 0), "未分布");
    EXPECT_EQ(m.at(2, 0), "未分布");
    EXPECT_EQ(m.at(0, 0), "2001");
    EXPECT_EQ(m.at(3, 0), "2003");
    EXPECT_EQ(m.statusAt(2, 0).kind, StatusKind::NotYetArrived);
    EXPECT_EQ(m.actualText[2], "2005");
}

TEST(TrainingSplit, KeywordRegionsAreConsumedFirstInRegionOrder) {
    auto m = targetColumn({"2001", "NotYetArrived", "2005", "Arrived"});
    splitTrainingValidation(m, 0, 3);
    EXPECT_EQ(m.at(1, 0), "NotYetArrived");
    EXPECT_EQ(m.at(2, 0), "2005");
    EXPECT_EQ(m.at(3, 0), "Arrived");

    auto all = targetColumn({"2001", "NotYetArrived", "2005", "分布"});
    splitTrainingValidation(all, 0, 0);
    EXPECT_EQ(all.at(0, 0), "未分布");
    EXPECT_EQ(all.at(1, 0), "NotYetArrived");
    EXPECT_EQ(all.at(2, 0), "未分布");
    EXPECT_EQ(all.at(3, 0), "不明");
    EXPECT_EQ(all.statusAt(3, 0).kind, StatusKind::Unknown);
}

}  // namespace
}  // namespace el::engine
