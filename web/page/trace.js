// "線を取り込む" in the page: a picture file's lines added to the drawing as
// the window adds a picture's lines (one undoable step, then converted),
// traced as `fudeline-cli trace` traces the same file at the same placement.
// The tracing runs in a worker with an engine of its own, so that the page
// goes on drawing and scrolling, and "キャンセル" ends it; the page's engine
// only adds the lines. Where no worker can run, the page traces itself.
// The engine reads the file and refuses it with the core's reasons; the
// browser only decodes the pixels of a file the engine has accepted.
import { board, engine } from "./state.js";
import { t } from "./i18n.js";
import { changed } from "./changes.js";
import { say } from "./message.js";
import { reasonText } from "./reasons.js";
import { traceInk } from "./trace_ink.js";
import { paint, showText, withBr } from "./view.js";

const $ = (id) => document.getElementById(id);
let worker = null;  // made at the first trace, ended by a cancel
let pending = null;  // the resolve of the trace the worker is on

// The placement chosen beside the command: the largest size whose text fits
// one post on the board chosen (the default, as --fit-board: a picture fitted
// to the canvas overruns every board's lines), fitted to the canvas (as the
// command line places a picture), or a percentage, at the top left.
function options() {
  const size = $("trace-size").value;
  const fitted = size === "fit" || size === "board";
  return {
    mode: $("trace-mode").value, scale: fitted ? null : Number(size), x: 0, y: 0,
    fitBoard: size === "board" ? board.limits : null,
  };
}

// `bytes` traced by the worker, with the drawing's choices that fitting a
// board converts with; resolves to the engine's answer, {cancelled}, or
// {workerFailed} when no worker could trace.
function traceInWorker(bytes, chosen) {
  if (worker === null) {
    try {
      worker = new Worker(new URL("./trace_worker.js", import.meta.url), { type: "module" });
    } catch (error) {
      return Promise.resolve({ workerFailed: String(error) });
    }
  }
  return new Promise((resolve) => {
    pending = resolve;
    worker.onmessage = ({ data }) => {
      pending = null;
      resolve(data);
    };
    worker.onerror = (event) => {
      pending = null;
      worker.terminate();
      worker = null;
      resolve({ workerFailed: event.message || "the tracing worker failed" });
    };
    worker.postMessage({
      bytes, options: chosen, fine: $("fine").checked, noFillers: $("no-fillers").checked,
      board: board.name, br: withBr(),
    }, [bytes.buffer]);
  });
}

// Ends the trace under way: the worker with it, a new one for the next.
function cancel() {
  if (pending === null) return;
  const resolve = pending;
  pending = null;
  worker.terminate();
  worker = null;
  resolve({ cancelled: true });
}

// The lines of a trace added to the drawing, and the page told.
function added(result) {
  if (result.cancelled) {
    say(t("traceCancelled"), "done");
  } else if (result.error) {
    say(t("traceFailed") + ": " + reasonText(result));
  } else {
    const imported = engine.importInk(result.ink);
    if (imported.error) {
      say(t("traceFailed") + ": " + imported.error);
    } else if (imported.noLines) {
      say(t("noLines"));
    } else {
      paint();
      showText();
      changed();
      say(result.scale ? t("tracedToFit", { scale: result.scale }) : t("traced"), "done");
    }
  }
}

export function startTrace() {
  const input = $("trace");
  const cancelButton = $("trace-cancel");
  cancelButton.addEventListener("click", cancel);
  let busy = false;
  input.addEventListener("change", async () => {
    const file = input.files[0];
    input.value = "";
    if (!file || busy) return;
    busy = true;
    say(t("tracing"));
    cancelButton.hidden = false;
    try {
      const chosen = options();
      let result = await traceInWorker(new Uint8Array(await file.arrayBuffer()), chosen);
      if (result.workerFailed) {
        // The message shows before the tracing holds the page.
        await new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 0)));
        result = await traceInk(engine, new Uint8Array(await file.arrayBuffer()), chosen);
      }
      added(result);
    } finally {
      busy = false;
      cancelButton.hidden = true;
      document.body.dataset.traced = String(Number(document.body.dataset.traced || 0) + 1);
    }
  });
}
