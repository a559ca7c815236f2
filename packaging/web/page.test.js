// SPDX-License-Identifier: GPL-3.0-or-later
// The browser page against the desktop window. The desktop reference tool
// (tools/webreference.cpp) draws the window offscreen in a series of states
// and records the clicks and keys that lead to each; this test repeats them
// on the page in headless Chromium with real mouse and key events and
// compares the page's window area with the desktop picture at every state.
//   node --test packaging/web/page.test.js
// Folders (environment): NIHILIST_WEB_DIST (dist/web), NIHILIST_WEB_REFERENCE
// (the reference tool's output), NIHILIST_WEB_OUTPUT (pictures of failures).
'use strict';

const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const { describe, before, after, test } = require('node:test');
const { serve, launch, openPage, canvasBox, readPng, compare, PNG } = require('./browser');

const repo = path.resolve(__dirname, '../..');
const dist = process.env.NIHILIST_WEB_DIST || path.join(repo, 'dist/web');
const reference = process.env.NIHILIST_WEB_REFERENCE || path.join(repo, 'build/web-reference');
const output = process.env.NIHILIST_WEB_OUTPUT || path.join(repo, 'build/web-test');

// Both sides draw with Qt's raster engine and the same font file, hinted
// slightly (the page asks for it; the desktop gets it from Debian's font
// configuration). What may be left is the odd antialiased edge and the text
// caret, whose blinking the two sides do not share. A pixel counts as differing when a channel is off
// by more than Tolerance; a state passes when at most MaxShare of the
// window's pixels differ.
const Tolerance = 8;
const MaxShare = 0.001;
const SettleMs = 15000;

const steps = JSON.parse(fs.readFileSync(path.join(reference, 'steps.json'), 'utf8'));

async function pressChord(page, chord) {
  const keys = chord.split('+');
  const main = keys.pop();
  for (const modifier of keys) await page.keyboard.down(modifier);
  await page.keyboard.press(main);
  for (const modifier of keys.reverse()) await page.keyboard.up(modifier);
}

async function perform(page, box, step) {
  if (step.click) {
    await page.mouse.click(box.x + step.click.x, box.y + step.click.y);
  } else if (step.keys) {
    for (const chord of step.keys) await pressChord(page, chord);
  } else if (step.type !== undefined) {
    await page.keyboard.type(step.type, { delay: 10 });
  } else {
    throw new Error(`unknown step ${JSON.stringify(step)}`);
  }
  // Off the window, so that no hover highlight stays where the desktop
  // reference, clicked without a pointer, shows none.
  await page.mouse.move(1, 1);
}

async function windowPicture(page, box) {
  const png = await page.screenshot({ clip: { x: box.x, y: box.y, width: box.width, height: box.height } });
  return PNG.sync.read(png);
}

// Takes pictures until one matches or the time is up; the page draws in
// animation frames, so a state may take a frame or two to show.
async function settle(page, box, expected) {
  const deadline = Date.now() + SettleMs;
  for (;;) {
    const actual = await windowPicture(page, box);
    const result = compare(actual, expected, Tolerance);
    if (result.share <= MaxShare || Date.now() > deadline) return { actual, result };
    await new Promise((resolve) => setTimeout(resolve, 250));
  }
}

function describeDifference(name, result, files) {
  if (result.sizeMismatch) return `${name}: the page's window is not the desktop window's size`;
  const b = result.box;
  return `${name}: ${result.differing} pixels differ (${(100 * result.share).toFixed(3)} %, at most ` +
    `${(100 * MaxShare).toFixed(3)} % allowed), within x ${b.left}..${b.right}, y ${b.top}..${b.bottom}; ` +
    `see ${files.join(', ')}`;
}

describe('the browser page', () => {
  let server;
  let browser;
  let page;
  let problems;
  let box;

  before(async () => {
    assert.ok(fs.existsSync(path.join(dist, 'index.html')), `no page in ${dist}: run ./dev web`);
    let url;
    ({ server, url } = await serve(dist));
    browser = await launch();
    ({ page, problems } = await openPage(browser, url, { width: steps.width + 200, height: steps.height + 160 }));
    box = await canvasBox(page);
    fs.mkdirSync(output, { recursive: true });
  });

  after(async () => {
    if (browser) await browser.close();
    if (server) server.close();
  });

  test('shows the window alone, at its own size, centred on its colour, titled and with its icon', async () => {
    assert.deepEqual([box.width, box.height], [steps.width, steps.height]);
    const viewport = page.viewport();
    assert.ok(Math.abs(box.x + box.width / 2 - viewport.width / 2) <= 1, `canvas not centred across: ${JSON.stringify(box)}`);
    assert.ok(Math.abs(box.y + box.height / 2 - viewport.height / 2) <= 1, `canvas not centred down: ${JSON.stringify(box)}`);

    const shown = await page.evaluate(async () => {
      const icon = document.querySelector('link[rel=icon]');
      const response = await fetch(icon.href);
      const note = document.getElementById('note');
      return {
        title: document.title,
        background: getComputedStyle(document.body).backgroundColor,
        icon: Array.from(new Uint8Array(await response.arrayBuffer())),
        note: note.textContent,
        noteShown: getComputedStyle(note).display !== 'none',
      };
    });
    assert.equal(shown.title, steps.title);
    assert.equal(shown.background, `rgb(${steps.background.join(', ')})`);
    assert.deepEqual(Buffer.from(shown.icon), fs.readFileSync(path.join(repo, 'resources/icon.png')));
    assert.match(shown.note, /[А-Яа-я]{4}/, 'the loading note is in Bulgarian');
    assert.equal(shown.noteShown, false, 'the loading note is hidden once the window runs');
  });

  for (const state of steps.states) {
    test(`matches the desktop window: ${state.name}`, async (t) => {
      for (const step of state.steps) await perform(page, box, step);
      const expected = readPng(path.join(reference, `${state.name}.png`));
      const { actual, result } = await settle(page, box, expected);
      const identical = result.sizeMismatch ? 0 : expected.width * expected.height - compare(actual, expected, 0).differing;
      t.diagnostic(`${state.name}: ${result.differing} of ${expected.width * expected.height} pixels differ ` +
        `(${(100 * result.share).toFixed(3)} %), ${identical} identical to the bit`);
      if (result.share > MaxShare) {
        const files = [`${state.name}-page.png`, `${state.name}-desktop.png`, `${state.name}-diff.png`]
          .map((name) => path.join(output, name));
        fs.writeFileSync(files[0], PNG.sync.write(actual));
        fs.copyFileSync(path.join(reference, `${state.name}.png`), files[1]);
        if (result.diff) fs.writeFileSync(files[2], PNG.sync.write(result.diff));
        assert.fail(describeDifference(state.name, result, files));
      }
    });
  }

  test('ran without errors in the page', () => {
    assert.deepEqual(problems, []);
  });
});
