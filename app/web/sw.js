// The page's copy for playing offline. On install it keeps every file of the
// page (the program, the data and the music: the list below, which the build
// writes) in a cache named for the release and the files' contents; when a
// new one takes over, the caches of the releases before it go. Requests are
// answered from the cache first, from the network otherwise, and nothing is
// added afterwards: a ?data= folder (fetched with cache: 'no-store') always
// comes from the network.
const release = '@RELEASE@';
const files = [
/*@FILES@*/
];

// The page's caches are told apart from others of the same origin by the
// folder the page lies in.
const prefix = `vokdemo ${new URL(self.registration.scope).pathname} `;
const cacheName = prefix + release;

self.addEventListener('install', (event) => {
  const fresh = files.map((file) => new Request(file, { cache: 'reload' }));
  event.waitUntil(caches.open(cacheName).then((cache) => cache.addAll(fresh)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name.startsWith(prefix) && name !== cacheName)
      .map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

// The page itself answers every address of the page, whatever its query.
function cacheKey(request) {
  const path = new URL(request.url).pathname;
  const scope = new URL(self.registration.scope).pathname;
  return request.mode === 'navigate' && (path === scope || path === `${scope}index.html`) ? 'index.html' : request;
}

async function answer(request) {
  const cached = await caches.open(cacheName).then((cache) => cache.match(cacheKey(request)));
  return cached ?? fetch(request);
}

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || request.cache === 'no-store') return;
  if (new URL(request.url).origin !== self.location.origin) return;
  event.respondWith(answer(request));
});
