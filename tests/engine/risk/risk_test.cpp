#include "engine/risk/risk.hpp"

#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

#include "base/numtext.hpp"
#include "engine/model/run_error.hpp"
#include "engine/risk/risk_sentences.hpp"
#include "tests/engine/risk/spread_data.hpp"

namespace el::engine {
namespace {

RiskRequest requestFor(const vec::VectorData& data, int threads = 1) {
    RiskRequest request;
    request.basis.data = &data;
    request.basis.species.assign(data.valname.begin(), data.valname.begin() + data.valn());
    request.target = "T";
    request.asOf = 2010;
    request.basis.horizon = 10;
    request.basis.calculationDate = "12-08-2026";
    request.basis.threads = threads;
    return request;
}

void expectSameFigure(const RiskFigure& a, const RiskFigure& b) {
    EXPECT_EQ(a.value, b.value);
    EXPECT_EQ(a.reason, b.reason);
}

// Every number of two results, exactly.
void expectSameRisk(const RiskResult& a, const RiskResult& b) {
    ASSERT_EQ(a.regions.size(), b.regions.size());
    for (std::size_t i = 0; i < a.regions.size(); ++i) {
        EXPECT_EQ(a.regions[i].region, b.regions[i].region);
        EXPECT_EQ(a.regions[i].risk, b.regions[i].risk) << a.regions[i].name;
        EXPECT_EQ(a.regions[i].features, b.regions[i].features);
    }
    ASSERT_EQ(a.model.has_value(), b.model.has_value());
    if (a.model) {
        EXPECT_EQ(a.model->coefficients, b.model->coefficients);
    }
    ASSERT_EQ(a.check.figures.has_value(), b.check.figures.has_value());
    if (a.check.figures) {
        const CheckFigures &x = *a.check.figures, &y = *b.check.figures;
        for (const auto member : {&CheckFigures::auc, &CheckFigures::brier, &CheckFigures::brierSkill,
                                  &CheckFigures::calibrationSlope, &CheckFigures::calibrationIntercept})
            expectSameFigure(x.*member, y.*member);
    }
    EXPECT_EQ(a.sentences, b.sentences);
}

class Risk : public ::testing::Test {
protected:
    vec::VectorData data = spreadData();
    Feedback quiet;
};

TEST_F(Risk, GivesEveryUnreachedRegionARiskBesideItsCheck) {
    const RiskResult r = computeRisk(requestFor(data), quiet);
    ASSERT_TRUE(r.model) << r.modelReason;
    for (const auto& l : r.leftOut) ADD_FAILURE() << l.species << " " << l.cutoff << " " << l.reason;
    for (const auto& n : r.notes) ADD_FAILURE() << n;
    EXPECT_TRUE(r.model->converged);
    EXPECT_EQ(r.model->cutoff, 2000);
    EXPECT_EQ(r.model->upTo, 2010);
    EXPECT_EQ(r.model->terms.size(), 5u);
    EXPECT_TRUE(r.distanceUsed);
    EXPECT_TRUE(r.riskReason.empty());
    int unreached = 0;
    for (const vec::VectorObject& object : data.objects) {
        const std::string& t = object.values.back();
        if (t == "NotYetArrived" || std::stod(t) > 2010) ++unreached;
    }
    ASSERT_EQ(static_cast<int>(r.regions.size()), unreached);
    for (const RiskRegion& region : r.regions) {
        EXPECT_GT(region.risk, 0);
        EXPECT_LT(region.risk, 1);
    }
    ASSERT_TRUE(r.check.model) << r.check.reason;
    ASSERT_TRUE(r.check.figures);
    EXPECT_EQ(r.check.cutoff, 2000);
    EXPECT_TRUE(r.check.figures->auc.value);
    EXPECT_EQ(r.check.baseRate.value, r.check.figures->baseRate.value);
    ASSERT_EQ(r.sentences.size(), 4u);
    EXPECT_EQ(r.sentences[0].rfind("About ", 0), 0u) << r.sentences[0];
    EXPECT_NE(r.sentences[2].find("Checked on 2000-2010"), std::string::npos) << r.sentences[2];
}

TEST_F(Risk, NothingAfterTheAsOfYearChangesAnyNumber) {
    // Every date after 2010 moved later and every late region of two species made unknown:
    // the data known in 2010 are the same, and so must every risk and check figure be.
    vec::VectorData moved = data;
    for (vec::VectorObject& object : moved.objects)
        for (std::size_t s = 0; s < object.values.size(); ++s) {
            const auto date = parseNumber(object.values[s]);
            if (!date || *date <= 2010) continue;
            object.values[s] = s < 2 ? "Unknown" : plainnum(*date + 3 + static_cast<double>(s));
        }
    expectSameRisk(computeRisk(requestFor(data), quiet), computeRisk(requestFor(moved), quiet));
}

TEST_F(Risk, SameNumbersOnOneTwoAndThreeThreads) {
    const RiskResult one = computeRisk(requestFor(data, 1), quiet);
    expectSameRisk(one, computeRisk(requestFor(data, 2), quiet));
    expectSameRisk(one, computeRisk(requestFor(data, 3), quiet));
}

TEST_F(Risk, DefaultsToTheLatestDateAndLeavesOutTheDistanceWithoutGeometry) {
    vec::VectorData bare = data;
    for (vec::VectorObject& object : bare.objects) object.parts.clear();
    RiskRequest request = requestFor(bare);
    request.asOf.reset();
    const RiskResult r = computeRisk(request, quiet);
    EXPECT_EQ(r.asOf, 2020);
    EXPECT_FALSE(r.distanceUsed);
    ASSERT_EQ(r.notes.size(), 1u);
    EXPECT_NE(r.notes[0].find("no geometry"), std::string::npos);
    ASSERT_TRUE(r.model) << r.modelReason;
    EXPECT_EQ(r.model->terms, (std::vector<std::string>{"intercept", "score", "other_species", "recent_rate"}));
}

TEST_F(Risk, TooFewSpeciesToFitGivesNoRiskAndSaysWhy) {
    const vec::VectorData few = spreadData(3);
    RiskRequest request = requestFor(few);
    const RiskResult r = computeRisk(request, quiet);
    EXPECT_FALSE(r.model);
    EXPECT_TRUE(r.regions.empty());
    EXPECT_EQ(r.riskReason, r.modelReason);
    EXPECT_NE(r.riskReason.find("species had at least 3 regions by 2000"), std::string::npos) << r.riskReason;
    EXPECT_EQ(r.sentences.front(), "No risk for T: " + r.riskReason + ".");
}

TEST_F(Risk, RefusesWhatCannotBeAnswered) {
    RiskRequest request = requestFor(data);
    request.target = "X";
    EXPECT_THROW(computeRisk(request, quiet), RunError);
    request = requestFor(data);
    request.basis.horizon = 0;
    EXPECT_THROW(computeRisk(request, quiet), RunError);
    request.basis.data = nullptr;
    EXPECT_THROW(computeRisk(request, quiet), RunError);
}

TEST_F(Risk, AStopOnTheCallersCheckpointEndsTheWork) {
    // On one thread every checkpoint is the caller's, so the stop falls inside the runs; on
    // three, the first checkpoint on the calling thread already stops everything.
    struct StopAfter : Feedback {
        explicit StopAfter(int n) : left(n) {}
        int left;
        void checkpoint() override {
            if (--left < 0) throw Cancelled{};
        }
    };
    StopAfter inRuns(50), atOnce(0);
    EXPECT_THROW(computeRisk(requestFor(data, 1), inRuns), Cancelled);
    EXPECT_THROW(computeRisk(requestFor(data, 3), atOnce), Cancelled);
}

TEST(RiskSentences, SayTheCheckPlainly) {
    RiskResult r;
    r.target = "T";
    r.horizon = 10;
    r.check.cutoff = 1990;
    r.check.upTo = 2000;
    r.check.baseRate = {0.0712, {}};
    CheckFigures f;
    f.auc = {0.7412, {}};
    f.scoreAuc = {0.71, {}};
    f.predictedToObserved = {1.4166, {}};
    f.predictedArrivals = 34.4;
    f.arrivals = 24;
    f.brierSkill = {-0.0134, {}};
    r.check.figures = f;
    const auto s = riskSentences(r);
    ASSERT_EQ(s.size(), 4u);
    EXPECT_EQ(s[0].substr(0, 68), "About 7 in 100 regions like these get a first record within 10 years");
    EXPECT_EQ(s[1],
              "The model sorts them with AUC .74 (the early-late score alone: .71); .5 is a coin, 1 a perfect order.");
    EXPECT_EQ(s[2], "Checked on 1990-2000 it predicted 1.4 times as many arrivals as happened (34 against 24).");
    EXPECT_EQ(s[3].substr(0, 55), "Its Brier skill score over the base rate is -.013: as a");

    // A ratio that reads 1 is said as "as many"; one just off it keeps its two digits.
    for (const auto& [ratio, words] :
         std::vector<std::pair<double, std::string>>{{0.996, "predicted as many arrivals"},
                                                     {1.04, "predicted as many arrivals"},
                                                     {0.99, "predicted 0.99 times as many arrivals"},
                                                     {1.06, "predicted 1.1 times as many arrivals"},
                                                     {10.2, "predicted 10 times as many arrivals"}}) {
        r.check.figures->predictedToObserved = {ratio, {}};
        EXPECT_NE(riskSentences(r)[2].find(words), std::string::npos) << ratio << ": " << riskSentences(r)[2];
    }
}

}  // namespace
}  // namespace el::engine
