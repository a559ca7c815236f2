// SPDX-License-Identifier: GPL-3.0-or-later
#include "appearance.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QTranslator>

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

    // Qt's own texts, such as the context menu of a box, speak the window's
    // language whatever the machine's locale.
    static QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral(":/translations/qtbase_bg.qm")))
        QApplication::installTranslator(&qtTexts);
}

} // namespace nihilist
