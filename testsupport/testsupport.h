// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers shared by the core tests and the fuzzer.
#pragma once

#include "formmodel.h"
#include "utf8.h"

#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <string>

namespace nihilist {

// Lets GoogleTest print code-point strings readably.
inline void PrintTo(const std::u32string& text, std::ostream* out)
{
    *out << '"' << ToUtf8(text) << '"';
}

// The square's cells row by row, an empty one as "_", `between` between rows:
// "ABCDE/FGHIK/..." with "/".
inline std::string SquareRows(
    const std::array<std::u32string, FormModel::CellCount>& cells, std::u32string between = {})
{
    std::u32string rows;
    for (int i = 0; i < FormModel::CellCount; ++i)
        rows += (i > 0 && i % FormModel::SquareSide == 0 ? between : U"") + (cells[i].empty() ? U"_" : cells[i]);
    return ToUtf8(rows);
}

// One list's items separated by spaces.
inline std::string ListText(const FormModel& model, int list)
{
    std::u32string text;
    for (const std::u32string& item : model.List1[list].Items)
        text += (text.empty() ? U"" : U" ") + item;
    return ToUtf8(text);
}

// The one stand-in for the platform's upper-casing in the tests and the
// fuzzer, with the awkward parts of real locales: letters that become two or
// three, a Turkish dotted capital I, letters outside ASCII that become A-Z,
// and nothing at all for garbage. The model must hand it one character.
inline std::u32string TestUpperCase(const std::u32string& text)
{
    if (text.size() != 1) {
        std::fprintf(stderr, "upper-caser got %zu characters, expected one\n", text.size());
        std::abort();
    }
    const char32_t c = text.front();
    if (c > 0x10ffff || (c >= 0xd800 && c <= 0xdfff))
        return {};
    switch (c) {
    case U'i': return U"\u0130";
    case 0xdf: return U"SS";
    case 0xff: return U"\u0178";
    case 0x131: return U"I";
    case 0x149: return U"\u02bcN";
    case 0x17f: return U"S";
    case 0x390: return U"\u0399\u0308\u0301";
    case 0x3c2: return U"\u03a3";
    case 0xfb00: return U"FF";
    case 0xfb01: return U"FI";
    case 0xfb03: return U"FFI";
    default: break;
    }
    if ((c >= U'a' && c <= U'z') || (c >= 0xe0 && c <= 0xfe && c != 0xf7) || (c >= 0x3b1 && c <= 0x3c9)
        || (c >= 0x430 && c <= 0x44f) || (c >= 0xff41 && c <= 0xff5a))
        return std::u32string(1, c - 0x20);
    if (c >= 0x100 && c <= 0x12f && c % 2 == 1)
        return std::u32string(1, c - 1);
    if (c >= 0x450 && c <= 0x45f)
        return std::u32string(1, c - 0x50);
    if (c >= 0x10428 && c <= 0x1044f)
        return std::u32string(1, c - 0x28);
    return text;
}

// A model as the window holds it after start-up.
inline FormModel StartedModel()
{
    FormModel model(TestUpperCase);
    model.ResetSquare();
    return model;
}

} // namespace nihilist
