#include "engine/risk/watch_list.hpp"

#include <map>

#include <gtest/gtest.h>

#include "engine/hindcast/rank_measures.hpp"
#include "engine/risk/risk.hpp"
#include "engine/risk/risk_hindcast.hpp"
#include "tests/engine/risk/spread_data.hpp"

namespace el::engine {
namespace {

class WatchListTest : public ::testing::Test {
protected:
    vec::VectorData data = spreadData();
    Feedback quiet;
    RiskBasis basis;

    void SetUp() override {
        basis.data = &data;
        basis.species.assign(data.valname.begin(), data.valname.begin() + data.valn());
        basis.horizon = 10;
        basis.calculationDate = "12-08-2026";
    }
};

TEST_F(WatchListTest, EverySpeciesCarriesTheRiskItsOwnForecastGives) {
    const WatchList list = computeWatchList(basis, 2010, quiet);
    ASSERT_TRUE(list.model) << list.reason;
    const ReachTable reach = buildReachTable(data, basis.species, "null");
    std::map<std::pair<std::string, int>, double> listed;
    for (const WatchRegion& region : list.regions) {
        for (std::size_t k = 1; k < region.species.size(); ++k)
            EXPECT_GE(region.species[k - 1].risk, region.species[k].risk) << region.name;
        for (const WatchEntry& entry : region.species) listed[{entry.species, region.region}] = entry.risk;
    }
    std::size_t expected = 0;
    for (int s = 0; s < reach.species(); ++s) {
        if (!scoredOn(reach, s, 2010, basis.rules)) continue;
        RiskRequest single;
        single.basis.data = &data;
        single.basis.species = basis.species;
        single.target = basis.species[static_cast<std::size_t>(s)];
        single.asOf = 2010;
        single.basis.calculationDate = basis.calculationDate;
        const RiskResult forecast = computeRisk(single, quiet);
        expected += forecast.regions.size();
        for (const RiskRegion& region : forecast.regions) {
            const auto found = listed.find({single.target, region.region});
            ASSERT_NE(found, listed.end()) << single.target << " " << region.name;
            EXPECT_EQ(found->second, region.risk);
        }
    }
    EXPECT_EQ(listed.size(), expected);
    EXPECT_GT(expected, 0u);
}

TEST_F(WatchListTest, EachRegionsCheckAucIsThatOfAHindcastOneHorizonEarlier) {
    // The check's model applied at 2000 is the risk hindcast's at 2000: the same data known,
    // the same fit, and what happened in 2000-2010 scores both.
    const WatchList list = computeWatchList(basis, 2010, quiet);
    ASSERT_TRUE(list.checkModel) << list.checkReason;
    const ReachTable reach = buildReachTable(data, basis.species, "null");
    RiskHindcastRequest request;
    request.basis = basis;
    for (int s = 0; s < reach.species(); ++s)
        if (scoredOn(reach, s, 2000, basis.rules))
            request.cases.push_back({2000, basis.species[static_cast<std::size_t>(s)]});
    const RiskHindcast h = runRiskHindcast(request, quiet);
    EXPECT_EQ(h.years[0].model->coefficients, list.checkModel->coefficients);
    std::vector<std::vector<double>> arrived(data.objects.size()), other(data.objects.size());
    for (const RiskHindcastRow& row : h.rows)
        for (const HindcastRiskRegion& region : row.regions)
            (*region.outcome ? arrived : other)[static_cast<std::size_t>(region.region)].push_back(region.risk);
    int withAuc = 0;
    for (const WatchRegion& region : list.regions) {
        const auto r = static_cast<std::size_t>(region.region);
        const auto auc = orderedPairShare(other[r], arrived[r]);
        ASSERT_EQ(region.checkAuc.value.has_value(), auc.has_value()) << region.name;
        EXPECT_EQ(region.checkSpecies, static_cast<int>(arrived[r].size() + other[r].size()));
        if (!auc) {
            EXPECT_FALSE(region.checkAuc.reason.empty());
            continue;
        }
        ++withAuc;
        EXPECT_NEAR(*region.checkAuc.value, *auc, 1e-12) << region.name;
    }
    EXPECT_GT(withAuc, 3);
}

TEST_F(WatchListTest, TheTableListsRegionsWithTheirRankedSpecies) {
    const WatchList list = computeWatchList(basis, 2010, quiet);
    const el::PredictionTable table = watchTable(list);
    std::vector<std::string> names;
    for (const TableColumn& c : table.columns) names.push_back(c.name);
    EXPECT_EQ(names, (std::vector<std::string>{"region", "number", "rank", "species", "risk", "check_auc"}));
    std::size_t rows = 0;
    for (const WatchRegion& region : list.regions) rows += region.species.size();
    ASSERT_EQ(table.rows.size(), rows);
    const WatchRegion& first = *std::find_if(list.regions.begin(), list.regions.end(),
                                             [](const WatchRegion& r) { return !r.species.empty(); });
    EXPECT_EQ(table.rows[0][0].text, first.name);
    EXPECT_EQ(table.rows[0][1].number, first.region + 1);
    EXPECT_EQ(table.rows[0][2].number, 1);
    EXPECT_EQ(table.rows[0][3].text, first.species[0].species);
    EXPECT_EQ(table.rows[0][5].empty, !first.checkAuc.value);
}

}  // namespace
}  // namespace el::engine
