#pragma once
// The fuzz entry: one input, taken as the bytes of a vector file, through the whole Read
// step (decoding, normaliser, scan, reader and the checks). Header-only, so that the
// libFuzzer target and the corpus replay of the test run share it. The input is written to
// a folder on a memory file system where there is one (/dev/shm), and the step runs there,
// so its scratch files never meet anyone else's.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "vector/vector_file.hpp"

namespace el::fuzz {

// Counts the messages; the checks are on.
class CountingMessenger : public Messenger {
public:
    void message(const std::string&) override { ++messages; }
    int messages = 0;
};

// The process's own folder, removed when the process ends.
inline const std::filesystem::path& fuzzFolder() {
    struct Folder {
        std::filesystem::path path;
        Folder() {
            std::error_code ec;
            const std::filesystem::path shm = "/dev/shm";
            const std::filesystem::path base =
                std::filesystem::is_directory(shm, ec) ? shm : std::filesystem::temp_directory_path();
            path = base / ("earlylate-fuzz-" + std::to_string(::getpid()));
            std::filesystem::create_directories(path, ec);
        }
        ~Folder() {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        }
    };
    static const Folder folder;
    return folder.path;
}

// Stops the process (a finding) when the Read step breaks one of its promises.
inline void require(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "read step fault: %s\n", what);
    std::abort();
}

inline int readStepOnBytes(std::string_view bytes) {
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(fuzzFolder());
    {
        std::ofstream out("input.csv", std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    SettingValues settings;
    settings.set(Setting::SkipFormatCheck, "0");
    CountingMessenger messenger;
    Feedback quiet;
    const ReadOutcome outcome = readVectorFile("input.csv", "null", {settings, messenger, quiet});
    require(outcome.erf == 0 || messenger.messages > 0, "a failed read without a message");
    require(outcome.erf != 0 || outcome.data.consistent(), "a successful read with an inconsistent data set");
    require(!std::filesystem::exists("temp1.tmp"), "the scratch copy was left behind");
    std::filesystem::current_path(previous);
    return 0;
}

}  // namespace el::fuzz
