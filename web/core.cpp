// SPDX-License-Identifier: GPL-3.0-or-later
// The cipher core as a WebAssembly module for the browser page: a narrow C
// interface over one FormModel. Text crosses in UTF-8 through one shared
// buffer: the page writes into it before a call, and calls that hand text
// back write it there and return its length in bytes.
#include "formmodel.h"
#include "layouttable.h"
#include "textlimit.h"
#include "utf8.h"

#include <cstddef>
#include <string>

// Supplied by the page: the browser's upper-casing of one code point, or 0
// when that would not give exactly one.
extern "C" __attribute__((import_module("env"), import_name("upper"))) int PageUpperCase(int codePoint);

namespace {

using namespace nihilist;

constexpr std::size_t BufferSize = 1 << 20; // as core.js expects
char buffer[BufferSize];

FormModel& Model()
{
    static FormModel model([](const std::u32string& text) {
        const int upper = PageUpperCase(static_cast<int>(text.front()));
        return upper > 0 ? std::u32string(1, static_cast<char32_t>(upper)) : text;
    });
    return model;
}

int Hand(const std::string& text)
{
    const std::size_t length = text.size() < BufferSize ? text.size() : BufferSize;
    text.copy(buffer, length);
    return static_cast<int>(length);
}

int Hand(const std::u32string& text)
{
    return Hand(ToUtf8(text));
}

std::string Quoted(const std::string& text)
{
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
}

// The layout table as JSON, for the page to build its controls from.
std::string LayoutJson()
{
    using namespace layout;
    const auto rgb = [](const Rgb& c) {
        return "[" + std::to_string(c.red) + "," + std::to_string(c.green) + "," + std::to_string(c.blue) + "]";
    };
    std::string json = "{\"caption\":" + Quoted(WindowCaption) + ",\"twipsPerPixel\":" + std::to_string(TwipsPerPixel)
        + ",\"client\":[" + std::to_string(ClientWidth) + "," + std::to_string(ClientHeight)
        + "],\"colour\":" + rgb(WindowColour) + ",\"focus\":[";
    for (const std::string& name : FocusOrder())
        json += Quoted(name) + (&name == &FocusOrder().back() ? "" : ",");
    json += "],\"controls\":[";
    for (const Control& c : Controls()) {
        const TwipsRect& r = c.twips;
        json += "{\"name\":" + Quoted(c.name) + ",\"twips\":[" + std::to_string(r.left) + "," + std::to_string(r.top)
            + "," + std::to_string(r.width) + "," + std::to_string(r.height) + "],\"background\":"
            + (c.background ? rgb(*c.background) : "null") + ",\"caption\":" + Quoted(c.caption)
            + ",\"accessible\":" + Quoted(c.accessible) + ",\"limit\":" + std::to_string(c.limit)
            + ",\"inFrame\":" + (c.inFrame ? "true" : "false") + ",\"shown\":" + (c.shown ? "true" : "false") + "},";
    }
    json.back() = ']';
    return json + "}";
}

std::size_t fittedCursor = 0;

} // namespace

extern "C" {

char* nc_buffer() { return buffer; }
int nc_layout() { return Hand(LayoutJson()); }

void nc_set_box(int k, int length) { Model().Text2.at(k) = FromUtf8({buffer, static_cast<std::size_t>(length)}); }
int nc_box(int k) { return Hand(Model().Text2.at(k)); }
int nc_cell(int i) { return Hand(Model().Label3.at(i)); }
int nc_count(int list) { return static_cast<int>(Model().List1.at(list).Items.size()); }
int nc_item(int list, int row) { return Hand(Model().List1.at(list).Items.at(row)); }
int nc_selected(int list) { return Model().List1.at(list).ListIndex; }

void nc_load() { Model().ResetSquare(); }
void nc_encrypt() { Model().Encrypt(); }
void nc_clear() { Model().Clear(); }

void nc_select(int list, int row)
{
    Model().List1.at(list).ListIndex = row;
    Model().SelectRow(list);
}

// Box k's text before an edit and after it lie in the buffer one after the
// other; hands back the text to keep, and nc_fitted_cursor() the caret.
int nc_fit(int k, int beforeLength, int afterLength)
{
    const std::u32string before = FromUtf8({buffer, static_cast<std::size_t>(beforeLength)});
    const std::u32string after = FromUtf8({buffer + beforeLength, static_cast<std::size_t>(afterLength)});
    const LimitedText fitted = FitToLimit(before, after, FormModel::MaxLength.at(k));
    fittedCursor = fitted.cursor;
    return Hand(fitted.text);
}
int nc_fitted_cursor() { return static_cast<int>(fittedCursor); }

} // extern "C"
