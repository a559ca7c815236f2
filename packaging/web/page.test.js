// SPDX-License-Identifier: GPL-3.0-or-later
// Checks dist/web/nihilist-cipher.html in Debian's Chromium and Firefox ESR
// (headless, WebGL switched off) against the cipher core run under node: the
// same WebAssembly module, taken out of the page.
//   node --test packaging/web/page.test.js
// Environment: WEB_BROWSERS (chromium,firefox), SESSION_SEED and
// SESSION_STEPS to replay or lengthen the random session.
'use strict';

const assert = require('node:assert/strict');
const fs = require('node:fs');
const http = require('node:http');
const os = require('node:os');
const path = require('node:path');
const { describe, before, after, test } = require('node:test');
const { PNG } = require('pngjs');
const puppeteer = require('puppeteer-core');
const { loadCore } = require('./core.js');

const file = path.resolve(__dirname, '../../dist/web/nihilist-cipher.html');
const html = fs.readFileSync(file, 'utf8');
const wasm = Buffer.from(html.match(/<script id="core"[^>]*>([^<]*)</)[1], 'base64');
const axe = fs.readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8');
const seed = Number(process.env.SESSION_SEED || Math.floor(Math.random() * 2 ** 31));
const sessionSteps = Number(process.env.SESSION_STEPS || 150);

function serve() {
  const server = http.createServer((request, response) => {
    response.writeHead(200, { 'Content-Type': 'text/html; charset=utf-8', 'Cache-Control': 'no-store' }).end(html);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// Each browser headless, in a fresh profile, without WebGL.
async function launch(name) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), `nihilist-${name}-`));
  const browser = await puppeteer.launch(name === 'firefox'
    ? { browser: 'firefox', executablePath: '/usr/bin/firefox-esr', headless: true, userDataDir: profile,
      extraPrefsFirefox: { 'webgl.disabled': true } }
    : { executablePath: '/usr/bin/chromium', headless: true, userDataDir: profile,
      args: ['--no-sandbox', '--disable-gpu', '--disable-3d-apis', '--disable-background-networking',
        '--disable-component-update', '--disable-sync', '--no-first-run', '--force-device-scale-factor=1'] });
  return { browser, close: async () => { await browser.close(); fs.rmSync(profile, { recursive: true, force: true }); } };
}

async function open(browser, url, viewport = { width: 800, height: 600 }) {
  const page = await browser.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  await page.setViewport(viewport);
  await page.goto(url);
  await page.waitForSelector('body[data-ready]', { timeout: 10000 });
  return { page, errors };
}

// Rectangles relative to the window, in CSS pixels.
const rectangles = (page, names) => page.evaluate((names) => {
  const origin = document.getElementById('window').getBoundingClientRect();
  return names.map((name) => {
    const r = document.getElementById(name).getBoundingClientRect();
    return [r.left - origin.left, r.top - origin.top, r.width, r.height];
  });
}, names);

// What the page shows, read from its controls.
const pageState = (page) => page.evaluate(async () => {
  // Let the last event settle, and what the page left for later run.
  await new Promise(requestAnimationFrame);
  await new Promise((resolve) => setTimeout(resolve));
  const byId = (id) => document.getElementById(id);
  const lists = [0, 1, 2, 3].map((k) => byId(`List1_${k}`));
  return {
    boxes: [0, 1, 2].map((k) => byId(`Text2_${k}`).value),
    cells: Array.from({ length: 25 }, (_, i) => byId(`Label3_${i}`).textContent),
    lists: lists.map((list) => [...list.children].map((option) => option.textContent)),
    selected: lists.map((list) => [...list.children].findIndex((option) => option.getAttribute('aria-selected') === 'true')),
    scrolled: lists.map((list) => list.scrollTop),
    focus: document.activeElement?.id || '',
  };
});

// A small seeded generator (mulberry32), so that a failing session replays.
function random(seed) {
  let a = seed >>> 0;
  const next = () => {
    a = (a + 0x6d2b79f5) >>> 0;
    let t = Math.imul(a ^ (a >>> 15), 1 | a);
    t = (t + Math.imul(t ^ (t >>> 7), 61 | t)) ^ t;
    return ((t ^ (t >>> 14)) >>> 0) / 2 ** 32;
  };
  const int = (n) => Math.floor(next() * n);
  return { int, pick: (items) => items[int(items.length)] };
}

const pieces = ['zebra', 'RUSSIAN', 'j', 'I', ' ', 'q-1', 'жЖ', 'ключ', 'ß', 'ı', 'ǆ', '😀', '👩‍👧', 'Ωμέγα', 'e\u0301', 'abcdefghijklmnopqrstuvwxyz'];

for (const name of (process.env.WEB_BROWSERS || 'chromium,firefox').split(',')) {
  describe(name, () => {
    let browser;
    let server;
    let url;
    let table;
    before(async () => {
      browser = await launch(name);
      server = await serve();
      url = `http://127.0.0.1:${server.address().port}/`;
      table = (await loadCore(wasm)).layout();
    });
    after(async () => {
      await browser?.close();
      server?.close();
    });

    test('opened from file://, every control sits where the table puts it, in its exact colour', async () => {
      const { page, errors } = await open(browser.browser, `file://${file}`);
      const px = (twips) => twips / table.twipsPerPixel;
      const shown = table.controls.filter((c) => c.shown);
      const frame = table.controls.find((c) => c.name === 'Frame1').twips;
      const actual = await rectangles(page, ['window', ...shown.map((c) => c.name)]);
      assert.deepEqual(actual[0], [0, 0, px(table.client[0]), px(table.client[1])]);
      shown.forEach((c, i) => {
        const [x, y, w, h] = c.twips;
        const expected = [px(x + (c.inFrame ? frame[0] : 0)), px(y + (c.inFrame ? frame[1] : 0)), px(w), px(h)];
        assert.deepEqual(actual[i + 1], expected, c.name);
      });
      // Sampled from the screen, clear of captions and borders.
      const picture = PNG.sync.read(await page.screenshot());
      const origin = await page.evaluate(() => {
        const r = document.getElementById('window').getBoundingClientRect();
        return [r.left, r.top];
      });
      const pixel = (x, y) => [...picture.data.subarray((Math.round(origin[1] + y) * picture.width + Math.round(origin[0] + x)) * 4).slice(0, 3)];
      assert.deepEqual(pixel(2, 150), table.colour, 'window');
      shown.forEach((c, i) => {
        if (!c.background) return;
        const [x, y, , h] = actual[i + 1];
        const at = c.name.startsWith('Command1') ? [x + 5, y + h / 2] : c.name === 'Frame1' ? [x + 5, y + h - 5] : [x + 1, y + 1];
        assert.deepEqual(pixel(...at), c.background, c.name);
      });
      // A button's classic bevel: white at its top left, black while pressed.
      const [bx, by, bw, bh] = actual[shown.findIndex((c) => c.name === 'Command1_1') + 1];
      const corner = async () => {
        const shot = PNG.sync.read(await page.screenshot({ clip: { x: origin[0] + bx, y: origin[1] + by, width: 1, height: 1 } }));
        return [...shot.data.subarray(0, 3)];
      };
      assert.deepEqual(await corner(), [255, 255, 255]);
      await page.mouse.move(origin[0] + bx + bw / 2, origin[1] + by + bh / 2);
      await page.mouse.down();
      assert.deepEqual(await corner(), [0, 0, 0]);
      await page.mouse.up();
      // The explanation line for line, each line whole within the pane.
      const explanation = fs.readFileSync(path.resolve(__dirname, '../../resources/explanation.txt'), 'utf8');
      const pane = await page.$eval('#Text1_0', (p) => ({ text: p.value, overflow: p.scrollWidth - p.clientWidth }));
      assert.deepEqual(pane.text.split('\n'), explanation.split('\r\n'));
      assert.equal(pane.overflow, 0);
      // The page's own font, for where no font like Times New Roman is installed.
      assert.equal(await page.evaluate(async () => (await document.fonts.load('16px "Nihilist Serif"', 'Жж')).length), 1);
      assert.deepEqual(errors, []);
      await page.close();
    });

    test(`a random session agrees with the core at every step (seed ${seed})`, async () => {
      const { page, errors } = await open(browser.browser, url);
      const core = await loadCore(wasm);
      core.load();
      const limits = [0, 1, 2].map((k) => table.controls.find((c) => c.name === `Text2_${k}`).limit);
      const focusOrder = table.focus.filter((n) => table.controls.find((c) => c.name === n).shown);
      const rng = random(seed);
      let boxes = (await pageState(page)).boxes;
      const codePoints = (text) => [...text];
      // Puts the caret or a selection in box k, between graphemes: browsers
      // keep an accented letter or an emoji sequence whole when editing.
      const segmenter = new Intl.Segmenter();
      const select = async (k) => {
        const ends = [0, ...[...segmenter.segment(boxes[k])].map((s) => s.index + s.segment.length)];
        const from = rng.int(ends.length);
        const to = from + rng.int(ends.length - from);
        await page.focus(`#Text2_${k}`);
        await page.evaluate((id, a, b) => document.getElementById(id).setSelectionRange(a, b), `Text2_${k}`, ends[from], ends[to]);
        return [ends[from], ends[to]].map((end) => codePoints(boxes[k].slice(0, end)).length);
      };
      const insert = (k, [from, to], text) => {
        const before = codePoints(boxes[k]);
        const after = [...before.slice(0, from), ...codePoints(text), ...before.slice(to)].join('');
        boxes[k] = codePoints(after).length > limits[k] ? core.fit(k, boxes[k], after).text : after;
        const cursor = codePoints(after).length > limits[k] ? core.fit(k, before.join(''), after).cursor : from + codePoints(text).length;
        return cursor;
      };
      const rows = () => core.lists()[0].length;
      const pickOnFocus = (k) => { if (core.selected()[k] < 0 && rows() > 0) core.select(k, 0); };
      const press = async (k, how) => {
        core.setBoxes(boxes);
        if (k === 0) core.encrypt(); else core.clear();
        boxes = core.boxes();
        if (how === 'tap') {
          const [[x, y, w, h]] = await page.evaluate((id) => {
            const r = document.getElementById(id).getBoundingClientRect();
            return [[r.left, r.top, r.width, r.height]];
          }, `Command1_${k}`);
          await page.touchscreen.tap(x + w / 2, y + h / 2);
        } else if (how === 'click') {
          await page.click(`#Command1_${k}`);
        } else {
          await page.focus(`#Command1_${k}`);
          await page.keyboard.press(how === 'Space' ? ' ' : how);
        }
      };
      const actions = [
        async () => { // typing, one key or character at a time
          const k = rng.int(3);
          let range = await select(k);
          const text = rng.pick(pieces);
          for (const c of codePoints(text)) {
            await page.keyboard.type(c);
            const cursor = insert(k, range, c);
            range = [cursor, cursor];
          }
          return `type ${JSON.stringify(text)} into box ${k}`;
        },
        async () => { // text arriving as input, as from an on-screen keyboard or an input method
          const k = rng.int(3);
          const range = await select(k);
          const text = rng.pick(pieces);
          if (name === 'firefox') {
            // Firefox's driver hands over one character at a time.
            let at = range;
            for (const c of codePoints(text)) {
              await page.keyboard.sendCharacter(c);
              const cursor = insert(k, at, c);
              at = [cursor, cursor];
            }
          } else {
            await page.keyboard.sendCharacter(text);
            insert(k, range, text);
          }
          return `insertText ${JSON.stringify(text)} into box ${k}`;
        },
        async () => { // copy a piece of one box, paste it over a piece of another
          const from = rng.int(3);
          const [a, b] = await select(from);
          await page.keyboard.down('Control');
          await page.keyboard.press('KeyC');
          await page.keyboard.up('Control');
          const copied = codePoints(boxes[from]).slice(a, b).join('');
          const k = rng.int(3);
          const range = await select(k);
          await page.keyboard.down('Control');
          await page.keyboard.press('KeyV');
          await page.keyboard.up('Control');
          if (copied) insert(k, range, copied); // an empty selection copies nothing; the clipboard keeps its text
          else boxes[k] = (await pageState(page)).boxes[k];
          return `paste ${JSON.stringify(copied)} from box ${from} into box ${k}`;
        },
        async () => {
          const k = rng.int(10) < 7 ? 0 : 1;
          const how = rng.pick(['click', 'tap', 'Enter', 'Space']);
          await press(k, how);
          return `${how} on button ${k}`;
        },
        async () => {
          const k = rng.int(4);
          if (rows() === 0) return 'no rows to pick';
          const row = rng.int(rows());
          const how = rng.pick(['click', 'tap']);
          const handle = await page.$(`#List1_${k} > :nth-child(${row + 1})`);
          await handle.scrollIntoView();
          if (how === 'tap') {
            const box = await handle.boundingBox();
            await page.touchscreen.tap(box.x + box.width / 2, box.y + box.height / 2);
          } else {
            await handle.click();
          }
          pickOnFocus(k);
          core.select(k, row);
          return `${how} on row ${row} of list ${k}`;
        },
        async () => {
          const k = rng.int(4);
          const key = rng.pick(['ArrowUp', 'ArrowDown', 'Home', 'End', 'PageUp', 'PageDown']);
          await page.focus(`#List1_${k}`);
          pickOnFocus(k);
          await page.keyboard.press(key);
          const row = core.selected()[k];
          const last = rows() - 1;
          const expected = { ArrowUp: Math.max(row - 1, 0), ArrowDown: Math.min(row + 1, last), Home: 0, End: last }[key];
          const now = (await pageState(page)).selected[k];
          if (rows() > 0) {
            // A page's length is the list's own; it must move that way.
            if (key === 'PageDown') assert.ok(now > row || now === last, `${key} from ${row} to ${now}`);
            if (key === 'PageUp') assert.ok(now < row || now === 0, `${key} from ${row} to ${now}`);
            core.select(k, expected ?? now);
          }
          return `${key} in list ${k}`;
        },
        async () => { // the wheel over one list scrolls all four
          const k = rng.int(4);
          const box = await (await page.$(`#List1_${k}`)).boundingBox();
          await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
          const deltaY = (rng.int(2) ? 1 : -1) * (16 + rng.int(200));
          await page.mouse.wheel({ deltaY });
          // The wheel scrolls smoothly; wait until the list stands still.
          await page.evaluate(async (id) => {
            const list = document.getElementById(id);
            for (let last = -1, frames = 0; frames < 60 && list.scrollTop !== last; ++frames) {
              last = list.scrollTop;
              await new Promise((resolve) => setTimeout(resolve, 50));
            }
          }, `List1_${k}`);
          return `wheel ${deltaY} over list ${k}`;
        },
        async () => {
          // Headless Firefox has no browser controls for Tab to leave to.
          const from = rng.pick(name === 'firefox' ? focusOrder.slice(0, -1) : focusOrder);
          await page.focus(`#${from}`);
          if (from.startsWith('List1')) pickOnFocus(Number(from.slice(-1)));
          await page.keyboard.press('Tab');
          const next = focusOrder[focusOrder.indexOf(from) + 1];
          if (next?.startsWith('List1')) pickOnFocus(Number(next.slice(-1)));
          const focus = (await pageState(page)).focus;
          if (next) assert.equal(focus, next, `Tab from ${from}`);
          else assert.ok(!focusOrder.includes(focus), `Tab from ${from} went to ${focus}`);
          return `Tab from ${from}`;
        },
      ];
      if (name === 'chromium') {
        const cdp = await page.createCDPSession();
        actions.push(async () => { // an input method composes a word, then commits it
          const k = rng.int(3);
          const range = await select(k);
          const text = rng.pick(pieces);
          const letters = [...segmenter.segment(text)].map((s) => s.segment);
          for (let n = 1; n <= letters.length; ++n) {
            const composed = letters.slice(0, n).join('');
            await cdp.send('Input.imeSetComposition', { text: composed, selectionStart: composed.length, selectionEnd: composed.length });
          }
          await cdp.send('Input.insertText', { text });
          insert(k, range, text);
          return `compose ${JSON.stringify(text)} in box ${k} over ${range}`;
        });
      }
      for (let step = 1; step <= sessionSteps; ++step) {
        let action = '';
        try {
          action = await rng.pick(actions)();
          const state = await pageState(page);
          const expectedLists = core.lists();
          assert.deepEqual(state.boxes, boxes, 'boxes');
          state.boxes.forEach((box, k) => assert.ok(codePoints(box).length <= limits[k], `box ${k} over its limit`));
          assert.deepEqual(state.cells, core.cells(), 'square');
          assert.deepEqual(state.lists, expectedLists, 'lists');
          assert.deepEqual(state.selected, core.selected(), 'picked row');
          assert.ok(state.scrolled.every((top) => top === state.scrolled[0]), `lists scrolled apart: ${state.scrolled}`);
        } catch (error) {
          error.message = `seed ${seed}, step ${step} (${action}): ${error.message}\nreplay: SESSION_SEED=${seed} ./dev web-test`;
          throw error;
        }
      }
      assert.deepEqual(errors, []);
      await page.close();
    });

    test('after Encrypt each box shows the start of its text', async () => {
      const { page } = await open(browser.browser, url);
      await page.focus('#Text2_2');
      await page.keyboard.type('abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyz');
      await page.click('#Command1_0');
      const view = await page.evaluate(() => [0, 1, 2].map((k) => {
        const box = document.getElementById(`Text2_${k}`);
        return [box.selectionStart, box.scrollLeft];
      }));
      assert.deepEqual(view, [[0, 0], [0, 0], [0, 0]]);
      await page.close();
    });

    test('axe-core finds no violations, and every control has its Bulgarian name and role', async () => {
      const { page } = await open(browser.browser, url);
      const audit = async () => {
        await page.addScriptTag({ content: axe });
        const violations = await page.evaluate(async () => (await window.axe.run(document)).violations);
        return violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`);
      };
      assert.deepEqual(await audit(), [], 'at start');
      await page.click('#Command1_0');
      await page.click('#List1_1 > :nth-child(4)');
      assert.deepEqual(await audit(), [], 'after Encrypt, a row picked');

      const named = [['textbox', 'обяснение'], ['textbox', 'ключова дума:'], ['textbox', 'ключ за криптиране:'],
        ['textbox', 'текст за криптиране:'], ['button', 'Криптирай'], ['button', 'Чисти'], ['listbox', 'Код'],
        ['listbox', 'Ключ'], ['listbox', 'Шифър'], ['listbox', 'Буква'], ['group', 'квадрат на Polybius'], ['option', '62']];
      for (const [role, label] of named) {
        assert.ok(await page.$(`::-p-aria([name="${label}"][role="${role}"])`), `${role} "${label}"`);
      }
      if (name === 'chromium') {
        const list = await page.accessibility.snapshot({ interestingOnly: false, root: await page.$('#List1_2') });
        assert.equal(list.name, 'Шифър');
        assert.deepEqual(list.children.filter((n) => n.role === 'option').map((n) => n.selected),
          Array.from({ length: 20 }, (_, row) => row === 3), 'the cipher list reports its rows and the picked one');
      }
      await page.close();
    });

    test('a browser that cannot run the page is told so in Bulgarian', async () => {
      const page = await browser.browser.newPage();
      await page.evaluateOnNewDocument(() => { delete globalThis.WebAssembly; });
      await page.goto(url);
      await page.waitForFunction(() => document.getElementById('status').textContent.startsWith('Програмата не можа'));
      assert.match(await page.$eval('#status', (status) => status.textContent), /^[^A-Za-z]+$/);
      await page.close();
    });

    // A 375-pixel phone, and a 1000-pixel window at 300 % zoom.
    for (const viewport of [{ width: 375, height: 667, hasTouch: true, isMobile: name === 'chromium' },
      { width: 333, height: 233, deviceScaleFactor: 3, hasTouch: true }]) {
      test(`${viewport.width} pixels wide, the whole window fits the width, and both buttons work by touch`, async () => {
        const { page } = await open(browser.browser, url, viewport);
        const [win, encrypt, clear] = await rectangles(page, ['window', 'Command1_0', 'Command1_1']);
        // Within the page's width, which a scroll bar may narrow; nothing to scroll sideways.
        const [origin, width, scrollWidth] = await page.evaluate(() => [document.getElementById('window').getBoundingClientRect().left,
          document.documentElement.clientWidth, document.documentElement.scrollWidth]);
        assert.ok(width > viewport.width * 0.9 && scrollWidth === width, `${scrollWidth} px wide in ${width}`);
        assert.ok(origin >= 0 && origin + win[2] <= width, `window from ${origin} over ${win[2]} px`);
        for (const [x, , w] of [encrypt, clear]) assert.ok(origin + x + w <= width);
        const tap = async (id) => {
          const box = await (await page.$(`#${id}`)).boundingBox();
          await page.touchscreen.tap(box.x + box.width / 2, box.y + box.height / 2);
        };
        await tap('Command1_0');
        assert.equal((await pageState(page)).lists[2].join(' '), '37 106 62 36 67 47 86 26 104 53 62 77 27 55 57 66 55 36 54 27');
        await tap('Command1_1');
        assert.deepEqual((await pageState(page)).boxes, ['', '', '']);
        assert.equal(await page.evaluate(() => !!document.createElement('canvas').getContext('webgl')), false);
        await page.close();
      });
    }
  });
}
