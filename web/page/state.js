// The page's state in one place, changed only through the functions below:
// the engine once loaded, the picture under the canvas and where it lies,
// whether a drag moves that picture, the board the counter measures
// against, and whether the drawing changed. What other modules keep is their
// own working state (a gesture under way, a write not yet done, a timer).

// The engine's module (its constants, tables and rules) and the drawing
// session over it; null until loaded.
export let binding = null;
export let engine = null;
// The picture under the canvas as the browser decoded it (an ImageBitmap),
// and where its top left lies on the canvas.
export let picture = null;
export let pictureOffset = [0, 0];
// Whether a drag on the canvas moves the picture instead of drawing.
export let movingPicture = false;
// The board in use: its name ("custom" for the user's own) and its limits
// [bytes, lines, bytes a line], 0 meaning no limit.
export let board = { name: null, limits: [0, 0, 0] };
// Whether anything changed the drawing since the page loaded.
export let touched = false;

export function engineLoaded(loadedBinding, session) {
  binding = loadedBinding;
  engine = session;
}

export function pictureOpened(bitmap) {
  picture = bitmap;
  pictureOffset = [0, 0];
}

export function pictureMoved(offset) {
  pictureOffset = offset;
}

export function movingPictureToggled() {
  movingPicture = !movingPicture;
  return movingPicture;
}

export function boardChosen(name, limits) {
  board = { name, limits };
}

export function drawingChanged() {
  touched = true;
}
