#pragma once
// Files written whole: the bytes go to FILE.part beside FILE, which is then renamed over
// FILE, so a reader never sees half a figure or report.

#include <filesystem>
#include <string>

namespace el::figures {

// False when the file could not be written; no .part file is left behind then.
bool writeWholeFile(const std::filesystem::path& file, const std::string& bytes);

}  // namespace el::figures
