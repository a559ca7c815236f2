// SPDX-License-Identifier: GPL-3.0-or-later
// The page for pupils with other devices and needs, in Debian's Chromium and
// Firefox ESR: read over AT-SPI as a Linux screen reader reads it, under
// forced colours, with larger text spacing, on phones and zoomed in; undo
// after a box has cut its input; the messages of a browser that cannot run it.
//   node --test tests/web/access.test.js
// Environment: WEB_BROWSERS (chromium,firefox).
'use strict';

const assert = require('node:assert/strict');
const { spawn, execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const readline = require('node:readline');
const { after, test } = require('node:test');
const { PNG } = require('pngjs');
const { file, launch, settled, open } = require('../../testsupport/browser.js');
const { CIPHER, eachBrowser, tap, chord, pixel, audit, shown } = require('./helpers.js');

const url = `file://${file}`;
// The stored example after Encrypt: the square of the keyword ZEBRAS.
const zebras = ['ZEBRA', 'SCDFG', 'HIKLM', 'NOPQT', 'UVWXY'];

// WCAG 2.x's contrast ratio of two sRGB colours.
const contrast = (a, b) => {
  const luminance = (c) => c.map((v) => v / 255).map((v) => (v <= 0.04045 ? v / 12.92 : ((v + 0.055) / 1.055) ** 2.4))
    .reduce((sum, v, i) => sum + v * [0.2126, 0.7152, 0.0722][i], 0);
  const [light, dark] = [luminance(a), luminance(b)].sort((x, y) => y - x);
  return (light + 0.05) / (dark + 0.05);
};

// A private session bus with the accessibility bus on it, and for Firefox,
// which speaks AT-SPI only with a display, a virtual screen.
function started(command, args, env) {
  const child = spawn(command, args, { env, stdio: ['ignore', 'pipe', 'ignore'] });
  return new Promise((resolve, reject) => {
    child.on('error', reject);
    child.stdout.once('data', (data) => resolve([child, data.toString().trim()]));
  });
}

// What no longer fits: text outside its box or broken over lines where
// the box has room for one, controls on top of one another, anything past
// the page's width.
const misfits = (page) => page.evaluate(() => {
  const found = [];
  const width = document.documentElement.clientWidth;
  const shown = (e) => !e.closest('[hidden]') && e.getClientRects().length > 0 && !e.classList.contains('unseen');
  const text = document.createRange();
  for (const e of document.querySelectorAll('#window .label, #window button, #window legend, #window [role=option]')) {
    if (!shown(e)) continue;
    text.selectNodeContents(e);
    const outer = e.getBoundingClientRect();
    const lines = [...text.getClientRects()];
    const out = lines.some((r) => r.left < outer.left - 0.5 || r.right > outer.right + 0.5 || r.top < outer.top - 0.5 || r.bottom > outer.bottom + 0.5);
    if (out) found.push(`${e.id || e.tagName} "${e.textContent}" cut`);
  }
  const boxes = [...document.querySelectorAll('#window > *, #window .row > *')].filter(shown).map((e) => [e, e.getBoundingClientRect()]);
  for (const [e, r] of boxes) if (r.left < -0.5 || r.right > width + 0.5) found.push(`${e.id} past the page's width`);
  for (const [i, [e, r]] of boxes.entries()) {
    for (const [f, q] of boxes.slice(i + 1)) {
      if (e.contains(f) || f.contains(e)) continue;
      const across = Math.min(r.right, q.right) - Math.max(r.left, q.left);
      const down = Math.min(r.bottom, q.bottom) - Math.max(r.top, q.top);
      if (across > 0.5 && down > 0.5) found.push(`${e.id || e.className} over ${f.id || f.className}`);
    }
  }
  const frame = document.getElementById('Frame1').getBoundingClientRect();
  for (const cell of document.querySelectorAll('#Frame1 .label')) {
    const r = cell.getBoundingClientRect();
    if (r.left < frame.left + 1 || r.right > frame.right - 1 || r.bottom > frame.bottom - 1) found.push(`${cell.id} over the frame's border`);
  }
  if (document.documentElement.scrollWidth > width) found.push(`${document.documentElement.scrollWidth} px wide in ${width}`);
  return found;
});
// How high a caption's text stands, in device pixels.
const size = (page) => page.$eval('#Label1_1', (label) => {
  const text = document.createRange();
  text.selectNodeContents(label);
  return text.getBoundingClientRect().height * devicePixelRatio;
});
// The WCAG 1.4.12 overrides, as a reader's style sheet brings them.
const spacing = '* { line-height: 1.5 !important; letter-spacing: 0.12em !important; word-spacing: 0.16em !important; } '
  + 'p { margin-bottom: 2em !important; }';

// What of the heading and the keyword box is out of view, and how far the page is scrolled.
const hidden = (page) => page.evaluate(() => [scrollY, ...['Label1_0', 'Text2_0'].filter((id) => {
  const r = document.getElementById(id).getBoundingClientRect();
  return r.top < 0 || r.bottom > innerHeight;
})]);

// The buses (and screen) for `it`'s browser, kept in it.children; its
// launch options.
async function busesFor(it) {
  const children = it.children = [];
  // A session bus, an AT-SPI bus and a display private to this run:
  // the accessibility bus's socket lives in the runtime folder, which
  // two runs side by side (or a desktop) would otherwise share.
  const runtime = fs.mkdtempSync(path.join(os.tmpdir(), `nihilist-runtime-${it.name}-`));
  children.push({ kill: () => fs.rmSync(runtime, { recursive: true, force: true }) });
  const env = { ...process.env, GNOME_ACCESSIBILITY: '1', NO_AT_BRIDGE: '0', XDG_RUNTIME_DIR: runtime };
  delete env.DISPLAY;
  delete env.AT_SPI_BUS_ADDRESS;
  const [bus, address] = await started('dbus-daemon', ['--session', '--nofork', '--print-address=1'], env);
  children.push(bus);
  env.DBUS_SESSION_BUS_ADDRESS = address;
  children.push(spawn('/usr/libexec/at-spi-bus-launcher', ['--launch-immediately'], { env, stdio: 'ignore' }));
  if (it.name === 'firefox') {
    const [screen, display] = await started('Xvfb', ['-displayfd', '1', '-screen', '0', '1280x1024x24', '-nolisten', 'tcp'], env);
    children.push(screen);
    env.DISPLAY = `:${display}`;
  }
  it.env = env;
  return { env, headless: it.name !== 'firefox', args: ['--force-renderer-accessibility'] };
}

// The page as AT-SPI hands it to a screen reader on the buses of `env`:
// read again until `check` passes on it (the browser's tree follows the
// page a little behind), and on the last reading `check` fails the test.
async function heard(env, page, check) {
  await settled(page);
  const title = await page.title();
  for (let reads = 1; ; ++reads) {
    try {
      return check(JSON.parse(execFileSync('/usr/bin/python3', [path.join(__dirname, 'atspi.py'), title],
        { env, encoding: 'utf8', stdio: ['ignore', 'pipe', 'pipe'] })));
    } catch (error) {
      if (reads === 40) throw error;
    }
  }
}
// The live regions' texts in the tree.
const live = (t) => t.filter((n) => n.live && n.role !== 'static' && n.text).map((n) => [n.role, n.live, n.text]);

function squareAndListsHeard(it) {
  test('over AT-SPI the square is a table with its headers; the lists say what they hold and, after Encrypt, how many rows', async () => {
    const page = await open(it.browser, url);
    await page.click('#Command1_0');
    await heard(it.env, page, (tree) => {
      const cells = tree.filter((n) => n.role === 'table cell' && n.name);
      assert.deepEqual(cells.map((n) => n.spoken), zebras.flatMap((row, r) => [...row].map((letter, c) => `${letter}, ред ${r + 1}, колона ${c + 1}`)));
      assert.equal(tree.find((n) => n.role === 'table').name, 'квадрат на Polybius');
      // In the order the lists stand on the screen, each with its rows.
      const lists = tree.filter((n) => n.role === 'list box');
      assert.deepEqual(lists.map((n) => n.name).sort(), ['Буква', 'Ключ', 'Код', 'Шифър']);
      for (const list of lists) assert.match(list.description, /^[^0-9]+$/, list.name); // the count is said once, below
      assert.equal(new Set(lists.map((n) => n.description)).size, 4, 'each list says what it holds');
      const numbers = tree.slice(tree.indexOf(lists.find((n) => n.name === 'Шифър')) + 1).filter((n) => n.role.includes('item')).slice(0, 20);
      assert.equal(numbers.map((n) => n.name).join(' '), CIPHER);
      // Heard at once, the focus staying on the button.
      assert.deepEqual(live(tree), [['status bar', 'polite', 'Таблицата има 20 реда.']]);
      assert.deepEqual(tree.filter((n) => n.states.includes('focused')).map((n) => n.name), ['Криптирай']);
    });
    await page.click('#Command1_1');
    await heard(it.env, page, (cleared) => {
      assert.deepEqual(live(cleared), [['status bar', 'polite', 'Таблицата е празна.']]);
      const lists = cleared.filter((n) => n.role === 'list box');
      assert.equal(lists.length, 4);
    });
    await page.close();
  });
}

// What a reader hears after each Encrypt and Clear, as the live regions'
// insertion events carry it: what a sighted pupil sees, in words.
// A stream that never brings the last text fails the test at its time limit.
function commandsHeard(it) {
  test('over AT-SPI each Encrypt and Clear is heard, saying why the table is empty', { timeout: 120000 }, async (t) => {
    const page = await open(it.browser, url);
    // A region of the test's own says when all has been heard.
    const until = 'конец';
    await page.evaluate(() => { document.body.append(Object.assign(document.createElement('p'), { id: 'until', role: 'status' })); });
    const listener = spawn('/usr/bin/python3', [path.join(__dirname, 'atspi.py'), '--heard', until], { env: it.env, stdio: ['ignore', 'pipe', 'inherit'] });
    t.after(() => listener.kill());
    const lines = readline.createInterface({ input: listener.stdout })[Symbol.asyncIterator]();
    const next = async () => JSON.parse((await lines.next()).value);
    assert.equal(await next(), 'ready');
    const expected = [];
    for (const [boxes, button, text] of [[null, 0, 'Таблицата има 20 реда.'], [null, 0, 'Таблицата има 20 реда.'],
      [['ZEBRAZ'], 0, 'Ключовата дума е отхвърлена: знак в нея се повтаря.'], [['', 'KEY', '1 2 3'], 0, 'Текстът няма латински букви.'],
      [['', '42', 'a'], 0, 'Ключът няма латински букви.'], [['', 'Я', ''], 0, 'Текстът и ключът нямат латински букви.'],
      [['', 'k', 'a!'], 0, 'Таблицата има един ред.'], [null, 1, 'Таблицата е празна.'], [null, 1, 'Таблицата е празна.']]) {
      if (boxes) await page.evaluate((boxes) => boxes.forEach((text, k) => { document.getElementById(`Text2_${k}`).value = text; }), boxes);
      await page.click(`#Command1_${button}`);
      await settled(page);
      expected.push(text);
    }
    await page.$eval('#until', (p, until) => { p.textContent = until; }, until);
    const said = [];
    for (let text = await next(); text !== until; text = await next()) said.push(text);
    assert.deepEqual(said, expected);
    await page.close();
  });
}

function withoutWebAssembly(it) {
  test('without WebAssembly the page says why it cannot run and what to try; without JavaScript, only that it needs it', async (t) => {
    const told = 'Програмата не може да работи в този браузър: той не изпълнява WebAssembly или то е изключено в '
      + 'настройките му. Включете WebAssembly или отворете страницата в друг или по-нов браузър.';
    // WebAssembly missing, or there but refusing to compile (switched off by
    // a policy); any other failure of the start is told in general words.
    const failed = 'Програмата не можа да започне в този браузър. Опитайте с друг браузър или по-нова версия.';
    for (const [off, message] of [[() => { delete globalThis.WebAssembly; }, told],
      [() => { WebAssembly.instantiate = () => Promise.reject(new WebAssembly.CompileError('off')); }, told],
      [() => { JSON.parse = () => { throw new SyntaxError('off'); }; }, failed]]) {
      const page = await open(it.browser, url, undefined, (p) => p.evaluateOnNewDocument(off));
      assert.equal(await page.$eval('body', (body) => body.innerText.trim()), message);
      await page.close();
    }
    // Firefox's driver cannot switch JavaScript off in a page: a browser without it.
    const plain = it.name === 'firefox' ? await launch(it.name, undefined, { prefs: { 'javascript.enabled': false } }) : it.browser;
    if (plain !== it.browser) t.after(() => plain.close()); // failed or not
    const page = await plain.newPage();
    if (it.name === 'chromium') await page.setJavaScriptEnabled(false);
    await page.goto(url);
    assert.equal(await page.$eval('body', (body) => body.innerText.trim()), 'За да работи, страницата има нужда от JavaScript.');
    await page.close();
  });
}

// Touch screens either way up; from 640 pixels the square beside the boxes. Firefox's finger is a setting.
function touchScreens(it) {
  let fingers;
  const touch = { hasTouch: true, isMobile: it.name === 'chromium' };
  after(() => fingers !== it.browser && fingers?.close());
  for (const [width, height, beside] of [[375, 667], [320, 568], [740, 360, 1], [667, 375, 1], [768, 1024, 1], [1024, 768, 1]]) {
    test(`a ${width}x${height} touch screen: targets 44 pixels high or more, nothing cut, all by touch, the picked row kept in view`, async () => {
      fingers ??= it.name === 'firefox' ? await launch(it.name, undefined, { prefs: { 'ui.primaryPointerCapabilities': 1 } }) : it.browser;
      const page = await open(fingers, url, { width, height, ...touch });
      assert.deepEqual(await hidden(page), [0], 'as opened');
      await tap(page, '#Command1_0');
      const heights = await page.evaluate(() => Object.fromEntries(['#Text2_0', '#Text2_1', '#Text2_2', '#Command1_0', '#Command1_1',
        '#Frame1 [role=row] > :not(.corner)', '[role=option]', '#Text1_0'].map((s) => [s,
        Math.min(...[...document.querySelectorAll(s)].map((e) => e.getBoundingClientRect().height))])));
      for (const [what, least] of Object.entries(heights)) assert.ok(least >= (what.includes('Command') ? 48 : 44), `${what}: ${least} px`);
      assert.deepEqual(await misfits(page), []);
      // Top to bottom: each caption over its box, buttons, square (or beside them), lists side by side across the column, explanation.
      const at = await page.evaluate(() => Object.fromEntries(['Label1_1', 'Text2_0', 'Label1_2', 'Text2_1', 'Label1_3', 'Text2_2', 'Command1_0',
        'Frame1', 'List1_0', 'Text1_0', 'List1_3', 'List1_1', 'List1_2'].map((id) => [id, document.getElementById(id).getBoundingClientRect().toJSON()])));
      const down = ['Label1_1', 'Text2_0', 'Label1_2', 'Text2_1', 'Label1_3', 'Text2_2', 'Command1_0', ...(beside ? [] : ['Frame1']), 'List1_0', 'Text1_0'];
      down.slice(1).forEach((id, i) => assert.ok(at[id].top >= at[down[i]].bottom, `${id} below ${down[i]}`));
      assert.ok(!beside || (at.Frame1.left >= at.Text2_0.right && at.Frame1.bottom <= at.List1_0.top), 'the square beside the boxes');
      const across = ['List1_3', 'List1_0', 'List1_1', 'List1_2'];
      across.slice(1).forEach((id, i) => assert.ok(at[id].left >= at[across[i]].right && at[id].top === at[across[0]].top, `${id} right of ${across[i]}`));
      assert.ok(Math.abs(at.List1_3.left - at.Text1_0.left) < 1 && Math.abs(at.List1_2.right - at.Text1_0.right) < 1, 'lists across the column');
      // Seven whole rows show, as in the window; a tap picks a row in all four.
      assert.equal(await page.$eval('#List1_0', (list) => [...list.children].filter((o) => o.getBoundingClientRect().bottom <= list.getBoundingClientRect().bottom - list.clientTop).length), 7);
      await tap(page, '#List1_1 > :nth-child(3)');
      assert.deepEqual(await page.$$eval('[aria-selected=true]', (rows) => rows.map((o) => o.id)), ['List1_0_2', 'List1_1_2', 'List1_2_2', 'List1_3_2']);
      assert.equal((await shown(page)).cipher, CIPHER);
      assert.deepEqual(await audit(page), [], 'axe-core, after Encrypt');
      // Turned and back, the picked rows stay in view; a box typed in, above a keyboard half the screen high.
      for (const [w, h, what, n] of [[height, width, '[aria-selected=true]', 4], [width, height, '[aria-selected=true]', 4], [width, height >> 1, '#Text2_2', 1]]) {
        if (n === 1) await page.$eval(what, (box) => { box.focus(); scrollTo(0, 1e5); });
        await page.setViewport({ width: w, height: h, ...touch });
        await settled(page);
        assert.equal(await page.$$eval(what, (es) => es.filter((e) => e.getBoundingClientRect().top >= 0 && e.getBoundingClientRect().bottom <= innerHeight).length), n, `${what} at ${w}x${h}`);
      }
      await tap(page, '#Command1_1');
      assert.deepEqual((await shown(page)).boxes, ['', '', '']);
      assert.deepEqual(page.errors, []);
      await page.close();
    });
  }
}

function zoomed(it) {
  test('zoomed to 400 % in a 1280-pixel window, text is twice its size or more and nothing scrolls sideways', async () => {
    const plain = await open(it.browser, url, { width: 1280, height: 800 });
    const normal = await size(plain);
    await plain.close();
    const page = await open(it.browser, url, { width: 320, height: 200, deviceScaleFactor: 4 });
    const zoomed = await size(page);
    assert.deepEqual(await hidden(page), [0], 'as opened');
    assert.ok(zoomed >= 2 * normal, `${zoomed} device pixels against ${normal}`);
    assert.deepEqual(await misfits(page), []);
    assert.deepEqual(await audit(page), [], 'axe-core, at start');
    await page.close();
  });
}

// A reader's settings once the page is open (Firefox's minimum font size from its start).
function readerSettings(it) {
  let reader;
  after(() => reader?.close());
  for (const [what, width, set, least = 0] of [...[800, 375].map((w) => ['spacing in <head>', w, (page) => page.addStyleTag({ content: spacing })]),
    ...['html', 'body'].map((e) => [`spacing on <${e}>`, 800, (page) => page.$eval(e, (e, css) => { e.style.cssText = css; }, spacing.split(/[{}]/)[1])]),
    ['spacing in an adopted style sheet', 800, (page) => page.evaluate((css) => { document.adoptedStyleSheets = [new CSSStyleSheet()]; document.adoptedStyleSheets[0].replaceSync(css); }, spacing)],
    ['a default font size of 20 pixels', 800, async (page) => (await page.createCDPSession()).send('Page.setFontSizes', { fontSizes: { standard: 20 } }), 20],
    ['a minimum font size of 28 pixels', 800, null, 28]]) {
    test(`with ${what}, ${width} pixels wide, no text is cut and nothing overlaps`, { skip: least > 0 && it.name !== (set ? 'chromium' : 'firefox') }, async () => {
      reader ??= set ? null : await launch(it.name, undefined, { prefs: { 'font.minimum-size.x-cyrillic': 28 } });
      const page = await open(set ? it.browser : reader, url, { width, height: 600 });
      await page.click('#Command1_0');
      await set?.(page);
      await settled(page);
      assert.deepEqual(await misfits(page), []);
      assert.ok(await size(page) >= least, `text ${await size(page)} pixels high`);
      await page.close();
    });
  }
}

// Limits 10, 10 and 40 characters. `ime`: a word composed from its first three letters (in Chromium's driver alone).
// `first`: typed (or a key pressed) before, a step of its own, as in a plain box.
function undoAfterCut(it) {
  test('after a box cuts a paste, a letter or a word, Ctrl+Z gives back the text before and Ctrl+Y the cut', async () => {
    const page = await open(it.browser, url);
    const value = (k) => settled(page).then(() => page.$eval(`#Text2_${k}`, (box) => [box.value, box.selectionStart]));
    for (const [k, start, [from, to], how, data, cut, first] of [[0, 'ZEBRAS', [3, 3], 'paste', 'ЖЖЖЖЖЖЖЖ', 'ZEBЖЖЖЖRAS'],
      [1, 'RUSSIAN', [7, 7], 'paste', 'abcdefghijkl', 'RUSSIANabc'], [2, 'DYNAMITE', [0, 0], 'paste', '😀'.repeat(50), '😀'.repeat(32) + 'DYNAMITE'],
      [0, 'ZEBRAS', [0, 6], 'paste', 'abc\ndef\nghijk\n', 'abc def gh'], [1, '', [0, 0], 'paste', 'x'.repeat(30), 'x'.repeat(10)], [2, 'AB', [1, 1], 'paste', 'c\nd\n\n', 'Ac dB'],
      [2, '', [0, 0], 'paste', '😀'.repeat(400000), '😀'.repeat(40)], [0, 'ABCDEFGHIJ', [2, 2], 'type', 'x', 'ABCDEFGHIJ'], [0, 'ABCDEFGH', [8, 8], 'ime', 'xyzw', 'ABCDEFGHxy'],
      [0, 'ZEBRAS', [6, 6], 'paste', 'CDEFGH', 'ZEBRASABCD', 'AB'], [0, 'ZEBRAS', [0, 6], 'paste', 'x'.repeat(15), 'x'.repeat(10), 'Backspace']]) {
      if (how === 'ime' && it.name !== 'chromium') continue;
      if (how === 'paste') await page.evaluate((text) => Object.assign(document.body.appendChild(document.createElement('textarea')), { value: text }).select(), data).then(() => chord(page, 'Control+KeyC'));
      await page.$eval(`#Text2_${k}`, (box, text, range) => { box.value = text; box.focus(); box.setSelectionRange(...range); }, start, [from, to]);
      if (first === 'Backspace') await page.keyboard.press(first);
      else if (first) await page.keyboard.type(first);
      const before = (await value(k))[0];
      if (how === 'paste') await chord(page, 'Control+KeyV');
      if (how === 'type') await page.keyboard.type(data);
      const cdp = how === 'ime' && await page.createCDPSession();
      if (cdp) await cdp.send('Input.imeSetComposition', { text: data.slice(0, 3), selectionStart: 3, selectionEnd: 3 }).then(() => cdp.send('Input.insertText', { text: data }));
      assert.deepEqual(await value(k), [cut, cut.length - (start.length - to)], `box ${k} cut`);
      for (const [keys, text] of [['Control+KeyZ', before], ['Control+KeyY', cut], ['Control+KeyZ', before], ['Control+Shift+KeyZ', cut]]) {
        await chord(page, keys);
        assert.equal((await value(k))[0], text, `box ${k} after ${keys}`);
      }
    }
    assert.deepEqual(page.errors, []);
    await page.close();
  });
}

function pickedRowContrast(it) {
  test('the picked row reads at 4.5:1 or more in every list, with and without the focus', async () => {
    const page = await open(it.browser, url);
    await page.click('#Command1_0');
    await page.click('#List1_2 > :nth-child(3)');
    for (const focus of ['#List1_2', '#Text2_0']) {
      await page.focus(focus);
      for (const k of [0, 1, 2, 3]) {
        const row = `#List1_${k} > :nth-child(3)`;
        const { height } = await (await page.$(row)).boundingBox();
        const text = await page.$eval(row, (o) => getComputedStyle(o).color.match(/\d+/g).map(Number));
        const back = await pixel(page, row, 2, height / 2); // between the focus mark and the text
        const ratio = contrast(text, back);
        assert.ok(ratio >= 4.5, `list ${k}, focus in ${focus}: ${text} on ${back}, ${ratio.toFixed(2)}:1`);
      }
    }
    await page.close();
  });
}

// The setting phones offer: the text turns light; what is painted behind
// it must then be dark enough. Each text against the colour that covers
// most of its place.
function darkMode(it) {
  test('under Chromium\'s automatic dark mode every text reads at 4.5:1 or more', { skip: it.name !== 'chromium' }, async (t) => {
    const dark = await launch(it.name, undefined, { args: ['--blink-settings=forceDarkModeEnabled=true'] });
    t.after(() => dark.close());
    const page = await open(dark, url);
    await page.click('#Command1_0');
    await page.click('#List1_2 > :nth-child(3)');
    const low = [];
    for (const e of await page.$$('#window .label:not([hidden]), #window legend, #window button, #window input, #window [role=option]:nth-child(-n+3)')) {
      const r = await e.boundingBox();
      const clip = { x: Math.round(r.x) + 2, y: Math.round(r.y) + 2, width: Math.round(r.width) - 4, height: Math.round(r.height) - 4 };
      const { data } = PNG.sync.read(await page.screenshot({ clip }));
      const seen = new Map();
      for (let i = 0; i < data.length; i += 4) seen.set(data.readUIntBE(i, 3), (seen.get(data.readUIntBE(i, 3)) ?? 0) + 1);
      const rgbOf = (n) => [n >> 16, (n >> 8) & 255, n & 255];
      const back = rgbOf([...seen].sort((a, b) => b[1] - a[1])[0][0]);
      const ratio = Math.max(...[...seen.keys()].map((n) => contrast(rgbOf(n), back)));
      if (ratio < 4.5) low.push(`${await e.evaluate((e) => e.id || e.textContent)} ${ratio.toFixed(1)}:1 on ${back}`);
    }
    assert.deepEqual(low, []);
    await page.close();
  });
}

function forcedColours(it) {
  test('under forced colours the picked row takes the system highlight, and focus marks and buttons\' edges show', async (t) => {
    // Chromium emulates forced colours in a page; Firefox forces them with a setting.
    const forced = it.name === 'firefox' ? await launch(it.name, undefined, { prefs: { 'browser.display.document_color_use': 2 } }) : it.browser;
    if (forced !== it.browser) t.after(() => forced.close());
    const page = await open(forced, url, undefined, async (p) => {
      if (it.name === 'chromium') {
        await (await p.createCDPSession()).send('Emulation.setEmulatedMedia', { features: [{ name: 'forced-colors', value: 'active' }] });
      }
    });
    assert.ok(await page.evaluate(() => matchMedia('(forced-colors: active)').matches));
    // The system's colours as painted (Chromium's highlight is translucent), and its highlighted text's.
    await page.evaluate(() => ['Highlight', 'Canvas'].forEach((colour, i) => document.body.append(Object.assign(document.createElement('div'),
      { id: colour, style: `forced-color-adjust: none; position: fixed; left: ${10 * i}px; top: 0; width: 8px; height: 8px; background: ${colour}; color: HighlightText` }))));
    const [highlight, canvas] = [await pixel(page, '#Highlight', 4, 4), await pixel(page, '#Canvas', 4, 4)];
    const highlightText = await page.$eval('#Highlight', (probe) => getComputedStyle(probe).color);
    await page.$$eval('#Highlight, #Canvas', (probes) => probes.forEach((probe) => probe.remove()));
    await page.click('#Command1_0');
    await page.click('#List1_2 > :nth-child(3)');
    await page.focus('#Text2_0');
    // Clear of the numbers, at the right end of the rows.
    const row = await (await page.$('#List1_2 > :nth-child(3)')).boundingBox();
    assert.deepEqual(await pixel(page, '#List1_2 > :nth-child(3)', row.width - 3, row.height / 2), highlight, 'picked row');
    assert.deepEqual(await pixel(page, '#List1_2 > :nth-child(4)', row.width - 3, row.height / 2), canvas, 'other row');
    assert.notDeepEqual(highlight, canvas, 'the system highlight');
    assert.equal(await page.$eval('#List1_2 [aria-selected=true]', (o) => getComputedStyle(o).color), highlightText);
    // A button's edge against the page, without and with the focus mark beside it.
    for (const button of ['#Command1_0', '#Command1_1']) {
      const edge = await pixel(page, button, 0, 10);
      assert.ok(contrast(edge, canvas) >= 3, `${button} edge ${edge} on ${canvas}`);
      assert.deepEqual(await pixel(page, button, -3, 10), canvas, `${button} unfocused`);
      await page.focus(button);
      assert.ok(contrast(await pixel(page, button, -3, 10), canvas) >= 3, `${button} focus mark`);
    }
    await page.close();
  });
}

eachBrowser((it) => {
  after(() => { for (const child of (it.children ?? []).reverse()) child.kill(); }); // once the browser has closed
  for (const tests of [squareAndListsHeard, commandsHeard, withoutWebAssembly, touchScreens, zoomed, readerSettings,
    undoAfterCut, pickedRowContrast, darkMode, forcedColours]) tests(it);
}, { options: busesFor });
