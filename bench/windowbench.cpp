// SPDX-License-Identifier: GPL-3.0-or-later
// How long the Encrypt button takes in the real window: put the inputs into
// the three boxes, click the button, and stop once the four lists hold their
// rows (the click fills them before it returns). The press also repaints the
// button at once, and with it whatever the previous click left to paint.
// A second family then runs the event loop until the lists are drawn: they
// lay out their new rows from a zero timer, so only the loop shows the pupil
// the table, and that is the figure a pupil waits for.
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include "appearance.h"
#include "mainform.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <array>

namespace {

struct Inputs {
    const char* name;
    std::array<QString, 3> boxes;
    int rows; // letters of the text once reduced to A-Z
};

const std::array<Inputs, 2> Cases {{
    {"StoredExample", {"ZEBRAS", "RUSSIAN", "DYNAMITE WINTER PALACE"}, 20},
    {"FortyLetters", {"TRAMPOLINE", "BULGARIANS", "THEQUICKBROWNFOXJUMPSOVERTHELAZYDOGAGAIN"}, 40},
}};

// Counts the paints a widget receives, so the repainting benchmark can tell
// that the lists were really drawn and not merely scheduled.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

struct Window {
    nihilist::MainForm form;
    std::array<QLineEdit*, 3> boxes {};
    std::array<QListWidget*, 4> lists {};
    QPushButton* encrypt = nullptr;
    PaintCounter listPaints;

    Window()
    {
        for (int k = 0; k < 3; ++k)
            boxes[k] = nihilist::Numbered<QLineEdit>(form, "Text2", k);
        for (int k = 0; k < 4; ++k)
            lists[k] = nihilist::Numbered<QListWidget>(form, "List1", k);
        encrypt = nihilist::Numbered<QPushButton>(form, "Command1", 0);
        lists[0]->viewport()->installEventFilter(&listPaints);
    }

    void Click(const Inputs& inputs)
    {
        for (int k = 0; k < 3; ++k)
            boxes[k]->setText(inputs.boxes[k]);
        QTest::mouseClick(encrypt, Qt::LeftButton);
    }

    bool Filled(const Inputs& inputs) const
    {
        return std::all_of(lists.begin(), lists.end(), [&](QListWidget* l) { return l->count() == inputs.rows; });
    }
};

Window* window = nullptr;

// With paint, the event loop runs after each click until the lists are drawn.
void Encrypt(benchmark::State& state, const Inputs* inputs, bool paint)
{
    // One click before timing, so every timed click replaces a full table.
    window->Click(*inputs);
    QCoreApplication::processEvents();
    for (auto _ : state) {
        window->Click(*inputs);
        // Counted after the click: pressing the button repaints at once, and
        // that paint does not show the new rows yet.
        const int before = window->listPaints.paints;
        // The repaint comes from the event loop; with no idle time asked for
        // (see main) it is due at once, so this waits for work, not a frame.
        for (int spins = 0; paint && window->listPaints.paints == before; ++spins) {
            if (spins == 10000) {
                state.SkipWithError("the lists were never repainted");
                return;
            }
            QCoreApplication::processEvents();
        }
        // Whatever the paint left queued is still this click's work.
        if (paint)
            QCoreApplication::processEvents();
        if (!window->Filled(*inputs)) {
            state.SkipWithError("the lists do not hold one row per letter");
            return;
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * inputs->rows));
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A window repaints at most every few milliseconds by default, to leave
    // the event loop idle time; that pause is not work and would swamp the
    // figure.
    if (qEnvironmentVariableIsEmpty("QT_QPA_UPDATE_IDLE_TIME"))
        qputenv("QT_QPA_UPDATE_IDLE_TIME", "0");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    QApplication app(argc, argv);
    nihilist::ApplyAppearance();
    Window shown;
    shown.form.show();
    if (!QTest::qWaitForWindowExposed(&shown.form)) {
        qCritical("the window was never shown");
        return 1;
    }
    window = &shown;

    for (const Inputs& inputs : Cases) {
        for (bool paint : {false, true})
            benchmark::RegisterBenchmark(
                (std::string(paint ? "EncryptAndPaint/" : "Encrypt/") + inputs.name).c_str(), Encrypt, &inputs, paint)
                ->Unit(benchmark::kMicrosecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    window = nullptr;
    return 0;
}
