#include "base/file_lock.hpp"

namespace el {

std::string FileLock::busyText(const std::filesystem::path& file) {
    return "Another earlylate is reading or running on " + file.string() + "; try again when it has finished";
}

}  // namespace el
