#!/usr/bin/env bash
# Sizes of the page and its load time in headless Chromium (needs dist/web).
set -euo pipefail
cd "$(dirname "$0")"
./npm-install.sh
node bench.js "${1:-7}"
