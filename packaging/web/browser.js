// SPDX-License-Identifier: GPL-3.0-or-later
// What the page's test and its benchmark share: a static server for
// dist/web on 127.0.0.1, Debian's Chromium started headless through
// puppeteer-core, and a pixel comparison of two pictures.
'use strict';

const fs = require('node:fs');
const http = require('node:http');
const os = require('node:os');
const path = require('node:path');
const { PNG } = require('pngjs');
const puppeteer = require('puppeteer-core');

const contentTypes = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.png': 'image/png',
  '.txt': 'text/plain; charset=utf-8',
};

// Serves the files of one folder, nothing above it; resolves to the server
// and its address once it listens on a free port.
function serve(folder) {
  const root = path.resolve(folder);
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://127.0.0.1').pathname);
    const file = path.join(root, name === '/' ? 'index.html' : name);
    if (!file.startsWith(root + path.sep) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, {
      'Content-Type': contentTypes[path.extname(file)] || 'application/octet-stream',
      'Cache-Control': 'no-store',
    });
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(0, '127.0.0.1', () => resolve({ server, url: `http://127.0.0.1:${server.address().port}/` }));
  });
}

// Debian's Chromium, headless, with a profile of its own that is removed on
// close. WebGL runs on the software rasteriser, which is what Qt draws with.
async function launch() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'nihilist-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir: profile,
    args: [
      '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
      '--force-device-scale-factor=1', '--hide-scrollbars',
    ],
  });
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    fs.rmSync(profile, { recursive: true, force: true });
  };
  return browser;
}

// Opens the page and waits until the window has been drawn on it: the
// program marks the page once its first paint has reached the screen.
async function openPage(browser, url, viewport = { width: 800, height: 600 }) {
  const page = await browser.newPage();
  const problems = [];
  page.on('pageerror', (error) => problems.push(error.message));
  await page.setViewport(viewport);
  await page.goto(url);
  await page.waitForSelector('body[data-drawn]', { timeout: 60000 });
  return { page, problems };
}

// Where the canvas is on the page, in CSS pixels.
function canvasBox(page) {
  return page.evaluate(() => {
    const r = document.getElementById('qtcanvas').getBoundingClientRect();
    return { x: r.x, y: r.y, width: r.width, height: r.height };
  });
}

function readPng(file) {
  return PNG.sync.read(fs.readFileSync(file));
}

// Compares two pictures of the same size pixel by pixel. A pixel differs
// when one of its colour channels differs by more than `tolerance`. Returns
// the count, the share and the bounding box of the differing pixels, and a
// picture of them (differing pixels red over a faded copy of `expected`).
function compare(actual, expected, tolerance) {
  if (actual.width !== expected.width || actual.height !== expected.height) {
    return { sizeMismatch: true, differing: actual.width * actual.height, share: 1 };
  }
  const { width, height } = expected;
  const diff = new PNG({ width, height });
  let differing = 0;
  let box = null;
  for (let y = 0; y < height; ++y) {
    for (let x = 0; x < width; ++x) {
      const i = (y * width + x) * 4;
      let worst = 0;
      for (let c = 0; c < 3; ++c) worst = Math.max(worst, Math.abs(actual.data[i + c] - expected.data[i + c]));
      if (worst > tolerance) {
        ++differing;
        box = box
          ? { left: Math.min(box.left, x), top: Math.min(box.top, y), right: Math.max(box.right, x), bottom: Math.max(box.bottom, y) }
          : { left: x, top: y, right: x, bottom: y };
        diff.data.set([255, 0, 0, 255], i);
      } else {
        const grey = 255 - ((255 - (expected.data[i] + expected.data[i + 1] + expected.data[i + 2]) / 3) >> 2);
        diff.data.set([grey, grey, grey, 255], i);
      }
    }
  }
  return { differing, share: differing / (width * height), box, diff };
}

module.exports = { serve, launch, openPage, canvasBox, readPng, compare, PNG };
