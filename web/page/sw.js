// Keeps the page working offline once loaded: every file of the site is
// cached on install and served from the cache first. The build stamps the
// cache name with a digest of the site, so a new build replaces the old cache.
"use strict";
const CACHE = "fudeline-@SITE_VERSION@";
const FILES = ["./", "index.html", "fudeline.css", "fudeline.js", "engine.js", "engine.wasm"];

self.addEventListener("install", (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
  event.waitUntil(
    caches.keys()
      .then((keys) => Promise.all(keys.filter((k) => k !== CACHE).map((k) => caches.delete(k))))
      .then(() => self.clients.claim()));
});

self.addEventListener("fetch", (event) => {
  if (event.request.method !== "GET") return;
  event.respondWith(caches.match(event.request).then((hit) => hit || fetch(event.request)));
});
