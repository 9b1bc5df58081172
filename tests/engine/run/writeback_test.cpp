#include "engine/run/writeback.hpp"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>

#include "engine/model/run_error.hpp"
#include "tests/support/error_text.hpp"
#include "tests/support/recording_host.hpp"
#include "tests/support/temp_dir.hpp"
#include "vector/vector_file.hpp"

namespace el::engine {
namespace {

namespace fs = std::filesystem;
using test::crlf;
using test::filesIn;
using test::readFile;

const std::string kSource = crlf({
    "vector",
    "Three regions",
    "SpA,Xus,type$,name$,count,x1,y1,x2,y2,x3,y3",
    "1990,2010,polygon,P1,3,0,0,1,0,1,1",
    ",2012,point,P2,1,0.5,0.5",
    "1995,NotYetArrived,polygon,P3,3,2,0,3,0,3,1",
});

// Regions P1 and P3 used, P2 excluded; SpA predictable, Xus not.
PredictionColumns columnsForSample() {
    PredictionColumns c;
    c.regionviable = {4, 1, 4};
    c.used.regno = {0, 2};
    c.used.name = {"P1", "P3"};
    c.score = {0.25, 0.75};
    c.speciesNames = {"SpA", "Xus"};
    c.table = {{" 1990", " 1995"}, {"Unpredictable", "Unpredictable"}};
    return c;
}

// The source with the prediction of columnsForSample() added.
const std::string kWritten = crlf({
    "vector",
    "Three regions",
    "SpA,Xus,Number of viable pairs of early-late relation,Relative infestation date,Predicted_SpA,"
    "Predicted_Xus,type$,name$,count,x1,y1,x2,y2,x3,y3",
    "1990,2010,4,0.25, 1990,Unpredictable,polygon,P1, 3 , 0 , 0 , 1 , 0 , 1 , 1 ",
    ",2012,1,,,,point,P2, 1 , .5 , .5 ",
    "1995,NotYetArrived,4,0.75, 1995,Unpredictable,polygon,P3, 3 , 2 , 0 , 3 , 0 , 3 , 1 ",
});

class WriteBack : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dataFolder);
        test::writeFile(source, kSource);
        const vec::ReadOutcome read = vec::readVectorFile(source, "null", host, {});
        ASSERT_EQ(read.erf, 0) << (host.messages.empty() ? "" : host.messages.front());
        loaded = read.data;
    }

    test::TempDir work;
    fs::path dataFolder = work / "data";
    fs::path source = dataFolder / "sample.csv";
    test::RecordingHost host;
    vec::VectorData loaded;
};

TEST_F(WriteBack, AddsTheNewVariablesToTheSourceFile) {
    std::vector<WriteBackStep> steps;
    addPredictionToSource(loaded, columnsForSample(), "null", source, host,
                          [&](WriteBackStep step) { steps.push_back(step); });
    EXPECT_EQ(readFile(source), kWritten);
    EXPECT_EQ(steps.size(), 8u);
    EXPECT_EQ(steps.back(), WriteBackStep::FolderSynced);
    EXPECT_GE(host.yields, 6);  // one per line at least
    EXPECT_EQ(filesIn(work.path()), (std::vector<std::string>{"data"}));
    EXPECT_EQ(filesIn(dataFolder), (std::vector<std::string>{"sample.csv"}));
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(WriteBack, KeepsPermissionsAndLinks) {
    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(source, mode);
    const fs::path link = work / "link.csv";
    std::error_code linkError;
    fs::create_symlink(source, link, linkError);
    if (linkError) GTEST_SKIP() << "no symbolic link can be made here: " << linkError.message();
    addPredictionToSource(loaded, columnsForSample(), "null", link, host);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readFile(source), kWritten);
    EXPECT_EQ(fs::status(source).permissions(), mode);
}

// The write-back stopped after each of its steps in turn, as a crash there would stop it:
// the source is whole, the old bytes up to the rename and the new ones after it, and no
// temporary file is left beside it.
TEST_F(WriteBack, StoppedAfterAnyStepLeavesTheSourceWholeAndNothingElse) {
    for (int stopAt = static_cast<int>(WriteBackStep::Encoded); stopAt <= static_cast<int>(WriteBackStep::FolderSynced);
         ++stopAt) {
        SCOPED_TRACE(stopAt);
        test::writeFile(source, kSource);
        const auto stop = [&](WriteBackStep step) {
            if (static_cast<int>(step) == stopAt) throw std::runtime_error("disk full");
        };
        EXPECT_EQ(test::errorText<RunError>(
                      [&] { addPredictionToSource(loaded, columnsForSample(), "null", source, host, stop); }),
                  "The prediction could not be added to " + source.string() + ": disk full");
        const bool replaced = stopAt >= static_cast<int>(WriteBackStep::Renamed);
        EXPECT_EQ(readFile(source), replaced ? kWritten : kSource);
        EXPECT_EQ(filesIn(dataFolder), (std::vector<std::string>{"sample.csv"}));
    }
    EXPECT_EQ(filesIn(work.path()), (std::vector<std::string>{"data"}));
}

// The process killed (SIGKILL, nothing unwound) after each step of the write-back in turn:
// the source is the old bytes up to the rename and the new ones after it, never a mixture;
// what a kill leaves beside it is at most the one temporary file, and it does not stand in
// the way of the next write-back.
TEST_F(WriteBack, KilledAfterAnyStepLeavesTheSourceWhole) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no fork(): the write-back stopped after each step (the test above) stands for it";
#else
    for (int killAt = static_cast<int>(WriteBackStep::Encoded); killAt <= static_cast<int>(WriteBackStep::FolderSynced);
         ++killAt) {
        SCOPED_TRACE(killAt);
        test::writeFile(source, kSource);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            try {
                addPredictionToSource(loaded, columnsForSample(), "null", source, host, [&](WriteBackStep step) {
                    if (static_cast<int>(step) == killAt) ::raise(SIGKILL);
                });
            } catch (...) {
                ::_exit(2);
            }
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "status " << status;
        const bool replaced = killAt >= static_cast<int>(WriteBackStep::Renamed);
        EXPECT_EQ(readFile(source), replaced ? kWritten : kSource);
        const auto left = filesIn(dataFolder);
        EXPECT_LE(left.size(), 2u);
        EXPECT_NE(std::find(left.begin(), left.end(), "sample.csv"), left.end());
        for (const auto& name : left)
            if (name != "sample.csv") fs::remove(dataFolder / name);
    }
    test::writeFile(source, kSource);
    addPredictionToSource(loaded, columnsForSample(), "null", source, host);
    EXPECT_EQ(readFile(source), kWritten);
#endif
}

TEST_F(WriteBack, WhatCannotBeWrittenStopsBeforeTheSource) {
    vec::VectorData broken = loaded;
    broken.objects[0].parts.clear();  // a polygon without its node list
    EXPECT_EQ(test::errorText<RunError>([&] { addPredictionToSource(broken, columnsForSample(), "null", source, host); }),
              "The prediction could not be added to " + source.string() +
                  ": the data set's arrays do not match its sizes");
    EXPECT_EQ(readFile(source), kSource);
    EXPECT_EQ(filesIn(dataFolder), (std::vector<std::string>{"sample.csv"}));

    // A source in a folder that does not exist: nothing is created anywhere.
    const fs::path lost = work / "gone" / "sample.csv";
    EXPECT_THROW(addPredictionToSource(loaded, columnsForSample(), "null", lost, host), RunError);
    EXPECT_EQ(filesIn(work.path()), (std::vector<std::string>{"data"}));
}

TEST_F(WriteBack, CopyLeavesTheLoadedDataAloneAndColumnsThatDoNotFitAreRefused) {
    const vec::VectorData copy = withPrediction(loaded, columnsForSample(), "null");
    EXPECT_EQ(copy.objects[1].values, (std::vector<std::string>{"null", "2012", "1", "null", "null", "null"}));
    EXPECT_EQ(loaded.valn(), 2);
    EXPECT_EQ(loaded.objects[0].values.size(), 2u);

    auto columns = columnsForSample();
    columns.table[1].pop_back();
    EXPECT_THROW(withPrediction(loaded, columns, "null"), RunError);
    columns = columnsForSample();
    columns.used.regno[1] = 3;
    EXPECT_THROW(addPredictionToSource(loaded, columns, "null", source, host), RunError);
    EXPECT_EQ(readFile(source), kSource);
}

}  // namespace
}  // namespace el::engine
