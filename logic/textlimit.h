// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps an input box within its character limit, counting Unicode code
// points, whatever way the text arrived (typing, pasting, dropping).
#pragma once

#include <cstddef>
#include <string>

namespace nihilist {

struct LimitedText {
    std::u32string text;
    std::size_t cursor = 0; // in code points, just after what was inserted
};

// Given a box's text before and after an edit, returns the text to keep: the
// edit itself when it fits, otherwise the edit with its inserted part cut
// short so that the whole holds at most `limit` characters. What was there
// before is never pushed out by new input.
LimitedText FitToLimit(const std::u32string& before, const std::u32string& after, std::size_t limit);

} // namespace nihilist
