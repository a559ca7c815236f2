// SPDX-License-Identifier: GPL-3.0-or-later
// Drives the cipher core through arbitrary sessions of typing, Encrypt,
// Clear and row picks, and checks after every step what must always hold.
//
// Input: a sequence of steps, read until the bytes run out (a missing byte
// reads as 0). Each step starts with an opcode byte, taken modulo 8:
//   0, 1  type UTF-8   box, at, erase, n, then n bytes decoded with FromUtf8
//   2     type raw     box, at, erase, n, then n % 16 little-endian 32-bit
//                      values taken as characters, invalid ones included
//   3     overwrite    box, a, b, n, then n bytes of UTF-8; the box is set to
//                      that text repeated 1 + a * b times, past any length
//                      limit (up to OverwriteCap characters, or LongKeyCap
//                      for the key when a is 255)
//   4, 5  Encrypt
//   6     Clear
//   7     pick a row   list, row, select: ListIndex of `list` is set to `row`,
//                      then SelectRow(select) runs; or, for a list byte
//                      >= 0x80, a pupil's event in list (byte % 4), by
//                      (byte >> 2) % 5: 0 a key (byte % ListKeyCount), 1 a press on
//                      row, 2 the focus (byte & 1: by keyboard), 3 a wheel
//                      turn (16-bit little-endian angle), 4 a scroll to row
// At most MaxSteps steps are taken. box is a byte % 3; at is a byte %
// (box length + 1); erase is a byte % 4, the characters after `at` that the
// typed text replaces (a selection). row is a byte minus 1, or for bytes
// >= 0x80 a little-endian 32-bit int that follows. select is a byte % 4 for
// bytes < 0xc0, else one of a few out-of-range list numbers.
// Typed text goes through FitToLimit with the box's MaxLength, as the window
// does with every edit. fuzz/makecorpus.py writes the seed sessions;
// replay.cpp runs them, and seeded random ones, as a plain test.
#include "testsupport.h"
#include "textlimit.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using nihilist::FormModel;
using nihilist::ToUtf8;

// Long enough to be far past any box limit, short enough to keep the fuzzer
// fast: every character costs instrumented comparisons, and every text
// character a table row.
constexpr std::size_t OverwriteCap = 600;
// A key longer than a 16-bit count holds, taken
// only when an overwrite of the key asks for it with a = 255.
constexpr std::size_t LongKeyCap = 40000;
constexpr int MaxSteps = 256;

// What Encrypt should make of a box, worked out here without the model:
// a-z always become A-Z, anything else takes the locale's capital if that
// is a single character.
std::u32string Upper(const std::u32string& box)
{
    std::u32string out;
    for (char32_t c : box) {
        const std::u32string upper = c > 0x7f ? nihilist::TestUpperCase(std::u32string(1, c)) : U"";
        out += c >= U'a' && c <= U'z' ? c - 0x20 : upper.size() == 1 ? upper.front() : c;
    }
    return out;
}

std::u32string Reduce(const std::u32string& upper)
{
    std::u32string out;
    for (char32_t c : upper)
        if (c >= U'A' && c <= U'Z')
            out += c == U'J' ? U'I' : c;
    return out;
}

bool KeywordRefused(std::u32string upper)
{
    const bool both = upper.find(U'I') != upper.npos && upper.find(U'J') != upper.npos;
    std::sort(upper.begin(), upper.end());
    return both || std::adjacent_find(upper.begin(), upper.end()) != upper.end();
}

bool IsSubsequence(const std::u32string& part, const std::u32string& whole)
{
    std::size_t k = 0;
    for (char32_t c : whole)
        if (k < part.size() && part[k] == c)
            ++k;
    return k == part.size();
}

bool EndsWith(const std::u32string& text, const std::u32string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size)
        : data_(data)
        , size_(size)
    {
    }

    bool Done() const { return pos_ >= size_; }
    std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    std::uint32_t Word()
    {
        std::uint32_t w = 0;
        for (int i = 0; i < 4; ++i)
            w |= std::uint32_t {Byte()} << (8 * i);
        return w;
    }
    std::string_view Bytes(std::size_t n)
    {
        n = std::min(n, size_ - std::min(pos_, size_));
        const std::string_view out(reinterpret_cast<const char*>(data_) + pos_, n);
        pos_ += n;
        return out;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

class Session {
public:
    Session()
        : model_(nihilist::TestUpperCase)
    {
        model_.ResetSquare();
    }

    void Run(Reader& in)
    {
        CheckAlways();
        for (int step = 0; step < MaxSteps && !in.Done(); ++step) {
            switch (in.Byte() % 8) {
            case 0:
            case 1: Type(in, false); break;
            case 2: Type(in, true); break;
            case 3: Overwrite(in); break;
            case 4:
            case 5: Encrypt(); break;
            case 6: Clear(); break;
            default: ListEvent(in); break;
            }
            CheckAlways();
        }
    }

private:
    // A failed check aborts with what went wrong and the model's state.
    void Expect(bool ok, const char* what) const
    {
        if (ok)
            return;
        std::fprintf(stderr, "core_fuzzer: %s\n", what);
        for (int box = 0; box < 3; ++box)
            std::fprintf(stderr, "  box %d (%zu chars): \"%s\"\n", box, model_.Text2[box].size(),
                ToUtf8(model_.Text2[box].substr(0, 80)).c_str());
        std::fprintf(stderr, "  square: %s\n", nihilist::SquareRows(model_.Label3).c_str());
        for (const nihilist::ListBox& list : model_.List1)
            std::fprintf(stderr, "  list: %zu rows, ListIndex %d\n", list.Items.size(), list.ListIndex);
        std::abort();
    }

    void CheckAlways() const
    {
        const std::size_t rows = model_.List1[0].Items.size();
        for (const nihilist::ListBox& list : model_.List1) {
            Expect(list.Items.size() == rows, "the four lists differ in length");
            Expect(list.TopIndex == model_.List1[0].TopIndex, "the lists scrolled apart");
            Expect(list.TopIndex >= 0 && list.TopIndex <= std::max(0, static_cast<int>(rows) - FormModel::VisibleRows),
                "a list scrolled past its rows");
            if (indexesFromModel_)
                Expect(list.ListIndex >= -1 && list.ListIndex < static_cast<int>(rows), "a ListIndex names no row");
        }
        std::array<bool, 26> seen {};
        for (const std::u32string& cell : model_.Label3) {
            Expect(cell.size() == 1 && cell[0] >= U'A' && cell[0] <= U'Z' && cell[0] != U'J',
                "a square cell is not one capital A-Z other than J");
            Expect(!seen[cell[0] - U'A'], "a letter appears twice in the square");
            seen[cell[0] - U'A'] = true;
        }
    }

    // Typing, pasting or dropping: the window hands the box's text before
    // and after the edit to FitToLimit and keeps what it returns.
    void Type(Reader& in, bool raw)
    {
        const int box = in.Byte() % 3;
        const std::uint8_t atByte = in.Byte();
        const std::uint8_t eraseByte = in.Byte();
        std::u32string typed;
        if (raw) {
            typed.resize(in.Byte() % 16);
            for (char32_t& c : typed)
                c = in.Word();
        } else {
            typed = nihilist::FromUtf8(in.Bytes(in.Byte()));
        }
        const std::u32string before = model_.Text2[box];
        const std::size_t at = atByte % (before.size() + 1);
        const std::size_t erase = std::min<std::size_t>(eraseByte % 4, before.size() - at);
        std::u32string edited = before;
        edited.replace(at, erase, typed);
        std::u32string untouched = before;
        untouched.erase(at, erase);

        const std::size_t limit = FormModel::MaxLength[box];
        const nihilist::LimitedText fitted = nihilist::FitToLimit(before, edited, limit);
        const std::u32string& text = fitted.text;
        Expect(text.size() <= limit, "an edit left a box over its limit");
        Expect(IsSubsequence(text, edited), "the limit added or reordered characters");
        Expect(fitted.cursor <= text.size(), "the cursor lies past the text");
        Expect(EndsWith(edited, text.substr(fitted.cursor)), "the text after the cursor is not the edit's tail");
        if (edited.size() <= limit)
            Expect(text == edited, "an edit within the limit was changed");
        if (before.size() <= limit) {
            Expect(text.size() == std::min(edited.size(), limit), "an edit was cut shorter than the limit needs");
            Expect(IsSubsequence(untouched, text), "new input pushed out text that was already there");
            Expect(fitted.cursor >= at, "the cursor ended before the edit");
        }
        model_.Text2[box] = text;
    }

    void Overwrite(Reader& in)
    {
        const int box = in.Byte() % 3;
        const std::uint8_t a = in.Byte();
        const std::size_t reps = 1 + std::size_t {a} * in.Byte();
        const std::u32string piece = nihilist::FromUtf8(in.Bytes(in.Byte()));
        const std::size_t cap = box == FormModel::Key && a == 255 ? LongKeyCap : OverwriteCap;
        std::u32string text;
        for (std::size_t i = 0; i < reps && !piece.empty() && text.size() < cap; ++i)
            text += piece;
        text.resize(std::min(text.size(), cap));
        model_.Text2[box] = std::move(text);
    }

    void Encrypt()
    {
        const auto boxes = model_.Text2;
        const auto square = model_.Label3;
        model_.Encrypt();
        indexesFromModel_ = true;

        for (int box = 0; box < FormModel::BoxCount; ++box)
            Expect(model_.Text2[box].size() <= boxes[box].size(), "Encrypt made a box longer");
        const bool refused = KeywordRefused(Upper(boxes[FormModel::Keyword]));
        Expect(model_.KeywordRejected == refused, "Encrypt judged the keyword wrongly");

        if (model_.KeywordRejected) {
            for (const nihilist::ListBox& list : model_.List1)
                Expect(list.Items.empty(), "a refused keyword left rows behind");
            Expect(model_.Label3 == square, "a refused keyword changed the square");
            Expect(model_.Text2[FormModel::Keyword].empty(), "a refused keyword stayed in its box");
            Expect(model_.Text2[FormModel::Key] == Upper(boxes[FormModel::Key])
                    && model_.Text2[FormModel::Plain] == Upper(boxes[FormModel::Plain]),
                "a refused keyword did not leave the other boxes upper-cased");
            return;
        }

        for (int box = 0; box < 3; ++box)
            Expect(model_.Text2[box] == Reduce(Upper(boxes[box])), "a box was not reduced to what gets encrypted");

        // The square: the keyword's letters first, then the rest of the
        // alphabet in order (CheckAlways makes sure no letter is missing).
        const std::u32string& keyword = model_.Text2[FormModel::Keyword];
        for (std::size_t i = 0; i < keyword.size(); ++i)
            Expect(model_.Label3[i] == keyword.substr(i, 1), "the square does not start with the keyword");
        for (std::size_t i = keyword.size() + 1; i < model_.Label3.size(); ++i)
            Expect(model_.Label3[i - 1] < model_.Label3[i], "the square's remaining letters are out of order");
        CheckTable();
    }

    // Each row: the letter, its code, the key letter's code and their sum.
    void CheckTable() const
    {
        std::array<int, 26> code {};
        for (int cell = 0; cell < FormModel::CellCount; ++cell)
            code[model_.Label3[cell][0] - U'A'] = (cell / 5 + 1) * 10 + cell % 5 + 1;
        const std::u32string& key = model_.Text2[FormModel::Key];
        const std::u32string& text = model_.Text2[FormModel::Plain];
        const std::size_t rows = key.empty() ? 0 : text.size();
        Expect(model_.List1[FormModel::LetterList].Items.size() == rows, "the table has the wrong number of rows");
        for (std::size_t i = 0; i < rows; ++i) {
            const int p = code[text[i] - U'A'];
            const int q = code[key[i % key.size()] - U'A'];
            Expect(model_.List1[FormModel::LetterList].Items[i] == text.substr(i, 1), "wrong letter in a row");
            Expect(ToUtf8(model_.List1[FormModel::CodeList].Items[i]) == std::to_string(p), "wrong letter code");
            Expect(ToUtf8(model_.List1[FormModel::KeyCodeList].Items[i]) == std::to_string(q), "wrong key code");
            Expect(ToUtf8(model_.List1[FormModel::CipherList].Items[i]) == std::to_string(p + q), "wrong sum");
        }
    }

    void Clear()
    {
        model_.Clear();
        indexesFromModel_ = true;
        for (const std::u32string& box : model_.Text2)
            Expect(box.empty(), "Clear left text in a box");
        for (const nihilist::ListBox& list : model_.List1)
            Expect(list.Items.empty(), "Clear left rows behind");
        const std::u32string plain = U"ABCDEFGHIKLMNOPQRSTUVWXYZ";
        for (int cell = 0; cell < FormModel::CellCount; ++cell)
            Expect(model_.Label3[cell] == plain.substr(cell, 1), "Clear did not restore the plain square");
    }

    static int Row(Reader& in)
    {
        const std::uint8_t rowByte = in.Byte();
        return rowByte >= 0x80 ? static_cast<int>(in.Word()) : rowByte - 1;
    }

    void ListEvent(Reader& in)
    {
        const std::uint8_t listByte = in.Byte();
        if (listByte < 0x80)
            return PickRow(listByte % 4, in);
        const int list = listByte % 4;
        const int rows = static_cast<int>(model_.List1[0].Items.size());
        const int top = model_.List1[0].TopIndex;
        // The lists can disagree only after this fuzzer wrote one of them alone;
        // what an event does is judged on its own list.
        const int picked = model_.List1[list].ListIndex;
        bool shown = false; // the picked row must end up in view
        switch ((listByte >> 2) % 5) {
        case 0:
            model_.ListKeyDown(list, static_cast<FormModel::ListKey>(in.Byte() % FormModel::ListKeyCount));
            shown = true;
            break;
        case 1: {
            const int row = Row(in);
            model_.ListMouseDown(list, row);
            Expect(model_.List1[0].TopIndex == top, "a press scrolled the lists");
            Expect(model_.List1[list].ListIndex == (row >= 0 && row < rows ? row : picked),
                "a press picked the wrong row");
            break;
        }
        case 2: {
            const bool byKeyboard = in.Byte() & 1;
            model_.ListGotFocus(list, byKeyboard);
            shown = byKeyboard && picked < 0; // a row picked before stays where it was scrolled to
            if (indexesFromModel_ && (!byKeyboard || picked >= 0))
                Expect(model_.List1[list].ListIndex == picked, "the focus moved the picked row");
            break;
        }
        case 3: {
            const auto angle = static_cast<std::int16_t>(in.Byte() | in.Byte() << 8);
            model_.ListWheel(list, angle);
            Expect(model_.List1[list].ListIndex == picked, "the wheel moved the picked row");
            break;
        }
        default:
            model_.ListScroll(list, Row(in));
            Expect(model_.List1[list].ListIndex == picked, "scrolling moved the picked row");
        }
        const int now = model_.List1[list].ListIndex;
        if (shown && rows > 0 && indexesFromModel_)
            Expect(now >= model_.List1[0].TopIndex && now < model_.List1[0].TopIndex + FormModel::VisibleRows,
                "the picked row is out of view");
    }

    void PickRow(int written, Reader& in)
    {
        const int row = Row(in);
        const std::uint8_t selectByte = in.Byte();
        constexpr std::array<int, 8> outside {-1, 4, 5, -2, 100, -100, INT_MAX, INT_MIN};
        const int select = selectByte < 0xc0 ? selectByte % 4 : outside[selectByte % 8];

        model_.List1[written].ListIndex = row;
        std::array<int, 4> before {};
        for (int list = 0; list < 4; ++list)
            before[list] = model_.List1[list].ListIndex;
        model_.SelectRow(select);

        const int rows = static_cast<int>(model_.List1[0].Items.size());
        if (select < 0 || select >= 4) {
            for (int list = 0; list < 4; ++list)
                Expect(model_.List1[list].ListIndex == before[list], "a pick in no list moved a selection");
            // The window cannot write a row that does not exist; once this
            // fuzzer has, the invariant waits for the model to reset it.
            if (row < -1 || row >= rows)
                indexesFromModel_ = false;
            return;
        }
        const int picked = before[select];
        const int expected = picked >= 0 && picked < rows ? picked : -1;
        for (const nihilist::ListBox& list : model_.List1)
            Expect(list.ListIndex == expected, "the lists do not all select the picked row");
        indexesFromModel_ = true;
    }

    FormModel model_;
    // False while a ListIndex holds a value only this fuzzer could write.
    bool indexesFromModel_ = true;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Reader in(data, size);
    Session session;
    session.Run(in);
    return 0;
}
