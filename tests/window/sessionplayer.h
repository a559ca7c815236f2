// SPDX-License-Identifier: GPL-3.0-or-later
// The session player: plays one step of the session format
// (tests/sessions/README.md) on the real window and writes its state line.
// Details the window cannot do as a pupil would, and what is done instead:
//   - "select" focuses the box with a mouse focus reason and sets the
//     selection directly: a drag cannot pick code points exactly.
//   - "insert" sends a QInputMethodEvent with only a commit string.
//   - "wheel" sends one QWheelEvent of 120 eighths of a degree per notch to
//     the list's viewport, at its centre.
//   - "click List1_k blank" lands midway between the last row's bottom (the
//     list's top when it has no rows) and the bottom of the list's inside.
#pragma once

#include "codepoints.h"
#include "layouttable.h"
#include "utf8.h"
#include "windowtest.h"

#include <optional>

namespace nihilist {

// Code points in the first `units` UTF-16 units of `text`.
inline int CodePoints(const QString& text, qsizetype units)
{
    return static_cast<int>(ToCodePoints(text.left(units)).size());
}

// The UTF-16 position of code point `n`, or -1 past the end.
inline qsizetype Units(const QString& text, int n)
{
    qsizetype i = 0;
    for (int k = 0; k < n; ++k) {
        if (i >= text.size())
            return -1;
        i += text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
    }
    return i;
}

// k of the name "group_k" of one of `count` numbered widgets; -1 for any other name.
inline int Index(const QString& name, const char* group, int count)
{
    for (int k = 0; k < count; ++k)
        if (name == WidgetName(group, k))
            return k;
    return -1;
}

// One value, or the four joined by commas when the lists differ.
inline QString OneOrFour(const std::array<int, FormModel::ListCount>& values)
{
    if (std::all_of(values.begin(), values.end(), [&](int v) { return v == values[0]; }))
        return QString::number(values[0]);
    QStringList each;
    for (int v : values)
        each << QString::number(v);
    return each.join(',');
}

class Player : public TestWindow {
public:
    QString State() const
    {
        QStringList boxes;
        for (int k = 0; k < FormModel::BoxCount; ++k) {
            const QLineEdit* box = Box(k);
            const QString text = box->text();
            QString caret = QString::number(CodePoints(text, box->cursorPosition()));
            if (box->hasFocus() && box->hasSelectedText())
                caret = QStringLiteral("%1-%2")
                            .arg(CodePoints(text, box->selectionStart()))
                            .arg(CodePoints(text, box->selectionEnd()));
            boxes << QString::fromStdString(JsonString(ToCodePoints(text))) + u'@' + caret;
        }
        std::array<int, FormModel::ListCount> picked {}, top {};
        int count = 0;
        for (int k = 0; k < FormModel::ListCount; ++k) {
            const QModelIndexList selected = List(k)->selectionModel()->selectedIndexes();
            picked[k] = selected.isEmpty() ? -1 : selected.first().row();
            // The first row the view places at its top.
            top[k] = std::max(0, List(k)->indexAt(QPoint(1, 1)).row());
            count = std::max(count, List(k)->count());
        }
        QStringList rows;
        for (int row = 0; row < count; ++row) {
            QStringList cells;
            for (int k : {FormModel::LetterList, FormModel::CodeList, FormModel::KeyCodeList, FormModel::CipherList})
                cells << (row < List(k)->count() ? List(k)->item(row)->text() : QStringLiteral("?"));
            rows << cells.join('/');
        }
        return QStringLiteral("= focus %1 | boxes %2 | square %3 | picked %4 | top %5 | rows %6")
            .arg(Focus(), boxes.join(' '), Square(), OneOrFour(picked), OneOrFour(top),
                rows.isEmpty() ? QStringLiteral("-") : rows.join(' '));
    }

    // Plays one step; what is wrong with it when it cannot be played.
    QString Play(const QString& step)
    {
        const QString wrong = Act(step);
        QCoreApplication::processEvents(); // as the event loop does between a pupil's actions
        return wrong;
    }

    // Where a click on blank space lands; none when the rows fill the list.
    std::optional<QPoint> Blank(int k) const
    {
        const QListWidget* list = List(k);
        const int bottom = list->count() == 0 ? 0 : list->visualItemRect(list->item(list->count() - 1)).bottom() + 1;
        const int height = list->viewport()->height();
        if (bottom >= height)
            return std::nullopt;
        return QPoint(list->viewport()->width() / 2, (std::max(bottom, 0) + height) / 2);
    }

    // The part of row `row` of list k that shows; empty when none does.
    QRect Shown(int k, int row) const
    {
        const QListWidget* list = List(k);
        return list->visualItemRect(list->item(row)).intersected(list->viewport()->rect());
    }

    QList<int> ShownRows(int k) const
    {
        QList<int> rows;
        for (int row = 0; row < List(k)->count(); ++row)
            if (!Shown(k, row).isEmpty())
                rows << row;
        return rows;
    }

private:
    // One member a verb, each handed the verb and the rest of the step.
    using Verb = QString (Player::*)(const QString& verb, const QString& rest);

    QString Act(const QString& step)
    {
        static const QHash<QString, Verb> verbs {{"select", &Player::Select}, {"type", &Player::TypeText},
            {"paste", &Player::Paste}, {"insert", &Player::Insert}, {"key", &Player::Key}, {"click", &Player::Click},
            {"rightclick", &Player::Click}, {"Ctrl+click", &Player::Click}, {"wheel", &Player::Wheel}};
        const QString verb = step.section(' ', 0, 0);
        const Verb play = verbs.value(verb);
        return play ? (this->*play)(verb, step.section(' ', 1)) : QStringLiteral("unknown step");
    }

    QString Select(const QString&, const QString& rest)
    {
        const QStringList words = rest.split(' ');
        const int k = Index(words.value(0), "Text2", FormModel::BoxCount);
        bool fromOk = false, toOk = false;
        const int from = words.value(1).toInt(&fromOk), to = words.value(2).toInt(&toOk);
        if (k < 0 || words.size() != 3 || !fromOk || !toOk || from > to)
            return "not a selection";
        QLineEdit* box = Box(k);
        const qsizetype a = Units(box->text(), from), b = Units(box->text(), to);
        if (from < 0 || a < 0 || b < 0)
            return "past the end of the text";
        box->setFocus(Qt::MouseFocusReason);
        box->setCursorPosition(static_cast<int>(a));
        if (b > a)
            box->setSelection(static_cast<int>(a), static_cast<int>(b - a));
        return {};
    }

    QString TypeText(const QString&, const QString& rest)
    {
        if (std::any_of(rest.begin(), rest.end(), [](QChar c) { return c.isSurrogate(); }))
            return "type takes BMP characters only";
        Type(Target(), rest);
        return {};
    }

    QString Paste(const QString&, const QString& rest)
    {
        QString text = rest;
        static const QRegularExpression repeated(QStringLiteral("^(.*) \\*(\\d+)$"));
        if (const QRegularExpressionMatch match = repeated.match(rest); match.hasMatch())
            text = match.captured(1).repeated(match.captured(2).toInt());
        QApplication::clipboard()->setText(text);
        QTest::keyClick(Target(), Qt::Key_V, Qt::ControlModifier);
        return {};
    }

    QString Insert(const QString&, const QString& rest)
    {
        QInputMethodEvent event;
        event.setCommitString(rest);
        QApplication::sendEvent(Target(), &event);
        return {};
    }

    QString Wheel(const QString&, const QString& rest)
    {
        const QStringList words = rest.split(' ');
        const int k = Index(words.value(0), "List1", FormModel::ListCount);
        bool ok = false;
        const int notches = words.value(1).toInt(&ok);
        if (k < 0 || !ok || notches == 0 || words.size() != 2)
            return "not a wheel turn";
        QWidget* viewport = List(k)->viewport();
        const QPointF at = QRectF(viewport->rect()).center();
        for (int i = 0; i < std::abs(notches); ++i) {
            // Towards the pupil is a negative angle.
            QWheelEvent event(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, notches > 0 ? -120 : 120),
                Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(viewport, &event);
        }
        return {};
    }

    QString Click(const QString& verb, const QString& rest)
    {
        const QStringList words = rest.split(' ');
        const Qt::MouseButton mouseButton = verb == "rightclick" ? Qt::RightButton : Qt::LeftButton;
        if (words.size() == 1 && words[0].startsWith("Command1_")) {
            auto* button = findChild<QPushButton*>(words[0]);
            if (!button)
                return "no such button";
            QTest::mouseClick(button, mouseButton);
            return {};
        }
        const int k = Index(words.value(0), "List1", FormModel::ListCount);
        if (k < 0)
            return "no such control";
        QPoint at;
        if (words.size() == 2 && words[1] == "blank") {
            const std::optional<QPoint> blank = Blank(k);
            if (!blank)
                return "no blank space in the list";
            at = *blank;
        } else if (words.size() == 3 && words[1] == "row") {
            bool ok = false;
            const int row = words[2].toInt(&ok);
            if (!ok || row < 0 || row >= List(k)->count())
                return "no such row";
            const QRect shown = Shown(k, row);
            if (shown.isEmpty())
                return "the row is not shown";
            at = shown.center();
        } else {
            return "not a click";
        }
        QTest::mouseClick(
            List(k)->viewport(), mouseButton, verb == "Ctrl+click" ? Qt::ControlModifier : Qt::NoModifier, at);
        return {};
    }

    QString Key(const QString&, const QString& name)
    {
        static const QHash<QString, Qt::Key> keys {{"Up", Qt::Key_Up}, {"Down", Qt::Key_Down}, {"Left", Qt::Key_Left},
            {"Right", Qt::Key_Right}, {"Home", Qt::Key_Home}, {"End", Qt::Key_End}, {"PageUp", Qt::Key_PageUp},
            {"PageDown", Qt::Key_PageDown}, {"Space", Qt::Key_Space}, {"Enter", Qt::Key_Return},
            {"Backspace", Qt::Key_Backspace}, {"Delete", Qt::Key_Delete}, {"Tab", Qt::Key_Tab}};
        const std::vector<std::string>& order = layout::FocusOrder();
        if (name == "Shift+Tab") {
            if (Focus().toStdString() == order.front())
                return "Shift+Tab past the first control";
            QTest::keyClick(Target(), Qt::Key_Backtab, Qt::ShiftModifier);
            return {};
        }
        // The window's own random sessions also hold Ctrl or Shift down.
        QString key = name;
        Qt::KeyboardModifiers modifiers;
        for (const auto& [prefix, modifier] : {std::pair {"Ctrl+", Qt::ControlModifier}, {"Shift+", Qt::ShiftModifier}})
            if (key.startsWith(prefix)) {
                key.remove(0, qstrlen(prefix));
                modifiers |= modifier;
            }
        if (!keys.contains(key))
            return "no such key";
        if (name == "Tab" && Focus().toStdString() == order.back())
            return "Tab past the last control";
        QTest::keyClick(Target(), keys[key], modifiers);
        return {};
    }
};

} // namespace nihilist
