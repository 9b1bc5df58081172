// The occurrence import at the size of a large download: a million points placed in 300
// country-like outlines and reduced to the earliest record of each region and species.
// The files are made once, outside the timing; reading the outlines (validity repair,
// prepared geometries, envelope grid) is timed apart from the placement.

#include <chrono>
#include <filesystem>

#include <benchmark/benchmark.h>

#include "bench/peak_memory.hpp"
#include "bench/synthetic_outlines.hpp"
#include "gis/occurrences.hpp"

namespace el::bench {
namespace {

struct OccurrenceFiles {
    std::filesystem::path folder = std::filesystem::temp_directory_path() / "earlylate-bench-occurrences";
    std::filesystem::path outlines = folder / "countries.gpkg";
    std::filesystem::path points = folder / "points.tsv";

    explicit OccurrenceFiles(long long pointCount) {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        writeOutlines(outlines, {});
        writeOccurrences(points, pointCount);
    }
    ~OccurrenceFiles() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    OccurrenceFiles(const OccurrenceFiles&) = delete;
    OccurrenceFiles& operator=(const OccurrenceFiles&) = delete;
};

void BM_OccurrencePlacement(benchmark::State& state) {
    const OccurrenceFiles files(state.range(0));
    gis::OccurrenceResult result;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const gis::RegionsLayer regions = gis::readRegionsLayer(files.outlines, "", "");
        state.counters["outlines_s"] = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        Feedback quiet;
        result = gis::placeOccurrences(files.points, regions, {}, quiet);
        benchmark::DoNotOptimize(result.records.data());
    }
    state.counters["placed"] = static_cast<double>(result.placed);
    state.counters["outside"] = static_cast<double>(result.outside);
    state.counters["records"] = static_cast<double>(result.records.size());
    state.counters["peak_rss_MB"] = peakRssMegabytes();
}

BENCHMARK(BM_OccurrencePlacement)->Arg(1000000)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
}  // namespace el::bench
