// SPDX-License-Identifier: GPL-3.0-or-later
#include "testsupport.h"

#include <gtest/gtest.h>

namespace nihilist {
namespace {

constexpr const char* PlainSquare = "ABCDE/FGHIK/LMNOP/QRSTU/VWXYZ";
constexpr const char* ZebrasSquare = "ZEBRA/SCDFG/HIKLM/NOPQT/UVWXY";

struct FillCase {
    const char* name;
    std::u32string keyword;
    const char* square;
};

void PrintTo(const FillCase& c, std::ostream* out) { *out << c.name; }

class FillSquareTest : public testing::TestWithParam<FillCase> {};

TEST_P(FillSquareTest, KeywordThenRemainingLettersInOrder)
{
    FormModel model = StartedModel();
    model.FillSquare(U"QWERTYUIOP"); // a previous square must leave no trace
    model.FillSquare(GetParam().keyword);
    EXPECT_EQ(SquareRows(model), GetParam().square);
}

INSTANTIATE_TEST_SUITE_P(Keywords, FillSquareTest,
    testing::Values(
        FillCase{"Empty", U"", PlainSquare},
        FillCase{"Zebras", U"ZEBRAS", ZebrasSquare},
        FillCase{"Iam", U"IAM", "IAMBC/DEFGH/KLNOP/QRSTU/VWXYZ"},
        FillCase{"LastLetter", U"Z", "ZABCD/EFGHI/KLMNO/PQRST/UVWXY"},
        FillCase{"WholeAlphabetBackwards", U"ZYXWVUTSRQPONMLKIHGFEDCBA", "ZYXWV/UTSRQ/PONML/KIHGF/EDCBA"}),
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

struct LookupCase {
    char32_t letter;
    int row;
    int column;
    int code;
};

TEST(SquareTest, LookupGivesRowDigitThenColumnDigit)
{
    FormModel model = StartedModel();
    model.FillSquare(U"ZEBRAS");
    for (const LookupCase& c : {LookupCase{U'D', 1, 2, 23}, LookupCase{U'R', 0, 3, 14}, LookupCase{U'Y', 4, 4, 55},
             LookupCase{U'Z', 0, 0, 11}, LookupCase{U'I', 2, 1, 32}}) {
        model.SearchLetter = std::u32string(1, c.letter);
        model.LookupCode();
        EXPECT_EQ(model.FoundRow, c.row) << char(c.letter);
        EXPECT_EQ(model.FoundColumn, c.column) << char(c.letter);
        EXPECT_EQ(model.FoundCode, c.code) << char(c.letter);
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
        EXPECT_EQ(model.FoundCode, 44);
        EXPECT_EQ(model.FoundRow, 3);
        EXPECT_EQ(model.FoundColumn, 3);
    }
}

TEST(SquareTest, LookupTakesTheLastMatchingCell)
{
    FormModel model = StartedModel();
    model.FillSquare(U"IIM");
    model.SearchLetter = U"I";
    model.LookupCode();
    EXPECT_EQ(model.FoundCode, 12);
}

} // namespace
} // namespace nihilist
