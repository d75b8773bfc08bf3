// The custom board's limits asked in a small dialog of three fields (bytes,
// lines, bytes a line), each read by the engine's rule for --board, so the
// page takes exactly what the command line takes and says what it refuses.
"use strict";

window.FudelineBoardDialog = (function () {
  const english_text = {
    title: "Board limits", bytes: "Bytes", lines: "Lines", lineBytes: "Bytes a line",
    note: "0 is no limit.", ok: "OK", cancel: "Cancel",
    wrong: (field, max, value) => `${field}: a whole number from 0 (no limit) to ${max}, not "${value}"`,
    custom: "Custom", noLimit: "no limit",
    shown: { bytes: (n) => `${n} bytes`, lines: (n) => `${n} lines`, lineBytes: (n) => `${n} bytes a line` },
  };
  const japanese_text = {
    title: "掲示板の上限", bytes: "バイト数", lines: "行数", lineBytes: "1行のバイト数",
    note: "0 にした項目は上限なしになります。", ok: "OK", cancel: "キャンセル",
    wrong: (field, max, value) => `${field}は 0（上限なし）から ${max} までの整数で書いてください（「${value}」は使えません）`,
    custom: "カスタム", noLimit: "上限なし",
    shown: { bytes: (n) => `${n}バイト`, lines: (n) => `${n}行`, lineBytes: (n) => `1行${n}バイト` },
  };
  const fields = ["bytes", "lines", "lineBytes"];

  // The custom board's entry in the list once chosen: "カスタム (100バイト・5行)".
  function describe(limits, english) {
    const t = english ? english_text : japanese_text;
    const parts = [];
    fields.forEach((f, i) => { if (limits[i] > 0) parts.push(t.shown[f](limits[i])); });
    return `${t.custom} (${parts.length ? parts.join(english ? ", " : "・") : t.noLimit})`;
  }

  // Resolves to [bytes, lines, bytes a line] or null when cancelled.
  function ask(module, current, english) {
    const t = english ? english_text : japanese_text;
    const dialog = document.createElement("dialog");
    dialog.id = "board-dialog";
    const form = document.createElement("form");
    form.method = "dialog";
    const title = document.createElement("h2");
    title.textContent = t.title;
    form.appendChild(title);
    const inputs = fields.map((name, i) => {
      const label = document.createElement("label");
      const input = document.createElement("input");
      // Text, not a number field: what is typed reaches the rule as typed
      // ("1e3" would otherwise become 1000, "abc" nothing at all).
      input.type = "text";
      input.inputMode = "numeric";
      input.id = "board-" + name;
      input.value = String(current[i]);
      input.autocomplete = "off";
      label.append(t[name], " ", input);
      form.appendChild(label);
      return input;
    });
    const note = document.createElement("p");
    note.className = "note";
    note.textContent = t.note;
    const error = document.createElement("p");
    error.id = "board-error";
    error.setAttribute("role", "alert");
    const buttons = document.createElement("p");
    const ok = document.createElement("button");
    ok.id = "board-ok";
    ok.value = "ok";
    ok.textContent = t.ok;
    const cancel = document.createElement("button");
    cancel.id = "board-cancel";
    cancel.type = "button";
    cancel.textContent = t.cancel;
    buttons.append(ok, cancel);
    form.append(note, error, buttons);
    dialog.appendChild(form);
    document.body.appendChild(dialog);

    return new Promise((resolve) => {
      let answer = null;
      form.addEventListener("submit", (event) => {
        const values = inputs.map((input) => module.parseBoardLimit(input.value));
        const wrong = values.indexOf(null);
        if (wrong >= 0) {
          event.preventDefault();  // the dialog stays until the limits are right
          error.textContent = t.wrong(t[fields[wrong]], module.maxBoardLimit, inputs[wrong].value);
          inputs[wrong].focus();
          inputs[wrong].select();
          return;
        }
        answer = values;
      });
      cancel.addEventListener("click", () => dialog.close());
      dialog.addEventListener("close", () => {
        dialog.remove();
        resolve(answer);
      });
      dialog.showModal();
      inputs[0].select();
    });
  }

  return { ask, describe };
})();
