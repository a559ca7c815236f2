#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the browser page, one file holding everything:
# dist/web/nihilist-cipher.html. The cipher core (logic/) is compiled to
# WebAssembly with emscripten; the page's fallback font comes from font.py.
# Then the same page as a site that installs and works offline,
# dist/web/site/ (site.js), and that site zipped with a README for a
# school's IT, dist/nihilist-cipher-web.zip.
set -euo pipefail
cd "$(dirname "$0")/.."
out=build/web
# Nothing of an earlier build may end up in the page.
rm -rf "$out/core.wasm" "$out/serif.woff2" "$out/zip" dist/web dist/nihilist-cipher-web.zip
mkdir -p "$out" dist/web

# core.cpp names its exports; imports.js declares its one import. Memory
# grows with the text handed over.
em++ -std=c++20 -Oz -flto -fno-exceptions -fno-rtti -Wall -Wextra -Ilogic \
    logic/*.cpp web/core.cpp -o "$out/core.wasm" --js-library web/imports.js \
    --no-entry -sSTANDALONE_WASM -sMALLOC=emmalloc -sINITIAL_MEMORY=4MB -sALLOW_MEMORY_GROWTH -sTOTAL_STACK=256KB

/usr/bin/python3 web/font.py "$out/serif.woff2"

node - "$out" <<'JS'
const fs = require('node:fs');
const out = process.argv[2];
const base64 = (file) => fs.readFileSync(file).toString('base64');
const texts = {};
for (const name of ['explanation.txt', 'aphorism.txt']) texts[name] = fs.readFileSync(`resources/${name}`, 'utf8');
const parts = {
  ICON: base64('resources/icon.png'),
  FONT: base64(`${out}/serif.woff2`),
  TEXTS: JSON.stringify(texts).replace(/</g, '\\u003c'),
  CORE: base64(`${out}/core.wasm`),
  CORE_JS: fs.readFileSync('web/core.js', 'utf8').replace(/^if \(typeof module.*\n/m, ''),
  PAGE_JS: fs.readFileSync('web/page.js', 'utf8'),
};
const page = fs.readFileSync('web/page.html', 'utf8').replace(/@([A-Z_]+)@/g, (_, key) => parts[key]);
fs.writeFileSync('dist/web/nihilist-cipher.html', page);
JS
gzip -9c dist/web/nihilist-cipher.html | wc -c | xargs printf 'dist/web/nihilist-cipher.html: %s bytes, %s gzipped\n' "$(stat -c %s dist/web/nihilist-cipher.html)"

node web/site.js
zip=$out/zip/nihilist-cipher-web
mkdir -p "$zip"
cp -r dist/web/site "$zip/"
sed 's/$/\r/' web/README.txt >"$zip/README.txt"
/usr/bin/python3 -m zipfile -c dist/nihilist-cipher-web.zip "$zip"
