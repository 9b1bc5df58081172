#include "gis/records_convert.hpp"

#include <algorithm>
#include <filesystem>

#include "base/command_line.hpp"
#include "base/parameter_options.hpp"
#include "base/text.hpp"
#include "gis/gis_error.hpp"
#include "gis/layer_export.hpp"
#include "gis/records_import.hpp"
#include "vector/records_options.hpp"
#include "vector/vector_file.hpp"

namespace el::gis {
namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

// The converter's own words for a missing or unknown encoding (the registry's check decides).
constexpr const char* kEncodingError = "--encoding needs a text encoding the system knows";

struct RecordsConvertRequest {
    ParamValues params;
    vec::RecordsSource source;
    std::string output;
};

// The records options and --encoding, writing into `request`, in the order the help lists them.
std::vector<cmdline::Option> options(RecordsConvertRequest& request) {
    std::vector<const Parameter*> shown = parametersFor(kConvert, ParamGroup::Records);
    for (const Parameter* p : parametersFor(kConvert, ParamGroup::Input)) shown.push_back(p);
    std::vector<cmdline::Option> all = commandLineOptions(shown, kConvert, true, request.params, {.gis = true});
    for (cmdline::Option& option : all) {
        if (option.name != parameter(Param::Encoding).spelling.flag) continue;
        option.apply = [check = option.apply](const std::string& name) {
            return check(name).empty() ? std::string() : std::string(kEncodingError);
        };
    }
    return all;
}

cmdline::Grammar grammar(RecordsConvertRequest& request) {
    cmdline::Grammar grammar;
    grammar.isOperand = [](const std::string& arg) { return !arg.starts_with("--"); };
    grammar.operand = [&request](const std::string& arg) {
        if (!request.output.empty()) return std::string("give one output file");
        request.output = arg;
        return std::string();
    };
    grammar.unknown = [](const std::string& written, const std::string&) { return "unknown option " + written; };
    grammar.missingValue = [](const std::string& written, const cmdline::Option& option) {
        if (option.name == parameter(Param::Encoding).spelling.flag) return std::string(kEncodingError);
        return "option " + written + " needs a value";
    };
    return grammar;
}

// The request, or the usage error in `error`.
RecordsConvertRequest parse(const std::vector<std::string>& args, std::string& error) {
    RecordsConvertRequest request;
    error = cmdline::readArguments(args, options(request), grammar(request));
    request.source = vec::recordsSourceOf(request.params);
    if (error.empty() && request.output.empty()) error = "give the output file";
    if (error.empty()) error = vec::recordsCombinationError(request.source, "");
    return request;
}

void write(vec::ImportedRecords& imported, const std::string& output) {
    vec::VectorData& data = imported.built.data;
    Feedback quiet;
    if (asciiLower(std::filesystem::path(output).extension().string()) == ".csv") {
        if (vec::VectorFileWrite(output, data, "", quiet) != 0) throw GisError("cannot write " + output);
        return;
    }
    if (driverForOutput(output).empty())
        throw GisError("no format is known for the extension of " + output + " (use .csv, .gpkg, .shp or .geojson)");
    if (vec::withoutGeometry(data))
        throw GisError("a GIS layer needs the regions' geometry: give --regions LAYER, or write a .csv vector file");
    exportVectorData(data, "", output);
}

}  // namespace

bool asksForRecords(const std::vector<std::string>& args) {
    return std::any_of(args.begin(), args.end(), [](const std::string& arg) {
        return arg == "--records" || arg == "--occurrences" || arg.starts_with("--records=") ||
               arg.starts_with("--occurrences=");
    });
}

std::string recordsConvertHelp() {
    std::string text = R"(
  earlylate-convert --records TABLE [options] OUT.csv|OUT.gpkg|OUT.shp|OUT.geojson
  earlylate-convert --occurrences FILE --regions LAYER [options] OUT

A first-record table (one row per region, species and date) or occurrence points become
the data set the batch runner would build from them (one region per table region, one
species per species, the earliest date of each pair, pairs without a record NotYetArrived
unless --absent unknown), written as a vector file or, with --regions, as a GIS layer.
The records' summary goes to standard error.
)";
    RecordsConvertRequest unused;  // the handlers' target; nothing is read
    return text + cmdline::optionList(options(unused), 28);
}

int runRecordsConvert(const std::vector<std::string>& args, std::ostream& /*out*/, std::ostream& err) {
    std::string error;
    const RecordsConvertRequest request = parse(args, error);
    if (!error.empty()) {
        err << "earlylate-convert: " << error << "\nTry earlylate-convert --help\n";
        return kUsage;
    }
    try {
        Feedback quiet;
        vec::ImportedRecords imported = importRecords(request.source, quiet);
        for (const std::string& line : imported.summary) err << line << "\n";
        write(imported, request.output);
    } catch (const std::exception& e) {
        err << "earlylate: " << e.what() << "\n";
        return kFailed;
    }
    return kDone;
}

}  // namespace el::gis
