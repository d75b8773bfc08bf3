// The parts palette and speech frames, as the window's: page files opened as
// libraries of parts (kept for the next visit), each page listed as a small
// picture of its text with its label and searched by it; a part chosen, or
// words in a frame, is laid where the canvas is clicked next, selected so
// that it moves as a selection does (one undoable step).
import { engine } from "./state.js";
import { t } from "./i18n.js";
import { changed } from "./changes.js";
import { drawEnginePicture } from "./files.js";
import { say } from "./message.js";
import { reasonText } from "./reasons.js";
import { keepParts, keptParts } from "./storage.js";
import { chosenFile } from "./text_files.js";
import { chooseTool } from "./tools.js";
import { paint, showText } from "./view.js";

const $ = (id) => document.getElementById(id);
const MOST_LISTED = 500;  // at once; a search finds the rest
let libraries = [];  // {name, bytes, labels, pages}: as opened and as read
let pending = null;  // what the next click on the canvas lays: (point) => {error}
// A part's picture is drawn once it scrolls into view.
const pictures = new IntersectionObserver((entries) => {
  for (const entry of entries) {
    if (!entry.isIntersecting) continue;
    pictures.unobserve(entry.target);
    drawPicture(entry.target);
  }
});

export function placementPending() {
  return pending !== null;
}

// Lays what waits with its top-left cell at canvas pixel `point`.
export function placeAt(point) {
  const place = pending;
  pending = null;
  $("canvas").classList.remove("placing");
  const result = place(point);
  if (result.error) {
    say(reasonText(result));
    return;
  }
  say("");
  chooseTool("select");
  paint();
  showText();
  changed();
}

function wait(place, what) {
  pending = place;
  $("canvas").classList.add("placing");
  say(t("clickWhere", { what }));
}

function drawPicture(canvas) {
  const library = libraries[Number(canvas.dataset.library)];
  drawEnginePicture(canvas, engine.pagePicture(library.pages[Number(canvas.dataset.page)]));
}

function list() {
  const shown = $("parts-list");
  shown.replaceChildren();
  const wanted = $("parts-search").value.trim().toLowerCase();
  let found = 0;
  libraries.forEach((library, l) => {
    library.labels.forEach((label, p) => {
      if (wanted && !label.toLowerCase().includes(wanted)) return;
      found += 1;
      if (shown.children.length >= MOST_LISTED) return;
      const item = document.createElement("li");
      const button = document.createElement("button");
      button.type = "button";
      button.className = "part";
      const picture = document.createElement("canvas");
      picture.width = picture.height = 1;
      picture.dataset.library = String(l);
      picture.dataset.page = String(p);
      const name = document.createElement("span");
      name.textContent = label.trim() || "\u00a0";
      button.append(picture, name);
      button.addEventListener("click", () => {
        const bytes = library.pages[p];
        wait((point) => engine.placePart(bytes, point[0], point[1]), label.trim());
      });
      item.appendChild(button);
      shown.appendChild(item);
      pictures.observe(picture);
    });
  });
  $("parts-note").textContent = libraries.length === 0 ? t("noParts")
    : found > shown.children.length ? t("partsShown", { found, shown: shown.children.length })
      : t("partsFound", { found });
}

// Reads a library; false (and said) when it is none.
function read(name, bytes) {
  const result = engine.partsLibrary(bytes, name);
  if (result.error) {
    say(t("openPartsFailed") + ": " + name + ": " + reasonText(result));
    return false;
  }
  libraries = libraries.filter((library) => library.name !== name)
    .concat({ name, bytes, labels: result.labels, pages: result.pages });
  return true;
}

function keep() {
  keepParts(libraries.map(({ name, bytes }) => ({ name, bytes })));
}

export async function startParts() {
  $("parts-search").placeholder = t("partsSearch");
  $("open-parts").addEventListener("change", async (e) => {
    const chosen = await chosenFile(e.target, "openPartsFailed");
    if (!chosen || !read(chosen.name, chosen.bytes)) return;
    say("");
    keep();
    list();
  });
  $("close-parts").addEventListener("click", () => {
    libraries = [];
    keep();
    list();
  });
  $("parts-search").addEventListener("input", list);
  $("place-frame").addEventListener("click", () => {
    const words = $("frame-words").value, style = $("frame-style").value;
    wait((point) => engine.placeFramedWords(words, style, point[0], point[1]), t("speechFrame"));
  });
  list();
  // The libraries of the last visit, unless one was opened meanwhile.
  const kept = await keptParts();
  if (libraries.length > 0) return;
  for (const { name, bytes } of kept) read(name, bytes);
  if (libraries.length > 0) $("parts").open = true;
  list();
}
