// SPDX-License-Identifier: GPL-3.0-or-later
#include "appearance.h"
#include "mainform.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    nihilist::ApplyAppearance();
    nihilist::MainForm form;
    form.show();
    return QApplication::exec();
}
