#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the test's Node packages from package-lock.json, again whenever
# the lock changes. puppeteer-core drives the system's Chromium and
# downloads no browser.
set -euo pipefail
cd "$(dirname "$0")"
if ! [ node_modules/.installed -nt package-lock.json ]; then
    PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error
    touch node_modules/.installed
fi
