// Every change of the drawing (a stroke or one taken back, undo, redo,
// clear, an open) goes through here: noted in the page's state, so leaving
// asks first, and kept by the browser a moment later.
import { drawingChanged } from "./state.js";
import { keepSoon } from "./storage.js";

export function changed() {
  drawingChanged();
  keepSoon();
}
