#pragma once
// What the replacer's two system layers (file_replace_posix.cpp, file_replace_win32.cpp)
// share: which file is replaced and where its temporary file goes.

#include <filesystem>
#include <string>

namespace el::replace_parts {

// The file to replace: the target of a symbolic link, so that the link itself survives.
std::filesystem::path replacedFile(const std::filesystem::path& target);

std::filesystem::path folderOf(const std::filesystem::path& file);

// The name of a temporary file beside `target`: hidden, named after it, "XXXXXX" standing
// for the characters that make it free, then `suffix`.
std::string temporaryPattern(const std::filesystem::path& target, const std::string& suffix);

}  // namespace el::replace_parts
