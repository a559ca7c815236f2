// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader hears from the window: the real window on a screen of
// its own (Xvfb), with a session bus and an accessibility bus of its own,
// plays session steps (tests/sessions/README.md), and the focus events of
// the last step are read from the AT-SPI event stream by the page's reader,
// tests/web/atspi.py --heard.
//   atspitest READER [QtTest options]
#include "sessionplayer.h"

#include <sys/prctl.h>

#include <csignal>

namespace {

using nihilist::Player;

QString reader;

// Starts a helper that prints one line once ready, and that ends when the
// test does, however it ends; that line.
QByteArray Started(QProcess& process, const QString& program, const QStringList& arguments)
{
    process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    process.start(program, arguments);
    process.waitForReadyRead(20000);
    return process.readLine().trimmed();
}

// A widget of the test's own. Qt's bridge holds every key until the
// registry has seen it, then posts it; a key sent here comes back after
// the keys before it, and what they made the window say. Then it tells a
// screen reader it has the focus.
class Marker : public QWidget {
protected:
    void keyReleaseEvent(QKeyEvent*) override
    {
        QMetaObject::invokeMethod(
            this,
            [this] {
                QAccessibleEvent focus(this, QAccessible::Focus);
                QAccessible::updateAccessibility(&focus);
            },
            Qt::QueuedConnection);
    }
};

// The reader's lines, until the marker's focus event says all was heard.
QStringList HeardUntil(QProcess& listener, Marker& marker)
{
    QTest::keyClick(&marker, Qt::Key_Shift);
    const QString end = QCoreApplication::applicationName() + ": " + marker.accessibleName();
    QStringList heard;
    while (heard.isEmpty() || heard.last() != end) {
        while (!listener.canReadLine())
            if (!QSignalSpy(&listener, &QProcess::readyRead).wait(20000))
                return heard << "(nothing more heard)";
        heard << QJsonDocument::fromJson("[" + listener.readLine() + "]").array().at(0).toString();
    }
    heard.removeLast();
    return heard;
}

} // namespace

class AtspiTest : public QObject {
    Q_OBJECT

    QProcess listener;
    Marker marker;

private slots:
    void initTestCase()
    {
        marker.setAccessibleName(QStringLiteral("прочетено"));
        // The window's stream has no last text of its own; the reader runs until the test ends.
        QCOMPARE(Started(listener, "/usr/bin/python3", {reader, "--heard", "край", "focus"}), "\"ready\"");
        // Qt reads which events are listened to as its bridge starts, after the reader is ready.
        QTRY_VERIFY_WITH_TIMEOUT(QAccessible::isActive(), 20000);
        QVERIFY(!HeardUntil(listener, marker).contains("(nothing more heard)"));
    }

    // The stored example after Encrypt: letters D Y N ..., codes 23 55 41 ...,
    // key codes 14 51 21 ..., cipher numbers 37 106 62 ...
    void focusEventNamesTheRowOfTheFocusedList_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("row");
        // From the explanation by keys alone: Encrypt, then on into Код.
        const QStringList encrypted {"key Tab", "key Tab", "key Tab", "key Tab", "key Space", "key Tab", "key Tab"};
        QTest::newRow("Tab into Код") << encrypted << "Код: 23";
        QTest::newRow("Down in Код") << encrypted + QStringList {"key Down", "key Down"} << "Код: 41";
        QTest::newRow("Tab on to Ключ") << encrypted + QStringList {"key Down", "key Tab"} << "Ключ: 51";
        QTest::newRow("End in Шифър") << encrypted + QStringList {"key Tab", "key Tab", "key End"} << "Шифър: 27";
        QTest::newRow("a click in Буква") << QStringList {"click Command1_0", "click List1_3 row 2"} << "Буква: N";
    }
    // Of the focus events the last step sends, the last names the row picked
    // in the list with the focus, and none names a row of another list.
    void focusEventNamesTheRowOfTheFocusedList()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, row);
        Player player;
        player.activateWindow(); // no window manager makes it active
        QVERIFY(player.Open());
        for (const QString& step : steps) {
            HeardUntil(listener, marker);
            QCOMPARE(player.Play(step), QString());
        }
        const QStringList heard = HeardUntil(listener, marker);
        QVERIFY2(!heard.isEmpty() && heard.last() == row, qPrintable(heard.join(" | ")));
        for (const char* list : {"Код", "Ключ", "Шифър", "Буква"})
            for (const QString& focus : heard)
                QVERIFY2(!focus.startsWith(QString(list) + ": ") || focus == row, qPrintable(heard.join(" | ")));
    }
};

int main(int argc, char* argv[])
{
    QTemporaryDir runtime; // the accessibility bus's socket, apart from any other
    QProcess screen, bus;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    const QStringList screenArguments {
        "-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-terminate"};
    qputenv("DISPLAY", ":" + Started(screen, "Xvfb", screenArguments));
    // Started by the bus on demand, the accessibility bus gets the two above.
    qputenv("DBUS_SESSION_BUS_ADDRESS", Started(bus, "dbus-daemon", {"--session", "--nofork", "--print-address=1"}));
    qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    QApplication app(argc, argv);
    nihilist::ApplyAppearance();
    QStringList arguments = QCoreApplication::arguments();
    reader = arguments.size() > 1 ? arguments.takeAt(1) : QString();
    AtspiTest test;
    return QTest::qExec(&test, arguments);
}

#include "atspitest.moc"
