// The records import of a GBIF download as users get one (gbif_download.hpp): the zip read
// in place, every line checked, the rows that are no first record set aside, the points
// placed into 300 country-like outlines and reduced to the earliest record of each region
// and species, and the data set built. The files are made once and kept in the temporary
// folder; the case times the import alone and reports the process's peak memory, which
// must not grow with the number of rows (scripts/bench runs each row count in a process
// of its own).

#include <filesystem>

#include <benchmark/benchmark.h>

#include "bench/gbif_download.hpp"
#include "bench/peak_memory.hpp"
#include "bench/synthetic_outlines.hpp"
#include "gis/records_import.hpp"

namespace el::bench {
namespace {

std::filesystem::path cachedOutlines() {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "earlylate-bench-downloads";
    const std::filesystem::path file = folder / "outlines-300-v1.gpkg";
    if (std::filesystem::exists(file)) return file;
    std::filesystem::create_directories(folder);
    const std::filesystem::path partial = folder / "writing-outlines.gpkg";
    std::filesystem::remove(partial);
    writeOutlines(partial, {});
    std::filesystem::rename(partial, file);
    return file;
}

// Rows of the download, threads.
void BM_GbifDownloadImport(benchmark::State& state) {
    vec::RecordsSource source;
    source.threads = static_cast<int>(state.range(1));
    source.occurrences = cachedGbifDownload(state.range(0));
    source.regions = cachedOutlines();
    source.dropUnmatched = true;
    state.counters["zip_MB"] = static_cast<double>(std::filesystem::file_size(source.occurrences)) / 1e6;
    state.counters["rss_before_MB"] = peakRssMegabytes();
    for (auto _ : state) {
        Feedback quiet;
        const vec::ImportedRecords imported = gis::importRecords(source, quiet);
        state.counters["regions"] = static_cast<double>(imported.built.data.objn());
        state.counters["first_records"] = static_cast<double>(imported.built.records);
        benchmark::DoNotOptimize(imported.built.records);
    }
    state.counters["peak_rss_MB"] = peakRssMegabytes();
}

BENCHMARK(BM_GbifDownloadImport)
    ->Args({1000000, 2})
    ->Args({5000000, 2})
    ->Args({5000000, 1})
    ->Unit(benchmark::kSecond)
    ->Iterations(1);

}  // namespace
}  // namespace el::bench
