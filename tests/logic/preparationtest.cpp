// SPDX-License-Identifier: GPL-3.0-or-later
#include "testsupport.h"

#include <gtest/gtest.h>

namespace nihilist {
namespace {

// The square every case starts from, so that "left as it was" is visible.
constexpr const char* EarlierSquare = "QWERT/YUIOP/ABCDF/GHKLM/NSVXZ";

// The boxes as typed (UTF-8), whether the keyword is refused, the boxes
// afterwards and the square (nullptr: the earlier square is kept).
struct PrepareCase {
    const char *name, *keyword, *key, *text;
    bool rejected;
    const char *keywordAfter, *keyAfter, *textAfter, *square;
};

void PrintTo(const PrepareCase& c, std::ostream* out)
{
    *out << c.name;
}

class PrepareSquareTest : public testing::TestWithParam<PrepareCase> { };

TEST_P(PrepareSquareTest, BoxesAndSquareAfterPreparation)
{
    const PrepareCase& c = GetParam();
    FormModel model = StartedModel();
    model.FillSquare(U"QWERTYUIOP");
    model.Text2 = {FromUtf8(c.keyword), FromUtf8(c.key), FromUtf8(c.text)};

    model.PrepareSquare();

    EXPECT_EQ(model.KeywordRejected, c.rejected);
    EXPECT_EQ(ToUtf8(model.Text2[FormModel::Keyword]), c.keywordAfter);
    EXPECT_EQ(ToUtf8(model.Text2[FormModel::Key]), c.keyAfter);
    EXPECT_EQ(ToUtf8(model.Text2[FormModel::Plain]), c.textAfter);
    EXPECT_EQ(SquareRows(model.Label3, U"/"), c.square ? c.square : EarlierSquare);
}

INSTANTIATE_TEST_SUITE_P(Inputs, PrepareSquareTest,
    testing::Values(PrepareCase {"StoredExample", "ZEBRAS", "RUSSIAN", "DYNAMITE WINTER PALACE", false, "ZEBRAS",
                        "RUSSIAN", "DYNAMITEWINTERPALACE", "ZEBRA/SCDFG/HIKLM/NOPQT/UVWXY"},
        PrepareCase {"LowerCaseKeyword", "zebras", "russian", "dynamite", false, "ZEBRAS", "RUSSIAN", "DYNAMITE",
            "ZEBRA/SCDFG/HIKLM/NOPQT/UVWXY"},
        PrepareCase {"RepeatedLetter", "ZEBRAZ", "RUSSIAN", "DYNAMITE WINTER PALACE", true, "", "RUSSIAN",
            "DYNAMITE WINTER PALACE", nullptr},
        PrepareCase {"TwoSpaces", "A B C", "K", "T", true, "", "K", "T", nullptr},
        PrepareCase {
            "PunctuationDropped", "ZEBRA-S", "K", "T", false, "ZEBRAS", "K", "T", "ZEBRA/SCDFG/HIKLM/NOPQT/UVWXY"},
        PrepareCase {"JWrittenAsI", "JAM", "K", "T", false, "IAM", "K", "T", "IAMBC/DEFGH/KLNOP/QRSTU/VWXYZ"},
        PrepareCase {"IWithJ", "JIM", "K", "T", true, "", "K", "T", nullptr},
        PrepareCase {"KeyAndTextReduced", "", "russian 2", "Jack", false, "", "RUSSIAN", "IACK",
            "ABCDE/FGHIK/LMNOP/QRSTU/VWXYZ"},
        // A character is a code point: these two differ although their UTF-8
        // bytes share a lead byte.
        PrepareCase {"CyrillicLettersDiffer", "ЖЗ", "K", "T", false, "", "K", "T", "ABCDE/FGHIK/LMNOP/QRSTU/VWXYZ"},
        PrepareCase {"EmojiDiffer", "😀😁B", "K", "T", false, "B", "K", "T", "BACDE/FGHIK/LMNOP/QRSTU/VWXYZ"},
        // Locale rules never touch a-z: Turkish i still becomes I.
        PrepareCase {
            "TurkishI", "bit", "ki", "dynamite", false, "BIT", "KI", "DYNAMITE", "BITAC/DEFGH/KLMNO/PQRSU/VWXYZ"},
        // A locale rule that would lengthen the text (sharp s to SS) is not applied.
        PrepareCase {"SharpSKeepsItsLength", "ßs", "K", "T", false, "S", "K", "T", "SABCD/EFGHI/KLMNO/PQRTU/VWXYZ"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace nihilist
