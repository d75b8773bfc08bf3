// The canvas's pointers as drawing apps take them. A mouse, a pen or one
// finger draws (with the selection tool chosen, selects and drags the
// selection: selection.js; with the text tool, puts the caret down:
// typing.js; with a part or a frame waiting, lays it there: parts.js); the pen's eraser end or its barrel button erases. While a pen
// is down or near (hovering, or lifted a moment ago) every touch is a resting
// palm and is ignored, and a pen coming down takes back the stroke a palm
// already began. Two fingers never draw: they zoom and pan the canvas, and
// "fit" or a double tap of one finger shows it whole again; a tap draws
// nothing. Ctrl+wheel (a touchpad's pinch too) zooms about the pointer, and
// the wheel pans a zoomed canvas (Shift across), as does a drag with Space
// held, which never draws; Space never scrolls the page nor presses again a
// button the pointer clicked. Positions reach the engine in canvas pixels, coalesced ones
// included, wherever the canvas is shown and however it is zoomed (the
// mapping reads the shown rectangle).
import { engine, movingPicture } from "./state.js";
import { pictureDrag } from "./background.js";
import { changed } from "./changes.js";
import { paint, showText } from "./view.js";
import { selectionDown, selectionMove, selectionUp } from "./selection.js";
import { tool } from "./tools.js";
import { placeCaret } from "./typing.js";
import { placeAt, placementPending } from "./parts.js";
import { typing } from "./keys.js";

const canvas = document.getElementById("canvas");
const fitButton = document.getElementById("zoom-fit");
const MAX_ZOOM = 8;
let stroke = null;  // {id, type, flipped: the pen mode was switched for an eraser stroke}
let penDown = null;  // the pen touching the canvas, drawing or not
// A palm lands while the pen hovers over the canvas or just after it
// lifts: touches that soon after the pen's last event are palms too.
const PEN_NEAR_MS = 500;
let penSeenAt = -Infinity;
const ignored = new Set();  // touches: palms, and fingers of a gesture, until they lift
const fingers = new Map();  // touches down and not ignored: id -> [clientX, clientY]
let pinch = null;  // {distance, middle, scale, offset} when the gesture began
let zoomNow = { scale: 1, offset: [0, 0] };
// A finger's stroke begins once the finger has moved past TAP_SLOP or
// stayed down TAP_MS, and then from where it came down, through every
// position it passed: the same stroke as if begun at once, but a quick tap
// never leaves a dot, nor takes an undo step, and two taps close in time
// and place fit the canvas.
const TAP_MS = 300, TAP_SLOP = 10, DOUBLE_TAP_MS = 300, DOUBLE_TAP_PX = 20;
let touchDown = null;  // {id, at: [clientX, clientY], time, points: canvas points, timer}
let lastTap = null;  // {time, at}: when and where the last tap lifted
let spaceHeld = false;  // Space down: a drag pans, nothing draws
let pan = null;  // a Space drag: {id, at: [clientX, clientY], offset} when it began

// Capture keeps a stroke leaving the canvas; a pointer the browser does not
// know (one made up by a script) simply goes uncaptured.
function capture(id) {
  try {
    canvas.setPointerCapture(id);
  } catch (e) { /* nothing to capture */ }
}

function canvasPoint(event) {
  const rect = canvas.getBoundingClientRect();
  return [
    Math.floor((event.clientX - rect.left) * canvas.width / rect.width),
    Math.floor((event.clientY - rect.top) * canvas.height / rect.height),
  ];
}

// The stylus's eraser end reports button 5 (buttons 32); its barrel button
// button 2 (buttons 2), alone or with the tip.
function erases(event) {
  return event.pointerType === "pen" &&
    (event.button === 5 || event.button === 2 || (event.buttons & (32 | 2)) !== 0);
}

function begin(event, point = canvasPoint(event)) {
  let flipped = false;
  if (erases(event) && engine.penMode()) {
    engine.togglePen();
    flipped = true;
  }
  stroke = { id: event.pointerId, type: event.pointerType, flipped };
  capture(event.pointerId);
  // Shift held draws a straight line from here, as in the window.
  engine.down(point[0], point[1], event.shiftKey === true);
  paint();
}

function forgetTouch() {
  if (touchDown !== null) clearTimeout(touchDown.timer);
  touchDown = null;
}
function beginTouchStroke() {
  const touch = touchDown;
  forgetTouch();
  lastTap = null;
  begin({ pointerId: touch.id, pointerType: "touch", button: 0, buttons: 0 }, touch.points[0]);
  for (const [x, y] of touch.points.slice(1)) engine.move(x, y);
  if (touch.points.length > 1) paint();
}
function tapped(downAt, upAt, at) {
  if (lastTap !== null && downAt - lastTap.time <= DOUBLE_TAP_MS &&
      Math.hypot(at[0] - lastTap.at[0], at[1] - lastTap.at[1]) <= DOUBLE_TAP_PX) {
    lastTap = null;
    fit();
    return;
  }
  lastTap = { time: upAt, at };
}

function finish(cancel) {
  if (cancel) {
    engine.cancelStroke();
  } else {
    engine.up();
  }
  // The eraser's segments are recorded with their mode, so the pen comes
  // back at once.
  if (stroke.flipped) engine.togglePen();
  stroke = null;
  paint();
  // Taking a stroke back converts before the paint, which then has
  // nothing to convert: the text is shown again here.
  if (cancel) showText();
  changed();
}

// --- Zoom: a CSS transform of the canvas inside its stage, which clips it.
function showZoom() {
  const { scale, offset } = zoomNow;
  canvas.style.transform = scale === 1 ? "" :
    `translate(${offset[0]}px, ${offset[1]}px) scale(${scale})`;
  fitButton.hidden = scale === 1;
}
function clampOffset(scale, offset) {
  const w = canvas.offsetWidth, h = canvas.offsetHeight;
  return [Math.min(0, Math.max(w - w * scale, offset[0])),
    Math.min(0, Math.max(h - h * scale, offset[1]))];
}
function stagePoint(x, y) {
  const stage = canvas.parentElement.getBoundingClientRect();
  return [x - stage.left - canvas.offsetLeft, y - stage.top - canvas.offsetTop];
}
function twoFingers() {
  const [a, b] = [...fingers.values()];
  return {
    distance: Math.max(1, Math.hypot(a[0] - b[0], a[1] - b[1])),
    middle: stagePoint((a[0] + b[0]) / 2, (a[1] + b[1]) / 2),
  };
}
function startPinch() {
  const now = twoFingers();
  pinch = { distance: now.distance, middle: now.middle, scale: zoomNow.scale, offset: zoomNow.offset };
}
function movePinch() {
  const now = twoFingers();
  const scale = Math.min(MAX_ZOOM, Math.max(1, pinch.scale * now.distance / pinch.distance));
  // The canvas point under the fingers' middle when they came down stays
  // under their middle now.
  const at = [(pinch.middle[0] - pinch.offset[0]) / pinch.scale,
    (pinch.middle[1] - pinch.offset[1]) / pinch.scale];
  zoomNow = { scale, offset: clampOffset(scale, [now.middle[0] - at[0] * scale, now.middle[1] - at[1] * scale]) };
  showZoom();
}
export function fit() {
  zoomNow = { scale: 1, offset: [0, 0] };
  showZoom();
}
// A notch of the wheel (100 pixels in the browsers' reckoning) zooms by a
// quarter; a touchpad's small steps zoom as smoothly.
const WHEEL_NOTCH = 100, NOTCH_ZOOM = 1.25;
function wheel(event) {
  const unit = event.deltaMode === 1 ? 40 : event.deltaMode === 2 ? canvas.offsetHeight : 1;
  const dx = event.deltaX * unit, dy = event.deltaY * unit;
  if (event.ctrlKey || event.metaKey) {
    event.preventDefault();
    const scale = Math.min(MAX_ZOOM, Math.max(1, zoomNow.scale * NOTCH_ZOOM ** (-dy / WHEEL_NOTCH)));
    // The canvas point under the pointer stays under it.
    const p = stagePoint(event.clientX, event.clientY);
    const at = [(p[0] - zoomNow.offset[0]) / zoomNow.scale, (p[1] - zoomNow.offset[1]) / zoomNow.scale];
    zoomNow = { scale, offset: clampOffset(scale, [p[0] - at[0] * scale, p[1] - at[1] * scale]) };
    showZoom();
    return;
  }
  if (zoomNow.scale === 1) return;  // the whole canvas shows: the page scrolls
  event.preventDefault();
  const [x, y] = event.shiftKey && dx === 0 ? [dy, 0] : [dx, dy];
  zoomNow = { scale: zoomNow.scale,
    offset: clampOffset(zoomNow.scale, [zoomNow.offset[0] - x, zoomNow.offset[1] - y]) };
  showZoom();
}

// A pointer lifted or lost: a tap counted, a gesture's finger let go, a
// stroke ended.
function lift(event) {
  if (pan !== null && event.pointerId === pan.id) pan = null;
  if (event.pointerId === penDown) penDown = null;
  if (touchDown !== null && event.pointerId === touchDown.id) {
    const { time, at } = touchDown;
    forgetTouch();
    if (event.type === "pointerup") tapped(time, event.timeStamp, at);
  }
  ignored.delete(event.pointerId);
  if (fingers.delete(event.pointerId) && pinch !== null) {
    // The gesture's other finger stays ignored until it lifts too.
    for (const id of fingers.keys()) ignored.add(id);
    fingers.clear();
    pinch = null;
  }
  pictureDrag.end(event.pointerId);
  selectionUp(event.pointerId, event.type === "pointerup" ? canvasPoint(event) : null);
  if (stroke !== null && event.pointerId === stroke.id) finish(false);
}

// Space held or let go: while held, the canvas shows a hand and a drag
// moves a zoomed canvas instead of drawing.
function holdSpace(held) {
  spaceHeld = held;
  canvas.classList.toggle("panning", held);
  if (!held) pan = null;
}

// The zoom shown now: {scale, offset} (CSS pixels of the stage).
export function zoom() {
  return { scale: zoomNow.scale, offset: zoomNow.offset.slice() };
}

export function startPointer() {
  fitButton.addEventListener("click", fit);
  // Space is the canvas's, but in a field or on a control the keyboard
  // reached (which Space presses) and under a dialog.
  document.addEventListener("keydown", (event) => {
    if (event.key !== " " || event.isComposing || typing(event.target) ||
        document.querySelector("dialog[open]") ||
        (event.target instanceof Element && event.target.closest("button, select, summary, input, a"))) {
      return;
    }
    if (!event.repeat) holdSpace(true);
    event.preventDefault();
  });
  document.addEventListener("keyup", (event) => {
    if (event.key === " ") holdSpace(false);
  });
  window.addEventListener("blur", () => holdSpace(false));
  canvas.addEventListener("wheel", wheel, { passive: false });
  // The shown size changes with the window; a zoom keeps its scale, kept in view.
  window.addEventListener("resize", () => {
    zoomNow.offset = clampOffset(zoomNow.scale, zoomNow.offset);
    showZoom();
  });

  canvas.addEventListener("pointerdown", (event) => {
    if (event.pointerType === "touch") {
      // A finger left over from a gesture or a palm keeps the next ones from
      // drawing until it lifts.
      if (penDown !== null || event.timeStamp - penSeenAt < PEN_NEAR_MS || fingers.size >= 2 ||
          ignored.size > 0) {
        ignored.add(event.pointerId);
        return;
      }
      fingers.set(event.pointerId, [event.clientX, event.clientY]);
      if (fingers.size === 2) {
        // A second finger makes a gesture of both: the stroke the first one
        // began is taken back, and neither draws until they lift.
        if (stroke !== null && stroke.type === "touch") finish(true);
        forgetTouch();
        lastTap = null;
        pictureDrag.end(null);
        for (const id of fingers.keys()) capture(id);
        startPinch();
        event.preventDefault();
        return;
      }
    } else if (event.pointerType === "pen") {
      penDown = event.pointerId;
      // The palm came down first: its stroke is not the drawing.
      if (stroke !== null && stroke.type === "touch") finish(true);
      forgetTouch();
      for (const id of fingers.keys()) ignored.add(id);
      fingers.clear();
      pinch = null;
    }
    if (stroke !== null || pinch !== null || touchDown !== null) return;
    const drawButton = event.button === 0 || (event.pointerType === "pen" && erases(event));
    if (!drawButton) return;
    event.preventDefault();
    if (spaceHeld) {
      capture(event.pointerId);
      pan = { id: event.pointerId, at: [event.clientX, event.clientY], offset: zoomNow.offset.slice() };
      return;
    }
    if (movingPicture) {
      capture(event.pointerId);
      pictureDrag.start(event.pointerId, canvasPoint(event));
      return;
    }
    if (placementPending()) {
      placeAt(canvasPoint(event));
      return;
    }
    if (tool() === "select") {
      capture(event.pointerId);
      selectionDown(event.pointerId, canvasPoint(event));
      return;
    }
    if (tool() === "text") {
      placeCaret(canvasPoint(event));
      return;
    }
    if (event.pointerType === "touch") {
      capture(event.pointerId);
      touchDown = { id: event.pointerId, at: [event.clientX, event.clientY], time: event.timeStamp,
        points: [canvasPoint(event)], timer: setTimeout(beginTouchStroke, TAP_MS) };
      return;
    }
    begin(event);
  });

  for (const type of ["pointerdown", "pointermove", "pointerup", "pointerleave"]) {
    canvas.addEventListener(type, (event) => {
      if (event.pointerType === "pen") penSeenAt = event.timeStamp;
    });
  }
  canvas.addEventListener("pointermove", (event) => {
    if (pan !== null && event.pointerId === pan.id) {
      zoomNow.offset = clampOffset(zoomNow.scale, [pan.offset[0] + event.clientX - pan.at[0],
        pan.offset[1] + event.clientY - pan.at[1]]);
      showZoom();
      return;
    }
    if (stroke !== null && event.pointerId === stroke.id) {
      const events = event.getCoalescedEvents ? event.getCoalescedEvents() : [];
      for (const e of events.length ? events : [event]) {
        const [x, y] = canvasPoint(e);
        engine.move(x, y, e.shiftKey === true);
      }
      paint();
      return;
    }
    if (touchDown !== null && event.pointerId === touchDown.id) {
      const events = event.getCoalescedEvents ? event.getCoalescedEvents() : [];
      for (const e of events.length ? events : [event]) touchDown.points.push(canvasPoint(e));
      const [x, y] = touchDown.at;
      if (Math.hypot(event.clientX - x, event.clientY - y) > TAP_SLOP) beginTouchStroke();
    }
    if (fingers.has(event.pointerId)) {
      fingers.set(event.pointerId, [event.clientX, event.clientY]);
      if (pinch !== null && fingers.size === 2) movePinch();
    }
    pictureDrag.move(event.pointerId, canvasPoint(event));
    selectionMove(event.pointerId, canvasPoint(event));
  });

  canvas.addEventListener("pointerup", lift);
  canvas.addEventListener("pointercancel", lift);
  // The barrel button and a long press would open the context menu.
  canvas.addEventListener("contextmenu", (event) => event.preventDefault());
}
