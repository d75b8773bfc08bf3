// "描画を保存" and "描画を開く": the drawing saved as the desktop's
// black-and-white PNG, keeping the rows of opened text as written as the
// window saves them, and a drawing file opened in its place (refused with
// the reader's reason, the drawing kept).
import { binding, engine } from "./state.js";
import { t } from "./i18n.js";
import { changed } from "./changes.js";
import { download } from "./files.js";
import { inkPng, openInk } from "./ink.js";
import { say } from "./message.js";
import { reasonText } from "./reasons.js";
import { paint, showText } from "./view.js";

export function startDrawingFile() {
  document.getElementById("save-drawing").addEventListener("click", () => {
    inkPng(engine.inkRgba()).then(async (ink) => {
      const file = engine.drawingFile(new Uint8Array(await ink.arrayBuffer()));
      download(file.error ? ink : new Blob([file.bytes], { type: "image/png" }), "drawing.png");
    });
  });
  document.getElementById("open-drawing").addEventListener("change", async (event) => {
    const file = event.target.files[0];
    event.target.value = "";
    if (!file) return;
    const result = await openInk(file);
    if (result.error) {
      // A photo has no pure black: opened, it would wipe the drawing.
      say(result.kind === binding.noInk ? t("noBlackInk") : t("openFailed") + ": " + reasonText(result));
      return;
    }
    say("");
    paint();
    showText();
    changed();
  });
}
