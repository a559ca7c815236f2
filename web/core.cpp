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

// Supplied by the page: code point `index` of the browser's upper-casing of
// one code point, 0 past its end. What to make of it is the model's rule.
extern "C" __attribute__((import_module("page"), import_name("upper"))) int PageUpperCase(int codePoint, int index);

// Declares a function the page calls, exported under its own name.
#define EXPORT(name) extern "C" __attribute__((export_name(#name)))

namespace {

using namespace nihilist;

std::string input;
std::string output;

FormModel& Model()
{
    static FormModel model([](const std::u32string& text) {
        // Unicode upper-cases one code point into at most three.
        std::u32string upper;
        for (int c = 0; upper.size() < 3
             && (c = PageUpperCase(static_cast<int>(text.front()), static_cast<int>(upper.size()))) > 0;)
            upper.push_back(static_cast<char32_t>(c));
        return upper;
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

// Every number the page hands over is checked here, and only here: one out
// of range finds nothing, and the call that got it does nothing.
bool InRange(int index, std::size_t size)
{
    return index >= 0 && static_cast<std::size_t>(index) < size;
}
template <typename Items> auto Find(Items& items, int index) -> decltype(&items[0])
{
    return InRange(index, items.size()) ? &items[static_cast<std::size_t>(index)] : nullptr;
}

std::u32string Input(int from, int length)
{
    if (!InRange(from, input.size() + 1) || !InRange(length, input.size() - static_cast<std::size_t>(from) + 1))
        return {};
    return FromUtf8(std::string_view(input).substr(static_cast<std::size_t>(from), static_cast<std::size_t>(length)));
}

ListBox* List(int list)
{
    return Find(Model().List1, list);
}

// A JSON string of UTF-8 text.
std::string Quoted(const std::string& text)
{
    return JsonString(FromUtf8(text));
}

// The browser's name of each list key (KeyboardEvent.key), for the page to
// number keys as the model does.
const char* KeyName(FormModel::ListKey key)
{
    switch (key) {
    case FormModel::ListKey::Up: return "ArrowUp";
    case FormModel::ListKey::Down: return "ArrowDown";
    case FormModel::ListKey::Home: return "Home";
    case FormModel::ListKey::End: return "End";
    case FormModel::ListKey::PageUp: return "PageUp";
    case FormModel::ListKey::PageDown: return "PageDown";
    }
    return "";
}

// How many boxes, lists and cells the model has, and its list keys.
std::string ModelJson()
{
    std::string keys;
    for (int key = 0; key < FormModel::ListKeyCount; ++key)
        keys += (key ? "," : "") + Quoted(KeyName(static_cast<FormModel::ListKey>(key)));
    return "{\"boxes\":" + std::to_string(FormModel::BoxCount) + ",\"lists\":" + std::to_string(FormModel::ListCount)
        + ",\"cells\":" + std::to_string(FormModel::CellCount) + ",\"listKeys\":[" + keys + "]}";
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
        + ",\"visibleRows\":" + std::to_string(FormModel::VisibleRows) + "},\"model\":" + ModelJson() + ",\"focus\":[";
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

// What a pupil who cannot see the window hears after Encrypt or Clear: in a
// few words, what a sighted one sees there (an emptied box, or the rows).
std::string Status(bool encrypted)
{
    const FormModel& model = Model();
    const bool noText = model.Text2[FormModel::Plain].empty();
    const bool noKey = model.Text2[FormModel::Key].empty();
    const std::size_t rows = model.List1[0].Items.size();
    if (!encrypted)
        return "Таблицата е празна.";
    if (model.KeywordRejected)
        return "Ключовата дума е отхвърлена: знак в нея се повтаря.";
    if (noText || noKey)
        return std::string(noText ? noKey ? "Текстът и ключът нямат" : "Текстът няма" : "Ключът няма")
            + " латински букви.";
    return "Таблицата има " + (rows == 1 ? std::string("един ред") : std::to_string(rows) + " реда") + ".";
}

} // namespace

EXPORT(nc_input) char* nc_input(int bytes)
{
    input.resize(static_cast<std::size_t>(bytes > 0 ? bytes : 0));
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
    if (std::u32string* box = Find(Model().Text2, k))
        *box = Input(0, length);
}
EXPORT(nc_box) int nc_box(int k)
{
    const std::u32string* box = Find(Model().Text2, k);
    return Hand(box ? *box : U"");
}
EXPORT(nc_cell) int nc_cell(int i)
{
    const std::u32string* cell = Find(Model().Label3, i);
    return Hand(cell ? *cell : U"");
}
EXPORT(nc_count) int nc_count(int list)
{
    const ListBox* box = List(list);
    return box ? static_cast<int>(box->Items.size()) : 0;
}
EXPORT(nc_item) int nc_item(int list, int row)
{
    const std::u32string* item = List(list) ? Find(List(list)->Items, row) : nullptr;
    return Hand(item ? *item : U"");
}
EXPORT(nc_selected) int nc_selected(int list)
{
    return List(list) ? List(list)->ListIndex : -1;
}
EXPORT(nc_top) int nc_top(int list)
{
    return List(list) ? List(list)->TopIndex : 0;
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
// The status after the last command: 1 for Encrypt, 0 for Clear.
EXPORT(nc_status) int nc_status(int encrypted)
{
    return Hand(Status(encrypted != 0));
}

// What the pupil does in a list; `key` counts FormModel::ListKey from 0.
EXPORT(nc_list_key) void nc_list_key(int list, int key)
{
    using Key = FormModel::ListKey;
    if (List(list) && InRange(key, FormModel::ListKeyCount))
        Model().ListKeyDown(list, static_cast<Key>(key));
}
EXPORT(nc_list_press) void nc_list_press(int list, int row)
{
    if (List(list))
        Model().ListMouseDown(list, row);
}
EXPORT(nc_list_focus) void nc_list_focus(int list, int byKeyboard)
{
    if (List(list))
        Model().ListGotFocus(list, byKeyboard != 0);
}
// 0 when the list cannot use the turn: the page scrolls instead.
EXPORT(nc_list_wheel) int nc_list_wheel(int list, int angle)
{
    return List(list) && Model().ListWheel(list, angle) ? 1 : 0;
}
EXPORT(nc_list_scroll) void nc_list_scroll(int list, int top)
{
    if (List(list))
        Model().ListScroll(list, top);
}

// Box k's text before an edit and after it lie in the input buffer one after
// the other; hands back the text to keep and the caret in it, in code points,
// as {"text": ..., "cursor": ...}.
EXPORT(nc_fit) int nc_fit(int k, int beforeLength, int afterLength)
{
    const std::size_t* limit = Find(FormModel::MaxLength, k);
    if (!limit)
        return Hand(std::string("null"));
    const LimitedText fitted = FitToLimit(Input(0, beforeLength), Input(beforeLength, afterLength), *limit);
    return Hand("{\"text\":" + JsonString(fitted.text) + ",\"cursor\":" + std::to_string(fitted.cursor) + "}");
}

// The pasted text in the input buffer on one line, as the window puts it;
// `whole` is 0 when it is only the start of what was pasted.
EXPORT(nc_one_line) int nc_one_line(int length, int whole)
{
    return Hand(OneLine(Input(0, length), whole != 0));
}
