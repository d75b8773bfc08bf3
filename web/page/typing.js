// The text tool, as the window's: a click on the canvas puts the caret
// down where the spacing lets words stand, and what is typed there is kept
// as text in its row. Keys and the input method reach a text field that
// stands at the caret (so the browser's composition window opens there and
// shows what it composes); what it commits goes to the engine. Enter goes on
// in the next row, Backspace takes back a character, the arrows move the
// caret, Escape ends the typing. Everything typed at one caret is one step.
import { binding, engine } from "./state.js";
import { changed } from "./changes.js";
import { say } from "./message.js";
import { reasonText } from "./reasons.js";
import { ARROWS } from "./keys.js";
import { chooseTool, tool, whenLeft } from "./tools.js";
import { paint, showText } from "./view.js";

const canvas = document.getElementById("canvas");
const field = document.getElementById("type-input");

// The field over the caret, a row high, as the canvas is shown now.
function placeField() {
  const caret = engine.caret();
  field.hidden = caret === null;
  if (caret === null) return;
  // Where the canvas is shown in its stage, zoomed or not.
  const shownAt = canvas.getBoundingClientRect(), stage = canvas.parentElement.getBoundingClientRect();
  const scale = shownAt.width / canvas.width;
  field.style.left = shownAt.left - stage.left + caret.x * scale + "px";
  field.style.top = shownAt.top - stage.top + caret.row * binding.rowHeight * scale + "px";
  field.style.height = binding.rowHeight * scale + "px";
  field.style.fontSize = Math.round((binding.rowHeight - 2) * scale) + "px";
}

function shown(changedRows) {
  paint();
  if (changedRows) {
    showText();
    changed();
  }
  placeField();
}

// `point` in canvas pixels; off the canvas no caret stands.
export function placeCaret(point) {
  engine.placeCaret(point[0], point[1]);
  shown(false);
  if (engine.caret() !== null) setTimeout(() => field.focus(), 0);
}

function endTyping() {
  engine.endTyping();
  field.value = "";
  shown(false);
}

// What the field holds, typed at the caret; a refusal keeps what came
// before the character refused, and says why.
function typeField() {
  const text = field.value;
  field.value = "";
  if (text === "" || engine.caret() === null) return;
  const typed = engine.type(text);
  shown(true);
  if (typed.error) say(reasonText(typed));
}

function key(event) {
  if (event.isComposing || event.keyCode === 229) return;  // the input method's
  const command = event.ctrlKey || event.metaKey;
  if (command && ["z", "y"].includes(event.key.toLowerCase())) {
    // Undo and redo take the typing's step whole: the caret goes first.
    endTyping();
    document.getElementById(event.key.toLowerCase() === "y" || event.shiftKey ? "redo" : "undo").click();
    event.preventDefault();
    return;
  }
  if (command || event.altKey) return;
  if (event.key === "Escape") {
    endTyping();
  } else if (event.key === "Enter") {
    const moved = engine.newLine();
    if (moved.error) say(reasonText(moved));
    shown(false);
  } else if (event.key === "Backspace" && field.value === "") {
    shown(engine.eraseBefore());
  } else if (event.key in ARROWS && field.value === "") {
    engine.moveCaret(ARROWS[event.key][0], ARROWS[event.key][1]);
    shown(false);
  } else {
    return;
  }
  event.preventDefault();
}

export function startTyping() {
  whenLeft("text", endTyping);
  field.addEventListener("keydown", key);
  field.addEventListener("input", (event) => {
    if (!event.isComposing) typeField();
  });
  field.addEventListener("compositionend", typeField);
  // The focus gone elsewhere (a button, another window) ends nothing: the
  // caret stays until Escape, another tool or a click elsewhere.
  window.addEventListener("resize", placeField);
  document.getElementById("text-tool")
    .addEventListener("click", () => chooseTool(tool() === "text" ? "draw" : "text"));
}
