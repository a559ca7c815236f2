// SPDX-License-Identifier: GPL-3.0-or-later
#include "testsupport.h"

#include <gtest/gtest.h>

namespace nihilist {
namespace {

struct FillCase {
    const char* name;
    std::u32string keyword;
    const char* square;
};

void PrintTo(const FillCase& c, std::ostream* out)
{
    *out << c.name;
}

class FillSquareTest : public testing::TestWithParam<FillCase> { };

TEST_P(FillSquareTest, KeywordThenRemainingLettersInOrder)
{
    FormModel model = StartedModel();
    model.FillSquare(U"QWERTYUIOP"); // a previous square must leave no trace
    model.FillSquare(GetParam().keyword);
    EXPECT_EQ(SquareRows(model.Label3, U"/"), GetParam().square);
}

INSTANTIATE_TEST_SUITE_P(Keywords, FillSquareTest,
    testing::Values(FillCase {"Empty", U"", "ABCDE/FGHIK/LMNOP/QRSTU/VWXYZ"},
        FillCase {"Zebras", U"ZEBRAS", "ZEBRA/SCDFG/HIKLM/NOPQT/UVWXY"},
        FillCase {"Iam", U"IAM", "IAMBC/DEFGH/KLNOP/QRSTU/VWXYZ"},
        FillCase {"WholeAlphabetBackwards", U"ZYXWVUTSRQPONMLKIHGFEDCBA", "ZYXWV/UTSRQ/PONML/KIHGF/EDCBA"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SquareTest, FillNeverWritesPastTheLastCell)
{
    // 'IIM' is what a keyword with both I and J would become; it needs 26
    // cells. An over-long keyword needs more still.
    for (const std::u32string keyword : {U"IIM", U"ABCDEFGHIKLMNOPQRSTUVWXYZAB"}) {
        FormModel model = StartedModel();
        model.FillSquare(keyword);
        for (const std::u32string& cell : model.Label3)
            EXPECT_EQ(cell.size(), 1U);
        EXPECT_EQ(model.Label3[0], keyword.substr(0, 1));
    }
}

TEST(SquareTest, LookupGivesRowDigitThenColumnDigit)
{
    FormModel model = StartedModel();
    model.FillSquare(U"ZEBRAS");
    const std::tuple<char32_t, int, int, int> cases[]
        = {{U'D', 1, 2, 23}, {U'R', 0, 3, 14}, {U'Y', 4, 4, 55}, {U'Z', 0, 0, 11}, {U'I', 2, 1, 32}};
    for (auto [letter, row, column, code] : cases) {
        model.SearchLetter = std::u32string(1, letter);
        model.LookupCode();
        EXPECT_EQ(std::tuple(model.FoundRow, model.FoundColumn, model.FoundCode), std::tuple(row, column, code))
            << char(letter);
    }
}

TEST(SquareTest, LookupOfACharacterWithoutCellKeepsThePreviousResult)
{
    FormModel model = StartedModel();
    model.SearchLetter = U"J";
    model.LookupCode();
    EXPECT_EQ(model.FoundCode, 0) << "nothing found since start-up";

    model.SearchLetter = U"T";
    model.LookupCode();
    ASSERT_EQ(model.FoundCode, 44);
    for (const std::u32string letter : {U" ", U"J", U"7", U"", U"Ж", U"t", U"TT"}) {
        model.SearchLetter = letter;
        model.LookupCode();
        EXPECT_EQ(std::tuple(model.FoundRow, model.FoundColumn, model.FoundCode), std::tuple(3, 3, 44));
    }
}

} // namespace
} // namespace nihilist
