// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the site, dist/web/site/, from the built page: the page linking
// its manifest, the home-screen icons (resources/make-icon.sh) and the
// service worker (web/sw.js) with every file's digest. Names and colours
// come from the core's layout table. Run by web/build.sh from the top folder:
//   node web/site.js [PAGE SITE]   (dist/web/nihilist-cipher.html, dist/web/site)
'use strict';
const crypto = require('node:crypto');
const fs = require('node:fs');
const { execFileSync } = require('node:child_process');
const { loadCore } = require('./core.js');

const [onefile = 'dist/web/nihilist-cipher.html', site = 'dist/web/site'] = process.argv.slice(2);
// Under a home-screen icon, where the heading does not fit.
const SHORT_NAME = 'Шифър';
const sha256 = (bytes, encoding) => crypto.createHash('sha256').update(bytes).digest(encoding);
const icon = (src, size, purpose) => ({ src, sizes: `${size}x${size}`, type: 'image/png', purpose });

function manifest(name, colour) {
  return { id: './', name, short_name: SHORT_NAME, lang: 'bg', start_url: './', scope: './', display: 'standalone',
    theme_color: colour, background_color: colour,
    icons: [icon('icon-192.png', 192, 'any'), icon('icon-512.png', 512, 'any'), icon('icon-maskable.png', 512, 'maskable')] };
}

(async () => {
  const table = (await loadCore(fs.readFileSync('build/web/core.wasm'))).layout();
  const colour = `#${table.colour.map((c) => c.toString(16).padStart(2, '0')).join('')}`;
  const name = table.controls.find((c) => c.name === 'Label1_0').caption;
  // Only this build's files, each listed for the worker.
  fs.rmSync(site, { recursive: true, force: true });
  fs.mkdirSync(site, { recursive: true });
  execFileSync('resources/make-icon.sh', ['--web', site, colour]);
  fs.writeFileSync(`${site}/manifest.json`, JSON.stringify(manifest(name, colour), null, 1));
  const head = '<link rel="manifest" href="manifest.json">\n<link rel="apple-touch-icon" href="apple-touch-icon.png">\n'
    + `<meta name="theme-color" content="${colour}">\n`;
  const page = fs.readFileSync(onefile, 'utf8');
  fs.writeFileSync(`${site}/index.html`, page.replace(/<\/title>\n/, (title) => title + head));
  const files = fs.readdirSync(site).sort().map((file) => [file, `sha256-${sha256(fs.readFileSync(`${site}/${file}`), 'base64')}`]);
  const worker = fs.readFileSync('web/sw.js', 'utf8').replace('@DIGEST@', sha256(JSON.stringify(files), 'hex').slice(0, 16));
  fs.writeFileSync(`${site}/sw.js`, worker.replace('/* @FILES@ */ []', JSON.stringify(files)));
})().catch((error) => {
  console.error(error);
  process.exit(1);
});
