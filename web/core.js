// SPDX-License-Identifier: GPL-3.0-or-later
// The cipher core (core.cpp compiled to WebAssembly) behind a small
// JavaScript object. The page runs it; its test runs the same module under
// node as the reference.
'use strict';

async function loadCore(wasm) {
  const size = 1 << 20; // the module's text buffer
  const imports = {
    env: {
      // Locale-aware upper-casing of one code point; 0 when the result is
      // not exactly one code point.
      upper(codePoint) {
        const upper = [...String.fromCodePoint(codePoint).toLocaleUpperCase()];
        return upper.length === 1 ? upper[0].codePointAt(0) : 0;
      },
    },
    wasi_snapshot_preview1: { proc_exit(code) { throw new Error(`core stopped (${code})`); } },
  };
  const { instance } = await WebAssembly.instantiate(wasm, imports);
  const core = instance.exports;
  core._initialize();
  const encoder = new TextEncoder();
  const decoder = new TextDecoder();
  const bytes = () => new Uint8Array(core.memory.buffer, core.nc_buffer(), size);
  // Writes the texts one after another into the buffer; their lengths in bytes.
  const put = (...texts) => {
    let at = 0;
    return texts.map((text) => {
      const { written } = encoder.encodeInto(text, bytes().subarray(at));
      at += written;
      return written;
    });
  };
  const take = (length) => decoder.decode(bytes().subarray(0, length));
  const lists = [0, 1, 2, 3];
  return {
    layout: () => JSON.parse(take(core.nc_layout())),
    setBoxes(texts) { texts.forEach((text, k) => core.nc_set_box(k, put(text)[0])); },
    boxes: () => [0, 1, 2].map((k) => take(core.nc_box(k))),
    cells: () => Array.from({ length: 25 }, (_, i) => take(core.nc_cell(i))),
    lists: () => lists.map((list) => Array.from({ length: core.nc_count(list) }, (_, row) => take(core.nc_item(list, row)))),
    selected: () => lists.map((list) => core.nc_selected(list)),
    load: () => core.nc_load(),
    encrypt: () => core.nc_encrypt(),
    clear: () => core.nc_clear(),
    select: (list, row) => core.nc_select(list, row),
    // Box k after an edit from `before` to `after`, kept within its limit;
    // cursor counts code points.
    fit(k, before, after) {
      const [b, a] = put(before, after);
      const text = take(core.nc_fit(k, b, a));
      return { text, cursor: core.nc_fitted_cursor() };
    },
  };
}

if (typeof module === 'object') module.exports = { loadCore };
