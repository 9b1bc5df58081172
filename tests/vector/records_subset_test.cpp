#include "vector/records_subset.hpp"

#include <gtest/gtest.h>

#include "tests/support/error_text.hpp"

namespace el::vec {
namespace {

using Texts = std::vector<std::string>;

Table lifeForms() {
    return readDelimitedTable(
        "region,species,year,LifeForm\n"
        "A,Beetle,1990,Insects\n"
        "A,Fern,1991,Plants\n"
        "B,Beetle,1992, Insects \n"
        "B,Snail,1993,Molluscs\n"
        "C,Fern,1994,Plants\n",
        "auto");
}

template <class Action>
std::string errorOf(Action&& action) {
    return test::errorText<RecordsError>(action);
}

Texts speciesOf(const std::vector<Record>& records) {
    Texts out;
    for (const Record& record : records) out.push_back(record.species);
    return out;
}

TEST(RowFilters, KeepRowsHoldingAnyValueOfEveryFilter) {
    Table table = lifeForms();
    EXPECT_EQ(filterRows(table, {}), "");
    EXPECT_EQ(table.rows.size(), 5u);
    const std::string note = filterRows(table, {"lifeform=Insects,Molluscs", "region=B"});
    EXPECT_EQ(note, "records: 2 of 5 rows of the table kept (LifeForm is \"Insects\", \"Molluscs\"; region is \"B\")");
    ASSERT_EQ(table.rows.size(), 2u);
    EXPECT_EQ(table.rows[0][1], "Beetle");  // the cell's blanks do not count
    EXPECT_EQ(table.rows[1][1], "Snail");
    EXPECT_EQ(table.rowNumbers, (std::vector<std::int64_t>{4, 5}));  // lines stay those of the file
    EXPECT_EQ(speciesOf(recordsOf(table, {})), (Texts{"Beetle", "Snail"}));
}

TEST(RowFilters, RefusalsNameTheColumnsOrTheValuesHeld) {
    Table table = lifeForms();
    EXPECT_EQ(errorOf([&] { filterRows(table, {"Form=Insects"}); }),
              "The filter \"Form=Insects\" names the column \"Form\", which the table lacks; its columns are "
              "\"region\", \"species\", \"year\", \"LifeForm\"");
    EXPECT_EQ(errorOf([&] { filterRows(table, {"LifeForm=insect"}); }),
              "The filter \"LifeForm=insect\" keeps no row: no row's \"LifeForm\" holds \"insect\" (did you mean "
              "\"Insects\"?); it holds \"Insects\", \"Plants\", \"Molluscs\"");
    EXPECT_NE(errorOf([&] { filterRows(table, {"LifeForm"}); }).find("is not COLUMN=VALUE[,VALUE...]"),
              std::string::npos);
    EXPECT_EQ(table.rows.size(), 5u);  // a refused filter keeps nothing back
    EXPECT_FALSE(rowFilterOf("LifeForm=Insects,").has_value());
    EXPECT_FALSE(rowFilterOf("=Insects").has_value());
    EXPECT_EQ(rowFilterOf(" LifeForm = Insects , Plants")->values, (Texts{"Insects", "Plants"}));
}

// The lines a streaming filter keeps, as they stream past: the row numbers of `table`.
std::vector<std::int64_t> streamedRows(const Table& table, const std::vector<std::string>& filters,
                                       std::string* note = nullptr) {
    LineFilters streamed(table.headers, filters);
    std::vector<std::int64_t> kept;
    std::vector<std::string_view> cells;
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        cells.assign(table.rows[r].begin(), table.rows[r].end());
        if (streamed.keeps(cells)) kept.push_back(table.rowNumbers[r]);
    }
    streamed.checkEachKeptSome();
    if (note != nullptr) *note = streamed.note("rows of the table");
    return kept;
}

// Lines filtered as they stream past are those filterRows keeps of the whole table, with the
// same note and the same refusals.
TEST(LineFilters, KeepWhatTheTableFilterKeepsAndRefuseAlike) {
    const std::vector<std::vector<std::string>> cases{{},
                                                      {"LifeForm=Insects"},
                                                      {"lifeform=Insects,Molluscs", "region=B"},
                                                      {"species=Fern", "region=A,C"},
                                                      {"LifeForm=Insects", "region=C"},
                                                      {"LifeForm=insect"},
                                                      {"Form=Insects"},
                                                      {"LifeForm"}};
    for (const auto& filters : cases) {
        SCOPED_TRACE(filters.empty() ? "no filter" : filters.front());
        Table whole = lifeForms();
        const std::string tableError = errorOf([&] { filterRows(whole, filters); });
        std::string note;
        const std::string streamError = errorOf([&] { streamedRows(lifeForms(), filters, &note); });
        EXPECT_EQ(streamError, tableError);
        if (tableError != "no error") continue;
        Table table = lifeForms();
        const std::string tableNote = filterRows(table, filters);
        EXPECT_EQ(streamedRows(lifeForms(), filters), table.rowNumbers);
        EXPECT_EQ(note, tableNote);
    }
}

TEST(LineFilters, ARefusalAfterManyDistinctValuesListsTheFirstAndSaysThereAreMore) {
    Table table;
    table.headers = {"species", "catalogNumber"};
    for (int k = 0; k < 2000; ++k) {
        table.rows.push_back({"Aus", "C" + std::to_string(k)});
        table.rowNumbers.push_back(k + 2);
    }
    const std::string error = errorOf([&] { streamedRows(table, {"catalogNumber=X1"}); });
    EXPECT_NE(error.find("it holds \"C0\", \"C1\""), std::string::npos) << error;
    EXPECT_TRUE(error.ends_with("\"C19\" and more")) << error;
    EXPECT_EQ(error.find("C20\""), std::string::npos) << error;
}

TEST(MinRegions, CountsOnlyJoinedRegionsAndKeepsTheTarget) {
    const std::vector<Record> all{{"A", "Wide", "1990"},   {"B", "Wide", "1991"},   {"B", "Wide", "1995"},
                                  {"C", "Narrow", "1992"}, {"X", "Narrow", "1993"}, {"A", "Target", "2000"}};
    const auto every = [](const Record&) { return true; };
    const auto notX = [](const Record& r) { return r.region != "X"; };
    std::vector<Record> records = all;
    EXPECT_EQ(keepSpeciesInRegions(records, 1, every, ""), "");
    EXPECT_EQ(records.size(), all.size());
    EXPECT_EQ(keepSpeciesInRegions(records, 2, every, ""),
              "records: 1 of 3 species recorded in fewer than 2 regions "
              "left out");
    EXPECT_EQ(speciesOf(records), (Texts{"Wide", "Wide", "Wide", "Narrow", "Narrow"}));
    records = all;
    // X is not in the layer: Narrow has one region after the join.
    EXPECT_EQ(keepSpeciesInRegions(records, 2, notX, "Target"),
              "records: 1 of 3 species recorded in fewer than 2 regions left out (the target \"Target\" is kept)");
    EXPECT_EQ(speciesOf(records), (Texts{"Wide", "Wide", "Wide", "Target"}));
    records = all;
    EXPECT_EQ(errorOf([&] { keepSpeciesInRegions(records, 3, every, ""); }),
              "No species is recorded in at least 3 regions (the most regions of a species are 2)");
}

}  // namespace
}  // namespace el::vec
