// The program as a browser page: the same window, drawn on the page's
// canvas by Qt for WebAssembly.
#include "appearance.h"
#include "mainform.h"

#include <QApplication>
#include <QFontDatabase>
#include <emscripten/val.h>
#include <string>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // A page sees no installed fonts: the window's font comes inside the
    // program, and once added it is the one the appearance picks.
    QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/LiberationSerif-Regular.ttf"));
    nihilist::ApplyAppearance();

    static nihilist::MainForm form;
    // The canvas is the window's screen. Sized to the window, with the
    // window filling it, the page shows the window alone, without the title
    // bar Qt would draw around a smaller one.
    emscripten::val canvas = emscripten::val::global("document").call<emscripten::val>(
        "getElementById", std::string("qtcanvas"));
    if (!canvas.isNull()) {
        emscripten::val style = canvas["style"];
        style.set("width", std::to_string(form.width()) + "px");
        style.set("height", std::to_string(form.height()) + "px");
        // Tell Qt at once; its own watch on the canvas's size comes later.
        emscripten::val::module_property("qtResizeContainerElement")(canvas);
    }
    form.showFullScreen();
    return QApplication::exec();
}
