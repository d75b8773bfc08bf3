// The page's keys, each the same as its button: Ctrl/Cmd+Z undo;
// Ctrl/Cmd+Shift+Z and Ctrl+Y redo; Ctrl/Cmd+C copies the selected part of
// the drawing, or with nothing selected the text art; E and P choose eraser
// and pen, S the selection tool, T the text tool; [ and ] make the eraser
// thinner and wider.
// With a selection: Ctrl/Cmd+X cuts it, Delete deletes it, the arrows move
// it (with Shift a character), Escape lets it go; Ctrl/Cmd+V pastes what was
// cut or copied, Ctrl/Cmd+A selects the whole drawing (as the window's keys
// do). Space is the canvas's (pointer.js). "?" lists the keys. A button clicked with the pointer does not keep
// the focus. Keys typed into a field stay the field's.
import { showKeyList } from "./key_list.js";
import { engine } from "./state.js";
import { selectionCommand } from "./selection.js";
import { chooseTool } from "./tools.js";

const click = (id) => document.getElementById(id).click();

// Whether keys pressed in `el` are text typed into it.
export function typing(el) {
  if (!el) return false;
  if (el.isContentEditable) return true;
  if (el.tagName === "TEXTAREA") return !el.readOnly;
  if (el.tagName !== "INPUT") return false;
  return !["checkbox", "radio", "button", "submit", "reset", "file", "range", "color"]
    .includes(el.type);
}

// The next eraser width down or up the list, as if chosen there.
function stepEraserSize(by) {
  const list = document.getElementById("eraser-size");
  const index = Math.min(Math.max(list.selectedIndex + by, 0), list.options.length - 1);
  if (index === list.selectedIndex) return;
  list.selectedIndex = index;
  list.dispatchEvent(new Event("change"));
}

function selectionHeld() {
  const el = document.activeElement;
  if (el && (el.tagName === "TEXTAREA" || el.tagName === "INPUT")) {
    try {
      if (el.selectionStart !== el.selectionEnd) return true;
    } catch (e) { /* inputs without a selection */ }
  }
  const selection = window.getSelection();
  return selection !== null && selection.toString() !== "";
}

// The arrow keys as steps across and down, for the selection and the caret.
export const ARROWS = { ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1] };

// The keys a selection takes: the arrows move it, Delete or Backspace
// deletes it, Escape lets it go. False for another key.
function selectionKey(event) {
  const arrow = ARROWS[event.key];
  if (arrow) {
    selectionCommand("nudge", arrow[0], arrow[1], event.shiftKey);
  } else if (event.key === "Delete" || event.key === "Backspace") {
    selectionCommand("delete");
  } else if (event.key === "Escape") {
    selectionCommand("none");
  } else {
    return false;
  }
  return true;
}

export function startKeys() {
  // A button pressed with the pointer gives the focus back: kept, Space
  // would press it again (undo, redo, undo, or the clear question once
  // more). Pressed from the keyboard (no pointer, detail 0), it keeps it.
  document.addEventListener("click", (event) => {
    const button = event.target instanceof Element ? event.target.closest("button") : null;
    if (button !== null && event.detail > 0 && document.activeElement === button) button.blur();
  });
  document.addEventListener("keydown", (event) => {
    if (event.isComposing || event.altKey || typing(event.target)) return;
    // A dialog the page shows (the clear question) holds the keys.
    if (document.querySelector("dialog[open]")) return;
    const key = event.key.toLowerCase();
    const command = event.ctrlKey || event.metaKey;
    const inTextBox = event.target.tagName === "TEXTAREA";
    if (command) {
      if (key === "z" && !event.shiftKey) {
        click("undo");
      } else if ((key === "z" && event.shiftKey) || (key === "y" && event.ctrlKey && !event.shiftKey)) {
        click("redo");
      } else if (key === "c" && !event.shiftKey && !selectionHeld()) {
        if (engine.selection() === null || !selectionCommand("copy")) click("copy");
      } else if (key === "x" && !event.shiftKey && !inTextBox && engine.selection() !== null) {
        selectionCommand("cut");
      } else if (key === "v" && !event.shiftKey && !inTextBox && engine.hasCopied()) {
        selectionCommand("paste");
      } else if (key === "a" && !event.shiftKey && !inTextBox) {
        selectionCommand("all");
      } else {
        return;
      }
      event.preventDefault();
      return;
    }
    if (engine.selection() !== null && !inTextBox && selectionKey(event)) {
      event.preventDefault();
      return;
    }
    if (event.key === "?" && event.target.tagName !== "SELECT") {
      showKeyList();
      event.preventDefault();
      return;
    }
    // A list takes letters to choose by (type-ahead).
    if (event.shiftKey || event.repeat || engine.tracing() || event.target.tagName === "SELECT") return;
    if (key === "e" || key === "p") {
      chooseTool("draw");
      if ((key === "e") === engine.penMode()) click("pen");
      event.preventDefault();
    } else if (key === "s" || key === "t") {
      chooseTool(key === "s" ? "select" : "text");
      event.preventDefault();
    } else if (event.key === "[" || event.key === "]") {
      stepEraserSize(event.key === "[" ? -1 : 1);
      event.preventDefault();
    }
  });
}
