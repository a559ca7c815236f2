// SPDX-License-Identifier: GPL-3.0-or-later
// Holds a line edit to a number of characters counted as Unicode code
// points, so an emoji counts once. Pasted text that does not fit is cut
// short; typing into a full box changes nothing; line breaks go as the page
// puts them. Undo and redo work as in a plain box with the same limit.
#pragma once

#include "textlimit.h"

#include <QValidator>
#include <optional>
#include <string>

class QLineEdit;

namespace nihilist {

class CharacterLimitValidator : public QValidator {
    Q_OBJECT
public:
    CharacterLimitValidator(std::size_t limit, QLineEdit* box);

    State validate(QString& input, int& pos) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void TakeKeptPart();

    std::size_t limit_;
    mutable std::u32string accepted_; // the box's text after the last edit
    mutable std::optional<LimitedText> kept_; // what to take of an edit refused as it came
    bool handling_ = false;
};

} // namespace nihilist
