// The UTF-8 decoder: the sequences it accepts and refuses (overlong forms, surrogates,
// beyond U+10FFFF, cut short), the code points it gives, and a stray byte as one character.

#include <gtest/gtest.h>

#include "base/utf8.hpp"

namespace el {
namespace {

TEST(Utf8, AcceptsWellFormedSequencesOnly) {
    EXPECT_EQ(utf8SequenceLength(""), 0u);
    EXPECT_EQ(utf8SequenceLength("A"), 1u);
    EXPECT_EQ(utf8SequenceLength("\xC3\xA9"), 2u);          // é
    EXPECT_EQ(utf8SequenceLength("\xE6\x9C\xAA"), 3u);      // 未
    EXPECT_EQ(utf8SequenceLength("\xF0\x9F\x90\x9E"), 4u);  // U+1F41E
    EXPECT_EQ(utf8SequenceLength("\xF4\x8F\xBF\xBF"), 4u);  // U+10FFFF
    EXPECT_EQ(utf8SequenceLength("\xC0\xAF"), 0u) << "overlong";
    EXPECT_EQ(utf8SequenceLength("\xC1\xBF"), 0u) << "overlong";
    EXPECT_EQ(utf8SequenceLength("\xE0\x9F\xBF"), 0u) << "overlong";
    EXPECT_EQ(utf8SequenceLength("\xF0\x8F\xBF\xBF"), 0u) << "overlong";
    EXPECT_EQ(utf8SequenceLength("\xED\xA0\x80"), 0u) << "surrogate";
    EXPECT_EQ(utf8SequenceLength("\xF4\x90\x80\x80"), 0u) << "above U+10FFFF";
    EXPECT_EQ(utf8SequenceLength("\xF5\x80\x80\x80"), 0u);
    EXPECT_EQ(utf8SequenceLength("\xE6\x9C"), 0u) << "cut short";
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
    EXPECT_EQ(utf8CodePoints("\xC3" "A\xFF"), (std::vector<char32_t>{0xC3, U'A', 0xFF}));
    EXPECT_EQ(utf8CodePoints("\xE6\x9C"), (std::vector<char32_t>{0xE6, 0x9C}));
    EXPECT_TRUE(utf8CodePoints("").empty());
}

}  // namespace
}  // namespace el
