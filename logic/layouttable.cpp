// SPDX-License-Identifier: GPL-3.0-or-later
#include "layouttable.h"

#include "utf8.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace nihilist::layout {

const char* const WindowCaption = "Шифърът на нихилистите – проект по информатика";

namespace {

constexpr Rgb Caption {255, 192, 128};
constexpr Rgb Header {128, 128, 255};
constexpr Rgb Cell {255, 128, 0};

Control Item(std::string name, TwipsRect twips, std::optional<Rgb> background = {}, std::string caption = {},
    std::string accessible = {})
{
    Control control;
    control.name = std::move(name);
    control.twips = twips;
    control.background = background;
    control.caption = std::move(caption);
    control.accessible = std::move(accessible);
    return control;
}

void AddSquare(std::vector<Control>& table)
{
    // Inside Frame1: column numbers along the top, row numbers down the left,
    // and the cells on a 360-twip grid.
    constexpr int side = FormModel::SquareSide;
    for (int k = 0; k < 2 * side; ++k) {
        const bool column = k < side;
        const TwipsRect at
            = column ? TwipsRect {480 + 360 * k, 360, 300, 300} : TwipsRect {120, 720 + 360 * (k - side), 300, 300};
        table.push_back(
            Item("Label2_" + std::to_string(k), at, Header, std::to_string(k % side + 1), column ? "колона" : "ред"));
        table.back().inFrame = true;
    }
    for (int i = 0; i < FormModel::CellCount; ++i) {
        const int row = i / side, column = i % side;
        table.push_back(Item("Label3_" + std::to_string(i), {480 + 360 * column, 720 + 360 * row, 300, 300}, Cell, "",
            "ред " + std::to_string(row + 1) + ", колона " + std::to_string(column + 1)));
        table.back().inFrame = true;
    }
}

std::vector<Control> Build()
{
    const auto box = [](int k, TwipsRect twips) {
        Control control = Item("Text2_" + std::to_string(k), twips, {}, ToUtf8(FormModel {}.Text2[k]));
        control.limit = FormModel::MaxLength[k];
        return control;
    };
    Control aphorism = Item("Text1_1", {600, 4680, 6735, 1815}, {}, "aphorism.txt", "афоризъм");
    aphorism.shown = false; // it would cover the explanation
    std::vector<Control> table {
        Item("Text1_0", {120, 4200, 7335, 2055}, {}, "explanation.txt", "обяснение"),
        aphorism,
        Item("Label1_0", {1320, 0, 4575, 375}, Caption, "Шифърът на нихилистите"),
        Item("Label1_1", {120, 480, 1575, 375}, Caption, "ключова дума:"),
        box(0, {1680, 480, 1695, 405}),
        Item("Label1_2", {3480, 480, 2295, 375}, Caption, "ключ за криптиране:"),
        box(1, {5760, 480, 1695, 405}),
        Item("Label1_3", {120, 960, 2295, 375}, Caption, "текст за криптиране:"),
        box(2, {2400, 960, 5055, 405}),
        Item("Frame1", {120, 1440, 2415, 2655}, WindowColour, "квадрат на Polybius"),
    };
    AddSquare(table);
    const std::vector<Control> rest {
        Item("Command1_0", {6120, 1800, 1335, 495}, Rgb {0, 255, 0}, "Криптирай"),
        Item("Command1_1", {6120, 3480, 1335, 495}, Rgb {255, 0, 0}, "Чисти"),
        Item("Label4_0", {3480, 1560, 735, 375}, Header, "Код"),
        Item("List1_0", {3480, 1920, 735, ListHeightTwips}),
        Item("Label4_1", {4320, 1560, 735, 375}, Header, "Ключ"),
        Item("List1_1", {4320, 1920, 735, ListHeightTwips}),
        Item("Label4_2", {5160, 1560, 735, 375}, Header, "Шифър"),
        Item("List1_2", {5160, 1920, 735, ListHeightTwips}),
        Item("List1_3", {2640, 1920, 735, ListHeightTwips}),
        Item("Label4_3", {2640, 1560, 735, 375}, Header, "Буква"),
    };
    table.insert(table.end(), rest.begin(), rest.end());
    return table;
}

} // namespace

double Contrast(Rgb a, Rgb b)
{
    const auto luminance = [](Rgb c) {
        const auto linear = [](unsigned char value) {
            const double v = value / 255.0;
            return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.red) + 0.7152 * linear(c.green) + 0.0722 * linear(c.blue);
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

const std::vector<Control>& Controls()
{
    static const std::vector<Control> table = Build();
    return table;
}

const std::vector<std::string>& FocusOrder()
{
    static const std::vector<std::string> order {"Text1_0", "Text1_1", "Text2_0", "Text2_1", "Text2_2", "Command1_0",
        "Command1_1", "List1_0", "List1_1", "List1_2", "List1_3"};
    return order;
}

} // namespace nihilist::layout
