// SPDX-License-Identifier: GPL-3.0-or-later
// The four lists as a classic list box of seven whole rows: what a pupil's
// keys, presses, focus and wheel do to the picked row and the first row
// shown, on the stored example's twenty rows and on a three-row table.
#include "testsupport.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace nihilist {
namespace {

using Key = FormModel::ListKey;

struct ListCase {
    const char* name;
    const char* text; // what gets encrypted
    const char* steps; // "tab", "click R", a key name, "wheel N" (notches, + down), "scroll T"
    int picked;
    int top;
};

void PrintTo(const ListCase& c, std::ostream* out)
{
    *out << c.name;
}

class RowSelectionTest : public testing::TestWithParam<ListCase> { };

TEST_P(RowSelectionTest, PickedRowAndFirstShownRow)
{
    const ListCase& c = GetParam();
    FormModel model = StartedModel();
    model.Text2[FormModel::Plain] = FromUtf8(c.text);
    model.Encrypt();
    std::istringstream steps(c.steps);
    const std::map<std::string, Key> keys {{"Up", Key::Up}, {"Down", Key::Down}, {"Home", Key::Home}, {"End", Key::End},
        {"PageUp", Key::PageUp}, {"PageDown", Key::PageDown}};
    // Each step happens in another list, as the four are one table.
    int list = 0;
    for (std::string step; steps >> step; list = (list + 1) % 4) {
        int n = 0;
        if (step == "tab")
            model.ListGotFocus(list, true);
        else if (step == "mousefocus")
            model.ListGotFocus(list, false);
        else if (step == "click" && steps >> n)
            model.ListMouseDown(list, n);
        else if (step == "wheel" && steps >> n)
            model.ListWheel(list, -120 * n);
        else if (step == "scroll" && steps >> n)
            model.ListScroll(list, n);
        else
            model.ListKeyDown(list, keys.at(step));
    }
    for (const ListBox& list : model.List1) {
        EXPECT_EQ(list.ListIndex, c.picked);
        EXPECT_EQ(list.TopIndex, c.top);
    }
}

const char* const Example = "DYNAMITE WINTER PALACE"; // twenty rows

INSTANTIATE_TEST_SUITE_P(Lists, RowSelectionTest,
    testing::Values(ListCase {"TabPicksTheFirstRow", Example, "tab", 0, 0},
        ListCase {"MouseFocusPicksNothing", Example, "mousefocus", -1, 0},
        ListCase {"TabKeepsAPickedRow", Example, "click 4 tab", 4, 0},
        ListCase {"TabScrollsBackToTheFirstRow", Example, "wheel 2 tab", 0, 0},
        ListCase {"DownFromNothingPicksTheFirst", Example, "Down", 0, 0},
        ListCase {"UpStopsAtTheTop", Example, "tab Up Up", 0, 0},
        ListCase {"DownPastTheSeventhRowScrollsOne", Example, "tab Down Down Down Down Down Down Down", 7, 1},
        ListCase {"PageDownMovesSixRows", Example, "tab PageDown", 6, 0},
        ListCase {"SecondPageDownScrolls", Example, "tab PageDown PageDown", 12, 6},
        ListCase {"PageDownStopsAtTheLast", Example, "tab PageDown PageDown PageDown PageDown", 19, 13},
        ListCase {"PageUpFromTheEnd", Example, "tab End PageUp", 13, 13},
        ListCase {"EndShowsTheLastSevenRows", Example, "tab End", 19, 13},
        ListCase {"HomeScrollsBack", Example, "tab End Home", 0, 0},
        ListCase {"PartlyShownRowIsPickedWithoutScrolling", Example, "click 7", 7, 0},
        ListCase {"BlankSpacePicksNothing", "abc", "click 3", -1, 0},
        ListCase {"BlankSpaceKeepsThePickedRow", "abc", "click 1 click 5", 1, 0},
        ListCase {"WheelScrollsThreeRowsANotch", Example, "click 2 wheel 1", 2, 3},
        ListCase {"WheelStopsAtTheLastPage", Example, "wheel 9", -1, 13},
        ListCase {"WheelUpStopsAtTheTop", Example, "wheel 2 wheel -5", -1, 0},
        ListCase {"KeyBringsAScrolledAwayRowBack", Example, "click 1 wheel 3 Down", 2, 2},
        ListCase {"ScrollBarIsHeldToTheRows", Example, "scroll 40", -1, 13},
        ListCase {"ShortTableNeverScrolls", "abc", "tab End wheel 2 scroll 2", 2, 0},
        ListCase {"EmptyTableIgnoresEverything", "", "tab Down click 0 wheel 1", -1, 0}),
    [](const testing::TestParamInfo<ListCase>& info) { return info.param.name; });

TEST(RowSelectionTest, HalfNotchesAddUp)
{
    FormModel model = StartedModel();
    model.Encrypt();
    model.ListWheel(0, -60);
    EXPECT_EQ(model.List1[0].TopIndex, 1);
    model.ListWheel(0, -60);
    EXPECT_EQ(model.List1[0].TopIndex, 3);
    // Half a notch left over belongs to the old table, not the next.
    model.ListWheel(0, -60);
    model.Encrypt();
    model.ListWheel(0, -20);
    EXPECT_EQ(model.List1[0].TopIndex, 0);
}

TEST(RowSelectionTest, EncryptAndClearGoBackToTheTop)
{
    FormModel model = StartedModel();
    model.Encrypt();
    model.ListKeyDown(2, Key::End);
    model.Encrypt();
    EXPECT_EQ(model.List1[2].TopIndex, 0);
    EXPECT_EQ(model.List1[2].ListIndex, -1);
    model.ListKeyDown(2, Key::End);
    model.Clear();
    EXPECT_EQ(model.List1[2].TopIndex, 0);
}

} // namespace
} // namespace nihilist
