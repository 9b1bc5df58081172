#pragma once
// The bundled sample, copied into a test's folder.

#include <filesystem>

namespace el::test {

inline const std::filesystem::path kSampleFile = std::filesystem::path(EARLYLATE_SOURCE_DIR) / "data" / "sample.csv";

// Copies the sample into `folder` as sample.csv; its path there.
inline std::filesystem::path copySample(const std::filesystem::path& folder) {
    const std::filesystem::path copy = folder / "sample.csv";
    std::filesystem::copy_file(kSampleFile, copy);
    return copy;
}

}  // namespace el::test
