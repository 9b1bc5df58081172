#include "base/log_file.hpp"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace el {
namespace {

std::string lastSystemError() {
    const int code = errno;
    return code != 0 ? std::string(std::strerror(code)) : std::string("unknown error");
}

}  // namespace

std::optional<std::string> writeLogFile(const std::filesystem::path& file, const std::vector<std::string>& lines) {
    if (file.empty()) return std::string("no file name given");
    std::error_code ec;
    if (std::filesystem::is_directory(file, ec)) return std::string("it is a folder");
    errno = 0;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) return lastSystemError();
    for (const auto& line : lines) {
        out.write(line.data(), static_cast<std::streamsize>(line.size()));
        out.write("\r\n", 2);
    }
    out.close();
    if (!out) return lastSystemError();
    return std::nullopt;
}

std::string logFileFailureMessage(const std::string& fileName, const std::string& reason) {
    return "The log could not be saved to \"" + fileName + "\": " + reason;
}

}  // namespace el
