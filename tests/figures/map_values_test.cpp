// The known-and-forecast map: recorded dates solid, predicted dates pale and hatched, both
// named in the legend, overdue regions ringed; the predicted map and maps of another species
// as they were. The risk map: the unreached regions by their risk on a scale from 0, the
// reached ones grey and hatched.

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "figures/colour.hpp"
#include "figures/map_figure.hpp"
#include "figures/map_legend.hpp"
#include "tests/figures/figure_fixture.hpp"

namespace el::figures {
namespace {

// Four squares: T recorded 2001, "Arrived" (no date), not yet arrived (predicted 2000, by the
// latest date 2001: overdue), unknown (predicted 2010). A second species S predicted too.
engine::RunResult knownRun() {
    engine::RunResult run = test::squareRowRun({"A", "B", "C", "D"}, "T");
    run.species[0].predicted = {2000, 2002, 2000, 2010};
    run.actualText = {"2001", "Arrived", "NotYetArrived", "Unknown"};
    run.actualDate = {2001.0, std::nullopt, std::nullopt, std::nullopt};
    run.role.assign(4, engine::RegionRole::Training);
    run.speciesNames.push_back("S");
    run.species.push_back(run.species[0]);
    run.species[1].predicted = {1990, 1995, 2000, 2005};
    return run;
}

// The squares with the values the run was made from (the overdue regions are read from them).
vec::VectorData knownData() {
    vec::VectorData data = test::squareRow({"A", "B", "C", "D"}, 0, 0, 10);
    data.sizes.valn = 2;
    data.valname = {"T", "S", "type$", "name$", "nodes"};
    const std::vector<std::string> t{"2001", "Arrived", "NotYetArrived", "Unknown"};
    for (std::size_t k = 0; k < 4; ++k) data.objects[k].values = {t[k], "1990"};
    return data;
}

const vec::VectorData kData = knownData();

std::string overlayText(const Scene& scene) {
    std::string text;
    for (const Label& l : scene.overlay.labels) text += l.text + " ";
    return text;
}

std::vector<const Marker*> overdueMarks(const Scene& scene) {
    std::vector<const Marker*> marks;
    for (const Marker& m : scene.content.markers)
        if (m.stroke.color == kOverdueMark) marks.push_back(&m);
    return marks;
}

TEST(KnownAndForecastMap, RecordedAndForecastStylesAndTheirLegend) {
    const MapChoice known{MapColouring::KnownAndForecast, -1};
    const engine::RunResult run = knownRun();
    const auto values = mapValues(run, known, 4);
    EXPECT_EQ(values[0], 2001.0) << "the recorded date, not the predicted 2000";
    EXPECT_FALSE(values[1]) << "arrived without a date";
    EXPECT_EQ(values[2], 2000.0);
    EXPECT_EQ(valueStyles(run, known, 4),
              (std::vector<ValueStyle>{ValueStyle::Recorded, ValueStyle::Recorded, ValueStyle::Forecast, ValueStyle::Forecast}));

    const Scene scene = buildMap(kData, run, known);
    const auto& shapes = scene.content.shapes;
    EXPECT_EQ(*shapes[0].fill, viridis(0.1));
    EXPECT_FALSE(shapes[0].hatched);
    EXPECT_EQ(*shapes[1].fill, kNoValue);
    EXPECT_EQ(*shapes[2].fill, paler(viridis(0)));
    EXPECT_TRUE(shapes[2].hatched);
    EXPECT_EQ(shapes[2].hatchColour, viridis(0)) << "hatched in the colour of its date";
    EXPECT_NE(*shapes[3].fill, viridis(1)) << "a forecast never in the solid colour";

    const std::string legend = overlayText(scene);
    for (const char* word : {"recorded", "forecast", "overdue", "2001", "Date of T"})
        EXPECT_NE(legend.find(word), std::string::npos) << word << " in " << legend;
}

TEST(KnownAndForecastMap, OverdueRegionsAreRinged) {
    const Scene scene = buildMap(kData, knownRun(), {MapColouring::KnownAndForecast, -1});
    const auto marks = overdueMarks(scene);
    ASSERT_EQ(marks.size(), 1u);
    // On the centroid of region C, amid its outline.
    double left = 1e9, right = -1e9, top = 1e9, bottom = -1e9;
    for (const Point& p : scene.content.shapes[2].rings[0])
        left = std::min(left, p.x), right = std::max(right, p.x), top = std::min(top, p.y),
        bottom = std::max(bottom, p.y);
    EXPECT_NEAR(marks[0]->at.x, (left + right) / 2, 1);
    EXPECT_NEAR(marks[0]->at.y, (top + bottom) / 2, 1);
    EXPECT_NE(scene.content.shapes[2].tip.find("overdue"), std::string::npos);
    EXPECT_EQ(scene.content.shapes[3].tip.find("overdue"), std::string::npos);
}

// The shapes' fills and the overlay's texts: what tells two maps apart.
bool sameLook(const Scene& a, const Scene& b) {
    if (overlayText(a) != overlayText(b) || a.content.shapes.size() != b.content.shapes.size()) return false;
    for (std::size_t i = 0; i < a.content.shapes.size(); ++i)
        if (a.content.shapes[i].fill != b.content.shapes[i].fill || a.content.shapes[i].hatched != b.content.shapes[i].hatched)
            return false;
    return a.content.markers.size() == b.content.markers.size();
}

TEST(KnownAndForecastMap, PredictedMapAndOtherSpeciesAsBefore) {
    const engine::RunResult run = knownRun();
    const Scene predicted = buildMap(kData, run, {MapColouring::PredictedDate, -1});
    EXPECT_TRUE(overdueMarks(predicted).empty());
    EXPECT_EQ(overlayText(predicted).find("forecast"), std::string::npos);
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_FALSE(predicted.content.shapes[k].hatched);
        EXPECT_EQ(*predicted.content.shapes[k].fill, viridis(run.species[0].predicted[k] == 2000   ? 0
                                                             : run.species[0].predicted[k] == 2002 ? 0.2
                                                                                                   : 1));
    }
    EXPECT_FALSE(sameLook(predicted, buildMap(kData, run, {MapColouring::KnownAndForecast, -1})));

    // Another species, and a run without a target: the predicted dates, one style.
    EXPECT_TRUE(sameLook(buildMap(kData, run, {MapColouring::KnownAndForecast, 1}),
                         buildMap(kData, run, {MapColouring::PredictedDate, 1})));
    engine::RunResult untargeted = run;
    untargeted.target = -1;
    EXPECT_TRUE(sameLook(buildMap(kData, untargeted, {MapColouring::KnownAndForecast, -1}),
                         buildMap(kData, untargeted, {MapColouring::PredictedDate, -1})));
}

// The risk of T at 2001 over 10 years: A reached, C at 5 %, D at 20 %; B neither (unknown).
engine::RiskResult riskOfT() {
    engine::RiskResult risk;
    risk.target = "T";
    risk.asOf = 2001;
    risk.horizon = 10;
    for (const auto& [k, name, share] : {std::tuple{2, "C", 0.05}, std::tuple{3, "D", 0.2}}) {
        engine::RiskRegion region;
        region.region = k, region.name = name, region.risk = share;
        risk.regions.push_back(region);
    }
    risk.reached = {0};
    return risk;
}

TEST(RiskMap, UnreachedRegionsByRiskFromZeroReachedOnesGreyAndHatched) {
    const engine::RiskResult risk = riskOfT();
    const MapChoice choice{MapColouring::Risk, -1, &risk};
    const engine::RunResult run = knownRun();
    const auto values = mapValues(run, choice, 4);
    EXPECT_FALSE(values[0]) << "reached: no risk, not its recorded date";
    EXPECT_FALSE(values[1]);
    EXPECT_DOUBLE_EQ(*values[2], 5);
    EXPECT_DOUBLE_EQ(*values[3], 20);
    EXPECT_EQ(valueStyles(run, choice, 4),
              (std::vector<ValueStyle>{ValueStyle::Reached, ValueStyle::Plain, ValueStyle::Plain, ValueStyle::Plain}));

    const Scene scene = buildMap(kData, run, choice);
    const auto& shapes = scene.content.shapes;
    EXPECT_EQ(*shapes[0].fill, kReached);
    EXPECT_TRUE(shapes[0].hatched);
    EXPECT_EQ(*shapes[1].fill, kNoValue);
    EXPECT_FALSE(shapes[1].hatched);
    // The scale runs from 0, not from the lowest risk: 5 % is a quarter of the way to 20 %.
    EXPECT_EQ(*shapes[2].fill, viridis(0.25));
    EXPECT_EQ(*shapes[3].fill, viridis(1));
    EXPECT_FALSE(shapes[2].hatched);
    EXPECT_TRUE(overdueMarks(scene).empty());
    EXPECT_NE(shapes[2].tip.find("risk of a first record: 5\u00A0%"), std::string::npos) << shapes[2].tip;
    EXPECT_NE(shapes[0].tip.find("reached by 2001"), std::string::npos) << shapes[0].tip;
    EXPECT_EQ(shapes[0].tip.find("risk of a first record"), std::string::npos);

    const std::string legend = overlayText(scene);
    for (const char* words : {"Risk (%) of a first record of T within 10 years of 2001", "reached by 2001"})
        EXPECT_NE(legend.find(words), std::string::npos) << words << " in " << legend;
    EXPECT_EQ(legend.find("forecast"), std::string::npos) << legend;
}

// The run's roles say nothing of a risk: the risk map draws every region in one outline and
// its key lists no role, on a large canvas and a small one; "no value" only where a region has
// neither a risk nor the reached style. The other maps keep every role.
TEST(RiskMap, OutlinesKeyListsOnlyWhatTheRiskMapDraws) {
    engine::RunResult run = knownRun();
    run.role = {engine::RegionRole::Training, engine::RegionRole::Validation, engine::RegionRole::Excluded,
                engine::RegionRole::Other};
    const char* roles[] = {"training", "validation", "no target date", "excluded"};
    engine::RiskResult risk = riskOfT();
    const MapChoice choice{MapColouring::Risk, -1, &risk};
    for (const auto& [width, height] : {std::pair{760.0, 560.0}, std::pair{420.0, 520.0}}) {
        const Scene scene = buildMap(kData, run, choice, width, height);
        const std::string legend = overlayText(scene);
        for (const char* role : roles) EXPECT_EQ(legend.find(role), std::string::npos) << role << " in " << legend;
        const Stroke thin = outlineOf(engine::RegionRole::Other);
        for (std::size_t k = 0; k < 4; ++k) {
            const Stroke stroke = scene.content.shapes[k].stroke.value_or(Stroke{});
            EXPECT_TRUE(stroke.color == thin.color && stroke.width == thin.width && stroke.dash == thin.dash) << k;
        }
        EXPECT_FALSE(scene.content.shapes[2].hatched) << "excluded from the run, yet at risk";
    }
    EXPECT_NE(overlayText(buildMap(kData, run, choice)).find("no value"), std::string::npos);  // B: unknown
    risk.reached = {0, 1};
    EXPECT_EQ(overlayText(buildMap(kData, run, choice)).find("no value"), std::string::npos);

    const std::string known = overlayText(buildMap(kData, run, MapChoice{MapColouring::KnownAndForecast, -1}));
    for (const char* role : roles) EXPECT_NE(known.find(role), std::string::npos) << role << " in " << known;
    EXPECT_NE(known.find("no value"), std::string::npos);
}

TEST(RiskMap, WithoutRisksTheTitleSaysWhy) {
    engine::RiskResult risk = riskOfT();
    risk.regions.clear();
    risk.reached.clear();
    risk.riskReason = "only 2 species could be fitted on";
    const MapChoice choice{MapColouring::Risk, -1, &risk};
    const Scene scene = buildMap(kData, knownRun(), choice);
    for (std::size_t k = 0; k < 4; ++k) EXPECT_EQ(*scene.content.shapes[k].fill, kNoValue) << k;
    const std::string legend = overlayText(scene);
    EXPECT_NE(legend.find("No risk of a first record of T: only 2 species"), std::string::npos) << legend;
    EXPECT_NE(legend.find("no values"), std::string::npos) << legend;
    const MapChoice none{MapColouring::Risk, -1, nullptr};
    for (const auto& value : mapValues(knownRun(), none, 4)) EXPECT_FALSE(value);
}

}  // namespace
}  // namespace el::figures
