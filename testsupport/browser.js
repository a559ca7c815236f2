// SPDX-License-Identifier: GPL-3.0-or-later
// What the page's tests and the page's figures share: Debian's browsers, a
// server for the built page (WEB_PAGE may name another build of it),
// waiting for the page to settle, and the layout table of its core. Here,
// below both, so that a benchmark needs no test file.
'use strict';

const fs = require('node:fs');
const http = require('node:http');
const path = require('node:path');
const puppeteer = require('puppeteer-core');
const { loadCore } = require('../web/core.js');

const file = process.env.WEB_PAGE || path.resolve(__dirname, '../dist/web/nihilist-cipher.html');
// The core module inside the built page, and its layout table.
const wasm = () => Buffer.from(fs.readFileSync(file, 'utf8').match(/<script id="core"[^>]*>([^<]*)</)[1], 'base64');
const layoutTable = async () => (await loadCore(wasm())).layout();

// Each browser headless unless told, in the profile given (a fresh one if
// none), without WebGL. Firefox lets a test put text on its clipboard
// without a click first. Headless Chromium hides scroll bars unless a test
// that checks them asks for them. `prefs` are Firefox's, `args` Chromium's.
const launch = (name, userDataDir, { scrollBars = false, prefs = {}, args = [], ...options } = {}) => puppeteer.launch(
  name === 'firefox'
    ? { browser: 'firefox', executablePath: '/usr/bin/firefox-esr', headless: true, userDataDir, ...options,
      extraPrefsFirefox: { 'webgl.disabled': true, 'dom.events.testing.asyncClipboard': true, ...prefs } }
    : { executablePath: '/usr/bin/chromium', headless: true, userDataDir, ...options,
      args: ['--no-sandbox', '--disable-gpu', '--disable-3d-apis', '--disable-background-networking',
        '--disable-component-update', '--disable-sync', '--no-first-run', '--force-device-scale-factor=1', ...args],
      ignoreDefaultArgs: scrollBars ? ['--hide-scrollbars'] : [] });

const TYPES = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.json': 'application/json',
  '.png': 'image/png' };

// Serves the built page at a local address; resolves to { url, close }.
// Given a folder (a site; `root` may later name another), serves its files
// instead, notes each path asked for in `requests`, and while `offline` is
// set drops every connection, as a network that is down would.
async function serve(root = null) {
  const state = { root, offline: false, requests: [] };
  const server = http.createServer((request, response) => {
    state.requests.push(request.url);
    if (state.offline) return request.socket.destroy();
    const name = state.root ? path.join(state.root, request.url.replace(/\/$/, '/index.html')) : file;
    if (!fs.existsSync(name)) return response.writeHead(404).end();
    response.writeHead(200, { 'Content-Type': TYPES[path.extname(name)], 'Cache-Control': 'no-store' }).end(fs.readFileSync(name));
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return Object.assign(state, { url: `http://127.0.0.1:${server.address().port}/`, close: () => server.close() });
}

// Resolves once the page has done all that the last action set off: the
// next frame, which delivers the scroll events an action queued, and then
// the page's own signal (no core call, timer or restart left to run).
async function settled(page) {
  await page.evaluate(() => new Promise(requestAnimationFrame));
  await page.waitForSelector('html[data-settled]');
}

// A new page of the viewport's size, `before` run on it first, at `url`,
// settled; page.errors collects its uncaught errors.
async function open(browser, url, viewport = { width: 800, height: 600 }, before = null) {
  const page = await browser.newPage();
  page.errors = [];
  page.on('pageerror', (error) => page.errors.push(error.message));
  await page.setViewport(viewport);
  if (before) await before(page);
  await page.goto(url);
  await settled(page);
  return page;
}

module.exports = { file, wasm, layoutTable, launch, serve, settled, open };
