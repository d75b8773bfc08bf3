// Existing text art in the page: a .txt, or a page of an .mlt or .ast file,
// opened as the window opens it (the engine reads, checks and lays the text,
// kept row by row), and the text added as the last page of a page file, which
// is then downloaded in its place.
"use strict";

(function () {
  const english_text = {
    openFailed: "Cannot open this text art", tooLarge: "the file is larger than %1 MB",
    choosePage: "Which page?", cancel: "Cancel", ok: "OK", pageName: "Name of the new page",
    addFailed: "Cannot add the page",
  };
  const japanese_text = {
    openFailed: "このテキストアートは開けません", tooLarge: "%1 MB より大きいファイルです",
    choosePage: "どのページを開きますか？", cancel: "キャンセル", ok: "OK", pageName: "新しいページの名前",
    addFailed: "ページを追加できません",
  };


  // A modal dialog built of `parts`; resolves to what `answer` gives when
  // one of its buttons closes it, null when cancelled.
  function modal(id, title, parts, t) {
    const dialog = document.createElement("dialog");
    dialog.id = id;
    const form = document.createElement("form");
    form.method = "dialog";
    const heading = document.createElement("h2");
    heading.textContent = title;
    form.append(heading, ...parts);
    const cancel = document.createElement("button");
    cancel.type = "button";
    cancel.id = id + "-cancel";
    cancel.textContent = t.cancel;
    cancel.addEventListener("click", () => dialog.close(""));
    form.append(cancel);
    dialog.appendChild(form);
    document.body.appendChild(dialog);
    return new Promise((resolve) => {
      dialog.addEventListener("close", () => {
        dialog.remove();
        resolve(dialog.returnValue === "" ? null : dialog.returnValue);
      });
      dialog.showModal();
    });
  }

  // The index of the page chosen from `labels`, or null.
  async function choosePage(labels, t) {
    const list = document.createElement("ol");
    labels.forEach((label, i) => {
      const item = document.createElement("li");
      const button = document.createElement("button");
      button.value = String(i);
      button.className = "page-choice";
      button.textContent = label || "\u00a0";
      item.appendChild(button);
      list.appendChild(item);
    });
    const answer = await modal("page-dialog", t.choosePage, [list], t);
    return answer === null ? null : Number(answer);
  }

  // The name typed for an AST page ("" allowed), or null.
  async function askPageName(t) {
    const label = document.createElement("label");
    const input = document.createElement("input");
    input.type = "text";
    input.id = "page-name";
    label.append(t.pageName, " ", input);
    const ok = document.createElement("button");
    ok.id = "page-name-ok";
    ok.textContent = t.ok;
    // returnValue "" is the cancel: the name is carried behind a mark.
    ok.addEventListener("click", () => { ok.value = "=" + input.value; });
    const answer = await modal("name-dialog", t.pageName, [label, ok], t);
    return answer === null ? null : answer.slice(1);
  }

  document.addEventListener("fudeline-ready", (event) => {
    const page = event.detail;
    const t = page.english ? english_text : japanese_text;
    const $ = (id) => document.getElementById(id);
    const megabytes = page.module.maxTextArtFileBytes / (1024 * 1024);

    // The file chosen in an input, as its name and bytes; null when none is
    // chosen or it is larger than text art files are read (said as `failed`).
    async function chosenFile(input, failed) {
      const file = input.files[0];
      input.value = "";
      if (!file) return null;
      if (file.size > page.module.maxTextArtFileBytes) {
        page.say(failed + ": " + t.tooLarge.replace("%1", megabytes));
        return null;
      }
      return { name: file.name, bytes: new Uint8Array(await file.arrayBuffer()) };
    }

    $("open-text").addEventListener("change", async (e) => {
      const chosen = await chosenFile(e.target, t.openFailed);
      if (!chosen) return;
      const { name, bytes } = chosen;
      let result = page.engine.openTextArt(bytes, name, -1);
      if (!result.error && result.pages) {
        const index = await choosePage(result.pages, t);
        if (index === null) return;
        result = page.engine.openTextArt(bytes, name, index);
      }
      if (result.error) {
        page.say(t.openFailed + ": " + FudelineReasons.text(page.module, page.english, result));
        return;
      }
      page.say("");
      page.touch();
      page.paint();
      page.showText();
    });

    // The text as the last page of `bytes` (empty: a new file named `name`),
    // downloaded under the file's own name.
    async function addPage(bytes, name) {
      let result = page.engine.addPage(bytes, name, "", false);
      if (!result.error && result.needsName) {
        const pageName = await askPageName(t);
        if (pageName === null) return;
        result = page.engine.addPage(bytes, name, pageName, true);
      }
      if (result.error) {
        page.say(t.addFailed + ": " + FudelineReasons.text(page.module, page.english, result));
        return;
      }
      page.download(new Blob([result.bytes], { type: "application/octet-stream" }), name);
    }
    $("add-page").addEventListener("change", async (e) => {
      const chosen = await chosenFile(e.target, t.addFailed);
      if (!chosen) return;
      page.say("");
      await addPage(chosen.bytes, chosen.name);
    });
    $("new-page-file").addEventListener("click", () => {
      page.say("");
      addPage(new Uint8Array(0), "fudeline.mlt");
    });
  });
})();
