#include "vector/records_options.hpp"

#include "base/settings.hpp"
#include "vector/records_subset.hpp"

namespace el::vec {
namespace {

// The rules of --country-codes, --filter and --min-regions; the usage error or "".
std::string subsetCombinationError(const RecordsSource& source) {
    if (!source.countryCodes.empty() && (source.table.empty() || source.columns.key.empty()))
        return "option --country-codes needs --records with --join COLUMN=FIELD (the table's column of country names)";
    for (const std::string& filter : source.filters)
        if (!rowFilterOf(filter))
            return "option --filter takes COLUMN=VALUE[,VALUE...], e.g. LifeForm=Insects, not \"" + filter + "\"";
    return "";
}

}  // namespace

RecordsSource recordsSourceOf(const ParamValues& values) {
    RecordsSource source;
    source.table = values.text(Param::Records);
    source.sheet = values.text(Param::Sheet);
    source.occurrences = values.text(Param::Occurrences);
    source.encoding = values.text(Param::Encoding);
    source.columns.region = values.text(Param::RegionColumn);
    source.columns.species = values.text(Param::SpeciesColumn);
    source.columns.date = values.text(Param::DateColumn);
    source.longitudeColumn = values.text(Param::LongitudeColumn);
    source.latitudeColumn = values.text(Param::LatitudeColumn);
    source.absent = values.text(Param::Absent) == "unknown" ? Absence::Unknown : Absence::NotYet;
    source.regions = values.text(Param::Regions);
    source.regionsLayer = values.text(Param::RegionsLayer);
    // COLUMN=FIELD (a table), or FIELD alone (points: the field that keys and names the regions).
    const std::string& join = values.text(Param::Join);
    if (const auto equals = join.find('='); equals == std::string::npos) {
        source.joinField = join;
    } else {
        source.columns.key = join.substr(0, equals);
        source.joinField = join.substr(equals + 1);
    }
    source.dropUnmatched = values.on(Param::DropUnmatched);
    source.keepSpecimens = values.on(Param::KeepSpecimens);
    source.countryCodes = values.text(Param::CountryCodes);
    source.filters = values.items(Param::Filter);
    source.minRegions = values.whole(Param::MinRegions);
    source.keptSpecies = values.text(Param::TargetSpecies);
    source.threads = threadCountOf(values.text(Param::Threads)).value_or(1);
    return source;
}

std::string recordsCombinationError(const RecordsSource& source, const std::string& file) {
    const bool table = !source.table.empty(), points = !source.occurrences.empty();
    if (!table && !points) {
        const bool anyRecordsOption =
            !source.regions.empty() || !source.regionsLayer.empty() || !source.joinField.empty() ||
            source.dropUnmatched || !source.columns.region.empty() || !source.columns.species.empty() ||
            !source.columns.date.empty() || !source.longitudeColumn.empty() || !source.latitudeColumn.empty() ||
            source.absent != Absence::NotYet || !source.countryCodes.empty() || !source.filters.empty() ||
            source.minRegions > 1 || source.keepSpecimens || !source.sheet.empty();
        return anyRecordsOption ? "the records options need --records TABLE or --occurrences FILE" : "";
    }
    if (table && points) return "give either --records or --occurrences, not both";
    if (!file.empty()) return "FILE and --" + std::string(table ? "records" : "occurrences") + " both name the input: give one";
    if (points && source.regions.empty()) return "option --occurrences needs --regions LAYER";
    if (source.regions.empty() && (!source.regionsLayer.empty() || !source.joinField.empty() || source.dropUnmatched))
        return "options --regions-layer, --join and --drop-unmatched need --regions LAYER";
    if (table && (!source.longitudeColumn.empty() || !source.latitudeColumn.empty()))
        return "options --longitude-column and --latitude-column need --occurrences";
    if (table && !source.joinField.empty() && source.columns.key.empty())
        return "option --join takes COLUMN=FIELD with --records (the table's column and the layer's field)";
    if (points && !source.columns.key.empty())
        return "option --join takes the layer's FIELD alone with --occurrences (a point's region is the feature it lies in)";
    if (table && source.keepSpecimens) return "option --keep-specimens needs --occurrences";
    if (!source.sheet.empty() && !(table && isSpreadsheet(source.table)))
        return "option --sheet needs --records with a spreadsheet (.xlsx or .ods)";
    if (std::string error = subsetCombinationError(source); !error.empty()) return error;
    if (points && !source.columns.region.empty())
        return "option --region-column needs --records (points take their region from the layer)";
    return "";
}

}  // namespace el::vec
