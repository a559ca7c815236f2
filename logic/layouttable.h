// SPDX-License-Identifier: GPL-3.0-or-later
// The window's fixed look as data: where every widget sits (in twips, as the
// layout was drawn; 15 twips make a pixel at 96 dpi), its colour, caption,
// character limit and place in the Tab order. Plain standard C++, so the
// desktop window and the browser page both read this one table.
#pragma once

#include "formmodel.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace nihilist::layout {

struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct Rgb {
    unsigned char red = 0;
    unsigned char green = 0;
    unsigned char blue = 0;
};

struct Control {
    std::string name; // object name, e.g. "Label3_12"
    TwipsRect twips; // outer rectangle; relative to Frame1 when inFrame
    std::optional<Rgb> background; // none: the platform's default colours
    std::string caption; // UTF-8; a box's starting text; a pane's text file
    std::string accessible; // UTF-8; a pane's name, where a number or cell stands
    std::size_t limit = 0; // a box's limit in characters (code points)
    bool inFrame = false;
    bool shown = true;
};

constexpr int TwipsPerPixel = 15;
constexpr int ClientWidth = 7560;
constexpr int ClientHeight = 6360;
constexpr Rgb WindowColour {192, 192, 255};
// The picked row, white on this blue (4.6:1), where the desktop offers no
// highlight as readable: the blue of Qt's own Fusion palette, darkened.
constexpr Rgb PickedRowColour {42, 123, 174};

// WCAG 2.x's contrast ratio of two sRGB colours, from 1 (none) to 21.
double Contrast(Rgb a, Rgb b);

// The four result lists: the sunken border around the rows, the height of one
// row (18 pixels at 96 dpi, Times New Roman 12 pt's line) and what shows of
// the row below the whole ones, a hint that the list goes on.
constexpr int ListBorderTwips = 30;
constexpr int ListRowTwips = 270;
constexpr int ListPartRowTwips = 105;
constexpr int ListHeightTwips = 2 * ListBorderTwips + FormModel::VisibleRows * ListRowTwips + ListPartRowTwips;

// The title bar's text, UTF-8.
extern const char* const WindowCaption;

// Every widget of the window, the square's grid included, in tab-index order.
const std::vector<Control>& Controls();

// The widgets that take the keyboard focus, in Tab order.
const std::vector<std::string>& FocusOrder();

} // namespace nihilist::layout
