// SPDX-License-Identifier: GPL-3.0-or-later
// Drives the real window the way a pupil does: key clicks into the boxes,
// mouse clicks on the buttons and rows, Tab through the widgets. Positions
// and colours are checked against the figures of the drawn layout, written
// out here in pixels.
#include "appearance.h"
#include "mainform.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QFile>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>
#include <QtMath>

#include <algorithm>
#include <memory>

using nihilist::MainForm;

class MainFormTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<MainForm> form;

    template <typename W = QWidget> W* Find(const QString& name)
    {
        auto* widget = form->findChild<W*>(name);
        if (!widget)
            qFatal("no widget %s", qPrintable(name));
        return widget;
    }
    QLineEdit* Box(int k) { return Find<QLineEdit>(QStringLiteral("Text2_%1").arg(k)); }
    QListWidget* List(int k) { return Find<QListWidget>(QStringLiteral("List1_%1").arg(k)); }

    QStringList Items(int k)
    {
        QStringList items;
        for (int row = 0; row < List(k)->count(); ++row)
            items << List(k)->item(row)->text();
        return items;
    }
    QString Square()
    {
        QString rows;
        for (int i = 0; i < 25; ++i)
            rows += (i > 0 && i % 5 == 0 ? "/" : "") + Find<QLabel>(QStringLiteral("Label3_%1").arg(i))->text();
        return rows;
    }
    void Type(int box, const QString& text)
    {
        Box(box)->selectAll();
        QTest::keyClick(Box(box), Qt::Key_Delete);
        // One key press per character, Cyrillic and emoji included.
        for (char32_t c : text.toUcs4())
            QTest::sendKeyEvent(QTest::Click, Box(box), Qt::Key_unknown, QString::fromUcs4(&c, 1), Qt::NoModifier);
    }
    void Click(const QString& button) { QTest::mouseClick(Find(button), Qt::LeftButton); }
    QColor PixelAt(const QString& name, QPoint at)
    {
        return Find(name)->grab().toImage().pixelColor(at);
    }

private slots:
    void init()
    {
        form = std::make_unique<MainForm>();
        form->show();
        QApplication::setActiveWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
    void cleanup() { form.reset(); }

    void opensWithTheExampleAndThePlainSquare()
    {
        QCOMPARE(Box(0)->text(), "ZEBRAS");
        QCOMPARE(Box(1)->text(), "RUSSIAN");
        QCOMPARE(Box(2)->text(), "DYNAMITE WINTER PALACE");
        QCOMPARE(Square(), "ABCDE/FGHIK/LMNOP/QRSTU/VWXYZ");
        for (int k = 0; k < 4; ++k)
            QCOMPARE(List(k)->count(), 0);
        QCOMPARE(QApplication::focusWidget(), Find("Text1_0"));
        QTRY_COMPARE(form->windowIcon().availableSizes().size(), 4);
        // The title bar names the program and its subject, nothing else.
        QCOMPARE(form->windowTitle(), Find<QLabel>("Label1_0")->text() + " – проект по информатика");
    }

    void encryptShowsTheExampleTable()
    {
        Click("Command1_0");
        QCOMPARE(Box(2)->text(), "DYNAMITEWINTERPALACE");
        QCOMPARE(Square(), "ZEBRA/SCDFG/HIKLM/NOPQT/UVWXY");
        QCOMPARE(Items(3).join(' '), "D Y N A M I T E W I N T E R P A L A C E");
        QCOMPARE(Items(0).join(' '), "23 55 41 15 35 32 45 12 53 32 41 45 12 14 43 15 34 15 22 12");
        QCOMPARE(Items(1).join(' '), "14 51 21 21 32 15 41 14 51 21 21 32 15 41 14 51 21 21 32 15");
        QCOMPARE(Items(2).join(' '), "37 106 62 36 67 47 86 26 104 53 62 77 27 55 57 66 55 36 54 27");

        Click("Command1_0");
        QCOMPARE(Items(2).size(), 20);
        QCOMPARE(Square(), "ZEBRA/SCDFG/HIKLM/NOPQT/UVWXY");
    }

    void typedInputIsPreparedBeforeEncrypting_data()
    {
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("boxesAfter");
        QTest::addColumn<QString>("square");
        QTest::addColumn<QString>("cipher");

        QTest::newRow("lower case and punctuation")
            << "zebra-s" << "russian 2" << "Jack" << QStringList{"ZEBRAS", "RUSSIAN", "IACK"}
            << "ZEBRA/SCDFG/HIKLM/NOPQT/UVWXY" << "46 66 43 54";
        QTest::newRow("repeated letter refused")
            << "ZEBRAZ" << "russian" << "a b" << QStringList{"", "RUSSIAN", "A B"}
            << "ABCDE/FGHIK/LMNOP/QRSTU/VWXYZ" << "";
        QTest::newRow("I with J refused") << "jim" << "k" << "t" << QStringList{"", "K", "T"}
                                          << "ABCDE/FGHIK/LMNOP/QRSTU/VWXYZ" << "";
        QTest::newRow("Cyrillic upper-cased, then dropped")
            << "жЖ" << "ключ" << "текст" << QStringList{"", "КЛЮЧ", "ТЕКСТ"} << "ABCDE/FGHIK/LMNOP/QRSTU/VWXYZ" << "";
        QTest::newRow("empty key gives no rows")
            << "jam" << "" << "text" << QStringList{"IAM", "", "TEXT"} << "IAMBC/DEFGH/KLNOP/QRSTU/VWXYZ" << "";
    }
    void typedInputIsPreparedBeforeEncrypting()
    {
        QFETCH(QString, keyword);
        QFETCH(QString, key);
        QFETCH(QString, text);
        QFETCH(QStringList, boxesAfter);
        QFETCH(QString, square);
        QFETCH(QString, cipher);

        Type(0, keyword);
        Type(1, key);
        Type(2, text);
        QCOMPARE(Box(0)->text(), keyword);
        Click("Command1_0");
        QCOMPARE((QStringList{Box(0)->text(), Box(1)->text(), Box(2)->text()}), boxesAfter);
        QCOMPARE(Square(), square);
        QCOMPARE(Items(2).join(' '), cipher);
        for (int k = 0; k < 4; ++k)
            QCOMPARE(List(k)->count(), Items(2).size());
    }

    void clearEmptiesEverything()
    {
        Click("Command1_0");
        Click("Command1_1");
        for (int k = 0; k < 3; ++k)
            QCOMPARE(Box(k)->text(), QString());
        for (int k = 0; k < 4; ++k)
            QCOMPARE(List(k)->count(), 0);
        QCOMPARE(Square(), "ABCDE/FGHIK/LMNOP/QRSTU/VWXYZ");

        Click("Command1_0");
        QCOMPARE(List(0)->count(), 0);
        QCOMPARE(Square(), "ABCDE/FGHIK/LMNOP/QRSTU/VWXYZ");
    }

    void boxesHoldTheirCharacterLimits_data()
    {
        QTest::addColumn<int>("box");
        QTest::addColumn<int>("limit");
        QTest::newRow("keyword") << 0 << 10;
        QTest::newRow("key") << 1 << 10;
        QTest::newRow("text") << 2 << 40;
    }
    void boxesHoldTheirCharacterLimits()
    {
        QFETCH(int, box);
        QFETCH(int, limit);
        const QString alphabet = "ABCDEFGHIKLMNOPQRSTUVWXYZ";
        const QString typed = (alphabet + alphabet).left(limit + 5);

        Type(box, typed);
        QCOMPARE(Box(box)->text(), typed.left(limit));

        // A paste is cut to what still fits, after the text already there.
        Type(box, "AB");
        QApplication::clipboard()->setText(QString("xyz").repeated(100));
        QTest::keyClick(Box(box), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Box(box)->text(), ("AB" + QString("xyz").repeated(100)).left(limit));

        // Emoji take two UTF-16 units but count as one character each.
        Type(box, "");
        QApplication::clipboard()->setText(QString::fromUtf8("😀").repeated(limit + 3));
        QTest::keyClick(Box(box), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Box(box)->text().toUcs4().size(), limit);
    }

    void hostilePastesNeitherHangNorBreakTheTable_data()
    {
        QTest::addColumn<QString>("pasted");
        const auto fromUtf8 = [](const char* text) { return QString::fromUtf8(text); };
        QTest::newRow("ten thousand letters") << QString("abcdefghij").repeated(1000);
        QTest::newRow("control characters") << QString("A\tB\x01C\x7f\u200bD\u202eE").repeated(800);
        QTest::newRow("right to left") << fromUtf8("שָׁלוֹם مرحبا ABC ").repeated(600);
        QTest::newRow("emoji and astral letters") << fromUtf8("😀👩‍👩‍👧𝐀𝔄Z").repeated(1000);
        QTest::newRow("combining marks") << fromUtf8("A\u0301\u0323e\u0308Z\u20dd").repeated(1500);
        QTest::newRow("mixed scripts") << fromUtf8("Zебра ZΕΒΡΑ zebra ゼブラ ").repeated(500);
    }
    void hostilePastesNeitherHangNorBreakTheTable()
    {
        QFETCH(QString, pasted);
        const std::array<int, 3> limits{10, 10, 40};
        QApplication::clipboard()->setText(pasted);
        for (int box = 0; box < 3; ++box) {
            Type(box, "");
            QTest::keyClick(Box(box), Qt::Key_V, Qt::ControlModifier);
            QVERIFY(Box(box)->text().toUcs4().size() <= limits[box]);
            QCOMPARE(Box(box)->text().toUcs4(), pasted.toUcs4().mid(0, limits[box]));
        }
        Click("Command1_0");
        const int rows = List(0)->count();
        for (int k = 1; k < 4; ++k)
            QCOMPARE(List(k)->count(), rows);
        // Either the keyword was refused and there is no table, or every row
        // is a letter of the reduced text with a code from the square.
        const QString text = Box(2)->text();
        QVERIFY(rows == 0 || rows == text.size());
        if (rows == 0 && !text.isEmpty() && !Box(1)->text().isEmpty())
            QVERIFY2(Box(0)->text().isEmpty(), "a table may only be missing after a refused keyword");
        for (int row = 0; row < rows; ++row) {
            QCOMPARE(List(3)->item(row)->text(), text.mid(row, 1));
            const int code = List(0)->item(row)->text().toInt();
            const int cell = (code / 10 - 1) * 5 + code % 10 - 1;
            QCOMPARE(Find<QLabel>(QStringLiteral("Label3_%1").arg(cell))->text(), text.mid(row, 1));
            QCOMPARE(List(2)->item(row)->text().toInt(), code + List(1)->item(row)->text().toInt());
        }
    }

    void scrollingOneListScrollsAll()
    {
        Click("Command1_0");
        QCoreApplication::processEvents(); // let the lists lay out their rows
        List(2)->verticalScrollBar()->setValue(7);
        for (int k = 0; k < 4; ++k)
            QCOMPARE(List(k)->verticalScrollBar()->value(), 7);
    }

    void tabWalksTheWidgetsInOrder()
    {
        const QStringList order{"Text2_0", "Text2_1", "Text2_2", "Command1_0", "Command1_1", "List1_0", "List1_1",
            "List1_2", "List1_3", "Text1_0"};
        for (const QString& next : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), next);
        }
    }

    void widgetsSitWhereTheLayoutPutsThem_data()
    {
        QTest::addColumn<QString>("widget");
        QTest::addColumn<QRect>("pixels");
        QTest::newRow("explanation") << "Text1_0" << QRect(8, 280, 489, 137);
        QTest::newRow("title") << "Label1_0" << QRect(88, 0, 305, 25);
        QTest::newRow("keyword box") << "Text2_0" << QRect(112, 32, 113, 27);
        QTest::newRow("text box") << "Text2_2" << QRect(160, 64, 337, 27);
        QTest::newRow("frame") << "Frame1" << QRect(8, 96, 161, 177);
        QTest::newRow("column 5 number") << "Label2_4" << QRect(128, 24, 20, 20);
        QTest::newRow("row 1 number") << "Label2_5" << QRect(8, 48, 20, 20);
        QTest::newRow("first cell") << "Label3_0" << QRect(32, 48, 20, 20);
        QTest::newRow("middle cell") << "Label3_12" << QRect(80, 96, 20, 20);
        QTest::newRow("last cell") << "Label3_24" << QRect(128, 144, 20, 20);
        QTest::newRow("encrypt") << "Command1_0" << QRect(408, 120, 89, 33);
        QTest::newRow("clear") << "Command1_1" << QRect(408, 232, 89, 33);
        QTest::newRow("letter list") << "List1_3" << QRect(176, 128, 49, 137);
        QTest::newRow("cipher header") << "Label4_2" << QRect(344, 104, 49, 25);
    }
    void widgetsSitWhereTheLayoutPutsThem()
    {
        QFETCH(QString, widget);
        QFETCH(QRect, pixels);
        QCOMPARE(Find(widget)->geometry(), pixels);
    }

    void windowHasItsFixedSizeAndFont()
    {
        QCOMPARE(form->size(), QSize(504, 424));
        QCOMPARE(form->minimumSize(), form->maximumSize());
        for (const char* name : {"Label1_1", "Text2_0", "List1_0", "Command1_0", "Text1_0"}) {
            const QFontInfo font(Find(name)->font());
            QVERIFY2(font.family() == "Times New Roman" || font.family() == "Liberation Serif", qPrintable(font.family()));
            QCOMPARE(Find(name)->font().pointSize(), 12);
        }
    }

    void coloursShowOnScreen_data()
    {
        QTest::addColumn<QString>("widget");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("window") << "MainForm" << QPoint(2, 2) << QColor(192, 192, 255);
        QTest::newRow("caption") << "Label1_1" << QPoint(1, 1) << QColor(255, 192, 128);
        QTest::newRow("list header") << "Label4_0" << QPoint(1, 1) << QColor(128, 128, 255);
        QTest::newRow("number") << "Label2_0" << QPoint(1, 1) << QColor(128, 128, 255);
        QTest::newRow("cell") << "Label3_0" << QPoint(1, 1) << QColor(255, 128, 0);
    }
    void coloursShowOnScreen()
    {
        QFETCH(QString, widget);
        QFETCH(QPoint, at);
        QFETCH(QColor, colour);
        const QColor pixel = widget == "MainForm" ? form->grab().toImage().pixelColor(at) : PixelAt(widget, at);
        QCOMPARE(pixel, colour);
    }

    // Sampled from a grab of the whole window, as the pupil sees it.
    void facesShowTheirExactColours_data()
    {
        QTest::addColumn<QString>("widget");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("encrypt, left of the caption") << "Command1_0" << QPoint(5, 16) << QColor(0, 255, 0);
        QTest::newRow("encrypt, lower right") << "Command1_0" << QPoint(82, 27) << QColor(0, 255, 0);
        QTest::newRow("clear, left of the caption") << "Command1_1" << QPoint(5, 16) << QColor(255, 0, 0);
        QTest::newRow("clear, upper right") << "Command1_1" << QPoint(82, 6) << QColor(255, 0, 0);
        QTest::newRow("frame, left of the row numbers") << "Frame1" << QPoint(4, 60) << QColor(192, 192, 255);
        QTest::newRow("frame, below the square") << "Frame1" << QPoint(80, 169) << QColor(192, 192, 255);
        QTest::newRow("frame, between cells") << "Frame1" << QPoint(54, 58) << QColor(192, 192, 255);
    }
    void facesShowTheirExactColours()
    {
        QFETCH(QString, widget);
        QFETCH(QPoint, at);
        QFETCH(QColor, colour);
        const QPoint inWindow = Find(widget)->mapTo(form.get(), at);
        const QColor pixel = form->grab().toImage().pixelColor(inWindow);
        const int off = std::max({std::abs(pixel.red() - colour.red()), std::abs(pixel.green() - colour.green()),
            std::abs(pixel.blue() - colour.blue())});
        QVERIFY2(off <= 3, qPrintable(pixel.name() + " instead of " + colour.name()));
    }

    void buttonsLookRaisedSunkenAndFocused()
    {
        auto* button = Find<QPushButton>("Command1_1");
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
        auto* frame = Find<QGroupBox>("Frame1");
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

    void enterAndReturnPressAFocusedButton_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<int>("clicks");
        QTest::newRow("Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers() << 1;
        QTest::newRow("Enter on the keypad") << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier) << 1;
        QTest::newRow("Space") << int(Qt::Key_Space) << Qt::KeyboardModifiers() << 1;
        QTest::newRow("Ctrl+Return does nothing")
            << int(Qt::Key_Return) << Qt::KeyboardModifiers(Qt::ControlModifier) << 0;
    }
    void enterAndReturnPressAFocusedButton()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(int, clicks);
        auto* encrypt = Find<QPushButton>("Command1_0");
        encrypt->setFocus(Qt::TabFocusReason);
        QSignalSpy clicked(encrypt, &QPushButton::clicked);
        QTest::keyClick(encrypt, Qt::Key(key), modifiers);
        QCOMPARE(clicked.count(), clicks);
        QCOMPARE(List(2)->count(), clicks == 1 ? 20 : 0);
    }

    void screenReaderNamesComeFromTheCaptions_data()
    {
        QTest::addColumn<QString>("widget");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("role");
        QTest::newRow("keyword") << "Text2_0" << "ключова дума:" << int(QAccessible::EditableText);
        QTest::newRow("key") << "Text2_1" << "ключ за криптиране:" << int(QAccessible::EditableText);
        QTest::newRow("text") << "Text2_2" << "текст за криптиране:" << int(QAccessible::EditableText);
        QTest::newRow("encrypt") << "Command1_0" << "Криптирай" << int(QAccessible::Button);
        QTest::newRow("clear") << "Command1_1" << "Чисти" << int(QAccessible::Button);
        QTest::newRow("square") << "Frame1" << "квадрат на Polybius" << int(QAccessible::Grouping);
        QTest::newRow("codes") << "List1_0" << "Код" << int(QAccessible::List);
        QTest::newRow("key codes") << "List1_1" << "Ключ" << int(QAccessible::List);
        QTest::newRow("cipher") << "List1_2" << "Шифър" << int(QAccessible::List);
        QTest::newRow("letters") << "List1_3" << "Буква" << int(QAccessible::List);
    }
    void screenReaderNamesComeFromTheCaptions()
    {
        QFETCH(QString, widget);
        QFETCH(QString, name);
        QFETCH(int, role);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(Find(widget));
        QVERIFY(accessible);
        QCOMPARE(accessible->text(QAccessible::Name), name);
        QCOMPARE(int(accessible->role()), role);
    }

    void squareCellsTellWhereTheyStand()
    {
        QAccessibleInterface* cell = QAccessible::queryAccessibleInterface(Find("Label3_7"));
        QCOMPARE(cell->text(QAccessible::Name), "H");
        QCOMPARE(cell->text(QAccessible::Description), "ред 2, колона 3");
    }

    void captionsAndPanes()
    {
        QCOMPARE(Find<QGroupBox>("Frame1")->title(), "квадрат на Polybius");
        QCOMPARE(Find<QLabel>("Label1_1")->text(), "ключова дума:");
        QCOMPARE(Find<QLabel>("Label4_3")->text(), "Буква");
        QCOMPARE(Find<QLabel>("Label2_7")->text(), "3");
        QVERIFY(Find<QLabel>("Label3_0")->alignment() & Qt::AlignHCenter);

        auto* explanation = Find<QPlainTextEdit>("Text1_0");
        QVERIFY(explanation->isReadOnly());
        const QString text = explanation->toPlainText();
        QVERIFY(text.startsWith("Криптирането"));
        QVERIFY(text.indexOf("(Polybius square)") < text.indexOf("(25=5*5)"));
        QVERIFY2(!text.contains('"'), "Bulgarian quotation marks: „…“");
        // The theme is the window's title, on a line of its own.
        QVERIFY(text.split('\n').contains("Тема на проекта: " + Find<QLabel>("Label1_0")->text()));
        QVERIFY(Find<QPlainTextEdit>("Text1_1")->isHidden());
    }

    void panesShowTheirTextsLineForLine_data()
    {
        QTest::addColumn<QString>("pane");
        QTest::addColumn<QString>("file");
        QTest::newRow("explanation") << "Text1_0" << ":/explanation.txt";
        QTest::newRow("aphorism") << "Text1_1" << ":/aphorism.txt";
    }
    void panesShowTheirTextsLineForLine()
    {
        QFETCH(QString, pane);
        QFETCH(QString, file);
        QFile stored(file);
        QVERIFY(stored.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(stored.readAll()).split("\r\n");
        auto* edit = Find<QPlainTextEdit>(pane);
        // Each CR LF is one line break, trailing spaces stay, nothing is joined.
        QCOMPARE(edit->toPlainText().split('\n'), lines);
        QCOMPARE(edit->document()->blockCount(), lines.size());

        // No line needs a soft wrap: each fits the width the text has in the pane.
        edit->show();
        QCoreApplication::processEvents();
        const int width = edit->viewport()->width() - 2 * qCeil(edit->document()->documentMargin());
        const QFontMetrics metrics(edit->font());
        for (const QString& line : lines)
            QVERIFY2(metrics.horizontalAdvance(line) <= width,
                qPrintable(QString("%1 px > %2 px: %3").arg(metrics.horizontalAdvance(line)).arg(width).arg(line)));
        QVERIFY(!edit->horizontalScrollBar()->isVisible());
    }

    void storedTextsKeepTheirHandBrokenLines()
    {
        QFile file(":/explanation.txt");
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        QVERIFY(text.endsWith("\r\n"));
        const QStringList lines = text.chopped(2).split("\r\n");
        QCOMPARE(lines.size(), 44);
        for (const QString& line : lines) {
            QVERIFY2(line.toUcs4().size() <= 71, qPrintable(line));
            QVERIFY2(!line.contains('\n') && !line.contains('\r'), qPrintable(line));
        }
        QVERIFY(text.size() > 2300 && text.size() < 2500);

        QFile aphorism(":/aphorism.txt");
        QVERIFY(aphorism.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(aphorism.readAll()),
            "Неприятното в това да си първият, направил нещо по \r\nправилния начин, е, че никой не оценява колко "
            "трудно е \r\nбило. \r\n");
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
        form = std::make_unique<MainForm>();
        form->show();
        QApplication::setActiveWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));

        Click("Command1_0");
        const int row = 4;
        QTest::mouseClick(List(3)->viewport(), Qt::LeftButton, {}, List(3)->visualItemRect(List(3)->item(row)).center());
        Box(0)->setFocus();
        QTRY_VERIFY(Box(0)->hasFocus());
        const QImage window = form->grab().toImage();
        for (int k = 0; k < 4; ++k) {
            const QColor highlight = List(k)->palette().color(QPalette::Active, QPalette::Highlight);
            const QRect cell = List(k)->visualItemRect(List(k)->item(row));
            int lit = 0;
            for (int y = cell.top(); y <= cell.bottom(); ++y)
                for (int x = cell.left(); x <= cell.right(); ++x)
                    lit += window.pixelColor(List(k)->viewport()->mapTo(form.get(), QPoint(x, y))) == highlight;
            QVERIFY2(lit > cell.width() * cell.height() / 2, qPrintable(List(k)->objectName()));
        }
    }

    void qtsOwnTextsAreBulgarian()
    {
        const std::unique_ptr<QMenu> boxMenu(Box(2)->createStandardContextMenu());
        const std::unique_ptr<QMenu> paneMenu(Find<QPlainTextEdit>("Text1_0")->createStandardContextMenu());
        for (QMenu* menu : {boxMenu.get(), paneMenu.get()}) {
            QVERIFY(!menu->actions().isEmpty());
            for (const QAction* action : menu->actions()) {
                const QString text = action->text();
                const bool cyrillic = std::any_of(text.begin(), text.end(),
                    [](QChar c) { return c.script() == QChar::Script_Cyrillic; });
                QVERIFY2(action->isSeparator() || cyrillic, qPrintable(text));
            }
        }
    }

    void boxesShowTheStartOfWhatTheProgramWrote()
    {
        Type(2, "dynamite winter palace dynamite winter");
        Type(0, "zebras");
        Click("Command1_0");
        for (int k = 0; k < 3; ++k)
            QCOMPARE(Box(k)->cursorPosition(), 0);
    }

    void focusShowsOnAnEmptyList()
    {
        Click("Command1_1");
        Find("Command1_1")->setFocus();
        const QImage before = List(0)->grab().toImage();
        QTest::keyClick(Find("Command1_1"), Qt::Key_Tab);
        QTRY_VERIFY(List(0)->hasFocus());
        QVERIFY(List(0)->grab().toImage() != before);
    }

    void explanationScrollsByKeyboard()
    {
        auto* explanation = Find<QPlainTextEdit>("Text1_0");
        QCOMPARE(explanation->verticalScrollBar()->value(), 0);
        QTest::keyClick(explanation, Qt::Key_PageDown);
        QVERIFY(explanation->verticalScrollBar()->value() > 0);
    }
};

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    nihilist::ApplyAppearance();
    MainFormTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "mainformtest.moc"
