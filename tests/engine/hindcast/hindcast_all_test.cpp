#include "engine/hindcast/hindcast_all.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

#include <gtest/gtest.h>

#include "engine/model/run_error.hpp"

#include "tests/engine/run_fixture.hpp"

namespace el::engine {
namespace {

const std::vector<std::string> kSpecies{"A", "B", "C", "D", "E"};

// Fourteen regions in a row, 1000 units apart, which the species reach from the west at
// their own pace, each with a few regions out of order; the last regions of A, B, C and E
// are not reached. D reached only three regions, so no rule of a hindcast admits it.
vec::VectorData rowData() {
    const std::vector<int> jitter{0, 2, -1, 1, 0, -2, 1, 0, 2, -1, 0, 1, -1, 0};
    std::vector<std::string> regions;
    std::vector<std::vector<std::string>> values;
    for (int i = 0; i < 14; ++i) {
        regions.push_back("R" + std::to_string(i + 1));
        const auto date = [&](int start, double pace, int reached) {
            return i < reached ? std::to_string(start + static_cast<int>(pace * i) + jitter[static_cast<std::size_t>(i)])
                               : std::string("NotYetArrived");
        };
        values.push_back({date(1960, 3, 13), date(1970, 2.5, 12), date(1975, 2, 11),
                          i < 3 ? date(1980, 4, 3) : std::string("Unknown"), date(1985, 1.5, 12)});
    }
    vec::VectorData data = test::makeData(kSpecies, regions, values);
    for (std::size_t i = 0; i < data.objects.size(); ++i) data.objects[i].parts[0].x = {1000.0 * static_cast<double>(i)};
    return data;
}

class AllSpecies : public ::testing::Test {
protected:
    AllSpecies() {
        request.base.data = &data;
        request.base.species = kSpecies;
        request.base.calculationDate = "12-05-2026";
        request.base.settings.set(Setting::IterationN, "10");
        request.targets = kSpecies;
        request.years = {1990, 1985};
    }
    vec::VectorData data = rowData();
    AllSpeciesRequest request;
    Feedback quiet;
};

void expectSameFigures(const HindcastFigures& a, const HindcastFigures& b, const std::string& what) {
    EXPECT_EQ(a.reachedLater, b.reachedLater) << what;
    EXPECT_EQ(a.notReached, b.notReached) << what;
    EXPECT_EQ(a.auc, b.auc) << what;
    EXPECT_EQ(a.spearman, b.spearman) << what;
    EXPECT_EQ(a.mae, b.mae) << what;
    EXPECT_EQ(a.distanceAuc, b.distanceAuc) << what;
    EXPECT_EQ(a.distanceSpearman, b.distanceSpearman) << what;
}

TEST_F(AllSpecies, EqualsSingleHindcastsRunOneByOneOnAnyNumberOfThreads) {
    // The single hindcasts make their fluctuation trials (which keep every region in, even
    // with the exclusion of regions with few relations on); the third round asks for it.
    for (const int threads : {1, 3, 2}) {
        request.threads = threads;
        if (threads == 2) request.base.settings.set(Setting::ExcludeLimited, "1");
        const AllSpeciesHindcast all = runAllSpeciesHindcast(request, quiet);
        ASSERT_GE(all.rows.size(), 4u);
        for (const SpeciesHindcast& row : all.rows) {
            HindcastRequest single = request.base;
            single.settings.set(Setting::TargetSpecies, row.species);
            const auto years = runHindcast(single, {row.year}, quiet);
            const std::string what = row.species + " at " + std::to_string(row.year) + ", threads " + std::to_string(threads);
            ASSERT_TRUE(years[0].ran) << what << ": " << years[0].error;
            EXPECT_TRUE(row.ran) << what;
            expectSameFigures(row.figures, years[0].figures, what);
            EXPECT_TRUE(row.figures.auc) << what;
        }
    }
}

TEST_F(AllSpecies, RowsComeInYearThenSpeciesOrderAndOnlyForEligibleSpecies) {
    const AllSpeciesHindcast all = runAllSpeciesHindcast(request, quiet);
    std::vector<std::string> order;
    for (const SpeciesHindcast& row : all.rows) order.push_back(std::to_string(static_cast<int>(row.year)) + row.species);
    // A has only two dates after 1990 and E only one up to 1985; D never qualifies.
    EXPECT_EQ(order, (std::vector<std::string>{"1990B", "1990C", "1990E", "1985A", "1985B", "1985C"}));
    ASSERT_EQ(all.years.size(), 2u);
    EXPECT_EQ(all.years[0].year, 1990);
    EXPECT_EQ(all.years[0].species, 3);

}

// A caller that counts its checkpoints and the progress it is shown, and asks to stop at
// checkpoint `stopAt` and at every one after it, as a Ctrl-C or a Cancel does (0: never).
class CountingCaller : public Feedback {
public:
    explicit CountingCaller(long long stopAt = 0) : stopAt_(stopAt) {}
    void checkpoint() override {
        ++checks;
        if (stopAt_ > 0 && checks >= stopAt_) {
            ++afterStop;
            throw Cancelled{};
        }
    }
    void progress(ProgressStage stage, long long done, long long all) override {
        if (stage != ProgressStage::Hindcasts) return;
        steps.push_back({checks, done});
        total = all;
    }
    long long checks = 0;
    long long afterStop = 0;                             // checkpoints answered with a stop
    std::vector<std::pair<long long, long long>> steps;  // checkpoints so far, species-years done
    long long total = 0;

private:
    long long stopAt_;
};

TEST_F(AllSpecies, EverySpeciesYearAsksTheCallerAboutAStopSeveralTimesOnTheWay) {
    request.threads = 1;
    CountingCaller caller;
    const AllSpeciesHindcast all = runAllSpeciesHindcast(request, caller);
    ASSERT_EQ(caller.total, static_cast<long long>(all.rows.size()));
    // The first count comes before any work, the last after all of it; the checkpoints
    // between the first showing of one count and of the next are those of one species-year
    // (a year's first one also has those of its shared data).
    ASSERT_GE(caller.steps.size(), 2u);
    EXPECT_EQ(caller.steps.front(), std::make_pair(0LL, 0LL));
    std::vector<long long> firstShown;  // checkpoints when each count was first shown
    for (const auto& [checks, done] : caller.steps) {
        ASSERT_LE(done, static_cast<long long>(firstShown.size())) << "a count was skipped";
        if (done == static_cast<long long>(firstShown.size())) firstShown.push_back(checks);
    }
    ASSERT_EQ(firstShown.size(), all.rows.size() + 1);
    long long fewest = caller.checks;
    for (std::size_t i = 1; i < firstShown.size(); ++i) fewest = std::min(fewest, firstShown[i] - firstShown[i - 1]);
    EXPECT_GE(fewest, 5) << "a species-year runs long stretches without a checkpoint";
}

TEST_F(AllSpecies, AStopAnywhereEndsTheRunAtThatCheckpointOnAnyNumberOfThreads) {
    request.threads = 1;
    CountingCaller whole;
    runAllSpeciesHindcast(request, whole);
    // On one thread every checkpoint of the run, in order; on more threads those up to the
    // end of the calling thread's first species-year, which it reaches whatever the others
    // do. The others stop at their next checkpoint: the run returns only once they have.
    for (long long stopAt = 1; stopAt <= whole.checks; ++stopAt) {
        CountingCaller caller(stopAt);
        EXPECT_THROW(runAllSpeciesHindcast(request, caller), Cancelled) << "stop at " << stopAt;
        EXPECT_EQ(caller.checks, stopAt);
        EXPECT_EQ(caller.afterStop, 1) << "the run went on asking after the stop";
        EXPECT_LT(caller.steps.back().second, caller.total);
    }
    for (const int threads : {2, 3}) {
        request.threads = threads;
        for (long long stopAt = 1; stopAt < whole.steps[1].first; ++stopAt) {
            CountingCaller caller(stopAt);
            EXPECT_THROW(runAllSpeciesHindcast(request, caller), Cancelled) << "stop at " << stopAt;
            EXPECT_EQ(caller.afterStop, 1) << "threads " << threads << ", stop at " << stopAt;
            EXPECT_LT(caller.steps.back().second, caller.total);
        }
    }
}

TEST(HindcastEligibility, CountsDatesUpToAndAfterTheYearAndRegionsNeverReached) {
    // Six dated up to 2000, three after, one not reached; the other values count for nothing.
    const vec::VectorData data = test::makeData({"S"}, {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l"},
                                                {{"1990"},
                                                 {"1992"},
                                                 {"1994"},
                                                 {"1996"},
                                                 {"1998"},
                                                 {"2000"},
                                                 {"2001"},
                                                 {"2003"},
                                                 {"2005"},
                                                 {"未分布"},
                                                 {"Arrived"},
                                                 {"Unknown"}});
    const HindcastEligibility rules;
    EXPECT_TRUE(eligibleAt(data, "S", 2000, rules));
    EXPECT_TRUE(eligibleAt(data, "S", 1998, rules));   // five up to it, four after
    EXPECT_FALSE(eligibleAt(data, "S", 1997, rules));  // four up to it
    EXPECT_FALSE(eligibleAt(data, "S", 2001, rules));  // two after it
    EXPECT_FALSE(eligibleAt(data, "S", 2000, {5, 3, 2}));  // one region never reached
    EXPECT_TRUE(eligibleAt(data, "S", 1997, {4, 3, 1}));
    EXPECT_FALSE(eligibleAt(data, "Nothing", 2000, rules));
}

TEST(HindcastTargets, AllOrNamesInSpeciesListOrderAndAnUnknownNameIsRefused) {
    const std::vector<std::string> species{"A", "B", "C"};
    EXPECT_EQ(hindcastTargets("all", species), species);
    EXPECT_EQ(hindcastTargets("C,A,C", species), (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(hindcastTargets("all", {"A", "B", "A"}), (std::vector<std::string>{"A", "B"}));  // a repeat runs once
    try {
        hindcastTargets("A,Bee", species);
        FAIL() << "an unknown name was taken";
    } catch (const RunError& error) {
        EXPECT_NE(std::string(error.what()).find("\"Bee\""), std::string::npos);
    }
}

TEST(HindcastSpread, MeanSdAndShareOfSpeciesBeatingTheDistance) {
    std::vector<SpeciesHindcast> rows(4);
    const double auc[] = {0.9, 0.7, 0.6, 0.8};
    const double distance[] = {0.8, 0.75, 0.5, 0.8};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].year = 2000;
        rows[i].ran = true;
        rows[i].figures.auc = auc[i];
        rows[i].figures.distanceAuc = distance[i];
        rows[i].figures.reachedLater = static_cast<int>(i) + 3;
    }
    rows[3].figures.distanceAuc.reset();  // not compared: no distance figure
    rows[2].year = 2010;
    const auto spread = spreadByYear(rows, {2000, 2010, 2020});
    ASSERT_EQ(spread.size(), 3u);
    EXPECT_EQ(spread[0].species, 3);
    EXPECT_EQ(spread[0].auc.count, 3);
    EXPECT_DOUBLE_EQ(*spread[0].auc.mean, 0.8);
    EXPECT_DOUBLE_EQ(*spread[0].auc.sd, 0.1);
    EXPECT_DOUBLE_EQ(*spread[0].reachedLater.mean, (3 + 4 + 6) / 3.0);
    EXPECT_DOUBLE_EQ(*spread[0].aucBeatsDistance, 0.5);  // 0.9 > 0.8, 0.7 < 0.75; the third has no distance
    EXPECT_EQ(spread[1].species, 1);
    EXPECT_FALSE(spread[1].auc.sd);  // one value has no spread
    EXPECT_EQ(spread[2].species, 0);
    EXPECT_FALSE(spread[2].auc.mean);
    EXPECT_FALSE(spread[2].aucBeatsDistance);
}

}  // namespace
}  // namespace el::engine
