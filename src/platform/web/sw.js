// The browser edition's service worker (web.sh writes the version and the
// list of files in): it keeps every file of one build in a cache named by
// that build's hash and answers the page from it, so after one visit the
// game plays without the network, and a page never gets one build's files
// mixed with another's. A new build's worker fills its own cache, waits
// until no page of the old build is open, then deletes the old caches.
'use strict';
const kVersion = '@VERSION@';
const kFiles = @FILES@;
const kPrefix = 'pelmot-';
const kCache = kPrefix + kVersion;

self.addEventListener('install', event => {
  event.waitUntil(caches.open(kCache).then(cache =>
    cache.addAll(kFiles.map(file => new Request(file, {cache: 'reload'})))));
});

self.addEventListener('activate', event => {
  event.waitUntil(caches.keys()
    .then(names => Promise.all(names.filter(name => name.startsWith(kPrefix) && name !== kCache)
      .map(name => caches.delete(name))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', event => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith(caches.open(kCache)
    .then(cache => cache.match(request, {ignoreSearch: true}))
    .then(kept => kept || fetch(request)));
});
