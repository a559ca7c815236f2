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
// Each picture goes to build/pictures/ and tests/pictures/compare.cmake
// compares it with the approved one (PICTURES_APPROVE=1 approves it); look
// at the pictures before committing. The caret is hidden: it blinks, and a
// screenshot would catch it on or off by chance. WEB_PAGE may name another
// build of the page.
//   node --test tests/web/picture.test.js
'use strict';

const assert = require('node:assert/strict');
const { spawnSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { before, after, test } = require('node:test');
const { file, launch, settled, open } = require('../../testsupport/browser.js');

const pictures = path.resolve(__dirname, '../pictures');
const outputDir = path.resolve(__dirname, '../../build/pictures');

// The comparison's complaint about one moment; empty when it matches.
function check(name, shot) {
  fs.mkdirSync(outputDir, { recursive: true });
  const actual = path.join(outputDir, `${name}.png`);
  fs.writeFileSync(actual, shot);
  const compared = spawnSync('cmake', [`-DACTUAL=${actual}`, `-DAPPROVED=${path.join(pictures, `${name}.png`)}`,
    '-P', path.join(pictures, 'compare.cmake')], { encoding: 'utf8' });
  return compared.status === 0 ? '' : `${name}: ${compared.stderr.trim()}`;
}

const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'nihilist-pictures-'));
let browser;
before(async () => {
  browser = await launch('chromium', profile);
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
    const page = await open(browser, `file://${file}`);
    await page.addStyleTag({ content: '* { caret-color: transparent !important; }' });
    await steps(page);
    // The pointer leaves the window, so that nothing shows a hover.
    await page.mouse.move(790, 590);
    await settled(page);
    assert.equal(await page.evaluate(() => document.activeElement?.id), focus, name);
    const failure = check(name, await (await page.$('#window')).screenshot());
    if (failure) failures.push(failure);
    await page.close();
  }
  if (process.env.PICTURES_APPROVE === '1') t.skip(`PICTURES_APPROVE=1: the approved pictures were written anew in ${pictures}`);
  assert.deepEqual(failures, []);
});
