// The picture under the canvas, to trace by hand: decoded by the browser,
// shown at a percentage of its own pixels or as large as the canvas holds
// it (as the window shows it), plain or faint by the core's fade rule, and
// moved by a drag while "下絵を移動" is pressed. Its choices are kept
// between visits. A picture comes from "下絵を開く", dropped on the canvas or
// pasted (as the window takes a dropped one), and, in a format the core
// reads, only once the core has read its header and found it within the
// core's picture limits: a picture of gigapixels is refused at once, not
// decoded for seconds.
import {
  binding, engine, movingPictureToggled, picture, pictureMoved, pictureOffset, pictureOpened,
} from "./state.js";
import { t } from "./i18n.js";
import { say } from "./message.js";
import { shownPicture } from "./picture.js";
import { reasonText } from "./reasons.js";
import { loadSetting, saveSetting } from "./settings.js";
import { paint } from "./view.js";

const $ = (id) => document.getElementById(id);
const canvas = $("canvas");
const choices = ["picture-shown", "picture-faint", "picture-size"];
let faint = null;  // each channel level to its faint level, the core's rule as a table
let drag = null;  // the picture being moved: {id, at (where it was taken), offset}
let queued = false;  // a showing is due at the next frame

// The boxes and size as the last visit left them.
export function restorePictureChoices() {
  $("picture-shown").checked = loadSetting("picture-shown", true);
  $("picture-faint").checked = loadSetting("picture-faint", true);
  $("picture-size").value = loadSetting("picture-size", "100");
}

// The picture as chosen, scaled (and faded) here and handed to the engine,
// which composes it under the drawing.
function showPicture() {
  // The empty canvas's hint gives way to a picture.
  document.body.dataset.picture = picture && $("picture-shown").checked ? "1" : "0";
  if (!picture || !$("picture-shown").checked) {
    engine.setPicture(0, 0, new Uint8Array(0));
    paint();
    return;
  }
  const size = $("picture-size").value;
  const scale = Number(size) / 100;
  const [sw, sh] = size === "fit" ? binding.canvasFitSize(picture.width, picture.height)
    : [Math.floor(picture.width * scale), Math.floor(picture.height * scale)];
  const [ox, oy] = pictureOffset;
  const w = Math.min(binding.canvasWidth, Math.max(1, ox + sw));
  const h = Math.min(binding.canvasHeight, Math.max(1, oy + sh));
  const c = document.createElement("canvas");
  c.width = w;
  c.height = h;
  const g = c.getContext("2d");
  g.fillStyle = "#fff";
  g.fillRect(0, 0, w, h);
  g.drawImage(picture, ox, oy, sw, sh);
  const image = g.getImageData(0, 0, w, h);
  if ($("picture-faint").checked) {
    const d = image.data;
    for (let i = 0; i < d.length; i += 4) {
      d[i] = faint[d[i]];
      d[i + 1] = faint[d[i + 1]];
      d[i + 2] = faint[d[i + 2]];
    }
  }
  engine.setPicture(w, h, image.data);
  paint();
}

function showPictureSoon() {
  if (queued) return;
  queued = true;
  requestAnimationFrame(() => {
    queued = false;
    showPicture();
  });
}

// The drag that moves the picture (pointer.js hands it over while
// movingPicture holds), in canvas pixels.
export const pictureDrag = {
  start(id, at) {
    drag = { id, at, offset: pictureOffset.slice() };
  },
  move(id, [x, y]) {
    if (drag === null || id !== drag.id) return;
    pictureMoved([drag.offset[0] + x - drag.at[0], drag.offset[1] + y - drag.at[1]]);
    showPictureSoon();
  },
  // `id` null: whatever drag is under way (a gesture took the canvas).
  end(id) {
    if (drag !== null && (id === null || id === drag.id)) drag = null;
  },
};

// Shows `file` under the canvas in place of the picture shown, or says why
// not (the picture shown stays).
async function openPicture(file) {
  const refused = (reason) => say(reason ? t("pictureRefused", { reason }) : t("pictureFailed"));
  if (file.size > binding.maxPictureFileBytes) {
    refused(t("tooLarge", { megabytes: binding.maxPictureFileBytes / (1024 * 1024) }));
    return;
  }
  // Every header lies in the first megabyte but a JPEG's behind a rare
  // wealth of metadata: the whole file (slow to hand over) only then.
  const headerBytes = 1 << 20;
  let request = binding.pictureRequest(new Uint8Array(await file.slice(0, headerBytes).arrayBuffer()));
  if (request.error && file.size > headerBytes) {
    request = binding.pictureRequest(new Uint8Array(await file.arrayBuffer()));
  }
  // A format the core does not read (SVG, AVIF...) is the browser's to show.
  if (request.error && request.kind !== binding.notAPicture) {
    refused(reasonText(request));
    return;
  }
  let bitmap;
  try {
    bitmap = await shownPicture(file);
  } catch (e) {
    refused("");
    return;
  }
  say("");
  pictureOpened(bitmap);
  showPicture();
}

// The first picture file among `files` (a drop's or a paste's), or null.
function pictureAmong(files) {
  return Array.from(files || []).find((file) => file.type.startsWith("image/")) || null;
}

export function startBackground() {
  faint = binding.faintLevels();
  $("picture").addEventListener("change", (event) => {
    const file = event.target.files[0];
    event.target.value = "";
    if (file) openPicture(file);
  });
  const stage = $("stage");
  stage.addEventListener("dragover", (event) => {
    if (!Array.from(event.dataTransfer.types).includes("Files")) return;
    event.preventDefault();
    event.dataTransfer.dropEffect = "copy";
  });
  // A file dropped is never left to the browser, which would leave the page
  // to show it.
  stage.addEventListener("drop", (event) => {
    if (event.dataTransfer.files.length === 0) return;
    event.preventDefault();
    const file = pictureAmong(event.dataTransfer.files);
    if (file === null) say(t("pictureFailed"));
    else openPicture(file);
  });
  // Ctrl+V of a picture; the page's own copied selection is pasted by the
  // keys (keys.js) before a paste event comes, and a text field keeps its own.
  document.addEventListener("paste", (event) => {
    if (event.target instanceof Element && event.target.closest("textarea, input")) return;
    const file = pictureAmong(event.clipboardData && event.clipboardData.files);
    if (file === null) return;
    event.preventDefault();
    openPicture(file);
  });
  $("picture-move").addEventListener("click", () => {
    if (engine.tracing()) return;  // never while a stroke is drawn
    const moving = movingPictureToggled();
    drag = null;
    $("picture-move").setAttribute("aria-pressed", String(moving));
    canvas.classList.toggle("moving", moving);
  });
  for (const id of choices) {
    $(id).addEventListener("change", () => {
      saveSetting(id, $(id).type === "checkbox" ? $(id).checked : $(id).value);
      showPicture();
    });
  }
}
