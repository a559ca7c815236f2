// SPDX-License-Identifier: GPL-3.0-or-later
// Where every widget of the window sits and what colour it is, in twips as
// the layout was drawn (15 twips make a pixel at 96 dpi).
#pragma once

#include <QRect>
#include <QRgb>
#include <QString>
#include <vector>

namespace nihilist {

struct Placement {
    QString widget; // object name, e.g. "Label3_12"
    QRect twips;    // outer rectangle; relative to Frame1 for widgets inside it
    QRgb background; // 0: the platform's default colours
};

constexpr int TwipsPerPixel = 15;
constexpr QRect Twips(const QRect& r)
{
    return {r.x() / TwipsPerPixel, r.y() / TwipsPerPixel, r.width() / TwipsPerPixel, r.height() / TwipsPerPixel};
}

constexpr QSize ClientTwips{7560, 6360};
constexpr QRgb WindowColour = qRgb(192, 192, 255);

// Every widget of the window in one table, the square's grid included.
const std::vector<Placement>& FormLayout();

// The widgets that take the keyboard focus, in Tab order.
const std::vector<QString>& FocusOrder();

} // namespace nihilist
