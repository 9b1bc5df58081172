#include "engine/report/run_weight_test_file.hpp"

#include <system_error>

#include "engine/run/run_error.hpp"

namespace el::engine {

WeightTestFile::WeightTestFile(const std::filesystem::path& folder, const std::string& target) {
    if (target.find_first_of("/\\") != std::string::npos)
        throw RunError("The target species name \"" + target + "\" cannot be used in the weight-test file name");
    path_ = folder / fileName(target);
    temporary_ = folder / temporaryName(target);
    out_.open(temporary_, std::ios::binary | std::ios::trunc);
    if (!out_) throw RunError("The weight-test file \"" + path_.string() + "\" cannot be created");
}

WeightTestFile::~WeightTestFile() {
    if (!ended_) removeTemporary();
}

void WeightTestFile::writeLine(const std::string& line) {
    out_ << line << "\r\n";
    if (!out_) throw RunError("The weight-test file \"" + path_.string() + "\" cannot be written");
}

void WeightTestFile::close() {
    if (ended_) return;
    ended_ = true;
    out_.close();
    std::error_code error;
    if (out_.fail()) error = std::make_error_code(std::errc::io_error);
    else std::filesystem::rename(temporary_, path_, error);
    if (!error) return;
    removeTemporary();
    throw RunError("The weight-test file \"" + path_.string() + "\" cannot be written: " + error.message());
}

void WeightTestFile::discard() {
    if (ended_) return;
    ended_ = true;
    removeTemporary();
}

void WeightTestFile::removeTemporary() {
    if (out_.is_open()) out_.close();
    std::error_code ignored;  // nothing more to do when it is already gone
    std::filesystem::remove(temporary_, ignored);
}

}  // namespace el::engine
