#include "vector/delimited_text.hpp"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/decimal_year.hpp"
#include "tests/support/error_text.hpp"
#include "vector/record_dates.hpp"
#include "vector/records_error.hpp"

namespace el::vec {
namespace {

using Texts = std::vector<std::string>;

// Bytes handed out a few at a time (1, 2, ... `most`, then again), so every line end, quote
// and byte order mark falls on a piece boundary somewhere.
class DribbledBytes final : public ByteSource {
public:
    DribbledBytes(std::string_view bytes, std::size_t most) : bytes_(bytes), most_(most) {}
    std::size_t read(char* into, std::size_t size) override {
        const std::size_t n = std::min({size, bytes_.size(), next_});
        std::copy_n(bytes_.data(), n, into);
        bytes_.remove_prefix(n);
        next_ = next_ % most_ + 1;
        return n;
    }

private:
    std::string_view bytes_;
    std::size_t most_, next_ = 1;
};

struct Read {
    Texts headers;
    std::vector<Texts> rows;
    std::vector<std::int64_t> lines;
    char delimiter = 0;
    std::int64_t otherLines = 0;
    std::string otherEncoding;
    bool operator==(const Read&) const = default;
};

Read readAll(ByteSource& source, const DelimitedFormat& format) {
    DelimitedReader reader(source, format);
    Read read{reader.headers(), {}, {}, reader.delimiter(), 0, ""};
    while (reader.next()) {
        read.rows.emplace_back(reader.cells().begin(), reader.cells().end());
        read.lines.push_back(reader.line());
    }
    read.otherLines = reader.otherEncodingLines();
    read.otherEncoding = reader.otherEncoding();
    return read;
}

// The text read whole, and the same read in pieces of every small size: both must agree.
Read readText(std::string_view text, const DelimitedFormat& format = {}) {
    MemoryBytes whole(text);
    const Read expected = readAll(whole, format);
    for (std::size_t most = 1; most <= 7; ++most) {
        DribbledBytes pieces(text, most);
        EXPECT_EQ(readAll(pieces, format), expected) << "pieces of up to " << most << " bytes";
    }
    return expected;
}

template <class Action>
std::string errorOf(Action&& action) {
    return test::errorText<RecordsError>(action);
}

TEST(DelimitedReader, SpreadsheetExportsQuotedFieldsAndEveryLineEnd) {
    const Read read = readText(
        "\xEF\xBB\xBFspecies;lon;\"lat;itude\"\r\n\r\nAus bus; 1,5 ;\"2\"\"x\r\nnext\" tail\r\nCus;3\rDus;4;5\n");
    EXPECT_EQ(read.delimiter, ';');
    EXPECT_EQ(read.headers, (Texts{"species", "lon", "lat;itude"}));
    EXPECT_EQ(read.rows,
              (std::vector<Texts>{{"Aus bus", "1,5", "2\"x\nnexttail"}, {"Cus", "3", ""}, {"Dus", "4", "5"}}));
    EXPECT_EQ(read.lines, (std::vector<std::int64_t>{3, 5, 6}));  // the blank line 2 counts, and so does line 4
}

TEST(DelimitedReader, QuotingAndFieldCountsAsTheFormatSays) {
    DelimitedFormat download;
    download.quoting = Quoting::LiteralInTabs;
    download.fieldCount = FieldCount::Exact;
    // In a tab-separated download a quote is a character, at the start of a field too.
    const Read tabs = readText("species\tlocality\n\"Aus\tsaid \"big\" rock\n", download);
    EXPECT_EQ(tabs.rows, (std::vector<Texts>{{"\"Aus", "said \"big\" rock"}}));
    const std::string wrong = errorOf([&] { readText("a\tb\tc\n1\t2\t3\n1\t\"2\t3\t4\n", download); });
    EXPECT_NE(wrong.find("Line 3 of the table has 4 fields, but its header has 3"), std::string::npos) << wrong;
    // The same rows, comma-separated, are quoted.
    EXPECT_EQ(readText("species,locality\n\"Aus,x\",\"said \"\"big\"\" rock\"\n", download).rows,
              (std::vector<Texts>{{"Aus,x", "said \"big\" rock"}}));

    // A records table pads short rows and refuses a value beyond the header.
    EXPECT_EQ(readText("a,b,c\n1\n").rows, (std::vector<Texts>{{"1", "", ""}}));
    EXPECT_NE(errorOf([] { readText("a,b\n1,2,3\n"); }).find("(\"3\")"), std::string::npos);

    DelimitedFormat archive;  // a Darwin Core archive's: named delimiter and quote, no header
    archive.delimiter = '|';
    archive.quote = '\'';
    archive.header = false;
    archive.skippedLines = 1;
    archive.fieldCount = FieldCount::Exact;
    const Read core = readText("id|name\n1|'a|b'\n2|c\n", archive);
    EXPECT_TRUE(core.headers.empty());
    EXPECT_EQ(core.rows, (std::vector<Texts>{{"1", "a|b"}, {"2", "c"}}));
    EXPECT_EQ(core.lines, (std::vector<std::int64_t>{2, 3}));
    archive.skippedLines = 0;
    EXPECT_NE(errorOf([&] { readText("1|2\n3\n", archive); }).find("its first line has 2"), std::string::npos);
}

TEST(DelimitedReader, RefusesWhatItCannotReadSafely) {
    const std::string unclosed = errorOf([] { readText("a,b\n1,\"open\n2,3\n"); });
    EXPECT_NE(unclosed.find("The quote opened on line 2 of the table is never closed"), std::string::npos) << unclosed;
    EXPECT_NE(errorOf([] { readText(std::string_view("a,b\n1,x\0y\n", 10)); }).find("NUL"), std::string::npos);
    EXPECT_NE(errorOf([] { readText("\n \n"); }).find("no header line"), std::string::npos);
    DelimitedFormat strict;  // UTF-8 promised
    EXPECT_NE(errorOf([&] { readText("a,b\n1,Z\xFCrich\n", strict); }).find("Line 2 of the table is not UTF-8"),
              std::string::npos);
}

TEST(DelimitedReader, LinesThatAreNotUtf8ReadInTheEncodingTheirBytesSuggest) {
#ifdef _WIN32
    GTEST_SKIP() << "the Windows build has no encoding detector (Debian has no Windows build of uchardet)";
#endif
    DelimitedFormat automatic;
    automatic.encoding = "auto";
    // UTF-8, then a run of Western lines, as a table pasted together from two files.
    const std::string western =
        "Z\xFCrich;Elodea canadensis\nM\xFCnchen;Harmonia axyridis\nK\xF6ln;Impatiens "
        "glandulifera\nGen\xE8ve;Ambrosia artemisiifolia\nLi\xE8ge;Reynoutria japonica\n";
    const std::string text = "region;species\nK\xC3\xB6ln;a\n" + western;
    MemoryBytes whole(text);
    const Read mixed = readAll(whole, automatic);
    EXPECT_EQ(mixed.rows[0], (Texts{"Köln", "a"}));
    EXPECT_EQ(mixed.rows[1], (Texts{"Zürich", "Elodea canadensis"}));
    EXPECT_EQ(mixed.rows[4], (Texts{"Genève", "Ambrosia artemisiifolia"}));
    EXPECT_EQ(mixed.otherLines, 5);
    EXPECT_EQ(mixed.otherEncoding, "WINDOWS-1252");

    DelimitedFormat named;
    named.encoding = "ISO-8859-1";
    EXPECT_EQ(readText("a\nZ\xFCrich\n", named).rows, (std::vector<Texts>{{"Zürich"}}));
    named.encoding = "NO-SUCH-ENCODING";
    EXPECT_NE(errorOf([&] { readText("a\n1\n", named); }).find("Unknown text encoding"), std::string::npos);
}

TEST(DelimiterChoice, MostFrequentOutsideQuotesTabThenSemicolonOnTies) {
    EXPECT_EQ(detectDelimiter("\"a;b;c\",species,year"), ',');
    EXPECT_EQ(detectDelimiter("a;b,c"), ';');
    EXPECT_EQ(detectDelimiter("a\tb;c"), '\t');
    EXPECT_EQ(detectDelimiter("name"), ',');
}

TEST(DateReader, EveryPrecisionOfAnIsoDateAndIntervalsByTheirStart) {
    EXPECT_EQ(decimalYearOf("2004"), 2004.0);
    EXPECT_EQ(decimalYearOf(" 1998.5 "), 1998.5);
    EXPECT_EQ(decimalYearOf("2004-06"), decimalYear(2004, 6, 1));
    EXPECT_EQ(decimalYearOf("2004-06-12"), decimalYear(2004, 6, 12));
    EXPECT_EQ(decimalYearOf("2004-06-01/2004-06-30"), decimalYear(2004, 6, 1));
    EXPECT_EQ(decimalYearOf("1894/1896"), 1894.0);
    EXPECT_EQ(decimalYearOf("2004-06-12T10:00:00Z"), decimalYear(2004, 6, 12, 36000));
    EXPECT_EQ(decimalYearOf("2004-06-12T10:00:30.5+02:00"), decimalYear(2004, 6, 12, 36030.5));
    EXPECT_EQ(decimalYearOf("2004-06-12 10:00"), decimalYear(2004, 6, 12, 36000));
    for (const char* bad : {"", "  ", "2004-13-01", "2003-02-29", "June 2004", "04-06-12", "2004-06-12T25", "nan",
                            "x/2004", "Arrived", "1e400"})
        EXPECT_FALSE(decimalYearOf(bad)) << bad;

    // A record keeps a number as written and an ISO date as its decimal year; keywords stay.
    EXPECT_EQ(recordDateOf(" 1.5e3 ")->text, "1.5e3");
    EXPECT_EQ(recordDateOf("1894/1896")->text, "1894");
    EXPECT_EQ(recordDateOf("1987-06")->value, *decimalYear(1987, 6, 1));
    EXPECT_EQ(recordDateOf("未分布")->kind, DateKind::NotYetArrived);
    EXPECT_FALSE(recordDateOf("mid 1950s"));
}

}  // namespace
}  // namespace el::vec
