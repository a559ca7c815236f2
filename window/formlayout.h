// SPDX-License-Identifier: GPL-3.0-or-later
// The window's layout table (layouttable.h) read in Qt's types.
#pragma once

#include "layouttable.h"

#include <QColor>
#include <QRect>
#include <QString>

namespace nihilist {

constexpr QRect TwipsToPixels(const layout::TwipsRect& r)
{
    constexpr int t = layout::TwipsPerPixel;
    return {r.left / t, r.top / t, r.width / t, r.height / t};
}

inline QColor ToQColor(layout::Rgb c)
{
    return {c.red, c.green, c.blue};
}

inline layout::Rgb ToRgb(const QColor& c)
{
    const QRgb rgb = c.rgb();
    return {static_cast<unsigned char>(qRed(rgb)), static_cast<unsigned char>(qGreen(rgb)),
        static_cast<unsigned char>(qBlue(rgb))};
}

// One widget's row of the table. A name the table lacks is a mistake in the
// program, so it stops here, naming it, in every build.
const layout::Control& ControlOf(const QString& widget);

inline QString Caption(const QString& widget)
{
    return QString::fromStdString(ControlOf(widget).caption);
}

} // namespace nihilist
