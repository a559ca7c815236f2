// SPDX-License-Identifier: GPL-3.0-or-later
#include "appearance.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

namespace nihilist {

void ApplyAppearance()
{
    QApplication::setStyle("Fusion");
    // Liberation Serif has the same metrics as Times New Roman, so the
    // layout holds where the latter is missing. Naming only a font that is
    // there spares the start-up a search through fallback fonts.
    const QString times = QStringLiteral("Times New Roman");
    QFont font(QFontDatabase::hasFamily(times) ? times : QStringLiteral("Liberation Serif"), 12);
    QApplication::setFont(font);
}

} // namespace nihilist
