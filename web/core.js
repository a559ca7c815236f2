// SPDX-License-Identifier: GPL-3.0-or-later
// The cipher core (core.cpp compiled to WebAssembly) behind a small
// JavaScript object. `wasm` is the module's bytes or the module already
// compiled, so that a fresh core starts without compiling again.
'use strict';

// What the module imports: the page's upper-casing (code point `index` of
// the locale-aware upper-casing of one code point; 0 past its end), and
// what emscripten's runtime would otherwise supply.
const coreImports = () => ({
  page: {
    upper: (codePoint, index) => [...String.fromCodePoint(codePoint).toLocaleUpperCase()][index]?.codePointAt(0) ?? 0,
  },
  env: { emscripten_notify_memory_growth() {} },
  wasi_snapshot_preview1: { proc_exit(code) { throw new Error(`core stopped (${code})`); } },
});

// Text across the module's memory: `put` hands texts to the core one after
// another in its input buffer, sized for them, and gives their lengths in
// bytes; `take` reads the core's answer of `length` bytes.
function textBridge(core) {
  const encoder = new TextEncoder();
  const decoder = new TextDecoder();
  const put = (...texts) => {
    const encoded = texts.map((text) => encoder.encode(text));
    const at = core.nc_input(encoded.reduce((sum, bytes) => sum + bytes.length, 0));
    // Taken after the call: making room may have grown the memory.
    const memory = new Uint8Array(core.memory.buffer);
    let offset = at;
    for (const bytes of encoded) {
      memory.set(bytes, offset);
      offset += bytes.length;
    }
    return encoded.map((bytes) => bytes.length);
  };
  const take = (length) => decoder.decode(new Uint8Array(core.memory.buffer, core.nc_output(), length));
  return { put, take };
}

async function loadCore(wasm) {
  const made = await WebAssembly.instantiate(wasm, coreImports());
  const core = (made.instance || made).exports;
  core._initialize();
  const { put, take } = textBridge(core);
  const layout = () => JSON.parse(take(core.nc_layout()));
  // How many boxes, lists and cells, and the list keys in the model's order,
  // from the layout table; read at the first call, so that a failure then is
  // the page's, not the module's.
  let counts = null;
  const model = () => (counts ??= layout().model);
  const each = (count, item) => Array.from({ length: count }, (_, i) => item(i));
  const lists = (item) => each(model().lists, item);
  return {
    module: made.module || wasm,
    layout,
    setBoxes(texts) { texts.forEach((text, k) => core.nc_set_box(k, put(text)[0])); },
    boxes: () => each(model().boxes, (k) => take(core.nc_box(k))),
    cells: () => each(model().cells, (i) => take(core.nc_cell(i))),
    lists: () => lists((list) => each(core.nc_count(list), (row) => take(core.nc_item(list, row)))),
    selected: () => lists((list) => core.nc_selected(list)),
    tops: () => lists((list) => core.nc_top(list)),
    load: () => core.nc_load(),
    encrypt: () => core.nc_encrypt(),
    clear: () => core.nc_clear(),
    status: (encrypted) => take(core.nc_status(encrypted ? 1 : 0)),
    // What the pupil does in list k. A key is a KeyboardEvent key name;
    // a press on row -1 is one on blank space; a wheel angle counts eighths
    // of a degree, positive away from the pupil.
    listKey(k, key) {
      const code = model().listKeys.indexOf(key);
      if (code >= 0) core.nc_list_key(k, code);
      return code >= 0;
    },
    listPress: (k, row) => core.nc_list_press(k, row),
    listFocus: (k, byKeyboard) => core.nc_list_focus(k, byKeyboard ? 1 : 0),
    listWheel: (k, angle) => core.nc_list_wheel(k, angle) === 1, // false: the list cannot use it
    listScroll: (k, top) => core.nc_list_scroll(k, top),
    // Pasted text on one line; `whole`: false when it is only its start.
    oneLine: (text, whole) => take(core.nc_one_line(put(text)[0], whole ? 1 : 0)),
    // Box k after an edit from `before` to `after`, kept within its limit;
    // cursor counts code points.
    fit(k, before, after) {
      const [b, a] = put(before, after);
      return JSON.parse(take(core.nc_fit(k, b, a)));
    },
  };
}

if (typeof module === 'object') module.exports = { loadCore, coreImports, textBridge };
