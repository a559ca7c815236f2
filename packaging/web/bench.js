// SPDX-License-Identifier: GPL-3.0-or-later
// Figures for the browser page: bytes of what a browser downloads, raw and
// gzipped, and the time from the start of loading the page to the window's
// first paint in headless Chromium, as the median of several fresh loads.
//   node packaging/web/bench.js [loads]
'use strict';

const fs = require('node:fs');
const path = require('node:path');
const zlib = require('node:zlib');
const { serve, launch } = require('./browser');

const dist = process.env.NIHILIST_WEB_DIST || path.resolve(__dirname, '../../dist/web');
const loads = Number(process.argv[2] || 7);

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = sorted.length >> 1;
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

function sizes() {
  const rows = [];
  for (const name of ['nihilist-cipher.wasm', 'nihilist-cipher.js', 'qtloader.js', 'index.html']) {
    const data = fs.readFileSync(path.join(dist, name));
    rows.push({ name, raw: data.length, gzipped: zlib.gzipSync(data, { level: 9 }).length });
  }
  rows.push(rows.reduce((all, row) => ({ name: 'in all', raw: all.raw + row.raw, gzipped: all.gzipped + row.gzipped }),
    { raw: 0, gzipped: 0 }));
  return rows;
}

// Each load in a fresh browser context with the cache off, so that nothing
// (compiled code included) carries over from the load before.
async function loadTimes(url) {
  const browser = await launch();
  try {
    const times = [];
    for (let k = 0; k < loads; ++k) {
      const context = await browser.createBrowserContext();
      const page = await context.newPage();
      await page.setCacheEnabled(false);
      await page.setViewport({ width: 800, height: 600 });
      await page.goto(url);
      await page.waitForSelector('body[data-drawn]', { timeout: 60000 });
      times.push(await page.evaluate(() => Number(document.body.dataset.drawn)));
      await context.close();
    }
    return times;
  } finally {
    await browser.close();
  }
}

(async () => {
  const mb = (bytes) => (bytes / 1e6).toFixed(2) + ' MB';
  console.log('file                     raw        gzipped');
  for (const row of sizes()) console.log(`${row.name.padEnd(24)} ${mb(row.raw).padStart(9)}  ${mb(row.gzipped).padStart(9)}`);
  const { server, url } = await serve(dist);
  try {
    const times = await loadTimes(url);
    console.log(`page load to first paint, ${loads} loads: median ${median(times).toFixed(0)} ms ` +
      `(${Math.min(...times).toFixed(0)}–${Math.max(...times).toFixed(0)} ms)`);
  } finally {
    server.close();
  }
})().catch((error) => {
  console.error(error);
  process.exit(1);
});
