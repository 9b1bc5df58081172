#include "gis/sheet_table.hpp"

#include <gtest/gtest.h>

#include "gis/gis_error.hpp"
#include "tests/gis/gis_fixture.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::test {
namespace {

using Texts = std::vector<std::string>;

// A first-record sheet with a cell of every kind, a blank row, and a second sheet.
std::vector<LayerSpec> workbook() {
    LayerSpec records{"records",
                      {{"region", OFTString}, {"year", OFTInteger}, {"share", OFTReal}, {"seen", OFTDate}, {"status", OFTString}},
                      {{"", {"008", "1998", "0.1", "2004-06-12", "1998"}},
                       {"", {std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt}},
                       {"", {"Spain", "2001", "1998.5", "2001-01-02", "NotYetArrived"}}}};
    LayerSpec other{"notes", {{"note", OFTString}}, {{"", {"kept apart"}}}};
    return {records, other};
}

void expectWorkbookRead(const std::filesystem::path& file) {
    const vec::Table table = gis::readSheetTable(file);
    EXPECT_EQ(table.headers, (Texts{"region", "year", "share", "seen", "status"}));
    ASSERT_EQ(table.rows.size(), 2U);
    EXPECT_EQ(table.rows[0], (Texts{"008", "1998", "0.1", "2004-06-12", "1998"}));
    EXPECT_EQ(table.rows[1], (Texts{"Spain", "2001", "1998.5", "2001-01-02", "NotYetArrived"}));
    EXPECT_EQ(table.rowNumbers, (std::vector<std::int64_t>{2, 4}));
    const vec::Table notes = gis::readSheetTable(file, "notes");
    EXPECT_EQ(notes.headers, (Texts{"note"}));
    EXPECT_EQ(notes.rows, (std::vector<Texts>{{"kept apart"}}));
    try {
        gis::readSheetTable(file, "Sheet9");
        ADD_FAILURE() << "a missing sheet was accepted";
    } catch (const gis::GisError& e) {
        EXPECT_NE(std::string(e.what()).find("no sheet named \"Sheet9\" (sheets with cells: records, notes)"),
                  std::string::npos) << e.what();
    }
}

TEST(SheetTable, XlsxCellsReadAsTheTextsTheSheetShows) {
    TempDir dir;
    writeGisFile(dir / "r.xlsx", "XLSX", workbook());
    expectWorkbookRead(dir / "r.xlsx");
}

TEST(SheetTable, OdsCellsReadAsTheTextsTheSheetShows) {
    TempDir dir;
    writeGisFile(dir / "r.ods", "ODS", workbook());
    expectWorkbookRead(dir / "r.ods");
}

TEST(SheetTable, OnlySpreadsheetsAreOpened) {
    TempDir dir;
    writeFile(dir / "r.csv", "region,year\nA,1\n");
    EXPECT_THROW(gis::readSheetTable(dir / "r.csv"), gis::GisError);
    writeFile(dir / "broken.xlsx", "not a zip");
    EXPECT_THROW(gis::readSheetTable(dir / "broken.xlsx"), gis::GisError);
    EXPECT_THROW(gis::readSheetTable(dir / "absent.xlsx"), gis::GisError);
}

}  // namespace
}  // namespace el::test
