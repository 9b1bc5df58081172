#pragma once
// Writing the log to a text file as "Save log" does: every line exactly as shown, each ended by
// CR LF, the file replaced whole (base/file_replace.hpp).

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace el {

// Creates or replaces `file` with the lines. Returns the reason when the file cannot be
// written completely, nothing on success.
std::optional<std::string> writeLogFile(const std::filesystem::path& file, const std::vector<std::string>& lines);

// The message shown when "Save log" fails.
std::string logFileFailureMessage(const std::string& fileName, const std::string& reason);

}  // namespace el
