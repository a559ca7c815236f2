// SPDX-License-Identifier: GPL-3.0-or-later
// The page's figures for the README: its size, raw and gzipped; the time
// from navigation to the first paint of the window in headless Chromium,
// served from 127.0.0.1 uncompressed, as is and over a 10 Mbit/s line with
// 20 ms latency (median of 9 loads, cache off); and its screenshots. The
// site (dist/web/site/): what a first visit downloads, each file gzipped,
// and the time to open it online and, served by its worker, offline
// (median of 10).
//   node bench/webbench.js
'use strict';

const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const zlib = require('node:zlib');
const { file, launch, serve, open } = require('../testsupport/browser.js');

const repo = path.resolve(__dirname, '..');
const html = fs.readFileSync(file);
const kb = (bytes) => `${(bytes / 1024).toFixed(1)} KB`;
const gzipped = (bytes) => zlib.gzipSync(bytes, { level: 9 }).length;
console.log(`nihilist-cipher.html: ${kb(html.length)}, gzipped ${kb(gzipped(html))}`);
const site = path.resolve(file, '../site');
const sizes = fs.readdirSync(site).map((name) => [name.endsWith('.png'), gzipped(fs.readFileSync(path.join(site, name)))]);
const total = (icons) => kb(sizes.filter(([png]) => png === icons).reduce((sum, [, size]) => sum + size, 0));
console.log(`site, first visit gzipped: ${total(false)} without the icons, icons ${total(true)}`);

// Milliseconds from navigation to the first frame after the page has built the window.
async function painted(page, url) {
  await page.evaluateOnNewDocument(() => new MutationObserver((_, observer) => {
    observer.disconnect();
    requestAnimationFrame(() => { window.windowPainted = performance.now(); });
  }).observe(document, { subtree: true, attributes: true, attributeFilter: ['data-settled'] }));
  await page.goto(url);
  return (await page.waitForFunction(() => window.windowPainted)).jsonValue();
}
const median = (t) => (t.sort((a, b) => a - b), (t[(t.length - 1) >> 1] + t[t.length >> 1]) / 2);

// The site opened 10 times online (a new visitor each time) and 10 times
// offline after one visit.
async function siteTimes(browser) {
  const server = await serve(site);
  const online = [];
  for (let run = 0; run < 10; ++run) {
    const context = await browser.createBrowserContext();
    online.push(await painted(await context.newPage(), server.url));
    await context.close();
  }
  const context = await browser.createBrowserContext();
  const first = await context.newPage();
  await first.goto(server.url);
  await first.waitForFunction(() => navigator.serviceWorker.controller);
  server.offline = true;
  const offline = [];
  for (let run = 0; run < 10; ++run) offline.push(await painted(await context.newPage(), server.url));
  await context.close();
  server.close();
  console.log(`site opened, median of 10: online ${median(online).toFixed(0)} ms, offline ${median(offline).toFixed(0)} ms`);
}

// The page's first paint, 9 loads a line (cache off): local, and over a
// 10 Mbit/s line with 20 ms latency.
async function pageTimes(browser, url) {
  for (const [label, line] of [['local', null], ['10 Mbit/s, 20 ms', { latency: 20, throughput: 10e6 / 8 }]]) {
    const times = [];
    for (let run = 0; run < 9; ++run) {
      const context = await browser.createBrowserContext();
      const page = await context.newPage();
      const cdp = await page.createCDPSession();
      await cdp.send('Network.enable');
      await cdp.send('Network.setCacheDisabled', { cacheDisabled: true });
      if (line) {
        await cdp.send('Network.emulateNetworkConditions', { offline: false, latency: line.latency,
          downloadThroughput: line.throughput, uploadThroughput: line.throughput });
      }
      times.push(await painted(page, url));
      await context.close();
    }
    times.sort((a, b) => a - b);
    console.log(`first paint of the window, ${label}: median ${times[4].toFixed(0)} ms (${times[0].toFixed(0)}–${times[8].toFixed(0)} ms)`);
  }
}

// The screenshots: the phones' whole column; forced colours as a
// high-contrast theme gives them.
async function screenshots(browser, url) {
  const phone = { height: 667, isMobile: true, hasTouch: true };
  for (const [name, viewport, forced] of [['web-desktop.png', { width: 640, height: 480 }],
    ['web-phone-375.png', { ...phone, width: 375 }], ['web-phone-320.png', { ...phone, width: 320 }],
    ['web-phone-sideways.png', { ...phone, width: 740, height: 360 }],
    ['web-forced-colours.png', { width: 640, height: 480 }, true]]) {
    const page = await open(browser, url, viewport, forced && (async (p) => {
      await (await p.createCDPSession()).send('Emulation.setEmulatedMedia', { features: [{ name: 'forced-colors', value: 'active' }] });
    }));
    await page.click('#Command1_0');
    await page.click('#List1_2 > :nth-child(3)');
    await page.screenshot({ path: path.join(repo, 'docs/screenshots', name), fullPage: viewport.isMobile });
    console.log(`wrote docs/screenshots/${name}`);
    await page.close();
  }
}

(async () => {
  const server = await serve();
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'nihilist-bench-'));
  const browser = await launch('chromium', profile);
  try {
    await pageTimes(browser, server.url);
    await siteTimes(browser);
    await screenshots(browser, server.url);
  } finally {
    await browser.close();
    server.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }
})().catch((error) => {
  console.error(error);
  process.exit(1);
});
