// The UTF-8 decoder: sequence lengths at the edges of the well-formed ranges, where the
// valid part of a text ends, the code points it gives, and a stray byte as one character.

#include <gtest/gtest.h>

#include "base/utf8.hpp"

namespace el {
namespace {

// The refusals of malformed sequences are checked through vec::isValidUtf8 as well.
TEST(Utf8, SequenceLengthsAtTheEdgesOfTheWellFormedRanges) {
    EXPECT_EQ(utf8SequenceLength(""), 0u);
    EXPECT_EQ(utf8SequenceLength("A"), 1u);
    EXPECT_EQ(utf8SequenceLength("\xC2\x80"), 2u);          // U+0080
    EXPECT_EQ(utf8SequenceLength("\xE0\xA0\x80"), 3u);      // U+0800
    EXPECT_EQ(utf8SequenceLength("\xF4\x8F\xBF\xBF"), 4u);  // U+10FFFF
    EXPECT_EQ(utf8SequenceLength("\xC1\xBF"), 0u) << "overlong";
    EXPECT_EQ(utf8SequenceLength("\xF0\x8F\xBF\xBF"), 0u) << "overlong";
    EXPECT_EQ(utf8SequenceLength("\xE6\x41\xAA"), 0u) << "no continuation byte";
    EXPECT_EQ(utf8SequenceLength("\xA9"), 0u) << "a continuation byte starts nothing";
}

TEST(Utf8, ValidPrefixEndsAtTheFirstFault) {
    EXPECT_EQ(utf8ValidPrefix("abc"), 3u);
    EXPECT_EQ(utf8ValidPrefix(""), 0u);
    EXPECT_EQ(utf8ValidPrefix("a\xC3\xA9\xFF z"), 3u);
    EXPECT_EQ(utf8ValidPrefix("ab\xE6\x9C"), 2u);
}

TEST(Utf8, CodePointsWithAStrayByteAsOneCharacter) {
    EXPECT_EQ(utf8CodePoints("A\xC3\xA9\xE6\x9C\xAA\xF0\x9F\x90\x9E"),
              (std::vector<char32_t>{U'A', U'\u00E9', U'\u672A', U'\U0001F41E'}));
    // A lead byte whose sequence is broken is one character, and the next byte another.
    EXPECT_EQ(utf8CodePoints("\xC3"
                             "A\xFF"),
              (std::vector<char32_t>{0xC3, U'A', 0xFF}));
    EXPECT_EQ(utf8CodePoints("\xE6\x9C"), (std::vector<char32_t>{0xE6, 0x9C}));
    EXPECT_TRUE(utf8CodePoints("").empty());
}

}  // namespace
}  // namespace el
