// Keeps the page working offline once loaded: every file of the site is
// cached on install and served from the cache first. The build stamps the
// cache name with a digest of the site, so a new build is a new worker with a
// cache of its own, filled from the server (never the browser's HTTP cache,
// which may still hold the old files) and whole or not at all; it takes over
// at once and removes the old cache, so no visit mixes two builds.
"use strict";
const CACHE = "fudeline-@SITE_VERSION@";
// Every file the build put beside this one and below its folder, each module
// and locale file among them (scripts/web.sh writes the list).
const FILES = ["./"].concat("@SITE_FILES@".split(" "));

self.addEventListener("install", (event) => {
  event.waitUntil(caches.open(CACHE)
    .then((cache) => cache.addAll(FILES.map((file) => new Request(file, { cache: "reload" }))))
    .then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
  event.waitUntil(
    caches.keys()
      .then((keys) => Promise.all(keys.filter((k) => k !== CACHE).map((k) => caches.delete(k))))
      .then(() => self.clients.claim()));
});

self.addEventListener("fetch", (event) => {
  if (event.request.method !== "GET") return;
  // The page is the page whatever its query ("?lang=en").
  const options = event.request.mode === "navigate" ? { ignoreSearch: true, cacheName: CACHE }
    : { cacheName: CACHE };
  event.respondWith(caches.match(event.request, options).then((hit) => hit || fetch(event.request)));
});
