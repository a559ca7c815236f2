// SPDX-License-Identifier: GPL-3.0-or-later
#include "textlimit.h"

#include <algorithm>

namespace nihilist {

LimitedText FitToLimit(const std::u32string& before, const std::u32string& after, std::size_t limit)
{
    if (after.size() <= limit)
        return {after, after.size()};

    // The edit replaced before[prefix, before.size() - suffix) with
    // after[prefix, after.size() - suffix).
    const std::size_t shorter = std::min(before.size(), after.size());
    std::size_t prefix = 0;
    while (prefix < shorter && before[prefix] == after[prefix])
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < shorter - prefix && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;

    const std::size_t kept = prefix + suffix;
    if (kept > limit) // the old text was already too long: keep its start
        return {after.substr(0, limit), limit};

    const std::size_t inserted = std::min(after.size() - kept, limit - kept);
    std::u32string text = after.substr(0, prefix + inserted);
    text.append(after, after.size() - suffix, suffix);
    return {text, prefix + inserted};
}

} // namespace nihilist
