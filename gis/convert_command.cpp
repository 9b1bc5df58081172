#include "gis/convert_command.hpp"

#include <algorithm>
#include <filesystem>

#include "base/command_line.hpp"
#include "base/parameter_options.hpp"
#include "base/text.hpp"
#include "gis/console_messenger.hpp"
#include "gis/gdal_session.hpp"
#include "gis/gis_error.hpp"
#include "gis/layer_export.hpp"
#include "gis/records_convert.hpp"
#include "vector/vector_file.hpp"

namespace el::gis {
namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

// The converter's options of a layer import, writing into `request`, in the order its help
// lists them; --help ends the line, and is not listed.
std::vector<cmdline::Option> options(ConvertRequest& request) {
    ParamValues& values = request.params;
    cmdline::Option help = commandLineOption(parameter(Param::Help), kConvert, "--help", values, {.gis = true});
    help.help.clear();
    help.endsLine = true;
    std::vector<cmdline::Option> all{help};
    for (cmdline::Option& option :
         commandLineOptions(parametersFor(kConvert, ParamGroup::Layer), kConvert, false, values, {.gis = true}))
        all.push_back(std::move(option));
    return all;
}

// The layer import the values ask for.
void takeValues(ConvertRequest& request) {
    const ParamValues& values = request.params;
    ImportOptions& import = request.import;
    import.layer = values.text(Param::Layer);
    import.nameField = values.text(Param::NameField);
    import.targetSrs = values.text(Param::TargetSrs);
    if (values.given(Param::SpeciesFields)) import.species = values.list(Param::SpeciesFields);
    request.importOptionsGiven = false;
    for (const Parameter* p : parametersFor(kConvert, ParamGroup::Layer))
        request.importOptionsGiven |= values.given(p->id);
    request.help = values.on(Param::Help);
}

cmdline::Grammar grammar(std::vector<std::string>& files) {
    cmdline::Grammar grammar;
    grammar.isOperand = [](const std::string& arg) { return !arg.starts_with("--") || arg == "--"; };
    grammar.operand = [&files](const std::string& arg) {
        files.push_back(arg);
        return std::string();
    };
    grammar.unknown = [](const std::string&, const std::string& name) { return "unknown option " + name; };
    grammar.missingValue = [](const std::string& written, const cmdline::Option&) {
        return written + " needs a value";
    };
    return grammar;
}

}  // namespace

bool writesVectorFile(const ConvertRequest& request) {
    return asciiLower(std::filesystem::path(request.output).extension().string()) == ".csv";
}

cmdline::Parsed<ConvertRequest> parseConvertArguments(const std::vector<std::string>& args) {
    ConvertRequest request;
    std::vector<std::string> files;
    if (std::string error = cmdline::readArguments(args, options(request), grammar(files)); !error.empty())
        return {std::nullopt, std::move(error)};
    takeValues(request);
    if (request.help) return {std::move(request), {}};
    if (files.size() != 2) return {std::nullopt, "give one input file and one output file"};
    request.input = files[0];
    request.output = files[1];
    if (!writesVectorFile(request) && request.importOptionsGiven)
        return {std::nullopt,
                "--layer, --name-field, --species and --t-srs apply only when the output is a .csv vector file"};
    return {std::move(request), {}};
}

std::string convertHelp() {
    ConvertRequest unused;  // the handlers' target; nothing is read
    return std::string(R"(Usage:
  earlylate-convert IN OUT.csv [--layer L] [--name-field F] [--species A,B,...] [--t-srs SRS]
  earlylate-convert FILE.csv OUT.gpkg|OUT.shp|OUT.geojson

With an output ending in .csv, one layer of any vector file GDAL reads (GeoPackage,
shapefile, GeoJSON, ...) becomes a vector file, one region per feature in feature order:
  point                    -> "point" (a multipoint of one point too; larger multipoints
                              are refused, since a region has one place)
  line string              -> "line"
  multi line string        -> "tree", one part per line, labelled "line"
  polygon with one ring    -> "polygon" (the closing node is not repeated)
  polygon with holes,
  multipolygon             -> "area", one part per ring: outer rings labelled "outer",
                              holes labelled "hole"
Curves are approximated by lines; Z and M values are dropped.
Species are the attribute columns: all but the name field, or those given by --species
in that order. Integers and reals become plain numbers, dates and date-times decimal years
(year + (day of year - 1) / days in the year, the time of day as stored adding its
fraction of a day), texts stay as written (line breaks become blanks), nulls become missing values.
Region names come from --name-field, else from a field called "name" (any case), else the
feature id.

)") + cmdline::optionList(options(unused), 20) +
           R"(
With an input ending in .csv and any other output, every object of the vector file becomes
a feature of a new layer in the format chosen by the output's extension, with all its
variables as attributes (reals where every present value is a number, else texts), its
name in a "name" attribute and its geometry: an area becomes a multipolygon in which each
"hole" part is a hole of the polygon before it, a tree a multi line string. An existing
output is replaced.

Exit status: 0 done, 1 conversion failed, 2 usage error.
)";
}

int runConvert(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const std::filesystem::path& sideFolder) {
    const bool help = std::find(args.begin(), args.end(), "--help") != args.end() ||
                      std::find(args.begin(), args.end(), "-h") != args.end();
    if (!help && asksForRecords(args)) return runRecordsConvert(args, out, err);
    const auto parsed = parseConvertArguments(args);
    if (!parsed.options) {
        err << "earlylate-convert: " << parsed.error << "\nTry earlylate-convert --help\n";
        return kUsage;
    }
    const ConvertRequest& request = *parsed.options;
    if (request.help) {
        out << convertHelp() << recordsConvertHelp();
        return kDone;
    }
    ConsoleMessenger messenger(err);
    const SettingValues settings;  // start-up values: the format checks are skipped
    Feedback quiet;
    try {
        if (writesVectorFile(request)) {
            vec::VectorData data = importLayer(request.input, request.import);
            if (vec::VectorFileWrite(request.output, data, "", quiet) != 0)
                throw GisError("cannot write " + request.output);
        } else {
            if (driverForOutput(request.output).empty())
                throw GisError("no GIS format is known for the extension of " + request.output +
                               " (use .gpkg, .shp or .geojson)");
            const std::string missvalue = "null";
            const vec::ReadOutcome read =
                vec::readVectorFile(request.input, missvalue, {settings, messenger, quiet}, sideFolder);
            if (read.erf != 0) throw GisError("cannot read the vector file " + request.input);
            exportVectorData(read.data, missvalue, request.output);
        }
    } catch (const std::exception& e) {
        messenger.message(e.what());
        return kFailed;
    }
    return kDone;
}

}  // namespace el::gis
