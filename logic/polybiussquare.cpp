// SPDX-License-Identifier: GPL-3.0-or-later
// The 5x5 square: its plain form, its fill from a keyword and the search
// that turns a letter into its two-digit code.
#include "formmodel.h"

namespace nihilist {

void FormModel::ResetSquare()
{
    int n = 0;
    for (char32_t ch = U'A'; ch <= U'Z'; ++ch) {
        if (ch != U'J')
            Label3[n++] = std::u32string(1, ch);
    }
    ClearLists();
}

void FormModel::FillSquare(const std::u32string& keyword)
{
    for (int k = 0; k <= 25; ++k)
        LetterFree[k] = 1;

    // The keyword takes the first cells letter for letter; callers make sure
    // its letters are different capitals without J. Anything else must still
    // not write outside the square or the table.
    int n = 0;
    for (char32_t c : keyword) {
        if (n == CellCount)
            break;
        if (c >= U'A' && c <= U'Z')
            LetterFree[c - U'A'] = 0;
        Label3[n++] = std::u32string(1, c);
    }

    // The rest of the alphabet follows in order, skipping used letters and J.
    for (int k = 0; k <= 25 && n < CellCount; ++k) {
        const char32_t ch = U'A' + k;
        if (ch != U'J' && LetterFree[k] == 1)
            Label3[n++] = std::u32string(1, ch);
    }
}

void FormModel::LookupCode()
{
    // The whole square is scanned; the last matching cell wins, and no match
    // leaves the previous result in place.
    for (int i = 0; i < CellCount; ++i) {
        if (Label3[i] == SearchLetter) {
            FoundRow = i / 5;
            FoundColumn = i % 5;
            FoundCode = CellCode(i);
        }
    }
}

} // namespace nihilist
