// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps an input box within its character limit, counting Unicode code
// points, whatever way the text arrived (typing, pasting, dropping).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace nihilist {

struct LimitedText {
    std::u32string text;
    std::size_t cursor = 0; // in code points, just after what was inserted
};

// Given a box's text before and after an edit, returns the text to keep: the
// edit itself when it fits, otherwise the edit with its inserted part cut
// short so that the whole holds at most `limit` characters. What was there
// before is never pushed out by new input. `end`, when known, is where the
// inserted part ends in `after` (the caret).
LimitedText FitToLimit(const std::u32string& before, const std::u32string& after, std::size_t limit,
    std::size_t end = std::u32string::npos);

// Pasted text on one line, as browsers put it into a one-line box: the line
// breaks at its end dropped, each other one (CR LF, CR or LF) a space.
// `whole` is false when the text is only the start of what was pasted.
std::u32string OneLine(std::u32string_view text, bool whole = true);

// What a box keeps of an edit: its inserted part on one line, then fitted
// to the limit.
LimitedText KeepEdit(const std::u32string& before, const std::u32string& after, std::size_t limit,
    std::size_t end = std::u32string::npos);

} // namespace nihilist
