// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own main, with marks along the way, quitting as soon as the
// window has been painted once: what start-up costs, measured on the same
// window code the program links.
#include "appearance.h"
#include "mainform.h"
#include "startupprobe.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    startup::Mark("main");
    QApplication app(argc, argv);
    startup::Mark("application");
    nihilist::ApplyAppearance();
    startup::Mark("appearance");
    nihilist::MainForm form;
    startup::Mark("window");
    startup::QuitAfterFirstPaint(form);
    form.show();
    startup::Mark("shown");
    return QApplication::exec();
}
