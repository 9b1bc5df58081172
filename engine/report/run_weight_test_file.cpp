#include "engine/report/run_weight_test_file.hpp"

#include "engine/model/run_error.hpp"

namespace el::engine {
namespace {

// The lines are handed to the file in blocks of about this size.
constexpr std::size_t kBlockBytes = 64 * 1024;

}  // namespace

WeightTestFile::WeightTestFile(const std::filesystem::path& folder, const std::string& target) {
    if (target.find_first_of("/\\") != std::string::npos)
        throw RunError("The target species name \"" + target + "\" cannot be used in the weight-test file name");
    path_ = folder / fileName(target);
    try {
        replacement_.emplace(path_);
    } catch (const FileReplaceError& error) {
        fail("created", error);
    }
}

void WeightTestFile::writeLine(const std::string& line) {
    if (!replacement_) return;
    pending_.append(line).append("\r\n");
    if (pending_.size() >= kBlockBytes) flush();
}

void WeightTestFile::flush() {
    try {
        replacement_->write(pending_);
        pending_.clear();
    } catch (const FileReplaceError& error) {
        fail("written", error);
    }
}

void WeightTestFile::close() {
    if (!replacement_) return;
    flush();
    try {
        replacement_->commit();
    } catch (const FileReplaceError& error) {
        replacement_.reset();
        fail("written", error);
    }
    replacement_.reset();
}

void WeightTestFile::discard() {
    replacement_.reset();
    pending_.clear();
}

void WeightTestFile::fail(const std::string& what, const std::exception& error) const {
    throw RunError("The weight-test file \"" + path_.string() + "\" cannot be " + what + ": " + error.what());
}

}  // namespace el::engine
