// --map and --fit-plot: the figures of a completed run as SVG (one path per region) and as a
// PNG whose chunks, stored zlib blocks and checksums are read back; nothing written for a run
// that did not complete; usage errors for other extensions.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "figures/checksums.hpp"
#include "tests/support/run_batch.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::test {
namespace {

namespace fs = std::filesystem;

std::uint32_t bigEndian(const std::string& b, std::size_t at, int bytes = 4) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) value = value << 8 | static_cast<unsigned char>(b.at(at + static_cast<std::size_t>(i)));
    return value;
}

std::vector<std::uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

// Checks the PNG's chunk CRCs, its 8-bit RGB header and its zlib stream of stored blocks;
// returns the inflated scanlines.
std::string pngScanlines(const std::string& file, std::uint32_t width, std::uint32_t height) {
    EXPECT_EQ(file.substr(0, 8), std::string("\x89PNG\r\n\x1A\n", 8));
    EXPECT_EQ(file.substr(12, 4) + file.substr(24, 2), "IHDR\x08\x02");
    EXPECT_EQ(bigEndian(file, 16), width);
    EXPECT_EQ(bigEndian(file, 20), height);
    std::string zlib, type;
    std::size_t at = 8;
    for (; type != "IEND" && at + 12 <= file.size(); at += 12 + bigEndian(file, at)) {
        type = file.substr(at + 4, 4);
        const std::string data = file.substr(at + 8, bigEndian(file, at));
        if (at + 12 + data.size() > file.size()) break;
        EXPECT_EQ(figures::crc32(bytesOf(type + data)), bigEndian(file, at + 8 + data.size())) << type;
        if (type == "IDAT") zlib += data;
    }
    EXPECT_EQ(type, "IEND");
    EXPECT_EQ(at, file.size());
    EXPECT_EQ(bigEndian(zlib, 0, 2) % 31, 0u) << "zlib header check bits";
    std::string raw;
    bool last = false;
    for (at = 2; !last && at + 5 <= zlib.size();) {
        last = (zlib[at] & 1) != 0;
        const std::uint32_t len = bigEndian(zlib, at + 2, 1) << 8 | bigEndian(zlib, at + 1, 1);
        EXPECT_EQ(len ^ 0xFFFFu, bigEndian(zlib, at + 4, 1) << 8 | bigEndian(zlib, at + 3, 1));
        raw += zlib.substr(at + 5, len);
        at += 5 + len;
    }
    EXPECT_TRUE(last) << "no final block";
    EXPECT_EQ(at + 4, zlib.size());
    EXPECT_EQ(figures::adler32(bytesOf(raw)), bigEndian(zlib, zlib.size() - 4));
    return raw;
}

struct SampleFolder {
    SampleFolder() { fs::copy_file(fs::path(EARLYLATE_SOURCE_DIR) / "data" / "sample.csv", dir / "sample.csv"); }
    int run(const std::string& args) { return runBatch(dir.path(), "--quiet " + args + " sample.csv"); }
    bool has(const std::string& name) const { return fs::exists(dir / name); }
    TempDir dir;
};

TEST(BatchFigures, SvgMapHasOnePathPerRegionOfTheChosenSpecies) {
    SampleFolder folder;
    ASSERT_EQ(folder.run("-t Invader --no-reliability --map map.svg --fit-plot fit.svg"), 0)
        << readFile(folder.dir / "stderr.txt");
    const std::string svg = readFile(folder.dir / "map.svg");
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    std::vector<std::string> regions;
    for (std::size_t at = svg.find("<path "); at != std::string::npos; at = svg.find("<path ", at + 1)) {
        const std::string element = svg.substr(at, svg.find('>', at) - at);
        const std::size_t start = element.find("data-region=\"");
        if (start != std::string::npos) regions.push_back(element.substr(start, element.find('"', start + 13) - start));
    }
    EXPECT_EQ(std::set<std::string>(regions.begin(), regions.end()).size(), 12u);
    EXPECT_EQ(regions.size(), 12u);
    EXPECT_NE(svg.find("Predicted date of Invader"), std::string::npos);
    EXPECT_NE(readFile(folder.dir / "fit.svg").find("Invader"), std::string::npos);
    EXPECT_FALSE(folder.has("map.svg.part"));

    ASSERT_EQ(folder.run("-t Invader --no-reliability --map other.svg --map-species SpA"), 0);
    EXPECT_NE(readFile(folder.dir / "other.svg").find("Predicted date of SpA"), std::string::npos);
    // Without a target, the first species.
    ASSERT_EQ(folder.run("-s SpC,SpA --no-reliability --map first.svg"), 0);
    EXPECT_NE(readFile(folder.dir / "first.svg").find("Predicted date of SpC"), std::string::npos);
}

TEST(BatchFigures, PngFilesDecode) {
    SampleFolder folder;
    ASSERT_EQ(folder.run("-t Invader --no-reliability --map map.PNG --map-species SpB --fit-plot fit.png"), 0)
        << readFile(folder.dir / "stderr.txt");
    for (const auto& [name, width, height] : {std::tuple{"map.PNG", 900u, 640u}, std::tuple{"fit.png", 760u, 560u}}) {
        SCOPED_TRACE(name);
        const std::string raw = pngScanlines(readFile(folder.dir / name), width, height);
        ASSERT_EQ(raw.size(), std::size_t{width} * height * 3 + height);
        std::set<std::string> colours;
        for (std::size_t row = 0; row < height; ++row) {
            const std::size_t start = row * (width * 3 + 1);
            EXPECT_EQ(raw[start], 0) << "filter byte of row " << row;
            for (std::size_t i = start + 1; i < start + 1 + width * 3; i += 3) colours.insert(raw.substr(i, 3));
        }
        EXPECT_GT(colours.size(), 3u) << "nearly blank";
    }
}

TEST(BatchFigures, NothingWrittenWithoutACompletedRun) {
    SampleFolder folder;
    // Stopped by a bad setting; no species (the log is cleared, no pass runs).
    EXPECT_EQ(folder.run("-t Invader --weight-power six --map map.svg --fit-plot fit.png"), 1);
    EXPECT_EQ(folder.run("-s '' --map map.svg --fit-plot fit.png"), 0);
    EXPECT_FALSE(folder.has("map.svg") || folder.has("fit.png"));
    // A figure that cannot be written stops the run; its log is kept.
    EXPECT_EQ(folder.run("-t Invader --no-reliability -o run.log --map no/such/folder/map.svg"), 1);
    EXPECT_NE(readFile(folder.dir / "stderr.txt").find("cannot be written"), std::string::npos);
    EXPECT_NE(readFile(folder.dir / "run.log").find("Target species:Invader"), std::string::npos);
}

TEST(BatchFigures, UsageErrors) {
    SampleFolder folder;
    for (const char* args : {"--map map.jpg", "--fit-plot fit", "--fit-plot", "--map-species SpA",
                             "--map m.svg --map-species Nobody", "-s SpA --map m.svg --map-species SpB"}) {
        EXPECT_EQ(folder.run(args), 2) << args;
        EXPECT_NE(readFile(folder.dir / "stderr.txt").find("earlylate-batch: "), std::string::npos) << args;
    }
    EXPECT_FALSE(folder.has("m.svg") || folder.has("map.jpg"));
}

}  // namespace
}  // namespace el::test
