// SPDX-License-Identifier: GPL-3.0-or-later
// Holds a line edit to a number of characters counted as Unicode code
// points, so an emoji counts once. Pasted text that does not fit is cut
// short; typing into a full box changes nothing; line breaks go as the page
// puts them.
#pragma once

#include <QValidator>
#include <string>

namespace nihilist {

class CharacterLimitValidator : public QValidator {
    Q_OBJECT
public:
    CharacterLimitValidator(std::size_t limit, const QString& initial, QObject* parent);

    State validate(QString& input, int& pos) const override;

private:
    std::size_t limit_;
    mutable std::u32string accepted_; // the box's text after the last edit
};

} // namespace nihilist
