// SPDX-License-Identifier: GPL-3.0-or-later
// The baseline for start-up time and memory: a plain Qt application with an
// empty window of the program's size and nothing else, quitting as soon as
// it has been painted once.
#include "startupprobe.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(504, 424);
    startup::QuitAfterFirstPaint(window);
    window.show();
    return QApplication::exec();
}
