// SPDX-License-Identifier: GPL-3.0-or-later
// The one fixture of the window's tests: the real window, opened and active
// as a pupil finds it, its controls found by their object names, and what a
// pupil's keys and mouse do to it.
#pragma once

#include "appearance.h"
#include "mainform.h"

#include <QtTest>
#include <QtWidgets>

namespace nihilist {

class TestWindow : public MainForm {
public:
    TestWindow();
    // Waits until the window is active; false when it never becomes so.
    bool Open();

    // The named control; a test that names one the window lacks stops here.
    template <typename W = QWidget> W* Find(const QString& name) const { return Child<W>(*this, name); }
    QLineEdit* Box(int k) const { return Find<QLineEdit>(WidgetName("Text2", k)); }
    QListWidget* List(int k) const { return Find<QListWidget>(WidgetName("List1", k)); }
    // A list's rows joined by spaces.
    QString Items(int k) const;
    // The 25 cells row by row, an empty one as "_".
    QString Square() const;
    // The object name of the control with the focus; "-" when none has it.
    QString Focus() const;
    // Where keys go: the focused control, else the window.
    QWidget* Target();

    // One key press per character, as a keyboard reports it.
    static void Type(QWidget* target, const QString& text);
    void Click(const QString& name) { QTest::mouseClick(Find(name), Qt::LeftButton); }
    void ClickRow(int k, int row, Qt::KeyboardModifiers modifiers = {}, QTest::MouseAction click = QTest::MouseClick);
};

} // namespace nihilist

// A QtTest main() that sets the application up as the program does.
#define WINDOW_TEST_MAIN(TestClass)                                                                                    \
    int main(int argc, char* argv[])                                                                                   \
    {                                                                                                                  \
        QApplication app(argc, argv);                                                                                  \
        nihilist::ApplyAppearance();                                                                                   \
        TestClass test;                                                                                                \
        return QTest::qExec(&test, argc, argv);                                                                        \
    }
