#pragma once
// The SHA-256 digest of a file's bytes, so a summary can name exactly which input it
// describes.

#include <filesystem>
#include <optional>
#include <string>

namespace el::batch {

// 64 lower-case hexadecimal digits, or nothing when the file cannot be read.
std::optional<std::string> sha256OfFile(const std::filesystem::path& file);

}  // namespace el::batch
