// "線を取り込む" in the page: a picture file's lines added to the drawing as
// the window adds a picture's lines (one undoable step, then converted),
// traced as `fudeline-cli trace` traces the same file at the same placement.
// The engine reads the file and refuses it with the core's reasons; the
// browser only decodes the pixels of a file the engine has accepted.
import { board, engine } from "./state.js";
import { t } from "./i18n.js";
import { changed } from "./changes.js";
import { say } from "./message.js";
import { decodePixels } from "./picture.js";
import { reasonText } from "./reasons.js";
import { paint, showText } from "./view.js";

const $ = (id) => document.getElementById(id);

// The placement chosen beside the command: fitted (the default, as the
// command line places a picture), a percentage, or the largest size whose
// text fits one post on the board chosen (as --fit-board), at the top left.
function options() {
  const size = $("trace-size").value;
  const fitted = size === "fit" || size === "board";
  return {
    mode: $("trace-mode").value, scale: fitted ? null : Number(size), x: 0, y: 0,
    fitBoard: size === "board" ? board.limits : null,
  };
}

// Traces `file` into the drawing; resolves to the engine's answer. The
// engine reads the header first and says whether the browser is to decode
// the pixels, and at which size.
async function trace(file) {
  const bytes = new Uint8Array(await file.arrayBuffer());
  const chosen = options();
  const wanted = engine.probeTrace(bytes, chosen);
  if (wanted.error) return wanted;
  let image = null;
  if (wanted.decode) {
    // Fitting a board traces at several sizes, each from the whole picture.
    const shrunk = wanted.reduction > 1 && !chosen.fitBoard;
    image = await decodePixels(bytes, shrunk ? wanted : {}).catch(() => null);
  }
  return engine.tracePicture(bytes, image, chosen);
}

export function startTrace() {
  const input = $("trace");
  let busy = false;
  input.addEventListener("change", async () => {
    const file = input.files[0];
    input.value = "";
    if (!file || busy) return;
    busy = true;
    say(t("tracing"));
    // The message shows before the tracing holds the page.
    await new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 0)));
    try {
      const result = await trace(file);
      if (result.error) {
        say(t("traceFailed") + ": " + reasonText(result));
      } else if (result.noLines) {
        say(t("noLines"));
      } else {
        paint();
        showText();
        changed();
        say(result.scale ? t("tracedToFit", { scale: result.scale }) : t("traced"), "done");
      }
    } finally {
      busy = false;
      document.body.dataset.traced = String(Number(document.body.dataset.traced || 0) + 1);
    }
  });
}
