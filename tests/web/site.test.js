// SPDX-License-Identifier: GPL-3.0-or-later
// Checks the site, dist/web/site/, served from 127.0.0.1 in Debian's
// Chromium and Firefox ESR, one visitor after another in one profile:
// installable (Chromium), opened again with no network, updated to a
// rebuilt site; and the one file from disk registering nothing.
//   node --test tests/web/site.test.js
// Environment: WEB_BROWSERS (chromium,firefox).
'use strict';

const assert = require('node:assert/strict');
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { describe, before, after, test } = require('node:test');
const { file, launch, serve, settled, open } = require('./browser.js');

const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'nihilist-site-'));
// The example's cipher numbers.
const cipher = '37 106 62 36 67 47 86 26 104 53 62 77 27 55 57 66 55 36 54 27';
// The explanation's first word, and as it is in the rebuilt site.
const [WORD, CHANGED] = ['Криптирането', 'КРИПТИРАНЕТО'];

// The site rebuilt from the one file with a changed word, as a school
// would put up a new build.
function rebuilt() {
  const page = path.join(scratch, 'page.html');
  fs.writeFileSync(page, fs.readFileSync(file, 'utf8').replace(WORD, CHANGED));
  execFileSync(process.execPath, ['web/site.js', page, path.join(scratch, 'site')], { cwd: path.resolve(__dirname, '../..') });
  return path.join(scratch, 'site');
}

let site;
before(() => { site = rebuilt(); });

const rows = [
  ['the site is installable, its manifest read without errors or warnings', ['chromium'], async ({ browser, server }) => {
    const cdp = await (await open(browser, server.url)).createCDPSession();
    assert.deepEqual((await cdp.send('Page.getInstallabilityErrors')).installabilityErrors, []);
    assert.deepEqual((await cdp.send('Page.getAppManifest')).errors, []);
  }],
  ['the site opens again with no network, encrypts, and asks the network for nothing', ['chromium', 'firefox'],
    async ({ browser, server }) => {
    const first = await open(browser, server.url);
    await first.waitForFunction(() => navigator.serviceWorker.controller); // claimed by the worker, all stored
    server.offline = true;
    server.requests.length = 0;
    const page = await open(browser, server.url);
    await page.click('#Command1_0');
    await settled(page);
    assert.equal((await page.$$eval('#List1_2 > *', (rows) => rows.map((row) => row.textContent))).join(' '), cipher);
    assert.deepEqual(server.requests.filter((request) => request !== '/sw.js'), []); // the browser's check for an update
    server.offline = false;
  }],
  ['the site, rebuilt, is shown new from the second visit on, the old cache gone', ['chromium', 'firefox'],
    async ({ browser, server }) => {
    server.root = site;
    const first = await open(browser, server.url);
    // The check for an update this visit set off, made again to be waited
    // for; then the new worker installed and active.
    await first.evaluate(async () => { await (await navigator.serviceWorker.getRegistration()).update(); });
    await first.waitForFunction(async () => {
      const { installing, waiting, active } = await navigator.serviceWorker.getRegistration();
      return !installing && !waiting && active.state === 'activated';
    });
    assert.equal((await first.evaluate(() => caches.keys())).length, 1);
    assert.equal(await (await open(browser, server.url)).$eval('#Text1_0', (text) => text.value.split(' ')[0]), CHANGED);
  }],
  ['the one file from disk registers nothing and says nothing', ['chromium', 'firefox'], async ({ browser }) => {
    const said = [];
    const page = await open(browser, `file://${file}`, undefined, (p) => p.on('console', (m) => said.push(m.text())));
    assert.deepEqual([...said, ...page.errors], []);
  }],
];

for (const name of (process.env.WEB_BROWSERS || 'chromium,firefox').split(',')) {
  describe(name, () => {
    const profile = fs.mkdtempSync(path.join(scratch, `${name}-`));
    const context = {};
    before(async () => {
      context.browser = await launch(name, profile);
      context.server = await serve(path.resolve(file, '../site'));
    });
    after(async () => {
      await context.browser?.close();
      context.server?.close();
    });
    for (const [what, browsers, check] of rows) test(what, { skip: !browsers.includes(name) }, () => check(context));
  });
}

after(() => fs.rmSync(scratch, { recursive: true, force: true }));
