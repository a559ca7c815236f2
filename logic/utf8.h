// SPDX-License-Identifier: GPL-3.0-or-later
// Conversions between UTF-8 and code points, for code that meets the cipher
// through bytes (test tables, the fuzzer, benchmarks).
#pragma once

#include <string>
#include <string_view>

namespace nihilist {

std::string ToUtf8(std::u32string_view text);
// Malformed sequences become U+FFFD, one per offending byte.
std::u32string FromUtf8(std::string_view bytes);
// A JSON string in UTF-8, escaped as JavaScript's JSON.stringify writes it,
// so that the page's core and the window's session player agree byte for byte.
std::string JsonString(std::u32string_view text);

} // namespace nihilist
