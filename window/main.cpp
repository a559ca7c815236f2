// SPDX-License-Identifier: GPL-3.0-or-later
#include "appearance.h"
#include "mainform.h"

#include <QApplication>

namespace {

// On Windows the program is what a pupil sees, whatever the machine's
// environment says. Qt's plugins are built in, yet Qt would still scan the
// folders named by the plugin variables and load a platform plugin DLL
// found there; the others would start it without a window (platform), at
// another size (scale, font DPI), in another style or with logging rules
// read from elsewhere. The tests, which start no program, keep theirs.
void IgnoreQtEnvironment()
{
#ifdef Q_OS_WIN
    static const char* const ignored[] = {"QT_QPA_PLATFORM_PLUGIN_PATH", "QT_PLUGIN_PATH", "QT_QPA_PLATFORM",
        "QT_QPA_PLATFORMTHEME", "QT_QPA_GENERIC_PLUGINS", "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS",
        "QT_ENABLE_HIGHDPI_SCALING", "QT_SCALE_FACTOR_ROUNDING_POLICY", "QT_USE_PHYSICAL_DPI", "QT_FONT_DPI",
        "QT_STYLE_OVERRIDE", "QT_LOGGING_CONF"};
    for (const char* name : ignored)
        qunsetenv(name);
#endif
}

} // namespace

int main(int argc, char* argv[])
{
    IgnoreQtEnvironment();
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
