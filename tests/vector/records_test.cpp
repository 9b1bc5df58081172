#include <gtest/gtest.h>

#include "base/decimal_year.hpp"
#include "base/numtext.hpp"
#include "tests/support/error_text.hpp"
#include "tests/vector/vector_fixture.hpp"
#include "vector/records.hpp"
#include "vector/table_hint.hpp"

namespace el::vec {
namespace {

using Rows = std::vector<std::vector<std::string>>;

template <class Action>
std::string errorOf(Action&& action) {
    return test::errorText<RecordsError>(action);
}

std::size_t countOf(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

BuiltRecords built(const std::string& csv, Absence absent = Absence::NotYet) {
    BuildOptions options;
    options.absent = absent;
    return buildRecordsData(recordsOf(readDelimitedTable(csv, "auto"), {}), options);
}

// Values of the data set region by region, species in variable order.
Rows valuesOf(const vec::VectorData& data) {
    Rows rows;
    for (const vec::VectorObject& object : data.objects) rows.push_back(object.values);
    return rows;
}

TEST(RecordsTable, SpreadsheetSemicolonsWithBomAndCrLf) {
    const Table table = readDelimitedTable("\xEF\xBB\xBFregion;species;year\r\nAomori;Sp A;1990\r\n\r\nAkita;Sp A;2001\r\n",
                                           "auto");
    EXPECT_EQ(table.delimiter, ';');
    EXPECT_TRUE(table.encoding.bom);
    EXPECT_EQ(table.headers, (std::vector<std::string>{"region", "species", "year"}));
    EXPECT_EQ(table.rows, (Rows{{"Aomori", "Sp A", "1990"}, {"Akita", "Sp A", "2001"}}));
    EXPECT_EQ(table.rowNumbers, (std::vector<std::int64_t>{2, 4}));  // the blank line 3 is skipped, not renumbered
}

TEST(RecordsTable, TabsQuotesAndLineEnds) {
    const Table tabs = readDelimitedTable("region\tspecies\tdate\rA, north\tx\t1990\rB\ty\n", "auto");
    EXPECT_EQ(tabs.delimiter, '\t');
    EXPECT_EQ(tabs.rows, (Rows{{"A, north", "x", "1990"}, {"B", "y", ""}}));  // short rows padded

    const Table quoted = readDelimitedTable("region,species,date\n\"Cork, \"\"East\"\"\",\"two\nlines\",1990\nD,z,1\n", "auto");
    EXPECT_EQ(quoted.delimiter, ',');
    EXPECT_EQ(quoted.rows[0], (std::vector<std::string>{"Cork, \"East\"", "two\nlines", "1990"}));
    EXPECT_EQ(quoted.rowNumbers, (std::vector<std::int64_t>{2, 4}));

    // A delimiter inside quotes on the header does not count towards the choice.
    EXPECT_EQ(readDelimitedTable("\"a;b;c\",species,year\n", "auto").delimiter, ',');
}

TEST(RecordsTable, RefusesWhatItCannotReadSafely) {
    EXPECT_NE(errorOf([] { readDelimitedTable("region,species,date\nA,\"x,1990\n", "auto"); }).find("line 2"),
              std::string::npos);
    EXPECT_NE(errorOf([] { readDelimitedTable("region,species\nA,x,1990\n", "auto"); }).find("\"1990\""),
              std::string::npos);
    EXPECT_NO_THROW(readDelimitedTable("region,species\nA,x,,\n", "auto"));  // empty trailing cells are no values
    EXPECT_NE(errorOf([] { readDelimitedTable("\n\n", "auto"); }), "no error");
    // CP932 bytes are decoded as the vector file reader decodes them.
    const Table sjis = readDelimitedTable("region,species,date\n\x93\x8c\x8b\x9e,x,\x95\xaa\x95\x7a\n", "auto");
    EXPECT_EQ(sjis.rows[0][0], "東京");
    EXPECT_EQ(sjis.rows[0][2], "分布");
}

TEST(RecordColumns, FoundByTheUsualNamesInAnyCase) {
    const Table table = readDelimitedTable("ID;Country;ScientificName;First_Record_Year\n1;A;x;1990\n", "auto");
    const RecordColumns found = resolveColumns(table, {});
    EXPECT_EQ(found.region, "Country");
    EXPECT_EQ(found.species, "ScientificName");
    EXPECT_EQ(found.date, "First_Record_Year");
    // A name given is taken exactly, else in any case; "region" would be preferred to "Country".
    const Table both = readDelimitedTable("country,REGION,taxon,eventDate\nA,B,x,1990\n", "auto");
    EXPECT_EQ(resolveColumns(both, {}).region, "REGION");
    EXPECT_EQ(resolveColumns(both, {"Country", "", "", ""}).region, "country");
}

TEST(RecordColumns, AMissingColumnListsTheHeaders) {
    const Table table = readDelimitedTable("place,organism,when\nA,x,1990\n", "auto");
    const std::string error = errorOf([&] { recordsOf(table, {}); });
    EXPECT_NE(error.find("region"), std::string::npos);
    EXPECT_NE(error.find("\"place\", \"organism\", \"when\""), std::string::npos);
    EXPECT_NE(errorOf([&] { recordsOf(table, {"place", "organism", "date", ""}); }).find("\"when\""), std::string::npos);
    EXPECT_EQ(recordsOf(table, {"place", "organism", "when", ""}).size(), 1u);
}

TEST(RecordDates, NumbersIsoDatesAndKeywords) {
    const auto data = built("region,species,date\nA,x, 1990 \nA,y,2000-07-02\nA,z,未分布\nA,w,Arrived\nA,v,1.5e3\n").data;
    EXPECT_EQ(data.objects[0].values, (std::vector<std::string>{"1990", "2000.5", "未分布", "Arrived", "1.5e3"}));
}

TEST(RecordDates, EveryBadValueIsListedWithItsLine) {
    std::string csv = "region,species,date\nA,x,1990\nB,x,about 1995\n,x,1990\nC,,1990\nD,x,\nE,x,2001-02-29\n";
    EXPECT_EQ(countOf(errorOf([&] { built(csv); }), "\n  line "), 5u);
    const std::string error = errorOf([&] { built(csv); });
    EXPECT_NE(error.find("line 3 (region \"B\", species \"x\"): the date \"about 1995\""), std::string::npos);
    EXPECT_NE(error.find("line 4 (region \"\", species \"x\"): no region"), std::string::npos);
    EXPECT_NE(error.find("line 6 (region \"D\", species \"x\"): no date"), std::string::npos);
    EXPECT_NE(error.find("\"2001-02-29\""), std::string::npos);  // not a day of that year

    std::string many = "region,species,date\n";
    for (int k = 0; k < 23; ++k) many += "R" + std::to_string(k) + ",x,later\n";
    const std::string capped = errorOf([&] { built(many); });
    EXPECT_EQ(countOf(capped, "\n  line "), 20u);
    EXPECT_NE(capped.find("23 rows"), std::string::npos);
    EXPECT_NE(capped.find("and 3 more"), std::string::npos);
}

TEST(RecordsBuild, DuplicatesKeepTheEarliestRecordAndAreCounted) {
    const BuiltRecords result = built(
        "region,species,date\n"
        "A,x,1995\nA,x,1994-12-31\nA,x,1996\n"      // dates compare by value, ISO or not
        "B,x,Arrived\nB,x,2001\n"                  // a date wins over Arrived
        "C,x,NotYetArrived\nC,x,Arrived\n"         // presence over absence
        "A,y,Unknown\n");
    EXPECT_EQ(valuesOf(result.data),
              (Rows{{plainnum(*decimalYear(1994, 12, 31)), "Unknown"}, {"2001", "NotYetArrived"},
                    {"Arrived", "NotYetArrived"}}));
    EXPECT_EQ(result.records, 8);
    EXPECT_EQ(result.merged, 4);
    EXPECT_EQ(result.absentCells, 2);
}

TEST(RecordsBuild, RegionsAndSpeciesInOrderOfFirstAppearanceAbsenceAsAsked) {
    const std::string csv = "region,species,date\n010,y,1990\n002,x,1991\n010,x,1992\n";
    const BuiltRecords notYet = built(csv);
    EXPECT_EQ(notYet.data.objects[0].name, "010");  // keys are text: leading zeros stay
    EXPECT_EQ(notYet.data.objects[1].name, "002");
    EXPECT_EQ(std::vector<std::string>(notYet.data.valname.begin(), notYet.data.valname.begin() + 2),
              (std::vector<std::string>{"y", "x"}));
    EXPECT_EQ(valuesOf(notYet.data), (Rows{{"1990", "1992"}, {"NotYetArrived", "1991"}}));
    EXPECT_NE(notYet.summaryLine().find("1 region-species pair without a record read as NotYetArrived"),
              std::string::npos);
    const BuiltRecords unknown = built(csv, Absence::Unknown);
    EXPECT_EQ(unknown.data.objects[1].values[0], "Unknown");
    EXPECT_NE(unknown.summaryLine().find("read as Unknown"), std::string::npos);
}

TEST(RecordsBuild, ShapesJoinByKeyUnmatchedRegionsRefusedOrDropped) {
    const std::map<std::string, RegionShape> shapes{{"008", {"polygon", {{"out", {0, 1, 1}, {0, 0, 1}}}}},
                                                    {"010", {"point", {{"", {5}, {6}}}}},
                                                    {"999", {"point", {{"", {7}, {8}}}}}};
    std::vector<Record> records{{"Alba", "x", "1990", 2, "008"}, {"Bern", "x", "1991", 3, "010"},
                                {"Cork", "x", "1992", 4, "011"}, {"Dax", "y", "1993", 5, "012"}};
    BuildOptions options;
    options.shapes = &shapes;
    const std::string refused = errorOf([&] { buildRecordsData(records, options); });
    EXPECT_NE(refused.find("\"Cork (key 011)\", \"Dax (key 012)\""), std::string::npos);

    options.dropUnmatched = true;
    const BuiltRecords kept = buildRecordsData(records, options);
    ASSERT_EQ(kept.data.objn(), 2);
    EXPECT_EQ(kept.data.objects[0].name, "Alba");  // names from the table, geometry from the layer
    EXPECT_EQ(kept.data.objects[0].type, "polygon");
    EXPECT_EQ(kept.data.objects[1].parts[0].x, std::vector<double>{5});
    EXPECT_EQ(kept.data.valn(), 1);  // "y" had records only in a dropped region
    EXPECT_EQ(kept.dropped.size(), 2u);
    EXPECT_EQ(kept.featuresUnused, 1);
    EXPECT_EQ(kept.data.sizes.maxnode, 3);
    EXPECT_FALSE(withoutGeometry(kept.data));

    records.push_back({"Alba", "y", "1994", 6, "010"});  // one region, two keys
    EXPECT_NE(errorOf([&] { buildRecordsData(records, options); }).find("Line 6: region \"Alba\""), std::string::npos);
}

TEST(RecordsBuild, ReadsBackTheSameFromItsVectorFile) {
    BuiltRecords result = built(
        "region;species;date\n"
        "\"Cork, East\";\"Sp, one\";1990\n\"Quote \"\"Q\"\"\";Sp two;2000-01-01\nPlain;Sp two;Unknown\n");
    ASSERT_TRUE(withoutGeometry(result.data));
    const vec::VectorData original = result.data;
    Feedback quiet;
    const auto text = vec::vectorFileText(result.data, "null", quiet);
    ASSERT_TRUE(text);
    test::VectorFixture fixture;
    const vec::ReadOutcome read = fixture.read(*text);
    ASSERT_EQ(read.erf, 0) << *text;
    EXPECT_EQ(read.data.valname, original.valname);
    ASSERT_EQ(read.data.objn(), original.objn());
    for (int r = 0; r < original.objn(); ++r) {
        EXPECT_EQ(read.data.objects[static_cast<std::size_t>(r)].name,
                  original.objects[static_cast<std::size_t>(r)].name);
        EXPECT_EQ(read.data.objects[static_cast<std::size_t>(r)].values,
                  original.objects[static_cast<std::size_t>(r)].values);
        EXPECT_EQ(read.data.objects[static_cast<std::size_t>(r)].type,
                  original.objects[static_cast<std::size_t>(r)].type);
    }
    EXPECT_EQ(read.data.sizes.maxline, original.sizes.maxline);
    EXPECT_TRUE(withoutGeometry(read.data));
}

TEST(TableLook, TablesAreToldFromVectorFiles) {
    EXPECT_EQ(vec::tableLook("region;species;year\r\nA;x;1990\r\n").value_or(""),
              "This file looks like a table (semicolon-separated, 3 columns: region, species, year).");
    EXPECT_NE(vec::tableLook("a\tb\n1\t2\n").value_or("").find("tab-separated, 2 columns"), std::string::npos);
    EXPECT_TRUE(vec::tableLook("country,taxon,first\nA,x,1990\n"));  // record-like names
    EXPECT_TRUE(vec::tableLook("a,b,c\n1,2,3\n4,5,6\n"));             // evenly split lines
    EXPECT_FALSE(vec::tableLook("a,b,c\n1,2\n4,5,6,7\n"));
    EXPECT_FALSE(vec::tableLook("vector\r\ncomment\r\nSpA,SpB,type$,name$,count\r\n"));
    EXPECT_FALSE(vec::tableLook("vector,,,,\r\ncomment,,,,\r\nSpA,SpB,type$,name$,count\r\n"));
}

// Tables as first-record databases publish them: a plain name column wins over the
// scientificName with its authorship, the newer layout's Darwin Core names are found, and
// only a status of absence sets a row aside (established, casual, extinct still arrived).
TEST(RecordsTable, PublishedLayoutsTakeThePlainNameAndSetAbsencesAside) {
    Table older = readDelimitedTable(
        "Region;scientificName;TaxonName;FirstRecord\nA;Aus bus (L., 1758);Aus bus;1990\n"
        "B;Aus bus Mill.;Aus bus;1991\n",
        "auto");
    const RecordColumns used = resolveColumns(older, {});
    EXPECT_EQ(used.species, "TaxonName");
    EXPECT_EQ(setAsideAbsentRows(older), 0);
    EXPECT_EQ(columnsClause(used, 0), "; columns used: region \"Region\", species \"TaxonName\", date \"FirstRecord\"");

    Table newer = readDelimitedTable(
        "taxon;location;firstRecordEvent;occurrenceStatus;scientificName\n"
        "Aus bus;A;1990;established;x\nAus bus;B;1850;absent;x\nAus bus;C;1995;extinct;x\n"
        "Cus dus;A;2001;ABSENT;x\nCus dus;B;2002;casual;x\nCus dus;C;2003;;x\n",
        "auto");
    EXPECT_EQ(setAsideAbsentRows(newer), 2);
    EXPECT_EQ(newer.rowNumbers, (std::vector<std::int64_t>{2, 4, 6, 7}));
    const RecordColumns found = resolveColumns(newer, {});
    EXPECT_EQ(found.region, "location");
    EXPECT_EQ(found.species, "taxon");
    EXPECT_EQ(found.date, "firstRecordEvent");
    const std::vector<Record> records = recordsOf(newer, {});
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[1].region, "C");
    EXPECT_EQ(records[3].date, "2003");
    EXPECT_NE(columnsClause(found, 2).find("; 2 rows whose status says absent set aside"), std::string::npos);
}

}  // namespace
}  // namespace el::vec
