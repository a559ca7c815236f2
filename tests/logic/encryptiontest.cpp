// SPDX-License-Identifier: GPL-3.0-or-later
#include "testsupport.h"

#include <gtest/gtest.h>

namespace nihilist {
namespace {

TEST(EncryptionTest, StoredExampleGivesTwentyRows)
{
    FormModel model = StartedModel();
    model.Encrypt();

    EXPECT_EQ(ListText(model, FormModel::LetterList), "D Y N A M I T E W I N T E R P A L A C E");
    EXPECT_EQ(ListText(model, FormModel::CodeList), "23 55 41 15 35 32 45 12 53 32 41 45 12 14 43 15 34 15 22 12");
    EXPECT_EQ(ListText(model, FormModel::KeyCodeList), "14 51 21 21 32 15 41 14 51 21 21 32 15 41 14 51 21 21 32 15");
    EXPECT_EQ(ListText(model, FormModel::CipherList), "37 106 62 36 67 47 86 26 104 53 62 77 27 55 57 66 55 36 54 27");
}

struct TableCase {
    const char *name, *keyword, *key, *text, *keyCodes, *cipher;
};

void PrintTo(const TableCase& c, std::ostream* out)
{
    *out << c.name;
}

class EncryptTableTest : public testing::TestWithParam<TableCase> { };

TEST_P(EncryptTableTest, KeyIsReadCyclically)
{
    const TableCase& c = GetParam();
    FormModel model = StartedModel();
    model.Text2 = {FromUtf8(c.keyword), FromUtf8(c.key), FromUtf8(c.text)};
    model.Encrypt();
    EXPECT_EQ(ListText(model, FormModel::KeyCodeList), c.keyCodes);
    EXPECT_EQ(ListText(model, FormModel::CipherList), c.cipher);
    for (const ListBox& list : model.List1)
        EXPECT_EQ(list.Items.size(), model.List1[0].Items.size());
}

INSTANTIATE_TEST_SUITE_P(Keys, EncryptTableTest,
    testing::Values(TableCase {"OneLetterKeyOnEveryRow", "", "b", "abc", "12 12 12", "23 24 25"},
        TableCase {"TwoLetterKeyRepeats", "", "AB", "AAAAA", "11 12 11 12 11", "22 23 22 23 22"},
        TableCase {"LongKeyUsesItsStartOnly", "", "ZYXWVUTSRQ", "AB", "55 54", "66 66"},
        TableCase {"KeyReducedFirst", "", "z-y 9", "aaa", "55 54 55", "66 65 66"},
        TableCase {"HighestSumHasThreeDigits", "", "Z", "Z", "55", "110"},
        TableCase {"JReadAsI", "", "J", "J", "24", "48"},
        TableCase {"EmptyKeyNoRows", "ZEBRAS", "", "DYNAMITE", "", ""},
        TableCase {"KeyWithoutLettersNoRows", "ZEBRAS", "123 !", "DYNAMITE", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EncryptionTest, RejectedKeywordYieldsNoTable)
{
    FormModel model = StartedModel();
    model.Encrypt();
    const std::string square = SquareRows(model.Label3, U"/");
    ASSERT_EQ(model.List1[FormModel::CipherList].Items.size(), 20U);

    for (const std::u32string keyword : {U"ZEBRAZ", U"Zz", U"A B C", U"JIM"}) {
        model.Text2 = {keyword, U"russian", U"Dynamite winter palace"};
        model.Encrypt();
        for (const ListBox& list : model.List1)
            EXPECT_TRUE(list.Items.empty()) << ToUtf8(keyword);
        EXPECT_EQ(SquareRows(model.Label3, U"/"), square);
        EXPECT_EQ(model.Text2[FormModel::Keyword], U"");
        EXPECT_EQ(model.Text2[FormModel::Plain], U"DYNAMITE WINTER PALACE");
    }
}

} // namespace
} // namespace nihilist
