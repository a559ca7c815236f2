// SPDX-License-Identifier: GPL-3.0-or-later
// The cipher core as a WebAssembly module for the browser page: a narrow C
// interface over one FormModel. Text crosses in UTF-8: the page asks for an
// input buffer of the size it needs and writes into it before a call; calls
// that hand text back leave it in the output buffer and return its length
// in bytes. Both grow with the text (the module's memory grows too), so a
// pasted megabyte reaches the box's limit instead of stopping the core.
#include "formmodel.h"
#include "layouttable.h"
#include "textlimit.h"
#include "utf8.h"

#include <cstddef>
#include <string>

// Supplied by the page: the browser's upper-casing of one code point, or 0
// when that would not give exactly one.
extern "C" __attribute__((import_module("page"), import_name("upper"))) int PageUpperCase(int codePoint);

// Declares a function the page calls, exported under its own name.
#define EXPORT(name) extern "C" __attribute__((export_name(#name)))

namespace {

using namespace nihilist;

std::string input;
std::string output;

FormModel& Model()
{
    static FormModel model([](const std::u32string& text) {
        const int upper = PageUpperCase(static_cast<int>(text.front()));
        return upper > 0 ? std::u32string(1, static_cast<char32_t>(upper)) : text;
    });
    return model;
}

int Hand(std::string text)
{
    output = std::move(text);
    return static_cast<int>(output.size());
}

int Hand(const std::u32string& text)
{
    return Hand(ToUtf8(text));
}

std::u32string Input(int from, int length)
{
    return FromUtf8(std::string_view(input).substr(static_cast<std::size_t>(from), static_cast<std::size_t>(length)));
}

// Out-of-range numbers from the page are ignored rather than trusted.
bool IsList(int list)
{
    return list >= 0 && list < static_cast<int>(Model().List1.size());
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
        + "],\"colour\":" + rgb(WindowColour) + ",\"pickedRow\":" + rgb(PickedRowColour) + ",\"list\":{\"rowTwips\":"
        + std::to_string(ListRowTwips) + ",\"borderTwips\":" + std::to_string(ListBorderTwips)
        + ",\"visibleRows\":" + std::to_string(ListVisibleRows) + "},\"focus\":[";
    for (const std::string& name : FocusOrder())
        json += Quoted(name) + (&name == &FocusOrder().back() ? "" : ",");
    json += "],\"controls\":[";
    for (const Control& c : Controls()) {
        const TwipsRect& r = c.twips;
        json += "{\"name\":" + Quoted(c.name) + ",\"twips\":[" + std::to_string(r.left) + "," + std::to_string(r.top)
            + "," + std::to_string(r.width) + "," + std::to_string(r.height)
            + "],\"background\":" + (c.background ? rgb(*c.background) : "null") + ",\"caption\":" + Quoted(c.caption)
            + ",\"accessible\":" + Quoted(c.accessible) + ",\"limit\":" + std::to_string(c.limit)
            + ",\"inFrame\":" + (c.inFrame ? "true" : "false") + ",\"shown\":" + (c.shown ? "true" : "false") + "},";
    }
    json.back() = ']';
    return json + "}";
}

std::size_t fittedCursor = 0;

} // namespace

EXPORT(nc_input) char* nc_input(int bytes)
{
    input.resize(static_cast<std::size_t>(bytes));
    return input.data();
}
EXPORT(nc_output) const char* nc_output()
{
    return output.data();
}
EXPORT(nc_layout) int nc_layout()
{
    return Hand(LayoutJson());
}

EXPORT(nc_set_box) void nc_set_box(int k, int length)
{
    Model().Text2.at(k) = Input(0, length);
}
EXPORT(nc_box) int nc_box(int k)
{
    return Hand(Model().Text2.at(k));
}
EXPORT(nc_cell) int nc_cell(int i)
{
    return Hand(Model().Label3.at(i));
}
EXPORT(nc_count) int nc_count(int list)
{
    return static_cast<int>(Model().List1.at(list).Items.size());
}
EXPORT(nc_item) int nc_item(int list, int row)
{
    return Hand(Model().List1.at(list).Items.at(row));
}
EXPORT(nc_selected) int nc_selected(int list)
{
    return Model().List1.at(list).ListIndex;
}
EXPORT(nc_top) int nc_top(int list)
{
    return Model().List1.at(list).TopIndex;
}

EXPORT(nc_load) void nc_load()
{
    Model().ResetSquare();
}
EXPORT(nc_encrypt) void nc_encrypt()
{
    Model().Encrypt();
}
EXPORT(nc_clear) void nc_clear()
{
    Model().Clear();
}

// What the pupil does in a list; `key` counts FormModel::ListKey from 0.
EXPORT(nc_list_key) void nc_list_key(int list, int key)
{
    using Key = FormModel::ListKey;
    if (IsList(list) && key >= static_cast<int>(Key::Up) && key <= static_cast<int>(Key::PageDown))
        Model().ListKeyDown(list, static_cast<Key>(key));
}
EXPORT(nc_list_press) void nc_list_press(int list, int row)
{
    if (IsList(list))
        Model().ListMouseDown(list, row);
}
EXPORT(nc_list_focus) void nc_list_focus(int list, int byKeyboard)
{
    if (IsList(list))
        Model().ListGotFocus(list, byKeyboard != 0);
}
EXPORT(nc_list_wheel) void nc_list_wheel(int list, int angle)
{
    if (IsList(list))
        Model().ListWheel(list, angle);
}
EXPORT(nc_list_scroll) void nc_list_scroll(int list, int top)
{
    if (IsList(list))
        Model().ListScroll(list, top);
}

// Box k's text before an edit and after it lie in the input buffer one after
// the other; hands back the text to keep, and nc_fitted_cursor() the caret.
EXPORT(nc_fit) int nc_fit(int k, int beforeLength, int afterLength)
{
    const LimitedText fitted
        = FitToLimit(Input(0, beforeLength), Input(beforeLength, afterLength), FormModel::MaxLength.at(k));
    fittedCursor = fitted.cursor;
    return Hand(fitted.text);
}
EXPORT(nc_fitted_cursor) int nc_fitted_cursor()
{
    return static_cast<int>(fittedCursor);
}
