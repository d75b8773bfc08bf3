// The page: the engine (the core as WebAssembly) loaded, then every part of
// the page started over it, in the order each needs the one before.
import FudelineEngine from "./engine.js";
import { engineLoaded } from "./state.js";
import { translatePage } from "./i18n.js";
import { restorePictureChoices, startBackground } from "./background.js";
import { startBoards } from "./board.js";
import { startDrawingFile } from "./drawing_file.js";
import { startKeys } from "./keys.js";
import { startOffline } from "./offline.js";
import { startParts } from "./parts.js";
import { startPointer } from "./pointer.js";
import { startSelection } from "./selection.js";
import { startTyping } from "./typing.js";
import { startShare } from "./share.js";
import { startStorage } from "./storage.js";
import { startTextFiles } from "./text_files.js";
import { restoreBoxes, startToolbar } from "./toolbar.js";
import { startTrace } from "./trace.js";
import { reasonText } from "./reasons.js";
import { showText, startView } from "./view.js";

const loading = document.getElementById("loading");

// Why the engine could not start: in Japanese where the core words the
// reason so, numbers and names kept; otherwise as the core words it.
function failureText(engine) {
  const failure = engine.failure();
  const reason = reasonText({ kind: failure.kind, args: failure.args, error: "" });
  if (!reason) return engine.error();
  return failure.path ? failure.path + ": " + reason : reason;
}

async function start() {
  const binding = await FudelineEngine();
  const engine = new binding.Engine();
  engineLoaded(binding, engine);
  startBoards();
  if (engine.error()) {
    loading.textContent = failureText(engine);
    return;
  }
  startView();
  startToolbar();
  showText();
  startKeys();
  startShare();
  // The last visit's drawing before anything can be drawn over it.
  await startStorage();
  startPointer();
  startSelection();
  startTyping();
  startDrawingFile();
  startBackground();
  startTextFiles();
  startTrace();
  // The kept parts libraries are read after the page is ready: a large one
  // never holds up drawing.
  startParts();
  // A phone held sideways has room for the canvas or the toolbar: the
  // canvas is what the page is for.
  if (matchMedia("(orientation: landscape) and (max-height: 540px)").matches) {
    document.getElementById("stage").scrollIntoView({ block: "start" });
  }
  performance.mark("fudeline-ready");
  document.body.dataset.ready = "1";
}

translatePage();
restoreBoxes();
restorePictureChoices();
start().catch((error) => {
  // A browser without WebAssembly, or a file that did not arrive.
  loading.textContent = String(error);
});
startOffline();
