// SPDX-License-Identifier: GPL-3.0-or-later
// ESLint's recommended rules on every JavaScript file: the page's (run in
// browsers, as scripts inlined into one HTML file) and the Node ones that
// build, check and measure it.
'use strict';
const js = require('@eslint/js');
const globals = require('globals');

module.exports = [
  { ignores: ['build/', 'dist/', 'node_modules/'] },
  js.configs.recommended,
  // No function over 50 lines, a test's included.
  { files: ['**/*.js'], languageOptions: { sourceType: 'commonjs', globals: globals.node },
    rules: { 'max-lines-per-function': ['error', { max: 50 }] } },
  // The page's script and its core bridge share one page; sw.js is its worker.
  { files: ['web/page.js', 'web/core.js'], languageOptions: { sourceType: 'script', globals: { ...globals.browser, module: 'readonly' } } },
  { files: ['web/sw.js'], languageOptions: { sourceType: 'script', globals: globals.serviceworker } },
  // Functions the tests hand to page.evaluate run in the page.
  { files: ['tests/web/*.js', 'bench/*.js', 'testsupport/*.js'], languageOptions: { globals: { ...globals.node, ...globals.browser } } },
];
