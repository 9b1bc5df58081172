#include "gis/sheet_table.hpp"

#include <sstream>

#include <gtest/gtest.h>

#include "gis/convert_command.hpp"
#include "gis/gis_error.hpp"
#include "gis/records_import.hpp"
#include "tests/gis/gis_fixture.hpp"
#include "tests/support/error_text.hpp"
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

// A first-record database as it is published: a ReadMe sheet first, then the records with a
// plain name column beside the name with its authorship.
std::vector<LayerSpec> publishedDatabase() {
    LayerSpec readMe{"ReadMe",
                     {{"Global Alien Species First Record Database ", OFTString}},
                     {{"", {"Version 2"}}, {"", {"One row per region, taxon and first record"}}}};
    LayerSpec records{
        "FirstRecords",
        {{"Region", OFTString},
         {"TaxonName", OFTString},
         {"scientificName", OFTString},
         {"FirstRecord", OFTInteger},
         {"PresentStatus", OFTString}},
        {{"", {"Austria", "Harmonia axyridis", "Harmonia axyridis (Pallas, 1773)", "2006", "established"}},
         {"", {"Germany", "Harmonia axyridis", "Harmonia axyridis Pallas", "1999", "established"}},
         {"", {"Germany", "Elodea canadensis", "Elodea canadensis Michx.", "1859", "absent"}},
         {"", {"Austria", "Elodea canadensis", "Elodea canadensis Michx.", "1900", "casual"}}}};
    return {readMe, records};
}

TEST(RecordsSheet, TheRecordsSheetIsFoundPastAReadMeAndChosenByName) {
    TempDir dir;
    for (const char* driver : {"XLSX", "ODS"}) {
        const std::filesystem::path file = dir / (std::string("db.") + (driver[0] == 'X' ? "xlsx" : "ods"));
        writeGisFile(file, driver, publishedDatabase());
        Feedback quiet;
        vec::RecordsSource source;
        source.table = file;
        const vec::ImportedRecords imported = gis::importRecords(source, quiet);
        const vec::VectorData& data = imported.built.data;
        EXPECT_EQ(data.objn(), 2) << driver;
        EXPECT_EQ(std::vector<std::string>(data.valname.begin(), data.valname.begin() + data.valn()),
                  (Texts{"Harmonia axyridis", "Elodea canadensis"}));
        ASSERT_EQ(imported.summary.size(), 2U);
        EXPECT_EQ(imported.summary[0],
                  "records: read the sheet \"FirstRecords\", the first with a region, a species "
                  "and a date column (not \"ReadMe\"; --sheet names another)");
        EXPECT_NE(imported.summary[1].find("columns used: region \"Region\", species \"TaxonName\", date "
                                           "\"FirstRecord\"; 1 row whose status says absent set aside"),
                  std::string::npos)
            << imported.summary[1];
        // The sheet named is read as it is, and refused with the reason a table gets.
        source.sheet = "readme";
        EXPECT_NE(test::errorText<vec::RecordsError>([&] { gis::importRecords(source, quiet); })
                      .find("No region column found among the table's columns \"Global Alien Species First Record "
                            "Database \""),
                  std::string::npos);
        source.sheet = "Records";
        EXPECT_NE(test::errorText<vec::RecordsError>([&] {
                      gis::importRecords(source, quiet);
                  }).find("has no sheet named \"Records\" (sheets with cells: ReadMe, FirstRecords)"),
                  std::string::npos);
        // The headers the window's dialog offers are the records sheet's.
        EXPECT_EQ(gis::readRecordsTable(file, "auto").headers.size(), 5U);
        EXPECT_EQ(gis::readRecordsTable(file, "auto", "ReadMe").headers.size(), 1U);
    }
}

TEST(RecordsSheet, AWorkbookWithoutARecordsSheetIsRefusedWithEverySheet) {
    TempDir dir;
    std::vector<LayerSpec> book = publishedDatabase();
    book[1].fields[3].name = "Remark";  // no date column left
    writeGisFile(dir / "db.xlsx", "XLSX", book);
    const std::string text =
        test::errorText<vec::RecordsError>([&] { gis::readRecordsTable(dir / "db.xlsx", "auto"); });
    EXPECT_NE(text.find("db.xlsx has no sheet with a region, a species and a date column"), std::string::npos) << text;
    EXPECT_NE(
        text.find("\n  \"ReadMe\": no region column; its columns \"Global Alien Species First Record Database \""),
        std::string::npos);
    EXPECT_NE(text.find("\n  \"FirstRecords\": no date column; its columns \"Region\", \"TaxonName\", "
                        "\"scientificName\", \"Remark\", \"PresentStatus\""),
              std::string::npos);
    // Naming the date column makes the sheet the records sheet.
    EXPECT_EQ(gis::readRecordsTable(dir / "db.xlsx", "auto", "", {"", "", "Remark", ""}).rows.size(), 4U);
}

TEST(RecordsSheet, TheConverterTakesTheSheetOption) {
    TempDir dir;
    writeGisFile(dir / "db.xlsx", "XLSX", publishedDatabase());
    writeFile(dir / "db.csv", "region,species,year\nA,x,1\n");
    const auto convert = [&](const std::vector<std::string>& args, std::string* errors) {
        std::ostringstream out, err;
        const int status = gis::runConvert(args, out, err, dir.path());
        *errors = err.str();
        return status;
    };
    const std::string book = (dir / "db.xlsx").string(), out = (dir / "out.csv").string();
    std::string errors;
    EXPECT_EQ(convert({"--records", book, "--sheet", "FirstRecords", out}, &errors), 0) << errors;
    EXPECT_TRUE(std::filesystem::exists(out));
    EXPECT_EQ(convert({"--records", book, "--sheet", "ReadMe", out + ".2.csv"}, &errors), 1);
    EXPECT_NE(errors.find("No region column found"), std::string::npos) << errors;
    EXPECT_EQ(convert({"--records", (dir / "db.csv").string(), "--sheet", "Data", out + ".3.csv"}, &errors), 2);
    EXPECT_NE(errors.find("option --sheet needs --records with a spreadsheet (.xlsx or .ods)"), std::string::npos)
        << errors;
}

}  // namespace
}  // namespace el::test
