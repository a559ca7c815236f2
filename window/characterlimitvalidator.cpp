// SPDX-License-Identifier: GPL-3.0-or-later
#include "characterlimitvalidator.h"

#include "codepoints.h"
#include "textlimit.h"

namespace nihilist {

CharacterLimitValidator::CharacterLimitValidator(std::size_t limit, const QString& initial, QObject* parent)
    : QValidator(parent)
    , limit_(limit)
    , accepted_(ToCodePoints(initial))
{
}

QValidator::State CharacterLimitValidator::validate(QString& input, int& pos) const
{
    std::u32string text = ToCodePoints(input);
    if (text.size() > limit_ || text.find_first_of(U"\r\n") != std::u32string::npos) {
        // The caret stands after what went in.
        const std::size_t end = ToCodePoints(input.left(pos)).size();
        const LimitedText fitted = KeepEdit(accepted_, text, limit_, end);
        text = fitted.text;
        input = ToQString(text);
        pos = static_cast<int>(ToQString(std::u32string_view(text).substr(0, fitted.cursor)).size());
    }
    accepted_ = std::move(text);
    return Acceptable;
}

} // namespace nihilist
