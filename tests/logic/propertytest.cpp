// SPDX-License-Identifier: GPL-3.0-or-later
// Random sessions: many sequences of typing, Encrypt, Clear and row picks on
// random Unicode input, checking after every step what must always hold.
#include "testsupport.h"
#include "textlimit.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace nihilist {
namespace {

// Characters that tend to break text handling, mixed with plain letters.
constexpr char32_t Awkward[] = {U'a', U'z', U'A', U'Z', U'i', U'I', U'j', U'J', U' ', U'-', U'7', 0x0, 0x9, 0xd,
    0x7f, 0xdf, 0xe9, 0x130, 0x131, 0x416, 0x436, 0x5d0, 0x627, 0x301, 0x200f, 0xfeff, 0xfffd, 0x1f600, 0x10ffff};

std::u32string RandomText(std::mt19937& random, std::size_t maxLength)
{
    std::u32string text(std::uniform_int_distribution<std::size_t>(0, maxLength)(random), U' ');
    std::uniform_int_distribution<int> kind(0, 3);
    for (char32_t& c : text) {
        switch (kind(random)) {
        case 0: c = U'A' + std::uniform_int_distribution<int>(0, 25)(random); break;
        case 1: c = U'a' + std::uniform_int_distribution<int>(0, 25)(random); break;
        case 2: c = Awkward[std::uniform_int_distribution<std::size_t>(0, std::size(Awkward) - 1)(random)]; break;
        default: {
            char32_t any = std::uniform_int_distribution<char32_t>(1, 0x10ffff)(random);
            c = (any >= 0xd800 && any <= 0xdfff) ? U'?' : any;
        }
        }
    }
    return text;
}

void ExpectSquareOfTwentyFiveCapitals(const FormModel& model)
{
    std::set<std::u32string> letters(model.Label3.begin(), model.Label3.end());
    EXPECT_EQ(letters.size(), 25U) << SquareRows(model);
    for (const std::u32string& cell : model.Label3) {
        ASSERT_EQ(cell.size(), 1U);
        EXPECT_TRUE(cell[0] >= U'A' && cell[0] <= U'Z' && cell[0] != U'J') << SquareRows(model);
    }
}

// Recomputes the table from the prepared boxes and the square without the
// model's own procedures.
void ExpectTableMatchesBoxes(const FormModel& model)
{
    const std::u32string& key = model.Text2[FormModel::Key];
    const std::u32string& text = model.Text2[FormModel::Plain];
    const std::size_t rows = key.empty() ? 0 : text.size();
    ASSERT_EQ(model.List1[FormModel::LetterList].Items.size(), rows);
    auto code = [&](char32_t letter) {
        for (int cell = 0; cell < 25; ++cell)
            if (model.Label3[cell][0] == letter)
                return (cell / 5 + 1) * 10 + cell % 5 + 1;
        ADD_FAILURE() << "no cell for a prepared letter";
        return 0;
    };
    for (std::size_t i = 0; i < rows; ++i) {
        const int p = code(text[i]);
        const int q = code(key[i % key.size()]);
        EXPECT_EQ(model.List1[FormModel::LetterList].Items[i], text.substr(i, 1));
        EXPECT_EQ(ToUtf8(model.List1[FormModel::CodeList].Items[i]), std::to_string(p));
        EXPECT_EQ(ToUtf8(model.List1[FormModel::KeyCodeList].Items[i]), std::to_string(q));
        EXPECT_EQ(ToUtf8(model.List1[FormModel::CipherList].Items[i]), std::to_string(p + q));
    }
}

TEST(PropertyTest, RandomSessionsKeepListsAlignedAndTheSquareWhole)
{
    std::mt19937 random(20261208);
    for (int session = 0; session < 300 && !HasFailure(); ++session) {
        FormModel model = StartedModel();
        for (int step = 0; step < 30 && !HasFailure(); ++step) {
            const auto before = model.Text2;
            switch (std::uniform_int_distribution<int>(0, 5)(random)) {
            case 0:
            case 1: { // type or paste into a box
                const int box = std::uniform_int_distribution<int>(0, 2)(random);
                std::u32string edited = model.Text2[box];
                const std::size_t at = std::uniform_int_distribution<std::size_t>(0, edited.size())(random);
                edited.insert(at, RandomText(random, 60));
                model.Text2[box] = FitToLimit(model.Text2[box], edited, FormModel::MaxLength[box]).text;
                EXPECT_LE(model.Text2[box].size(), FormModel::MaxLength[box]);
                break;
            }
            case 2:
            case 3:
                model.Encrypt();
                for (int box = 0; box < 3; ++box)
                    EXPECT_LE(model.Text2[box].size(), before[box].size());
                if (!model.KeywordRejected)
                    ExpectTableMatchesBoxes(model);
                break;
            case 4: model.Clear(); break;
            default: {
                const int list = std::uniform_int_distribution<int>(0, 3)(random);
                const int rows = static_cast<int>(model.List1[list].Items.size());
                model.List1[list].ListIndex = std::uniform_int_distribution<int>(-1, rows - 1)(random);
                model.SelectRow(list);
            }
            }
            const std::size_t rows = model.List1[0].Items.size();
            for (const ListBox& list : model.List1) {
                EXPECT_EQ(list.Items.size(), rows);
                EXPECT_TRUE(list.ListIndex >= -1 && list.ListIndex < static_cast<int>(rows));
            }
            ExpectSquareOfTwentyFiveCapitals(model);
        }
    }
}

} // namespace
} // namespace nihilist
