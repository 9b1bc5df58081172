#include "vector/archive_meta.hpp"

#include <gtest/gtest.h>

#include "vector/download_lines.hpp"
#include "vector/records_error.hpp"

namespace el::test {
namespace {

using Texts = std::vector<std::string>;

// A descriptor as occurrence downloads write it: tabs as "\t", no quoting, one header line,
// the id at index 0 and also named by a term, one constant term.
const std::string kMeta = R"(<?xml version="1.0" encoding="utf-8"?>
<archive xmlns="http://rs.tdwg.org/dwc/text/" metadata="eml.xml">
  <core encoding="UTF-8" fieldsTerminatedBy="\t" linesTerminatedBy="\n" fieldsEnclosedBy=""
        ignoreHeaderLines="1" rowType="http://rs.tdwg.org/dwc/terms/Occurrence">
    <files>
      <location> occurrence.txt </location>
    </files>
    <id index="0" />
    <field index="0" term="http://rs.gbif.org/terms/1.0/gbifID"/>
    <field index="3" term="http://rs.tdwg.org/dwc/terms/decimalLatitude"/>
    <field index="1" term="http://rs.tdwg.org/dwc/terms/species"/>
    <field term="http://rs.tdwg.org/dwc/terms/basisOfRecord" default="HUMAN_OBSERVATION"/>
  </core>
  <extension encoding="UTF-8" rowType="http://rs.gbif.org/terms/1.0/Multimedia"><files><location>multimedia.txt</location></files><coreid index="0"/></extension>
</archive>
)";

TEST(ArchiveMeta, TheCoreFileItsFormatAndItsColumnsByTerm) {
    const vec::ArchiveCore core = vec::readArchiveMeta(kMeta);
    EXPECT_EQ(core.location, "occurrence.txt");
    EXPECT_EQ(core.rowType, "http://rs.tdwg.org/dwc/terms/Occurrence");
    EXPECT_EQ(core.format.delimiter, '\t');
    EXPECT_EQ(core.format.quoting, vec::Quoting::Literal);
    EXPECT_EQ(core.format.skippedLines, 1);
    EXPECT_FALSE(core.format.header);
    EXPECT_EQ(core.format.fieldCount, vec::FieldCount::Exact);
    EXPECT_EQ(core.columns, (Texts{"gbifID", "species", "", "decimalLatitude"}));
    ASSERT_EQ(core.constants.size(), 1u);
    EXPECT_EQ(core.constants[0].first, "basisOfRecord");

    // The defaults: commas, double quotes, no header line; the id alone names its column.
    const vec::ArchiveCore plain = vec::readArchiveMeta(
        "<archive><core encoding='ISO-8859-1'><files><location>a.csv</location></files><id index='1'/>"
        "<field index='0' term='http://purl.org/dc/terms/modified#x'/></core></archive>");
    EXPECT_EQ(plain.format.delimiter, ',');
    EXPECT_EQ(plain.format.quoting, vec::Quoting::Standard);
    EXPECT_EQ(plain.format.skippedLines, 0);
    EXPECT_EQ(plain.format.encoding, "ISO-8859-1");
    EXPECT_EQ(plain.columns, (Texts{"x", "id"}));
}

std::string refusal(const std::string& core) {
    try {
        vec::readArchiveMeta("<archive>\n" + core + "\n</archive>");
    } catch (const vec::RecordsError& e) {
        return e.what();
    }
    return "(read)";
}

TEST(ArchiveMeta, WhatCannotBeReadIsRefusedNamingIt) {
    const std::string files = "<files><location>o.txt</location></files>";
    const std::string field = "<field index='0' term='t/a'/>";
    EXPECT_NE(refusal("").find("has no <core>"), std::string::npos);
    EXPECT_NE(refusal("<core>" + field + "</core>").find("no <files><location>"), std::string::npos);
    EXPECT_NE(refusal("<core><files><location>../../etc/passwd</location></files>" + field + "</core>").find("outside"),
              std::string::npos);
    EXPECT_NE(refusal("<core><files><location>/etc/passwd</location></files>" + field + "</core>").find("outside"),
              std::string::npos);
    const std::string twice = refusal("<core>" + files + field + "<field index='0' term='t/b'/></core>");
    EXPECT_NE(twice.find("line 2 of the archive's meta.xml: column 0 is given two terms, a and b"), std::string::npos)
        << twice;
    EXPECT_NE(refusal("<core>" + files + "<field index='-1' term='t/a'/></core>").find("\"-1\" is not a whole number"),
              std::string::npos);
    EXPECT_NE(
        refusal("<core>" + files + "<field index='99999999999999999999' term='t/a'/></core>").find("whole number"),
        std::string::npos);
    EXPECT_NE(refusal("<core fieldsTerminatedBy='||'>" + files + field + "</core>").find("\"||\""), std::string::npos);
    EXPECT_NE(refusal("<core linesTerminatedBy=';'>" + files + field + "</core>").find("line ends"), std::string::npos);
    EXPECT_NE(refusal("<core encoding='KLINGON-8'>" + files + field + "</core>").find("KLINGON-8"), std::string::npos);
    EXPECT_NE(refusal("<core>" + files + "<field term='t/a'/></core>").find("neither an index nor a default"),
              std::string::npos);
    EXPECT_NE(refusal("<core>" + files + "</core>").find("names no column"), std::string::npos);
}

// The columns come from the descriptor whatever the file's own header line says, constants
// are cells at the end, and a line shorter than the descriptor is refused.
TEST(DownloadLines, AnArchiveCoreReadsAsADownloadWithAHeader) {
    const vec::ArchiveCore core = vec::readArchiveMeta(kMeta);
    const std::string text = "ignored\theader\n1\tAus bus\t\"x\t50.5\n2\tCus\tz\t-1\n\n3\tDus\n";
    vec::DownloadLines lines(std::make_unique<vec::MemoryBytes>(text), core, "auto");
    EXPECT_EQ(lines.headers(), (Texts{"gbifID", "species", "", "decimalLatitude", "basisOfRecord"}));
    ASSERT_TRUE(lines.next());
    EXPECT_EQ(lines.line(), 2);
    const std::vector<std::string_view>& cells = lines.cells();
    EXPECT_EQ(Texts(cells.begin(), cells.end()), (Texts{"1", "Aus bus", "\"x", "50.5", "HUMAN_OBSERVATION"}));
    ASSERT_TRUE(lines.next());
    EXPECT_EQ(lines.cells()[3], "-1");
    try {
        lines.next();
        ADD_FAILURE() << "a short line was read";
    } catch (const vec::RecordsError& e) {
        EXPECT_NE(std::string(e.what()).find("Line 5"), std::string::npos) << e.what();
    }

    vec::DownloadLines plain(std::make_unique<vec::MemoryBytes>("a;b\n1;2\n"), vec::DelimitedFormat{});
    EXPECT_EQ(plain.headers(), (Texts{"a", "b"}));
    ASSERT_TRUE(plain.next());
    EXPECT_EQ(plain.cells()[1], "2");
    EXPECT_TRUE(vec::looksLikeZip(std::string("PK\x03\x04rest", 8)));
    EXPECT_FALSE(vec::looksLikeZip("PK"));
}

}  // namespace
}  // namespace el::test
