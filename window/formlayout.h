// SPDX-License-Identifier: GPL-3.0-or-later
// The window's layout table (layouttable.h) in Qt's types.
#pragma once

#include "layouttable.h"

#include <QColor>
#include <QRect>
#include <QRgb>
#include <QString>
#include <vector>

namespace nihilist {

struct Placement {
    QString widget; // object name, e.g. "Label3_12"
    QRect twips; // outer rectangle; relative to Frame1 for widgets inside it
    QRgb background; // 0: the platform's default colours
    QString caption;
    QString accessible; // a pane's name, or where a number or cell stands
    bool shown;
};

constexpr int TwipsPerPixel = layout::TwipsPerPixel;
constexpr QRect TwipsToPixels(const QRect& r)
{
    return {r.x() / TwipsPerPixel, r.y() / TwipsPerPixel, r.width() / TwipsPerPixel, r.height() / TwipsPerPixel};
}

inline layout::Rgb ToRgb(const QColor& c)
{
    const QRgb rgb = c.rgb();
    return {static_cast<unsigned char>(qRed(rgb)), static_cast<unsigned char>(qGreen(rgb)),
        static_cast<unsigned char>(qBlue(rgb))};
}

constexpr QSize ClientTwips {layout::ClientWidth, layout::ClientHeight};
constexpr QRgb WindowColour = qRgb(layout::WindowColour.red, layout::WindowColour.green, layout::WindowColour.blue);

// Every widget of the window in one table, the square's grid included.
const std::vector<Placement>& FormLayout();

// One widget's row of the table.
const Placement& PlacementOf(const QString& widget);

// The widgets that take the keyboard focus, in Tab order.
const std::vector<QString>& FocusOrder();

} // namespace nihilist
