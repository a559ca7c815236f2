// SPDX-License-Identifier: GPL-3.0-or-later
// The first half of Encrypt: upper-case the boxes, refuse a keyword that
// repeats a character, reduce the boxes to A-Z (J written as I) and rebuild
// the square from the keyword. Every change goes back into the boxes, so the
// pupil sees exactly what is encrypted.
#include "formmodel.h"

namespace nihilist {

bool FormModel::CheckInputs()
{
    bool rejected = false;
    for (std::u32string& box : Text2)
        box = UpperCase(box);

    std::u32string& keyword = Text2[Keyword];
    KeywordLength = static_cast<std::int32_t>(keyword.size());
    for (std::size_t i = 0; i + 1 < keyword.size() && !rejected; ++i) {
        for (std::size_t j = i + 1; j < keyword.size(); ++j) {
            if (keyword[i] == keyword[j]) {
                rejected = true;
                break;
            }
        }
    }
    // I and J share a cell, so a keyword holding both repeats a letter once
    // J is written as I.
    const bool hasI = keyword.find(U'I') != std::u32string::npos;
    const bool hasJ = keyword.find(U'J') != std::u32string::npos;
    if (hasI && hasJ)
        rejected = true;

    if (rejected)
        keyword.clear();
    return rejected;
}

void FormModel::NormaliseBox(int k)
{
    if (k < 0 || k >= static_cast<int>(Text2.size()))
        return;
    std::u32string s;
    for (char32_t c : Text2[k]) {
        if (c >= U'A' && c <= U'Z')
            s.push_back(c == U'J' ? U'I' : c);
    }
    Text2[k] = std::move(s);
}

void FormModel::PrepareSquare()
{
    KeywordRejected = CheckInputs();
    if (KeywordRejected)
        return;
    NormaliseBox(Plain);
    NormaliseBox(Keyword);
    NormaliseBox(Key);
    FillSquare(Text2[Keyword]);
}

} // namespace nihilist
