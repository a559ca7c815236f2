// SPDX-License-Identifier: GPL-3.0-or-later
// The window at three moments, compared pixel for pixel with pictures in
// tests/pictures/ that were approved once by eye. They see what no loop over
// the layout table can: a wrong colour, caption or place in the table itself.
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
//
// A pixel differs when a channel is off by more than 4; up to 6 differing
// pixels pass (anti-aliasing of a glyph edge). One header in the wrong colour
// changes about a thousand pixels, one letter of a caption some dozens.
// A difference writes <name>.actual.png and <name>.diff.png (differing pixels
// red over a faded copy) beside this test in the build folder.
// PICTURES_APPROVE=1 writes the current pictures over the approved ones;
// look at them before committing.
// The pictures hold Linux's Liberation Serif through FreeType; Windows (and
// Wine) draws the same font differently, so the comparison is skipped there.
#include "appearance.h"
#include "mainform.h"

#include <QtTest>
#include <QtWidgets>

#include <cstdlib>
#include <functional>
#include <memory>
#include <tuple>

using nihilist::MainForm;

namespace {

constexpr int ChannelTolerance = 4;
constexpr int AllowedPixels = 6;

struct Difference {
    int pixels = 0;
    QImage marked;
};

Difference Compare(const QImage& approved, const QImage& actual)
{
    Difference result;
    result.marked = actual.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x) {
            const QColor a = approved.pixelColor(x, y), b = actual.pixelColor(x, y);
            const bool differs = std::abs(a.red() - b.red()) > ChannelTolerance
                || std::abs(a.green() - b.green()) > ChannelTolerance
                || std::abs(a.blue() - b.blue()) > ChannelTolerance;
            result.pixels += differs;
            // Faded to a quarter so that the red stands out.
            result.marked.setPixelColor(
                x, y, differs ? QColor(255, 0, 0) : QColor(191 + b.red() / 4, 191 + b.green() / 4, 191 + b.blue() / 4));
        }
    return result;
}

} // namespace

class PictureTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<MainForm> form;

    QWidget* Find(const QString& name) { return form->findChild<QWidget*>(name); }

    // The result of comparing one moment; empty when it matches.
    QString Check(const QString& name)
    {
        const QImage actual = form->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QString approvedFile = QStringLiteral(PICTURES_DIR "/%1.png").arg(name);
        if (qEnvironmentVariableIntValue("PICTURES_APPROVE") == 1) {
            actual.save(approvedFile);
            return {};
        }
        const QString actualFile = QStringLiteral(PICTURES_OUTPUT_DIR "/%1.actual.png").arg(name);
        const QString diffFile = QStringLiteral(PICTURES_OUTPUT_DIR "/%1.diff.png").arg(name);
        QFile::remove(actualFile);
        QFile::remove(diffFile);
        const QImage approved = QImage(approvedFile).convertToFormat(QImage::Format_RGB32);
        if (approved.isNull()) {
            actual.save(actualFile);
            return QString("%1: no approved picture %2; the window is in %3").arg(name, approvedFile, actualFile);
        }
        if (approved.size() != actual.size()) {
            actual.save(actualFile);
            return QString("%1: %2x%3 instead of %4x%5; see %6")
                .arg(name)
                .arg(actual.width())
                .arg(actual.height())
                .arg(approved.width())
                .arg(approved.height())
                .arg(actualFile);
        }
        const Difference difference = Compare(approved, actual);
        if (difference.pixels <= AllowedPixels)
            return {};
        actual.save(actualFile);
        difference.marked.save(diffFile);
        return QString("%1: %2 pixels differ; see %3 and %4")
            .arg(name)
            .arg(difference.pixels)
            .arg(actualFile, diffFile);
    }

    void ClickRow(const char* list, int row)
    {
        auto* view = form->findChild<QListWidget*>(list);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualItemRect(view->item(row)).center());
    }

private slots:
    void initTestCase()
    {
#ifdef Q_OS_WIN
        QSKIP("The approved pictures are drawn by Linux's FreeType; Windows and Wine draw the font differently.");
#endif
        // A caret that blinks would be caught on or off by chance.
        QApplication::setCursorFlashTime(0);
    }

    void windowLooksAsApproved()
    {
        // Each moment: its picture, what leads to it, where the focus then is.
        const std::tuple<const char*, std::function<void()>, const char*> moments[] = {
            {"window-start", [] {}, "Text1_0"},
            {"window-encrypted",
                [this] {
                    QTest::mouseClick(Find("Command1_0"), Qt::LeftButton);
                    ClickRow("List1_2", 2);
                    // Past the end of ZEBRAS, so the caret stands after the word.
                    QWidget* box = Find("Text2_0");
                    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 8, box->height() / 2));
                },
                "Text2_0"},
            {"window-cleared",
                [this] {
                    QTest::mouseClick(Find("Command1_1"), Qt::LeftButton);
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                },
                "List1_0"},
        };
        QStringList failures;
        for (const auto& [name, steps, focus] : moments) {
            form = std::make_unique<MainForm>();
            form->show();
            QApplication::setActiveWindow(form.get());
            QVERIFY(QTest::qWaitForWindowActive(form.get()));
            steps();
            QCoreApplication::processEvents();
            QCOMPARE(QApplication::focusWidget()->objectName(), focus);
            if (const QString failure = Check(name); !failure.isEmpty())
                failures << failure;
            form.reset();
        }
        if (qEnvironmentVariableIntValue("PICTURES_APPROVE") == 1)
            QSKIP("PICTURES_APPROVE=1: the approved pictures were written anew in " PICTURES_DIR);
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join('\n')));
    }
};

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    nihilist::ApplyAppearance();
    PictureTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "picturetest.moc"
