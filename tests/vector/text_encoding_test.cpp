#include "vector/text_encoding.hpp"

#include <gtest/gtest.h>

#include "tests/vector/vector_fixture.hpp"
#include "vector/encoding_guess.hpp"
#include "vector/record_cursor.hpp"
#include "vector/vector_file.hpp"

namespace el::test {
namespace {

using vec::decodeSource;
using vec::DecodedText;

// "分布" (arrived) and "不明" (unknown) in CP932.
const std::string kArrivedCp932 = "\x95\xaa\x95\x7a";
const std::string kUnknownCp932 = "\x95\x73\x96\xbe";

std::string errorOf(const std::variant<DecodedText, std::string>& result) {
    return result.index() == 1 ? std::get<1>(result) : std::string("(decoded)");
}

TEST(TextEncoding, RecognisesWellFormedUtf8Only) {
    EXPECT_TRUE(vec::isValidUtf8("plain, 分布, \xF0\x9F\x90\x9B"));
    for (const char* bad : {"\xC0\xAF",           // overlong "/"
                            "\xE0\x80\xAF",       // overlong, three bytes
                            "\xED\xA0\x80",       // a surrogate
                            "\xF4\x90\x80\x80",   // above U+10FFFF
                            "\xE5\x88",           // cut short
                            "\x95\xaa"})          // CP932 bytes
        EXPECT_FALSE(vec::isValidUtf8(bad)) << bad;
}

TEST(TextEncoding, AutomaticChoiceTakesUtf8WithOrWithoutMarkElseCp932) {
    auto plain = std::get<DecodedText>(decodeSource("a,分布", "auto"));
    EXPECT_EQ(plain.utf8, "a,分布");
    EXPECT_EQ(plain.encoding.name, "UTF-8");
    EXPECT_FALSE(plain.encoding.bom);

    auto marked = std::get<DecodedText>(decodeSource("\xEF\xBB\xBF" "a,分布", "auto"));
    EXPECT_EQ(marked.utf8, "a,分布");
    EXPECT_TRUE(marked.encoding.bom);

    auto cp932 = std::get<DecodedText>(decodeSource("a," + kArrivedCp932 + "\\", "auto"));
    EXPECT_EQ(cp932.utf8, "a,分布\\");  // 0x5C stays a backslash
    EXPECT_EQ(cp932.encoding.name, "CP932");

    // A named encoding is taken as given.
    const std::string latin1 = "caf\xE9";
    EXPECT_EQ(std::get<DecodedText>(decodeSource(latin1, "ISO-8859-1")).utf8, "café");
    EXPECT_EQ(std::get<DecodedText>(decodeSource(latin1, "ISO-8859-1")).encoding.name, "ISO-8859-1");
}

// Files in the encodings of Western and Central European spreadsheets and of Japanese ones,
// as the automatic choice reads them; CP932 as it read them before the detector was asked.
TEST(TextEncoding, AutomaticChoiceReadsWhatTheDetectorNamesAndSaysSo) {
#ifdef _WIN32
    GTEST_SKIP() << "the Windows build has no encoding detector (Debian has no Windows build of uchardet)";
#endif
    const std::string header = "vector,c\r\nsp1,type$,name$,n,x,y\r\n";
    const auto automatic = [](const std::string& bytes) { return std::get<DecodedText>(decodeSource(bytes, "auto")); };

    // é and ç: valid CP932 pairs too ("R駱ublique fran軋ise"), which is how it read before.
    const auto french = automatic(header + "2001,point,R\xe9publique fran\xe7" "aise,1,0,0\r\n");
    EXPECT_NE(french.utf8.find("République française"), std::string::npos) << french.utf8;
    EXPECT_EQ(french.encoding.name, "WINDOWS-1252");
    EXPECT_TRUE(french.encoding.guessed);
    EXPECT_EQ(vec::encodingNotice("f.csv", french.encoding), "read f.csv as WINDOWS-1252 (not UTF-8)");

    const auto polish = automatic(header +
                                  "2001,point,\xa3\xf3" "d\xbc,1,0,0\r\n2002,point,Krak\xf3w,1,1,1\r\n"
                                  "2003,point,Wroc\xb3" "aw,1,2,2\r\n2004,point,Gda\xf1sk,1,3,3\r\n"
                                  "2005,point,\xa6l\xb1sk,1,3,3\r\n2005,point,Bielsko-Bia\xb3" "a,1,3,3\r\n");
    EXPECT_EQ(polish.encoding.name, "ISO-8859-2");
    for (const char* name : {"Łódź", "Kraków", "Wrocław", "Gdańsk", "Śląsk", "Bielsko-Biała"})
        EXPECT_NE(polish.utf8.find(name), std::string::npos) << name;

    // The detector's SHIFT_JIS is read as its Windows form, as before.
    const auto japanese = automatic("vector,\x93\xfa\x96\x7b\r\nsp1,sp2,type$,name$,n,x,y\r\n" + kArrivedCp932 +
                                    "," + kUnknownCp932 + ",point,\x8b\x9e\x93\x73,1,0,0\r\n");
    EXPECT_EQ(japanese.encoding.name, "CP932");
    EXPECT_EQ(japanese.utf8, "vector,日本\r\nsp1,sp2,type$,name$,n,x,y\r\n分布,不明,point,京都,1,0,0\r\n");
    EXPECT_TRUE(japanese.encoding.guessed);

    // Two megabytes of plain lines before the first accented one change nothing.
    std::string late = header;
    while (late.size() < (std::size_t{2} << 20)) late += "1990,point,Paris,1,0,0\r\n";
    late += "2001,point,R\xe9publique fran\xe7" "aise,1,0,0\r\n";
    EXPECT_EQ(vec::encodingCandidates(late).front(), "WINDOWS-1252");
    EXPECT_NE(automatic(late).utf8.find("République française"), std::string::npos);

    // UTF-8 and named encodings are no guess: nothing to tell.
    EXPECT_FALSE(automatic("a,分布").encoding.guessed);
    const auto named = std::get<DecodedText>(decodeSource("caf\xE9", "WINDOWS-1252"));
    EXPECT_FALSE(named.encoding.guessed);
    EXPECT_EQ(vec::encodingNotice("f.csv", named.encoding), std::nullopt);
}

// A short Japanese text the detector takes for a Western one is still read as CP932 when it
// holds a status keyword or looks Japanese throughout; a Western text whose accented letters
// merely pair up into valid CP932 is not.
TEST(TextEncoding, ShortJapaneseTextsOutweighTheDetector) {
#ifdef _WIN32
    GTEST_SKIP() << "the Windows build has no encoding detector (Debian has no Windows build of uchardet)";
#endif
    const std::string keyword = "a," + kArrivedCp932 + "\\";
    const std::string species = "vector,c\r\n\x8A\x4F\x97\x88\x8E\xED,type$,name$,n,x,y\r\n1990,point,A,1,0,0\r\n";
    for (const std::string& bytes : {keyword, species}) {
        EXPECT_NE(vec::detectorEncoding(bytes), "SHIFT_JIS");  // the mistake this mends
        EXPECT_EQ(vec::encodingCandidates(bytes).front(), "CP932");
    }
    EXPECT_EQ(std::get<DecodedText>(decodeSource(species, "auto")).utf8.substr(10, 9), "外来種");
    for (const std::string& bytes : {std::string("R\xe9publique fran\xe7" "aise"), std::string("caf\xe9 cr\xe8me"),
                                    std::string(",\xe9lan,"), std::string("Stra\xdf" "e"), std::string("Espa\xf1" "a")})
        EXPECT_NE(vec::encodingCandidates(bytes).front(), "CP932") << bytes;
    // CP932 stays the last resort.
    for (const std::string& bytes : {std::string("\x80\xff\xfe"), std::string("caf\xe9")})
        EXPECT_EQ(vec::encodingCandidates(bytes).back(), "CP932");
}

TEST(TextEncoding, RefusesWhatIsNotTextInTheEncoding) {
    // The automatic choice's refusals are checked with the hostile files.
    EXPECT_EQ(errorOf(decodeSource(kArrivedCp932, "UTF-8")), "The file is not UTF-8 text (line 1)");
    EXPECT_EQ(errorOf(decodeSource("a\rb\xFF", "CP932")), "The file is not CP932 text (line 2)");
    EXPECT_EQ(errorOf(decodeSource("a", "NO-SUCH-CODE")), "Unknown text encoding: NO-SUCH-CODE");
    EXPECT_TRUE(vec::encodingKnown("cp932"));
    EXPECT_TRUE(vec::encodingKnown("utf8"));
    EXPECT_FALSE(vec::encodingKnown("NO-SUCH-CODE"));
}

TEST(TextEncoding, EncoderWritesBackAndNamesWhatItCannotHold) {
    vec::TextEncoder cp932("CP932");
    ASSERT_TRUE(cp932.usable());
    std::string out, problem;
    ASSERT_TRUE(cp932.encode("分布,不明\\", out, problem));
    EXPECT_EQ(out, kArrivedCp932 + "," + kUnknownCp932 + "\\");

    EXPECT_FALSE(cp932.encode("x\xF0\x9F\x90\x9B", out, problem));
    EXPECT_EQ(problem, "the character \"\xF0\x9F\x90\x9B\" cannot be written in CP932");
    // The encoder is usable again after a failure.
    out.clear();
    EXPECT_TRUE(cp932.encode("分布", out, problem));
    EXPECT_EQ(out, kArrivedCp932);
    EXPECT_FALSE(vec::TextEncoder("NO-SUCH-CODE").usable());
}

// Conversions that outgrow their first buffer: a half-width katakana byte of CP932 is three
// bytes of UTF-8, an ASCII letter four of UTF-32; an encoder's byte order mark comes once.
TEST(TextEncoding, LongTextsGrowTheirBufferAndAMarkIsWrittenOnce) {
    const std::string katakana(1000, '\xB1');  // "ｱ" in CP932
    const auto decoded = decodeSource("x," + katakana, "CP932");
    ASSERT_EQ(decoded.index(), 0u) << errorOf(decoded);
    std::string expected = "x,";
    for (int k = 0; k < 1000; ++k) expected += "\xEF\xBD\xB1";
    EXPECT_EQ(std::get<DecodedText>(decoded).utf8, expected);
#ifndef _WIN32  // the Windows code-page conversions have no UTF-32
    vec::TextEncoder utf32("UTF-32");
    ASSERT_TRUE(utf32.usable());
    std::string out, problem;
    ASSERT_TRUE(utf32.encode(std::string(1000, 'a'), out, problem));
    ASSERT_EQ(out.size(), 4u + 4000u) << "a byte order mark, then four bytes a letter";
    const std::string mark = out.substr(0, 4);
    const std::string letter = out.substr(4, 4);
    out.clear();
    ASSERT_TRUE(utf32.encode("aa", out, problem));
    EXPECT_EQ(out, letter + letter) << "no second mark";
    const auto back = vec::decodedAs("UTF-32", mark + letter + letter);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, "aa");
#endif
}

TEST(TextEncoding, ReadStepDecodesSoJapaneseKeywordsAndNamesArriveAsUtf8) {
    VectorFixture f;
    const std::string file = "vector,\x93\xfa\x96\x7b\r\nsp1,sp2,type$,name$,n,x,y\r\n" + kArrivedCp932 + "," +
                             kUnknownCp932 + ",point,\x8b\x9e\x93\x73,1,0,0\r\n";  // comment 日本, name 京都
    vec::ReadOutcome r = f.read(file);
    ASSERT_EQ(r.erf, 0);
    EXPECT_EQ(r.data.comment, "日本");
    EXPECT_EQ(r.data.objects[0].values, (std::vector<std::string>{"分布", "不明"}));
    EXPECT_EQ(r.data.objects[0].name, "京都");
    EXPECT_EQ(r.data.encoding.name, "CP932");

    r = f.read("vector,c\r\nsp1,type$,name$,n,x,y\r\n1,point,A,1,0,0\r\n", "NO-SUCH-CODE");
    EXPECT_EQ(r.erf, 1);
    EXPECT_EQ(f.host.messages.back(), "in.csv: Unknown text encoding: NO-SUCH-CODE");

    // LF and CR-only line ends read like CR LF.
    r = f.read("vector,c\rsp1,type$,name$,n,x,y\n1,point,A,1,0,0\r2,point,B,1,1,1\n");
    ASSERT_EQ(r.erf, 0);
    EXPECT_EQ(r.data.objn(), 2);
}

TEST(TextEncoding, MessagesCutLongFieldsAtACharacter) {
    EXPECT_EQ(vec::shownField("short"), "short");
    const std::string longName = std::string(79, 'a') + "分布" + std::string(1 << 20, 'b');
    EXPECT_EQ(vec::shownField(longName), std::string(79, 'a') + "...");
}

}  // namespace
}  // namespace el::test
