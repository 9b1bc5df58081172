// A stand-in for libFuzzer's driver, for compilers without it: runs the target once on
// every input named (files, or every file in a folder) and skips libFuzzer's -options.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void runOn(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t count = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path input = argv[i];
        if (argv[i][0] == '-') continue;
        if (std::filesystem::is_directory(input)) {
            for (const auto& entry : std::filesystem::directory_iterator(input))
                if (entry.is_regular_file()) runOn(entry.path()), ++count;
        } else {
            runOn(input);
            ++count;
        }
    }
    std::printf("%zu inputs ran without a finding\n", count);
    return 0;
}
