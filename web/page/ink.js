// The drawing's ink layer in and out of files: opened from a PNG or PBM by
// the core's ink-image reader, with the command line's formats, limits and
// reasons, and written as the desktop's black-and-white PNG.
import { binding, engine } from "./state.js";
import { pngOf } from "./files.js";
import { decodePixels } from "./picture.js";

// An ink layer's RGBA from the engine (ink black, the rest white) as the
// PNG drawing file.
export function inkPng(rgba) {
  return pngOf(engine.inkWidth(), engine.inkHeight(), rgba);
}

// Makes the drawing the ink of `file` (a File or Blob): "" when it did (one
// undoable step), else why not. A PNG the core accepts is decoded by the
// browser, and the core is asked again with its pixels.
export async function openInk(file) {
  try {
    const bytes = new Uint8Array(await file.arrayBuffer());
    const reason = engine.openDrawing(bytes, 0, 0, new Uint8Array(0));
    if (reason !== binding.needsBrowserDecode) return reason;
    const image = await decodePixels(bytes);
    return engine.openDrawing(bytes, image.width, image.height, image.data);
  } catch (e) {
    return String(e.message || e);
  }
}
