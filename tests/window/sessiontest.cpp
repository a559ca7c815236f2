// SPDX-License-Identifier: GPL-3.0-or-later
// Plays the conformance sessions (tests/sessions/*.session) on the real
// window, offscreen, with real events, and writes the state line after every
// step. The page's player (tests/web/session.test.js) writes the same line from the
// page, so the window is the reference for both. The format is described in
// tests/sessions/README.md.
//
//   sessiontest DIR                         play DIR/*.session, compare with their "= " lines
//   SESSION_RECORD=1 sessiontest DIR        rewrite the "= " lines from the window instead
//   sessiontest --generate SEED STEPS FILE  write a session of random steps, fixed by SEED
//   SESSION_SEED=<n> sessiontest DIR        the window's own random sessions from one seed
//
// A mismatch names the file, the line and the step, and the whole transcript
// the window gave is written to sessions/<name>.session.actual beside this
// program.
#include "codepoints.h"
#include "random.h"
#include "sessionplayer.h"
#include "testsupport.h"

#include <memory>

namespace {

using nihilist::CodePoints;
using nihilist::FormModel;
using nihilist::Player;
using nihilist::Random;

// A session file: its steps, each with its line number, and the state lines
// expected after the start and after each step.
struct Session {
    QStringList lines;
    QList<int> steps; // line index of each step
    QList<int> expected; // line index of the state after the start (0) and after each step; -1: none
};

Session Read(const QString& path)
{
    Session session;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        session.lines = QString::fromUtf8(file.readAll()).split('\n');
    if (!session.lines.isEmpty() && session.lines.last().isEmpty())
        session.lines.removeLast();
    session.expected << -1;
    for (int i = 0; i < session.lines.size(); ++i) {
        const QString& line = session.lines[i];
        if (line.startsWith("= ")) {
            if (session.expected.last() < 0)
                session.expected.last() = i;
        } else if (!line.isEmpty() && !line.startsWith('#')) {
            session.steps << i;
            session.expected << -1;
        }
    }
    return session;
}

// The session again, its state lines the window's: one after the comments
// at the top, one after every step.
QString Transcript(const Session& session, const QStringList& states)
{
    QStringList out;
    int state = 0;
    for (int i = 0; i < session.lines.size(); ++i) {
        const QString& line = session.lines[i];
        if (line.startsWith("= "))
            continue;
        const bool step = session.steps.contains(i);
        if (step && state == 0)
            out << states[state++];
        out << line;
        if (step)
            out << states.value(state++);
    }
    if (state == 0)
        out << states.value(0);
    return out.join('\n') + '\n';
}

bool Write(const QString& path, const QString& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text.toUtf8()) >= 0;
}

// Steps a pupil might take; only steps the format allows, so that the page
// can play them too, unless only the window is to play them.
const QList<QString> Typed {"zebra", "RUSSIAN", "j", "I", "x y", "q-1", "жЖ", "ключ", "ß", "ı", "Ωμέγα", "abc", "x"};
const QList<QString> Pasted {"DYNAMITE", "ж", "😀", "e\u0301", "Hello, World!", "ǆ", "👩‍👧", "jam"};
// For the window alone: texts of a few of these pieces, awkward ones included.
const QList<QString> Pieces {"A", "B", "E", "I", "J", "R", "S", "Z", "a", "j", "z", "q", " ", "-", ",", "7", "Ж", "ж",
    "ß", "ı", "i", "É", "😀", "\u0301", "AB", "ZEBRAS", "jam", "RUSSIAN", "Hello, World!"};

// One of the texts; for the window alone, a few pieces.
QString RandomText(Random& random, const QList<QString>& texts, bool windowOnly)
{
    if (!windowOnly)
        return random.Pick(texts);
    QString pieces;
    for (int n = random.Below(6); n >= 0; --n)
        pieces += random.Pick(Pieces);
    return pieces;
}

// What a random step is made from: the window as it stands, the generator,
// and whether only the window is to play the step.
struct Dice {
    Player& player;
    Random& random;
    bool windowOnly;
    QString focus = player.Focus();
    bool inBox = focus.startsWith("Text2_");

    QString Text(const QList<QString>& texts) { return RandomText(random, texts, windowOnly); }
};

// Each makes one kind of step, or nothing when it does not fit the focus.
QString SelectStep(Dice& d)
{
    const int k = d.random.Below(FormModel::BoxCount);
    const int length = CodePoints(d.player.Box(k)->text(), d.player.Box(k)->text().size());
    const int from = d.random.Below(length + 1);
    const int to = d.random.Below(3) == 0 ? from + d.random.Below(length - from + 1) : from;
    return QStringLiteral("select Text2_%1 %2 %3").arg(k).arg(from).arg(to);
}

QString TypeStep(Dice& d)
{
    return d.inBox ? "type " + d.Text(Typed).removeIf([](QChar c) { return c.isSurrogate(); }) : QString();
}

QString PasteStep(Dice& d)
{
    if (!d.inBox)
        return {};
    const QString pasted = d.Text(Pasted);
    return d.random.Below(3) == 0 ? QStringLiteral("paste %1 *%2").arg(pasted).arg(2 + d.random.Below(20))
                                  : "paste " + pasted;
}

QString InsertStep(Dice& d)
{
    return d.inBox ? "insert " + d.Text(Typed + Pasted) : QString();
}

QString KeyStep(Dice& d)
{
    QList<QString> keys;
    if (d.inBox)
        keys = {"Left", "Right", "Home", "End", "Backspace", "Delete"};
    else if (d.focus.startsWith("List1_"))
        keys = {"Up", "Down", "Home", "End", "PageUp", "PageDown", "Left", "Right", "Space"};
    if (d.windowOnly && d.focus.startsWith("List1_"))
        keys += {"Ctrl+Space", "Ctrl+Down", "Shift+Up"};
    else if (d.focus.startsWith("Command1_"))
        keys = {"Space", "Enter"};
    return keys.isEmpty() ? QString() : "key " + d.random.Pick(keys);
}

QString TabStep(Dice& d)
{
    const std::vector<std::string>& order = nihilist::layout::FocusOrder();
    if (d.focus.toStdString() != order.back() && d.random.Below(4) != 0)
        return QStringLiteral("key Tab");
    if (d.focus.toStdString() != order.front() && d.focus != "-")
        return QStringLiteral("key Shift+Tab");
    return {};
}

QString CommandStep(Dice& d)
{
    return QStringLiteral("click Command1_%1").arg(d.random.Below(5) == 0 ? 1 : 0);
}

QString RowStep(Dice& d)
{
    const int k = d.random.Below(FormModel::ListCount);
    const QList<int> shown = d.player.ShownRows(k);
    if (shown.isEmpty())
        return {};
    const char* click = d.windowOnly && d.random.Below(3) == 0 ? "Ctrl+click" : "click";
    return QStringLiteral("%1 List1_%2 row %3").arg(click).arg(k).arg(d.random.Pick(shown));
}

QString BlankStep(Dice& d)
{
    const int k = d.random.Below(FormModel::ListCount);
    return d.player.Blank(k) && d.random.Below(2) == 0 ? QStringLiteral("click List1_%1 blank").arg(k) : QString();
}

QString WheelStep(Dice& d)
{
    const int notches = d.random.Below(7) - 3;
    return notches == 0 ? QString() : QStringLiteral("wheel List1_%1 %2").arg(d.random.Below(4)).arg(notches);
}

// Drawn until one fits; the table's order and repeats fix every seed's session.
QString RandomStep(Player& player, Random& random, bool windowOnly = false)
{
    static constexpr QString (*makers[])(Dice&) = {SelectStep, TypeStep, TypeStep, PasteStep, InsertStep, KeyStep,
        KeyStep, TabStep, CommandStep, RowStep, BlankStep, WheelStep, CommandStep, RowStep};
    Dice dice {player, random, windowOnly};
    for (;;)
        if (const QString step = makers[random.Below(std::size(makers))](dice); !step.isEmpty())
            return step;
}

int Generate(std::uint32_t seed, int steps, const QString& path)
{
    Player player;
    if (!player.Open())
        return 2;
    Random random(seed);
    QStringList out {QStringLiteral("# Random steps from seed %1, recorded from the window:").arg(seed),
        QStringLiteral("#   sessiontest --generate %1 %2 FILE").arg(seed).arg(steps), player.State()};
    for (int i = 0; i < steps; ++i) {
        const QString step = RandomStep(player, random);
        if (const QString wrong = player.Play(step); !wrong.isEmpty()) {
            qCritical("generated step %s: %s", qPrintable(step), qPrintable(wrong));
            return 1;
        }
        out << step << player.State();
    }
    return Write(path, out.join('\n') + '\n') ? 0 : 1;
}

// What is wrong with the window after a step, judged against a model that
// was handed the same boxes before every command; empty when nothing is.
QString Disagreement(const Player& player, const FormModel& model)
{
    const QString square = QString::fromStdString(nihilist::SquareRows(model.Label3));
    if (player.Square() != square)
        return QStringLiteral("the square shows %1, not %2").arg(player.Square(), square);
    for (int k = 0; k < FormModel::BoxCount; ++k)
        if (player.Box(k)->text().toUcs4().size() > static_cast<qsizetype>(FormModel::MaxLength[k]))
            return QStringLiteral("box %1 over its limit: %2").arg(k).arg(player.Box(k)->text());
    const QList<QListWidgetItem*> first = player.List(0)->selectedItems();
    const int picked = first.isEmpty() ? -1 : player.List(0)->row(first.front());
    for (int k = 0; k < FormModel::ListCount; ++k) {
        QListWidget* list = player.List(k);
        QStringList items;
        for (const std::u32string& item : model.List1[k].Items)
            items << nihilist::ToQString(item);
        const QList<QListWidgetItem*> selected = list->selectedItems();
        const nihilist::ListBox& shown = player.Model().List1[k];
        if (player.Items(k) != items.join(' '))
            return QStringLiteral("list %1 holds %2, not %3").arg(k).arg(player.Items(k), items.join(' '));
        if (selected.size() > 1 || (selected.isEmpty() ? -1 : list->row(selected.front())) != picked
            || list->currentRow() != (list->hasFocus() ? picked : -1) || shown.ListIndex != picked)
            return QStringLiteral("list %1 picks row %2 (current %3, the window's model %4), list 0 row %5")
                .arg(k)
                .arg(selected.isEmpty() ? -1 : list->row(selected.front()))
                .arg(list->currentRow())
                .arg(shown.ListIndex)
                .arg(picked);
        if (list->verticalScrollBar()->value() != shown.TopIndex)
            return QStringLiteral("list %1 shows row %2 first, not %3")
                .arg(k)
                .arg(list->verticalScrollBar()->value())
                .arg(shown.TopIndex);
    }
    return {};
}

// The button a step presses (MainForm::Command), or -1 for none.
int Command(const Player& player, const QString& step)
{
    const bool press = step == "key Space" || step == "key Enter";
    for (int k = 0; k < nihilist::MainForm::CommandCount; ++k)
        if (step == "click " + nihilist::WidgetName("Command1", k)
            || (press && player.Focus() == nihilist::WidgetName("Command1", k)))
            return k;
    return -1;
}

QString sessionFolder;

} // namespace

class SessionTest : public QObject {
    Q_OBJECT

private slots:
    void windowPlaysTheSession_data()
    {
        QTest::addColumn<QString>("path");
        const QDir folder(sessionFolder);
        const QStringList names = folder.entryList({"*.session"}, QDir::Files, QDir::Name);
        QVERIFY2(!names.isEmpty(), qPrintable("no sessions in " + sessionFolder));
        for (const QString& name : names)
            QTest::newRow(qPrintable(name)) << folder.filePath(name);
    }
    void windowPlaysTheSession()
    {
        QFETCH(QString, path);
        const Session session = Read(path);
        Player player;
        QVERIFY(player.Open());
        QStringList states {player.State()};
        QString failure;
        const auto compare = [&](int state, const QString& what) {
            const int line = session.expected[state];
            if (!failure.isEmpty())
                return;
            if (line < 0)
                failure = QStringLiteral("%1: no state line after %2").arg(path, what);
            else if (session.lines[line] != states[state])
                failure = QStringLiteral("%1:%2: after %3\n  expected %4\n  actual   %5")
                              .arg(path)
                              .arg(line + 1)
                              .arg(what, session.lines[line], states[state]);
        };
        compare(0, "the start");
        for (int s = 0; s < session.steps.size(); ++s) {
            const int line = session.steps[s];
            const QString step = session.lines[line];
            const QString wrong = player.Play(step);
            QVERIFY2(wrong.isEmpty(),
                qPrintable(
                    QStringLiteral("%1:%2: step %3 \"%4\": %5").arg(path).arg(line + 1).arg(s + 1).arg(step, wrong)));
            states << player.State();
            compare(s + 1, QStringLiteral("step %1 \"%2\"").arg(s + 1).arg(step));
        }
        const QString transcript = Transcript(session, states);
        if (qEnvironmentVariableIntValue("SESSION_RECORD") == 1) {
            QVERIFY2(Write(path, transcript), qPrintable("cannot write " + path));
            return;
        }
        if (!failure.isEmpty()) {
            const QString actual
                = QCoreApplication::applicationDirPath() + "/sessions/" + QFileInfo(path).fileName() + ".actual";
            QDir().mkpath(QFileInfo(actual).path());
            Write(actual, transcript);
            failure += "\n  the window's transcript: " + actual;
        }
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }

    // Long random sessions of steps for the window alone, checked after
    // every step: the window agrees with a model handed the same boxes
    // before every command, the four lists pick and show the same rows as
    // its own model, no box is over its limit, and no list announces more
    // than one change of row a step. SESSION_SEED=<n> replays one seed.
    void windowAgreesWithTheModel_data()
    {
        QTest::addColumn<quint32>("seed");
        const QByteArray chosen = qgetenv("SESSION_SEED");
        for (quint32 seed : chosen.isEmpty() ? QList<quint32> {1, 2, 3} : QList<quint32> {chosen.toUInt()})
            QTest::addRow("seed %u", seed) << seed;
    }
    void windowAgreesWithTheModel()
    {
        QFETCH(quint32, seed);
        Player player;
        QVERIFY(player.Open());
        Random random(seed);
        FormModel model(player.Model()); // the same upper-casing as the window's
        QStringList recent;
        for (int step = 1; step <= 1000; ++step) {
            const QString next = RandomStep(player, random, true);
            recent << next;
            if (recent.size() > 5)
                recent.removeFirst();
            const QString where
                = QStringLiteral("seed %1, step %2 (last steps: %3): ").arg(seed).arg(step).arg(recent.join("; "));
            const int command = Command(player, next);
            for (int k = 0; k < FormModel::BoxCount; ++k)
                model.Text2[k] = nihilist::ToCodePoints(player.Box(k)->text());
            command == nihilist::MainForm::Encrypt     ? model.Encrypt()
                : command == nihilist::MainForm::Clear ? model.Clear()
                                                       : void();
            std::vector<std::unique_ptr<QSignalSpy>> spies;
            for (int k = 0; k < FormModel::ListCount; ++k)
                spies.push_back(std::make_unique<QSignalSpy>(player.List(k), &QListWidget::currentRowChanged));
            const QString wrong = player.Play(next);
            QVERIFY2(wrong.isEmpty(), qPrintable(where + wrong));
            for (int k = 0; k < FormModel::ListCount; ++k)
                QVERIFY2(spies[k]->count() <= 1,
                    qPrintable(where + QStringLiteral("list %1 changed row %2 times").arg(k).arg(spies[k]->count())));
            for (int k = 0; k < FormModel::BoxCount && command >= 0; ++k)
                QVERIFY2(player.Box(k)->text() == nihilist::ToQString(model.Text2[k]),
                    qPrintable(where + "box " + player.Box(k)->text()));
            const QString disagreement = Disagreement(player, model);
            QVERIFY2(disagreement.isEmpty(), qPrintable(where + disagreement));
        }
    }
};

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    nihilist::ApplyAppearance();
    QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 5 && arguments[1] == "--generate")
        return Generate(arguments[2].toUInt(), arguments[3].toInt(), arguments[4]);
    // The session folder comes first; the rest is QtTest's.
    if (arguments.size() < 2 || arguments[1].startsWith('-')) {
        qCritical("usage: sessiontest FOLDER [QtTest options] | sessiontest --generate SEED STEPS FILE");
        return 2;
    }
    sessionFolder = arguments.takeAt(1);
    SessionTest test;
    return QTest::qExec(&test, arguments);
}

#include "sessiontest.moc"
