// Benchmarks on data shaped like a first-record database (records_shaped_data.hpp): the
// forecast of one target, and the hindcast over every species at one cut-off year. Each
// case reports the process's peak resident memory; scripts/bench runs every case in a
// process of its own.

#include <chrono>
#include <filesystem>

#include <benchmark/benchmark.h>

#include "bench/bench_host.hpp"
#include "bench/peak_memory.hpp"
#include "bench/records_shaped_data.hpp"
#include "engine/hindcast/hindcast_all.hpp"
#include "engine/run/engine.hpp"

namespace el::bench {
namespace {

constexpr double kCutOff = 2000;

std::vector<std::string> speciesOf(const vec::VectorData& data) {
    return {data.valname.begin(), data.valname.begin() + data.valn()};
}

vec::VectorData shapedData(const benchmark::State& state) {
    return makeRecordsShapedData({static_cast<int>(state.range(0)), static_cast<int>(state.range(1))});
}

// One report-mode forecast of "Target" with the start-up settings but the trials (regions,
// species, threads).
void BM_RecordsForecast(benchmark::State& state) {
    const vec::VectorData data = shapedData(state);
    state.counters["in_15_or_more"] = speciesInAtLeast(data, 15);
    for (auto _ : state) {
        BenchHost host;
        host.values.set(Setting::TargetSpecies, "Target");
        host.values.set(Setting::DoReliability, "0");
        host.values.set(Setting::Threads, std::to_string(state.range(2)));
        engine::Engine engine;
        engine::RunRequest request;
        request.data = &data;
        request.species = speciesOf(data);
        request.sourceFile = "records.csv";
        request.calculationDate = "12-07-2026";
        request.workDir = std::filesystem::temp_directory_path();
        const auto result = engine.run(request, host.hooks());
        if (result.status != engine::RunStatus::Completed) state.SkipWithError("the run did not complete");
        state.counters["log_lines"] = static_cast<double>(host.logLines);
    }
    state.counters["peak_rss_MB"] = peakRssMegabytes();
}

// The hindcast over every eligible species at one cut-off year (regions, species, threads,
// at most this many species-years: 0 all of them; a limit projects the time of all).
void BM_RecordsHindcastAll(benchmark::State& state) {
    const vec::VectorData data = shapedData(state);
    engine::AllSpeciesRequest request;
    request.base.data = &data;
    request.base.species = speciesOf(data);
    request.base.calculationDate = "12-07-2026";
    request.base.settings.set(Setting::DoReliability, "0");
    request.years = {kCutOff};
    request.threads = static_cast<int>(state.range(2));
    std::size_t eligible = 0;
    for (const std::string& name : request.base.species)
        if (engine::eligibleAt(data, name, kCutOff, request.rules)) {
            ++eligible;
            if (state.range(3) == 0 || static_cast<long long>(request.targets.size()) < state.range(3))
                request.targets.push_back(name);
        }
    engine::AllSpeciesHindcast result;
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        BenchHost host;
        result = engine::runAllSpeciesHindcast(request, host.quiet);
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    long long stopped = 0;
    for (const auto& row : result.rows) stopped += row.ran ? 0 : 1;
    state.counters["species_years"] = static_cast<double>(result.rows.size());
    state.counters["eligible"] = static_cast<double>(eligible);
    state.counters["stopped"] = static_cast<double>(stopped);
    state.counters["all_s"] =
        result.rows.empty() ? 0 : seconds * static_cast<double>(eligible) / static_cast<double>(result.rows.size());
    state.counters["peak_rss_MB"] = peakRssMegabytes();
}

// Regions, species, threads.
BENCHMARK(BM_RecordsForecast)
    ->Args({45, 12000, 2})
    ->Args({225, 20000, 2})
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
// Regions, species, threads, species-years at most.
BENCHMARK(BM_RecordsHindcastAll)
    ->Args({45, 12000, 2, 0})
    ->Args({45, 12000, 1, 0})
    ->Args({225, 20000, 2, 0})
    ->Args({45, 12000, 2, 4})
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

}  // namespace
}  // namespace el::bench
