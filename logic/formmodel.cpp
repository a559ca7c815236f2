// SPDX-License-Identifier: GPL-3.0-or-later
#include "formmodel.h"

#include <utility>

namespace nihilist {

void ListBox::Clear()
{
    Items.clear();
    ListIndex = -1;
    TopIndex = 0;
}

void ListBox::AddItem(std::u32string item)
{
    Items.push_back(std::move(item));
}

FormModel::FormModel(UpperCaser upper)
    : upper_(std::move(upper))
{
}

std::u32string FormModel::UpperCase(const std::u32string& text) const
{
    std::u32string result;
    result.reserve(text.size());
    for (char32_t c : text) {
        if (c >= U'a' && c <= U'z') {
            c = c - U'a' + U'A';
        } else if (c > 0x7f && upper_) {
            // Context-free on purpose: a locale rule that turns one letter
            // into two (German sharp s) would make the box longer.
            const std::u32string upper = upper_(std::u32string(1, c));
            if (upper.size() == 1)
                c = upper.front();
        }
        result.push_back(c);
    }
    return result;
}

void FormModel::ClearLists()
{
    for (ListBox& list : List1)
        list.Clear();
    wheelAngle_ = 0; // a part-turn of the wheel belongs to the old table
}

void FormModel::Encrypt()
{
    PrepareSquare();
    // A refused keyword leaves the old square and unreduced inputs behind;
    // encrypting those would show a table that means nothing.
    if (KeywordRejected)
        ClearLists();
    else
        EncryptText();
}

void FormModel::Clear()
{
    ResetSquare();
    for (std::u32string& box : Text2)
        box.clear();
}

void FormModel::SelectRow(int list)
{
    if (list < 0 || list >= static_cast<int>(List1.size()))
        return;
    const int row = List1[list].ListIndex;
    for (ListBox& each : List1) {
        const bool exists = row >= 0 && row < static_cast<int>(each.Items.size());
        each.ListIndex = exists ? row : -1;
    }
}

} // namespace nihilist
