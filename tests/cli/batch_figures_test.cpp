// --map and --fit-plot: the figures of a completed run as SVG (one path per region) and as
// a PNG that a separate reading decodes (chunk CRCs, IHDR, stored zlib blocks, Adler-32);
// nothing written for a run that did not complete; usage errors for other extensions.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tests/support/run_batch.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::test {
namespace {

namespace fs = std::filesystem;

// A PNG read back independently of the encoder: bitwise CRC, byte-wise Adler-32, and an
// inflater that accepts stored blocks only.
struct DecodedPng {
    std::uint32_t width = 0, height = 0;
    int depth = 0, colourType = 0;
    std::vector<std::uint8_t> raw;  // the inflated scanlines, filter bytes included
    std::string error;
};

std::uint32_t big32(const std::string& b, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) << 24 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 8 |
           static_cast<unsigned char>(b[at + 3]);
}

std::uint32_t bitwiseCrc(const std::string& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (char c : bytes) {
        crc ^= static_cast<unsigned char>(c);
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

DecodedPng failed(const std::string& why) {
    DecodedPng png;
    png.error = why;
    return png;
}

DecodedPng decodePng(const std::string& file) {
    DecodedPng png;
    if (file.size() < 8 || file.compare(0, 8, std::string("\x89PNG\r\n\x1A\n", 8)) != 0) return failed("signature");
    std::string zlib;
    bool ended = false;
    for (std::size_t at = 8; at < file.size() && !ended;) {
        if (at + 12 > file.size()) return failed("chunk cut short");
        const std::uint32_t length = big32(file, at);
        if (at + 12 + length > file.size()) return failed("chunk longer than the file");
        const std::string type = file.substr(at + 4, 4);
        const std::string data = file.substr(at + 8, length);
        if (bitwiseCrc(type + data) != big32(file, at + 8 + length)) return failed("CRC of " + type);
        if (type == "IHDR") {
            png.width = big32(data, 0);
            png.height = big32(data, 4);
            png.depth = static_cast<unsigned char>(data[8]);
            png.colourType = static_cast<unsigned char>(data[9]);
        } else if (type == "IDAT") {
            zlib += data;
        } else if (type == "IEND") {
            ended = true;
        }
        at += 12 + length;
    }
    if (!ended) return failed("no IEND");
    if (zlib.size() < 6 || (static_cast<unsigned char>(zlib[0]) * 256 + static_cast<unsigned char>(zlib[1])) % 31 != 0)
        return failed("zlib header");
    std::size_t at = 2;
    for (bool last = false; !last;) {
        if (at + 5 > zlib.size()) return failed("block cut short");
        const auto head = static_cast<unsigned char>(zlib[at]);
        if ((head >> 1) != 0) return failed("not a stored block");
        last = (head & 1) != 0;
        const unsigned len = static_cast<unsigned char>(zlib[at + 1]) | static_cast<unsigned char>(zlib[at + 2]) << 8;
        const unsigned nlen = static_cast<unsigned char>(zlib[at + 3]) | static_cast<unsigned char>(zlib[at + 4]) << 8;
        if ((len ^ 0xFFFFu) != nlen) return failed("LEN and NLEN disagree");
        if (at + 5 + len > zlib.size()) return failed("block longer than the stream");
        png.raw.insert(png.raw.end(), zlib.begin() + static_cast<long>(at + 5), zlib.begin() + static_cast<long>(at + 5 + len));
        at += 5 + len;
    }
    if (at + 4 != zlib.size()) return failed("Adler-32 missing or data after it");
    std::uint32_t a = 1, b = 0;
    for (auto byte : png.raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    if (((b << 16) | a) != big32(zlib, at)) return failed("Adler-32");
    return png;
}

struct SampleFolder {
    SampleFolder() { fs::copy_file(fs::path(EARLYLATE_SOURCE_DIR) / "data" / "sample.csv", dir / "sample.csv"); }
    int run(const std::string& args) { return runBatch(dir.path(), "--quiet " + args + " sample.csv"); }
    bool has(const std::string& name) const { return fs::exists(dir / name); }
    TempDir dir;
};

TEST(BatchFigures, SvgMapHasOnePathPerRegion) {
    SampleFolder folder;
    ASSERT_EQ(folder.run("-t Invader --no-reliability --map map.svg --fit-plot fit.svg"), 0)
        << readFile(folder.dir / "stderr.txt");
    const std::string svg = readFile(folder.dir / "map.svg");
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.find("</svg>\n"), std::string::npos);
    // The region number of every path element that carries one.
    std::vector<std::string> regions;
    for (std::size_t at = svg.find("<path "); at != std::string::npos; at = svg.find("<path ", at + 1)) {
        const std::string element = svg.substr(at, svg.find('>', at) - at);
        const std::size_t attribute = element.find("data-region=\"");
        if (attribute == std::string::npos) continue;
        const std::size_t start = attribute + 13;
        regions.push_back(element.substr(start, element.find('"', start) - start));
    }
    EXPECT_EQ(regions.size(), 12u);
    EXPECT_EQ(std::set<std::string>(regions.begin(), regions.end()).size(), 12u);

    const std::string fit = readFile(folder.dir / "fit.svg");
    EXPECT_NE(fit.find("Invader"), std::string::npos);
    EXPECT_FALSE(folder.has("map.svg.part"));
}

TEST(BatchFigures, PngFilesDecode) {
    SampleFolder folder;
    ASSERT_EQ(folder.run("-t Invader --no-reliability --map map.PNG --map-species SpB --fit-plot fit.png"), 0)
        << readFile(folder.dir / "stderr.txt");
    for (const auto& [name, width, height] : {std::tuple{"map.PNG", 900u, 640u}, std::tuple{"fit.png", 760u, 560u}}) {
        const DecodedPng png = decodePng(readFile(folder.dir / name));
        ASSERT_EQ(png.error, "") << name;
        EXPECT_EQ(png.width, width);
        EXPECT_EQ(png.height, height);
        EXPECT_EQ(png.depth, 8);
        EXPECT_EQ(png.colourType, 2);
        ASSERT_EQ(png.raw.size(), std::size_t{width} * height * 3 + height) << name;
        std::set<std::uint32_t> colours;
        for (std::size_t row = 0; row < height; ++row) {
            const std::size_t start = row * (width * 3 + 1);
            EXPECT_EQ(png.raw[start], 0) << "filter byte of row " << row;
            for (std::size_t i = start + 1; i < start + 1 + width * 3; i += 3)
                colours.insert(png.raw[i] << 16 | png.raw[i + 1] << 8 | png.raw[i + 2]);
        }
        EXPECT_GT(colours.size(), 3u) << name << " is nearly blank";
    }
}

TEST(BatchFigures, TheMapSpeciesChangesTheMap) {
    SampleFolder folder;
    ASSERT_EQ(folder.run("-t Invader --no-reliability --map target.svg"), 0);
    ASSERT_EQ(folder.run("-t Invader --no-reliability --map other.svg --map-species SpA"), 0);
    const std::string target = readFile(folder.dir / "target.svg");
    const std::string other = readFile(folder.dir / "other.svg");
    EXPECT_NE(target.find("Predicted date of Invader"), std::string::npos);
    EXPECT_NE(other.find("Predicted date of SpA"), std::string::npos);
    // Without a target, the first species.
    ASSERT_EQ(folder.run("-s SpC,SpA --no-reliability --map first.svg"), 0);
    EXPECT_NE(readFile(folder.dir / "first.svg").find("Predicted date of SpC"), std::string::npos);
}

TEST(BatchFigures, NothingWrittenWithoutACompletedRun) {
    SampleFolder folder;
    // Stopped by a bad setting.
    EXPECT_EQ(folder.run("-t Invader --weight-power six --map map.svg --fit-plot fit.png"), 1);
    // No species: the log is cleared, no pass runs.
    EXPECT_EQ(folder.run("-s '' --map map.svg --fit-plot fit.png"), 0);
    EXPECT_FALSE(folder.has("map.svg"));
    EXPECT_FALSE(folder.has("fit.png"));
}

TEST(BatchFigures, UsageErrors) {
    SampleFolder folder;
    for (const char* args : {"--map map.jpg", "--fit-plot fit", "--fit-plot", "--map-species SpA",
                             "--map m.svg --map-species Nobody", "-s SpA --map m.svg --map-species SpB"}) {
        EXPECT_EQ(folder.run(args), 2) << args;
        EXPECT_NE(readFile(folder.dir / "stderr.txt").find("earlylate-batch: "), std::string::npos) << args;
    }
    EXPECT_FALSE(folder.has("m.svg"));
    EXPECT_FALSE(folder.has("map.jpg"));
}

TEST(BatchFigures, AFigureThatCannotBeWrittenStopsWithStatus1) {
    SampleFolder folder;
    EXPECT_EQ(folder.run("-t Invader --no-reliability -o run.log --map no/such/folder/map.svg"), 1);
    EXPECT_NE(readFile(folder.dir / "stderr.txt").find("cannot be written"), std::string::npos);
    EXPECT_NE(readFile(folder.dir / "run.log").find("Target species:Invader"), std::string::npos);
}

}  // namespace
}  // namespace el::test
