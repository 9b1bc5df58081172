#include "bench/gbif_download.hpp"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>

#include <cpl_vsi.h>

#include "gis/gdal_session.hpp"

namespace el::bench {
namespace {

// The header line of GBIF's simple CSV: its 50 columns in its order.
constexpr std::string_view kHeader =
    "gbifID\tdatasetKey\toccurrenceID\tkingdom\tphylum\tclass\torder\tfamily\tgenus\tspecies\t"
    "infraspecificEpithet\ttaxonRank\tscientificName\tverbatimScientificName\t"
    "verbatimScientificNameAuthorship\tcountryCode\tlocality\tstateProvince\toccurrenceStatus\t"
    "individualCount\tpublishingOrgKey\tdecimalLatitude\tdecimalLongitude\t"
    "coordinateUncertaintyInMeters\tcoordinatePrecision\televation\televationAccuracy\tdepth\t"
    "depthAccuracy\teventDate\tday\tmonth\tyear\ttaxonKey\tspeciesKey\tbasisOfRecord\tinstitutionCode\t"
    "collectionCode\tcatalogNumber\trecordNumber\tidentifiedBy\tdateIdentified\tlicense\trightsHolder\t"
    "recordedBy\ttypeStatus\testablishmentMeans\tlastInterpreted\tmediaType\tissue\n";
static_assert(std::ranges::count(kHeader, '\t') == 49);

constexpr int kSpecies = 240, kGenera = 60;
constexpr std::string_view kDataset = "8a863029-f435-446a-821e-275f4f641165";
constexpr std::string_view kPublisher = "28eb1a3f-1c15-4a95-931a-4af90ecb574d";
constexpr std::string_view kLocalities[] = {"Old mill",       "by the \"bridge",    "Park \"Am See\"",
                                            "Roadside verge", "Garden, north side", ""};
constexpr std::string_view kIssues[] = {"", "COORDINATE_ROUNDED", "GEODETIC_DATUM_ASSUMED_WGS84;COORDINATE_ROUNDED",
                                        "CONTINENT_DERIVED_FROM_COORDINATES"};

// One data line, field by field.
class LineWriter {
public:
    void tab() { text_ += '\t'; }
    void text(std::string_view field) { text_.append(field).push_back('\t'); }
    void number(long long value) {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        text_.append(digits, end).push_back('\t');
    }
    void fixed(double value) {
        char digits[32];
        const auto end = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 5).ptr;
        text_.append(digits, end).push_back('\t');
    }
    void formatted(const char* format, int a, int b, int c) {
        char piece[64];
        const int size = std::snprintf(piece, sizeof piece, format, a, b, c);
        text_.append(piece, static_cast<std::size_t>(size)).push_back('\t');
    }
    // The line ends where its last field does.
    void endLine() { text_.back() = '\n'; }
    std::string& bytes() { return text_; }

private:
    std::string text_;
};

struct RowDraw {
    std::mt19937_64 random{20261208};
    std::uniform_real_distribution<double> lon{-180.0, 180.0}, lat{-75.0, 75.0};
    std::uniform_int_distribution<int> species{0, kSpecies - 1}, year{1900, 2023}, month{1, 12}, day{1, 28};
    std::uniform_int_distribution<int> percent{0, 99};
};

void writeTaxon(LineWriter& out, int species, bool genusOnly) {
    const int genus = species % kGenera;
    const std::string genusName = "Genus" + std::to_string(genus);
    const std::string name = genusName + " species" + std::to_string(species);
    out.text("Animalia"), out.text("Arthropoda"), out.text("Insecta"), out.text("Coleoptera");
    out.text("Coccinellidae"), out.text(genusName);
    out.text(genusOnly ? "" : name);
    out.tab();  // infraspecificEpithet
    out.text(genusOnly ? "GENUS" : "SPECIES");
    out.text(genusOnly ? genusName : name + " (Pallas, 1773)");
    out.text(genusOnly ? genusName : name), out.text(genusOnly ? "" : "(Pallas, 1773)");
}

// eventDate, day, month, year at one of the precisions a download holds (or none).
void writeDate(LineWriter& out, RowDraw& draw) {
    const int y = draw.year(draw.random), m = draw.month(draw.random), d = draw.day(draw.random);
    const int form = draw.percent(draw.random);
    if (form < 2) {
        out.tab(), out.tab(), out.tab(), out.tab();
    } else if (form < 10) {
        out.number(y), out.tab(), out.tab(), out.number(y);
    } else if (form < 20) {
        out.formatted("%04d-%02d", y, m, 0), out.tab(), out.number(m), out.number(y);
    } else if (form < 30) {
        out.formatted("%04d-%02d-01/%04d", y, m, y);
        out.tab(), out.tab(), out.number(y);
    } else if (form < 60) {
        out.formatted("%04d-%02d-%02dT10:30:00", y, m, d), out.number(d), out.number(m), out.number(y);
    } else {
        out.formatted("%04d-%02d-%02d", y, m, d), out.number(d), out.number(m), out.number(y);
    }
}

std::string_view basisOf(int draw) {
    if (draw < 1) return "FOSSIL_SPECIMEN";
    if (draw < 3) return "LIVING_SPECIMEN";
    if (draw < 10) return "PRESERVED_SPECIMEN";
    return "HUMAN_OBSERVATION";
}

void writeRow(LineWriter& out, long long id, RowDraw& draw) {
    const int species = draw.species(draw.random), kind = draw.percent(draw.random);
    const double lon = draw.lon(draw.random), lat = draw.lat(draw.random);
    out.number(4000000000LL + id), out.text(kDataset), out.text("urn:catalog:BENCH:" + std::to_string(id));
    writeTaxon(out, species, kind == 0);
    out.text("DE"), out.text(kLocalities[id % 6]), out.text("Bayern"), out.text(kind == 1 ? "ABSENT" : "PRESENT");
    out.number(1 + id % 5), out.text(kPublisher);
    if (kind == 2) out.tab(), out.tab();  // no coordinates
    else out.fixed(lat), out.fixed(lon);
    out.number(10 + id % 1000), out.tab(), out.tab(), out.tab(), out.tab(), out.tab();
    writeDate(out, draw);
    out.number(1000000 + species), out.number(1000000 + species), out.text(basisOf(draw.percent(draw.random)));
    out.text("BENCH"), out.text("OBS"), out.text("C-" + std::to_string(id)), out.tab();
    out.text("A. Recorder"), out.tab(), out.text("CC_BY_4_0"), out.text("A. Recorder"), out.text("A. Recorder");
    out.tab(), out.tab(), out.text("2024-03-01T08:12:45.231Z"), out.text(id % 4 == 0 ? "StillImage" : "");
    out.text(kIssues[id % 4]);
    out.endLine();
}

// The zip's one entry, written through GDAL's virtual file system, deflated as it goes.
class ZipEntry {
public:
    ZipEntry(const std::filesystem::path& zip, const std::string& name) {
        gis::registerGdalDrivers();
        file_ = VSIFOpenL(("/vsizip/{" + zip.string() + "}/" + name).c_str(), "wb");
        if (file_ == nullptr) throw std::runtime_error("cannot write " + zip.string());
    }
    ~ZipEntry() {
        if (file_ != nullptr) VSIFCloseL(file_);
    }
    ZipEntry(const ZipEntry&) = delete;
    ZipEntry& operator=(const ZipEntry&) = delete;

    void write(std::string& bytes) {
        if (VSIFWriteL(bytes.data(), 1, bytes.size(), file_) != bytes.size()) throw std::runtime_error("write failed");
        bytes.clear();
    }
    void close() {
        const int failed = VSIFCloseL(file_);
        file_ = nullptr;
        if (failed != 0) throw std::runtime_error("closing the zip failed");
    }

private:
    VSILFILE* file_ = nullptr;
};

}  // namespace

void writeGbifDownload(const std::filesystem::path& zip, std::int64_t rows) {
    std::filesystem::remove(zip);
    ZipEntry entry(zip, "0001234-260101120000000.csv");
    LineWriter out;
    out.bytes() = kHeader;
    RowDraw draw;
    for (std::int64_t id = 1; id <= rows; ++id) {
        writeRow(out, id, draw);
        if (out.bytes().size() > (std::size_t{1} << 20)) entry.write(out.bytes());
    }
    entry.write(out.bytes());
    entry.close();
}

std::filesystem::path cachedGbifDownload(std::int64_t rows) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "earlylate-bench-downloads";
    const std::filesystem::path zip = folder / ("gbif-simple-v1-" + std::to_string(rows) + ".zip");
    if (std::filesystem::exists(zip)) return zip;
    std::filesystem::create_directories(folder);
    const std::filesystem::path partial = folder / ("writing-" + zip.filename().string());
    writeGbifDownload(partial, rows);
    std::filesystem::rename(partial, zip);  // a run stopped while writing leaves no cached file
    return zip;
}

}  // namespace el::bench
