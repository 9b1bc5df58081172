#pragma once
// An occurrence download as GBIF delivers one in its simple-CSV layout: a zip holding one
// KEY.csv, tab-separated, the 50 columns GBIF writes, no quoting (some localities hold a
// quote character), and the rows a real download has beside the first records of wild
// populations: absences, fossil and living specimens, genus-only rows, rows without
// coordinates or without a date. Points fall over the whole globe, most of them on land
// of the benchmark's outlines (synthetic_outlines.hpp).

#include <cstdint>
#include <filesystem>

namespace el::bench {

// The file for `rows` data lines in the temporary folder, written there when it is not
// yet (the same bytes for every call), so that the benchmark times only the reading.
std::filesystem::path cachedGbifDownload(std::int64_t rows);

// Writes the download to `zip` (replacing it).
void writeGbifDownload(const std::filesystem::path& zip, std::int64_t rows);

}  // namespace el::bench
