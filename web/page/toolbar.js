// The toolbar's commands and the boxes beside the canvas: pen and eraser,
// undo and redo (through the history of steps, or the single toggling undo
// as a setting), clear, copy, the Shift-JIS file, <BR>, row lines, the fine
// conversion and the stabilizer; the boxes keep their state between visits.
import { engine } from "./state.js";
import { t } from "./i18n.js";
import { changed } from "./changes.js";
import { download } from "./files.js";
import { say } from "./message.js";
import { loadSetting, saveSetting } from "./settings.js";
import { paint, showText, withBr } from "./view.js";
import { chooseTool, tool } from "./tools.js";

const $ = (id) => document.getElementById(id);

// The boxes as the last visit left them, before the engine has loaded.
export function restoreBoxes() {
  $("br").checked = loadSetting("br", false);
  $("row-lines").checked = loadSetting("rowLines", true);
  $("fine").checked = loadSetting("fine", true);
  $("no-fillers").checked = loadSetting("noFillers", false);
  $("single-undo").checked = loadSetting("singleUndo", false);
  // Weak for a new visitor, as in the window: it evens out a tremor and
  // still keeps small curves nearly their size.
  const stabilizer = loadSetting("stabilizer", "weak");
  $("stabilizer").value = ["off", "weak", "strong"].includes(stabilizer) ? stabilizer : "weak";
  const eraserSize = loadSetting("eraserSize", "medium");
  $("eraser-size").value = ["small", "medium", "large"].includes(eraserSize) ? eraserSize : "medium";
}

export function showPen() {
  const pen = engine.penMode();
  const button = $("pen");
  button.classList.toggle("eraser", !pen);
  button.setAttribute("aria-pressed", pen ? "false" : "true");
  button.dataset.mode = pen ? "pen" : "eraser";
  button.firstElementChild.textContent = pen ? t("pen") : t("eraser");
}

function applyFine() {
  const fine = $("fine").checked;
  $("no-fillers").disabled = !fine;  // the row matcher always places fillers
  engine.setFine(fine, $("no-fillers").checked);
  paint();
  showText();
}

export function startToolbar() {
  engine.setRowLines($("row-lines").checked);
  engine.setSingleUndo($("single-undo").checked);
  applyFine();
  engine.setStabilizer($("stabilizer").value);
  engine.setEraserSize($("eraser-size").value);
  showPen();

  // With another tool chosen, the pen button goes back to drawing with
  // what it shows; otherwise it switches pen and eraser.
  $("pen").addEventListener("click", () => {
    if (tool() !== "draw") {
      chooseTool("draw");
      return;
    }
    engine.togglePen();
    showPen();
  });
  for (const kind of ["undo", "redo"]) {
    $(kind).addEventListener("click", () => {
      if (!engine[kind]()) return;  // nothing to take back or bring back
      paint();
      showText();
      changed();
    });
  }
  $("clear").addEventListener("click", () => {
    if (!window.confirm(t("clearQuestion"))) return;
    engine.clear();
    paint();
    showText();
    changed();
  });
  $("align-left").addEventListener("click", () => {
    if (!engine.alignLeft()) {
      say(t("alreadyLeft"));
      return;
    }
    paint();
    showText();
    changed();
  });
  $("copy").addEventListener("click", async () => {
    // The Shift-JIS bytes cannot go on the web clipboard; "save" gives them.
    const text = engine.text(withBr());
    try {
      await navigator.clipboard.writeText(text);
    } catch (e) {
      $("text").select();
      document.execCommand("copy");
    }
    say(t("copied"), "done");
  });
  $("save-text").addEventListener("click", () => {
    const bytes = engine.sjis(withBr());
    if (bytes.length === 0) {
      say(t("nothingToSave"));
      return;
    }
    say("");
    download(new Blob([bytes], { type: "text/plain;charset=Shift_JIS" }), "fudeline.txt");
  });
  $("br").addEventListener("change", () => {
    saveSetting("br", $("br").checked);
    showText();
  });
  $("row-lines").addEventListener("change", () => {
    saveSetting("rowLines", $("row-lines").checked);
    engine.setRowLines($("row-lines").checked);
    paint();
  });
  $("fine").addEventListener("change", () => {
    saveSetting("fine", $("fine").checked);
    applyFine();
  });
  $("stabilizer").addEventListener("change", () => {
    saveSetting("stabilizer", $("stabilizer").value);
    engine.setStabilizer($("stabilizer").value);
  });
  $("eraser-size").addEventListener("change", () => {
    saveSetting("eraserSize", $("eraser-size").value);
    engine.setEraserSize($("eraser-size").value);
  });
  $("no-fillers").addEventListener("change", () => {
    saveSetting("noFillers", $("no-fillers").checked);
    applyFine();
  });
  // A change of undo forgets the steps kept, as in the window.
  $("single-undo").addEventListener("change", () => {
    saveSetting("singleUndo", $("single-undo").checked);
    engine.setSingleUndo($("single-undo").checked);
  });
}
