// The selection tool, as the window's: a drag on the canvas draws a
// rectangle, a drag inside it moves its ink and kept text (one undoable step
// however long the drag), and the arrow keys move it a pixel, with Shift a
// full-width space across or a row. Cut, copy, paste and delete keep within
// the drawing. The engine holds the selection; this module holds the drag.
import { engine } from "./state.js";
import { changed } from "./changes.js";
import { chooseTool, tool, whenLeft } from "./tools.js";
import { paint, showBand, showText } from "./view.js";

// The drag under way: {id, band: [x0, y0, x1, y1] canvas pixels} drawing a
// rectangle, or {id, from: ink point, moved: [dx, dy] ink pixels done,
// started} moving the selection.
let drag = null;

// Another tool chosen: a floating selection is set down where it is.
function letGo() {
  drag = null;
  showBand(null);
  if (engine.selection() === null) return;
  engine.selectNone();
  paint();
}

function contains(rect, [x, y]) {
  return rect !== null && x >= rect.left && x < rect.left + rect.width &&
    y >= rect.top && y < rect.top + rect.height;
}

function bandRect([x0, y0, x1, y1]) {
  return { left: Math.min(x0, x1), top: Math.min(y0, y1),
    width: Math.abs(x1 - x0) + 1, height: Math.abs(y1 - y0) + 1 };
}

// After a change of the drawing: shown, its text, kept.
function drawn() {
  paint();
  showText();
  changed();
}

export function selectionDown(id, point) {
  if (contains(engine.selection(), point)) {
    drag = { id, from: engine.inkPoint(point[0], point[1]), moved: [0, 0], started: false };
  } else {
    drag = { id, band: [point[0], point[1], point[0], point[1]] };
    showBand(bandRect(drag.band));
    paint();
  }
}

export function selectionMove(id, point) {
  if (drag === null || drag.id !== id) return;
  if (drag.band) {
    drag.band[2] = point[0];
    drag.band[3] = point[1];
    showBand(bandRect(drag.band));
    paint();
    return;
  }
  const to = engine.inkPoint(point[0], point[1]);
  const wanted = [to[0] - drag.from[0], to[1] - drag.from[1]];
  const dx = wanted[0] - drag.moved[0], dy = wanted[1] - drag.moved[1];
  if (dx === 0 && dy === 0) return;
  engine.moveSelection(dx, dy, drag.started);
  drag.started = true;
  drag.moved = wanted;
  paint();
}

export function selectionUp(id, point) {
  if (drag === null || drag.id !== id) return;
  if (point !== null) selectionMove(id, point);
  const ended = drag;
  drag = null;
  if (ended.band) {
    showBand(null);
    const rect = bandRect(ended.band);
    // A click without a drag clears the selection.
    if (rect.width <= 2 && rect.height <= 2) {
      engine.selectNone();
    } else {
      engine.select(rect.left, rect.top, rect.width, rect.height);
    }
    paint();
    return;
  }
  if (ended.started) drawn();
}

// The selection's commands, for the keys and the buttons: "cut", "copy",
// "paste", "delete", "all", "none", or a move ["nudge", dx, dy, cell].
// False when there was nothing to do.
export function selectionCommand(command, dx = 0, dy = 0, cell = false) {
  if (drag !== null) return false;
  switch (command) {
    case "copy":
      return engine.copySelection();
    case "all":
      chooseTool("select");
      engine.selectAll();
      paint();
      return true;
    case "none":
      if (engine.selection() === null) return false;
      engine.selectNone();
      paint();
      return true;
    case "cut":
    case "paste":
    case "delete":
    case "nudge": {
      const done = command === "cut" ? engine.cutSelection()
        : command === "paste" ? engine.paste()
          : command === "delete" ? engine.deleteSelection()
            : engine.nudgeSelection(dx, dy, cell);
      if (!done) return false;
      if (command === "paste") chooseTool("select");
      drawn();
      return true;
    }
    default:
      return false;
  }
}

export function startSelection() {
  whenLeft("select", letGo);
  document.getElementById("select-tool")
    .addEventListener("click", () => chooseTool(tool() === "select" ? "draw" : "select"));
  for (const command of ["cut", "copy", "paste", "delete"]) {
    document.getElementById("selection-" + command)
      .addEventListener("click", () => selectionCommand(command));
  }
}
