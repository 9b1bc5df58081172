#include "vector/sheet_choice.hpp"

#include <gtest/gtest.h>

#include "tests/support/error_text.hpp"

namespace el::vec {
namespace {

// A workbook as a first-record database publishes it: a ReadMe first, the records after a
// sheet of notes that happens to have a "Region" column.
std::vector<SheetHeaders> publishedWorkbook() {
    return {{"ReadMe", {"Global Alien Species First Record Database "}},
            {"Regions", {"Region", "Notes"}},
            {"FirstRecords", {"Region", "TaxonName", "scientificName", "FirstRecord", "Source"}},
            {"Extra", {"location", "taxon", "year"}}};
}

std::string refusalOf(const std::vector<SheetHeaders>& sheets, const RecordColumns& wanted, const std::string& named) {
    return test::errorText<RecordsError>([&] { chooseSheet(sheets, wanted, named, "db.xlsx"); });
}

TEST(SheetChoice, TheFirstSheetWithTheThreeColumnsIsReadAndSaidSo) {
    const SheetChoice found = chooseSheet(publishedWorkbook(), {}, "", "db.xlsx");
    EXPECT_EQ(found.index, 2U);
    EXPECT_EQ(found.note,
              "records: read the sheet \"FirstRecords\", the first with a region, a species and a date "
              "column (not \"ReadMe\", \"Regions\"; --sheet names another)");
    // Columns named by the user decide which sheet has them.
    EXPECT_EQ(chooseSheet(publishedWorkbook(), {"location", "", "", ""}, "", "db.xlsx").index, 3U);
    EXPECT_EQ(chooseSheet(publishedWorkbook(), {"", "", "", "year"}, "", "db.xlsx").index, 3U);  // the join key
}

TEST(SheetChoice, ASheetAtTheFrontSaysNothing) {
    const std::vector<SheetHeaders> plain{{"Sheet1", {"region", "species", "year"}}, {"Sheet2", {"region"}}};
    const SheetChoice found = chooseSheet(plain, {}, "", "r.ods");
    EXPECT_EQ(found.index, 0U);
    EXPECT_EQ(found.note, "");
}

TEST(SheetChoice, ANamedSheetIsTakenAsItIsOrRefusedWithTheSheets) {
    EXPECT_EQ(chooseSheet(publishedWorkbook(), {}, "Regions", "db.xlsx").index, 1U);  // its columns checked later
    EXPECT_EQ(chooseSheet(publishedWorkbook(), {}, "firstrecords", "db.xlsx").index, 2U);
    EXPECT_EQ(refusalOf(publishedWorkbook(), {}, "Records"),
              "db.xlsx has no sheet named \"Records\" (sheets with cells: ReadMe, Regions, FirstRecords, Extra)");
    // Two sheets that differ only in case: the exact one, and no guess between them otherwise.
    const std::vector<SheetHeaders> twins{{"data", {"a"}}, {"Data", {"b"}}};
    EXPECT_EQ(chooseSheet(twins, {}, "Data", "t.xlsx").index, 1U);
    EXPECT_NE(refusalOf(twins, {}, "DATA").find("no sheet named \"DATA\""), std::string::npos);
}

TEST(SheetChoice, NoUsableSheetListsEverySheetWithWhatItLacks) {
    std::vector<SheetHeaders> sheets{{"ReadMe", {"Global Alien Species First Record Database "}},
                                     {"Codes", {"country", "iso"}},
                                     {"Empty", {}},
                                     {"Twice", {"region", "species", "region"}}};
    const std::string text = refusalOf(sheets, {}, "");
    EXPECT_EQ(text.substr(0, text.find('\n')),
              "db.xlsx has no sheet with a region, a species and a date column (found by their usual header names, or "
              "named with --region-column, --species-column and --date-column); name the sheet to read with --sheet "
              "and its columns with those options. Its sheets:");
    EXPECT_NE(
        text.find("\n  \"ReadMe\": no region column; its columns \"Global Alien Species First Record Database \""),
        std::string::npos)
        << text;
    EXPECT_NE(text.find("\n  \"Codes\": no species column; its columns \"country\", \"iso\""), std::string::npos);
    EXPECT_NE(text.find("\n  \"Empty\": no region column; its columns none"), std::string::npos);
    EXPECT_NE(text.find("\n  \"Twice\": no date column"), std::string::npos);
    // A column named by the user and missing everywhere is named in each line.
    const std::string named = refusalOf({{"Data", {"region", "species", "year"}}}, {"", "Taxon", "", ""}, "");
    EXPECT_NE(named.find("\"Data\": no column \"Taxon\" for the species"), std::string::npos) << named;
    EXPECT_NE(refusalOf({}, {}, "").find("Its sheets: none"), std::string::npos);
}

TEST(SheetChoice, AWideSheetListsItsFirstColumnsOnly) {
    std::vector<std::string> wide;
    for (int k = 1; k <= 50; ++k) wide.push_back("c" + std::to_string(k));
    const std::string text = refusalOf({{"GBIF", wide}}, {}, "");
    EXPECT_NE(text.find("\"c12\" and 38 more"), std::string::npos) << text;
    EXPECT_EQ(text.find("\"c13\""), std::string::npos);
}

// The faults of a header as the choice reads them: what resolveColumns would refuse.
TEST(ColumnsFault, AgreesWithTheColumnsTheRecordsAreReadFrom) {
    const std::vector<std::vector<std::string>> headers{
        {"region", "species", "year"},      {"Location", "TaxonName", "firstRecordEvent"}, {"region", "species"},
        {"area", "taxon", "date", "taxon"}, {"region", "REGION", "species", "year"},       {}};
    for (const RecordColumns& wanted :
         {RecordColumns{}, RecordColumns{"REGION", "", "", ""}, RecordColumns{"", "", "year", "species"}}) {
        for (const std::vector<std::string>& header : headers) {
            Table table;
            table.headers = header;
            const std::string fault = columnsFault(header, wanted);
            const std::string refused = test::errorText<RecordsError>([&] { resolveColumns(table, wanted); });
            EXPECT_EQ(fault.empty(), refused == "no error") << fault << " / " << refused;
        }
    }
    EXPECT_EQ(columnsFault({"region", "species", "year"}, {"", "", "", "iso"}), "no column \"iso\" for the join key");
    EXPECT_NE(columnsFault({"region", "species", "year"}, {"region", "region", "", ""}).find("three different"),
              std::string::npos);
}

}  // namespace
}  // namespace el::vec
