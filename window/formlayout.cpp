// SPDX-License-Identifier: GPL-3.0-or-later
#include "formlayout.h"

namespace nihilist {

namespace {

constexpr QRgb Caption = qRgb(255, 192, 128);
constexpr QRgb Header = qRgb(128, 128, 255);
constexpr QRgb Cell = qRgb(255, 128, 0);

std::vector<Placement> BuildLayout()
{
    std::vector<Placement> table{
        {"Text1_0", {120, 4200, 7335, 2055}, 0},
        {"Text1_1", {600, 4680, 6735, 1815}, 0},
        {"Label1_0", {1320, 0, 4575, 375}, Caption},
        {"Label1_1", {120, 480, 1575, 375}, Caption},
        {"Text2_0", {1680, 480, 1695, 405}, 0},
        {"Label1_2", {3480, 480, 2295, 375}, Caption},
        {"Text2_1", {5760, 480, 1695, 405}, 0},
        {"Label1_3", {120, 960, 2295, 375}, Caption},
        {"Text2_2", {2400, 960, 5055, 405}, 0},
        {"Frame1", {120, 1440, 2415, 2655}, WindowColour},
        {"Command1_0", {6120, 1800, 1335, 495}, qRgb(0, 255, 0)},
        {"Command1_1", {6120, 3480, 1335, 495}, qRgb(255, 0, 0)},
        {"Label4_0", {3480, 1560, 735, 375}, Header},
        {"List1_0", {3480, 1920, 735, 2055}, 0},
        {"Label4_1", {4320, 1560, 735, 375}, Header},
        {"List1_1", {4320, 1920, 735, 2055}, 0},
        {"Label4_2", {5160, 1560, 735, 375}, Header},
        {"List1_2", {5160, 1920, 735, 2055}, 0},
        {"List1_3", {2640, 1920, 735, 2055}, 0},
        {"Label4_3", {2640, 1560, 735, 375}, Header},
    };
    // Inside Frame1: column numbers along the top, row numbers down the left,
    // and the 25 cells on a 360-twip grid.
    for (int k = 0; k < 5; ++k) {
        table.push_back({QStringLiteral("Label2_%1").arg(k), {480 + 360 * k, 360, 300, 300}, Header});
        table.push_back({QStringLiteral("Label2_%1").arg(5 + k), {120, 720 + 360 * k, 300, 300}, Header});
    }
    for (int i = 0; i < 25; ++i)
        table.push_back({QStringLiteral("Label3_%1").arg(i), {480 + 360 * (i % 5), 720 + 360 * (i / 5), 300, 300}, Cell});
    return table;
}

} // namespace

const std::vector<Placement>& FormLayout()
{
    static const std::vector<Placement> table = BuildLayout();
    return table;
}

const std::vector<QString>& FocusOrder()
{
    static const std::vector<QString> order{"Text1_0", "Text1_1", "Text2_0", "Text2_1", "Text2_2", "Command1_0",
        "Command1_1", "List1_0", "List1_1", "List1_2", "List1_3"};
    return order;
}

} // namespace nihilist
