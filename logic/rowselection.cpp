// SPDX-License-Identifier: GPL-3.0-or-later
// How the four result lists answer keys, presses, the focus and the wheel,
// as a classic single-selection list box does. The rules live here once so
// that the window and the page behave alike.
#include "formmodel.h"

#include <algorithm>

namespace nihilist {

namespace {
constexpr int Page = FormModel::VisibleRows - 1;
} // namespace

int FormModel::RowCount(int list) const
{
    if (list < 0 || list >= static_cast<int>(List1.size()))
        return 0;
    return static_cast<int>(List1[list].Items.size());
}

void FormModel::PickRow(int row)
{
    List1[0].ListIndex = row;
    SelectRow(0);
}

int FormModel::LastTop() const
{
    return std::max(0, RowCount(0) - VisibleRows);
}

void FormModel::ScrollTo(int top)
{
    for (ListBox& each : List1)
        each.TopIndex = std::clamp(top, 0, LastTop());
}

void FormModel::ShowRow(int row)
{
    const int top = List1[0].TopIndex;
    if (row < top)
        ScrollTo(row);
    else if (row >= top + VisibleRows)
        ScrollTo(row - VisibleRows + 1);
}

void FormModel::ListKeyDown(int list, ListKey key)
{
    const int count = RowCount(list);
    if (count == 0)
        return;
    const int row = List1[list].ListIndex;
    int to = 0; // with nothing picked yet, any key picks the first row
    if (row >= 0 && row < count) {
        switch (key) {
        case ListKey::Up: to = row - 1; break;
        case ListKey::Down: to = row + 1; break;
        case ListKey::Home: to = 0; break;
        case ListKey::End: to = count - 1; break;
        case ListKey::PageUp: to = row - Page; break;
        case ListKey::PageDown: to = row + Page; break;
        }
    }
    to = std::clamp(to, 0, count - 1);
    PickRow(to);
    ShowRow(to);
}

void FormModel::ListMouseDown(int list, int row)
{
    // Blank space picks nothing; a row only partly shown is picked where it
    // stands, without scrolling it under the pointer.
    if (row >= 0 && row < RowCount(list))
        PickRow(row);
}

void FormModel::ListGotFocus(int list, bool byKeyboard)
{
    // Tab into a list shows where the keyboard is: on the picked row, or
    // the first row when none is picked. A press picks its own row.
    const int count = RowCount(list);
    const int row = count > 0 ? List1[list].ListIndex : -1;
    if (!byKeyboard || count == 0 || (row >= 0 && row < count))
        return;
    PickRow(0);
    ShowRow(0);
}

bool FormModel::ListWheel(int list, int angle)
{
    const int top = List1[0].TopIndex;
    if (RowCount(list) == 0 || angle == 0 || top == (angle > 0 ? 0 : LastTop()))
        return false;
    wheelAngle_ += angle;
    const int notchAngle = 120 / WheelRows; // one row's worth
    const int rows = wheelAngle_ / notchAngle;
    wheelAngle_ -= rows * notchAngle;
    ScrollTo(top - rows);
    return true;
}

void FormModel::ListScroll(int list, int top)
{
    if (RowCount(list) > 0)
        ScrollTo(top);
}

} // namespace nihilist
