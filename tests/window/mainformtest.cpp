// SPDX-License-Identifier: GPL-3.0-or-later
// Drives the real window the way a pupil does: key clicks into the boxes,
// mouse clicks on the buttons and rows, Tab through the widgets. Positions
// and colours are checked against the figures of the drawn layout, written
// out here in pixels.
#include "formlayout.h"
#include "windowtest.h"

#include <algorithm>
#include <cmath>
#include <memory>

using nihilist::TestWindow;

class MainFormTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestWindow> form;

    bool Open()
    {
        form.reset();
        form = std::make_unique<TestWindow>();
        return form->Open();
    }
    void Type(int box, const QString& text)
    {
        form->Box(box)->selectAll();
        QTest::keyClick(form->Box(box), Qt::Key_Delete);
        TestWindow::Type(form->Box(box), text);
    }

private slots:
    void init() { QVERIFY(Open()); }
    void cleanup() { form.reset(); }

    // What it holds at start, every session's first line tells.
    void opensWithItsIconAndTitle()
    {
        QTRY_COMPARE(form->windowIcon().availableSizes().size(), 4);
        // The title bar names the program and its subject, nothing else.
        QCOMPARE(form->windowTitle(), form->Find<QLabel>("Label1_0")->text() + " – проект по информатика");
    }

    void boxesHoldTheirCharacterLimits()
    {
        for (auto [box, limit] : {std::pair {0, 10}, {1, 10}, {2, 40}}) {
            const QString alphabet = "ABCDEFGHIKLMNOPQRSTUVWXYZ";
            const QString typed = (alphabet + alphabet).left(limit + 5);

            Type(box, typed);
            QCOMPARE(form->Box(box)->text(), typed.left(limit));

            // Typing into the middle of a full box is refused, not pushed off its end.
            form->Box(box)->setCursorPosition(3);
            QTest::keyClick(form->Box(box), Qt::Key_X);
            QCOMPARE(form->Box(box)->text(), typed.left(limit));

            // A paste is cut to what still fits, after the text already there.
            Type(box, "AB");
            QApplication::clipboard()->setText(QString("xyz").repeated(100));
            QTest::keyClick(form->Box(box), Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(form->Box(box)->text(), ("AB" + QString("xyz").repeated(100)).left(limit));

            // Whatever is pasted, the box keeps the first code points that fit:
            // emoji take two UTF-16 units but count as one character each.
            for (const QString& pasted : {QString("😀👩‍👩‍👧𝐀𝔄Z").repeated(1000),
                     QString("A\u0301\u0323e\u0308Z\u20dd").repeated(1500),
                     QString("A\tB\x01C\x7f\u200bD\u202eE").repeated(800), QString("שָׁלוֹם مرحبا ABC ").repeated(600)}) {
                Type(box, "");
                QApplication::clipboard()->setText(pasted);
                QTest::keyClick(form->Box(box), Qt::Key_V, Qt::ControlModifier);
                QCOMPARE(form->Box(box)->text().toUcs4(), pasted.toUcs4().mid(0, limit));
            }

            // A paste's line breaks go as on the page: a space each, those at its end dropped.
            Type(box, "AB");
            form->Box(box)->setCursorPosition(1);
            QApplication::clipboard()->setText("c\r\nd\n\n");
            QTest::keyClick(form->Box(box), Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(form->Box(box)->text(), "Ac dB");
        }
    }

    // Undo and redo step as in a plain box with the same limit, also after
    // the box cut a paste, refused a letter or put a paste on one line.
    // Steps: "type T", "paste T" (T|P: the plain box gets P), or keys.
    void undoStepsAsInAPlainBox_data()
    {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("steps");
        QTest::newRow("typed past the limit") << 0 << "End;type ABCDE;Ctrl+Z;Ctrl+Shift+Z;Ctrl+Z";
        QTest::newRow("paste cut after typing")
            << 0 << "End;type AB;paste CDEFGH;Ctrl+Z;Ctrl+Z;Ctrl+Shift+Z;Ctrl+Shift+Z";
        QTest::newRow("emptied, then a long paste")
            << 0 << "Ctrl+A;Backspace;paste ABCDEFGHIKLMNOP;Ctrl+Z;Ctrl+Z;Ctrl+Y";
        QTest::newRow("paste on one line") << 2 << "Home;type x;paste a\r\nb\n|a b;Ctrl+Z;Ctrl+Z;Ctrl+Shift+Z";
    }
    void undoStepsAsInAPlainBox()
    {
        QFETCH(int, box);
        QFETCH(QString, steps);
        QLineEdit plain(form->Box(box)->text());
        plain.setMaxLength(static_cast<int>(nihilist::FormModel::MaxLength[box]));
        form->Box(box)->setFocus();
        for (const QString& step : steps.split(';')) {
            const QString text = step.section(' ', 1);
            for (QLineEdit* edit : {form->Box(box), &plain}) {
                if (step.startsWith("type ")) {
                    TestWindow::Type(edit, text);
                } else if (step.startsWith("paste ")) {
                    const QStringList both = text.split('|');
                    QApplication::clipboard()->setText(edit == &plain ? both.last() : both.first());
                    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
                } else {
                    const QKeyCombination key = QKeySequence(step)[0];
                    QTest::keyClick(edit, key.key(), key.keyboardModifiers());
                }
            }
            QCOMPARE(form->Box(box)->text(), plain.text());
        }
    }

    // A click on a row picks it in all four lists: the letter, its code, the
    // key's code and their sum. A double click (on Qt's side no more than
    // its second press) does the same; Alt with an arrow is the desktop's.
    void aClickedRowIsPickedInEveryList()
    {
        form->Click("Command1_0");
        for (int k = 0; k < nihilist::FormModel::ListCount; ++k) {
            // Qt would scroll a list alone to its current row; only the model scrolls them.
            QVERIFY(!form->List(k)->hasAutoScroll());
            for (const QTest::MouseAction click : {QTest::MouseClick, QTest::MouseDClick}) {
                const int row = 1 + k + 2 * (click == QTest::MouseDClick);
                form->ClickRow(k, row, {}, click);
                QTest::keyClick(form->List(k), Qt::Key_Down, Qt::AltModifier);
                QStringList rows;
                for (int other = 0; other < 4; ++other)
                    rows << QString::number(form->List(other)->row(form->List(other)->selectedItems().value(0)));
                QCOMPARE(rows.join(' '), QString("%1 %1 %1 %1").arg(row));
            }
        }
    }

    void tabWalksTheWidgetsInOrder()
    {
        const QStringList order {"Text2_0", "Text2_1", "Text2_2", "Command1_0", "Command1_1", "List1_0", "List1_1",
            "List1_2", "List1_3", "Text1_0"};
        for (const QString& next : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), next);
        }
    }

    void widgetsSitWhereTheLayoutPutsThem()
    {
        for (const nihilist::layout::Control& place : nihilist::layout::Controls())
            QCOMPARE(form->Find(QString::fromStdString(place.name))->geometry(), nihilist::TwipsToPixels(place.twips));
        // A few figures of the drawn layout, in pixels.
        QCOMPARE(form->Find("Label3_24")->geometry(), QRect(128, 144, 20, 20));
        QCOMPARE(form->Find("Command1_0")->geometry(), QRect(408, 120, 89, 33));
        QCOMPARE(form->Find("List1_3")->geometry(), QRect(176, 128, 49, 137));
    }

    void windowHasItsFixedSizeAndFont()
    {
        QCOMPARE(form->size(), QSize(504, 424));
        QCOMPARE(form->minimumSize(), form->maximumSize());
        QCOMPARE(QApplication::style()->name(), "fusion"); // the same look on every platform
        for (const char* name : {"Label1_1", "Text2_0", "List1_0", "Command1_0", "Text1_0"}) {
            const QFontInfo font(form->Find(name)->font());
            QVERIFY2(
                font.family() == "Times New Roman" || font.family() == "Liberation Serif", qPrintable(font.family()));
            QCOMPARE(form->Find(name)->font().pointSize(), 12);
        }
    }

    // Sampled from a grab of the whole window, as the pupil sees it.
    void coloursShowOnScreen()
    {
        const std::tuple<const char*, QPoint, QColor> samples[] = {{"MainForm", {2, 2}, {192, 192, 255}},
            {"Label1_1", {1, 1}, {255, 192, 128}}, {"Label4_0", {1, 1}, {128, 128, 255}},
            {"Label2_0", {1, 1}, {128, 128, 255}}, {"Label3_0", {1, 1}, {255, 128, 0}},
            // Each button left of its caption and in a corner of its face.
            {"Command1_0", {5, 16}, {0, 255, 0}}, {"Command1_0", {82, 27}, {0, 255, 0}},
            {"Command1_1", {5, 16}, {255, 0, 0}}, {"Command1_1", {82, 6}, {255, 0, 0}},
            // The frame left of the row numbers, below the square and between cells.
            {"Frame1", {4, 60}, {192, 192, 255}}, {"Frame1", {80, 169}, {192, 192, 255}},
            {"Frame1", {54, 58}, {192, 192, 255}}};
        const QImage window = form->grab().toImage();
        for (const auto& [widget, at, colour] : samples) {
            const QPoint inWindow = widget == QString("MainForm") ? at : form->Find(widget)->mapTo(form.get(), at);
            const QColor pixel = window.pixelColor(inWindow);
            const int off = std::max({std::abs(pixel.red() - colour.red()), std::abs(pixel.green() - colour.green()),
                std::abs(pixel.blue() - colour.blue())});
            QVERIFY2(off <= 3,
                qPrintable(QString("%1 %2,%3: %4")
                               .arg(widget)
                               .arg(at.x())
                               .arg(at.y())
                               .arg(pixel.name() + " not " + colour.name())));
        }
    }

    void buttonsLookRaisedSunkenAndFocused()
    {
        auto* button = form->Find<QPushButton>("Command1_1");
        const auto topLeft = [&] { return button->grab().toImage().pixelColor(0, 0); };
        // Dots of the focus mark along its top edge, inside the face.
        const auto focusDots = [&] {
            const QImage image = button->grab().toImage();
            int dots = 0;
            for (int x = 6; x < image.width() - 6; ++x)
                dots += image.pixelColor(x, 4) == QColor(Qt::black);
            return dots;
        };
        QCOMPARE(topLeft(), QColor(255, 255, 255));
        QCOMPARE(focusDots(), 0);

        QTest::mousePress(button, Qt::LeftButton);
        QCOMPARE(topLeft(), QColor(0, 0, 0));
        QTest::mouseRelease(button, Qt::LeftButton);
        QCOMPARE(topLeft(), QColor(255, 255, 255));

        button->setFocus(Qt::TabFocusReason);
        QVERIFY(focusDots() > 10);
    }

    void frameCaptionInterruptsTheBorder()
    {
        auto* frame = form->Find<QGroupBox>("Frame1");
        const QImage image = frame->grab().toImage();
        const int line = QFontMetrics(frame->font()).height() / 2;
        const QColor border(128, 128, 128);
        QCOMPARE(image.pixelColor(frame->width() - 10, line), border);
        QCOMPARE(image.pixelColor(2, line), border);
        // Under the caption the line gives way to the caption and its background.
        int borderPixels = 0;
        for (int x = 10; x < 10 + QFontMetrics(frame->font()).horizontalAdvance(frame->title()); ++x)
            borderPixels += image.pixelColor(x, line) == border;
        QCOMPARE(borderPixels, 0);
    }

    void enterAndReturnPressAFocusedButton()
    {
        auto* encrypt = form->Find<QPushButton>("Command1_0");
        QSignalSpy clicked(encrypt, &QPushButton::clicked);
        // Ctrl+Return does nothing; the others press the button.
        const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {{Qt::Key_Return, Qt::ControlModifier},
            {Qt::Key_Return, {}}, {Qt::Key_Enter, Qt::KeypadModifier}, {Qt::Key_Space, {}}};
        for (auto [key, modifiers] : keys) {
            encrypt->setFocus(Qt::TabFocusReason);
            clicked.clear();
            QTest::keyClick(encrypt, key, modifiers);
            const int clicks = modifiers & Qt::ControlModifier ? 0 : 1;
            QVERIFY2(clicked.count() == clicks && form->List(2)->count() == 20 * clicks,
                qPrintable(QKeySequence(key | modifiers).toString()));
        }
    }

    // Qt derives the names from the buddy labels and the button texts.
    void screenReaderNamesComeFromTheCaptions()
    {
        const std::tuple<const char*, const char*, QAccessible::Role> named[]
            = {{"Text1_0", "обяснение", QAccessible::EditableText},
                {"Text2_0", "ключова дума:", QAccessible::EditableText},
                {"Text2_1", "ключ за криптиране:", QAccessible::EditableText},
                {"Text2_2", "текст за криптиране:", QAccessible::EditableText},
                {"Command1_0", "Криптирай", QAccessible::Button}, {"Command1_1", "Чисти", QAccessible::Button},
                {"Frame1", "квадрат на Polybius", QAccessible::Grouping}, {"List1_0", "Код", QAccessible::List},
                {"List1_1", "Ключ", QAccessible::List}, {"List1_2", "Шифър", QAccessible::List},
                {"List1_3", "Буква", QAccessible::List}};
        for (auto [widget, name, role] : named) {
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(form->Find(widget));
            QVERIFY2(accessible && accessible->text(QAccessible::Name) == name && accessible->role() == role, widget);
        }
    }

    void squareCellsTellWhereTheyStand()
    {
        QAccessibleInterface* cell = QAccessible::queryAccessibleInterface(form->Find("Label3_7"));
        QCOMPARE(cell->text(QAccessible::Name), "H");
        QCOMPARE(cell->text(QAccessible::Description), "ред 2, колона 3");
        QCOMPARE(
            QAccessible::queryAccessibleInterface(form->Find("Label2_0"))->text(QAccessible::Description), "колона");
        QCOMPARE(QAccessible::queryAccessibleInterface(form->Find("Label2_5"))->text(QAccessible::Description), "ред");
    }

    void panesShowTheirTextsLineForLine()
    {
        for (auto [pane, file] : {std::pair {"Text1_0", ":/explanation.txt"}, {"Text1_1", ":/aphorism.txt"}}) {
            QFile stored(file);
            QVERIFY(stored.open(QIODevice::ReadOnly));
            const QStringList lines = QString(stored.readAll()).split("\r\n");
            auto* edit = form->Find<QPlainTextEdit>(pane);
            // Each CR LF is one line break, trailing spaces stay, nothing is joined.
            QCOMPARE(edit->toPlainText().split('\n'), lines);
            QCOMPARE(edit->document()->blockCount(), lines.size());

            // No line needs a soft wrap: each fits the width the text has in the pane.
            edit->show();
            QCoreApplication::processEvents(); // the pane lays out its scroll bars once shown
            const int width = edit->viewport()->width() - 2 * qCeil(edit->document()->documentMargin());
            const QFontMetrics metrics(edit->font());
            for (const QString& line : lines)
                QVERIFY2(metrics.horizontalAdvance(line) <= width, qPrintable(QString("%1 px: ").arg(width) + line));
            QVERIFY(!edit->horizontalScrollBar()->isVisible());
            // Too narrow a pane scrolls sideways; it never breaks the lines anew.
            edit->resize(edit->width() / 2, edit->height());
            QTRY_VERIFY(edit->horizontalScrollBar()->isVisible());
        }
    }

    void pickedRowShowsInEveryListWhateverHasTheFocus()
    {
        // Windows' theme draws a selection without focus in the button face
        // colour; the lists must not take that over.
        const QPalette saved = QApplication::palette();
        QPalette windowsLike = saved;
        windowsLike.setColor(QPalette::Inactive, QPalette::Highlight, QColor(0xF0, 0xF0, 0xF0));
        windowsLike.setColor(QPalette::Inactive, QPalette::HighlightedText, Qt::black);
        QApplication::setPalette(windowsLike);
        const auto restore = qScopeGuard([&saved] { QApplication::setPalette(saved); });
        QVERIFY(Open());

        form->Click("Command1_0");
        const int row = 4;
        form->ClickRow(3, row);
        form->Box(0)->setFocus();
        QTRY_VERIFY(form->Box(0)->hasFocus());
        const QImage window = form->grab().toImage();
        for (int k = 0; k < nihilist::FormModel::ListCount; ++k) {
            const QColor highlight = form->List(k)->palette().color(QPalette::Active, QPalette::Highlight);
            const QRect cell = form->List(k)->visualItemRect(form->List(k)->item(row));
            int lit = 0;
            for (int y = cell.top(); y <= cell.bottom(); ++y)
                for (int x = cell.left(); x <= cell.right(); ++x)
                    lit += window.pixelColor(form->List(k)->viewport()->mapTo(form.get(), QPoint(x, y))) == highlight;
            QVERIFY2(lit > cell.width() * cell.height() / 2, qPrintable(form->List(k)->objectName()));
        }
        // Readable as WCAG asks of text (4.5:1): the row's colour against its
        // most distinct pixel, the core of a letter, which is drawn as in a
        // list with the focus.
        QListWidget* list = form->List(2);
        const QRect cell
            = list->visualItemRect(list->item(row)).translated(list->viewport()->mapTo(form.get(), QPoint()));
        const auto contrast = [back = window.pixelColor(cell.topLeft())](QColor c) {
            return nihilist::layout::Contrast(nihilist::ToRgb(c), nihilist::ToRgb(back));
        };
        QColor core = window.pixelColor(cell.topLeft());
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                core = contrast(window.pixelColor(x, y)) > contrast(core) ? window.pixelColor(x, y) : core;
        QVERIFY2(contrast(core) >= 4.5, qPrintable(QString::number(contrast(core))));
        QCOMPARE(core, list->palette().color(QPalette::Active, QPalette::HighlightedText));
    }

    void qtsOwnTextsAreBulgarian()
    {
        const std::unique_ptr<QMenu> boxMenu(form->Box(2)->createStandardContextMenu());
        const std::unique_ptr<QMenu> paneMenu(form->Find<QPlainTextEdit>("Text1_0")->createStandardContextMenu());
        for (QMenu* menu : {boxMenu.get(), paneMenu.get()}) {
            QVERIFY(!menu->actions().isEmpty());
            for (const QAction* action : menu->actions()) {
                const QString text = action->text();
                const auto cyrillic = [](QChar c) { return c.script() == QChar::Script_Cyrillic; };
                QVERIFY2(action->isSeparator() || std::any_of(text.begin(), text.end(), cyrillic), qPrintable(text));
            }
        }
    }

    // An empty list marks where its first row would be when it has the
    // focus; a list with rows but none picked draws its rows as they were.
    void focusMarkShowsOnlyOnAnEmptyList_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("marked");
        QTest::newRow("empty") << "Command1_1" << true;
        QTest::newRow("rows, none picked") << "Command1_0" << false;
    }
    void focusMarkShowsOnlyOnAnEmptyList()
    {
        QFETCH(QString, command);
        QFETCH(bool, marked);
        form->Click(command);
        QWidget* rows = form->List(0)->viewport();
        const QImage before = rows->grab().toImage();
        form->List(0)->setFocus(Qt::MouseFocusReason);
        QTRY_VERIFY(form->List(0)->hasFocus());
        QCOMPARE(rows->grab().toImage() != before, marked);
    }

    void explanationScrollsByKeyboard()
    {
        auto* explanation = form->Find<QPlainTextEdit>("Text1_0");
        QCOMPARE(explanation->verticalScrollBar()->value(), 0);
        QTest::keyClick(explanation, Qt::Key_PageDown);
        QVERIFY(explanation->verticalScrollBar()->value() > 0);
    }
};

WINDOW_TEST_MAIN(MainFormTest)

#include "mainformtest.moc"
