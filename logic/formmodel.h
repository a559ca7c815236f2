// SPDX-License-Identifier: GPL-3.0-or-later
// The state of the cipher window as its procedures see it: the contents of
// the input boxes, the 25 square cells and the four result lists, plus the
// form-level members that pass values between procedures. Everything here is
// plain standard C++, so the whole cipher runs and is tested without a GUI.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace nihilist {

// A list box reduced to what the procedures use: its items, the 0-based
// selected row (-1 when nothing is selected) and the first row it shows.
struct ListBox {
    std::vector<std::u32string> Items;
    int ListIndex = -1;
    int TopIndex = 0;

    void Clear();
    void AddItem(std::u32string item);
};

// Upper-cases a piece of text following the platform's locale. The model
// hands it one character at a time, and only characters outside ASCII.
using UpperCaser = std::function<std::u32string(const std::u32string&)>;

class FormModel {
public:
    // Element indices of the Text2 boxes and the List1 lists.
    enum Box : int { Keyword = 0, Key = 1, Plain = 2, BoxCount };
    enum List : int { CodeList = 0, KeyCodeList = 1, CipherList = 2, LetterList = 3, ListCount };

    static constexpr int SquareSide = 5;
    static constexpr int CellCount = SquareSide * SquareSide;
    static constexpr std::array<std::size_t, BoxCount> MaxLength {10, 10, 40};

    explicit FormModel(UpperCaser upper = {});

    // Widget contents. They start as a window starts: the classic example in
    // the boxes, empty cells until Form_Load resets the square, no rows.
    std::array<std::u32string, BoxCount> Text2 {U"ZEBRAS", U"RUSSIAN", U"DYNAMITE WINTER PALACE"};
    std::array<std::u32string, CellCount> Label3 {};
    std::array<ListBox, ListCount> List1 {};

    // Form-level members.
    std::array<std::int16_t, 31> LetterFree {};
    std::int32_t KeywordLength = 0;
    std::u32string SearchLetter;
    int FoundRow = 0;
    int FoundColumn = 0;
    std::int16_t FoundCode = 0;
    // Set by PrepareSquare: the keyword was refused, so nothing may be encrypted.
    bool KeywordRejected = false;

    // The square.
    void ResetSquare();
    void FillSquare(const std::u32string& keyword);
    void LookupCode();

    // Input preparation.
    bool CheckInputs();
    void NormaliseBox(int k);
    void PrepareSquare();

    // The encryption table.
    void EncryptText();

    // The commands behind the window's buttons and lists.
    void Encrypt();
    void Clear();
    void SelectRow(int list);

    // What a pupil does in a list. The four lists are one table: a row
    // picked in one is picked in all, and they scroll as one. Both
    // front-ends turn their events into these calls and draw the result.
    enum class ListKey { Up, Down, Home, End, PageUp, PageDown };
    static constexpr int ListKeyCount = static_cast<int>(ListKey::PageDown) + 1;
    void ListKeyDown(int list, ListKey key);
    // A press on a row; a row outside the list is blank space.
    void ListMouseDown(int list, int row);
    void ListGotFocus(int list, bool byKeyboard);
    // A wheel turn in eighths of a degree (120 a notch), positive away from
    // the pupil; each notch scrolls WheelRows rows. False when the list
    // cannot use the turn (no rows, or already at its end that way), which
    // then belongs to whatever holds the list.
    bool ListWheel(int list, int angle);
    // The list was scrolled (by its scroll bar or a finger) to show `top` first.
    void ListScroll(int list, int top);
    static constexpr int WheelRows = 3;
    // Rows a list shows whole; Page Up and Page Down move one fewer. The
    // layout sizes the lists from it.
    static constexpr int VisibleRows = 7;

    // Upper-cases one box's text character by character: a-z always become
    // A-Z whatever the locale; any other character goes through the
    // platform's upper-casing and is kept as it is when that would not give
    // exactly one character, so a box never grows.
    std::u32string UpperCase(const std::u32string& text) const;

private:
    void ClearLists();
    int RowCount(int list) const;
    int LastTop() const; // the first row shown when the last row is at the bottom
    void PickRow(int row);
    void ShowRow(int row);
    void ScrollTo(int top);

    int wheelAngle_ = 0; // what is left of a turn smaller than one row

    UpperCaser upper_;
};

// The square's code for a cell index: row digit, then column digit (11..55).
constexpr std::int16_t CellCode(int cell)
{
    return static_cast<std::int16_t>((cell / 5 + 1) * 10 + cell % 5 + 1);
}

} // namespace nihilist
