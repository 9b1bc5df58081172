#include "gis/records_convert.hpp"

#include <algorithm>
#include <filesystem>

#include "base/text.hpp"
#include "gis/gis_error.hpp"
#include "gis/layer_export.hpp"
#include "gis/records_import.hpp"
#include "vector/records_options.hpp"
#include "vector/text_encoding.hpp"
#include "vector/vector_file.hpp"

namespace el::gis {
namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

struct RecordsConvertRequest {
    vec::RecordsSource source;
    std::string output;
};

// The request, or the usage error in `error`.
RecordsConvertRequest parse(const std::vector<std::string>& args, std::string& error) {
    RecordsConvertRequest request;
    std::size_t at = 0;
    const vec::ValueTaker next = [&]() -> std::optional<std::string> {
        if (at >= args.size()) return std::nullopt;
        return args[at++];
    };
    while (at < args.size() && error.empty()) {
        const std::string& arg = args[at++];
        if (auto problem = vec::recordsOption(arg, next, request.source)) {
            error = *problem;
        } else if (arg == "--encoding") {
            const auto name = next();
            if (!name || !vec::encodingKnown(*name)) error = "--encoding needs a text encoding the system knows";
            else request.source.encoding = *name;
        } else if (arg.rfind("--", 0) == 0) {
            error = "unknown option " + arg;
        } else if (!request.output.empty()) {
            error = "give one output file";
        } else {
            request.output = arg;
        }
    }
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
    return std::any_of(args.begin(), args.end(),
                       [](const std::string& arg) { return arg == "--records" || arg == "--occurrences"; });
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
    for (const auto& [option, help] : vec::recordsHelp()) {
        std::string line = "  " + option;
        line.resize(std::max<std::size_t>(line.size() + 2, 28), ' ');
        text += line + help + "\n";
    }
    return text + "  --encoding NAME           text encoding of TABLE (default: auto)\n";
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
