// Records to a data set: regions and species in order of first appearance, one first record
// per pair, shapes from the regions layer or a point at the origin for every region.

#include <unordered_map>

#include "vector/field_text.hpp"
#include "vector/record_dates.hpp"
#include "vector/record_layout.hpp"
#include "vector/records.hpp"

namespace el::vec {
namespace {

// Names in order of first appearance, each with its index.
class NameOrder {
public:
    std::size_t indexOf(const std::string& name) {
        const auto [at, added] = index_.try_emplace(name, names_.size());
        if (added) names_.push_back(name);
        return at->second;
    }
    const std::vector<std::string>& names() const { return names_; }

private:
    std::unordered_map<std::string, std::size_t> index_;
    std::vector<std::string> names_;
};

std::string listed(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "\"" : ", \"") + name + "\"";
    return text;
}

// Every region takes one key, and no key serves two regions.
std::map<std::string, std::string> keysOfRegions(const std::vector<Record>& records) {
    std::map<std::string, std::string> keyOf, regionOf;
    for (const Record& record : records) {
        const auto [key, newRegion] = keyOf.try_emplace(record.region, record.joinKey());
        if (!newRegion && key->second != record.joinKey())
            throw RecordsError("Line " + std::to_string(record.row) + ": region \"" + record.region + "\" has the key \"" +
                               record.joinKey() + "\" here and \"" + key->second + "\" on an earlier line");
        const auto [region, newKey] = regionOf.try_emplace(record.joinKey(), record.region);
        if (!newKey && region->second != record.region)
            throw RecordsError("Line " + std::to_string(record.row) + ": the key \"" + record.joinKey() +
                               "\" stands for region \"" + record.region + "\" here and \"" + region->second +
                               "\" on an earlier line");
    }
    return keyOf;
}

// With shapes: the records of regions the layer lacks are refused, or dropped and listed.
void matchShapes(std::vector<Record>& records, const BuildOptions& options, BuiltRecords& built) {
    const std::map<std::string, std::string> keyOf = keysOfRegions(records);
    if (options.shapes == nullptr) return;
    std::vector<std::string> missing;
    std::size_t matched = 0;
    for (const auto& [region, key] : keyOf) {
        if (options.shapes->count(key) == 0) missing.push_back(key == region ? region : region + " (key " + key + ")");
        else ++matched;
    }
    built.featuresUnused = static_cast<std::int64_t>(options.shapes->size() - matched);
    if (missing.empty()) return;
    if (!options.dropUnmatched)
        throw RecordsError(std::to_string(missing.size()) + " region(s) of the table have no feature in the regions layer: " +
                           listed(missing) + " (--drop-unmatched leaves them out)");
    built.dropped = std::move(missing);
    std::erase_if(records, [&](const Record& r) { return options.shapes->count(r.joinKey()) == 0; });
}

VectorObject objectFor(const std::string& region, const std::string& key, const BuildOptions& options) {
    VectorObject object;
    object.name = vec::vectorFieldText(region);
    if (options.shapes == nullptr) {
        object.type = "point";
        object.parts.push_back(VectorPart{"", {0.0}, {0.0}});
    } else {
        const RegionShape& shape = options.shapes->at(key);
        object.type = shape.type;
        object.parts = shape.parts;
    }
    return object;
}

// The first record of each pair, as indices into `records`, regions by species.
struct FirstRecords {
    NameOrder regions, species;
    std::vector<std::vector<std::optional<RecordDate>>> cell;  // [region][species]
};

FirstRecords firstRecords(const std::vector<Record>& records, BuiltRecords& built) {
    FirstRecords first;
    for (const Record& record : records) {
        const std::size_t r = first.regions.indexOf(record.region);
        const std::size_t s = first.species.indexOf(record.species);
        if (r == first.cell.size()) first.cell.emplace_back();
        auto& row = first.cell[r];
        if (row.size() <= s) row.resize(s + 1);
        auto date = recordDateOf(record.date);
        if (!date)
            throw RecordsError("Line " + std::to_string(record.row) + " (region \"" + record.region + "\", species \"" +
                               record.species + "\"): the date \"" + record.date + "\" is neither a number, an ISO date "
                               "(YYYY-MM-DD) nor a keyword");
        if (row[s]) ++built.merged;
        if (!row[s] || firstRecordBefore(*date, *row[s])) row[s] = std::move(*date);
    }
    return first;
}

}  // namespace

BuiltRecords buildRecordsData(std::vector<Record> records, const BuildOptions& options) {
    BuiltRecords built;
    built.absentAs = options.absent;
    matchShapes(records, options, built);
    if (records.empty()) throw RecordsError("There is no record to build a data set from");
    built.records = static_cast<std::int64_t>(records.size());
    const FirstRecords first = firstRecords(records, built);
    const std::string absentText = options.absent == Absence::NotYet ? "NotYetArrived" : "Unknown";
    VectorData& data = built.data;
    data.filetype = "vector";
    data.comment = "From a records table";
    for (const std::string& species : first.species.names()) data.valname.push_back(vec::vectorFieldText(species));
    data.sizes.valn = static_cast<int>(data.valname.size());
    std::map<std::string, std::string> keyOf;
    for (const Record& record : records) keyOf.try_emplace(record.region, record.joinKey());
    for (std::size_t r = 0; r < first.cell.size(); ++r) {
        const std::string& region = first.regions.names()[r];
        VectorObject object = objectFor(region, keyOf.at(region), options);
        for (std::size_t s = 0; s < first.species.names().size(); ++s) {
            const bool held = s < first.cell[r].size() && first.cell[r][s];
            object.values.push_back(held ? first.cell[r][s]->text : absentText);
            built.absentCells += held ? 0 : 1;
        }
        data.objects.push_back(std::move(object));
    }
    vec::completeLayout(data);
    return built;
}

bool withoutGeometry(const VectorData& data) {
    if (data.objects.empty()) return false;
    for (const VectorObject& object : data.objects) {
        if (object.type != "point" || object.parts.size() != 1) return false;
        const VectorPart& part = object.parts.front();
        if (part.x.size() != 1 || part.x[0] != 0.0 || part.y[0] != 0.0) return false;
    }
    return true;
}

std::string counted(std::int64_t count, const std::string& one, const std::string& several) {
    return std::to_string(count) + " " + (count == 1 ? one : several);
}

std::string BuiltRecords::summaryLine() const {
    std::string line = "records: " + counted(data.objn(), "region", "regions") + ", " + std::to_string(data.valn()) +
                       " species, " + counted(records, "record", "records");
    if (merged > 0) line += " (" + std::to_string(merged) + " merged into the earliest record of their region and species)";
    line += "; " + counted(absentCells, "region-species pair", "region-species pairs") + " without a record read as " +
            (absentAs == Absence::NotYet ? "NotYetArrived" : "Unknown");
    if (featuresUnused > 0)
        line += "; " + counted(featuresUnused, "feature", "features") + " of the regions layer without a record left out";
    if (!dropped.empty())
        line += "; " + counted(static_cast<std::int64_t>(dropped.size()), "region", "regions") +
                " without a feature dropped: " + listed(dropped);
    if (data.objn() > 0 && withoutGeometry(data)) line += "; no regions layer: regions without geometry";
    return line;
}

}  // namespace el::vec
