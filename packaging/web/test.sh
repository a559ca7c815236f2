#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the page in headless Chromium against the desktop window drawn
# offscreen. Needs dist/web (build.sh) and the desktop build's tools.
set -euo pipefail
cd "$(dirname "$0")/../.."

cmake --preset default >/dev/null
cmake --build --preset default --target nihilist-web-reference
rm -rf build/web-reference build/web-test
QT_QPA_PLATFORM=offscreen build/default/tools/nihilist-web-reference build/web-reference

packaging/web/npm-install.sh
node --test packaging/web/page.test.js
