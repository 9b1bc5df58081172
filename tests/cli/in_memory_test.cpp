// The core works in memory: a Read and a run write nothing but the outputs a user asked
// for or that the tool's texts name, and two files read and run at the same time in two
// threads of one process give the logs (and written-back sources) of two batch runs.

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "base/calc_date.hpp"
#include "cli/batch_options.hpp"
#include "engine/run/engine.hpp"
#include "gis/read_source.hpp"
#include "tests/cli/batch_process.hpp"
#include "tests/support/recording_host.hpp"
#include "tests/support/run_batch.hpp"
#include "tests/support/sample_file.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::test {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

const std::string kTiny = "vector,c\r\nsp1,sp2,type$,name$,n,x,y\r\n1990,1991,point,A,1,0,0\r\n"
                          "1995,1993,point,B,1,1,0\r\n2000,1999,point,C,1,0,1\r\n";

TEST(WorkingDirectory, AReadAndARunLeaveOnlyTheOutputsTheUserAskedFor) {
    TempDir dir;
    copySample(dir.path());
    const std::string original = readFile(dir / "sample.csv");
    const Names always{"sample.csv", "stderr.txt", "stdout.txt"};

    ASSERT_EQ(runBatch(dir.path(), "-t Invader sample.csv"), 0) << readFile(dir / "stderr.txt");
    EXPECT_EQ(filesIn(dir.path()), always);
    ASSERT_EQ(runBatch(dir.path(), "-t Invader --no-reliability --add-prediction sample.csv"), 0);
    EXPECT_EQ(filesIn(dir.path()), always);
    EXPECT_NE(readFile(dir / "sample.csv"), original);

    // The weight-test file of an examine-weight run (on three regions, to be quick) and the
    // log of -o are outputs the user asked for.
    writeFile(dir / "tiny.csv", kTiny);
    ASSERT_EQ(runBatch(dir.path(), "--examine-weight -t sp2 -o log.csv tiny.csv"), 0) << readFile(dir / "stderr.txt");
    EXPECT_EQ(filesIn(dir.path()), (Names{"WeightTestsp2.csv", "log.csv", "sample.csv",
                                          "stderr.txt", "stdout.txt", "tiny.csv"}));

    // A failed scan leaves its side log, which names the normalised copy the scan read.
    writeFile(dir / "bad.csv", "vector,c\r\nsp1,name$,n\r\n");
    EXPECT_EQ(runBatch(dir.path(), "bad.csv"), 1);
    EXPECT_TRUE(readFile(dir / "VectorFileSize.log").starts_with("Filename: temp1.tmp\r\n"));
    EXPECT_EQ(filesIn(dir.path()), (Names{"VectorFileSize.log", "WeightTestsp2.csv", "bad.csv", "log.csv", "sample.csv",
                                          "stderr.txt", "stdout.txt", "tiny.csv"}));
}

struct ThreadRun {
    std::vector<std::string> log;
    std::vector<std::string> messages;
    engine::RunStatus status = engine::RunStatus::Stopped;
};

// What the batch runner does with `args` (the file last), but in memory and in this thread.
ThreadRun readAndRun(const fs::path& file, std::vector<std::string> args) {
    args.push_back(file.string());
    batch::ParseResult parsed = batch::parseCommandLine(args);
    EXPECT_TRUE(parsed.options) << parsed.error;
    ThreadRun result;
    if (!parsed.options) return result;
    SettingValues& settings = parsed.options->values;
    settings.set(Setting::DataFileName, file.filename().string());
    RecordingHost host;
    const SourceReadOutcome read = readSourceFile(file, "null", {settings, host, host}, {});
    EXPECT_EQ(read.read.erf, 0);

    engine::RunRequest request;
    request.data = &read.read.data;
    const auto& names = read.read.data.valname;
    request.species = parsed.options->speciesList ? batch::splitSpecies(*parsed.options->speciesList)
                                                   : Names(names.begin(), names.begin() + read.read.data.valn());
    request.sourceFile = file;
    request.calculationDate = formatUtcDate(1796428800);
    request.workDir = file.parent_path();
    engine::Engine engine;
    result.status = engine.run(request, {settings, host, host, host}).status;
    result.log = host.log;
    result.messages = host.messages;
    return result;
}

std::string asLogFile(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

TEST(ConcurrentRuns, TwoFilesInTwoThreadsGiveTheBatchRunnersLogs) {
    TempDir threads, batch;
    const std::string regions = randomRegions(300, 20, 3);
    for (const TempDir* dir : {&threads, &batch}) {
        copySample(dir->path());
        writeFile(*dir / "regions.csv", regions);
    }
    const std::vector<std::string> sampleArgs{"-t", "Invader", "--iterations", "40"};
    const std::vector<std::string> regionArgs{"--no-reliability", "--add-prediction"};

    ThreadRun sample, grid;
    std::thread first([&] { sample = readAndRun(threads / "sample.csv", sampleArgs); });
    std::thread second([&] { grid = readAndRun(threads / "regions.csv", regionArgs); });
    first.join();
    second.join();

    // The messages, as the batch runner shows them.
    const auto shown = [](const ThreadRun& run) {
        std::string text;
        for (const auto& message : run.messages) text += "earlylate: " + message + "\n";
        return text;
    };
    ASSERT_EQ(runBatch(batch.path(), "-t Invader --iterations 40 -o sample.log sample.csv"), 0);
    EXPECT_EQ(shown(sample), readFile(batch / "stderr.txt"));
    ASSERT_EQ(runBatch(batch.path(), "--no-reliability --add-prediction -o regions.log regions.csv"), 0);
    EXPECT_EQ(shown(grid), readFile(batch / "stderr.txt"));
    EXPECT_EQ(sample.status, engine::RunStatus::Completed);
    EXPECT_EQ(grid.status, engine::RunStatus::Completed);
    EXPECT_EQ(asLogFile(sample.log), readFile(batch / "sample.log"));
    EXPECT_EQ(asLogFile(grid.log), readFile(batch / "regions.log"));
    EXPECT_EQ(readFile(threads / "regions.csv"), readFile(batch / "regions.csv"));
    EXPECT_NE(readFile(threads / "regions.csv"), regions);
    EXPECT_EQ(filesIn(threads.path()), (Names{"regions.csv", "sample.csv"}));
}

}  // namespace
}  // namespace el::test
