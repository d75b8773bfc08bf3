// Existing text art in the page: a .txt, or a page of an .mlt or .ast file,
// opened as the window opens it (the engine reads, checks and lays the text,
// kept row by row), and the text added as the last page of a page file, which
// is then downloaded in its place.
import { binding, engine } from "./state.js";
import { t } from "./i18n.js";
import { changed } from "./changes.js";
import { ask, submitButton } from "./dialog.js";
import { download, drawEnginePicture } from "./files.js";
import { say } from "./message.js";
import { reasonText } from "./reasons.js";
import { paint, showText } from "./view.js";

const $ = (id) => document.getElementById(id);

// Pages listed a batch at a time, the next batch once the list is scrolled to
// its end: a library of tens of thousands of pages opens its chooser at once.
const PAGE_BATCH = 200;

// The page under the pointer or the focus drawn with the face, as the
// window's chooser shows it (the engine keeps the file being chosen from).
function showChoice(preview, index) {
  drawEnginePicture(preview, engine.choicePicture(index));
}

// The index of the page chosen from `labels`, or null: the pages whose
// label holds what is typed in the search (all of them at first), each
// numbered as in the file, and a picture of the page pointed at.
function choosePage(labels) {
  const search = document.createElement("input");
  search.type = "search";
  search.id = "page-search";
  search.placeholder = t("pageSearch");
  search.setAttribute("aria-label", t("pageSearch"));
  const list = document.createElement("ol");
  const end = document.createElement("li");
  end.className = "page-list-end";
  const preview = document.createElement("canvas");
  preview.id = "page-preview";
  const chooser = document.createElement("div");
  chooser.className = "page-chooser";
  chooser.append(list, preview);
  const every = labels.map((label, index) => index);
  let matching = every;
  let shown = 0;
  const showMore = () => {
    const items = [];
    for (const last = Math.min(matching.length, shown + PAGE_BATCH); shown < last; shown += 1) {
      const index = matching[shown];
      const item = document.createElement("li");
      item.value = index + 1;
      const button = submitButton(labels[index] || "\u00a0");
      button.value = String(index);
      button.className = "page-choice";
      item.appendChild(button);
      items.push(item);
    }
    end.before(...items);
  };
  const observer = new IntersectionObserver((entries) => {
    if (entries.some((entry) => entry.isIntersecting) && shown < matching.length) showMore();
  });
  const listMatching = () => {
    const wanted = search.value.trim().toLowerCase();
    matching = wanted === "" ? every : every.filter((i) => labels[i].toLowerCase().includes(wanted));
    shown = 0;
    list.replaceChildren(end);
    showMore();
    if (matching.length > 0) showChoice(preview, matching[0]);
  };
  search.addEventListener("input", listMatching);
  const pointed = (event) => {
    const button = event.target instanceof Element ? event.target.closest(".page-choice") : null;
    if (button !== null) showChoice(preview, Number(button.value));
  };
  list.addEventListener("mouseover", pointed);
  list.addEventListener("focusin", pointed);
  listMatching();
  observer.observe(end);
  return ask({
    id: "page-dialog", title: t("choosePage"), parts: [search, chooser],
    // Enter in the search opens the first page found.
    accept: (button) => (button ? Number(button.value) : undefined),
  }).finally(() => observer.disconnect());
}

// The name typed for an AST page ("" allowed), or null.
function askPageName() {
  const label = document.createElement("label");
  const input = document.createElement("input");
  input.type = "text";
  input.id = "page-name";
  label.append(t("pageName"), " ", input);
  return ask({
    id: "name-dialog", title: t("pageName"), parts: [label],
    buttons: [submitButton(t("ok"), "page-name-ok")],
    accept: () => input.value,
  });
}

// The file chosen in an input, as its name and bytes; null when none is
// chosen or it is larger than text art files are read (said after
// `failed`, the command's failure).
// The file chosen in `input` ({name, bytes}), or null when none was or it is
// over the text art limit (said, with the `failed` words).
export async function chosenFile(input, failed) {
  const file = input.files[0];
  input.value = "";
  if (!file) return null;
  if (file.size > binding.maxTextArtFileBytes) {
    say(t(failed) + ": " + t("tooLarge", { megabytes: binding.maxTextArtFileBytes / (1024 * 1024) }));
    return null;
  }
  return { name: file.name, bytes: new Uint8Array(await file.arrayBuffer()) };
}

// The text as the last page of `bytes` (empty: a new file named `name`),
// downloaded under the file's own name.
async function addPage(bytes, name) {
  let result = engine.addPage(bytes, name, "", false);
  if (!result.error && result.needsName) {
    const pageName = await askPageName();
    if (pageName === null) return;
    result = engine.addPage(bytes, name, pageName, true);
  }
  if (result.error) {
    say(t("addPageFailed") + ": " + reasonText(result));
    return;
  }
  const saved = download(new Blob([result.bytes], { type: "application/octet-stream" }), name);
  if (saved !== name) say(t("savedShorter", { name: saved }), "done");
}

export function startTextFiles() {
  $("open-text").addEventListener("change", async (e) => {
    const chosen = await chosenFile(e.target, "openTextFailed");
    if (!chosen) return;
    const { name, bytes } = chosen;
    let result = engine.openTextArt(bytes, name, -1);
    if (!result.error && result.pages) {
      const index = await choosePage(result.pages.split("\n").slice(0, -1));
      if (index === null) return;
      result = engine.openTextArt(bytes, name, index);
    }
    if (result.error) {
      say(t("openTextFailed") + ": " + reasonText(result));
      return;
    }
    say("");
    changed();
    paint();
    showText();
  });
  $("add-page").addEventListener("change", async (e) => {
    const chosen = await chosenFile(e.target, "addPageFailed");
    if (!chosen) return;
    say("");
    await addPage(chosen.bytes, chosen.name);
  });
  $("new-page-file").addEventListener("click", () => {
    say("");
    addPage(new Uint8Array(0), "fudeline.mlt");
  });
}
