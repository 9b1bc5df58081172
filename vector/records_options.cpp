#include "vector/records_options.hpp"

namespace el::vec {
namespace {

// The options that take a text; nothing when `arg` is none of them.
std::string* textOption(const std::string& arg, RecordsSource& source) {
    if (arg == "--region-column") return &source.columns.region;
    if (arg == "--species-column") return &source.columns.species;
    if (arg == "--date-column") return &source.columns.date;
    if (arg == "--longitude-column") return &source.longitudeColumn;
    if (arg == "--latitude-column") return &source.latitudeColumn;
    if (arg == "--regions-layer") return &source.regionsLayer;
    return nullptr;
}

std::filesystem::path* fileOption(const std::string& arg, RecordsSource& source) {
    if (arg == "--records") return &source.table;
    if (arg == "--occurrences") return &source.occurrences;
    if (arg == "--regions") return &source.regions;
    return nullptr;
}

// COLUMN=FIELD (a table), or FIELD alone (points: the field that keys and names the regions).
std::string joinError(const std::string& text, RecordsSource& source) {
    const auto equals = text.find('=');
    if (equals == std::string::npos) {
        source.joinField = text;
        return "";
    }
    if (equals == 0 || equals + 1 == text.size())
        return "option --join takes COLUMN=FIELD (the table's column and the layer's field), not \"" + text + "\"";
    source.columns.key = text.substr(0, equals);
    source.joinField = text.substr(equals + 1);
    return "";
}

std::string absentError(const std::string& text, RecordsSource& source) {
    if (text == "notyet") source.absent = Absence::NotYet;
    else if (text == "unknown") source.absent = Absence::Unknown;
    else return "option --absent takes notyet or unknown, not \"" + text + "\"";
    return "";
}

}  // namespace

std::optional<std::string> recordsOption(const std::string& arg, const ValueTaker& value,
                                         RecordsSource& source) {
    if (arg == "--drop-unmatched") {
        source.dropUnmatched = true;
        return std::string();
    }
    std::string* text = textOption(arg, source);
    std::filesystem::path* file = fileOption(arg, source);
    if (text == nullptr && file == nullptr && arg != "--join" && arg != "--absent") return std::nullopt;
    const auto given = value();
    if (!given || given->empty()) return "option " + arg + " needs a value";
    if (text != nullptr) *text = *given;
    else if (file != nullptr) *file = *given;
    else if (arg == "--join") return joinError(*given, source);
    else return absentError(*given, source);
    return std::string();
}

std::string recordsCombinationError(const RecordsSource& source, const std::string& file) {
    const bool table = !source.table.empty(), points = !source.occurrences.empty();
    if (!table && !points) {
        const bool anyRecordsOption = !source.regions.empty() || !source.regionsLayer.empty() ||
                                      !source.joinField.empty() || source.dropUnmatched || !source.columns.region.empty() ||
                                      !source.columns.species.empty() || !source.columns.date.empty() ||
                                      !source.longitudeColumn.empty() || !source.latitudeColumn.empty() ||
                                      source.absent != Absence::NotYet;
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
    if (points && !source.columns.region.empty()) return "option --region-column needs --records (points take their region from the layer)";
    return "";
}

std::vector<std::pair<std::string, std::string>> recordsHelp() {
    return {
        {"--records TABLE", "instead of FILE: a first-record table, one row per region, species and date (.csv, .tsv, .txt; .xlsx, .ods)"},
        {"--occurrences FILE", "instead of FILE: occurrence points (species, longitude, latitude, year or date), with --regions"},
        {"--region-column NAME", "the table's region column (default: region, location, country, locality or area)"},
        {"--species-column NAME", "the species column (default: species, taxon, scientificName or TaxonName)"},
        {"--date-column NAME", "the date column (default: date, year, first_record, first_record_year or eventDate)"},
        {"--longitude-column NAME", "the points' longitude column (default: decimalLongitude, longitude, lon or x)"},
        {"--latitude-column NAME", "the points' latitude column (default: decimalLatitude, latitude, lat or y)"},
        {"--absent notyet|unknown", "a region and species without a record: NotYetArrived (default) or Unknown"},
        {"--regions LAYER", "the regions' geometry from a GIS layer (default: none; maps and distances then refuse)"},
        {"--regions-layer NAME", "the layer of LAYER to read (default: the first)"},
        {"--join COLUMN=FIELD", "the table's COLUMN holds the key of the layer's FIELD, compared as text (default: the region column against the name field); with --occurrences: --join FIELD, the field that names the regions"},
        {"--drop-unmatched", "leave out (and list) the regions the layer has no feature for, instead of refusing"},
    };
}

}  // namespace el::vec
