// Keeps the site's few files, so that the page, once opened or added to a
// home screen, starts again without the server. Every build names its own
// cache: the new files replace the old ones as soon as this worker does.
"use strict";

const CACHE = "vellumor-@VELLUMOR_SITE_STAMP@";
const FILES = ["./", "index.html", "page.js", "vellumor.js", "vellumor.wasm", "manifest.json", "vellumor.svg"];

self.addEventListener("install", (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name !== CACHE).map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

self.addEventListener("fetch", (event) => {
  if (event.request.method !== "GET") return;
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(event.request, { ignoreSearch: true }))
    .then((kept) => kept || fetch(event.request)));
});
