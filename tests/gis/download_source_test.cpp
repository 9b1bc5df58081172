#include "gis/download_source.hpp"

#include <map>

#include <cpl_vsi.h>
#include <gtest/gtest.h>

#include "gis/records_import.hpp"
#include "tests/gis/gis_fixture.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::test {
namespace {

namespace fs = std::filesystem;
using Entries = std::vector<std::pair<std::string, std::string>>;

void writeZip(const fs::path& zip, const Entries& entries) {
    gis::registerGdalDrivers();
    for (const auto& [name, bytes] : entries) {
        VSILFILE* file = VSIFOpenL(("/vsizip/" + zip.string() + "/" + name).c_str(), "wb");
        ASSERT_NE(file, nullptr) << name;
        EXPECT_EQ(VSIFWriteL(bytes.data(), 1, bytes.size(), file), bytes.size());
        VSIFCloseL(file);
    }
}

struct Record {
    int region, species, year;
};

constexpr int kRegions = 6, kSpecies = 4;

// A first-record table of six squares (R0..R5, three by two, 10 degrees wide) and four
// species; every region lacks one species.
std::vector<Record> firstRecords() {
    std::vector<Record> records;
    for (int r = 0; r < kRegions; ++r)
        for (int s = 0; s < kSpecies; ++s)
            if ((r + s) % 4 != 0) records.push_back({r, s, 1950 + (r * 13 + s * 7) % 40});
    return records;
}

std::string speciesName(int s) { return "Genus sp" + std::to_string(s); }

// The fields of one download line, by name.
using Line = std::map<std::string, std::string>;

// Each first record as a point inside its region, with later points and the rows a download
// holds that are no first record: absences, fossils, living specimens and genus-only rows
// dated earlier, and a row without coordinates.
std::vector<Line> downloadLines() {
    std::vector<Line> lines;
    int id = 0;
    const auto add = [&](const Record& record, int year, const std::string& status, const std::string& basis,
                         bool genusOnly) {
        const double lon = (record.region % 3) * 10 + 2 + record.species;
        const double lat = (record.region / 3) * 10 + 3;
        lines.push_back({{"gbifID", std::to_string(++id)},
                         {"species", genusOnly ? "" : speciesName(record.species)},
                         {"scientificName", speciesName(record.species) + " (Author, 1801)"},
                         {"locality", "\"Old\" mill"},
                         {"decimalLongitude", std::to_string(lon)},
                         {"decimalLatitude", std::to_string(lat)},
                         {"eventDate", std::to_string(year) + "-06-15"},
                         {"year", id % 2 ? std::to_string(year) : ""},
                         {"occurrenceStatus", status},
                         {"basisOfRecord", basis}});
    };
    for (const Record& record : firstRecords()) {
        add(record, record.year + 5, "PRESENT", "HUMAN_OBSERVATION", false);
        add(record, record.year - 10, "ABSENT", "HUMAN_OBSERVATION", false);
        add(record, record.year, "PRESENT", "PRESERVED_SPECIMEN", false);
        add(record, record.year - 20, "PRESENT", "FOSSIL_SPECIMEN", false);
        add(record, record.year - 1, "PRESENT", "LIVING_SPECIMEN", false);
        add(record, record.year - 30, "PRESENT", "HUMAN_OBSERVATION", true);
    }
    lines.push_back(lines.front());
    lines.back()["decimalLatitude"] = "";
    return lines;
}

std::string joined(const std::vector<std::string>& columns, const Line* line, char delimiter) {
    std::string text;
    for (std::size_t k = 0; k < columns.size(); ++k)
        text += (k ? std::string(1, delimiter) : "") + (line ? line->at(columns[k]) : columns[k]);
    return text + "\n";
}

const std::vector<std::string> kSimpleColumns{"gbifID",           "species",          "scientificName", "locality",
                                              "decimalLatitude",  "decimalLongitude", "eventDate",      "year",
                                              "occurrenceStatus", "basisOfRecord"};
// The archive's core file holds the columns in another order, under a header line it ignores.
const std::vector<std::string> kArchiveColumns{"year",     "basisOfRecord", "decimalLongitude", "occurrenceStatus",
                                               "species",  "locality",      "decimalLatitude",  "gbifID",
                                               "eventDate"};

std::string delimitedText(const std::vector<std::string>& columns, bool header) {
    std::string text = header ? joined(columns, nullptr, '\t') : "c0\tc1\tc2\n";
    for (const Line& line : downloadLines()) text += joined(columns, &line, '\t');
    return text;
}

std::string metaXml() {
    std::string meta = R"(<?xml version="1.0" encoding="utf-8"?>
<archive xmlns="http://rs.tdwg.org/dwc/text/">
  <core encoding="UTF-8" fieldsTerminatedBy="\t" linesTerminatedBy="\n" fieldsEnclosedBy="" ignoreHeaderLines="1"
        rowType="http://rs.tdwg.org/dwc/terms/Occurrence">
    <files><location>occurrence.txt</location></files>
    <id index="7"/>
)";
    for (std::size_t k = 0; k < kArchiveColumns.size(); ++k)
        meta += "    <field index=\"" + std::to_string(k) + "\" term=\"http://rs.tdwg.org/dwc/terms/" +
                kArchiveColumns[k] + "\"/>\n";
    return meta + "  </core>\n</archive>\n";
}

using Cells = std::map<std::pair<std::string, std::string>, std::string>;

// The data set by region and species, whatever the order of its objects and variables.
Cells cellsOf(const vec::VectorData& data) {
    Cells cells;
    for (const vec::VectorObject& object : data.objects)
        for (std::size_t v = 0; v < object.values.size(); ++v) cells[{object.name, data.valname[v]}] = object.values[v];
    return cells;
}

class Downloads : public ::testing::Test {
protected:
    Downloads() {
        std::vector<FeatureSpec> squares;
        for (int r = 0; r < kRegions; ++r) {
            const int x = (r % 3) * 10, y = (r / 3) * 10;
            squares.push_back({"POLYGON ((" + std::to_string(x) + " " + std::to_string(y) + "," +
                                   std::to_string(x + 10) + " " + std::to_string(y) + "," + std::to_string(x + 10) +
                                   " " + std::to_string(y + 10) + "," + std::to_string(x) + " " +
                                   std::to_string(y + 10) + "," + std::to_string(x) + " " + std::to_string(y) + "))",
                               {"R" + std::to_string(r)}});
        }
        writeGisFile(dir / "grid.geojson", "GeoJSON", {{"grid", {{"name", OFTString}}, squares}});
        std::string table = "region,species,year\n";
        for (const Record& record : firstRecords())
            table += "R" + std::to_string(record.region) + "," + speciesName(record.species) + "," +
                     std::to_string(record.year) + "\n";
        writeFile(dir / "first.csv", table);
    }

    vec::ImportedRecords imported(const fs::path& input, bool occurrences) {
        vec::RecordsSource source;
        (occurrences ? source.occurrences : source.table) = input;
        source.regions = dir / "grid.geojson";
        Feedback quiet;
        return gis::importRecords(source, quiet);
    }

    TempDir dir;
};

TEST_F(Downloads, ADownloadGivesTheDataSetOfItsFirstRecordTableHoweverPacked) {
    const Cells expected = cellsOf(imported(dir / "first.csv", false).built.data);
    ASSERT_EQ(expected.size(), static_cast<std::size_t>(kRegions * kSpecies));

    writeFile(dir / "0001.csv", delimitedText(kSimpleColumns, true));
    writeZip(dir / "0001.zip", {{"0001.csv", delimitedText(kSimpleColumns, true)}});
    writeZip(dir / "dwca.zip", {{"meta.xml", metaXml()}, {"occurrence.txt", delimitedText(kArchiveColumns, false)}});
    fs::create_directory(dir / "dwca");
    writeFile(dir / "dwca" / "meta.xml", metaXml());
    writeFile(dir / "dwca" / "occurrence.txt", delimitedText(kArchiveColumns, false));
    for (const char* name : {"0001.csv", "0001.zip", "dwca.zip", "dwca"}) {
        const vec::ImportedRecords download = imported(dir / name, true);
        EXPECT_EQ(cellsOf(download.built.data), expected) << name;
        ASSERT_FALSE(download.summary.empty());
        const std::string& counts = download.summary.front();
        const std::string setAside = std::to_string(firstRecords().size()) + " absent (occurrenceStatus), " +
                                     std::to_string(firstRecords().size()) + " fossil specimens and " +
                                     std::to_string(firstRecords().size()) + " living specimens set aside";
        EXPECT_NE(counts.find(setAside), std::string::npos) << name << ": " << counts;
        EXPECT_NE(counts.find(std::to_string(firstRecords().size()) + " without a species"), std::string::npos)
            << counts;
        EXPECT_NE(counts.find("1 with bad coordinates"), std::string::npos) << counts;
    }
    // A table zipped reads as the table.
    writeZip(dir / "first.zip", {{"first.csv", readFile(dir / "first.csv")}});
    EXPECT_EQ(cellsOf(imported(dir / "first.zip", false).built.data), expected);
}

std::string refusal(const fs::path& file) {
    try {
        gis::openDownload(file, {}, "auto");
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "(opened)";
}

TEST_F(Downloads, AZipThatIsNoDownloadIsRefusedNamingWhatItHolds) {
    writeZip(dir / "two.zip", {{"a.csv", "x\n1\n"}, {"b.csv", "x\n2\n"}});
    const std::string two = refusal(dir / "two.zip");
    EXPECT_NE(two.find("no meta.xml and several delimited files (a.csv, b.csv)"), std::string::npos) << two;
    writeZip(dir / "other.zip", {{"readme.pdf", "%PDF"}, {"data.tsv", "x\ty\n1\t2\n"}});
    const std::unique_ptr<vec::DownloadLines> one = gis::openDownload(dir / "other.zip", {}, "auto");
    EXPECT_EQ(one->headers(), (std::vector<std::string>{"x", "y"}));
    writeZip(dir / "lost.zip", {{"meta.xml", metaXml()}});
    const std::string lost = refusal(dir / "lost.zip");
    EXPECT_NE(lost.find("occurrence.txt"), std::string::npos) << lost;
    writeFile(dir / "fake.zip", std::string("PK\x03\x04 not really", 15));
    EXPECT_NE(refusal(dir / "fake.zip").find("fake.zip"), std::string::npos) << refusal(dir / "fake.zip");
}

}  // namespace
}  // namespace el::test
