#pragma once
// The bundled samples as the window tests read them: copied once into a folder of this test
// process. The window locks a file while it reads or runs it, so test processes running side
// by side must never open one file of the source tree together.

#include <QString>

#include <filesystem>

#include "tests/support/temp_dir.hpp"

namespace el::test {

inline const QString& dataDir() {
    static const TempDir folder;  // removed when the process ends
    static const QString path = [] {
        for (const auto& entry :
             std::filesystem::directory_iterator(std::filesystem::path(EARLYLATE_SOURCE_DIR) / "data"))
            if (entry.is_regular_file())
                std::filesystem::copy_file(entry.path(), folder.path() / entry.path().filename());
        return QString::fromStdString(folder.path().string());
    }();
    return path;
}

}  // namespace el::test
