// The drawing's ink layer in and out of files: opened from a PNG or PBM by
// the core's ink-image reader, with the command line's formats, limits and
// reasons, and written as the desktop's black-and-white PNG.
import { engine } from "./state.js";
import { pngOf } from "./files.js";
import { decodePixels } from "./picture.js";

// An ink layer's RGBA from the engine (ink black, the rest white) as the
// PNG drawing file.
export function inkPng(rgba) {
  return pngOf(engine.inkWidth(), engine.inkHeight(), rgba);
}

// Makes the drawing the ink of `file` (a File or Blob), resolving to the
// engine's answer: {error: ""} when it did (one undoable step), else the
// failure. The core reads the header first; a PNG it accepts is decoded by
// the browser and handed over with the call that opens it.
export async function openInk(file) {
  try {
    const bytes = new Uint8Array(await file.arrayBuffer());
    const wanted = engine.probeDrawing(bytes);
    if (wanted.error) return wanted;
    const image = wanted.decode ? await decodePixels(bytes).catch(() => null) : null;
    return engine.openDrawing(bytes, image);
  } catch (e) {
    return { error: String(e.message || e) };
  }
}
