// The tracing worker: an engine of its own that traces a picture's lines
// while the page's engine goes on drawing (tracing a photo takes a second
// or more). It is told the drawing's choices that fitting a board depends
// on, and answers with the lines for the page's engine to add, or the
// failure as the core words it; the page ends it to cancel.
import FudelineEngine from "./engine.js";
import { traceInk } from "./trace_ink.js";

let engine = null;

async function loaded() {
  if (engine !== null) return engine;
  const binding = await FudelineEngine();
  const made = new binding.Engine();
  if (made.error()) throw new Error(made.error());
  engine = made;
  return engine;
}

// {bytes, options, fine, noFillers, board, br} in; the engine's answer out,
// or {workerFailed} when the worker cannot trace at all.
self.onmessage = async ({ data }) => {
  let result;
  try {
    const traced = await loaded();
    traced.setFine(data.fine, data.noFillers);
    traced.setBoard(data.board);
    traced.setBr(data.br);
    result = await traceInk(traced, data.bytes, data.options);
  } catch (error) {
    result = { workerFailed: String(error) };
  }
  self.postMessage(result, result.ink ? [result.ink.buffer] : []);
};
