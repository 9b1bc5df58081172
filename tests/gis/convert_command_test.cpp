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
    return parsed.options ? "accepted" : parsed.error;
}

TEST(ConvertArguments, OptionsAndUsageErrors) {
    const auto parsed = parseConvertArguments(
        {"in.gpkg", "--layer", "L", "--species=b,a", "OUT.CSV", "--name-field", "nm", "--t-srs", "EPSG:3857"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    const ConvertRequest& request = *parsed.options;
    EXPECT_EQ(request.input, "in.gpkg");
    EXPECT_EQ(request.output, "OUT.CSV");
    EXPECT_TRUE(gis::writesVectorFile(request));
    EXPECT_EQ(request.import.layer, "L");
    EXPECT_EQ(request.import.nameField, "nm");
    EXPECT_EQ(request.import.targetSrs, "EPSG:3857");
    EXPECT_EQ(*request.import.species, (std::vector<std::string>{"b", "a"}));

    EXPECT_TRUE(parseConvertArguments({"x", "--help"}).options->help);
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
    const std::string layer = (dir / "r.gpkg").string();
    writeGisFile(layer, "GPKG", {{"r", {{"Name", OFTString}, {"sp", OFTString}}, {{"POINT (1 2)", {"A", "分布"}}}}});
    std::ostringstream out, err;
    EXPECT_EQ(gis::runConvert({"--help"}, out, err, dir.path()), 0);
    EXPECT_NE(out.str().find("holes labelled \"hole\""), std::string::npos);
    EXPECT_EQ(gis::runConvert({layer}, out, err, dir.path()), 2);
    EXPECT_EQ(err.str(), "earlylate-convert: give one input file and one output file\nTry earlylate-convert --help\n");

    err.str("");
    EXPECT_EQ(gis::runConvert({layer, (dir / "r.csv").string()}, out, err, dir.path()), 0);
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(readFile(dir / "r.csv"), crlf({"vector", "Converted from r.gpkg layer r", "sp,type$,name$,count,x1,y1,",
                                             "分布,point,A, 1 , 1 , 2 ,"}));
    EXPECT_EQ(gis::runConvert({layer, (dir / "r2.csv").string(), "--species", "nope"}, out, err, dir.path()), 1);
    EXPECT_EQ(err.str(), "earlylate: layer \"r\" has no field named \"nope\" (fields: Name, sp)\n");
}

// The records mode reads its options with the same parser: --records=TABLE leads there too.
TEST(RunConvert, RecordsModeUsageErrors) {
    for (const auto& [args, error] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"--records=t.csv"}, "give the output file"},
             {{"--records", "t.csv", "o.csv", "p.csv"}, "give one output file"},
             {{"--records", "t.csv", "--colour=red", "o.csv"}, "unknown option --colour=red"},
             {{"--records", "t.csv", "--encoding"}, "--encoding needs a text encoding the system knows"},
             {{"--records", "t.csv", "--encoding=NOPE", "o.csv"}, "--encoding needs a text encoding the system knows"},
             {{"--records", "t.csv", "--regions-layer"}, "option --regions-layer needs a value"},
             {{"--occurrences=p.csv", "--regions=", "o.csv"}, "option --regions needs a value"}}) {
        std::ostringstream out, err;
        EXPECT_EQ(gis::runConvert(args, out, err, {}), 2) << args[0];
        EXPECT_EQ(err.str(), "earlylate-convert: " + error + "\nTry earlylate-convert --help\n") << args[0];
    }
}

void expectSameDataSet(const vec::VectorData& got, const vec::VectorData& want) {
    EXPECT_EQ(std::tie(got.filetype, got.comment, got.valname), std::tie(want.filetype, want.comment, want.valname));
    EXPECT_EQ(std::vector<int>({got.valn(), got.objn(), got.maxline(), got.sizes.maxpolygon, got.sizes.maxnode}),
              std::vector<int>({want.valn(), want.objn(), want.maxline(), want.sizes.maxpolygon, want.sizes.maxnode}));
    ASSERT_EQ(got.objects.size(), want.objects.size());
    for (std::size_t i = 0; i < want.objects.size(); ++i) {
        const vec::VectorObject& a = got.objects[i];
        const vec::VectorObject& b = want.objects[i];
        EXPECT_EQ(std::tie(a.values, a.type, a.name), std::tie(b.values, b.type, b.name)) << i;
        ASSERT_EQ(a.noden(), b.noden());
        for (int p = 0; p < b.noden(); ++p)
            EXPECT_EQ(std::tie(a.parts[static_cast<std::size_t>(p)].mergin, a.parts[static_cast<std::size_t>(p)].x,
                               a.parts[static_cast<std::size_t>(p)].y),
                      std::tie(b.parts[static_cast<std::size_t>(p)].mergin, b.parts[static_cast<std::size_t>(p)].x,
                               b.parts[static_cast<std::size_t>(p)].y));
    }
}

TEST(ImportForRead, TheReadStepGetsWhatItsConvertedVectorFileGives) {
    TempDir dir;
    EXPECT_TRUE(gis::isGisFile("a/B.GeoJSON"));
    EXPECT_TRUE(gis::isGisFile("x.SHP"));
    EXPECT_FALSE(gis::isGisFile("x.csv"));
    writeGisFile(dir / "g.geojson", "GeoJSON",
                 {{"g",
                   {{"name", OFTString}, {" sp", OFTString}, {"n", OFTInteger}},
                   {{"POINT (1 2)", {"  Kita, East", " 1990", "3"}},
                    {"MULTIPOLYGON (((0 0,1 0,1 1,0 0)),((2 2,3 2,3 3,2 2)))", {"Minami", "\tArrived", std::nullopt}},
                    {"LINESTRING (0.1 0.2,0.3 0.4)", {"  ", "say \"hi\"", "-7"}}}}});
    const std::string before = readFile(dir / "g.geojson");

    RecordingHost direct;
    direct.values.set(Setting::SkipFormatCheck, "0");
    auto imported = gis::importForRead(dir / "g.geojson", direct);
    ASSERT_TRUE(imported);
    const vec::ReadOutcome got = vec::readVectorData(std::move(*imported), "null", direct);
    ASSERT_EQ(got.erf, 0);

    RecordingHost viaFile;
    viaFile.values.set(Setting::SkipFormatCheck, "0");
    vec::VectorData converted = gis::importLayer(dir / "g.geojson", {});
    ASSERT_EQ(vec::VectorFileWrite(dir / "g.csv", converted, "", viaFile), 0);
    const vec::ReadOutcome want = vec::readVectorFile(dir / "g.csv", "null", viaFile, {});
    ASSERT_EQ(want.erf, 0);

    expectSameDataSet(got.data, want.data);
    EXPECT_EQ(got.data.objects[0].values[0], "1990");  // blanks before a field are not part of it
    EXPECT_EQ(got.data.objects[0].name, "  Kita, East");  // but inside the quotes of one with a comma they are
    EXPECT_EQ(got.data.objects[1].values, (std::vector<std::string>{"Arrived", "null"}));
    EXPECT_EQ(direct.messages, viaFile.messages);
    EXPECT_EQ(direct.captionsOf(Label::ReadProgress), viaFile.captionsOf(Label::ReadProgress));
    EXPECT_EQ(readFile(dir / "g.geojson"), before);

    writeFile(dir / "broken.gpkg", "not a geopackage");
    RecordingHost host;
    EXPECT_FALSE(gis::importForRead(dir / "broken.gpkg", host));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].rfind("Cannot read broken.gpkg: ", 0), 0u);
    EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"broken.gpkg", "g.csv", "g.geojson"}));
}

}  // namespace
}  // namespace el::test
