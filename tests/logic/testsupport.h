// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "formmodel.h"
#include "utf8.h"

#include <ostream>
#include <string>

namespace nihilist {

// Lets GoogleTest print code-point strings readably.
inline void PrintTo(const std::u32string& text, std::ostream* out)
{
    *out << '"' << ToUtf8(text) << '"';
}

// The square as five rows of five letters: "ABCDE/FGHIK/...".
inline std::string SquareRows(const FormModel& model)
{
    std::u32string rows;
    for (int i = 0; i < FormModel::CellCount; ++i) {
        if (i > 0 && i % 5 == 0)
            rows += U'/';
        rows += model.Label3[i];
    }
    return ToUtf8(rows);
}

// One list's items separated by spaces.
inline std::string ListText(const FormModel& model, int list)
{
    std::u32string text;
    for (const std::u32string& item : model.List1[list].Items) {
        if (!text.empty())
            text += U' ';
        text += item;
    }
    return ToUtf8(text);
}

inline std::u32string U32(const std::string& utf8) { return FromUtf8(utf8); }

// A stand-in for the platform's upper-casing, as a locale might do it:
// Cyrillic and a few Latin letters with accents become capitals, the German
// sharp s becomes two letters, and (Turkish rules) i becomes a dotted I.
inline std::u32string TestUpperCase(const std::u32string& text)
{
    std::u32string out;
    for (char32_t c : text) {
        if (c >= 0x430 && c <= 0x44f)
            out += c - 0x20;
        else if (c >= 0xe0 && c <= 0xfe && c != 0xf7)
            out += c - 0x20;
        else if (c == 0xdf)
            out += U"SS";
        else if (c == U'i')
            out += char32_t{0x130};
        else if (c >= U'a' && c <= U'z')
            out += c - 0x20;
        else
            out += c;
    }
    return out;
}

// A model as the window holds it after start-up.
inline FormModel StartedModel()
{
    FormModel model(TestUpperCase);
    model.ResetSquare();
    return model;
}

} // namespace nihilist
