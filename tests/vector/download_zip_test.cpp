// Which entry of a zipped download holds its records, and how the lines of that entry read,
// whoever reads the zip: here a zip held in memory.

#include "vector/download_zip.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "base/file_bytes.hpp"
#include "tests/support/temp_dir.hpp"
#include "vector/records_error.hpp"

namespace el::test {
namespace {

using Texts = std::vector<std::string>;
using Files = std::map<std::string, std::string>;

class MemoryZip final : public vec::ZipFiles {
public:
    explicit MemoryZip(std::map<std::string, std::string> files) : files_(std::move(files)) {}
    Texts entries() override {
        Texts names;
        for (const auto& [name, bytes] : files_) names.push_back(name);
        return names;
    }
    std::unique_ptr<vec::ByteSource> open(const std::string& entry) override {
        opened.push_back(entry);
        const auto found = files_.find(entry);
        if (found == files_.end()) throw vec::RecordsError("no entry " + entry);
        return std::make_unique<vec::MemoryBytes>(found->second);
    }
    Texts opened;

private:
    std::map<std::string, std::string> files_;
};

// Every line's cells, as texts.
std::vector<Texts> linesOf(vec::DownloadLines& lines) {
    std::vector<Texts> read;
    while (lines.next()) read.emplace_back(lines.cells().begin(), lines.cells().end());
    return read;
}

std::string refusal(MemoryZip zip) {
    try {
        vec::openZipDownload(zip, "data/0001.zip", "data/0001.zip", {}, "auto");
    } catch (const vec::RecordsError& e) {
        return e.what();
    }
    return "(opened)";
}

const std::string kMeta = R"(<archive><core fieldsTerminatedBy="\t" fieldsEnclosedBy="" ignoreHeaderLines="1">
<files><location>occurrence.txt</location></files>
<field index="0" term="http://rs.tdwg.org/dwc/terms/year"/>
<field index="1" term="http://rs.tdwg.org/dwc/terms/species"/>
<field term="http://rs.tdwg.org/dwc/terms/basisOfRecord" default="HUMAN_OBSERVATION"/>
</core></archive>)";

TEST(DownloadZip, TheOneTableOfAZipIsReadAsAPlainFile) {
    // Its only file whatever its name, else its only delimited file beside others.
    for (const auto& files :
         {std::map<std::string, std::string>{{"0001", "species,year\nA b,1990\n"}},
          std::map<std::string, std::string>{{"citation.pdf", "%PDF"}, {"0001.csv", "species,year\nA b,1990\n"}}}) {
        MemoryZip zip(files);
        const auto lines = vec::openZipDownload(zip, "0001.zip", "0001.zip", {}, "auto");
        EXPECT_EQ(lines->headers(), (Texts{"species", "year"}));
        EXPECT_EQ(linesOf(*lines), (std::vector<Texts>{{"A b", "1990"}}));
    }
    // A line refused names the entry and the zip.
    MemoryZip ragged(std::map<std::string, std::string>{{"0001.csv", "species\tyear\nA b\t1990\textra\n"}});
    vec::DelimitedFormat exact;
    exact.fieldCount = vec::FieldCount::Exact;
    const auto lines = vec::openZipDownload(ragged, "dl/0001.zip", "dl/0001.zip", exact, "auto");
    try {
        linesOf(*lines);
        ADD_FAILURE() << "a line with a field too many was read";
    } catch (const vec::RecordsError& e) {
        EXPECT_NE(std::string(e.what()).find("0001.csv in 0001.zip"), std::string::npos) << e.what();
    }
}

TEST(DownloadZip, AnArchiveIsReadFromTheMetaNearestTheRootAndItsCoreBesideIt) {
    MemoryZip zip(std::map<std::string, std::string>{{"dwca/meta.xml", kMeta},
                                                     {"dwca/occurrence.txt", "ignored\theader\n1990\tA b\n1995\tC d\n"},
                                                     {"dwca/extra/meta.xml", "<not an archive"},
                                                     {"occurrence.txt", "a stray file of the same name\n"}});
    const auto lines = vec::openZipDownload(zip, "dwca.zip", "dwca.zip", {}, "auto");
    EXPECT_EQ(zip.opened, (Texts{"dwca/meta.xml", "dwca/occurrence.txt"}));
    EXPECT_EQ(lines->headers(), (Texts{"year", "species", "basisOfRecord"}));
    EXPECT_EQ(linesOf(*lines),
              (std::vector<Texts>{{"1990", "A b", "HUMAN_OBSERVATION"}, {"1995", "C d", "HUMAN_OBSERVATION"}}));
    EXPECT_EQ(vec::metaEntry({"a/b/META.XML", "a/meta.xml", "z/meta.xml.bak"}), "a/meta.xml");
    EXPECT_EQ(vec::metaEntry({"meta.xml.txt", "data.csv"}), "");
}

TEST(DownloadZip, AZipWithoutOneTableIsRefusedNamingWhatItHolds) {
    const std::string several = refusal(MemoryZip(Files{{"a.csv", "x\n"}, {"b.tsv", "x\n"}}));
    EXPECT_NE(several.find("data/0001.zip holds no meta.xml and several delimited files (a.csv, b.tsv)"),
              std::string::npos)
        << several;
    const std::string none = refusal(MemoryZip(Files{{"readme.pdf", "%PDF"}, {"logo.png", "png"}}));
    EXPECT_NE(none.find("no meta.xml and no delimited files (logo.png, readme.pdf)"), std::string::npos) << none;
    EXPECT_NE(refusal(MemoryZip(Files{})).find("data/0001.zip holds no file: give a download with one table"),
              std::string::npos);
}

TEST(DownloadZip, OnlyAZipGoesToTheZipReaderAndARefusalNamesTheFile) {
    TempDir dir;
    writeFile(dir / "plain.csv", "species,year\nA b,1990\n");
    writeFile(dir / "download.csv", std::string("PK\x03\x04", 4) + "rest of a zip");  // a zip by its bytes
    std::filesystem::create_directory(dir / "dwca");
    writeFile(dir / "dwca" / "meta.xml", kMeta);
    writeFile(dir / "dwca" / "occurrence.txt", "h\th\n2001\tE f\n");
    int zipsOpened = 0;
    const vec::ZipOpener opener = [&](const std::filesystem::path&) {
        ++zipsOpened;
        return std::make_unique<MemoryZip>(std::map<std::string, std::string>{{"only.txt", "species\nG h\n"}});
    };
    EXPECT_EQ(vec::openDownloadWith(dir / "plain.csv", {}, "auto", opener)->headers(), (Texts{"species", "year"}));
    const auto archive = vec::openDownloadWith(dir / "dwca", {}, "auto", opener);
    EXPECT_EQ(linesOf(*archive), (std::vector<Texts>{{"2001", "E f", "HUMAN_OBSERVATION"}}));
    EXPECT_EQ(zipsOpened, 0);
    EXPECT_EQ(vec::openDownloadWith(dir / "download.csv", {}, "auto", opener)->headers(), Texts{"species"});
    EXPECT_EQ(zipsOpened, 1);

    const vec::ZipOpener empty = [](const std::filesystem::path&) {
        return std::make_unique<MemoryZip>(std::map<std::string, std::string>{});
    };
    try {
        vec::openDownloadWith(dir / "download.csv", {}, "auto", empty);
        ADD_FAILURE() << "an empty zip was opened";
    } catch (const vec::RecordsError& e) {
        EXPECT_NE(std::string(e.what()).find((dir / "download.csv").string() + " holds no file"), std::string::npos)
            << e.what();
    }
    writeFile(dir / "dwca" / "meta.xml",
              "<archive><core><files><location>gone.txt</location></files>"
              "<field index='0' term='t/a'/></core></archive>");
    try {
        vec::openDownloadWith(dir / "dwca", {}, "auto", opener);
        ADD_FAILURE() << "an archive without its core file was opened";
    } catch (const vec::RecordsError& e) {
        EXPECT_NE(std::string(e.what()).find("dwca"), std::string::npos) << e.what();
    }
}

TEST(DownloadZip, AFolderIsReadAsAnArchiveOrRefusedSayingWhatToName) {
    TempDir dir;
    std::filesystem::create_directory(dir / "dwca");
    writeFile(dir / "dwca" / "meta.xml", kMeta);
    writeFile(dir / "dwca" / "occurrence.txt", "h\th\n2001\tE f\n2003\tG h\n");
    const vec::ZipOpener noZip = [](const std::filesystem::path& zip) -> std::unique_ptr<vec::ZipFiles> {
        throw vec::RecordsError("no zip expected: " + zip.string());
    };
    const vec::Table table = vec::readTableDownload(dir / "dwca", "auto", noZip);
    EXPECT_EQ(table.headers, (Texts{"year", "species", "basisOfRecord"}));
    EXPECT_EQ(table.rows,
              (std::vector<Texts>{{"2001", "E f", "HUMAN_OBSERVATION"}, {"2003", "G h", "HUMAN_OBSERVATION"}}));
    EXPECT_EQ(table.rowNumbers, (std::vector<std::int64_t>{2, 3}));

    // A folder without meta.xml is neither read as a file (its size is no size) nor opened.
    std::filesystem::create_directory(dir / "plain");
    EXPECT_FALSE(readWholeFile(dir / "plain"));
    for (const auto& read : {std::function<void()>([&] { vec::readTableDownload(dir / "plain", "auto", noZip); }),
                             std::function<void()>([&] { vec::openDownloadWith(dir / "plain", {}, "auto", noZip); })}) {
        try {
            read();
            ADD_FAILURE() << "a folder without meta.xml was read";
        } catch (const vec::RecordsError& e) {
            EXPECT_NE(std::string(e.what()).find("plain is a folder but no Darwin Core archive (it holds no meta.xml)"),
                      std::string::npos)
                << e.what();
        }
    }
}

}  // namespace
}  // namespace el::test
