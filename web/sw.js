// SPDX-License-Identifier: GPL-3.0-or-later
// The site's service worker: it keeps the page, its manifest and icons for
// use without the network. web/build.sh fills in the files with their
// digests and names the cache by them, so each build is a new worker with a
// cache of its own; it takes over at once, and the page's next start is the
// new page. An open old page is not disturbed: it holds its own core.
'use strict';
const PREFIX = 'nihilist-cipher-';
const CACHE = PREFIX + '@DIGEST@';
const FILES = /* @FILES@ */ []; // [name, SRI digest]

// Every file straight from the server and checked against this build's
// digest: a site caught half uploaded or a stale proxy makes the install
// fail (the browser tries again at the next start) rather than store a mix.
async function store() {
  const cache = await caches.open(CACHE);
  await Promise.all(FILES.map(async ([name, integrity]) => {
    const response = await fetch(name, { cache: 'no-cache', integrity });
    if (!response.ok) throw new Error(`${name}: ${response.status}`);
    await cache.put(name, response);
  }));
  await self.skipWaiting();
}

// The earlier builds' caches; other programs' on the same site stay.
async function clean() {
  for (const name of await caches.keys()) if (name.startsWith(PREFIX) && name !== CACHE) await caches.delete(name);
  await self.clients.claim();
}

// The site's address opens the page; any other stored file is served as
// stored, and whatever is not stored goes to the network.
function answer(request) {
  const url = new URL(request.url);
  url.search = '';
  const name = url.href === self.registration.scope ? 'index.html' : url.href;
  return caches.open(CACHE).then((cache) => cache.match(name)).then((stored) => stored || fetch(request));
}

self.addEventListener('install', (event) => event.waitUntil(store()));
self.addEventListener('activate', (event) => event.waitUntil(clean()));
self.addEventListener('fetch', (event) => event.respondWith(answer(event.request)));
