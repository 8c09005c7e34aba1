// The page's service worker: the page and its files kept after the first visit, so that the
// next opens without a network. Each build names its own cache (the bundle writes the name),
// and drops the caches of earlier builds when it takes over.
const CACHE = 'chenggu-BUILD';
const SHELL = ['./', 'app.js', 'care.js', 'engine.js', 'manifest.webmanifest', 'icon-192.png', 'icon-512.png'];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(SHELL)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name !== CACHE).map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

// The page asks for birthplace.js and traditional.js to be kept once its first reading is on
// the screen, so that the first visit's reading never waits for them.
self.addEventListener('message', (event) => {
  if (event.data === 'keep-birthplaces') {
    event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(['birthplace.js', 'traditional.js'])).catch(() => {}));
  }
});

// The network first, so that a new build shows at once; the kept copy when there is none. A
// page's address with a query is the page.
self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== location.origin) return;
  const key = request.mode === 'navigate' ? './' : request;
  event.respondWith(fetch(request)
    .then((response) => {
      if (response.ok) {
        const copy = response.clone();
        caches.open(CACHE).then((cache) => cache.put(key, copy));
      }
      return response;
    })
    .catch(() => caches.match(key, { ignoreSearch: true }).then((kept) => kept ?? Response.error())));
});
