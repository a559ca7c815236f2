// SPDX-License-Identifier: GPL-3.0-or-later
// The layout table both front-ends read: whatever is edited in it, every
// shown widget must stay inside the window (or its frame), each is named
// once, and the focus order and limits name real widgets and the model's
// limits.
#include "layouttable.h"
#include "formmodel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace nihilist::layout {
namespace {

// The named row, or null when the table lacks it.
const Control* Find(const std::string& name)
{
    const auto& table = Controls();
    const auto found = std::find_if(table.begin(), table.end(), [&](const Control& c) { return c.name == name; });
    return found == table.end() ? nullptr : &*found;
}

bool Inside(const TwipsRect& r, int width, int height)
{
    return r.left >= 0 && r.top >= 0 && r.left + r.width <= width && r.top + r.height <= height;
}

TEST(LayoutTableTest, EveryWidgetIsNamedOnceAndLiesInsideItsParent)
{
    std::set<std::string> names;
    ASSERT_TRUE(Find("Frame1"));
    const TwipsRect& frame = Find("Frame1")->twips;
    for (const Control& c : Controls()) {
        EXPECT_TRUE(names.insert(c.name).second) << c.name;
        // The hidden aphorism pane runs past the window's bottom edge.
        if (c.shown) {
            EXPECT_TRUE(
                c.inFrame ? Inside(c.twips, frame.width, frame.height) : Inside(c.twips, ClientWidth, ClientHeight))
                << c.name;
        }
        // Whole pixels at 96 dpi, so both front-ends place them exactly.
        for (int v : {c.twips.left, c.twips.top, c.twips.width, c.twips.height})
            EXPECT_EQ(v % TwipsPerPixel, 0) << c.name;
    }
    EXPECT_EQ(names.size(), 2 + 4 + 3 + 1 + 10 + 25 + 2 + 4 + 4);
}

TEST(LayoutTableTest, FocusOrderAndLimitsNameTheRealWidgets)
{
    std::set<std::string> focus;
    for (const std::string& name : FocusOrder()) {
        EXPECT_TRUE(Find(name)) << name;
        EXPECT_TRUE(focus.insert(name).second) << name;
    }
    for (int k = 0; k < FormModel::BoxCount; ++k) {
        const Control* box = Find("Text2_" + std::to_string(k));
        ASSERT_TRUE(box) << k;
        EXPECT_EQ(box->limit, FormModel::MaxLength[k]);
        EXPECT_TRUE(focus.count(box->name));
    }
}

TEST(LayoutTableTest, ContrastIsWcagsRatio)
{
    EXPECT_DOUBLE_EQ(Contrast({0, 0, 0}, {255, 255, 255}), 21);
    EXPECT_DOUBLE_EQ(Contrast({42, 123, 174}, {42, 123, 174}), 1);
    // The darkest grey that is too light for text on white, and the lightest that is not.
    EXPECT_NEAR(Contrast({255, 255, 255}, {0x77, 0x77, 0x77}), 4.48, 0.005);
    EXPECT_NEAR(Contrast({0x76, 0x76, 0x76}, {255, 255, 255}), 4.54, 0.005);
}

} // namespace
} // namespace nihilist::layout
