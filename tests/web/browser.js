// SPDX-License-Identifier: GPL-3.0-or-later
// What the page's tests share: Debian's browsers, headless, and a server
// for the built page (WEB_PAGE may name another build of it).
'use strict';

const fs = require('node:fs');
const http = require('node:http');
const path = require('node:path');
const puppeteer = require('puppeteer-core');

const file = process.env.WEB_PAGE || path.resolve(__dirname, '../../dist/web/nihilist-cipher.html');

// Each browser headless, in a fresh profile, without WebGL. Firefox lets a
// test put text on its clipboard without a click first. Headless Chromium
// hides scroll bars unless a test that checks them asks for them.
const launch = (name, userDataDir, { scrollBars = false } = {}) => puppeteer.launch(name === 'firefox'
  ? { browser: 'firefox', executablePath: '/usr/bin/firefox-esr', headless: true, userDataDir,
    extraPrefsFirefox: { 'webgl.disabled': true, 'dom.events.testing.asyncClipboard': true } }
  : { executablePath: '/usr/bin/chromium', headless: true, userDataDir,
    args: ['--no-sandbox', '--disable-gpu', '--disable-3d-apis', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--no-first-run', '--force-device-scale-factor=1'],
    ignoreDefaultArgs: scrollBars ? ['--hide-scrollbars'] : [] });

// Serves the built page at a local address; resolves to { url, close }.
async function serve() {
  const html = fs.readFileSync(file, 'utf8');
  const server = http.createServer((_, response) => response.writeHead(200,
    { 'Content-Type': 'text/html; charset=utf-8', 'Cache-Control': 'no-store' }).end(html));
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return { url: `http://127.0.0.1:${server.address().port}/`, close: () => server.close() };
}

async function open(browser, url, viewport = { width: 800, height: 600 }) {
  const page = await browser.newPage();
  page.errors = [];
  page.on('pageerror', (error) => page.errors.push(error.message));
  await page.setViewport(viewport);
  await page.goto(url);
  await page.waitForSelector('html[data-settled]', { timeout: 10000 });
  return page;
}

module.exports = { file, launch, serve, open };
