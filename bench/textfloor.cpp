// SPDX-License-Identifier: GPL-3.0-or-later
// The text floor for start-up: the bare window holding one label in the
// program's font, so the font system starts and glyphs are drawn. What the
// program's window costs beyond this is its own.
#include "startupprobe.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(504, 424);
    QLabel label(QStringLiteral("Шифърът на нихилистите"), &window);
    label.setFont(QFont(QStringLiteral("Liberation Serif"), 12));
    startup::QuitAfterFirstPaint(window);
    window.show();
    return QApplication::exec();
}
