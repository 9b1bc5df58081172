#pragma once
// Runs the built batch runner in a folder, with its standard output and error captured in
// stdout.txt and stderr.txt there, and returns its exit status.

#include <sys/wait.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace el::test {

inline std::string shellQuote(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

inline int runBatch(const std::filesystem::path& dir, const std::string& args,
                    const std::string& epoch = "1796428800") {
    const std::string command = "cd " + shellQuote(dir.string()) + " && SOURCE_DATE_EPOCH=" + shellQuote(epoch) +
                                " " + shellQuote(std::string(EARLYLATE_BIN_DIR) + "/earlylate-batch") + " " + args +
                                " >stdout.txt 2>stderr.txt";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A test name made from a file's name: "sample.target.log" gives "sample_target".
inline std::string testNameOf(std::string file) {
    if (const auto dot = file.rfind('.'); dot != std::string::npos && dot > 0) file.resize(dot);
    for (char& c : file)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return file;
}

}  // namespace el::test
