// The Read as an operation: what it finds about the input comes back as diagnostics every
// front end shows its own way, and a records import tells its summary before the Read's
// own messages.

#include <gtest/gtest.h>

#include <filesystem>

#include "ops/load.hpp"
#include "tests/support/recording_host.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::ops {
namespace {

using test::RecordingHost;
using test::TempDir;
using test::writeFile;

std::string westernFile() {
    return "vector,c\r\nsp1,sp2,type$,name$,n,x,y\r\n1990,2001,point,R\xe9publique,1,0,0\r\n"
           "1991,2003,point,Espa\xf1"
           "a,1,1,0\r\n1992,2002,point,Stra\xdf"
           "e,1,2,0\r\n";
}

LoadRequest fileRequest(const std::filesystem::path& file, const std::string& encoding = "auto") {
    LoadRequest request;
    request.file = file;
    request.missvalue = "-9999";
    request.encoding = encoding;
    return request;
}

TEST(Load, AVectorFileTellsTheEncodingItWasTakenToBeIn) {
    TempDir dir;
    writeFile(dir / "western.csv", westernFile());
    writeFile(dir / "plain.csv", "vector,c\r\nsp1,type$,name$,n,x,y\r\n1990,point,A,1,0,0\r\n1991,point,B,1,1,0\r\n");
    RecordingHost host;
    const LoadResult western = load(fileRequest(dir / "western.csv"), host);
    ASSERT_TRUE(western.loaded());
    EXPECT_FALSE(western.convertedFromGis);
    ASSERT_EQ(western.diagnostics.size(), 1u);
    EXPECT_EQ(western.diagnostics[0].kind, DiagnosticKind::EncodingGuess);
    EXPECT_EQ(western.diagnostics[0].severity, Severity::Warning);
    EXPECT_EQ(western.diagnostics[0].text, "read western.csv as WINDOWS-1252 (not UTF-8)");
    EXPECT_EQ(western.diagnostics[0].subject, "WINDOWS-1252");

    const LoadResult plain = load(fileRequest(dir / "plain.csv"), host);
    ASSERT_TRUE(plain.loaded());
    EXPECT_TRUE(plain.diagnostics.empty());
    // An encoding the user named is no guess.
    const LoadResult named = load(fileRequest(dir / "western.csv", "WINDOWS-1252"), host);
    ASSERT_TRUE(named.loaded());
    EXPECT_TRUE(named.diagnostics.empty());
}

TEST(Load, ATableGivenAsAVectorFileIsRefusedWithWhatItLooksLike) {
    TempDir dir;
    writeFile(dir / "first.csv", "Country;Taxon;First_Record_Year\r\nAlba;x;1990\r\nBern;x;1991\r\n");
    writeFile(dir / "garbled.csv", "not a vector file at all\r\n");
    RecordingHost host;
    const LoadResult table = load(fileRequest(dir / "first.csv"), host);
    EXPECT_FALSE(table.loaded());
    EXPECT_FALSE(host.messages.empty());  // the scan's own refusal, as it came
    ASSERT_EQ(table.diagnostics.size(), 1u);
    const Diagnostic& look = table.diagnostics[0];
    EXPECT_EQ(look.kind, DiagnosticKind::TableNotVectorFile);
    EXPECT_EQ(look.severity, Severity::Refusal);
    EXPECT_EQ(look.subject, (dir / "first.csv").string());
    EXPECT_EQ(tableAdvice(look, "--records first.csv"),
              "This file looks like a table (semicolon-separated, 3 columns: Country, Taxon, First_Record_Year). "
              "To read first records from it, use --records first.csv");

    const LoadResult garbled = load(fileRequest(dir / "garbled.csv"), host);
    EXPECT_FALSE(garbled.loaded());
    EXPECT_TRUE(garbled.diagnostics.empty());
    const LoadResult missing = load(fileRequest(dir / "none.csv"), host);
    EXPECT_FALSE(missing.loaded());
    EXPECT_TRUE(missing.diagnostics.empty());
}

// The hook hears of the import before any message of the Read, once; a refused import
// reaches the messenger and builds nothing.
TEST(Load, ARecordsImportTellsItsSummaryFirstAndARefusalBuildsNothing) {
    TempDir dir;
    writeFile(dir / "first.csv", "Year,Taxon,Country\r\n1950,Alpha,North\r\n1953,Alpha,West\r\n1962,Beta,North\r\n");
    writeFile(dir / "wrong.csv", "When,What\r\n1950,Alpha\r\n");
    RecordingHost host;
    int told = 0;
    std::vector<std::string> toldSummary;
    std::size_t messagesWhenTold = 0;
    const ImportedHook hook = [&](const std::vector<std::string>& summary, const vec::VectorData& built) {
        ++told;
        toldSummary = summary;
        messagesWhenTold = host.messages.size();
        EXPECT_EQ(built.objects.size(), 2u);  // North, West
    };
    LoadRequest request;
    request.missvalue = "-9999";
    request.records.emplace();
    request.records->table = dir / "first.csv";
    const LoadResult read = load(request, host, hook);
    ASSERT_TRUE(read.loaded());
    EXPECT_TRUE(read.convertedFromGis);  // nothing is written back to a table
    EXPECT_EQ(told, 1);
    EXPECT_EQ(messagesWhenTold, 0u);
    EXPECT_FALSE(read.summary.empty());
    EXPECT_EQ(read.summary, toldSummary);
    EXPECT_EQ(read.read.data.valname.front(), "Alpha");

    told = 0;
    request.records->table = dir / "wrong.csv";
    const LoadResult refused = load(request, host, hook);
    EXPECT_FALSE(refused.loaded());
    EXPECT_EQ(told, 0);
    EXPECT_TRUE(refused.summary.empty());
    ASSERT_FALSE(host.messages.empty());
    EXPECT_NE(host.messages.back().find("\"When\", \"What\""), std::string::npos) << host.messages.back();
}

}  // namespace
}  // namespace el::ops
