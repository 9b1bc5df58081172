#include "engine/kernels/status_matrix.hpp"

#include <gtest/gtest.h>

#include "engine/model/run_error.hpp"
#include "tests/engine/run_fixture.hpp"
#include "tests/support/recording_host.hpp"

namespace el::engine {
namespace {

using test::makeData;
using test::RecordingHost;
using Texts = std::vector<std::string>;

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

// A value that is neither keyword nor number is refused in engine_test.cpp.
TEST(StatusMatrixBuild, MissingMarkerInAnyCaseWarnsPerCellAndBecomesUnknown) {
    const auto data = makeData({"A", "B"}, {"R1", "R2"}, {{"null", "NULL"}, {"2001", "Null"}});
    RecordingHost host;
    const auto m = buildStatusMatrix(data, buildSpeciesTable(data, {"A", "B"}, "B"), "null", host, host);
    EXPECT_EQ(host.messages, Texts(3, "Missing value is considered to be Unknown"));  // in any letter case
    EXPECT_EQ((Texts{m.at(0, 0), m.at(0, 1), m.at(1, 0)}), (Texts{"Unknown", "Unknown", "2001"}));
    EXPECT_EQ(m.actualText, (Texts{"Unknown", "Unknown"}));
    EXPECT_EQ(host.shown(Label::Status), "");
}

TEST(TrainingCount, RoundsHalfToEvenClampsAndReadsTheRatio) {
    EXPECT_EQ((std::vector<int>{trainingCount(0.25, 10), trainingCount(0.75, 10), trainingCount(0, 10),
                                trainingCount(-0.5, 10), trainingCount(3, 10)}),
              (std::vector<int>{2, 8, 0, 1, 10}));
    RecordingHost host;
    host.values.set(Setting::TrainingRatio, "");  // an empty ratio becomes 1 in the host
    EXPECT_EQ(readTrainingCount(4, host), 4);
    EXPECT_EQ(host.values.get(Setting::TrainingRatio), "1");
    host.values.set(Setting::TrainingRatio, "half");
    EXPECT_THROW(readTrainingCount(4, host), RunError);
}

StatusMatrix targetColumn(const Texts& values) {
    Texts regions;
    std::vector<Texts> rows;
    for (std::size_t i = 0; i < values.size(); ++i) {
        regions.push_back("R" + std::to_string(i + 1));
        rows.push_back({values[i]});
    }
    const auto data = makeData({"T"}, regions, rows);
    RecordingHost host;
    return buildStatusMatrix(data, buildSpeciesTable(data, {"T"}, "T"), "null", host, host);
}

Texts column(const StatusMatrix& m) {
    Texts out;
    for (int i = 0; i < m.regions; ++i) out.push_back(m.at(i, 0));
    return out;
}

TEST(TrainingSplit, LatestDatesHiddenFirstTiesToLowerRegion) {
    auto m = targetColumn({"2001", "2005", "2005", "2003"});
    splitTrainingValidation(m, 0, 3);
    EXPECT_EQ(column(m), (Texts{"2001", "未分布", "2005", "2003"}));
    splitTrainingValidation(m, 0, 2);
    EXPECT_EQ(column(m), (Texts{"2001", "未分布", "未分布", "2003"}));
    EXPECT_EQ(m.statusAt(2, 0).kind, StatusKind::NotYetArrived);
    EXPECT_EQ(m.actualText[2], "2005");
}

TEST(TrainingSplit, KeywordRegionsAreConsumedFirstInRegionOrder) {
    auto m = targetColumn({"2001", "NotYetArrived", "2005", "Arrived"});
    splitTrainingValidation(m, 0, 3);
    EXPECT_EQ(column(m), (Texts{"2001", "NotYetArrived", "2005", "Arrived"}));

    auto all = targetColumn({"2001", "NotYetArrived", "2005", "分布"});
    splitTrainingValidation(all, 0, 0);
    EXPECT_EQ(column(all), (Texts{"未分布", "NotYetArrived", "未分布", "不明"}));
    EXPECT_EQ(all.statusAt(3, 0).kind, StatusKind::Unknown);
}

}  // namespace
}  // namespace el::engine
