#include "gis/occurrences.hpp"

#include <cmath>
#include <map>
#include <optional>
#include <utility>

#include "base/numtext.hpp"
#include "base/text.hpp"
#include "gis/delimited_lines.hpp"
#include "gis/event_date.hpp"
#include "gis/gis_error.hpp"
#include "gis/layer_source.hpp"
#include "vector/text_encoding.hpp"

namespace el::gis {
namespace {

constexpr std::int64_t kCheckpointEvery = 4096;
constexpr std::int64_t kCaptionEvery = 100000;
constexpr std::size_t kBadRowsListed = 10;

struct ColumnIndexes {
    int species = -1, longitude = -1, latitude = -1, year = -1, date = -1;
};

std::string headerList(const std::vector<std::string>& headers) {
    std::string list;
    for (const std::string& header : headers) list += (list.empty() ? "" : ", ") + header;
    return list.empty() ? "none" : list;
}

int columnNamed(const std::vector<std::string>& headers, const std::string& name) {
    for (std::size_t i = 0; i < headers.size(); ++i)
        if (headers[i] == name) return static_cast<int>(i);
    for (std::size_t i = 0; i < headers.size(); ++i)
        if (equalsIgnoringAsciiCase(headers[i], name)) return static_cast<int>(i);
    return -1;
}

// The column `given` names, else the first of `usual` the headers hold; -1 for none when
// `required` is false. Throws GisError naming the headers otherwise.
int findColumn(const std::vector<std::string>& headers, const std::string& given,
               std::initializer_list<const char*> usual, const char* what, bool required) {
    if (!given.empty()) {
        const int index = columnNamed(headers, given);
        if (index < 0)
            throw GisError("the occurrence file has no column named " + quotedText(given) + " (columns: " +
                           headerList(headers) + ")");
        return index;
    }
    for (const char* name : usual)
        if (const int index = columnNamed(headers, name); index >= 0) return index;
    if (!required) return -1;
    std::string names;
    for (const char* name : usual) names += (names.empty() ? "" : ", ") + std::string(name);
    throw GisError(std::string("the occurrence file has no ") + what + " column (looked for " + names +
                   "; columns: " + headerList(headers) + "); name it with the options");
}

ColumnIndexes findColumns(const std::vector<std::string>& headers, const OccurrenceColumns& given) {
    ColumnIndexes columns;
    columns.species = findColumn(headers, given.species, {"species", "scientificName"}, "species", true);
    columns.longitude =
        findColumn(headers, given.longitude, {"decimalLongitude", "longitude", "lon", "x"}, "longitude", true);
    columns.latitude = findColumn(headers, given.latitude, {"decimalLatitude", "latitude", "lat", "y"}, "latitude", true);
    if (!given.date.empty()) {
        columns.date = findColumn(headers, given.date, {}, "date", true);
        return columns;
    }
    columns.year = findColumn(headers, "", {"year"}, "year", false);
    columns.date = findColumn(headers, "", {"eventDate", "date"}, "date", false);
    if (columns.year < 0 && columns.date < 0)
        throw GisError("the occurrence file has no year or date column (looked for year, eventDate, date; columns: " +
                       headerList(headers) + "); name it with the options");
    return columns;
}

const std::string& cellAt(const std::vector<std::string>& cells, int index) {
    static const std::string kEmpty;
    return index >= 0 && static_cast<std::size_t>(index) < cells.size() ? cells[index] : kEmpty;
}

// A file delimited by semicolons or tabs may write a decimal comma ("12,5"), as spreadsheets
// set to many languages do; in a comma-delimited file a comma cannot be part of a number.
std::optional<double> coordinate(std::string text, double limit, char delimiter) {
    if (delimiter != ',' && text.find('.') == std::string::npos) {
        const std::size_t comma = text.find(',');
        if (comma != std::string::npos && text.find(',', comma + 1) == std::string::npos) text[comma] = '.';
    }
    const std::optional<double> value = parseNumber(text);
    if (!value || !(std::fabs(*value) <= limit)) return std::nullopt;
    return value;
}

// A filled year wins over the event date.
std::optional<double> pointDate(const std::vector<std::string>& cells, const ColumnIndexes& columns) {
    if (columns.year >= 0)
        if (const std::optional<double> year = eventDateYear(cellAt(cells, columns.year))) return year;
    return columns.date >= 0 ? eventDateYear(cellAt(cells, columns.date)) : std::nullopt;
}

std::string trimmedCopy(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

struct Earliest {
    double date;
    std::int64_t line;
};
using EarliestByPair = std::map<std::pair<std::size_t, std::string>, Earliest>;

class Placement {
public:
    Placement(const RegionsLayer& regions, ColumnIndexes columns, char delimiter, OccurrenceResult& result)
        : regions_(regions), columns_(columns), delimiter_(delimiter), result_(result) {}

    void take(const std::vector<std::string>& cells, std::int64_t line) {
        const std::optional<double> lon = coordinate(cellAt(cells, columns_.longitude), 180.0, delimiter_);
        const std::optional<double> lat = coordinate(cellAt(cells, columns_.latitude), 90.0, delimiter_);
        if (!lon || !lat) {
            if (result_.badRows.size() < kBadRowsListed) result_.badRows.push_back(line);
            ++result_.badCoordinates;
            return;
        }
        std::string species = trimmedCopy(cellAt(cells, columns_.species));
        if (species.empty()) {
            ++result_.unnamed;
            return;
        }
        if (!vec::isValidUtf8(species))
            throw GisError("line " + std::to_string(line) + ": the species is not UTF-8 text; save the file as UTF-8");
        const std::optional<double> date = pointDate(cells, columns_);
        if (!date) {
            ++result_.undated;
            return;
        }
        const std::optional<std::size_t> region = regions_.locator->regionAt(*lon, *lat);
        if (!region) {
            ++result_.outside;
            return;
        }
        ++result_.placed;
        keepIfEarliest(*region, std::move(species), *date, line);
    }

    void keepIfEarliest(std::size_t region, std::string species, double date, std::int64_t line) {
        const auto [entry, added] = earliest_.try_emplace({region, std::move(species)}, Earliest{date, line});
        if (!added && date < entry->second.date) entry->second = Earliest{date, line};
    }

    void finish() {
        for (const auto& [pair, first] : earliest_)
            result_.records.push_back(
                records::Record{regions_.keys[pair.first], pair.second, plainnum(first.date), first.line, {}});
    }

private:
    const RegionsLayer& regions_;
    ColumnIndexes columns_;
    char delimiter_;
    OccurrenceResult& result_;
    EarliestByPair earliest_;
};

}  // namespace

OccurrenceResult placeOccurrences(const std::filesystem::path& pointsFile, const RegionsLayer& regions,
                                  const OccurrenceColumns& columns, Feedback& feedback) {
    if (!regions.locator) throw GisError("the regions layer has no geometry to place points in");
    DelimitedLines lines(pointsFile);
    OccurrenceResult result;
    Placement placement(regions, findColumns(lines.headers(), columns), lines.delimiter(), result);
    std::vector<std::string> cells;
    while (lines.next(cells)) {
        if (++result.points % kCheckpointEvery == 0) {
            feedback.checkpoint();
            if (result.points % kCaptionEvery < kCheckpointEvery)
                feedback.caption(Label::ReadProgress, "Occurrence points read: " + std::to_string(result.points));
        }
        placement.take(cells, lines.line());
    }
    placement.finish();
    return result;
}

std::string OccurrenceResult::summaryLine() const {
    const auto counted = [](std::int64_t count, const std::string& one, const std::string& many) {
        return std::to_string(count) + " " + (count == 1 ? one : many);
    };
    std::string line = "Occurrences: " + counted(points, "point", "points") + ", " + std::to_string(placed) +
                       " placed, giving " +
                       counted(static_cast<std::int64_t>(records.size()), "first record", "first records") +
                       " (the earliest of each region and species); " + std::to_string(outside) +
                       " outside every region, " + std::to_string(undated) + " without a date, " +
                       std::to_string(unnamed) + " without a species, " + std::to_string(badCoordinates) +
                       " with bad coordinates";
    if (!badRows.empty()) {
        line += badRows.size() == 1 ? " (line " : " (lines ";
        for (std::size_t i = 0; i < badRows.size(); ++i) line += (i ? ", " : "") + std::to_string(badRows[i]);
        line += badCoordinates > static_cast<std::int64_t>(badRows.size()) ? ", ...)" : ")";
    }
    return line;
}

}  // namespace el::gis
