// Every change of the drawing goes through here: recorded in the page's
// state (a redo follows only an undo) and kept by the browser a moment later.
import { drawingChanged } from "./state.js";
import { keepSoon } from "./storage.js";

// `kind`: "stroke", "cancel", "undo", "clear" or "open".
export function changed(kind) {
  drawingChanged(kind);
  keepSoon();
}
