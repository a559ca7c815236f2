// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a picture of the whole browser page after Encrypt has been pressed:
//   node packaging/web/screenshot.js [file]   (default docs/screenshots/web-page.png)
// Needs dist/web and the reference tool's steps (packaging/web/test.sh).
'use strict';

const fs = require('node:fs');
const path = require('node:path');
const { serve, launch, openPage, canvasBox } = require('./browser');

const repo = path.resolve(__dirname, '../..');
const target = process.argv[2] || path.join(repo, 'docs/screenshots/web-page.png');
const steps = JSON.parse(fs.readFileSync(path.join(repo, 'build/web-reference/steps.json'), 'utf8'));

(async () => {
  const { server, url } = await serve(path.join(repo, 'dist/web'));
  const browser = await launch();
  try {
    const { page } = await openPage(browser, url, { width: steps.width + 160, height: steps.height + 120 });
    const box = await canvasBox(page);
    const click = steps.states.find((state) => state.name === 'encrypt').steps[0].click;
    await page.mouse.click(box.x + click.x, box.y + click.y);
    await page.mouse.move(1, 1);
    await new Promise((resolve) => setTimeout(resolve, 500));
    await page.screenshot({ path: target });
    console.log(`wrote ${target}`);
  } finally {
    await browser.close();
    server.close();
  }
})().catch((error) => {
  console.error(error);
  process.exit(1);
});
