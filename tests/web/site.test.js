// SPDX-License-Identifier: GPL-3.0-or-later
// The site (dist/web/site/) served from 127.0.0.1 in Chromium and Firefox,
// one visit after another in one profile; and the one file from disk.
//   node --test tests/web/site.test.js
'use strict';

const assert = require('node:assert/strict');
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { after, test } = require('node:test');
const { file, layoutTable, open } = require('../../testsupport/browser.js');
const { CIPHER, eachBrowser, shown } = require('./helpers.js');

// The site rebuilt with the explanation's first word changed, as a school would put up a new build.
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'nihilist-site-'));
fs.writeFileSync(`${scratch}/page.html`, fs.readFileSync(file, 'utf8').replace('Криптирането', 'КРИПТИРАНЕТО'));
execFileSync(process.execPath, ['web/site.js', `${scratch}/page.html`, `${scratch}/site`], { cwd: path.resolve(__dirname, '../..') });

const rows = [
  ['the site is installable, its manifest read without errors or warnings', ['chromium'], async (browser, server) => {
    const cdp = await (await open(browser, server.url)).createCDPSession();
    assert.deepEqual((await cdp.send('Page.getInstallabilityErrors')).installabilityErrors, []);
    assert.deepEqual((await cdp.send('Page.getAppManifest')).errors, []);
  }],
  ['the site opens again offline, encrypts, and asks the network nothing', ['chromium', 'firefox'], async (browser, server) => {
    await (await open(browser, server.url)).waitForFunction(() => navigator.serviceWorker.controller);
    Object.assign(server, { offline: true, requests: [] });
    const page = await open(browser, server.url);
    await page.click('#Command1_0');
    assert.equal((await shown(page)).cipher, CIPHER);
    assert.deepEqual(server.requests.filter((request) => request !== '/sw.js'), []); // but the browser's check for an update
    server.offline = false;
  }],
  ['the site rebuilt is shown from the second visit on, one cache left', ['chromium', 'firefox'], async (browser, server) => {
    server.root = `${scratch}/site`;
    const first = await open(browser, server.url);
    // The check for an update this visit set off, made again to be waited for; then the new worker active.
    await first.evaluate(async () => { await (await navigator.serviceWorker.getRegistration()).update(); });
    await first.waitForFunction(async () => {
      const { installing, waiting, active } = await navigator.serviceWorker.getRegistration();
      return !installing && !waiting && active.state === 'activated';
    });
    assert.equal((await first.evaluate(() => caches.keys())).length, 1);
    assert.match(await (await open(browser, server.url)).$eval('#Text1_0', (text) => text.value), /^КРИПТИРАНЕТО/);
  }],
  ['installed on a desktop, the app resizes its window to the window\'s size', ['chromium', 'firefox'], async (browser, server) => {
    const table = await layoutTable();
    const size = table.client.map((twips) => twips / table.twipsPerPixel);
    // As the installed app sees itself; the resize noted, for a tab cannot be resized.
    const page = await open(browser, server.url, undefined, (p) => p.evaluateOnNewDocument(() => {
      const media = matchMedia;
      window.matchMedia = (query) => (query === '(display-mode: standalone)' ? { matches: true } : media(query));
      window.resizeTo = (...size) => { window.resized = [...size, outerWidth - innerWidth, outerHeight - innerHeight]; };
    }));
    const [width, height, wider, higher] = await page.evaluate(() => window.resized);
    assert.deepEqual([width - wider, height - higher], size);
  }],
  ['the one file from disk registers nothing and says nothing', ['chromium', 'firefox'], async (browser) => {
    const said = [];
    const page = await open(browser, `file://${file}`, undefined, (p) => p.on('console', (m) => said.push(m.text())));
    assert.deepEqual([...said, ...page.errors], []);
  }],
];

eachBrowser((it) => {
  for (const [what, browsers, check] of rows) test(what, { skip: !browsers.includes(it.name) }, () => check(it.browser, it.server));
}, { site: path.resolve(file, '../site') });

after(() => fs.rmSync(scratch, { recursive: true, force: true }));
