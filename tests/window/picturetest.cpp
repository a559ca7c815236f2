// SPDX-License-Identifier: GPL-3.0-or-later
// The window at three moments, written as pictures that CTest then compares
// (tests/pictures/compare.cmake) with pictures in tests/pictures/ approved
// once by eye. They see what no loop over the layout table can: a wrong
// colour, caption or place in the table itself.
//   window-start.png      as opened: the example typed in, focus in the explanation
//   window-encrypted.png  after Encrypt, the third row (N 41 21 62) clicked in the
//                         cipher list, then a click into the keyword box
//   window-cleared.png    after Clear, Tab from the Clear button into the empty code list
// Checked by eye when approved: the title, box captions, square, headers,
// lists, buttons and pane where the layout puts them (twips / 15: keyword box
// 112,32 113x27, square cell 1 at 40,144 20x20, code list 232,128 49x137,
// Encrypt 408,120 89x33, Clear 408,232 89x33, pane 8,280 489x137); sampled
// colours: window (192,192,255), captions (255,192,128), numbers and list
// headers (128,128,255), cells (255,128,0), Encrypt (0,255,0), Clear
// (255,0,0); the picked row lit in all four lists; the caret in the keyword
// box; the dotted focus mark in the empty code list.
// The pictures hold Linux's Liberation Serif through FreeType; Windows (and
// Wine) draws the same font differently, so they are not taken there.
#include "windowtest.h"

#include <functional>
#include <tuple>

using nihilist::TestWindow;

class PictureTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
#ifdef Q_OS_WIN
        QSKIP("The approved pictures are drawn by Linux's FreeType; Windows and Wine draw the font differently.");
#endif
        // A caret that blinks would be caught on or off by chance.
        QApplication::setCursorFlashTime(0);
    }

    void windowAtThreeMoments()
    {
        // Each moment: its picture, what leads to it, where the focus then is.
        const std::tuple<const char*, std::function<void(TestWindow&)>, const char*> moments[] = {
            {"window-start", [](TestWindow&) {}, "Text1_0"},
            {"window-encrypted",
                [](TestWindow& form) {
                    form.Click("Command1_0");
                    form.ClickRow(2, 2);
                    // Past the end of ZEBRAS, so the caret stands after the word.
                    QWidget* box = form.Box(0);
                    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 8, box->height() / 2));
                },
                "Text2_0"},
            {"window-cleared",
                [](TestWindow& form) {
                    form.Click("Command1_1");
                    QTest::keyClick(form.Target(), Qt::Key_Tab);
                },
                "List1_0"},
        };
        for (const auto& [name, steps, focus] : moments) {
            TestWindow form;
            QVERIFY(form.Open());
            steps(form);
            QCoreApplication::processEvents();
            QCOMPARE(form.Focus(), focus);
            const QString file = QStringLiteral(PICTURES_OUTPUT_DIR "/%1.png").arg(name);
            QVERIFY2(form.grab().toImage().convertToFormat(QImage::Format_RGB32).save(file), qPrintable(file));
        }
    }
};

WINDOW_TEST_MAIN(PictureTest)

#include "picturetest.moc"
