// Region names in the world's scripts come out as real, shaped text in every figure format:
// Thai, Devanagari, Arabic and CJK have a font, Arabic letters take their joined forms in
// right-to-left order, and PNG, SVG and PDF draw glyphs, not the boxes of missing ones. A
// name with bad bytes or a line break stays one line.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "figures/figure_file.hpp"
#include "figures/font_text.hpp"
#include "figures/map_figure.hpp"
#include "figures/text_fit.hpp"
#include "tests/figures/figure_fixture.hpp"
#include "tests/support/figure_files.hpp"

namespace el::figures {
namespace {

struct ScriptName {
    const char* script;
    std::string name;
    const char* pdfFont;  // the font a PDF embeds for it, "" where DejaVu Sans has the script
};

const std::vector<ScriptName> kNames{{"Thai", "กรุงเทพมหานคร", "NotoSansThai"},
                                     {"Devanagari", "महाराष्ट्र", "NotoSansDevanagari"},
                                     {"Arabic", "القاهرة", ""},
                                     {"CJK", "東京都", "NotoSansCJKjp"}};

// A string of missing-glyph boxes, one for each character of `name`.
std::string boxesFor(const std::string& name) {
    std::string boxes;
    for (std::size_t at = 0; at < name.size(); ++at)
        if ((static_cast<unsigned char>(name[at]) & 0xC0) != 0x80) boxes += "\u0378";
    return boxes;
}

Scene labelScene(const std::string& text) {
    Scene scene;
    scene.width = std::max(60.0, textWidth(text, 40) + 20);
    scene.height = 80;
    scene.overlay.labels.push_back({{10, 55}, text, 40, TextAnchor::Start, {0, 0, 0}});
    return scene;
}

TEST(WorldScripts, EveryNameHasAFontForEachCharacter) {
    ASSERT_EQ(missingGlyphCount("\u0378\u0378"), 2) << "U+0378 is no character: no font has it";
    for (const ScriptName& n : kNames) {
        EXPECT_EQ(missingGlyphCount(n.name), 0) << n.script;
        EXPECT_FALSE(shapedGlyphs(n.name).empty()) << n.script;
    }
    const auto thai = fontFamiliesUsed(kNames[0].name);
    const auto isThai = [](const std::string& family) { return family.find("Thai") != std::string::npos; };
    EXPECT_TRUE(std::any_of(thai.begin(), thai.end(), isThai));
    // Latin text stays in the figures' own font.
    EXPECT_EQ(fontFamiliesUsed("Chiba 2004"), std::vector<std::string>{"DejaVu Sans"});
}

TEST(WorldScripts, ArabicIsJoinedAndRunsRightToLeft) {
    // ا ل ق ا ه ر ة: the lam, qaf, second alef, heh and reh join their neighbours; the
    // first alef (it joins nothing before it) and the closing teh marbuta stand alone.
    const std::string cairo = "القاهرة";
    const std::vector<std::uint32_t> word = shapedGlyphs(cairo);
    ASSERT_EQ(word.size(), 7u);
    std::set<std::uint32_t> isolated;
    for (const char* letter : {"ا", "ل", "ق", "ه", "ر", "ة"}) {
        const auto alone = shapedGlyphs(letter);
        ASSERT_EQ(alone.size(), 1u) << letter;
        isolated.insert(alone[0]);
    }
    const auto joined = std::count_if(word.begin(), word.end(), [&](std::uint32_t g) { return !isolated.contains(g); });
    EXPECT_GE(joined, 4) << "the letters took their contextual forms";
    // Drawn right to left: the leftmost glyph is the last letter, the rightmost the first.
    EXPECT_EQ(word.front(), shapedGlyphs("ة").front());
    EXPECT_EQ(word.back(), shapedGlyphs("ا").front());
    // Devanagari joins its conjunct "ष्ट्र" into fewer glyphs than it has characters.
    EXPECT_LT(shapedGlyphs("महाराष्ट्र").size(), 10u);
}

std::vector<bool> inkOf(const std::string& png) {
    const auto pixels = el::test::decodePng(png);
    std::vector<bool> mask;
    if (!pixels) return mask;
    for (int y = 0; y < pixels->height; ++y)
        for (int x = 0; x < pixels->width; ++x) mask.push_back((pixels->rgb(x, y) & 0xFF) < 128);
    return mask;
}

TEST(WorldScripts, PngDrawsGlyphsNotBoxes) {
    for (const ScriptName& n : kNames) {
        const Scene name = labelScene(n.name), boxes = labelScene(boxesFor(n.name));
        Scene boxesSameSize = boxes;
        boxesSameSize.width = name.width;
        const auto ink = inkOf(figureBytes(name, FigureFormat::Png));
        const auto boxInk = inkOf(figureBytes(boxesSameSize, FigureFormat::Png));
        ASSERT_EQ(ink.size(), boxInk.size()) << n.script;
        int both = 0, either = 0;
        for (std::size_t i = 0; i < ink.size(); ++i) both += ink[i] && boxInk[i], either += ink[i] || boxInk[i];
        EXPECT_GT(std::count(ink.begin(), ink.end(), true), 50) << n.script;
        EXPECT_LT(both, either / 2) << n.script << ": the name's ink is not that of boxes";
    }
}

// The outlines of the glyphs an SVG defines.
std::set<std::string> glyphOutlines(const std::string& svg) {
    const auto found = el::test::textsAfter(svg, "<path style=\"stroke:none;\" d=\"", '"');
    return {found.begin(), found.end()};
}

TEST(WorldScripts, SvgDrawsEachGlyphOutline) {
    const std::string boxSvg = figureBytes(labelScene("\u0378"), FigureFormat::Svg);
    ASSERT_NE(boxSvg.find("fill:none;stroke-width"), std::string::npos) << "a missing glyph is a framed box";
    for (const ScriptName& n : kNames) {
        const std::string svg = figureBytes(labelScene(n.name), FigureFormat::Svg);
        EXPECT_EQ(svg.find("fill:none;stroke-width"), std::string::npos) << n.script << " drew a box";
        const auto outlines = glyphOutlines(svg);
        EXPECT_GE(outlines.size(), 3u) << n.script;
        for (const std::string& o : glyphOutlines(boxSvg)) EXPECT_FALSE(outlines.contains(o)) << n.script;
        // Every glyph placed once (Thai and Devanagari marks are glyphs of their own).
        EXPECT_EQ(el::test::textsAfter(svg, "<use xlink:href=", '>').size(), shapedGlyphs(n.name).size()) << n.script;
    }
}

// pdftotext marks a right-to-left run with embedding controls and may space its glyphs.
std::string withoutBidiMarksAndBlanks(const std::string& text) {
    std::string out;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text.compare(at, 3, "\u202B") == 0 || text.compare(at, 3, "\u202C") == 0) {
            at += 2;
            continue;
        }
        if (text[at] != ' ') out += text[at];
    }
    return out;
}

TEST(WorldScripts, PdfEmbedsTheScriptsFontsAndGivesTheNamesBack) {
    std::vector<std::string> names;
    for (const ScriptName& n : kNames) names.push_back(n.name);
    names.push_back("Chiba");
    MapOptions labelled;
    labelled.labels = true;
    const Scene map =
        buildMap(test::squareRow(names, 130, 30, 1), test::squareRowRun(names, "Invader"), {}, 1200, 500, labelled);
    el::test::TempDir dir;
    el::test::writeFile(dir / "map.pdf", figureBytes(map, FigureFormat::Pdf));
    const std::string fonts = el::test::commandOutput("pdffonts " + el::test::shellQuote((dir / "map.pdf").string()));
    const std::string text = withoutBidiMarksAndBlanks(el::test::pdfText(dir / "map.pdf"));
    for (const ScriptName& n : kNames) {
        if (*n.pdfFont != '\0') {
            EXPECT_NE(fonts.find(n.pdfFont), std::string::npos) << n.script << " in\n" << fonts;
        }
        // Arabic comes back in the order it is read, whatever order it is drawn in.
        EXPECT_NE(text.find(n.name), std::string::npos) << n.script << " in\n" << text;
    }
}

TEST(WorldScripts, BadBytesAndControlCharactersKeepALabelOnOneLine) {
    EXPECT_GT(textWidth("\xFF", 12), 0);
    EXPECT_EQ(textWidth("a\xFF", 12), textWidth("a\uFFFD", 12)) << "a byte that is no UTF-8 is U+FFFD";
    EXPECT_EQ(textWidth("a\nb", 12), textWidth("a b", 12)) << "a line break in a name is a blank";
    EXPECT_EQ(textWidth(std::string("a\0b", 3), 12), textWidth("a b", 12)) << "so is a NUL byte, which ends nothing";
    EXPECT_EQ(wrapLines("Aomori\nAkita\u2029Iwate", 1000, 12), std::vector<std::string>{"Aomori Akita\u2029Iwate"});
    EXPECT_EQ(wrapLines("Aomori Akita", std::nan(""), 12), std::vector<std::string>{"Aomori Akita"});
    EXPECT_EQ(wrapLines("   ", 10, 12), std::vector<std::string>{""});
}

}  // namespace
}  // namespace el::figures
