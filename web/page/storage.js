// What the browser keeps of the drawing between visits: the drawing and the
// one undo brings back, as the PNG drawing files the page saves (read back
// through the core's ink-image reader, as an opened drawing is), and the rows
// of opened text art as they were written, which the ink alone would match
// anew (in the cells format). Written to IndexedDB a moment after each
// change, and at once when the page is hidden; leaving the page warns only
// while a change is not yet written. Where the store cannot be opened or a
// write fails (storage full, a private window), the page says so at once and
// offers to save the drawing as a file; leaving then asks until a write
// succeeds.
import { engine } from "./state.js";
import { inkPng, openInk } from "./ink.js";
import { paint, showText } from "./view.js";

const DATABASE = "fudeline", STORE = "session";
// Each tab keeps its own drawing, under a key of its own that survives the
// tab's reloads (sessionStorage is the tab's), so that drawing in a second
// tab never takes the first one's work. A new tab takes over the latest
// drawing of a tab no longer open: the one a closed tab left. An open tab
// holds a Web Lock named after its key, which is how the others know it is
// open. The key "drawing" is what the page kept before tabs were kept apart.
const OLD_KEY = "drawing", TAB_KEY = "fudeline.tab", LOCK_PREFIX = "fudeline-drawing-";
const KEPT_DRAWINGS = 8;  // of tabs no longer open, the latest kept
let key = null;

function tabKey() {
  try {
    let tab = sessionStorage.getItem(TAB_KEY);
    if (!tab) {
      tab = "drawing-" + Date.now().toString(36) + "-" + Math.random().toString(36).slice(2, 8);
      sessionStorage.setItem(TAB_KEY, tab);
    }
    return tab;
  } catch (e) {
    return OLD_KEY;  // no session storage: one drawing for all tabs, as before
  }
}

// The keys whose tabs are open now (besides this one).
async function openTabs() {
  if (!navigator.locks || !navigator.locks.query) return new Set();
  const state = await navigator.locks.query();
  return new Set(state.held.filter((lock) => lock.name.startsWith(LOCK_PREFIX))
    .map((lock) => lock.name.slice(LOCK_PREFIX.length)));
}
const DELAY_MS = 400;  // a burst of strokes is written once,
const LONGEST_MS = 3000;  // but drawing on and on is written at least this often

function openDatabase() {
  return new Promise((resolve, reject) => {
    const request = indexedDB.open(DATABASE, 1);
    request.onupgradeneeded = () => request.result.createObjectStore(STORE);
    request.onsuccess = () => {
      const db = request.result;
      db.onversionchange = () => db.close();  // another tab deletes or upgrades it
      resolve(db);
    };
    request.onerror = () => reject(request.error);
    request.onblocked = () => reject(new Error("the drawing store is in use"));
  });
}

async function inStore(mode, action) {
  const db = await openDatabase();
  try {
    return await new Promise((resolve, reject) => {
      const transaction = db.transaction(STORE, mode);
      const request = action(transaction.objectStore(STORE));
      transaction.oncomplete = () => resolve(request.result);
      transaction.onerror = transaction.onabort = () => reject(transaction.error);
    });
  } finally {
    db.close();
  }
}

// The parts libraries the user opened ([{name, bytes}]), kept for the next
// visit under one key every tab shares. A store that fails keeps nothing and
// says nothing more than the drawing's warning does.
const PARTS_KEY = "parts";
export async function keepParts(libraries) {
  try {
    await inStore("readwrite", (store) => store.put(libraries, PARTS_KEY));
  } catch (e) { /* not kept: the libraries open again by hand */ }
}
export async function keptParts() {
  try {
    return (await inStore("readonly", (store) => store.get(PARTS_KEY))) || [];
  } catch (e) {
    return [];
  }
}

// The warning that the browser is not keeping the drawing, shown or hidden.
function showKept(kept) {
  document.getElementById("not-kept").hidden = kept;
}

let changes = 0;  // changes made in this visit
let written = 0;  // of them, how many the store holds
let writing = null;  // the write under way
let timer = null;
let waitingSince = 0;  // when the oldest change not yet being written was made

function unsaved() {
  return changes !== written;
}

async function write() {
  clearTimeout(timer);
  timer = null;
  waitingSince = 0;
  if (writing) await writing.catch(() => {});
  if (!unsaved()) return;
  const upTo = changes;
  // Both copied out before the first await (the views die with the next
  // call); a blank layer is kept as none, since a file without ink is no
  // drawing to open.
  const png = (rgba) => (rgba.indexOf(0) === -1 ? Promise.resolve(null) : inkPng(rgba));
  const layers = [png(engine.inkRgba()), png(engine.undoInkRgba())];
  const text = engine.openedText();
  writing = Promise.all(layers).then(([ink, undo]) =>
    inStore("readwrite", (store) => store.put({ ink, undo, text, time: Date.now() }, key))
  ).then(() => {
    written = Math.max(written, upTo);
    document.body.dataset.saved = unsaved() ? "0" : "1";
    showKept(true);
  }, (error) => {
    showKept(false);
    throw error;
  });
  await writing.catch(() => {});
}

// A change of the drawing, written a moment later.
export function keepSoon() {
  changes += 1;
  document.body.dataset.saved = "0";
  const now = performance.now();
  if (!waitingSince) waitingSince = now;
  clearTimeout(timer);
  timer = setTimeout(write, Math.max(0, Math.min(DELAY_MS, waitingSince + LONGEST_MS - now)));
}

// The drawing of the last visit, if the store holds one: the undo copy
// opened first, so that undo after the reload gives what it gave before.
async function restore() {
  let record = null;
  try {
    record = await inStore("readonly", (store) => store.get(key));
    if (!record) record = await adoptLeftDrawing();
  } catch (e) {
    showKept(false);  // no IndexedDB (some private modes): nothing is kept
    return;
  }
  document.body.dataset.saved = "1";
  if (!record) return;
  // Opening is one undoable step, so the drawing opened last is the drawing
  // and the one before it what undo brings back; a blank drawing over
  // kept ink is a cleared one. Opened text keeps its rows over its ink
  // (text of characters the face lacks may have no ink at all); a drawing
  // kept before text was kept has none.
  const text = record.text || null;
  if (record.undo && (await openInk(record.undo)).error) return;  // damaged: start blank
  // (Drawings kept before the empty top lines were kept have none.)
  if (text) engine.keepOpenedRows(text.undoRows, text.undoOpened, text.undoTopLines || 0);
  if (record.ink) {
    if ((await openInk(record.ink)).error) return;
  } else if (record.undo || text) {
    engine.clear();
  }
  if (text) engine.keepOpenedRows(text.rows, text.opened, text.topLines || 0);
  paint();
  showText();
}

// A new tab's drawing: the latest one a tab no longer open left, moved to
// this tab's key (so that no other new tab takes it too), or none. Beyond
// KEPT_DRAWINGS such drawings, the oldest are let go.
async function adoptLeftDrawing() {
  const open = await openTabs();
  const all = await inStore("readonly", (store) => {
    const keys = store.getAllKeys();
    const values = store.getAll();
    return { get result() { return keys.result.map((k, i) => [k, values.result[i]]); } };
  });
  const left = all.filter(([k]) => k !== key && !open.has(k))
    .sort(([, a], [, b]) => (b.time || 0) - (a.time || 0));
  if (left.length === 0) return null;
  const [takenKey, record] = left[0];
  await inStore("readwrite", (store) => {
    store.put(record, key);
    store.delete(takenKey);
    for (const [oldKey] of left.slice(KEPT_DRAWINGS)) store.delete(oldKey);
    return store.get(key);
  });
  return record;
}

// Restores the last visit's drawing, then keeps every change; leaving the
// page asks first while one is not yet written (browsers show their own
// wording; the handler only asks).
export async function startStorage() {
  key = tabKey();
  if (navigator.locks && key !== OLD_KEY) {
    // Held while the tab is open: the request's promise never settles.
    navigator.locks.request(LOCK_PREFIX + key, () => new Promise(() => {})).catch(() => {});
  }
  document.getElementById("not-kept-save").addEventListener("click", () => {
    document.getElementById("save-drawing").click();
  });
  await restore().catch(() => {});
  window.addEventListener("beforeunload", (event) => {
    if (!unsaved()) return;
    write();
    event.preventDefault();
    event.returnValue = "";
  });
  document.addEventListener("visibilitychange", () => {
    if (document.visibilityState === "hidden" && unsaved()) write();
  });
}
