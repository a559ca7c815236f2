// SPDX-License-Identifier: GPL-3.0-or-later
// Conversions between Qt's UTF-16 strings and the cipher's code points.
#pragma once

#include <QList>
#include <QString>
#include <string>

namespace nihilist {

inline QString ToQString(std::u32string_view text)
{
    return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::u32string ToCodePoints(const QString& text)
{
    const QList<uint> ucs4 = text.toUcs4();
    return {ucs4.begin(), ucs4.end()};
}

} // namespace nihilist
