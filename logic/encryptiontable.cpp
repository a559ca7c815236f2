// SPDX-License-Identifier: GPL-3.0-or-later
// The second half of Encrypt: one row per letter of the text, with the
// letter, its code, the code of the key letter in turn and their sum.
#include "formmodel.h"

#include <string>

namespace nihilist {

namespace {

std::u32string Decimal(int value)
{
    const std::string digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

} // namespace

void FormModel::EncryptText()
{
    ClearLists();
    const std::u32string& key = Text2[Key];
    const std::u32string& text = Text2[Plain];
    // Without a key letter there is nothing to add: no rows at all.
    if (key.empty())
        return;

    for (ListBox& list : List1)
        list.Items.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        SearchLetter.assign(1, text[i]);
        List1[LetterList].AddItem(SearchLetter);
        LookupCode();
        const std::int16_t p = FoundCode;
        List1[CodeList].AddItem(Decimal(p));

        // The key is read cyclically from its first letter.
        SearchLetter.assign(1, key[i % key.size()]);
        LookupCode();
        const std::int16_t q = FoundCode;
        List1[KeyCodeList].AddItem(Decimal(q));

        List1[CipherList].AddItem(Decimal(p + q));
    }
}

} // namespace nihilist
