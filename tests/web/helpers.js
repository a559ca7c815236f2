// SPDX-License-Identifier: GPL-3.0-or-later
// What the page's tests share beyond the browsers and the server
// (testsupport/browser.js): one describe a browser, and the pupil's and the
// tests' hands and eyes: a tap, a key chord, a pixel, an axe-core audit,
// what the boxes and the cipher list show.
'use strict';

const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { describe, before, after } = require('node:test');
const { PNG } = require('pngjs');
const { launch, serve, settled } = require('../../testsupport/browser.js');

const axe = fs.readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8');
// The stored example after Encrypt: the twenty cipher numbers of DYNAMITE
// WINTER PALACE under the keyword ZEBRAS and the key RUSSIAN.
const CIPHER = '37 106 62 36 67 47 86 26 104 53 62 77 27 55 57 66 55 36 54 27';

// A describe for each browser of WEB_BROWSERS (chromium,firefox). `body(it)`
// declares its tests; they find in `it` the browser's `name`, the `browser`,
// launched with what `options(it)` gives in a fresh profile, and a `server`
// of the page (or of the folder `site`).
function eachBrowser(body, { options = () => ({}), site } = {}) {
  for (const name of (process.env.WEB_BROWSERS || 'chromium,firefox').split(',')) {
    describe(name, () => {
      const it = { name };
      const profile = fs.mkdtempSync(path.join(os.tmpdir(), `nihilist-${name}-`));
      before(async () => {
        it.browser = await launch(name, profile, await options(it));
        it.server = await serve(site);
      });
      after(async () => {
        await it.browser?.close();
        it.server?.close();
        fs.rmSync(profile, { recursive: true, force: true });
      });
      body(it);
    });
  }
}

// A tap in the middle of what `selector` finds, scrolled into view first
// (a row, with its list).
async function tap(page, selector) {
  await page.$eval(selector, (e) => (e.closest('[role=listbox]') || e).scrollIntoView({ block: 'nearest' }));
  const box = await (await page.$(selector)).boundingBox();
  await page.touchscreen.tap(box.x + box.width / 2, box.y + box.height / 2);
}

// Keys held down in turn and let go the other way round: 'Control+KeyZ'.
async function chord(page, keys) {
  const held = keys.split('+');
  for (const key of held) await page.keyboard.down(key);
  for (const key of held.reverse()) await page.keyboard.up(key);
}

// The colour of the screen's pixel `dx`, `dy` from the top left of what
// `selector` finds, or of the page.
async function pixel(page, selector, dx, dy) {
  const r = selector ? await (await page.$(selector)).boundingBox() : { x: 0, y: 0 };
  const clip = { x: Math.round(r.x + dx), y: Math.round(r.y + dy), width: 1, height: 1 };
  return [...PNG.sync.read(await page.screenshot({ clip })).data.subarray(0, 3)];
}

// axe-core's violations on the page as it stands, one line each.
async function audit(page) {
  await page.addScriptTag({ content: axe });
  const violations = await page.evaluate(async () => (await window.axe.run(document)).violations);
  return violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`);
}

// What the boxes hold and the cipher list shows, once the page has settled.
async function shown(page) {
  await settled(page);
  return page.evaluate(() => ({
    boxes: [...document.querySelectorAll('[id^=Text2_]')].map((box) => box.value),
    cipher: [...document.getElementById('List1_2').children].map((row) => row.textContent).join(' '),
  }));
}

module.exports = { CIPHER, eachBrowser, tap, chord, pixel, audit, shown };
