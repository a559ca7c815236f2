// SPDX-License-Identifier: GPL-3.0-or-later
// The window at three moments, compared with pictures in tests/pictures/
// approved once by eye. They see what no loop over the layout table can: a
// wrong colour, caption or place in the table itself.
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
// The tolerance is the page's too (tests/pictures/tolerance.json). A mismatch
// writes <actual>.diff.png beside the actual picture: the differing pixels red
// over a faded copy. PICTURES_APPROVE=1 writes the approved pictures anew;
// look at them before committing.
// The pictures hold Linux's Liberation Serif through FreeType; Windows (and
// Wine) draws the same font differently, so they are not taken there.
#include "windowtest.h"

#include <algorithm>
#include <cstdlib>
#include <functional>

using nihilist::TestWindow;
using Steps = std::function<void(TestWindow&)>;
Q_DECLARE_METATYPE(Steps)

namespace {

struct Tolerance {
    int channel;
    int pixels;
};

Tolerance ReadTolerance()
{
    QFile file(QStringLiteral(PICTURES_DIR "/tolerance.json"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("no %s", qPrintable(file.fileName()));
    const QJsonObject tolerance = QJsonDocument::fromJson(file.readAll()).object();
    return {tolerance["channel"].toInt(-1), tolerance["pixels"].toInt(-1)};
}

int ChannelDistance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

// What is wrong with `actual` against the approved picture; empty when nothing.
QString Compare(const QImage& actual, const QString& approvedFile, const QString& diffFile, Tolerance tolerance)
{
    const QImage approved = QImage(approvedFile).convertToFormat(QImage::Format_RGB32);
    if (approved.isNull())
        return QStringLiteral("no approved picture %1").arg(approvedFile);
    if (approved.size() != actual.size())
        return QStringLiteral("%1x%2, the approved %3 %4x%5")
            .arg(actual.width())
            .arg(actual.height())
            .arg(approvedFile)
            .arg(approved.width())
            .arg(approved.height());
    QImage diff(actual.size(), QImage::Format_RGB32);
    int differing = 0;
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            const QRgb pixel = actual.pixel(x, y);
            const bool off = ChannelDistance(pixel, approved.pixel(x, y)) > tolerance.channel;
            differing += off;
            const auto faded = [](int c) { return (c + 3 * 255) / 4; };
            diff.setPixel(
                x, y, off ? qRgb(255, 0, 0) : qRgb(faded(qRed(pixel)), faded(qGreen(pixel)), faded(qBlue(pixel))));
        }
    }
    if (differing <= tolerance.pixels)
        return {};
    diff.save(diffFile);
    return QStringLiteral("%1 pixels differ (at most %2 may); the difference is %3")
        .arg(differing)
        .arg(tolerance.pixels)
        .arg(diffFile);
}

// Moves the blue channel of `count` pixels along the top row by `step`.
void Shift(QImage& picture, int count, int step, int from)
{
    for (int x = from; x < from + count; ++x) {
        const QRgb pixel = picture.pixel(x, 0);
        const int blue = qBlue(pixel) + step <= 255 ? qBlue(pixel) + step : qBlue(pixel) - step;
        picture.setPixel(x, 0, qRgb(qRed(pixel), qGreen(pixel), blue));
    }
}

} // namespace

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

    void windowAtThreeMoments_data()
    {
        // Each moment: its picture, what leads to it, where the focus then is.
        // The last two rows try the comparison itself on a copy of the first
        // moment moved just past and just within the tolerance.
        QTest::addColumn<QString>("approved");
        QTest::addColumn<Steps>("steps");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("pastTolerance"); // pixels moved one channel step past it
        QTest::addColumn<int>("atTolerance"); // pixels moved by exactly the tolerance
        QTest::addColumn<bool>("matches");
        const Tolerance tolerance = ReadTolerance();
        const Steps none = [](TestWindow&) {};
        QTest::newRow("window-start") << "window-start" << none << "Text1_0" << 0 << 0 << true;
        QTest::newRow("window-encrypted") << "window-encrypted" << Steps([](TestWindow& form) {
            form.Click("Command1_0");
            form.ClickRow(2, 2);
            // Past the end of ZEBRAS, so the caret stands after the word.
            QWidget* box = form.Box(0);
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 8, box->height() / 2));
        }) << "Text2_0" << 0 << 0 << true;
        QTest::newRow("window-cleared") << "window-cleared" << Steps([](TestWindow& form) {
            form.Click("Command1_1");
            QTest::keyClick(form.Target(), Qt::Key_Tab);
        }) << "List1_0" << 0 << 0 << true;
        QTest::newRow("window-start-past-tolerance")
            << "window-start" << none << "Text1_0" << tolerance.pixels + 1 << 0 << false;
        QTest::newRow("window-start-within-tolerance")
            << "window-start" << none << "Text1_0" << tolerance.pixels << tolerance.pixels + 1 << true;
    }

    void windowAtThreeMoments()
    {
        QFETCH(QString, approved);
        QFETCH(Steps, steps);
        QFETCH(QString, focus);
        QFETCH(int, pastTolerance);
        QFETCH(int, atTolerance);
        QFETCH(bool, matches);
        const Tolerance tolerance = ReadTolerance();
        QVERIFY(tolerance.channel >= 0 && tolerance.pixels >= 0);
        TestWindow form;
        QVERIFY(form.Open());
        steps(form);
        QCoreApplication::processEvents();
        QCOMPARE(form.Focus(), focus);
        QImage actual = form.grab().toImage().convertToFormat(QImage::Format_RGB32);
        Shift(actual, pastTolerance, tolerance.channel + 1, 0);
        Shift(actual, atTolerance, tolerance.channel, pastTolerance);
        const QString name = QString::fromUtf8(QTest::currentDataTag());
        const QString file = QStringLiteral(PICTURES_OUTPUT_DIR "/%1.png").arg(name);
        QVERIFY2(actual.save(file), qPrintable(file));
        const QString approvedFile = QStringLiteral(PICTURES_DIR "/%1.png").arg(approved);
        if (qgetenv("PICTURES_APPROVE") == "1") {
            if (name == approved)
                QVERIFY(actual.save(approvedFile));
            QSKIP("PICTURES_APPROVE=1: the approved picture is written anew");
        }
        const QString diffFile = QStringLiteral(PICTURES_OUTPUT_DIR "/%1.diff.png").arg(name);
        QFile::remove(diffFile);
        const QString failure = Compare(actual, approvedFile, diffFile, tolerance);
        QVERIFY2(failure.isEmpty() == matches, qPrintable(failure.isEmpty() ? "the pictures match" : failure));
        QCOMPARE(QFile::exists(diffFile), !matches);
    }
};

WINDOW_TEST_MAIN(PictureTest)

#include "picturetest.moc"
