#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sizes of the page and its load time in headless Chromium (needs dist/web).
set -euo pipefail
cd "$(dirname "$0")"
./npm-install.sh
node bench.js "${1:-7}"
