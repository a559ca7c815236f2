// SPDX-License-Identifier: GPL-3.0-or-later
// Checks dist/web/nihilist-cipher.html in Debian's Chromium and Firefox ESR
// (headless, WebGL switched off): the controls where the layout table puts
// them, the lists' rules the conformance sessions cannot reach, a core that
// fails, the accessible names and roles, a phone and 300 % zoom.
//   node --test tests/web/page.test.js
// Environment: WEB_BROWSERS (chromium,firefox).
'use strict';

const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const { before, test } = require('node:test');
const { PNG } = require('pngjs');
const { coreImports, textBridge } = require('../../web/core.js');
const { file, wasm, layoutTable, settled, open } = require('../../testsupport/browser.js');
const { CIPHER, eachBrowser, tap, chord, pixel, audit, shown } = require('./helpers.js');

// The layout table; a list row in pixels, and how many whole rows show.
let table, rowHeight, visibleRows;
before(async () => {
  table = await layoutTable();
  rowHeight = table.list.rowTwips / table.twipsPerPixel;
  visibleRows = table.list.visibleRows;
});

// Rectangles relative to the window, in CSS pixels.
const rectangles = (page, names) => page.evaluate((names) => {
  const origin = document.getElementById('window').getBoundingClientRect();
  return names.map((name) => {
    const r = document.getElementById(name).getBoundingClientRect();
    return [r.left - origin.left, r.top - origin.top, r.width, r.height];
  });
}, names);

// The core's C interface called as no page would: a number out of range
// gets nothing or an empty answer, never an abort; a text comes back as JSON
// that parses, control characters and all.
test('the page core ignores numbers out of range and hands back JSON that parses', async () => {
  const { instance } = await WebAssembly.instantiate(wasm(), coreImports());
  const core = instance.exports;
  core._initialize();
  const { put, take } = textBridge(core);
  const { boxes, lists, cells, listKeys } = table.model; // one past the last of each
  for (const [call, expected] of [[() => take(core.nc_box(boxes)), ''], [() => take(core.nc_cell(-1)), ''],
    [() => take(core.nc_cell(cells)), ''], [() => core.nc_count(lists), 0], [() => take(core.nc_item(0, 0)), ''],
    [() => take(core.nc_item(-1, 0)), ''], [() => core.nc_selected(lists), -1], [() => core.nc_top(-1), 0],
    [() => take(core.nc_fit(boxes, 0, 0)), 'null'], [() => take(core.nc_fit(0, 4, 99)), '{"text":"","cursor":0}'],
    [() => core.nc_set_box(-1, 0), undefined], [() => core.nc_list_key(0, listKeys.length), undefined],
    [() => core.nc_list_press(lists, 0), undefined]]) assert.equal(call(), expected, call.toString());
  const text = 'a"\\\n\tb';
  assert.deepEqual(JSON.parse(take(core.nc_fit(0, 0, put(text)[0]))), { text, cursor: 6 });
});

// What the window does (checked by hand on it) with the example's 20
// rows, or 7: after the steps, the row picked in all four lists and the
// first row shown, to the pixel (null: the browser's own step, not
// checked); a scroll bar only with more than seven rows; for each wheel
// turn, whether the page was left to scroll. A step presses a row or the
// scroll bar, or a button; presses a key (the list has the mouse's
// focus); turns the wheel in Firefox's lines; or drags the scroll bar to
// a pixel. The conformance sessions play the rest of the rules.
const LIST_CASES = [
  ['the scroll bar picks nothing', '', [['press', 0, 'bar']], -1, null],
  ['Alt+Down is not the list\'s', '', [['press', 3, 2], ['key', 3, 'Alt+ArrowDown']], 2, 0],
  ['Ctrl and Shift do not change a key', '', [['press', 3, 2], ['key', 3, 'Control+ArrowDown'], ['key', 3, 'Shift+ArrowDown']], 4, 0],
  ['End shows the last seven rows', '', [['press', 0, 0], ['key', 0, 'End']], 19, 13],
  ['a wheel notch in lines scrolls three rows; past the end the page scrolls', '',
    [['press', 2, 0], ['key', 2, 'End'], ['lines', 2, 3], ['lines', 2, -3]], 19, 10, [true, false]],
  ['the wheel over an empty list scrolls the page', '1', [['lines', 0, -3]], -1, 0, [true]],
  ['a dragged scroll bar settles on the nearest row', '', [['drag', 1, 50]], -1, 3],
  ['the pick goes with the rows on Encrypt', '', [['press', 3, 5], ['press', 'Command1_0']], -1, 0],
  ['no scroll bar for seven rows', 'abcdefg', [], -1, 0],
];

// One step of LIST_CASES in list k; a wheel turn gives whether the list
// left it to the page.
async function listStep(page, action, k, at) {
  const list = await page.$(`#List1_${k}`);
  if (action === 'key') return void await chord(page, at);
  if (action === 'lines') {
    return list.evaluate((list, lines) => list.dispatchEvent(new WheelEvent('wheel',
      { deltaY: lines, deltaMode: WheelEvent.DOM_DELTA_LINE, bubbles: true, cancelable: true })), at);
  }
  if (action === 'drag') {
    // Left where it is held while the drag goes on; read as the page has seen the scroll.
    return void assert.equal(await list.evaluate((list, top) => new Promise((resolve) => {
      list.addEventListener('scroll', () => resolve(list.scrollTop), { once: true });
      list.scrollTop = top;
    }), at), at, 'while dragged');
  }
  if (k === 'Command1_0') return void await page.click(`#${k}`);
  const box = await list.boundingBox();
  const inner = await list.evaluate((list) => [list.clientLeft, list.clientTop, list.clientWidth, list.clientHeight]);
  const x = at === 'bar' ? box.x + box.width - (box.width - inner[0] - inner[2]) / 2 : box.x + inner[0] + inner[2] / 2;
  const y = at === 'bar' ? box.y + box.height / 2 : box.y + inner[1] + 1 + rowHeight * at + 3;
  await page.mouse.click(x, y);
}

function placement(it) {
  test('opened from file://, every control sits where the table puts it, in its exact colour', async () => {
    const page = await open(it.browser, `file://${file}`);
    const px = (twips) => twips / table.twipsPerPixel;
    const shown = table.controls.filter((c) => c.shown);
    const frame = table.controls.find((c) => c.name === 'Frame1').twips;
    const [win, ...actual] = await rectangles(page, ['window', ...shown.map((c) => c.name)]);
    assert.deepEqual(win, [0, 0, px(table.client[0]), px(table.client[1])]);
    shown.forEach(({ name, twips: [x, y, w, h], inFrame }, i) => assert.deepEqual(actual[i],
      [px(x + (inFrame ? frame[0] : 0)), px(y + (inFrame ? frame[1] : 0)), px(w), px(h)], name));
    // Sampled from the screen, clear of captions and borders.
    const at = (x, y) => pixel(page, '#window', x, y);
    assert.deepEqual(await at(2, 150), table.colour, 'window');
    for (const [i, c] of shown.entries()) {
      const [x, y, w, h] = actual[i];
      if (c.background) {
        const spot = c.name.startsWith('Command1') ? [x + 5, y + h / 2] : c.name === 'Frame1' ? [x + 5, y + h - 5] : [x + 1, y + 1];
        assert.deepEqual(await at(...spot), c.background, c.name);
      }
      // A button's classic bevel: white at its top left, black while pressed.
      if (c.name !== 'Command1_1') continue;
      assert.deepEqual(await at(x, y), [255, 255, 255]);
      const origin = await (await page.$('#window')).boundingBox();
      await page.mouse.move(origin.x + x + w / 2, origin.y + y + h / 2);
      await page.mouse.down();
      assert.deepEqual(await at(x, y), [0, 0, 0]);
      await page.mouse.up();
    }
    // The explanation line for line, each line whole within the pane.
    const explanation = fs.readFileSync(path.resolve(__dirname, '../../resources/explanation.txt'), 'utf8');
    const pane = await page.$eval('#Text1_0', (p) => ({ text: p.value, overflow: p.scrollWidth - p.clientWidth }));
    assert.deepEqual(pane, { text: explanation.split('\r\n').join('\n'), overflow: 0 });
    // The page's own font, for where no font like Times New Roman is installed.
    assert.equal(await page.evaluate(async () => (await document.fonts.load('16px "Nihilist Serif"', 'Жж')).length), 1);
    assert.deepEqual(page.errors, []);
    await page.close();
  });
}

function boxesAfterEncrypt(it) {
  test('after Encrypt each box shows the start of its text', async () => {
    const page = await open(it.browser, it.server.url);
    await page.focus('#Text2_2');
    await page.keyboard.type('abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyz');
    await page.click('#Command1_0');
    assert.deepEqual(await page.$$eval('#Text2_0, #Text2_1, #Text2_2', (boxes) => boxes.map((box) => [box.selectionStart, box.scrollLeft])),
      [[0, 0], [0, 0], [0, 0]]);
    await page.close();
  });
}

function listRules(it) {
  for (const [what, text, steps, picked, top, handed = []] of LIST_CASES) {
    test(`lists: ${what}`, async () => {
      const page = await open(it.browser, it.server.url);
      if (text) await page.$eval('#Text2_2', (box, text) => { box.value = text; }, text);
      await page.click('#Command1_0');
      const wheels = []; // each turn: not taken by the list
      for (const [action, k, at] of steps) {
        const turn = await listStep(page, action, k, at);
        if (turn !== undefined) wheels.push(turn);
      }
      await settled(page);
      assert.deepEqual(wheels, handed, 'wheel turns left to the page');
      const lists = await page.$$eval('[role=listbox]', (lists) => lists.map((list) => ({
        picked: [...list.children].findIndex((row) => row.getAttribute('aria-selected') === 'true'),
        active: list.getAttribute('aria-activedescendant'),
        top: list.scrollTop,
        bar: list.offsetWidth - list.clientWidth > 2 * list.clientLeft,
        rows: list.children.length,
      })));
      lists.forEach((list, k) => {
        assert.equal(list.picked, picked, `picked in list ${k}`);
        assert.equal(list.active, picked < 0 ? null : `List1_${k}_${picked}`, `active row of list ${k}`);
        if (top !== null) assert.equal(list.top, top * rowHeight, `scrolled in list ${k}`);
        assert.equal(list.bar, list.rows > visibleRows, `scroll bar of list ${k} with ${list.rows} rows`);
      });
      assert.deepEqual(page.errors, []);
      await page.close();
    });
  }
}

function focusMark(it) {
  test('an empty list that Tab reaches marks its first row with dots', async () => {
    const page = await open(it.browser, it.server.url);
    await page.click('#Command1_1');
    // The dark pixels in the first rows' place, inside the list's border:
    // the rows of pixels dotted across, and any others off the two sides.
    const mark = async () => {
      const box = await (await page.$('#List1_3')).boundingBox();
      const clip = { x: Math.round(box.x) + 2, y: Math.round(box.y) + 2, width: Math.round(box.width) - 4, height: 2 * rowHeight };
      const { data, width } = PNG.sync.read(await page.screenshot({ clip }));
      const dark = Array.from({ length: clip.height }, (_, y) => Array.from({ length: width }, (_, x) => x)
        .filter((x) => data[4 * (y * width + x)] < 128));
      const across = dark.flatMap((xs, y) => (xs.length > width / 3 ? [y] : []));
      const inside = dark.filter((xs, y) => y > across[0] && y < across[1]).flat().filter((x) => x > 2 && x < width - 3);
      return { across, solid: across.filter((y) => dark[y].length > 0.75 * width).length, inside: inside.length,
        outside: dark.filter((xs, y) => y < across[0] || y > across.at(-1)).flat().length };
    };
    assert.deepEqual(await mark(), { across: [], solid: 0, inside: 0, outside: 0 }, 'without the focus');
    await page.focus('#List1_2');
    await page.keyboard.press('Tab');
    const { across: [top, bottom, ...more], ...rest } = await mark();
    // A dotted rectangle one row high at the top, as the window draws it.
    assert.ok(top <= 1 && bottom - top === rowHeight - 1 && more.length === 0, `dotted across at ${[top, bottom, ...more]}`);
    assert.deepEqual(rest, { solid: 0, inside: 0, outside: 0 }, 'dotted, and nothing else');
    await page.close();
  });
}

function failingCore(it) {
  test('a core that fails is replaced; the pupil is told, and the buttons work on', async () => {
    // The core's first call to the page's upper-casing throws once, inside
    // Encrypt, as any failure deep in the module would.
    const page = await open(it.browser, it.server.url, undefined, (p) => p.evaluateOnNewDocument(() => {
      const instantiate = WebAssembly.instantiate;
      let first = true;
      WebAssembly.instantiate = (source, imports) => {
        if (first) {
          first = false;
          imports.page.upper = () => { imports.page.upper = () => 0; throw new Error('failed'); };
        }
        return instantiate(source, imports);
      };
    }));
    // The boxes as they stand, Clear's empty ones too, are what is kept.
    await page.click('#Command1_1');
    await page.focus('#Text2_2');
    await page.keyboard.type('ж');
    await page.click('#Command1_0');
    assert.deepEqual((await shown(page)).boxes, ['', '', 'ж'], 'the texts kept');
    const status = await page.$eval('#status', (status) => [status.getAttribute('role'), status.textContent]);
    assert.equal(status[0], 'status');
    assert.match(status[1], /^[А-Яа-я][^A-Za-z]+$/);
    await page.$$eval('#Text2_0, #Text2_1, #Text2_2', (boxes) => ['ZEBRAS', 'RUSSIAN', 'DYNAMITE WINTER PALACEж']
      .forEach((text, k) => { boxes[k].value = text; }));
    await page.click('#Command1_0');
    assert.deepEqual(await shown(page), { boxes: ['ZEBRAS', 'RUSSIAN', 'DYNAMITEWINTERPALACE'], cipher: CIPHER });
    assert.equal(await page.$eval('#status', (status) => status.hidden), true);
    await page.click('#Command1_1');
    assert.deepEqual((await shown(page)).boxes, ['', '', '']);
    await page.close();
  });
}

function namesAndRoles(it) {
  test('axe-core finds no violations, and every control has its Bulgarian name and role', async () => {
    const page = await open(it.browser, it.server.url);
    assert.deepEqual(await audit(page), [], 'at start');
    await page.click('#Command1_0');
    await page.click('#List1_1 > :nth-child(4)');
    assert.deepEqual(await audit(page), [], 'after Encrypt, a row picked');
    for (const [role, label] of [['textbox', 'обяснение'], ['textbox', 'ключова дума:'], ['textbox', 'ключ за криптиране:'],
      ['textbox', 'текст за криптиране:'], ['button', 'Криптирай'], ['button', 'Чисти'], ['listbox', 'Код'],
      ['listbox', 'Ключ'], ['listbox', 'Шифър'], ['listbox', 'Буква'], ['group', 'квадрат на Polybius'], ['option', '62']]) {
      assert.ok(await page.$(`::-p-aria([name="${label}"][role="${role}"])`), `${role} "${label}"`);
    }
    if (it.name === 'chromium') {
      const list = await page.accessibility.snapshot({ interestingOnly: false, root: await page.$('#List1_2') });
      assert.equal(list.name, 'Шифър');
      assert.deepEqual(list.children.filter((n) => n.role === 'option').map((n) => n.selected),
        Array.from({ length: 20 }, (_, row) => row === 3), 'the cipher list reports its rows and the picked one');
    }
    await page.close();
  });
}

// A 375-pixel phone, a 1000-pixel window at 300 % zoom, and one narrower
// than the window but wider than it is high.
function narrow(it) {
  for (const viewport of [{ width: 375, height: 667, hasTouch: true, isMobile: it.name === 'chromium' },
    { width: 333, height: 233, deviceScaleFactor: 3, hasTouch: true }, { width: 480, height: 640, hasTouch: true }]) {
    test(`${viewport.width} pixels wide, the whole window fits the width, and both buttons work by touch`, async () => {
      const page = await open(it.browser, it.server.url, viewport);
      const [win, encrypt, clear] = await rectangles(page, ['window', 'Command1_0', 'Command1_1']);
      // Within the page's width, which a scroll bar may narrow; nothing to scroll sideways.
      const [origin, width, scrollWidth] = await page.evaluate(() => [document.getElementById('window').getBoundingClientRect().left,
        document.documentElement.clientWidth, document.documentElement.scrollWidth]);
      assert.ok(width > viewport.width * 0.9 && scrollWidth === width, `${scrollWidth} px wide in ${width}`);
      assert.ok(origin >= 0 && origin + win[2] <= width, `window from ${origin} over ${win[2]} px`);
      for (const [x, , w] of [encrypt, clear]) assert.ok(origin + x + w <= width);
      // In one column the buttons may lie below the fold: tap scrolls them into view.
      await tap(page, '#Command1_0');
      assert.equal((await shown(page)).cipher, CIPHER);
      await tap(page, '#Command1_1');
      assert.deepEqual((await shown(page)).boxes, ['', '', '']);
      assert.equal(await page.evaluate(() => !!document.createElement('canvas').getContext('webgl')), false);
      await page.close();
    });
  }
}

eachBrowser((it) => {
  for (const tests of [placement, boxesAfterEncrypt, listRules, focusMark, failingCore, namesAndRoles, narrow]) tests(it);
}, { options: () => ({ scrollBars: true }) }); // the lists' scroll bars are checked
