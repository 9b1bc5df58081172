#include "base/log_file.hpp"

#include "base/file_replace.hpp"

namespace el {

std::optional<std::string> writeLogFile(const std::filesystem::path& file, const std::vector<std::string>& lines) {
    if (file.empty()) return std::string("no file name given");
    std::error_code ec;
    if (std::filesystem::is_directory(file, ec)) return std::string("it is a folder");
    std::string text;
    for (const auto& line : lines) text.append(line).append("\r\n");
    return replaceFile(file, text);
}

std::string logFileFailureMessage(const std::string& fileName, const std::string& reason) {
    return "The log could not be saved to \"" + fileName + "\": " + reason;
}

}  // namespace el
