// What the user sees of the drawing: the engine's composed canvas, the text
// in the text box, and the counter of how that text posts on the board in
// use.
import { binding, board, engine } from "./state.js";
import { t } from "./i18n.js";

const canvas = document.getElementById("canvas");
const context = canvas.getContext("2d");
const textBox = document.getElementById("text");
const counter = document.getElementById("post-count");
const brBox = document.getElementById("br");
let imageData = null;  // the canvas's pixels, refilled by every paint
let band = null;  // the rectangle a selection drag is drawing, in canvas pixels
// What the text would take moved to the left edge is worked out this long
// after the drawing stops changing: it converts the whole drawing again.
const ALIGNED_COUNT_DELAY_MS = 250;
let alignedTimer = 0;

// The canvas at the engine's size, once the engine is loaded.
export function startView() {
  canvas.width = binding.canvasWidth;
  canvas.height = binding.canvasHeight;
  imageData = context.createImageData(canvas.width, canvas.height);
  // The face's widths are known once it is loaded; the box's room changes
  // with the window.
  const refit = () => {
    readTextBox();
    fitTextBox();
  };
  document.fonts.load(`${kTextPx}px "Fudeline Mona"`).then(refit, () => {});
  new ResizeObserver(refit).observe(textBox);
}

// Whether the text is written with <BR> (copy, save, share and the count).
export function withBr() {
  return brBox.checked;
}

// The rectangle a selection drag is drawing ({left, top, width, height}),
// shown from the next paint on; null: none.
export function showBand(rect) {
  band = rect;
}

// A rectangle's outline on the canvas, dashed black and white so that it
// shows over ink and paper alike.
function outline(rect) {
  context.save();
  context.lineWidth = 1;
  const args = [rect.left + 0.5, rect.top + 0.5, rect.width - 1, rect.height - 1];
  context.strokeStyle = "#fff";
  context.setLineDash([]);
  context.strokeRect(...args);
  context.strokeStyle = "#0050c8";
  context.setLineDash([4, 3]);
  context.strokeRect(...args);
  context.restore();
}

// The paint step: the engine converts what is pending and composes the
// canvas, which is then shown with the selection over it; the text follows
// when a conversion ran. Returns whether one did.
export function paint() {
  const converted = engine.paint();
  imageData.data.set(engine.pixels());
  context.putImageData(imageData, 0, 0);
  const selection = band ?? engine.selection();
  if (selection !== null) outline(selection);
  // The text tool's caret: a blue line one row high.
  const caret = engine.caret();
  if (caret !== null) {
    context.fillStyle = "rgb(0, 90, 200)";
    context.fillRect(caret.x, caret.row * binding.rowHeight, 1, binding.rowHeight);
  }
  if (converted) showText();
  return converted;
}

export function showText() {
  const br = withBr();
  engine.setBoard(board.name);  // whose rule says whether references are written
  textBox.value = engine.text(br).replace(/\r\n/g, "\n");
  // The empty canvas's hint shows while there is no text.
  const empty = textBox.value === "" ? "1" : "0";
  if (document.body.dataset.empty !== empty) document.body.dataset.empty = empty;
  fitTextBox();
  const limits = board.limits;
  const count = engine.countPost(br, limits[0], limits[1], limits[2]);
  const over = [];
  if (count.overBytes) over.push(t("overBytes"));
  if (count.overLines) over.push(t("overLines"));
  if (count.overLineBytes) over.push(t("overLineBytes"));
  const measure = (n, limit) => (limit > 0 ? n + "/" + limit : String(n));
  counter.textContent = measure(count.bytes, limits[0]) + " " + t("bytes") + "　" +
    measure(count.lines, limits[1]) + " " + t("lines") + "　" +
    t("longestLine") + " " + measure(count.longestLine, limits[2]) + " " +
    t("bytes") + (over.length ? "　" + over.join("・") : "");
  counter.classList.toggle("over", over.length > 0);
  clearTimeout(alignedTimer);
  alignedTimer = setTimeout(() => showAlignedCount(count.bytes), ALIGNED_COUNT_DELAY_MS);
}

// The text box's face as large as lets its widest line show whole, and never
// larger than the 16 px boards show it: the whole of a full canvas's text is
// seen beside the canvas (about half its width on a 1280 px screen) without
// scrolling, shrunk as a picture is, and a small drawing's text at its own
// size. Below kSmallestTextPx it scrolls instead.
const kTextPx = 16;
const kTextLinePx = 18;
const kSmallestTextPx = 8;
const measure = document.createElement("canvas").getContext("2d");
// The box's room and face, read when its size changes (reading them at every
// paint would lay the page out again each time), and the size shown.
let room = 0;
let shownPx = kTextPx;

function readTextBox() {
  const box = getComputedStyle(textBox);
  room = textBox.clientWidth - parseFloat(box.paddingLeft) - parseFloat(box.paddingRight);
  measure.font = `${kTextPx}px ${box.fontFamily}`;
}

function fitTextBox() {
  if (room <= 0) return;
  let widest = 0;
  for (const line of textBox.value.split("\n")) widest = Math.max(widest, measure.measureText(line).width);
  // A pixel to spare for the caret at a line's end.
  const size = widest + 1 <= room ? kTextPx
    : Math.max(kSmallestTextPx, Math.floor((kTextPx * room) / (widest + 1) * 10) / 10);
  if (size === shownPx) return;
  shownPx = size;
  textBox.style.fontSize = size + "px";
  textBox.style.lineHeight = (size * kTextLinePx) / kTextPx + "px";
}

// "左に寄せると N バイト" after the count, when moving the drawing left
// would make the text shorter.
function showAlignedCount(bytes) {
  if (engine.tracing()) {  // mid-stroke: once the stroke ends
    alignedTimer = setTimeout(() => showAlignedCount(bytes), ALIGNED_COUNT_DELAY_MS);
    return;
  }
  const limits = board.limits;
  const aligned = engine.bytesAlignedLeft(withBr(), limits[0], limits[1], limits[2]);
  if (aligned === null || aligned >= bytes) return;
  counter.textContent += "　" + t("alignedBytes", { bytes: aligned });
}
