// SPDX-License-Identifier: GPL-3.0-or-later
// The program as a browser page: the same window, drawn on the page's
// canvas by Qt for WebAssembly.
#include "appearance.h"
#include "mainform.h"

#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QFontDatabase>
#include <emscripten.h>
#include <emscripten/val.h>
#include <string>

namespace {

// Marks the page (body's data-drawn, in milliseconds since the page began
// to load) once the window's first paint has reached the canvas, for those
// who wait for the window: the page's test and its load-time figure. Qt
// copies a painted window to the canvas in the next animation frame; the
// mark is set right after that frame's callbacks have run.
class FirstPaintMark : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            EM_ASM({
                requestAnimationFrame(function() {
                    setTimeout(function() { document.body.dataset.drawn = performance.now().toFixed(1); }, 0);
                });
            });
        }
        return false;
    }
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // A page sees no installed fonts: the window's font comes inside the
    // program, and once added it is the one the appearance picks.
    QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/LiberationSerif-Regular.ttf"));
    nihilist::ApplyAppearance();
    // Without a font configuration Qt draws glyphs unhinted; a Linux desktop
    // hints them slightly, vertically only. Do the same, so that the text
    // stands on the same pixels as in the desktop window.
    QFont font = QApplication::font();
    font.setHintingPreference(QFont::PreferVerticalHinting);
    QApplication::setFont(font);

    nihilist::MainForm form;
    FirstPaintMark mark;
    form.installEventFilter(&mark);
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
    // In a page exec() hands control back to the browser without unwinding
    // main, so the window and the application stay alive.
    return QApplication::exec();
}
