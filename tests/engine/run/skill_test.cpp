#include "engine/run/skill.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "base/settings.hpp"
#include "outputs/prediction_table.hpp"
#include "outputs/run_summary.hpp"

#include "tests/engine/run_fixture.hpp"

namespace el::engine {
namespace {

// Seven regions. The target T has dates up to 2008; R4 and R6 are not reached
// ("NotYetArrived"), R5 not reached under the other keyword, R7 not reached but left out of
// the run. The run predicts R4 at 2007 and R5 at 2008 (both overdue: no later than 2008)
// and R6 at 2008.5 (not overdue).
struct SkillCase {
    vec::VectorData data = test::makeData({"A", "T"}, {"R1", "R2", "R3", "R4", "R5", "R6", "R7"},
                                          {{"1990", "2000"},
                                           {"1991", "2004"},
                                           {"1992", "2008"},
                                           {"1993", "NotYetArrived"},
                                           {"NotYetArrived", "未分布"},
                                           {"1995", "NotYetArrived"},
                                           {"1996", "NotYetArrived"}});
    RunResult result;

    SkillCase() {
        result.status = RunStatus::Completed;
        result.regionNames = {"R1", "R2", "R3", "R4", "R5", "R6", "R7"};
        result.regno = {0, 1, 2, 3, 4, 5};
        result.score = {0.1, 0.2, 0.3, 0.4, 0.5, 0.6};
        result.role = {RegionRole::Training, RegionRole::Training, RegionRole::Training, RegionRole::Other,
                       RegionRole::Other,    RegionRole::Other,    RegionRole::Excluded};
        result.speciesNames = {"A", "T"};
        result.target = 1;
        result.species.resize(2);
        setFit(0, 0.9, {1989, 1990, 1991, 1992, 1993.5, 1995});
        setFit(1, 0.8, {2001, 2003, 2009, 2007, 2008, 2008.5});
    }
    void setFit(std::size_t j, double rt, std::vector<double> predicted) {
        result.species[j].fit.predictable = true;
        result.species[j].fit.rt = rt;
        result.species[j].predicted = std::move(predicted);
    }
};

TEST(Skill, OverdueRegionsAreThoseNotReachedYetPredictedByTheLatestDate) {
    SkillCase c;
    const SpeciesSkill skill = *targetSkill(c.data, c.result);
    EXPECT_EQ(skill.species, "T");
    EXPECT_FALSE(skill.noSkill);
    EXPECT_EQ(skill.rTraining, 0.8);
    EXPECT_EQ(skill.latestDate, 2008.0);
    EXPECT_EQ(skill.notYetArrived, 3);  // R7 was not used: it has no forecast
    EXPECT_EQ(skill.overdue, 2);
    ASSERT_TRUE(skill.overdueShare);
    EXPECT_DOUBLE_EQ(*skill.overdueShare, 2.0 / 3.0);
    EXPECT_EQ(skill.overdueRegion, (std::vector<bool>{false, false, false, true, true, false, false}));

    // Another species is judged by its own dates: A's latest is 1996, and its one region
    // not reached (R5) is predicted at 1993.5.
    const SpeciesSkill other = speciesSkill(c.data, c.result, 0);
    EXPECT_EQ(other.latestDate, 1996.0);
    EXPECT_EQ(other.notYetArrived, 1);
    EXPECT_EQ(other.overdue, 1);
    EXPECT_THROW(speciesSkill(c.data, c.result, 2), std::out_of_range);
}

TEST(Skill, NoSkillWhenTrainingRIsNotAboveZeroOrNoLineWasFitted) {
    for (const double rt : {-0.13, 0.0, kNotComputable}) {
        SkillCase c;
        c.result.species[1].fit.rt = rt;
        const SpeciesSkill skill = *targetSkill(c.data, c.result);
        EXPECT_TRUE(skill.noSkill) << rt;
        EXPECT_EQ(skill.rTraining.has_value(), rt != kNotComputable);
        EXPECT_EQ(skill.overdue, 2) << "the line still gives dates, and they can still be overdue";
    }
    SkillCase unpredictable;
    unpredictable.result.species[1].fit.predictable = false;
    const SpeciesSkill skill = *targetSkill(unpredictable.data, unpredictable.result);
    EXPECT_TRUE(skill.noSkill);
    EXPECT_FALSE(skill.overdue);  // no date, so nothing can be overdue
    EXPECT_FALSE(skill.overdueShare);
    EXPECT_EQ(skill.notYetArrived, 3);

    SkillCase noTarget;
    noTarget.result.target = -1;
    EXPECT_FALSE(targetSkill(noTarget.data, noTarget.result));
}

TEST(Skill, PredictionTableEndsWithTheOverdueColumn) {
    SkillCase c;
    const PredictionTable table = predictionTable(c.data, c.result, "null");
    ASSERT_EQ(table.columns.back().name, "overdue");
    EXPECT_EQ(table.columns[table.columns.size() - 2].name, "Predicted_T");
    std::vector<std::string> overdue;
    for (const auto& row : table.rows) overdue.push_back(row.back().text);
    EXPECT_EQ(overdue, (std::vector<std::string>{"", "", "", "yes", "yes", "", ""}));
    const std::string csv = tableCsv(table);
    EXPECT_NE(csv.find(",Predicted_T,overdue\r\n"), std::string::npos);
    EXPECT_NE(csv.find(",2007,yes\r\n"), std::string::npos);
}

TEST(Skill, SummaryHasTheSkillObject) {
    SkillCase c;
    c.result.species[1].fit.rt = -0.13;
    const SettingValues settings;
    RunSummaryInput input{"9.9", "in.csv", std::nullopt, settings, "12-05-2026", c.result, 0, nullptr};
    input.data = &c.data;
    const auto json = nlohmann::ordered_json::parse(runSummaryJson(input));
    const auto& skill = json.at("skill");
    std::vector<std::string> keys;
    for (const auto& item : skill.items()) keys.push_back(item.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"r_training", "no_skill", "latest_date", "overdue", "overdue_share"}));
    EXPECT_DOUBLE_EQ(skill["r_training"].get<double>(), -0.13);
    EXPECT_TRUE(skill["no_skill"].get<bool>());
    EXPECT_EQ(skill["latest_date"].get<double>(), 2008);
    EXPECT_EQ(skill["overdue"].get<int>(), 2);
    EXPECT_DOUBLE_EQ(skill["overdue_share"].get<double>(), 2.0 / 3.0);

    c.result.target = -1;
    EXPECT_TRUE(nlohmann::json::parse(runSummaryJson(input)).at("skill").is_null());
}

}  // namespace
}  // namespace el::engine
