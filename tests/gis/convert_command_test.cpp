#include "gis/convert_command.hpp"

#include <sstream>

#include <gtest/gtest.h>

#include "gis/gis_error.hpp"
#include "gis/prepare_read.hpp"
#include "tests/gis/gis_fixture.hpp"
#include "tests/support/recording_host.hpp"
#include "tests/support/temp_dir.hpp"
#include "vector/vector_file.hpp"

namespace el::test {
namespace {

using gis::ConvertRequest;
using gis::parseConvertArguments;

std::string usageError(const std::vector<std::string>& args) {
    const auto parsed = parseConvertArguments(args);
    const auto* error = std::get_if<std::string>(&parsed);
    return error ? *error : "accepted";
}

TEST(ConvertArguments, OptionsAndUsageErrors) {
    const auto parsed = parseConvertArguments(
        {"in.gpkg", "--layer", "L", "--species=b,a", "OUT.CSV", "--name-field", "nm", "--t-srs", "EPSG:3857"});
    ASSERT_TRUE(std::holds_alternative<ConvertRequest>(parsed));
    const ConvertRequest& request = std::get<ConvertRequest>(parsed);
    EXPECT_EQ(request.input, "in.gpkg");
    EXPECT_EQ(request.output, "OUT.CSV");
    EXPECT_TRUE(gis::writesVectorFile(request));
    EXPECT_EQ(request.import.layer, "L");
    EXPECT_EQ(request.import.nameField, "nm");
    EXPECT_EQ(request.import.targetSrs, "EPSG:3857");
    EXPECT_EQ(*request.import.species, (std::vector<std::string>{"b", "a"}));

    EXPECT_TRUE(std::get<ConvertRequest>(parseConvertArguments({"x", "--help"})).help);
    EXPECT_EQ(usageError({"a.csv"}), "give one input file and one output file");
    EXPECT_EQ(usageError({"a.gpkg", "b.csv", "--layer"}), "--layer needs a value");
    EXPECT_EQ(usageError({"a.gpkg", "b.csv", "--layer="}), "--layer needs a value");
    EXPECT_EQ(usageError({"a.gpkg", "b.csv", "--species", "a,,b"}), "--species needs a comma-separated list of field names");
    EXPECT_EQ(usageError({"a.gpkg", "b.csv", "--colour", "red"}), "unknown option --colour");
    EXPECT_EQ(usageError({"a.csv", "b.gpkg", "--layer", "L"}),
              "--layer, --name-field, --species and --t-srs apply only when the output is a .csv vector file");
}

TEST(RunConvert, ExitStatusAndMessages) {
    TempDir dir;
    ScopedCwd cwd(dir.path());
    writeGisFile("r.gpkg", "GPKG", {{"r", {{"Name", OFTString}, {"sp", OFTString}}, {{"POINT (1 2)", {"A", "分布"}}}}});
    std::ostringstream out, err;
    EXPECT_EQ(gis::runConvert({"--help"}, out, err), 0);
    EXPECT_NE(out.str().find("holes labelled \"hole\""), std::string::npos);
    EXPECT_EQ(gis::runConvert({"r.gpkg"}, out, err), 2);
    EXPECT_EQ(err.str(), "earlylate-convert: give one input file and one output file\nTry earlylate-convert --help\n");

    err.str("");
    EXPECT_EQ(gis::runConvert({"r.gpkg", "r.csv"}, out, err), 0);
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(readFile("r.csv"), crlf({"vector", "Converted from r.gpkg layer r", "sp,type$,name$,count,x1,y1,",
                                       "分布,point,A, 1 , 1 , 2 ,"}));
    EXPECT_EQ(gis::runConvert({"r.gpkg", "r2.csv", "--species", "nope"}, out, err), 1);
    EXPECT_EQ(err.str(), "earlylate: layer \"r\" has no field named \"nope\" (fields: Name, sp)\n");
}

TEST(PrepareForRead, ConvertsGisFilesToTheScratchFileOnly) {
    TempDir dir;
    ScopedCwd cwd(dir.path());
    EXPECT_TRUE(gis::isGisFile("a/B.GeoJSON"));
    EXPECT_TRUE(gis::isGisFile("x.SHP"));
    EXPECT_FALSE(gis::isGisFile("x.csv"));
    RecordingHost host;
    EXPECT_EQ(gis::prepareForRead("plain.csv", host), "plain.csv");

    writeGisFile("g.geojson", "GeoJSON", {{"g", {{"sp", OFTInteger}}, {{"POINT (1 2)", {"1990"}}}}});
    const std::string before = readFile("g.geojson");
    EXPECT_EQ(gis::prepareForRead("g.geojson", host), "temp0.csv");
    EXPECT_EQ(readFile("g.geojson"), before);
    const ReadOutcome loaded = readVectorFile("temp0.csv", "null", host);
    ASSERT_EQ(loaded.erf, 0);
    EXPECT_EQ(loaded.data.objects[0].values[0], "1990");
    EXPECT_TRUE(host.messages.empty());

    writeFile("broken.gpkg", "not a geopackage");
    EXPECT_THROW(gis::prepareForRead("broken.gpkg", host), gis::GisError);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].rfind("Cannot read broken.gpkg: ", 0), 0u);
    EXPECT_FALSE(std::filesystem::exists("temp0.csv"));  // no stale data from the earlier conversion
}

}  // namespace
}  // namespace el::test
