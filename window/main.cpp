// SPDX-License-Identifier: GPL-3.0-or-later
#include "appearance.h"
#include "mainform.h"

#include <QApplication>

namespace {

// The Windows program has Qt and the plugins it needs built in, and Qt there
// ignores QT_PLUGIN_PATH; but it would still scan the folder named by
// QT_QPA_PLATFORM_PLUGIN_PATH, and load a platform plugin DLL found there.
// No DLL from outside the program may come in, so neither variable may
// reach QApplication.
void KeepPluginsBuiltIn()
{
#ifdef Q_OS_WIN
    qunsetenv("QT_QPA_PLATFORM_PLUGIN_PATH");
    qunsetenv("QT_PLUGIN_PATH");
#endif
}

} // namespace

int main(int argc, char* argv[])
{
    KeepPluginsBuiltIn();
    // The program takes no command line. Qt's own options (-stylesheet,
    // -reverse, -platform, -style...) would let a shortcut restyle the window
    // or load files, so Qt sees the program's name alone.
    int nameOnly = argc > 0 ? 1 : 0;
    QApplication app(nameOnly, argv);
    nihilist::ApplyAppearance();
    nihilist::MainForm form;
    form.show();
    return QApplication::exec();
}
