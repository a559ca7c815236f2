#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the window for the browser and writes dist/web/.
#   QT_WASM=<folder or tarball> packaging/web/build.sh
# Without QT_WASM, Qt for WebAssembly comes from the cache, built there from
# source the first time (see qt-wasm.sh).
set -euo pipefail
cd "$(dirname "$0")/../.."

QT_WASM=$(packaging/web/qt-wasm.sh ${QT_WASM:+"$QT_WASM"} | tail -1)
EMSDK=$(packaging/web/qt-wasm.sh --emsdk | tail -1)
# emcc's JavaScript optimiser needs Debian's acorn, whichever node runs it.
NODE_PATH=/usr/share/nodejs
export QT_WASM EMSDK NODE_PATH
echo "Qt for WebAssembly: $QT_WASM"

cmake --preset web >/dev/null
cmake --build --preset web
ls -l dist/web
