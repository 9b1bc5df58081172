#include "engine/risk/risk_hindcast.hpp"

#include <gtest/gtest.h>

#include "base/numtext.hpp"
#include "engine/hindcast/rank_measures.hpp"
#include "engine/model/run_error.hpp"
#include "engine/risk/risk.hpp"
#include "tests/engine/risk/spread_data.hpp"

namespace el::engine {
namespace {

class RiskHindcastTest : public ::testing::Test {
protected:
    vec::VectorData data = spreadData();
    Feedback quiet;

    RiskHindcastRequest request(std::vector<std::pair<double, std::string>> cases, int threads = 1) {
        RiskHindcastRequest r;
        r.basis.data = &data;
        r.basis.species.assign(data.valname.begin(), data.valname.begin() + data.valn());
        r.basis.horizon = 10;
        r.basis.calculationDate = "12-08-2026";
        r.basis.threads = threads;
        r.cases = std::move(cases);
        return r;
    }

    // The value of species `s` in region `r` as a date, if it is one.
    std::optional<double> dateOf(int s, int r) const {
        return parseNumber(data.objects[static_cast<std::size_t>(r)].values[static_cast<std::size_t>(s)]);
    }
};

TEST_F(RiskHindcastTest, RisksAreThoseOfAForecastMadeAtTheCutOff) {
    const RiskHindcast h = runRiskHindcast(request({{2005, "T"}, {2000, "S12"}, {2005, "S8"}}), quiet);
    ASSERT_EQ(h.rows.size(), 3u);
    ASSERT_EQ(h.years.size(), 2u);
    EXPECT_EQ(h.years[0].year, 2005);
    EXPECT_EQ(h.years[1].year, 2000);
    for (const RiskHindcastRow& row : h.rows) {
        RiskRequest single;
        single.basis.data = &data;
        single.basis.species.assign(data.valname.begin(), data.valname.begin() + data.valn());
        single.target = row.species;
        single.asOf = row.year;
        single.basis.horizon = 10;
        single.basis.calculationDate = "12-08-2026";
        const RiskResult forecast = computeRisk(single, quiet);
        ASSERT_TRUE(forecast.model) << forecast.modelReason;
        ASSERT_FALSE(row.regions.empty()) << row.species;
        ASSERT_EQ(row.regions.size(), forecast.regions.size()) << row.species;
        for (std::size_t i = 0; i < row.regions.size(); ++i) {
            EXPECT_EQ(row.regions[i].region, forecast.regions[i].region);
            EXPECT_EQ(row.regions[i].risk, forecast.regions[i].risk) << row.species << " " << row.regions[i].name;
        }
    }
}

TEST_F(RiskHindcastTest, ScoresEachRowOnWhatHappenedAsAPlainComputationDoes) {
    const RiskHindcast h = runRiskHindcast(request({{2005, "T"}, {2005, "S8"}}), quiet);
    const double base = *h.years[0].baseRate.value;
    for (std::size_t k = 0; k < h.rows.size(); ++k) {
        const RiskHindcastRow& row = h.rows[k];
        const int s = k == 0 ? 13 : 7;
        std::vector<double> arrived, other;
        double brier = 0, baseBrier = 0;
        for (const HindcastRiskRegion& region : row.regions) {
            const auto date = dateOf(s, region.region);
            const int outcome = date && *date > 2005 && *date <= 2015 ? 1 : 0;
            ASSERT_EQ(region.outcome, outcome) << region.name;
            (outcome ? arrived : other).push_back(region.risk);
            brier += (region.risk - outcome) * (region.risk - outcome);
            baseBrier += (base - outcome) * (base - outcome);
        }
        const auto n = static_cast<double>(row.regions.size());
        ASSERT_FALSE(arrived.empty() || other.empty()) << row.species;
        EXPECT_NEAR(*row.auc.value, *orderedPairShare(other, arrived), 1e-12);
        EXPECT_NEAR(*row.brier.value, brier / n, 1e-15);
        EXPECT_NEAR(*row.baseBrier.value, baseBrier / n, 1e-15);
        EXPECT_NEAR(*row.brierSkill.value, 1 - brier / baseBrier, 1e-12);
    }
}

TEST_F(RiskHindcastTest, WhatHasNotHappenedYetIsNoOutcomeAndSaysSo) {
    const RiskHindcast h = runRiskHindcast(request({{2012, "T"}}), quiet);
    const RiskHindcastRow& row = h.rows.front();
    ASSERT_FALSE(row.regions.empty());
    for (const HindcastRiskRegion& region : row.regions) EXPECT_FALSE(region.outcome);
    EXPECT_FALSE(row.auc.value);
    EXPECT_EQ(row.reason, "the data end at 2020, before 2022: what happened in 2012-2022 is not known yet");
    EXPECT_EQ(row.brierSkill.reason, row.reason);
    const el::PredictionTable table = riskTable(h);
    ASSERT_EQ(table.rows.size(), row.regions.size());
    EXPECT_TRUE(table.rows.front()[5].empty);
}

TEST_F(RiskHindcastTest, TheTablesHoldEveryRegionAndFigure) {
    const RiskHindcast h = runRiskHindcast(request({{2005, "T"}, {2005, "S8"}}), quiet);
    const el::PredictionTable table = riskTable(h);
    std::vector<std::string> names;
    for (const TableColumn& c : table.columns) names.push_back(c.name);
    EXPECT_EQ(names, (std::vector<std::string>{"year", "species", "region", "number", "risk", "outcome"}));
    ASSERT_EQ(table.rows.size(), h.rows[0].regions.size() + h.rows[1].regions.size());
    const auto& first = table.rows.front();
    const HindcastRiskRegion& region = h.rows[0].regions.front();
    EXPECT_EQ(first[0].number, 2005);
    EXPECT_EQ(first[1].text, "T");
    EXPECT_EQ(first[2].text, region.name);
    EXPECT_EQ(first[3].number, region.region + 1);
    EXPECT_EQ(first[4].number, region.risk);
    EXPECT_EQ(first[5].number, *region.outcome);
    const auto cells = riskFigureCells(h.rows[0]);
    ASSERT_EQ(cells.size(), riskFigureColumns().size());
    EXPECT_EQ(cells[0].number, *h.rows[0].auc.value);
    EXPECT_EQ(cells[3].number, *h.rows[0].brierSkill.value);
}

TEST_F(RiskHindcastTest, SameNumbersOnOneTwoAndThreeThreads) {
    const std::vector<std::pair<double, std::string>> cases{{2005, "T"}, {2000, "S11"}, {2005, "S8"}, {2000, "S12"}};
    const RiskHindcast one = runRiskHindcast(request(cases, 1), quiet);
    for (int threads : {2, 3}) {
        const RiskHindcast other = runRiskHindcast(request(cases, threads), quiet);
        ASSERT_EQ(one.rows.size(), other.rows.size());
        for (std::size_t k = 0; k < one.rows.size(); ++k) {
            ASSERT_EQ(one.rows[k].regions.size(), other.rows[k].regions.size());
            for (std::size_t i = 0; i < one.rows[k].regions.size(); ++i)
                EXPECT_EQ(one.rows[k].regions[i].risk, other.rows[k].regions[i].risk);
            EXPECT_EQ(one.rows[k].brierSkill.value, other.rows[k].brierSkill.value);
        }
    }
}

TEST_F(RiskHindcastTest, AYearWithoutAModelGivesEveryRowItsReason) {
    const RiskHindcast h = runRiskHindcast(request({{1960, "T"}, {1960, "S2"}}), quiet);
    ASSERT_FALSE(h.years[0].model);
    for (const RiskHindcastRow& row : h.rows) {
        EXPECT_TRUE(row.regions.empty());
        EXPECT_EQ(row.reason, h.years[0].reason);
        EXPECT_EQ(row.auc.reason, h.years[0].reason);
    }
    EXPECT_THROW(runRiskHindcast(request({{2005, "X"}}), quiet), RunError);
}

}  // namespace
}  // namespace el::engine
