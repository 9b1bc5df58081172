// The hindcast as every front end asks for it: its refusals with the value at fault, the
// words each front end gives them, and the run, which equals the engine's own hindcasts.

#include "ops/hindcast.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "base/parameters.hpp"
#include "engine/model/run_error.hpp"
#include "tests/engine/run_fixture.hpp"
#include "tests/support/run_batch.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::ops {
namespace {

// Eight regions; A and B spread early, T later; region R8 is reached by none.
vec::VectorData spread() {
    return test::makeData({"A", "B", "T"}, {"R1", "R2", "R3", "R4", "R5", "R6", "R7", "R8"},
                          {{"1990", "1985", "2001"},
                           {"1991", "1986", "2002"},
                           {"1993", "1988", "2004"},
                           {"1995", "1990", "2006"},
                           {"1997", "1992", "2008"},
                           {"1999", "1994", "2010"},
                           {"2001", "1996", "NotYetArrived"},
                           {"NotYetArrived", "NotYetArrived", "NotYetArrived"}});
}

HindcastRequest requestOf(const vec::VectorData& data) {
    HindcastRequest request;
    request.data = &data;
    request.species = {"A", "B", "T"};
    request.calculationDate = "12-08-2026";
    request.settings.set(Setting::TargetSpecies, "T");
    request.settings.set(Setting::DoReliability, "0");
    request.settings.set(Setting::Threads, "1");
    request.years = {2004};
    request.rules = {2, 1, 1};
    return request;
}

std::vector<DiagnosticKind> kindsOf(const Diagnostics& list) {
    std::vector<DiagnosticKind> kinds;
    for (const Diagnostic& d : list) kinds.push_back(d.kind);
    return kinds;
}

TEST(HindcastChecks, EachRefusalNamesTheValueAtFaultInAFixedOrder) {
    const vec::VectorData data = spread();
    HindcastRequest request = requestOf(data);
    EXPECT_TRUE(checkHindcast(request).empty());
    request.settings.set(Setting::TargetSpecies, "");
    request.years = {};
    request.settings.set(Setting::Threads, "0");
    request.targets = std::vector<std::string>{"A", "Nobody"};
    request.rules.minAfter = -1;
    const Diagnostics found = checkHindcast(request);
    EXPECT_EQ(kindsOf(found),
              (std::vector<DiagnosticKind>{DiagnosticKind::NoHindcastTarget, DiagnosticKind::BadYear,
                                           DiagnosticKind::BadThreadCount, DiagnosticKind::UnknownTarget,
                                           DiagnosticKind::BadEligibilityRule}));
    for (const Diagnostic& d : found) EXPECT_EQ(d.severity, Severity::Refusal) << d.text;
    EXPECT_EQ(found[2].subject, "0");
    EXPECT_EQ(found[3].subject, "Nobody");
    EXPECT_EQ(found[3].text, "\"Nobody\" is not among the species analysed");
    EXPECT_EQ(found[4].subject, "-1");
    EXPECT_EQ(found[4].text.rfind("The eligibility rule hindcast_min_after takes", 0), 0u) << found[4].text;

    // A year that is no finite number; "all" alone is every species, beside a name it is none.
    request = requestOf(data);
    request.years = {2004, std::numeric_limits<double>::infinity()};
    EXPECT_EQ(kindsOf(checkHindcast(request)), std::vector<DiagnosticKind>{DiagnosticKind::BadYear});
    request.years = {2004};
    request.targets = std::vector<std::string>{"all"};
    EXPECT_TRUE(checkHindcast(request).empty());
    request.targets = std::vector<std::string>{"A", "all"};
    EXPECT_EQ(checkHindcast(request).at(0).subject, "all");
}

TEST(HindcastChecks, TypedYearsAreReadOrRefusedByThePartThatIsNoYear) {
    EXPECT_EQ(readYears(" 2008 ,2012").years, (std::vector<double>{2008, 2012}));
    const TypedYears bad = readYears("2008, x1 ");
    ASSERT_TRUE(bad.refusal);
    EXPECT_TRUE(bad.years.empty());
    EXPECT_EQ(bad.refusal->subject, "x1");
    EXPECT_EQ(bad.refusal->text, "\"x1\" is not a year: give one or more years separated by commas.");
    EXPECT_EQ(readYears("").refusal->subject, "");
    EXPECT_EQ(readYears("2008,").refusal->subject, "");

    // The typed refusal stands where the check of the years would.
    const vec::VectorData data = spread();
    HindcastRequest request = requestOf(data);
    request.years = bad.years;
    request.settings.set(Setting::Threads, "x");
    const Diagnostics found = checkHindcast(request, &bad);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0], *bad.refusal);
    EXPECT_EQ(found[1].kind, DiagnosticKind::BadThreadCount);
}

TEST(HindcastChecks, CandidatesComeInSpeciesListOrderEachOnce) {
    const vec::VectorData data = spread();
    HindcastRequest request = requestOf(data);
    EXPECT_TRUE(hindcastCandidates(request).empty());
    request.targets = std::vector<std::string>{"T", "A", "T"};
    EXPECT_EQ(hindcastCandidates(request), (std::vector<std::string>{"A", "T"}));
    request.targets = std::vector<std::string>{"all"};
    EXPECT_EQ(hindcastCandidates(request), request.species);
    request.targets = std::vector<std::string>{"Tx"};
    EXPECT_THROW(hindcastCandidates(request), engine::RunError);
}

// Each front end's words for a refusal: the batch runner's usage errors are those its option
// parser gives for the same values, the window's a missing target in its own words.
TEST(HindcastChecks, FrontEndWordsKeepTheRefusalsSentence) {
    const vec::VectorData data = spread();
    HindcastRequest request = requestOf(data);
    request.settings.set(Setting::Threads, "0");
    request.targets = std::vector<std::string>{"all"};
    request.rules.minBefore = -2;
    const Diagnostics found = checkHindcast(request);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(batchUsageText(found[0]), "option --threads" + *refusalOf(parameter(Param::Threads), "0", {}));
    EXPECT_EQ(batchUsageText(found[1]),
              "option --hindcast-min-before" + *refusalOf(parameter(Param::HindcastMinBefore), "-2", {}));
    EXPECT_EQ(windowText(found[0]), found[0].text);
    request = requestOf(data);
    request.settings.set(Setting::TargetSpecies, "");
    const Diagnostic missing = checkHindcast(request).at(0);
    EXPECT_EQ(batchUsageText(missing), "option --hindcast needs a target species (-t NAME) or --hindcast-targets");
    EXPECT_EQ(windowText(missing), "A hindcast needs a target species: run a forecast with a target species first.");
}

// One bad input through the batch runner (a process) and the ops layer the window maps:
// the batch runner's usage error is the ops layer's words for the batch runner, and the
// window's message carries the same sentence.
TEST(HindcastChecks, TheBatchRunnerAndTheWindowSayTheSameRefusal) {
    test::TempDir work;
    std::string file = "vector\r\nc\r\nA,B,T,type$,name$,n,x,y\r\n";
    const vec::VectorData data = spread();
    for (std::size_t i = 0; i < data.objects.size(); ++i) {
        for (std::size_t v = 0; v < 3; ++v) file += data.objects[i].values[v] + ",";
        file += "point," + data.objects[i].name + ",1," + std::to_string(i) + ",0\r\n";
    }
    test::writeFile(work / "v.csv", file);
    struct Case {
        std::string options;
        std::function<void(HindcastRequest&)> same;
        std::string sentence;  // what both say after their own name of the value
    };
    const std::vector<Case> cases{{"--threads 0 --hindcast 2004 --hindcast-targets all",
                                   [](HindcastRequest& r) {
                                       r.settings.set(Setting::Threads, "0");
                                       r.targets = std::vector<std::string>{"all"};
                                   },
                                   " takes a whole number from 1 to 256, not \"0\""},
                                  {"--hindcast 2004 --hindcast-targets T,Nobody",
                                   [](HindcastRequest& r) {
                                       r.targets = std::vector<std::string>{"T", "Nobody"};
                                   },
                                   "\"Nobody\" is not among the species analysed"}};
    for (const Case& c : cases) {
        ASSERT_EQ(test::runBatch(work.path(), "--quiet --no-reliability -t T -o log.txt " + c.options + " v.csv"), 2)
            << c.options;
        HindcastRequest request = requestOf(data);
        c.same(request);
        const Diagnostics found = checkHindcast(request);
        ASSERT_EQ(found.size(), 1u) << c.options;
        const std::string told = test::readFile(work / "stderr.txt");
        EXPECT_EQ(told.substr(0, told.find('\n')), "earlylate-batch: " + batchUsageText(found[0]));
        for (const std::string& said : {windowText(found[0]), batchUsageText(found[0])})
            EXPECT_TRUE(said.ends_with(c.sentence)) << said;
    }
}

struct Counting : Feedback {
    std::vector<std::pair<long long, long long>> counts;
    long long stopAfter = -1;  // checkpoints before a Cancelled
    void checkpoint() override {
        if (stopAfter >= 0 && stopAfter-- == 0) throw Cancelled{};
    }
    void progress(ProgressStage stage, long long done, long long total) override {
        if (stage == ProgressStage::Hindcasts) counts.emplace_back(done, total);
    }
};

TEST(HindcastRun, BothBlocksEqualTheEnginesHindcastsAndCountOnAsOne) {
    const vec::VectorData data = spread();
    HindcastRequest request = requestOf(data);
    request.years = {2002, 2004};
    request.targets = std::vector<std::string>{"all"};
    Counting counting;
    const HindcastResult made = hindcast(request, counting);

    Feedback quiet;
    const engine::HindcastRequest base{&data, request.species, "null", request.calculationDate, request.settings};
    const std::vector<engine::HindcastYear> years = engine::runHindcast(base, request.years, quiet);
    engine::AllSpeciesRequest all{base, request.species, request.years, request.rules, 1};
    const engine::AllSpeciesHindcast several = engine::runAllSpeciesHindcast(all, quiet);
    ASSERT_EQ(made.years.size(), 2u);
    for (std::size_t y = 0; y < years.size(); ++y) {
        EXPECT_EQ(made.years[y].ran, years[y].ran);
        EXPECT_EQ(made.years[y].figures.auc, years[y].figures.auc);
        EXPECT_EQ(made.years[y].figures.spearman, years[y].figures.spearman);
    }
    ASSERT_TRUE(made.all);
    ASSERT_EQ(made.all->rows.size(), several.rows.size());
    ASSERT_FALSE(several.rows.empty());
    for (std::size_t r = 0; r < several.rows.size(); ++r) {
        EXPECT_EQ(made.all->rows[r].species, several.rows[r].species);
        EXPECT_EQ(made.all->rows[r].figures.auc, several.rows[r].figures.auc);
    }

    // One count over both blocks: never back, one total, ending at it.
    ASSERT_FALSE(counting.counts.empty());
    const long long total = counting.counts.front().second;
    EXPECT_EQ(total, 2 + static_cast<long long>(several.rows.size()));
    for (std::size_t i = 0; i < counting.counts.size(); ++i) {
        EXPECT_EQ(counting.counts[i].second, total);
        if (i > 0) {
            EXPECT_GE(counting.counts[i].first, counting.counts[i - 1].first);
        }
    }
    EXPECT_EQ(counting.counts.back().first, total);
}

TEST(HindcastRun, ARefusedRequestThrowsItsSentenceAndAStopPassesThrough) {
    const vec::VectorData data = spread();
    HindcastRequest request = requestOf(data);
    request.settings.set(Setting::Threads, "many");
    Feedback quiet;
    try {
        hindcast(request, quiet);
        ADD_FAILURE() << "a bad thread count ran";
    } catch (const engine::RunError& error) {
        EXPECT_EQ(std::string(error.what()), checkHindcast(request).at(0).text);
    }
    request = requestOf(data);
    request.targets = std::vector<std::string>{"all"};
    Counting stopping;
    stopping.stopAfter = 3;
    EXPECT_THROW(hindcast(request, stopping), Cancelled);
}

}  // namespace
}  // namespace el::ops
