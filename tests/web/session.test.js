// SPDX-License-Identifier: GPL-3.0-or-later
// Plays the conformance sessions (tests/sessions/*.session, the format in
// tests/sessions/README.md) on dist/web/nihilist-cipher.html in Debian's
// Chromium and Firefox ESR, with real input, and after every step compares
// the state line read from the page with the one the desktop window wrote.
//   node --test tests/web/session.test.js
// Environment: WEB_BROWSERS (chromium,firefox); SESSION_SEED=n plays instead
// a session of SESSION_STEPS (60) random steps that the window generates from
// seed n (SESSION_PLAYER names its sessiontest program; without it the
// default build makes one).
//
// How the steps arrive:
//   paste   the text is put on the browser's clipboard (navigator.clipboard;
//           Chromium with the clipboard permissions, Firefox with its testing
//           preference), then Ctrl+V, which the browser pastes itself
//           (Chromium's driver is told the key's Paste command).
//   insert  in a box keyboard.sendCharacter: CDP Input.insertText in
//           Chromium; in Firefox the driver's character input, one code point
//           at a time (it takes no more), which a box fits to its limit alike;
//           elsewhere the characters as keys.
//   wheel   one mouse.wheel of deltaY 100 per notch over the list's middle.
'use strict';

const assert = require('node:assert/strict');
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { before, test } = require('node:test');
const { layoutTable, settled, open } = require('../../testsupport/browser.js');
const { eachBrowser, chord } = require('./helpers.js');

const root = path.resolve(__dirname, '../..');
// What the state line needs of the layout table: a list row in pixels, the
// controls that take the focus, the boxes, the cells, and the lists in the
// order they stand left to right.
let layout;
before(async () => {
  const table = await layoutTable();
  const lists = table.controls.filter((c) => c.name.startsWith('List1_')).sort((a, b) => a.twips[0] - b.twips[0]);
  layout = { rowHeight: table.list.rowTwips / table.twipsPerPixel, focus: table.focus, boxes: table.model.boxes,
    cells: table.model.cells, lists: lists.map((c) => Number(c.name.split('_')[1])) };
});

// The window writes the random session: its steps and its state lines.
function generated(seed) {
  const steps = process.env.SESSION_STEPS || '60';
  let player = process.env.SESSION_PLAYER;
  if (!player) {
    execFileSync('cmake', ['--preset', 'default'], { cwd: root, stdio: ['ignore', 'ignore', 'inherit'] });
    execFileSync('cmake', ['--build', '--preset', 'default', '--target', 'sessiontest'], { cwd: root, stdio: 'inherit' });
    player = path.join(root, 'build/default/tests/window/sessiontest');
  }
  const file = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'nihilist-session-')), `generated-${seed}.session`);
  execFileSync(player, ['--generate', String(seed), steps, file], { env: { ...process.env, QT_QPA_PLATFORM: 'offscreen' } });
  return file;
}

const sessionFiles = process.env.SESSION_SEED ? [generated(Number(process.env.SESSION_SEED))]
  : fs.readdirSync(path.join(root, 'tests/sessions')).filter((name) => name.endsWith('.session')).sort()
    .map((name) => path.join(root, 'tests/sessions', name));

// A session's steps with their line numbers, and the state lines expected
// after the start (index 0) and after each step.
function read(file) {
  const steps = [];
  const expected = [null];
  fs.readFileSync(file, 'utf8').split('\n').forEach((line, i) => {
    if (line.startsWith('= ')) expected[steps.length] ??= { line: i + 1, text: line };
    else if (line !== '' && !line.startsWith('#')) {
      steps.push({ line: i + 1, text: line });
      expected.push(null);
    }
  });
  return { steps, expected };
}

// The state line, read from the page's controls once it has settled.
const stateLine = async (page) => (await settled(page), page.evaluate((layout) => {
  const byId = (id) => document.getElementById(id);
  const codePoints = (text, units) => [...text.slice(0, units)].length;
  const upTo = (count) => Array.from({ length: count }, (_, i) => i);
  const active = document.activeElement;
  const focus = active && layout.focus.includes(active.id) ? active.id : '-';
  const boxes = upTo(layout.boxes).map((k) => {
    const box = byId(`Text2_${k}`);
    const { value, selectionStart: a, selectionEnd: b } = box;
    const caret = box === active && a !== b ? `${codePoints(value, a)}-${codePoints(value, b)}`
      : codePoints(value, box.selectionDirection === 'backward' ? a : b);
    return `${JSON.stringify(value)}@${caret}`;
  });
  const square = upTo(layout.cells).map((i) => byId(`Label3_${i}`).textContent || '_').join('');
  const lists = upTo(layout.lists.length).map((k) => byId(`List1_${k}`));
  const options = lists.map((list) => [...list.querySelectorAll('[role=option]')]);
  const oneOrFour = (values) => (values.every((v) => v === values[0]) ? `${values[0]}` : values.join(','));
  const picked = options.map((each) => each.findIndex((option) => option.getAttribute('aria-selected') === 'true'));
  const top = lists.map((list) => Math.round(list.scrollTop / layout.rowHeight));
  const count = Math.max(...options.map((each) => each.length));
  const rows = upTo(count).map((row) => layout.lists
    .map((k) => (row < options[k].length ? options[k][row].textContent : '?')).join('/'));
  return `= focus ${focus} | boxes ${boxes.join(' ')} | square ${square} | picked ${oneOrFour(picked)}`
    + ` | top ${oneOrFour(top)} | rows ${rows.length ? rows.join(' ') : '-'}`;
}, layout));

// Where a click lands in list k: the visible part of a row, or the blank
// space under the last row; null when there is none.
const listPoint = (page, k, row) => page.evaluate((id, row) => {
  const list = document.getElementById(id);
  const frame = list.getBoundingClientRect();
  const inside = { top: frame.top + list.clientTop, bottom: frame.top + list.clientTop + list.clientHeight };
  const left = frame.left + list.clientLeft;
  const x = left + list.clientWidth / 2;
  const options = list.querySelectorAll('[role=option]');
  if (row === 'blank') {
    const last = options[options.length - 1];
    const from = last ? Math.max(last.getBoundingClientRect().bottom, inside.top) : inside.top;
    return from < inside.bottom - 1 ? { x, y: (from + inside.bottom) / 2 } : null;
  }
  const option = options[row];
  if (!option) return null;
  const r = option.getBoundingClientRect();
  const [top, bottom] = [Math.max(r.top, inside.top), Math.min(r.bottom, inside.bottom)];
  return bottom - top >= 1 ? { x, y: (top + bottom) / 2 } : null;
}, `List1_${k}`, row);

const keys = { Up: 'ArrowUp', Down: 'ArrowDown', Left: 'ArrowLeft', Right: 'ArrowRight', Home: 'Home', End: 'End',
  PageUp: 'PageUp', PageDown: 'PageDown', Space: ' ', Enter: 'Enter', Backspace: 'Backspace', Delete: 'Delete',
  Tab: 'Tab' };

// The number of a control of `group` that takes the focus, named in a step.
const numbered = (word, group) => {
  assert.ok(word.startsWith(`${group}_`) && layout.focus.includes(word), `no ${group} ${word}`);
  return Number(word.split('_')[1]);
};
const focused = (page) => page.evaluate(() => document.activeElement?.id);

// A click in a list (List1_k row n, List1_k blank) or on a button.
async function click(page, words, button) {
  if (words[0].startsWith('Command1_')) {
    numbered(words[0], 'Command1');
    return page.click(`#${words[0]}`, { button });
  }
  const at = await listPoint(page, numbered(words[0], 'List1'), words[1] === 'blank' ? 'blank' : Number(words[2]));
  assert.ok(at, 'nothing there to click');
  return page.mouse.click(at.x, at.y, { button });
}

// How each verb is played: from the page, the browser's name, the rest of
// the step and its words; each throws when the step cannot be played.
const verbs = {
  async select(page, browserName, rest, [id, from, to]) {
    numbered(id, 'Text2');
    await page.evaluate((id, from, to) => {
      const box = document.getElementById(id);
      const points = [...box.value];
      if (to > points.length || from > to) throw new Error('past the end of the text');
      box.focus();
      box.setSelectionRange(points.slice(0, from).join('').length, points.slice(0, to).join('').length);
    }, id, Number(from), Number(to));
  },
  async type(page, browserName, rest) {
    for (const c of rest) await page.keyboard.type(c);
  },
  async paste(page, browserName, rest) {
    const match = rest.match(/^(.*) \*(\d+)$/);
    const text = match ? match[1].repeat(Number(match[2])) : rest;
    await page.evaluate((text) => navigator.clipboard.writeText(text), text);
    await page.keyboard.down('Control');
    await page.keyboard.press('KeyV', browserName === 'chromium' ? { commands: ['Paste'] } : {});
    await page.keyboard.up('Control');
  },
  async insert(page, browserName, rest) {
    // Firefox's driver takes one character at a time. Outside a box an input
    // method has nothing to write into: the characters arrive as keys.
    if (!(await page.evaluate(() => document.activeElement.matches('input, textarea')))) return page.keyboard.type(rest);
    for (const c of browserName === 'firefox' ? [...rest] : [rest]) await page.keyboard.sendCharacter(c);
  },
  async key(page, browserName, rest) {
    if (rest === 'Shift+Tab') {
      assert.notEqual(await focused(page), layout.focus[0], 'Shift+Tab past the first control');
      return chord(page, 'Shift+Tab');
    }
    assert.ok(keys[rest], `no key ${rest}`);
    if (rest === 'Tab') assert.notEqual(await focused(page), layout.focus.at(-1), 'Tab past the last control');
    await page.keyboard.press(keys[rest]);
  },
  click: (page, browserName, rest, words) => click(page, words, 'left'),
  rightclick: (page, browserName, rest, words) => click(page, words, 'right'),
  async wheel(page, browserName, rest, [list, notches]) {
    const box = await (await page.$(`#List1_${numbered(list, 'List1')}`)).boundingBox();
    await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
    for (let i = 0; i < Math.abs(Number(notches)); ++i) await page.mouse.wheel({ deltaY: Math.sign(Number(notches)) * 100 });
  },
};

// Plays one step; throws when the step cannot be played on the page.
async function play(page, browserName, step) {
  const [verb] = step.split(' ', 1);
  const rest = step.slice(verb.length + 1);
  if (!Object.hasOwn(verbs, verb)) throw new Error(`unknown step "${step}"`);
  await verbs[verb](page, browserName, rest, rest.split(' '));
}

eachBrowser((it) => {
  before(async () => {
    if (it.name === 'chromium') {
      await it.browser.defaultBrowserContext().overridePermissions(it.server.url,
        ['clipboard-read', 'clipboard-write', 'clipboard-sanitized-write']);
    }
  });

  for (const file of sessionFiles) {
    test(path.basename(file), async () => {
      const { steps, expected } = read(file);
      const page = await open(it.browser, it.server.url);
      const where = (i) => `${file}:${expected[i]?.line ?? steps[i - 1].line}`;
      const check = async (i, what) => {
        const actual = await stateLine(page);
        assert.ok(expected[i], `${where(i)}: no state line after ${what}`);
        if (actual === expected[i].text) return;
        // Long lines are shown around their first difference.
        const at = [...actual].findIndex((c, n) => c !== expected[i].text[n]);
        const near = (line) => `${at > 80 ? '…' : ''}${line.slice(Math.max(0, at - 80), at + 160)}${line.length > at + 160 ? '…' : ''}`;
        assert.fail(`${where(i)}: after ${what}\n  expected ${near(expected[i].text)}\n  actual   ${near(actual)}`);
      };
      await check(0, 'the start');
      for (const [s, step] of steps.entries()) {
        try {
          await play(page, it.name, step.text);
        } catch (error) {
          error.message = `${file}:${step.line}: step ${s + 1} "${step.text}": ${error.message}`;
          throw error;
        }
        await check(s + 1, `step ${s + 1} "${step.text}"`);
      }
      assert.deepEqual(page.errors, []);
      await page.close();
    });
  }
});
