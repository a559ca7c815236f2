// SPDX-License-Identifier: GPL-3.0-or-later
// The page's window at the three moments the window's picture test shows,
// in Chromium at desktop size (one device pixel a CSS pixel), compared pixel
// for pixel with pictures in tests/pictures/ approved once by eye:
//   page-start.png      as opened
//   page-encrypted.png  after Encrypt, the third row (N 41 21 62) clicked in
//                       the cipher list, then a click into the keyword box
//   page-cleared.png    after Clear, Tab from the Clear button into the empty code list
// Checked by eye when approved: every control where the layout puts it
// (twips / 15, as in the window's pictures: keyword box 112,32 113x27, code
// list 232,128 49x137, Encrypt 408,120 89x33, the frame's border 8..168,
// 96..272); sampled colours: window (192,192,255), captions (255,192,128),
// numbers and list headers (128,128,255), cells (255,128,0), Encrypt
// (0,255,0), Clear (255,0,0); the third row lit in all four lists, 18 pixels
// high; the focus ring on the keyword box; the focus mark on the empty code list.
//
// A pixel differs when a channel is off by more than 4; up to 6 differing
// pixels pass. A difference writes <name>.actual.png and <name>.diff.png
// (differing pixels red over a faded copy) to build/pictures/.
// PICTURES_APPROVE=1 writes the current pictures over the approved ones;
// look at them before committing. The caret is hidden: it blinks, and a
// screenshot would catch it on or off by chance. WEB_PAGE may name another
// build of the page.
//   node --test tests/web/picture.test.js
'use strict';

const assert = require('node:assert/strict');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { before, after, test } = require('node:test');
const { PNG } = require('pngjs');
const puppeteer = require('puppeteer-core');

const file = process.env.WEB_PAGE || path.resolve(__dirname, '../../dist/web/nihilist-cipher.html');
const approvedDir = path.resolve(__dirname, '../pictures');
const outputDir = path.resolve(__dirname, '../../build/pictures');
const approve = process.env.PICTURES_APPROVE === '1';
const channelTolerance = 4;
const allowedPixels = 6;

// Differing pixels red over a faded copy of the new picture.
function compare(approved, actual) {
  const marked = new PNG({ width: actual.width, height: actual.height });
  let pixels = 0;
  for (let i = 0; i < actual.data.length; i += 4) {
    const differs = [0, 1, 2].some((c) => Math.abs(approved.data[i + c] - actual.data[i + c]) > channelTolerance);
    pixels += differs;
    for (let c = 0; c < 3; ++c) marked.data[i + c] = differs ? [255, 0, 0][c] : 191 + (actual.data[i + c] >> 2);
    marked.data[i + 3] = 255;
  }
  return { pixels, marked };
}

// The result of comparing one moment; empty when it matches.
function check(name, shot) {
  const approvedFile = path.join(approvedDir, `${name}.png`);
  if (approve) return fs.writeFileSync(approvedFile, shot), '';
  fs.mkdirSync(outputDir, { recursive: true });
  const actualFile = path.join(outputDir, `${name}.actual.png`);
  const diffFile = path.join(outputDir, `${name}.diff.png`);
  fs.rmSync(actualFile, { force: true });
  fs.rmSync(diffFile, { force: true });
  const actual = PNG.sync.read(shot);
  if (!fs.existsSync(approvedFile)) return fs.writeFileSync(actualFile, shot), `${name}: no approved picture ${approvedFile}; the page is in ${actualFile}`;
  const approved = PNG.sync.read(fs.readFileSync(approvedFile));
  if (approved.width !== actual.width || approved.height !== actual.height) {
    fs.writeFileSync(actualFile, shot);
    return `${name}: ${actual.width}x${actual.height} instead of ${approved.width}x${approved.height}; see ${actualFile}`;
  }
  const { pixels, marked } = compare(approved, actual);
  if (pixels <= allowedPixels) return '';
  fs.writeFileSync(actualFile, shot);
  fs.writeFileSync(diffFile, PNG.sync.write(marked));
  return `${name}: ${pixels} pixels differ; see ${actualFile} and ${diffFile}`;
}

const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'nihilist-pictures-'));
let browser;
before(async () => {
  browser = await puppeteer.launch({ executablePath: '/usr/bin/chromium', headless: true, userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--disable-3d-apis', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--no-first-run', '--force-device-scale-factor=1'] });
});
after(async () => {
  await browser?.close();
  fs.rmSync(profile, { recursive: true, force: true });
});

test('the page looks as approved at start, after Encrypt and after Clear', async (t) => {
  // Each moment: its picture, what leads to it, where the focus then is.
  const moments = [
    ['page-start', async () => {}, 'Text1_0'],
    ['page-encrypted', async (page) => {
      await page.click('#Command1_0');
      await page.click('#List1_2 > :nth-child(3)');
      // Past the end of ZEBRAS, as in the window.
      const box = await (await page.$('#Text2_0')).boundingBox();
      await page.mouse.click(box.x + box.width - 8, box.y + box.height / 2);
    }, 'Text2_0'],
    ['page-cleared', async (page) => {
      await page.click('#Command1_1');
      await page.keyboard.press('Tab');
    }, 'List1_0'],
  ];
  const failures = [];
  for (const [name, steps, focus] of moments) {
    const page = await browser.newPage();
    await page.setViewport({ width: 800, height: 600, deviceScaleFactor: 1 });
    await page.goto(`file://${file}`);
    await page.waitForSelector('html[data-settled]', { timeout: 10000 });
    await page.addStyleTag({ content: '* { caret-color: transparent !important; }' });
    await steps(page);
    // The pointer leaves the window, so that nothing shows a hover.
    await page.mouse.move(790, 590);
    await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve))));
    assert.equal(await page.evaluate(() => document.activeElement?.id), focus, name);
    const failure = check(name, await (await page.$('#window')).screenshot());
    if (failure) failures.push(failure);
    await page.close();
  }
  if (approve) t.skip(`PICTURES_APPROVE=1: the approved pictures were written anew in ${approvedDir}`);
  assert.deepEqual(failures, []);
});
