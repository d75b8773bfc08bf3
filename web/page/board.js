// The board the post counter measures against: the engine's board table in
// the list (its first board the default), or the user's own limits, asked
// in a dialog of three fields (bytes, lines, bytes a line) and each read by
// the engine's rule for --board, so the page takes exactly what the command
// line takes and says what it refuses. The choice is kept between visits.
import { binding, board, boardChosen } from "./state.js";
import { language, t } from "./i18n.js";
import { ask, submitButton } from "./dialog.js";
import { loadSetting, saveSetting } from "./settings.js";
import { showText } from "./view.js";

const list = document.getElementById("board");
const customEntry = list.querySelector("option[value=custom]");
const fields = [
  { id: "bytes", label: "boardBytes", shown: "limitBytes" },
  { id: "lines", label: "boardLines", shown: "limitLines" },
  { id: "lineBytes", label: "boardLineBytes", shown: "limitLineBytes" },
];
const limitsOf = {};  // each board of the table by name
let defaultBoard = null;

// The custom limits kept, read back by the engine's rule for --board (a
// value kept by an older page or edited by hand gives the default board's).
function customLimits() {
  const kept = loadSetting("customLimits", null);
  const text = Array.isArray(kept) ? kept.join(":") : String(kept);
  return binding.parseBoardLimits(text) || limitsOf[defaultBoard];
}

// The custom board's entry once chosen: "カスタム (100バイト・5行)".
function describe(limits) {
  const parts = [];
  fields.forEach((field, i) => {
    if (limits[i] > 0) parts.push(t(field.shown, { n: limits[i] }));
  });
  return t("customChosen", { limits: parts.length ? parts.join(t("listSeparator")) : t("noLimit") });
}

// Resolves to [bytes, lines, bytes a line], or null when cancelled.
function askLimits(current) {
  const inputs = fields.map((field, i) => {
    const input = document.createElement("input");
    // Text, not a number field: what is typed reaches the rule as typed
    // ("1e3" would otherwise become 1000, "abc" nothing at all).
    input.type = "text";
    input.inputMode = "numeric";
    input.id = "board-" + field.id;
    input.value = String(current[i]);
    input.autocomplete = "off";
    return input;
  });
  const labels = inputs.map((input, i) => {
    const label = document.createElement("label");
    label.append(t(fields[i].label), " ", input);
    return label;
  });
  const note = document.createElement("p");
  note.className = "note";
  note.textContent = t("boardNote");
  const error = document.createElement("p");
  error.id = "board-error";
  error.setAttribute("role", "alert");
  const answer = ask({
    id: "board-dialog", cancelId: "board-cancel", title: t("boardTitle"),
    parts: [...labels, note, error],
    buttons: [submitButton(t("ok"), "board-ok")],
    accept() {
      const values = inputs.map((input) => binding.parseBoardLimit(input.value));
      const wrong = values.indexOf(null);
      if (wrong < 0) return values;
      // The dialog stays until the limits are right.
      error.textContent = t("boardWrong", {
        field: t(fields[wrong].label), max: binding.maxBoardLimit, value: inputs[wrong].value,
      });
      inputs[wrong].focus();
      inputs[wrong].select();
      return undefined;
    },
  });
  inputs[0].select();
  return answer;
}

// The list shows the board in use; chosen, the custom board is shown by its
// limits in an entry of its own, so "カスタム…" can be chosen again to change them.
function showChoice() {
  let chosen = list.querySelector("option[value=custom-chosen]");
  if (board.name !== "custom") {
    if (chosen) chosen.remove();
    list.value = board.name;
    return;
  }
  if (!chosen) {
    chosen = document.createElement("option");
    chosen.value = "custom-chosen";
    chosen.hidden = true;
    list.insertBefore(chosen, customEntry);
  }
  chosen.textContent = describe(board.limits);
  list.value = "custom-chosen";
}

function choose(name) {
  boardChosen(name, name === "custom" ? customLimits() : limitsOf[name]);
  showChoice();
}

// The boards of the engine's table, listed before the custom board, and
// the board kept from the last visit chosen.
export function startBoards() {
  const table = binding.boards();
  for (const entry of table) {
    limitsOf[entry.name] = entry.limits;
    const option = document.createElement("option");
    option.value = entry.name;
    option.textContent = language === "en" ? entry.englishName : entry.pageName;
    list.insertBefore(option, customEntry);
  }
  defaultBoard = table[0].name;
  const kept = loadSetting("board", defaultBoard);
  choose(kept === "custom" || limitsOf[kept] ? kept : defaultBoard);

  list.addEventListener("change", async () => {
    const name = list.value;
    if (name === "custom") {
      const limits = await askLimits(customLimits());
      if (limits === null) {
        showChoice();  // cancelled: the board stays
        return;
      }
      saveSetting("customLimits", limits.join(":"));
    }
    choose(name);
    saveSetting("board", name);
    showText();
  });
}
