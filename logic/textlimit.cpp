// SPDX-License-Identifier: GPL-3.0-or-later
#include "textlimit.h"

#include <algorithm>

namespace nihilist {

namespace {

// The edit replaced before[prefix, before.size() - suffix) with
// after[prefix, after.size() - suffix); when `end` is known, what follows it
// in `after` was there before.
struct Changed {
    std::size_t prefix = 0, suffix = 0;
};

Changed Compare(const std::u32string& before, const std::u32string& after, std::size_t end)
{
    const bool known = end != std::u32string::npos;
    end = std::min(end, after.size());
    const std::size_t shorter = std::min(before.size(), after.size());
    const std::size_t tail = known ? std::min(after.size() - end, before.size()) : 0;
    Changed changed;
    std::size_t& prefix = changed.prefix;
    while (prefix < std::min({shorter, end, before.size() - tail}) && before[prefix] == after[prefix])
        ++prefix;
    const std::size_t most = known ? std::min(shorter - prefix, tail) : shorter - prefix;
    std::size_t& suffix = changed.suffix;
    while (suffix < most && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    return changed;
}

} // namespace

LimitedText FitToLimit(const std::u32string& before, const std::u32string& after, std::size_t limit, std::size_t end)
{
    if (after.size() <= limit)
        return {after, after.size()};

    const auto [prefix, suffix] = Compare(before, after, end);
    const std::size_t kept = prefix + suffix;
    if (kept > limit) // the old text was already too long: keep its start
        return {after.substr(0, limit), limit};

    const std::size_t inserted = std::min(after.size() - kept, limit - kept);
    std::u32string text = after.substr(0, prefix + inserted);
    text.append(after, after.size() - suffix, suffix);
    return {text, prefix + inserted};
}

std::u32string OneLine(std::u32string_view text, bool whole)
{
    if (whole) // npos + 1 is 0: nothing but line breaks
        text = text.substr(0, text.find_last_not_of(U"\r\n") + 1);
    std::u32string line;
    line.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool crlf = text[i] == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n';
        line += text[i] == U'\r' || text[i] == U'\n' ? U' ' : text[i];
        i += crlf ? 1 : 0;
    }
    return line;
}

LimitedText KeepEdit(const std::u32string& before, const std::u32string& after, std::size_t limit, std::size_t end)
{
    if (after.find_first_of(U"\r\n") == std::u32string::npos)
        return FitToLimit(before, after, limit, end);
    const auto [prefix, suffix] = Compare(before, after, end);
    std::u32string text
        = after.substr(0, prefix) + OneLine(std::u32string_view(after).substr(prefix, after.size() - prefix - suffix));
    const std::size_t caret = text.size();
    text.append(after, after.size() - suffix, suffix);
    const LimitedText kept = FitToLimit(before, text, limit, caret);
    return {kept.text, text.size() <= limit ? caret : kept.cursor};
}

} // namespace nihilist
