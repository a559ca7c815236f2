// SPDX-License-Identifier: GPL-3.0-or-later
#include "textlimit.h"
#include "testsupport.h"

#include <gtest/gtest.h>

namespace nihilist {
namespace {

struct LimitCase {
    const char *name, *before, *after;
    std::size_t limit;
    const char* kept;
    std::size_t cursor;
    std::size_t end = std::u32string::npos; // the caret after the edit, when known
};

void PrintTo(const LimitCase& c, std::ostream* out)
{
    *out << c.name;
}

class FitToLimitTest : public testing::TestWithParam<LimitCase> { };

TEST_P(FitToLimitTest, NewInputIsCutNotOldText)
{
    const LimitCase& c = GetParam();
    const LimitedText fitted = KeepEdit(FromUtf8(c.before), FromUtf8(c.after), c.limit, c.end);
    EXPECT_EQ(ToUtf8(fitted.text), c.kept);
    EXPECT_EQ(fitted.cursor, c.cursor);
}

INSTANTIATE_TEST_SUITE_P(Edits, FitToLimitTest,
    testing::Values(LimitCase {"TypingIntoAFullBoxIsRefused", "ABCDEFGHIK", "ABCDEXFGHIK", 10, "ABCDEFGHIK", 5},
        LimitCase {"PasteInTheMiddleKeepsTheTail", "AB", "A123456789XYZB", 5, "A123B", 4},
        LimitCase {"PasteOverASelection", "ABCDE", "A0123456789E", 6, "A0123E", 5},
        LimitCase {"RepeatedLettersAroundTheEdit", "AAAA", "AAAAAAAA", 6, "AAAAAA", 6},
        // Ten Cyrillic letters are twenty bytes, ten emoji forty: both fit.
        LimitCase {"CountsCodePointsNotBytes", "", "ЖЖЖЖЖЖЖЖЖЖЖЖ", 10, "ЖЖЖЖЖЖЖЖЖЖ", 10},
        LimitCase {"EmojiCountOnceEach", "😀", "😀😀😀😀😀😀😀😀😀😀😀", 10, "😀😀😀😀😀😀😀😀😀😀", 10},
        LimitCase {"OverlongOldTextKeepsItsStart", "ABCDEFGH", "ABCDEFGHX", 4, "ABCD", 4},
        // Line breaks as browsers make them in a one-line box: a space each,
        // those at the end of the paste dropped; the rest counts as typed.
        LimitCase {"LineBreaksBecomeSpaces", "", "A\r\nB\rC\nD\r\n\r\n", 10, "A B C D", 7},
        LimitCase {"LineBreaksInTheMiddle", "AB", "Ac\nd\n\nB", 10, "Ac dB", 4},
        LimitCase {"TheCaretTellsWhereThePasteEnds", "A", "A\nA", 10, "AA", 1, 2},
        LimitCase {"LineBreaksCountOnceWhenCut", "ZEBRAS", "abc\r\ndef\r\nghijk\r\n", 10, "abc def gh", 10}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Utf8Test, RoundTripAndMalformedBytes)
{
    const std::u32string text = U"aЖ€😀";
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
    EXPECT_EQ(ToUtf8(text).size(), 1U + 2U + 3U + 4U);
    EXPECT_EQ(FromUtf8("a\xff\xd0"), U"a\ufffd\ufffd");
    EXPECT_EQ(FromUtf8("\xc0\xaf"), U"\ufffd\ufffd") << "overlong encodings are refused";
    EXPECT_EQ(FromUtf8("\xed\xa0\x80"), U"\ufffd\ufffd\ufffd") << "surrogates are refused";
    // As JavaScript's JSON.stringify writes it.
    EXPECT_EQ(JsonString(U"\"\\/\b\f\n\r\t\x01\x1fЖ😀"), R"("\"\\/\b\f\n\r\t\u0001\u001fЖ😀")");
}

} // namespace
} // namespace nihilist
