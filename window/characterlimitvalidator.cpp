#include "characterlimitvalidator.h"

#include "textlimit.h"

namespace nihilist {

namespace {

std::u32string CodePoints(const QString& text)
{
    const QList<uint> ucs4 = text.toUcs4();
    return {ucs4.begin(), ucs4.end()};
}

} // namespace

CharacterLimitValidator::CharacterLimitValidator(std::size_t limit, const QString& initial, QObject* parent)
    : QValidator(parent)
    , limit_(limit)
    , accepted_(CodePoints(initial))
{
}

QValidator::State CharacterLimitValidator::validate(QString& input, int& pos) const
{
    std::u32string text = CodePoints(input);
    if (text.size() > limit_) {
        const LimitedText fitted = FitToLimit(accepted_, text, limit_);
        text = fitted.text;
        input = QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
        pos = static_cast<int>(QString::fromUcs4(text.data(), static_cast<qsizetype>(fitted.cursor)).size());
    }
    accepted_ = std::move(text);
    return Acceptable;
}

} // namespace nihilist
