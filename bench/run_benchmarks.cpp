// Benchmarks of the work users wait for: whole runs at realistic sizes on one thread and on
// two, the Read step, and the power iteration beside the machine's plain copy bandwidth.
// Each case reports the process's peak resident memory; scripts/bench runs every case in
// its own process so the figure belongs to that case alone. Times are wall times; the CPU
// column counts every thread of the process.

#include <chrono>
#include <filesystem>
#include <fstream>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/bench_host.hpp"
#include "bench/pass_bytes.hpp"
#include "bench/peak_memory.hpp"
#include "bench/synthetic_data.hpp"
#include "engine/kernels/eigenvector.hpp"
#include "engine/run/engine.hpp"
#include "engine/hindcast/hindcast_all.hpp"
#include "vector/vector_file.hpp"

namespace el::bench {
namespace {

constexpr double kGridPasses = 200.0 * 200.0;

std::vector<std::string> allSpecies(const vec::VectorData& data) {
    return {data.valname.begin(), data.valname.begin() + data.valn()};
}

struct RunCase {
    bool trials = false;
    bool examineWeight = false;
    long long passLimit = 0;  // examine-weight: stop after this many passes (0: all)
};

// The data set of a run case: regions x species (ranges 0 and 1).
vec::VectorData caseData(const benchmark::State& state) {
    return makeInvasionData({static_cast<int>(state.range(0)), static_cast<int>(state.range(1))});
}

// One run per iteration on `data` with range 2 threads; returns the wall time of the last
// run in seconds.
double runOnce(benchmark::State& state, const vec::VectorData& data, const RunCase& run) {
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        BenchHost host;
        host.values.set(Setting::TargetSpecies, "Target");
        host.values.set(Setting::DoReliability, run.trials ? "1" : "0");
        host.values.set(Setting::ExamineWeight, run.examineWeight ? "1" : "0");
        host.values.set(Setting::Threads, std::to_string(state.range(2)));
        host.quiet.passLimit = run.passLimit;
        engine::Engine engine;
        engine::RunRequest request;
        request.data = &data;
        request.species = allSpecies(data);
        request.sourceFile = "synthetic.csv";
        request.calculationDate = "12-06-2026";
        request.workDir = std::filesystem::temp_directory_path();
        const auto result = engine.run(request, host.hooks());
        const bool stoppedAtLimit = run.passLimit > 0 && result.status == engine::RunStatus::Cancelled;
        if (result.status != engine::RunStatus::Completed && !stoppedAtLimit) state.SkipWithError("the run did not complete");
        benchmark::DoNotOptimize(host.logLines);
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    state.counters["peak_rss_MB"] = peakRssMegabytes();
    return seconds;
}

// An examine-weight run (all 40,000 passes, or its first passes projected to all), with the
// time per pass beside the time its memory traffic alone would take.
void examineWeight(benchmark::State& state, long long passLimit) {
    const vec::VectorData data = caseData(state);
    const double seconds = runOnce(state, data, {false, true, passLimit});
    const double passes = passLimit > 0 ? static_cast<double>(passLimit) : kGridPasses;
    // The setting up of the run counted in, so the projection errs on the long side.
    state.counters["grid_min"] = seconds * kGridPasses / passes / 60;
    state.counters["ms_pass"] = seconds / passes * 1e3;
    const PassTraffic traffic = examineWeightTraffic(data);
    const double bandwidth = copyBandwidth();
    state.counters["passes"] = passes;
    state.counters["pass_MB"] = traffic.bytes / 1e6;
    state.counters["products"] = traffic.products;
    state.counters["copy_GBps"] = bandwidth / 1e9;
    state.counters["floor_ms_pass"] = traffic.bytes / bandwidth * 1e3;
}

void BM_ReportRunWithTrials(benchmark::State& state) { runOnce(state, caseData(state), {true, false, 0}); }
void BM_ReportRunWithoutTrials(benchmark::State& state) { runOnce(state, caseData(state), {false, false, 0}); }
void BM_ExamineWeightRun(benchmark::State& state) { examineWeight(state, 0); }
// The first 400 passes; the whole grid takes about 100 times as long (the 8-thread case is
// there for its peak memory).
void BM_ExamineWeightFirst400(benchmark::State& state) { examineWeight(state, 400); }

void BM_ReadStep(benchmark::State& state) {
    const auto dir = std::filesystem::temp_directory_path() / "earlylate-bench-read";
    std::filesystem::create_directories(dir);
    const auto file = dir / "regions.csv";
    {
        const vec::VectorData data =
            makeInvasionData({static_cast<int>(state.range(0)), 20, static_cast<int>(state.range(1))});
        std::ofstream out(file, std::ios::binary);
        writeVectorFile(data, out);  // streamed, so the file's text never sits in memory here
    }
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    for (auto _ : state) {
        BenchHost host;
        const vec::ReadOutcome outcome = vec::readVectorFile(file, "null", host.readHooks(), {});
        if (outcome.erf != 0) state.SkipWithError("the read failed");
        benchmark::DoNotOptimize(outcome.data.objects.data());
    }
    std::filesystem::current_path(previous);
    const double fileMegabytes = static_cast<double>(std::filesystem::file_size(file)) / (1024.0 * 1024.0);
    state.counters["file_MB"] = fileMegabytes;
    state.counters["peak_rss_MB"] = peakRssMegabytes();
    state.counters["peak_per_file"] = peakRssMegabytes() / fileMegabytes;
    std::filesystem::remove_all(dir);
}

// One eigenvector of an n x n early-late-like matrix; reports the bandwidth of streaming the
// matrix once per iteration.
void BM_PowerIteration(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    engine::SquareMatrix matrix(n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) matrix(i, j) = i == j ? 2.0 : (i < j ? 1.0 + 0.9 * (j - i) / n : 3.0 - 0.9 * (i - j) / n);
    engine::PowerIteration power;
    std::vector<double> vector;
    BenchHost host;
    std::int64_t products = 0;
    for (auto _ : state) {
        products += power.eigenvector(matrix, vector, host.quiet).iterations;
        benchmark::DoNotOptimize(vector.data());
    }
    const double matrixBytes = static_cast<double>(n) * n * 8;
    state.counters["matrix_MB"] = matrixBytes / 1e6;
    state.counters["iterations"] = static_cast<double>(products) / static_cast<double>(state.iterations());
    // The matrix streamed once per product, as read bandwidth beside the copy's read + write.
    state.SetBytesProcessed(static_cast<std::int64_t>(matrixBytes * static_cast<double>(products)));
}

// The copy bandwidth the examine-weight cases set their floors against, as the time of one
// copy (the best of copyBandwidth's) and its read and write per second.
void BM_MemoryCopy(benchmark::State& state) {
    const auto bytes = static_cast<double>(kCopyBytes);
    for (auto _ : state) state.SetIterationTime(2.0 * bytes / copyBandwidth());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(kCopyBytes) * 2);
}

// A hindcast over every species at `years` cut-off years (range 2) on range 3 threads, the
// fluctuation trials included as a normal run makes them. The species start within ten
// years of each other (four on a small map, where they stop spreading within 12 to 18
// years), so that many are eligible at the cut-offs; "species_years" counts those run.
void BM_AllSpeciesHindcast(benchmark::State& state) {
    const bool small = state.range(0) < 100;
    const vec::VectorData data =
        makeInvasionData({static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), 4, 20261206,
                          small ? 4.0 : 10.0, small ? 12.0 : 20.0, small ? 6.0 : 60.0});
    const std::vector<double> cutoffs = small ? std::vector<double>{1910, 1908, 1912} : std::vector<double>{1930};
    engine::AllSpeciesRequest request;
    request.base.data = &data;
    request.base.species = allSpecies(data);
    request.base.calculationDate = "12-06-2026";
    request.targets = request.base.species;
    request.years.assign(cutoffs.begin(), cutoffs.begin() + state.range(2));
    request.threads = static_cast<int>(state.range(3));
    engine::AllSpeciesHindcast result;
    for (auto _ : state) {
        BenchHost host;
        result = engine::runAllSpeciesHindcast(request, host.quiet);
    }
    long long stopped = 0;
    for (const auto& row : result.rows) stopped += row.ran ? 0 : 1;
    state.counters["species_years"] = static_cast<double>(result.rows.size());
    state.counters["stopped"] = static_cast<double>(stopped);
    state.counters["peak_rss_MB"] = peakRssMegabytes();
}

// Regions, species, threads.
BENCHMARK(BM_ExamineWeightRun)->Args({500, 25, 1})->Args({500, 25, 2})->Unit(benchmark::kSecond)->Iterations(1)
    ->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_ExamineWeightFirst400)->Args({3000, 30, 1})->Args({3000, 30, 2})->Args({3000, 30, 8})->Unit(benchmark::kSecond)
    ->Iterations(1)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_ReportRunWithTrials)->Args({500, 25, 2})->Args({3000, 30, 1})->Args({3000, 30, 2})
    ->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_ReportRunWithoutTrials)->Args({3000, 30, 1})->Args({3000, 30, 2})->Unit(benchmark::kSecond)
    ->Iterations(1)->UseRealTime()->MeasureProcessCPUTime();
// Regions, species, years, threads.
BENCHMARK(BM_AllSpeciesHindcast)->Args({42, 43, 3, 1})->Args({42, 43, 3, 2})->Args({3142, 30, 1, 2})
    ->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_ReadStep)->Args({3000, 200})->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PowerIteration)->Arg(500)->Arg(3000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemoryCopy)->Unit(benchmark::kMillisecond)->Iterations(1)->UseManualTime();

}  // namespace
}  // namespace el::bench

BENCHMARK_MAIN();
