// SPDX-License-Identifier: GPL-3.0-or-later
#include "characterlimitvalidator.h"

#include "codepoints.h"

#include <QEvent>
#include <QLineEdit>

#include <algorithm>

namespace nihilist {

CharacterLimitValidator::CharacterLimitValidator(std::size_t limit, QLineEdit* box)
    : QValidator(box)
    , limit_(limit)
    , accepted_(ToCodePoints(box->text()))
{
    box->installEventFilter(this);
}

QValidator::State CharacterLimitValidator::validate(QString& input, int& pos) const
{
    std::u32string text = ToCodePoints(input);
    if (text.size() > limit_ || text.find_first_of(U"\r\n") != std::u32string::npos) {
        // Rewritten here, the edit would wipe the box's undo steps. So the
        // box refuses it, and what it keeps goes in as an edit of its own.
        const std::size_t end = ToCodePoints(input.left(pos)).size(); // the caret follows what went in
        const LimitedText kept = KeepEdit(accepted_, text, limit_, end);
        if (kept.text != accepted_)
            kept_ = kept;
        return Invalid;
    }
    accepted_ = std::move(text);
    return Acceptable;
}

// The events that bring text: keys (typing, pasting), an input method, a
// drop, the middle button's paste and the context menu's.
bool CharacterLimitValidator::eventFilter(QObject* watched, QEvent* event)
{
    static const QEvent::Type editing[]
        = {QEvent::KeyPress, QEvent::InputMethod, QEvent::Drop, QEvent::MouseButtonRelease, QEvent::ContextMenu};
    if (watched != parent() || handling_
        || std::find(std::begin(editing), std::end(editing), event->type()) == std::end(editing))
        return false;
    kept_.reset();
    handling_ = true;
    watched->event(event);
    handling_ = false;
    TakeKeptPart();
    return true; // delivered above
}

void CharacterLimitValidator::TakeKeptPart()
{
    auto* box = static_cast<QLineEdit*>(parent());
    if (!kept_ || ToCodePoints(box->text()) != accepted_)
        return;
    const LimitedText kept = *std::exchange(kept_, std::nullopt);
    // What the edit replaced: from the first change to what follows the caret.
    const std::size_t tail = kept.text.size() - kept.cursor;
    std::size_t from = 0;
    while (from < std::min(kept.cursor, accepted_.size() - tail) && accepted_[from] == kept.text[from])
        ++from;
    const std::u32string_view before(accepted_);
    const auto units = [](std::u32string_view text) { return static_cast<int>(ToQString(text).size()); };
    const int start = units(before.substr(0, from));
    const int length = units(before.substr(from, before.size() - tail - from));
    if (length > 0)
        box->setSelection(start, length);
    else
        box->setCursorPosition(start);
    box->insert(ToQString(std::u32string_view(kept.text).substr(from, kept.cursor - from)));
}

} // namespace nihilist
