#include "vector/records_options.hpp"

#include <filesystem>

namespace el::vec {
namespace {

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

// An option whose value may not be empty; `take` keeps it. Its missing value names nothing more.
template <class Take>
cmdline::Option nonEmpty(const std::string& name, const std::string& valueName, const std::string& help, Take take) {
    cmdline::Option option = cmdline::valued(name, "", valueName, help, [name, take](const std::string& value) {
        if (value.empty()) return "option " + name + " needs a value";
        return take(value);
    });
    option.expects.clear();
    return option;
}

cmdline::Option pathOption(const std::string& name, const std::string& valueName, const std::string& help,
                           std::filesystem::path& into) {
    return nonEmpty(name, valueName, help, [&into](const std::string& value) {
        into = value;
        return std::string();
    });
}

cmdline::Option textOption(const std::string& name, const std::string& help, std::string& into) {
    return nonEmpty(name, "NAME", help, [&into](const std::string& value) {
        into = value;
        return std::string();
    });
}

}  // namespace

std::vector<cmdline::Option> recordsOptions(RecordsSource& source) {
    return {
        pathOption("--records", "TABLE",
                   "instead of FILE: a first-record table, one row per region, species and date (.csv, .tsv, .txt; "
                   ".xlsx, .ods)",
                   source.table),
        pathOption("--occurrences", "FILE",
                   "instead of FILE: occurrence points (species, longitude, latitude, year or date), with --regions",
                   source.occurrences),
        textOption("--region-column",
                   "the table's region column (default: region, location, country, locality or area)",
                   source.columns.region),
        textOption("--species-column", "the species column (default: species, taxon, scientificName or TaxonName)",
                   source.columns.species),
        textOption("--date-column",
                   "the date column (default: date, year, first_record, first_record_year or eventDate)",
                   source.columns.date),
        textOption("--longitude-column",
                   "the points' longitude column (default: decimalLongitude, longitude, lon or x)",
                   source.longitudeColumn),
        textOption("--latitude-column", "the points' latitude column (default: decimalLatitude, latitude, lat or y)",
                   source.latitudeColumn),
        nonEmpty("--absent", "notyet|unknown",
                 "a region and species without a record: NotYetArrived (default) or Unknown",
                 [&source](const std::string& value) { return absentError(value, source); }),
        pathOption("--regions", "LAYER",
                   "the regions' geometry from a GIS layer (default: none; maps and distances then refuse)",
                   source.regions),
        textOption("--regions-layer", "the layer of LAYER to read (default: the first)", source.regionsLayer),
        nonEmpty("--join", "COLUMN=FIELD",
                 "the table's COLUMN holds the key of the layer's FIELD, compared as text (default: the region column "
                 "against the name field); with --occurrences: --join FIELD, the field that names the regions",
                 [&source](const std::string& value) { return joinError(value, source); }),
        cmdline::flag("--drop-unmatched", "",
                      "leave out (and list) the regions the layer has no feature for, instead of refusing",
                      [&source] { source.dropUnmatched = true; }),
    };
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

}  // namespace el::vec
