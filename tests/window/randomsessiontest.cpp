// SPDX-License-Identifier: GPL-3.0-or-later
// Long random sessions on the real window: typing, pasting, buttons pressed
// by mouse and key, rows picked by click, Ctrl+click, clicks below the last
// row, keys in the lists and Tab. After every step the window must agree with
// itself and with a model of its own that is given the same boxes:
//   - the four lists hold the same rows and show the same selected row, or none;
//   - no box is over its character limit;
//   - after Encrypt or Clear the boxes, square and lists are exactly what
//     the model computes, and no other step changes the square or the lists;
//   - no list announces more than one change of row per step.
// A failure names the seed and the step; SESSION_SEED=<n> replays one seed.
#include "codepoints.h"
#include "random.h"
#include "windowtest.h"

#include <memory>

using nihilist::FormModel;

namespace {

// Characters a pupil might type or paste, awkward ones included.
const QList<QString> Pieces {"A", "B", "E", "I", "J", "R", "S", "Z", "a", "j", "z", "q", " ", "-", ",", "7", "Ж", "ж",
    "ß", "ı", "i", "É", "😀", "\u0301", "AB", "ZEBRAS", "jam", "RUSSIAN", "Hello, World!"};

class Session : public nihilist::TestWindow {
public:
    Session(quint32 seed)
        : random_(seed)
        , model_(Model()) // the same upper-casing as the window's
    {
        model_.ResetSquare();
    }

    // Takes one random step and returns what it did.
    QString Step()
    {
        std::vector<std::unique_ptr<QSignalSpy>> spies;
        for (int k = 0; k < 4; ++k)
            spies.push_back(std::make_unique<QSignalSpy>(List(k), &QListWidget::currentRowChanged));
        const QString done = Act();
        QCoreApplication::processEvents(); // as the event loop does between a pupil's actions
        for (int k = 0; k < 4; ++k)
            if (spies[k]->count() > 1)
                failure_ = QStringLiteral("list %1 changed row %2 times").arg(k).arg(spies[k]->count());
        return done;
    }

    // What is wrong with the window now; empty when nothing is.
    QString Check()
    {
        if (!failure_.isEmpty())
            return failure_;
        for (int k = 0; k < 3; ++k)
            if (Box(k)->text().toUcs4().size() > static_cast<qsizetype>(FormModel::MaxLength[k]))
                return QStringLiteral("box %1 over its limit: %2").arg(k).arg(Box(k)->text());
        QString square;
        for (const std::u32string& cell : model_.Label3)
            square += cell.empty() ? QStringLiteral("_") : nihilist::ToQString(cell);
        if (Square() != square)
            return QStringLiteral("the square shows %1, not %2").arg(Square(), square);
        const int selected = SelectedRow(0);
        for (int k = 0; k < 4; ++k) {
            QStringList expected;
            for (const std::u32string& item : model_.List1[k].Items)
                expected << nihilist::ToQString(item);
            const QString list = QStringLiteral("list %1 ").arg(k);
            if (Items(k) != expected.join(' '))
                return list + QStringLiteral("holds %1, not %2").arg(Items(k), expected.join(' '));
            if (SelectedRow(k) != selected || List(k)->selectedItems().size() > 1)
                return list + QStringLiteral("shows row %1 selected, list 0 row %2").arg(SelectedRow(k)).arg(selected);
            if (selected >= 0 && List(k)->currentRow() != selected)
                return list + QStringLiteral("has its cursor on row %1").arg(List(k)->currentRow());
            if (Model().List1[k].ListIndex != selected)
                return list + QStringLiteral("remembers row %1 in the window").arg(Model().List1[k].ListIndex);
            if (List(k)->verticalScrollBar()->value() != Model().List1[k].TopIndex)
                return list
                    + QStringLiteral("shows row %1 first, not %2")
                          .arg(List(k)->verticalScrollBar()->value())
                          .arg(Model().List1[k].TopIndex);
        }
        return {};
    }

private:
    int Pick(int n) { return random_.Below(n); }

    QString RandomText()
    {
        QString text;
        for (int n = Pick(6); n >= 0; --n)
            text += random_.Pick(Pieces);
        return text;
    }

    int SelectedRow(int k) const
    {
        const QList<QListWidgetItem*> selected = List(k)->selectedItems();
        return selected.isEmpty() ? -1 : List(k)->row(selected.first());
    }

    QString Act()
    {
        const int rows = List(0)->count();
        const int choice = Pick(12);
        switch (choice) {
        case 0:
        case 1:
        case 2: {
            const bool paste = choice == 2; // else typed one key per character
            const int k = Pick(3);
            QString text = RandomText();
            if (paste)
                text = text.repeated(1 + Pick(10));
            Box(k)->setFocus(Qt::MouseFocusReason);
            if (Pick(2) == 0)
                Box(k)->selectAll();
            if (paste) {
                QApplication::clipboard()->setText(text);
                QTest::keyClick(Box(k), Qt::Key_V, Qt::ControlModifier);
            } else {
                Type(Box(k), text);
            }
            return QStringLiteral("%1 '%2' into box %3").arg(paste ? "paste" : "type", text).arg(k);
        }
        case 3: QTest::keyClick(Box(Pick(3)), Qt::Key_Backspace); return "Backspace in a box";
        case 4:
        case 5: {
            // The model is handed the boxes exactly as the window's handler reads them.
            const int index = Pick(8) == 0 ? 1 : 0;
            auto* button = Find<QPushButton>(nihilist::WidgetName("Command1", index));
            for (int k = 0; k < 3; ++k)
                model_.Text2[k] = nihilist::ToCodePoints(Box(k)->text());
            index == 0 ? model_.Encrypt() : model_.Clear();
            const int how = Pick(3);
            if (how == 0) {
                QTest::mouseClick(button, Qt::LeftButton);
            } else {
                button->setFocus(Qt::TabFocusReason);
                QTest::keyClick(button, how == 1 ? Qt::Key_Space : Qt::Key_Return);
            }
            for (int k = 0; k < 3; ++k) {
                if (Box(k)->text() != nihilist::ToQString(model_.Text2[k]))
                    failure_ = QStringLiteral("box %1 shows %2 after the command").arg(k).arg(Box(k)->text());
            }
            const char* by = how == 0 ? " by mouse" : how == 1 ? " by Space" : " by Return";
            return QString(index == 0 ? "Encrypt" : "Clear") + by;
        }
        case 6:
        case 7: {
            if (rows == 0)
                return "nothing to click";
            const int k = Pick(4);
            const int row = Pick(rows);
            const Qt::KeyboardModifiers modifiers = Pick(3) == 0 ? Qt::ControlModifier : Qt::NoModifier;
            List(k)->scrollToItem(List(k)->item(row));
            ClickRow(k, row, modifiers);
            return QStringLiteral("%1click row %2 of list %3").arg(modifiers ? "Ctrl+" : "").arg(row).arg(k);
        }
        case 8: {
            // The lowest pixel row of the list: empty space while the rows
            // do not fill it, else the last visible row.
            const int k = Pick(4);
            QWidget* viewport = List(k)->viewport();
            QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(viewport->width() / 2, viewport->height() - 2));
            return QStringLiteral("click the bottom of list %1").arg(k);
        }
        case 9:
        case 10: {
            static const std::array<std::pair<Qt::Key, Qt::KeyboardModifiers>, 10> keys {
                {{Qt::Key_Up, {}}, {Qt::Key_Down, {}}, {Qt::Key_Home, {}}, {Qt::Key_End, {}}, {Qt::Key_PageUp, {}},
                    {Qt::Key_PageDown, {}}, {Qt::Key_Space, Qt::ControlModifier}, {Qt::Key_Space, {}},
                    {Qt::Key_Down, Qt::ControlModifier}, {Qt::Key_Up, Qt::ShiftModifier}}};
            const int k = Pick(4);
            if (!List(k)->hasFocus()) {
                List(k)->setFocus(Qt::TabFocusReason);
                return QStringLiteral("list %1 takes the focus").arg(k);
            }
            const auto [key, modifiers] = keys[Pick(keys.size())];
            QTest::keyClick(List(k), key, modifiers);
            return QStringLiteral("key %1 (modifiers %2) in list %3").arg(key, 0, 16).arg(modifiers, 0, 16).arg(k);
        }
        default: {
            const bool back = Pick(3) == 0;
            QWidget* focus = Target();
            QTest::keyClick(focus, back ? Qt::Key_Backtab : Qt::Key_Tab, back ? Qt::ShiftModifier : Qt::NoModifier);
            return QStringLiteral("%1 from %2").arg(back ? "Shift+Tab" : "Tab", focus->objectName());
        }
        }
    }

    nihilist::Random random_;
    FormModel model_;
    QString failure_;
};

} // namespace

class RandomSessionTest : public QObject {
    Q_OBJECT

private slots:
    void windowAgreesWithItselfAndTheModel_data()
    {
        QTest::addColumn<quint32>("seed");
        const QByteArray chosen = qgetenv("SESSION_SEED");
        for (quint32 seed : chosen.isEmpty() ? QList<quint32> {1, 2, 3} : QList<quint32> {chosen.toUInt()})
            QTest::addRow("seed %u", seed) << seed;
    }
    void windowAgreesWithItselfAndTheModel()
    {
        QFETCH(quint32, seed);
        Session session(seed);
        QVERIFY(session.Open());
        QStringList recent;
        for (int step = 1; step <= 1000; ++step) {
            recent << session.Step();
            if (recent.size() > 5)
                recent.removeFirst();
            const QString wrong = session.Check();
            QVERIFY2(wrong.isEmpty(),
                qPrintable(QStringLiteral("seed %1, step %2: %3\n  last steps: %4")
                               .arg(seed)
                               .arg(step)
                               .arg(wrong, recent.join("; "))));
        }
    }
};

WINDOW_TEST_MAIN(RandomSessionTest)

#include "randomsessiontest.moc"
