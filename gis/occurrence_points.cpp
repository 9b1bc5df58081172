#include "gis/occurrence_points.hpp"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "base/numtext.hpp"
#include "base/text.hpp"
#include "gis/gis_error.hpp"
#include "vector/record_dates.hpp"
#include "vector/record_status.hpp"
#include "vector/text_encoding.hpp"

namespace el::gis {
namespace {

constexpr std::size_t kBadRowsListed = 10;

using ColumnIndexes = OccurrenceReader::Indexes;

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

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
            throw GisError("the occurrence file has no column named " + quoted(given) + " (columns: " +
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
    columns.status = findColumn(headers, "", {"occurrenceStatus"}, "status", false);
    columns.basis = findColumn(headers, "", {"basisOfRecord"}, "basis", false);
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

std::string_view cellAt(const Cells& cells, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < cells.size() ? cells[static_cast<std::size_t>(index)]
                                                                        : std::string_view();
}

// A file delimited by semicolons or tabs may write a decimal comma ("12,5"), as spreadsheets
// set to many languages do; in a comma-delimited file a comma cannot be part of a number.
std::optional<double> coordinate(std::string_view text, double limit, char delimiter) {
    std::optional<double> value;
    const std::size_t comma = text.find(',');
    if (delimiter != ',' && comma != std::string_view::npos && text.find('.') == std::string_view::npos &&
        text.find(',', comma + 1) == std::string_view::npos) {
        std::string pointed(text);
        pointed[comma] = '.';
        value = parseNumber(pointed);
    } else {
        value = parseNumber(text);
    }
    if (!value || !(std::fabs(*value) <= limit)) return std::nullopt;
    return value;
}

// A filled year wins over the event date.
std::optional<double> pointDate(const Cells& cells, const ColumnIndexes& columns) {
    if (columns.year >= 0)
        if (const std::optional<double> year = vec::decimalYearOf(cellAt(cells, columns.year))) return year;
    return columns.date >= 0 ? vec::decimalYearOf(cellAt(cells, columns.date)) : std::nullopt;
}

}  // namespace

OccurrenceReader::OccurrenceReader(const std::vector<std::string>& headers, const OccurrenceColumns& columns,
                                   char delimiter, OccurrenceResult& result, OccurrenceRules rules)
    : columns_(findColumns(headers, columns)), rules_(rules), delimiter_(delimiter), result_(result) {
    result_.statusRead = columns_.status >= 0;
    result_.basisRead = columns_.basis >= 0;
    result_.specimensKept = rules.keepSpecimens;
}

bool OccurrenceReader::setAside(const Cells& cells) {
    if (columns_.status >= 0 && vec::isAbsenceStatus(cellAt(cells, columns_.status))) {
        ++result_.absent;
        return true;
    }
    if (columns_.basis < 0 || rules_.keepSpecimens) return false;
    switch (vec::specimenOf(cellAt(cells, columns_.basis))) {
        case vec::Specimen::Fossil:
            ++result_.fossils;
            return true;
        case vec::Specimen::Living:
            ++result_.living;
            return true;
        case vec::Specimen::None:
            return false;
    }
    return false;
}

std::optional<OccurrencePoint> OccurrenceReader::pointOf(const Cells& cells, std::int64_t line) {
    ++result_.points;
    if (setAside(cells)) return std::nullopt;
    const std::optional<double> lon = coordinate(cellAt(cells, columns_.longitude), 180.0, delimiter_);
    const std::optional<double> lat = coordinate(cellAt(cells, columns_.latitude), 90.0, delimiter_);
    if (!lon || !lat) {
        if (result_.badRows.size() < kBadRowsListed) result_.badRows.push_back(line);
        ++result_.badCoordinates;
        return std::nullopt;
    }
    std::string species(trimBlanks(cellAt(cells, columns_.species)));
    if (species.empty()) {
        ++result_.unnamed;
        return std::nullopt;
    }
    if (!vec::isValidUtf8(species))
        throw GisError("line " + std::to_string(line) + ": the species is not UTF-8 text; save the file as UTF-8");
    const std::optional<double> date = pointDate(cells, columns_);
    if (!date) {
        ++result_.undated;
        return std::nullopt;
    }
    return OccurrencePoint{std::move(species), *lon, *lat, *date, line};
}

vec::DelimitedFormat occurrenceFormat(const std::string& encoding) {
    vec::DelimitedFormat format;
    format.quoting = vec::Quoting::LiteralInTabs;
    format.fieldCount = vec::FieldCount::Exact;
    format.encoding = encoding.empty() ? "auto" : encoding;
    format.label = "the occurrence file";
    return format;
}

std::uint32_t EarliestPoints::speciesIndex(std::string&& species) {
    if (const auto found = speciesIndexes_.find(std::string_view(species)); found != speciesIndexes_.end())
        return found->second;
    const auto index = static_cast<std::uint32_t>(species_.size());
    species_.push_back(species);
    speciesIndexes_.emplace(std::move(species), index);
    return index;
}

void EarliestPoints::keep(std::size_t region, OccurrencePoint point) {
    const std::uint64_t pair = (static_cast<std::uint64_t>(region) << 32) | speciesIndex(std::move(point.species));
    const Earliest first{point.date, point.line};
    const auto [entry, added] = earliest_.try_emplace(pair, first);
    if (!added && first.date < entry->second.date) entry->second = first;
}

std::vector<vec::Record> EarliestPoints::records(const std::vector<std::string>& keys) const {
    std::vector<std::pair<std::uint64_t, Earliest>> pairs(earliest_.begin(), earliest_.end());
    const auto regionOf = [](std::uint64_t pair) { return pair >> 32; };
    const auto speciesOf = [this](std::uint64_t pair) -> const std::string& { return species_[pair & 0xFFFFFFFFU]; };
    std::sort(pairs.begin(), pairs.end(), [&](const auto& a, const auto& b) {
        if (regionOf(a.first) != regionOf(b.first)) return regionOf(a.first) < regionOf(b.first);
        return speciesOf(a.first) < speciesOf(b.first);
    });
    std::vector<vec::Record> found;
    found.reserve(pairs.size());
    for (const auto& [pair, first] : pairs)
        found.push_back(vec::Record{keys.at(regionOf(pair)), speciesOf(pair), plainnum(first.date), first.line, {}});
    return found;
}

void finishFilters(const vec::LineFilters& filters, OccurrenceResult& result) {
    filters.checkEachKeptSome();
    result.filterNote = filters.note("lines of the occurrence file");
}

std::vector<std::string> OccurrenceResult::notes() const {
    std::vector<std::string> lines;
    if (!filterNote.empty()) lines.push_back(filterNote);
    lines.push_back(summaryLine());
    return lines;
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
    if (statusRead) line += ", " + std::to_string(absent) + " absent (occurrenceStatus)";
    if (basisRead && specimensKept) line += ", fossil and living specimens kept";
    if (basisRead && !specimensKept) {
        line += ", " + counted(fossils, "fossil specimen", "fossil specimens") + " and " +
                counted(living, "living specimen", "living specimens") + " set aside";
        if (fossils + living > 0) line += " (--keep-specimens keeps them)";
    }
    return line;
}

}  // namespace el::gis
