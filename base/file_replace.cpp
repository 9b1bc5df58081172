#include "base/file_replace.hpp"

#include "base/file_replace_parts.hpp"

namespace el {
namespace fs = std::filesystem;

namespace replace_parts {

fs::path replacedFile(const fs::path& target) {
    std::error_code ec;
    if (fs::is_symlink(target, ec)) {
        const fs::path resolved = fs::canonical(target, ec);
        if (!ec) return resolved;
    }
    return target;
}

fs::path folderOf(const fs::path& file) { return file.has_parent_path() ? file.parent_path() : fs::path("."); }

std::string temporaryPattern(const fs::path& target, const std::string& suffix) {
    // The name appended, not "." + name: GCC 12 at -O2 takes "text" + temporary for an
    // overlapping copy (-Wrestrict).
    const std::string name = std::string(".").append(target.filename().string()).append(".new-XXXXXX").append(suffix);
    return (folderOf(target) / name).string();
}

}  // namespace replace_parts

void FileReplacement::step(ReplaceStep done) const {
    if (afterStep_) afterStep_(done);
}

std::optional<std::string> replaceFile(const fs::path& target, std::string_view bytes,
                                       const ReplaceStepHook& afterStep) {
    if (target.empty()) return std::string("no file name given");
    try {
        FileReplacement replacement(target, afterStep);
        replacement.write(bytes);
        replacement.commit();
        return std::nullopt;
    } catch (const std::exception& error) {  // a file error, or what a step hook threw
        return std::string(error.what());
    }
}

}  // namespace el
