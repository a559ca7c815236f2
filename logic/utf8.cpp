// SPDX-License-Identifier: GPL-3.0-or-later
#include "utf8.h"

namespace nihilist {

std::string ToUtf8(std::u32string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char32_t c : text) {
        if (c > 0x10ffff || (c >= 0xd800 && c <= 0xdfff))
            c = 0xfffd;
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xc0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3f)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xe0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3f)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3f)));
        } else {
            out.push_back(static_cast<char>(0xf0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3f)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3f)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3f)));
        }
    }
    return out;
}

std::u32string FromUtf8(std::string_view bytes)
{
    std::u32string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t length = 0;
        char32_t c = 0;
        char32_t minimum = 0;
        if (lead < 0x80) {
            length = 1, c = lead;
        } else if ((lead & 0xe0) == 0xc0) {
            length = 2, c = lead & 0x1f, minimum = 0x80;
        } else if ((lead & 0xf0) == 0xe0) {
            length = 3, c = lead & 0x0f, minimum = 0x800;
        } else if ((lead & 0xf8) == 0xf0) {
            length = 4, c = lead & 0x07, minimum = 0x10000;
        }
        bool valid = length != 0 && i + length <= bytes.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            valid = (next & 0xc0) == 0x80;
            c = (c << 6) | (next & 0x3f);
        }
        valid = valid && c >= minimum && c <= 0x10ffff && !(c >= 0xd800 && c <= 0xdfff);
        out.push_back(valid ? c : char32_t {0xfffd});
        i += valid ? length : 1;
    }
    return out;
}

std::string JsonString(std::u32string_view text)
{
    static constexpr char hex[] = "0123456789abcdef";
    std::string out = "\"";
    for (const char32_t c : text) {
        switch (c) {
        case U'"': out += "\\\""; break;
        case U'\\': out += "\\\\"; break;
        case U'\b': out += "\\b"; break;
        case U'\f': out += "\\f"; break;
        case U'\n': out += "\\n"; break;
        case U'\r': out += "\\r"; break;
        case U'\t': out += "\\t"; break;
        default: out += c < 0x20 ? std::string {'\\', 'u', '0', '0', hex[c >> 4], hex[c & 15]} : ToUtf8({&c, 1});
        }
    }
    return out + '"';
}

} // namespace nihilist
