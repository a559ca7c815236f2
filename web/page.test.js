// SPDX-License-Identifier: GPL-3.0-or-later
// Checks dist/web/nihilist-cipher.html in Debian's Chromium and Firefox ESR
// (headless, WebGL switched off) against the cipher core run under node: the
// same WebAssembly module, taken out of the page.
//   node --test web/page.test.js
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

const file = path.resolve(__dirname, '../dist/web/nihilist-cipher.html');
const html = fs.readFileSync(file, 'utf8');
const wasm = Buffer.from(html.match(/<script id="core"[^>]*>([^<]*)</)[1], 'base64');
const axe = fs.readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8');
const seed = Number(process.env.SESSION_SEED || Math.floor(Math.random() * 2 ** 31));
const sessionSteps = Number(process.env.SESSION_STEPS || 150);
const pieces = ['zebra', 'RUSSIAN', 'j', 'I', ' ', 'q-1', 'жЖ', 'ключ', 'ß', 'ı', 'ǆ', '😀', '👩‍👧', 'Ωμέγα', 'e\u0301', 'abcdefghijklmnopqrstuvwxyz'];
const codePoints = (text) => [...text];

// Each browser headless, in a fresh profile, without WebGL.
const launch = (name, userDataDir) => puppeteer.launch(name === 'firefox'
    ? { browser: 'firefox', executablePath: '/usr/bin/firefox-esr', headless: true, userDataDir,
      extraPrefsFirefox: { 'webgl.disabled': true } }
    : { executablePath: '/usr/bin/chromium', headless: true, userDataDir,
      args: ['--no-sandbox', '--disable-gpu', '--disable-3d-apis', '--disable-background-networking',
        '--disable-component-update', '--disable-sync', '--no-first-run', '--force-device-scale-factor=1'] });

async function open(browser, url, viewport = { width: 800, height: 600 }) {
  const page = await browser.newPage();
  page.errors = [];
  page.on('pageerror', (error) => page.errors.push(error.message));
  await page.setViewport(viewport);
  await page.goto(url);
  await page.waitForSelector('body[data-ready]', { timeout: 10000 });
  return page;
}

// Rectangles relative to the window, in CSS pixels.
const rectangles = (page, names) => page.evaluate((names) => {
  const origin = document.getElementById('window').getBoundingClientRect();
  return names.map((name) => {
    const r = document.getElementById(name).getBoundingClientRect();
    return [r.left - origin.left, r.top - origin.top, r.width, r.height];
  });
}, names);

const tap = async (page, selector) => {
  const box = await (await page.$(selector)).boundingBox();
  await page.touchscreen.tap(box.x + box.width / 2, box.y + box.height / 2);
};

// What the page shows, read from its controls, once the last event and what
// the page left for later have run.
const pageState = (page) => page.evaluate(async () => {
  await new Promise(requestAnimationFrame);
  await new Promise((resolve) => setTimeout(resolve));
  const lists = [0, 1, 2, 3].map((k) => document.getElementById(`List1_${k}`));
  return {
    boxes: [0, 1, 2].map((k) => document.getElementById(`Text2_${k}`).value),
    cells: Array.from({ length: 25 }, (_, i) => document.getElementById(`Label3_${i}`).textContent),
    lists: lists.map((list) => [...list.children].map((option) => option.textContent)),
    selected: lists.map((list) => [...list.children].findIndex((option) => option.getAttribute('aria-selected') === 'true')),
    scrolled: lists.map((list) => list.scrollTop),
    focus: document.activeElement?.id || '',
  };
});

// A small seeded generator (mulberry32), so that a failing session replays.
function random(seed) {
  let a = seed >>> 0;
  const int = (n) => {
    a = (a + 0x6d2b79f5) >>> 0;
    let t = Math.imul(a ^ (a >>> 15), 1 | a);
    t = (t + Math.imul(t ^ (t >>> 7), 61 | t)) ^ t;
    return Math.floor((((t ^ (t >>> 14)) >>> 0) / 2 ** 32) * n);
  };
  return { int, pick: (items) => items[int(items.length)] };
}

for (const name of (process.env.WEB_BROWSERS || 'chromium,firefox').split(',')) {
  describe(name, () => {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), `nihilist-${name}-`));
    let browser, server, url, table;
    before(async () => {
      browser = await launch(name, profile);
      server = http.createServer((_, response) => response.writeHead(200,
        { 'Content-Type': 'text/html; charset=utf-8', 'Cache-Control': 'no-store' }).end(html));
      await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
      url = `http://127.0.0.1:${server.address().port}/`;
      table = (await loadCore(wasm)).layout();
    });
    after(async () => {
      await browser?.close();
      server?.close();
      fs.rmSync(profile, { recursive: true, force: true });
    });

    test('opened from file://, every control sits where the table puts it, in its exact colour', async () => {
      const page = await open(browser, `file://${file}`);
      const px = (twips) => twips / table.twipsPerPixel;
      const shown = table.controls.filter((c) => c.shown);
      const frame = table.controls.find((c) => c.name === 'Frame1').twips;
      const [win, ...actual] = await rectangles(page, ['window', ...shown.map((c) => c.name)]);
      assert.deepEqual(win, [0, 0, px(table.client[0]), px(table.client[1])]);
      shown.forEach(({ name, twips: [x, y, w, h], inFrame }, i) => assert.deepEqual(actual[i],
        [px(x + (inFrame ? frame[0] : 0)), px(y + (inFrame ? frame[1] : 0)), px(w), px(h)], name));
      // Sampled from the screen, clear of captions and borders.
      const origin = await page.$eval('#window', (w) => [w.getBoundingClientRect().left, w.getBoundingClientRect().top]);
      const pixel = async (x, y) => {
        const clip = { x: Math.round(origin[0] + x), y: Math.round(origin[1] + y), width: 1, height: 1 };
        return [...PNG.sync.read(await page.screenshot({ clip })).data.subarray(0, 3)];
      };
      assert.deepEqual(await pixel(2, 150), table.colour, 'window');
      for (const [i, c] of shown.entries()) {
        const [x, y, w, h] = actual[i];
        if (c.background) {
          const at = c.name.startsWith('Command1') ? [x + 5, y + h / 2] : c.name === 'Frame1' ? [x + 5, y + h - 5] : [x + 1, y + 1];
          assert.deepEqual(await pixel(...at), c.background, c.name);
        }
        // A button's classic bevel: white at its top left, black while pressed.
        if (c.name !== 'Command1_1') continue;
        assert.deepEqual(await pixel(x, y), [255, 255, 255]);
        await page.mouse.move(origin[0] + x + w / 2, origin[1] + y + h / 2);
        await page.mouse.down();
        assert.deepEqual(await pixel(x, y), [0, 0, 0]);
        await page.mouse.up();
      }
      // The explanation line for line, each line whole within the pane.
      const explanation = fs.readFileSync(path.resolve(__dirname, '../resources/explanation.txt'), 'utf8');
      const pane = await page.$eval('#Text1_0', (p) => ({ text: p.value, overflow: p.scrollWidth - p.clientWidth }));
      assert.deepEqual(pane, { text: explanation.split('\r\n').join('\n'), overflow: 0 });
      // The page's own font, for where no font like Times New Roman is installed.
      assert.equal(await page.evaluate(async () => (await document.fonts.load('16px "Nihilist Serif"', 'Жж')).length), 1);
      assert.deepEqual(page.errors, []);
      await page.close();
    });

    test('after Encrypt each box shows the start of its text', async () => {
      const page = await open(browser, url);
      await page.focus('#Text2_2');
      await page.keyboard.type('abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyz');
      await page.click('#Command1_0');
      assert.deepEqual(await page.$$eval('#Text2_0, #Text2_1, #Text2_2', (boxes) => boxes.map((box) => [box.selectionStart, box.scrollLeft])),
        [[0, 0], [0, 0], [0, 0]]);
      await page.close();
    });

    test(`a random session agrees with the core at every step (seed ${seed})`, async () => {
      const page = await open(browser, url);
      const core = await loadCore(wasm);
      core.load();
      const limits = [0, 1, 2].map((k) => table.controls.find((c) => c.name === `Text2_${k}`).limit);
      const focusOrder = table.focus.filter((n) => table.controls.find((c) => c.name === n).shown);
      const rng = random(seed);
      let boxes = (await pageState(page)).boxes;
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
      // The edit the core expects; the caret after it.
      const insert = (k, [from, to], text) => {
        const before = codePoints(boxes[k]);
        const after = [...before.slice(0, from), ...codePoints(text), ...before.slice(to)].join('');
        if (codePoints(after).length <= limits[k]) return (boxes[k] = after, from + codePoints(text).length);
        boxes[k] = core.fit(k, boxes[k], after).text;
        return core.fit(k, before.join(''), after).cursor;
      };
      const chord = async (key) => {
        await page.keyboard.down('Control');
        await page.keyboard.press(key);
        await page.keyboard.up('Control');
      };
      const rows = () => core.lists()[0].length;
      const pickOnFocus = (k) => { if (core.selected()[k] < 0 && rows() > 0) core.select(k, 0); };
      const actions = [
        async () => { // typing, or text arriving as input (an on-screen keyboard or an input method)
          const k = rng.int(3);
          let range = await select(k);
          const text = rng.pick(pieces);
          const how = rng.pick(['type', 'insertText']);
          // Firefox's driver hands over input one character at a time.
          for (const c of how === 'insertText' && name === 'chromium' ? [text] : codePoints(text)) {
            await (how === 'type' ? page.keyboard.type(c) : page.keyboard.sendCharacter(c));
            const cursor = insert(k, range, c);
            range = [cursor, cursor];
          }
          return `${how} ${JSON.stringify(text)} into box ${k}`;
        },
        async () => { // copy a piece of one box, paste it over a piece of another
          const from = rng.int(3);
          const [a, b] = await select(from);
          await chord('KeyC');
          const copied = codePoints(boxes[from]).slice(a, b).join('');
          const k = rng.int(3);
          const range = await select(k);
          await chord('KeyV');
          if (copied) insert(k, range, copied); // an empty selection copies nothing; the clipboard keeps its text
          else boxes[k] = (await pageState(page)).boxes[k];
          return `paste ${JSON.stringify(copied)} from box ${from} into box ${k}`;
        },
        async () => {
          const k = rng.int(10) < 7 ? 0 : 1;
          const how = rng.pick(['click', 'tap', 'Enter', 'Space']);
          core.setBoxes(boxes);
          if (k === 0) core.encrypt(); else core.clear();
          boxes = core.boxes();
          if (how === 'tap') await tap(page, `#Command1_${k}`);
          else if (how === 'click') await page.click(`#Command1_${k}`);
          else await page.focus(`#Command1_${k}`).then(() => page.keyboard.press(how === 'Space' ? ' ' : how));
          return `${how} on button ${k}`;
        },
        async () => {
          const k = rng.int(4);
          if (rows() === 0) return 'no rows to pick';
          const row = rng.int(rows());
          const how = rng.pick(['click', 'tap']);
          const selector = `#List1_${k} > :nth-child(${row + 1})`;
          await (await page.$(selector)).scrollIntoView();
          await (how === 'tap' ? tap(page, selector) : page.click(selector));
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
          const [row, last, now] = [core.selected()[k], rows() - 1, (await pageState(page)).selected[k]];
          if (rows() > 0) {
            // A page's length is the list's own; it must move that way.
            if (key === 'PageDown') assert.ok(now > row || now === last, `${key} from ${row} to ${now}`);
            if (key === 'PageUp') assert.ok(now < row || now === 0, `${key} from ${row} to ${now}`);
            core.select(k, { ArrowUp: Math.max(row - 1, 0), ArrowDown: Math.min(row + 1, last), Home: 0, End: last }[key] ?? now);
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
          await page.$eval(`#List1_${k}`, async (list) => {
            for (let last = -1, frames = 0; frames < 60 && list.scrollTop !== last; ++frames) {
              last = list.scrollTop;
              await new Promise((resolve) => setTimeout(resolve, 50));
            }
          });
          return `wheel ${deltaY} over list ${k}`;
        },
        async () => {
          // Headless Firefox has no browser controls for Tab to leave to.
          const from = rng.pick(name === 'firefox' ? focusOrder.slice(0, -1) : focusOrder);
          const next = focusOrder[focusOrder.indexOf(from) + 1];
          await page.focus(`#${from}`);
          if (from.startsWith('List1')) pickOnFocus(Number(from.slice(-1)));
          await page.keyboard.press('Tab');
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
          let composed = '';
          for (const { segment } of segmenter.segment(text)) {
            composed += segment;
            await cdp.send('Input.imeSetComposition', { text: composed, selectionStart: composed.length, selectionEnd: composed.length });
          }
          await cdp.send('Input.insertText', { text });
          insert(k, range, text);
          return `compose ${JSON.stringify(text)} in box ${k} over ${range}`;
        });
      }
      for (let step = 1, action = ''; step <= sessionSteps; ++step) {
        try {
          action = await rng.pick(actions)();
          const state = await pageState(page);
          assert.deepEqual(state.boxes, boxes, 'boxes');
          state.boxes.forEach((box, k) => assert.ok(codePoints(box).length <= limits[k], `box ${k} over its limit`));
          assert.deepEqual(state.cells, core.cells(), 'square');
          assert.deepEqual(state.lists, core.lists(), 'lists');
          assert.deepEqual(state.selected, core.selected(), 'picked row');
          assert.ok(state.scrolled.every((top) => top === state.scrolled[0]), `lists scrolled apart: ${state.scrolled}`);
        } catch (error) {
          error.message = `seed ${seed}, step ${step} (${action}): ${error.message}\nreplay: SESSION_SEED=${seed} ./dev web-test`;
          throw error;
        }
      }
      assert.deepEqual(page.errors, []);
      await page.close();
    });

    test('axe-core finds no violations, and every control has its Bulgarian name and role', async () => {
      const page = await open(browser, url);
      const audit = async () => {
        await page.addScriptTag({ content: axe });
        const violations = await page.evaluate(async () => (await window.axe.run(document)).violations);
        return violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`);
      };
      assert.deepEqual(await audit(), [], 'at start');
      await page.click('#Command1_0');
      await page.click('#List1_1 > :nth-child(4)');
      assert.deepEqual(await audit(), [], 'after Encrypt, a row picked');
      for (const [role, label] of [['textbox', 'обяснение'], ['textbox', 'ключова дума:'], ['textbox', 'ключ за криптиране:'],
        ['textbox', 'текст за криптиране:'], ['button', 'Криптирай'], ['button', 'Чисти'], ['listbox', 'Код'],
        ['listbox', 'Ключ'], ['listbox', 'Шифър'], ['listbox', 'Буква'], ['group', 'квадрат на Polybius'], ['option', '62']]) {
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
      const page = await browser.newPage();
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
        const page = await open(browser, url, viewport);
        const [win, encrypt, clear] = await rectangles(page, ['window', 'Command1_0', 'Command1_1']);
        // Within the page's width, which a scroll bar may narrow; nothing to scroll sideways.
        const [origin, width, scrollWidth] = await page.evaluate(() => [document.getElementById('window').getBoundingClientRect().left,
          document.documentElement.clientWidth, document.documentElement.scrollWidth]);
        assert.ok(width > viewport.width * 0.9 && scrollWidth === width, `${scrollWidth} px wide in ${width}`);
        assert.ok(origin >= 0 && origin + win[2] <= width, `window from ${origin} over ${win[2]} px`);
        for (const [x, , w] of [encrypt, clear]) assert.ok(origin + x + w <= width);
        await tap(page, '#Command1_0');
        assert.equal((await pageState(page)).lists[2].join(' '), '37 106 62 36 67 47 86 26 104 53 62 77 27 55 57 66 55 36 54 27');
        await tap(page, '#Command1_1');
        assert.deepEqual((await pageState(page)).boxes, ['', '', '']);
        assert.equal(await page.evaluate(() => !!document.createElement('canvas').getContext('webgl')), false);
        await page.close();
      });
    }
  });
}
