// SPDX-License-Identifier: GPL-3.0-or-later
'use strict';
/* global loadCore -- core.js, inlined before this script */
// The window, drawn with the browser's own controls from the layout table
// the core module hands over. Every command and every rule of the lists
// runs in the core; the page turns events into its calls and draws what it
// holds. In parts: the settle signal, the error handling, the core bridge,
// the window's controls, the boxes, the square, the lists, the buttons, the
// one-column layout, and the start.
{
// A wheel notch as the core counts it (eighths of a degree), and as the
// browser measures it, by WheelEvent.deltaMode: 100 pixels (Chromium),
// 3 lines (Firefox) or a page.
const NOTCH_ANGLE = 120;
const NOTCH_DELTA = [100, 3, 1];
// How long a scroll by the scroll bar or a finger may pause before the
// list settles on a whole row.
const SCROLL_PAUSE_MS = 200;
// Text may stand this far past its control's edge: a pixel either side is
// the window's own ("Шифър" in its header).
const OVERHANG_PX = 1.5;
// How much of each colour is left when the browser's dark mode needs darker
// backgrounds: light text on any of the window's colours then reads at 5:1.
const DARKENED = 0.5;
const MESSAGE = {
  unsupported: 'Програмата не може да работи в този браузър: той не изпълнява WebAssembly или то е изключено в '
    + 'настройките му. Включете WebAssembly или отворете страницата в друг или по-нов браузър.',
  failed: 'Програмата не можа да започне в този браузър. Опитайте с друг браузър или по-нова версия.',
  restarted: 'Програмата срещна грешка и започна отначало. Текстът в полетата е запазен.',
  stopped: 'Програмата спря поради грешка. Презаредете страницата.',
};
// What each list holds, for a screen reader, by list number.
const HOLDS = ['кодът на всяка буква на текста в квадрата', 'кодът на буквата от ключа, с която тя се събира',
  'сборът на двата кода, числото на шифъра', 'буквите на текста, една на ред'];

// What the page learns at its start and what changes as the pupil works,
// in one place.
const state = {
  pending: 1, // the settle signal's count of work left to run; 1: the start
  core: null, // while a failed core is replaced, null and events are dropped
  table: null, // the layout table, from the core
  texts: null, // the panes' texts, by file name
  boxes: [], // the boxes' numbers, as the core numbers them; `lists` alike
  lists: [],
  tableRow: 0, // a list row in pixels, as in the window
  rowHeight: 0, // a list row in pixels as now laid out (taller for a finger)
  said: [], // the two live regions that take turns
  accepted: [], // what each box held after its last edit
  tabbing: false, // Tab or Shift+Tab is held: focus it brings is the keyboard's
  laid: '', // the view's shape at the last layout
  paint: null, // a background colour as painted (darkened in forced dark mode)
};

// ---- The settle signal. <html data-settled> stands while nothing the page
// started is left to run (an event's core calls, a timer, a fresh core);
// each time it comes back, a `settled` event goes to the window.
const hold = () => {
  if (state.pending++ === 0) delete document.documentElement.dataset.settled;
};
const release = () => {
  if (--state.pending > 0) return;
  document.documentElement.dataset.settled = '';
  dispatchEvent(new Event('settled'));
};

// ---- Error handling. A browser that cannot run the core is told so by an
// error of its own kind; anything else that stops the start gets the
// general message. A core that fails later is replaced.
class Unsupported extends Error {}
const status = document.getElementById('status');
const say = (text) => {
  status.textContent = text;
  status.hidden = !text;
};
// Runs an event's work; should the core fail, a fresh one takes over.
const guard = (work) => (event) => {
  if (!state.core) return;
  hold();
  try {
    work(event);
  } catch (error) {
    restart(error);
  } finally {
    release();
  }
};
async function restart(error) {
  hold();
  console.error(error);
  const failed = state.core;
  state.core = null;
  say(MESSAGE.restarted);
  try {
    state.core = await loadCore(failed.module);
    state.core.load();
    state.core.setBoxes(state.accepted);
    show();
  } catch (again) {
    console.error(again);
    state.core = null;
    say(MESSAGE.stopped);
  }
  release();
}

// ---- The core bridge: the module from the page's own bytes (core.js).
async function startCore() {
  if (typeof WebAssembly !== 'object') throw new Unsupported(MESSAGE.unsupported);
  const bytes = Uint8Array.from(atob(document.getElementById('core').textContent), (c) => c.charCodeAt(0));
  return loadCore(bytes).catch(() => { throw new Unsupported(MESSAGE.unsupported); });
}

// ---- The window's controls, from the layout table.
const win = document.getElementById('window');
const holder = document.getElementById('holder');
const made = {};
const px = (twips) => `${twips / state.table.twipsPerPixel}px`;
const rgb = (c) => `rgb(${c.join(', ')})`;
// Chromium's automatic dark mode for sites turns the text light and leaves
// coloured backgrounds light; it shows in the light scheme's white window
// colour coming out otherwise. Then the page darkens what it paints.
function forcedDark() {
  const probe = document.body.appendChild(element('div'));
  probe.style.cssText = 'color-scheme: light; background: Canvas';
  const dark = getComputedStyle(probe).backgroundColor !== 'rgb(255, 255, 255)';
  probe.remove();
  return dark;
}

const element = (tag, attributes = {}, text = '') => {
  const e = document.createElement(tag);
  for (const [name, value] of Object.entries(attributes)) e.setAttribute(name, value);
  e.textContent = text;
  return e;
};
const group = (name) => name.split('_')[0];
const number = (name) => Number(name.split('_')[1]);
// The numbers of a group's controls in the table: the boxes, the lists.
const numbers = (name) => state.table.controls.filter((c) => group(c.name) === name).map((c) => number(c.name));
// A caption labels the box that follows it in the table; the one no box
// follows is the window's heading.
function labelled(c) {
  const next = state.table.controls[state.table.controls.indexOf(c) + 1];
  return group(next.name) === 'Text2' ? next.name : null;
}
// The square's numbers down its left side head its rows; those along its
// top, its columns.
function header(c) {
  const left = Math.min(...state.table.controls.filter((d) => d.inFrame).map((d) => d.twips[0]));
  return c.twips[0] === left ? 'rowheader' : 'columnheader';
}
function makeControl(c) {
  switch (group(c.name)) {
  case 'Text1': {
    const pane = element('textarea', { readonly: '', wrap: 'off', 'aria-label': c.accessible, spellcheck: 'false' });
    pane.value = state.texts[c.caption];
    return pane;
  }
  case 'Label1':
    return labelled(c) ? element('label', { class: 'label', for: labelled(c) }, c.caption)
      : element('h1', { class: 'label' }, c.caption);
  case 'Text2': {
    const box = element('input', { type: 'text', spellcheck: 'false', autocomplete: 'off', autocapitalize: 'off' });
    box.value = c.caption;
    return box;
  }
  case 'Frame1': {
    const frame = element('fieldset');
    frame.append(element('legend', { id: 'Frame1_caption' }, c.caption),
      element('div', { class: 'grid', role: 'table', 'aria-labelledby': 'Frame1_caption' }));
    return frame;
  }
  // The square is a table: a reader names a cell with its row's and its
  // column's number ("Z, ред 1, колона 1").
  case 'Label2':
    return element('div', { class: 'label', role: header(c),
      'aria-label': `${c.accessible} ${c.caption}` }, c.caption);
  case 'Label3': return element('div', { class: 'label', role: 'cell' }, c.caption);
  case 'Command1': return element('button', { type: 'button' }, c.caption);
  case 'Label4': return element('div', { class: 'label' }, c.caption);
  case 'List1': return element('div', { role: 'listbox', tabindex: '0', 'aria-labelledby': `Label4_${number(c.name)}`,
    'aria-describedby': `${c.name}_holds` });
  }
  throw new Error(c.name);
}
// The controls go into the page in the table's order, but the ones that
// take the focus fill their places in Tab order.
function placeControls() {
  const { table } = state;
  document.title = table.caption;
  state.paint = rgb;
  if (forcedDark()) {
    state.paint = (c) => rgb(c.map((v) => Math.round(v * DARKENED)));
    document.documentElement.style.background = state.paint(table.colour);
  }
  win.style.cssText = `width: ${px(table.client[0])}; height: ${px(table.client[1])}; background: ${state.paint(table.colour)}`;
  win.style.setProperty('--rows', table.list.visibleRows);
  win.style.setProperty('--picked', rgb(table.pickedRow));
  const focusable = [];
  for (const c of table.controls) {
    const control = makeControl(c);
    control.id = c.name;
    const [x, y, w, h] = c.twips.map(px);
    control.style.cssText += `left: ${x}; top: ${y}; width: ${w}; height: ${h}`;
    if (c.background) control.style.background = state.paint(c.background);
    control.hidden = !c.shown;
    made[c.name] = control;
    if (table.focus.includes(c.name)) focusable.push(control);
    (c.inFrame ? grid() : win).append(control);
  }
  const slots = focusable.map((control) => {
    const slot = document.createComment('');
    control.replaceWith(slot);
    return slot;
  });
  slots.forEach((slot, i) => slot.replaceWith(made[table.focus[i]]));
  // Heard, not seen: after Encrypt or Clear, what it left; what each list
  // holds.
  state.said = ['Announce_0', 'Announce_1'].map((id) => element('p', { id, role: 'status', class: 'unseen' }));
  win.append(...state.said, ...state.lists.map((k) => element('span', { id: `List1_${k}_holds`, hidden: '' }, HOLDS[k])));
}

// ---- The square: its numbers and cells go into the table's rows, by where
// the layout puts them; the corner above the row numbers is an empty cell.
// The frame's table, which holds the square.
const grid = () => made.Frame1.lastChild;
function placeSquare() {
  const inFrame = state.table.controls.filter((c) => c.inFrame);
  const place = (i) => [...new Set(inFrame.map((c) => c.twips[i]))].sort((a, b) => a - b);
  for (const top of place(1)) {
    const row = element('div', { role: 'row', class: 'row' });
    for (const left of place(0)) {
      const c = inFrame.find(({ twips }) => twips[0] === left && twips[1] === top);
      row.append(c ? made[c.name] : element('div', { role: 'cell', class: 'corner' }));
    }
    grid().append(row);
  }
}
// The frame's own border and caption push its contents down and right; the
// grid moves back so the table's positions hold from its outer corner.
function alignSquare() {
  const frame = made.Frame1.getBoundingClientRect();
  const origin = grid().getBoundingClientRect();
  grid().style.left = `${frame.left - origin.left}px`;
  grid().style.top = `${frame.top - origin.top}px`;
}
const showSquare = () => state.core.cells().forEach((letter, i) => { made[`Label3_${i}`].textContent = letter; });

// ---- The boxes. Each keeps within its limit in characters and on one
// line, whatever way text arrives. What a box refuses is refused before the
// edit lands, and what it keeps goes in as the browser's own edit, so that
// Ctrl+Z gives back exactly the text before and Ctrl+Y redoes.
const box = (k) => made[`Text2_${k}`];
const limit = (k) => state.table.controls.find((c) => c.name === `Text2_${k}`).limit;
const points = (text) => [...text];
const placeCaret = (input, text, cursor) => {
  const caret = points(text).slice(0, cursor).join('').length;
  input.setSelectionRange(caret, caret);
};
// Where an edit could not be stopped: cut after it, outside the undo.
function fit(k) {
  const input = box(k);
  if (points(input.value).length > limit(k)) {
    const { text, cursor } = state.core.fit(k, state.accepted[k], input.value);
    input.value = text;
    placeCaret(input, text, cursor);
  }
  state.accepted[k] = input.value;
}
// Line breaks as the window puts them, by the core's rule.
const oneLine = (text, whole) => state.core.oneLine(text, whole);
// Replaces the box's selection so that the box then holds `fitted`, as one
// edit of the browser's; the whole text if the rest is not where it was.
function edit(input, { text, cursor }) {
  const [head, tail] = [input.value.slice(0, input.selectionStart), input.value.slice(input.selectionEnd)];
  const whole = !(text.length >= head.length + tail.length && text.startsWith(head) && text.endsWith(tail));
  if (whole) input.select();
  const insert = whole ? text : text.slice(head.length, text.length - tail.length);
  endTyping(input);
  if (insert || input.selectionStart !== input.selectionEnd) document.execCommand('insertText', false, insert);
  if (whole) placeCaret(input, text, cursor); // else the browser's caret, after what went in, is the core's
  endTyping(input);
}
// Chromium would make one undo step of this edit and the typing next to it;
// setting the selection, even where it is, ends the typing.
const endTyping = (input) => input.setSelectionRange(input.selectionStart, input.selectionEnd, input.selectionDirection);
const INSERTS = /^insert(Text|FromPaste|FromDrop|ReplacementText|FromYank)$/;
function cutBefore(k, event) {
  const input = box(k);
  if (!event.cancelable || event.isComposing || !INSERTS.test(event.inputType)) return;
  const data = event.data ?? event.dataTransfer?.getData('text/plain') ?? '';
  // No more of it than the box could ever hold (a code point is at most two
  // units, a line break two), cut before the core sees it.
  const most = 4 * limit(k) + 4;
  const text = points(oneLine(data.slice(0, most), data.length <= most)).slice(0, limit(k)).join('');
  const [head, tail] = [input.value.slice(0, input.selectionStart), input.value.slice(input.selectionEnd)];
  if (text === data && points(head + text + tail).length <= limit(k)) return;
  event.preventDefault();
  edit(input, state.core.fit(k, input.value, head + text + tail));
}
// An input method's word cannot be stopped; once done, if it went over,
// it is undone and what fits goes in instead, as one edit.
const composing = new Map(); // box number -> its text and selection when the word began
function composed(k) {
  const input = box(k);
  const [before, from, to] = composing.get(k) ?? [];
  composing.delete(k);
  const after = input.value;
  if (before !== undefined && points(after).length > limit(k)) {
    document.execCommand('undo');
    if (input.value === before) {
      input.setSelectionRange(from, to);
      edit(input, state.core.fit(k, before, after));
    } else if (input.value !== after) {
      document.execCommand('redo');
    }
  }
  fit(k);
}
function listenToBoxes() {
  for (const k of state.boxes) {
    box(k).addEventListener('beforeinput', guard((event) => cutBefore(k, event)));
    box(k).addEventListener('input', guard((event) => { if (!event.isComposing && !composing.has(k)) fit(k); }));
    box(k).addEventListener('compositionstart', () => composing.set(k, [box(k).value, box(k).selectionStart, box(k).selectionEnd]));
    box(k).addEventListener('compositionend', guard(() => composed(k)));
  }
}
// The boxes as the core has them, each showing the start of its text, as
// after a fresh start.
function showBoxes() {
  state.accepted = state.core.boxes();
  for (const k of state.boxes) {
    box(k).value = state.accepted[k];
    box(k).setSelectionRange(0, 0);
    box(k).scrollLeft = 0;
  }
}

// ---- The lists as the core has them: the picked row, and the first row
// shown at the top of each. A list the pupil is scrolling is left to its
// scroll bar or finger until the scroll ends or pauses.
const list = (k) => made[`List1_${k}`];
const scrolling = new Map(); // list number -> the timer of its pause
function showLists() {
  const selected = state.core.selected();
  const tops = state.core.tops();
  for (const k of state.lists) {
    const rows = [...list(k).children];
    rows.forEach((option, row) => option.setAttribute('aria-selected', row === selected[k]));
    if (rows[selected[k]]) list(k).setAttribute('aria-activedescendant', rows[selected[k]].id);
    else list(k).removeAttribute('aria-activedescendant');
    list(k).drawnTop = tops[k] * state.rowHeight;
    if (!scrolling.has(k)) list(k).scrollTop = list(k).drawnTop;
  }
}
function fillLists() {
  state.core.lists().forEach((items, k) => {
    list(k).replaceChildren(...items.map((item, row) => element('div', { role: 'option', id: `List1_${k}_${row}` }, item)));
  });
  showLists();
}
// Below the rows, room for the last rows to scroll up to the top of the
// whole rows a list shows, and no further.
function padLists() {
  for (const k of state.lists) {
    list(k).style.paddingBottom = '';
    const top = parseFloat(getComputedStyle(list(k)).paddingTop);
    list(k).style.paddingBottom = `${list(k).clientHeight - top - state.table.list.visibleRows * state.rowHeight}px`;
  }
}
// The scroll bar or a finger: the row nearest the top comes first, and
// when the scroll ends (or pauses) the list settles on a whole row.
// Snapping by CSS would do the same, but makes a press on the scroll bar's
// track move a single row.
function endScroll(k) {
  if (!scrolling.has(k)) return;
  clearTimeout(scrolling.get(k));
  scrolling.delete(k);
  release();
}
function scrolled(k) {
  if (Math.abs(list(k).scrollTop - list(k).drawnTop) < 1) return false;
  if (scrolling.has(k)) clearTimeout(scrolling.get(k));
  else hold(); // until the pause
  state.core.listScroll(k, Math.round(list(k).scrollTop / state.rowHeight));
  scrolling.set(k, setTimeout(() => {
    scrolling.delete(k);
    guard(showLists)();
    release();
  }, SCROLL_PAUSE_MS));
}
// The lists' handlers get the list's number and the event. Each returns
// false when it changed nothing in the lists; anything else, undefined
// too, has them drawn again.
function pressed(k, event) {
  if (event.button !== 0) return false;
  const option = event.target.closest('[role=option]');
  state.core.listPress(k, option ? [...list(k).children].indexOf(option) : -1);
}
function keyDown(k, event) {
  // Alt and the system key belong to the browser and the desktop; with
  // Alt, the keys that would scroll the list are kept from doing so.
  if (event.altKey && !event.metaKey && /^(Arrow(Up|Down)|Page(Up|Down))$/.test(event.key)) event.preventDefault();
  if (event.altKey || event.metaKey) return false;
  if (state.core.listKey(k, event.key)) event.preventDefault();
  else if (['ArrowLeft', 'ArrowRight', ' '].includes(event.key)) event.preventDefault(); // one column: nowhere to go
  else return false;
}
// A turn the list cannot use (no rows, or at its end that way) scrolls the
// page, as a browser's own scroll box hands it on.
function wheeled(k, event) {
  if (event.ctrlKey) return false; // the browser's zoom
  const mode = event.deltaMode; // read first: Firefox then keeps its own unit
  if (!state.core.listWheel(k, Math.round((-event.deltaY * NOTCH_ANGLE) / NOTCH_DELTA[mode]))) return false;
  event.preventDefault();
}
function listenToLists() {
  addEventListener('keydown', (event) => { if (event.key === 'Tab') state.tabbing = true; }, true);
  addEventListener('keyup', () => { state.tabbing = false; }, true);
  addEventListener('pointerdown', () => { state.tabbing = false; }, true);
  const handlers = {
    mousedown: pressed, keydown: keyDown, wheel: wheeled, scroll: scrolled,
    focus: (k) => state.core.listFocus(k, state.tabbing),
    scrollend: (k) => endScroll(k),
  };
  for (const k of state.lists) {
    for (const [type, work] of Object.entries(handlers)) {
      list(k).addEventListener(type, guard((event) => {
        if (work(k, event) !== false) showLists();
      }), type === 'wheel' ? { passive: false } : {});
    }
  }
}

// ---- The buttons and the core's command each gives. After either, a
// reader hears at once how many rows the lists hold, the focus staying on
// the button.
const COMMANDS = { Command1_0: 'encrypt', Command1_1: 'clear' };
function show() {
  showBoxes();
  showSquare();
  fillLists();
}
function listenToButtons() {
  for (const [name, command] of Object.entries(COMMANDS)) {
    made[name].addEventListener('click', guard(() => {
      state.core.setBoxes(state.boxes.map((k) => box(k).value));
      state.core[command]();
      show();
      say('');
      // Said once, in a live region alone (a changed description is not
      // heard in every browser). Two regions take turns, the other emptied:
      // a browser that sends only what changed in a region's text would
      // send nothing for the same words twice.
      state.said.reverse()[0].textContent = '';
      state.said[1].textContent = state.core.status(command === 'encrypt');
    }));
  }
}

// ---- The one-column layout: the window as drawn, or in one column (see
// the style): for a finger (a coarse pointer), narrower than the window, or
// where its captions or rows no longer hold their text (larger spacing of
// letters, words or lines, a larger or minimum font size). The column's
// order: heading, captions and boxes, the buttons, the square, the lists as
// they stand left to right, the explanation.
function orderColumn() {
  const section = ['Label1', 'Text2', 'Command1', 'Frame1', 'Label4', 'List1', 'Text1'];
  const rank = (c) => Math.max(0, section.indexOf(c.name.split('_')[0]) - 1);
  state.table.controls.filter((c) => !c.inFrame)
    .sort((a, b) => rank(a) - rank(b) || a.twips[1] - b.twips[1] || a.twips[0] - b.twips[0])
    .forEach((c, i) => { made[c.name].style.order = i; });
}
function crowded() {
  const text = document.createRange();
  const cut = (e) => {
    text.selectNodeContents(e);
    const inner = [...text.getClientRects()];
    const outer = e.getBoundingClientRect();
    return inner.length > 1 || inner.some((r) => r.left < outer.left - OVERHANG_PX || r.right > outer.right + OVERHANG_PX
      || r.top < outer.top - OVERHANG_PX || r.bottom > outer.bottom + OVERHANG_PX);
  };
  const row = list(state.lists[0]).appendChild(element('div', { role: 'option' }, '0'));
  const tall = parseFloat(getComputedStyle(row).lineHeight) > state.tableRow;
  row.remove();
  return tall || [...win.querySelectorAll('.label:not([hidden]), button, legend')].some(cut);
}
const finger = matchMedia('(pointer: coarse)');
// What the pupil was at stays in view when the layout changes: the box
// being typed in (above an on-screen keyboard, which narrows the view), or
// else the picked row (the same in every list).
function keepInView(moved) {
  const view = visualViewport ?? { offsetTop: 0, height: innerHeight };
  const typing = state.boxes.map(box).includes(document.activeElement);
  const first = state.lists[0];
  const picked = state.core.selected()[first];
  if (!typing && (!moved || picked < 0)) return;
  const { top, bottom } = (typing ? document.activeElement : list(first).children[picked] ?? list(first)).getBoundingClientRect();
  const [from, to] = [view.offsetTop, view.offsetTop + view.height];
  if (top < from || bottom > to) scrollBy(0, top < from || bottom - to > top - from ? top - from : bottom - to);
}
function layOut() {
  const { table } = state;
  win.classList.remove('flow');
  holder.classList.remove('flow');
  win.style.setProperty('--row', `${state.tableRow}px`);
  const width = document.documentElement.clientWidth;
  const flow = finger.matches || width < table.client[0] / table.twipsPerPixel || crowded();
  win.classList.toggle('flow', flow);
  holder.classList.toggle('flow', flow);
  state.rowHeight = flow ? parseFloat(getComputedStyle(win).getPropertyValue('--finger')) : state.tableRow;
  // The explanation's lines are broken for the window's width; in the
  // column its paragraphs flow.
  const lines = state.texts[table.controls.find((c) => c.name === 'Text1_0').caption].replace(/\r\n/g, '\n');
  const text = flow ? lines.replace(/([^\n])\n(?=[^\n])/g, '$1 ') : lines;
  if (made.Text1_0.value !== text) made.Text1_0.value = text;
  win.style.setProperty('--row', `${state.rowHeight}px`);
  padLists();
  showLists();
  const shape = `${width} ${flow} ${win.offsetWidth}`;
  keepInView(shape !== state.laid);
  state.laid = shape;
}

// ---- The start.
// Installed as an app on a desktop, the page opens in a window of its own
// at the window's size; on a phone or tablet the app fills the screen.
function fitInstalledWindow() {
  if (!matchMedia('(display-mode: standalone)').matches || finger.matches) return;
  const [width, height] = state.table.client.map((twips) => twips / state.table.twipsPerPixel);
  resizeTo(width + outerWidth - innerWidth, height + outerHeight - innerHeight);
}
async function start() {
  state.core = await startCore();
  state.texts = JSON.parse(document.getElementById('texts').textContent);
  state.table = state.core.layout();
  Object.assign(state, { boxes: numbers('Text2'), lists: numbers('List1') });
  state.tableRow = state.rowHeight = state.table.list.rowTwips / state.table.twipsPerPixel;
  fitInstalledWindow();
  placeControls();
  placeSquare();
  holder.hidden = false;
  say('');
  alignSquare();
  orderColumn();
  listenToBoxes();
  listenToLists();
  listenToButtons();
  const layout = guard(layOut);
  addEventListener('resize', layout);
  finger.addEventListener('change', layout);
  visualViewport?.addEventListener('resize', guard(() => keepInView(false)));
  // The reader's settings, wherever they come from (zoom of text alone, a
  // default or minimum font size, spacing on any element or in any style
  // sheet), change the size of a hidden sample of text.
  new ResizeObserver(layout).observe(document.body.appendChild(element('span', { id: 'sample', 'aria-hidden': 'true' }, 'Шифър Wg')));
  state.core.load();
  show();
  layOut();
  made.Text1_0.setSelectionRange(0, 0);
  // The focus starts in the explanation, but the page opens at its top.
  made.Text1_0.focus({ preventScroll: true });
  made.Text1_0.scrollTop = 0;
  await document.fonts.ready;
  layout();
}

start().catch((error) => {
  console.error(error);
  say(error instanceof Unsupported ? error.message : MESSAGE.failed);
}).finally(release);

// The site's copy of the page (it links a manifest), served over http or
// https, has its service worker keep it for offline use; the one file,
// opened from disk or served alone, has none to register.
if (/^https?:$/.test(location.protocol) && document.querySelector('link[rel=manifest]')) {
  navigator.serviceWorker?.register('sw.js').catch((error) => console.warn(error));
}
}
