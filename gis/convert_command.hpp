#pragma once
// The command line converter between GIS files and vector files:
//   earlylate-convert IN OUT.csv [--layer L] [--name-field F] [--species A,B,...] [--t-srs SRS]
//   earlylate-convert FILE.csv OUT.gpkg|OUT.shp|OUT.geojson
// Exit status 0 done, 1 conversion failed, 2 usage error.

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "base/command_line.hpp"
#include "base/parameters.hpp"
#include "gis/layer_import.hpp"

namespace el::gis {

struct ConvertRequest {
    ParamValues params;  // every parameter's value as given (import and help are read from it)
    std::string input;
    std::string output;
    ImportOptions import;
    bool importOptionsGiven = false;
    bool help = false;
};

// True when the request writes a vector file (OUT ends in .csv), false when it writes a GIS file.
bool writesVectorFile(const ConvertRequest& request);

// The request, or the text of a usage error.
cmdline::Parsed<ConvertRequest> parseConvertArguments(const std::vector<std::string>& args);

std::string convertHelp();

// Runs the converter on the arguments after the program name; the side log of a vector file
// that fails its scan goes to `sideFolder` (the converter's: its working folder).
int runConvert(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const std::filesystem::path& sideFolder);

}  // namespace el::gis
