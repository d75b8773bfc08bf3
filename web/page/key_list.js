// "?": the page's keys in a dialog, as the toolbar's tooltips name them one
// by one. Each row is a key (or a pointer gesture) and what it does, the
// words from the locale files.
import { ask } from "./dialog.js";
import { t } from "./i18n.js";

// [keys as pressed, or the locale key of a gesture's words; what it does].
const KEYS = [
  ["P", "pen"],
  ["E", "eraser"],
  ["S", "selectTool"],
  ["T", "textTool"],
  ["keysShiftDrag", "keysStraight"],
  ["[  ]", "keysEraserSize"],
  ["keysSpaceDrag", "keysPan"],
  ["Ctrl+Z", "undo"],
  ["Ctrl+Shift+Z  Ctrl+Y", "redo"],
  ["Ctrl+C", "keysCopy"],
  ["Ctrl+X", "keysCut"],
  ["Ctrl+V", "keysPaste"],
  ["Ctrl+A", "keysSelectAll"],
  ["keysArrows", "keysNudge"],
  ["Delete", "keysDelete"],
  ["Esc", "keysDeselect"],
  ["?", "keysTitle"],
];

// Shows the list (keys.js asks only while no dialog is open).
export function showKeyList() {
  const table = document.createElement("table");
  table.className = "key-list";
  for (const [keys, does] of KEYS) {
    const row = table.insertRow();
    const key = document.createElement("th");
    key.scope = "row";
    key.textContent = /^keys[A-Z]/.test(keys) ? t(keys) : keys;
    row.append(key);
    row.insertCell().textContent = t(does);
  }
  ask({ id: "key-list", title: t("keysTitle"), parts: [table], cancelLabel: t("close") });
}
