// A picture file's lines traced by an engine, not yet added to a drawing:
// the tracing worker's work (trace_worker.js), and the page's own where no
// worker runs. The engine reads the header first and says whether the
// browser is to decode the pixels, and at which size.
import { decodePixels } from "./picture.js";

// `bytes` traced at `chosen` ({mode, scale, x, y, fitBoard}); resolves to
// the engine's answer, its `ink` (RGBA bytes) a copy of its own.
export async function traceInk(engine, bytes, chosen) {
  const wanted = engine.probeTrace(bytes, chosen);
  if (wanted.error) return wanted;
  let image = null;
  if (wanted.decode) {
    // Fitting a board traces at several sizes, each from the whole picture.
    const shrunk = wanted.reduction > 1 && !chosen.fitBoard;
    image = await decodePixels(bytes, shrunk ? wanted : {}).catch(() => null);
  }
  const result = engine.traceInk(bytes, image, chosen);
  if (!result.error) result.ink = result.ink.slice();
  return result;
}
