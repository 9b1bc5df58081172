// The diagnostics every front end shows: the input warnings with what each is about, and
// the refusals of outputs that a data set without geometry cannot have.

#include <gtest/gtest.h>

#include <filesystem>

#include "ops/input_review.hpp"
#include "ops/output_refusals.hpp"
#include "ops/table_files.hpp"
#include "tests/engine/run_fixture.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::ops {
namespace {

using test::makeData;

// Regions "A", "B", "A", "C" (one name twice); "T" has two dates, "None" none.
vec::VectorData repeatedNames() {
    return makeData({"T", "None"}, {"A", "B", "A", "C"},
                    {{"2001", "NotYetArrived"},
                     {"2002", "NotYetArrived"},
                     {"NotYetArrived", "Arrived"},
                     {"NotYetArrived", "NotYetArrived"}});
}

// The same regions all at one stand-in place, as a records table without a regions layer.
vec::VectorData withoutGeometry() {
    vec::VectorData data = repeatedNames();
    for (vec::VectorObject& object : data.objects) object.parts.front().x = {0.0};
    return data;
}

std::vector<DiagnosticKind> kindsOf(const Diagnostics& list) {
    std::vector<DiagnosticKind> kinds;
    for (const Diagnostic& d : list) kinds.push_back(d.kind);
    return kinds;
}

TEST(InputDiagnostics, EachWarningNamesWhatItIsAboutInAFixedOrder) {
    SettingValues settings;
    settings.set(Setting::TargetSpecies, "T");
    settings.set(Setting::TrainingRatio, "0.75");  // keeps 3 of 4 regions: both dates stay in training
    const Diagnostics found = inputDiagnostics(repeatedNames(), {"T", "None"}, settings);
    ASSERT_EQ(kindsOf(found),
              (std::vector<DiagnosticKind>{DiagnosticKind::DuplicatedRegionNames, DiagnosticKind::UndatedSpecies,
                                           DiagnosticKind::NoValidation}));
    EXPECT_EQ(found[0].subject, "A");
    EXPECT_EQ(found[1].subject, "None");
    EXPECT_EQ(found[2].subject, "T");
    for (const Diagnostic& d : found) EXPECT_EQ(d.severity, Severity::Warning);
    const std::vector<std::string> texts = consoleTexts(found);
    EXPECT_EQ(texts[0].rfind("warning: 1 region name is used more than once: \"A\" (2 regions)", 0), 0u) << texts[0];
    EXPECT_EQ(texts[1].rfind("warning: the species \"None\" has no dated region", 0), 0u) << texts[1];

    // A target left out of the species analysed is not warned of; nor is a share of 1.
    EXPECT_EQ(kindsOf(inputDiagnostics(repeatedNames(), {"None"}, settings)),
              (std::vector<DiagnosticKind>{DiagnosticKind::DuplicatedRegionNames, DiagnosticKind::UndatedSpecies}));
    settings.set(Setting::TrainingRatio, "1");
    const vec::VectorData unique = makeData({"T"}, {"A", "B"}, {{"2001"}, {"2002"}});
    EXPECT_TRUE(inputDiagnostics(unique, {"T"}, settings).empty());
}

// A species typed with a Cyrillic "с" beside the same name in Latin letters: warned of after
// the other warnings, named as the subject, and only where the run touches it.
TEST(InputDiagnostics, ANameThatMixesAlphabetsComesLast) {
    const std::string mixed =
        "Elodea \xD1\x81"
        "anadensis";
    const vec::VectorData data = makeData({"Elodea canadensis", mixed, "None"}, {"A", "B", "A"},
                                          {{"1890", "NotYetArrived", "NotYetArrived"},
                                           {"1901", "1911", "NotYetArrived"},
                                           {"1902", "1890", "NotYetArrived"}});
    SettingValues settings;
    const Diagnostics found = inputDiagnostics(data, {"Elodea canadensis", "None"}, settings);
    ASSERT_EQ(kindsOf(found),
              (std::vector<DiagnosticKind>{DiagnosticKind::DuplicatedRegionNames, DiagnosticKind::UndatedSpecies,
                                           DiagnosticKind::MixedScriptName}));
    EXPECT_EQ(found[2].subject, mixed);
    EXPECT_EQ(kindName(found[2].kind), "mixed_script_name");
    EXPECT_EQ(consoleTexts(found)[2].rfind("warning: the species \"" + mixed + "\" (recorded in region \"B\")", 0), 0u)
        << consoleTexts(found)[2];
    EXPECT_EQ(kindsOf(inputDiagnostics(data, {"None"}, settings)).back(), DiagnosticKind::UndatedSpecies);
}

TEST(OutputRefusals, ADataSetWithoutGeometryIsRefusedMapsAndLayersOnly) {
    const vec::VectorData placed = repeatedNames();
    EXPECT_FALSE(mapRefusal("m.png", placed));
    EXPECT_FALSE(layerRefusal("p.gpkg", placed));
    EXPECT_FALSE(distanceBaselineWarning(placed));

    const vec::VectorData stacked = withoutGeometry();
    const auto map = mapRefusal("m.png", stacked);
    ASSERT_TRUE(map);
    EXPECT_EQ(map->severity, Severity::Refusal);
    EXPECT_EQ(map->subject, "m.png");
    EXPECT_EQ(map->text,
              "\"m.png\" is not drawn: a map needs the regions' geometry, which a records table brings "
              "only with --regions LAYER");
    EXPECT_EQ(mapRefusal("", stacked, kWindowRegionsWords)->text,
              "The map is not drawn: a map needs the regions' geometry, which a records table brings only with a "
              "regions layer");
    EXPECT_EQ(layerRefusal("p.gpkg", stacked)->kind, DiagnosticKind::LayerWithoutGeometry);
    EXPECT_EQ(distanceBaselineWarning(stacked)->severity, Severity::Warning);
}

TEST(OutputRefusals, TheLayerIsRefusedBeforeAnythingIsWrittenTheCsvIsNot) {
    const test::TempDir dir;
    const vec::VectorData stacked = withoutGeometry();
    engine::PredictionTable table;
    table.columns = {{"region", ColumnType::Text}};
    for (const vec::VectorObject& object : stacked.objects) table.rows.push_back({TableCell::ofText(object.name)});
    const std::string layer = (dir.path() / "p.geojson").string();
    EXPECT_EQ(writePredictionsFile(layer, table, stacked), layerRefusal(layer, stacked)->text);
    EXPECT_FALSE(std::filesystem::exists(layer));
    const std::string csv = (dir.path() / "p.csv").string();
    EXPECT_EQ(writePredictionsFile(csv, table, stacked), std::nullopt);
    EXPECT_TRUE(std::filesystem::exists(csv));
}

TEST(OutputRefusals, AThreadCountIsAWholeNumberFromOneOrEmptyForEveryCore) {
    for (const char* refused : {"0", "x", "2.5", "257", "-1"}) {
        const auto refusal = threadCountRefusal(refused);
        ASSERT_TRUE(refusal) << refused;
        EXPECT_EQ(refusal->subject, refused);
        EXPECT_EQ(refusal->text.rfind("The thread count takes a whole number from 1 to 256", 0), 0u) << refusal->text;
    }
    for (const char* accepted : {"", "1", "4", "256"}) EXPECT_FALSE(threadCountRefusal(accepted)) << accepted;
}

}  // namespace
}  // namespace el::ops
