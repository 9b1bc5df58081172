// Power passes as computations: passes with scratch of their own give the same outcome side
// by side on two threads as one after the other, so the passes of an examine-weight run can
// later share the work.

#include "engine/pass/power_pass.hpp"

#include <thread>

#include <gtest/gtest.h>

#include "tests/engine/run_fixture.hpp"
#include "tests/support/recording_host.hpp"

namespace el::engine {
namespace {

// Six regions, three species without a target, every species weighted automatically
// (the weights then go through the binomial posteriors).
PassInput sixRegions(test::RecordingHost& host) {
    const vec::VectorData data = test::makeData({"A", "B", "C"}, {"R1", "R2", "R3", "R4", "R5", "R6"},
                                                {{"1990", "1985", "2001"},
                                                 {"1992", "1986", "2002"},
                                                 {"1995", "1990", "NotYetArrived"},
                                                 {"1993", "Unknown", "2004"},
                                                 {"1997", "1991", "2003"},
                                                 {"Arrived", "1989", "2000"}});
    PassInput input;
    input.table = buildSpeciesTable(data, {"A", "B", "C"}, "");
    input.status = buildStatusMatrix(data, input.table, "null", host, host);
    input.comparison = std::make_shared<SpeciesComparisons>(compareSpecies(input.status));
    input.packed = packCodes(speciesCodes(input.status), 1);
    input.regionviable = regionViable(input.status, -1);
    for (const auto& object : data.objects) input.regionNames.push_back(object.name);
    return input;
}

struct PassRunner {
    std::vector<PassOutcome> run(const PassInput& input, const SettingsSource& settings,
                                 const std::vector<double>& powers) {
        Feedback quiet;
        TrialRandom random;
        PassScratch scratch;
        PassListener listener;
        std::vector<PassOutcome> outcomes;
        for (double p : powers) outcomes.push_back(computePass(input, p, p / 2, {settings, quiet, random, scratch, listener}));
        return outcomes;
    }
};

void expectSameOutcome(const PassOutcome& a, const PassOutcome& b) {
    EXPECT_EQ(a.weights.weight, b.weights.weight);
    EXPECT_EQ(a.used.regno, b.used.regno);
    EXPECT_EQ(a.score, b.score);
    EXPECT_EQ(a.order, b.order);
    ASSERT_EQ(a.species.size(), b.species.size());
    for (std::size_t j = 0; j < a.species.size(); ++j) {
        EXPECT_EQ(a.species[j].predicted, b.species[j].predicted);
        EXPECT_EQ(a.species[j].fit.rt, b.species[j].fit.rt);
    }
}

TEST(PowerPass, PassesWithScratchOfTheirOwnRunSideBySide) {
    test::RecordingHost host;
    host.values.set(Setting::AutoWeight, "1");
    host.values.set(Setting::DoReliability, "0");
    const PassInput input = sixRegions(host);
    const std::vector<double> first{0, 0.5, 1}, second{1.5, 2, 2.5};

    std::vector<PassOutcome> one, two;
    std::thread a([&] { one = PassRunner{}.run(input, host.values, first); });
    std::thread b([&] { two = PassRunner{}.run(input, host.values, second); });
    a.join();
    b.join();

    const auto alone1 = PassRunner{}.run(input, host.values, first);
    const auto alone2 = PassRunner{}.run(input, host.values, second);
    ASSERT_EQ(one.size(), 3u);
    ASSERT_EQ(two.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        ASSERT_TRUE(one[i].connected && two[i].connected);
        expectSameOutcome(one[i], alone1[i]);
        expectSameOutcome(two[i], alone2[i]);
    }
    EXPECT_GT(one[0].weights.weight[0], 0) << "automatic weights were computed";
}

}  // namespace
}  // namespace el::engine
