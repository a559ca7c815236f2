// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own main, quitting as soon as the
// window has been painted once: what start-up costs, measured on the same
// window code the program links.
#include "appearance.h"
#include "mainform.h"
#include "startupprobe.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    nihilist::ApplyAppearance();
    nihilist::MainForm form;
    startup::QuitAfterFirstPaint(form);
    form.show();
    return QApplication::exec();
}
