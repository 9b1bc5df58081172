#include "engine/run_weight_test_file.hpp"

#include "engine/run_error.hpp"

namespace el::engine {

WeightTestFile::WeightTestFile(const std::filesystem::path& folder, const std::string& target) {
    if (target.find_first_of("/\\") != std::string::npos)
        throw RunError("The target species name \"" + target + "\" cannot be used in the weight-test file name");
    path_ = folder / fileName(target);
    out_.open(path_, std::ios::binary | std::ios::trunc);
    if (!out_) throw RunError("The weight-test file \"" + path_.string() + "\" cannot be created");
}

void WeightTestFile::writeLine(const std::string& line) {
    out_ << line << "\r\n";
    if (!out_) throw RunError("The weight-test file \"" + path_.string() + "\" cannot be written");
}

void WeightTestFile::discard() {
    close();
    std::error_code ignored;  // nothing more to do when it is already gone
    std::filesystem::remove(path_, ignored);
}

void WeightTestFile::close() {
    if (!out_.is_open()) return;
    out_.close();
}

}  // namespace el::engine
