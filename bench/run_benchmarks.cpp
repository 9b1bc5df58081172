// Benchmarks of the work users wait for: whole runs at realistic sizes, the Read step, and
// the power iteration beside the machine's plain copy bandwidth. Each case reports the
// process's peak resident memory; scripts/bench runs every case in its own process so the
// figure belongs to that case alone.

#include <sys/resource.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/bench_host.hpp"
#include "bench/synthetic_data.hpp"
#include "engine/eigenvector.hpp"
#include "engine/engine.hpp"
#include "vector/vector_file.hpp"

namespace el::bench {
namespace {

double peakRssMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in kilobytes
}

std::vector<std::string> allSpecies(const VectorData& data) {
    return {data.valname.begin(), data.valname.begin() + data.valn()};
}

void runOnce(benchmark::State& state, bool trials, bool examineWeight) {
    const VectorData data = makeInvasionData({static_cast<int>(state.range(0)), static_cast<int>(state.range(1))});
    for (auto _ : state) {
        BenchHost host;
        host.values.set(Setting::TargetSpecies, "Target");
        host.values.set(Setting::DoReliability, trials ? "1" : "0");
        host.values.set(Setting::ExamineWeight, examineWeight ? "1" : "0");
        engine::Engine engine;
        engine::RunRequest request;
        request.data = &data;
        request.species = allSpecies(data);
        request.sourceFile = "synthetic.csv";
        request.calculationDate = "12-06-2026";
        request.workDir = std::filesystem::temp_directory_path();
        const auto result = engine.run(request, host.hooks());
        if (result.status != engine::RunStatus::Completed) state.SkipWithError("the run did not complete");
        benchmark::DoNotOptimize(host.logLines);
    }
    state.counters["peak_rss_MB"] = peakRssMegabytes();
}

void BM_ReportRunWithTrials(benchmark::State& state) { runOnce(state, true, false); }
void BM_ReportRunWithoutTrials(benchmark::State& state) { runOnce(state, false, false); }
void BM_ExamineWeightRun(benchmark::State& state) { runOnce(state, false, true); }

void BM_ReadStep(benchmark::State& state) {
    const auto dir = std::filesystem::temp_directory_path() / "earlylate-bench-read";
    std::filesystem::create_directories(dir);
    const auto file = dir / "regions.csv";
    {
        const VectorData data = makeInvasionData(
            {static_cast<int>(state.range(0)), 20, static_cast<int>(state.range(1))});
        std::ofstream out(file, std::ios::binary);
        writeVectorFile(data, out);  // streamed, so the file's text never sits in memory here
    }
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    for (auto _ : state) {
        BenchHost host;
        const ReadOutcome outcome = readVectorFile(file, "null", host.readHooks());
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
        power.eigenvector(matrix, vector, host.quiet);
        products += power.lastIterations();
        benchmark::DoNotOptimize(vector.data());
    }
    const double matrixBytes = static_cast<double>(n) * n * 8;
    state.counters["matrix_MB"] = matrixBytes / 1e6;
    state.counters["iterations"] = static_cast<double>(products) / static_cast<double>(state.iterations());
    // The matrix streamed once per product, as read bandwidth beside the copy's read + write.
    state.SetBytesProcessed(static_cast<std::int64_t>(matrixBytes * static_cast<double>(products)));
}

void BM_MemoryCopy(benchmark::State& state) {
    const std::size_t bytes = static_cast<std::size_t>(state.range(0)) << 20;
    std::vector<char> from(bytes, 1), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes) * 2);
}

BENCHMARK(BM_ReportRunWithTrials)->Args({500, 25})->Args({3000, 30})->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_ReportRunWithoutTrials)->Args({3000, 30})->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_ExamineWeightRun)->Args({100, 15})->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_ReadStep)->Args({3000, 200})->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PowerIteration)->Arg(500)->Arg(3000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemoryCopy)->Arg(256)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace el::bench

BENCHMARK_MAIN();
