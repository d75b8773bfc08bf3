// Files the page hands the user: downloads, and the engine's RGBA pixels as
// PNG, or drawn on a canvas of their size.

// The most bytes (UTF-8) a download's name keeps: a file system takes 255 in
// one name, and the browser gives up without a word on a name that, with the
// " (1)" and ".crdownload" it may add while saving, would not fit.
const kMostNameBytes = 200;
const utf8 = new TextEncoder();

// `name` cut at a character to kMostNameBytes, its extension kept.
export function savableName(name) {
  const bytes = (text) => utf8.encode(text).length;
  if (bytes(name) <= kMostNameBytes) return name;
  const dot = name.lastIndexOf(".");
  const extension = dot > 0 && name.length - dot <= 10 ? name.slice(dot) : "";
  const stem = Array.from(name.slice(0, name.length - extension.length));
  let used = bytes(extension);
  let kept = 0;
  while (kept < stem.length && used + bytes(stem[kept]) <= kMostNameBytes) used += bytes(stem[kept++]);
  return stem.slice(0, kept).join("") + extension;
}

// Offers `blob` as a download named `name`, shortened to a name every file
// system takes; returns the name it is offered under.
export function download(blob, name) {
  const url = URL.createObjectURL(blob);
  const a = document.createElement("a");
  a.href = url;
  a.download = savableName(name);
  document.body.appendChild(a);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(url), 10000);
  return a.download;
}

// `rgba` (copied at once: the engine's views die with its next call) as a
// PNG file of `width` x `height`.
export function pngOf(width, height, rgba) {
  const out = document.createElement("canvas");
  out.width = width;
  out.height = height;
  const image = new ImageData(width, height);
  image.data.set(rgba);
  out.getContext("2d").putImageData(image, 0, 0);
  return new Promise((resolve, reject) => out.toBlob(
    (blob) => (blob ? resolve(blob) : reject(new Error("no PNG"))), "image/png"));
}

// An engine's picture ({width, height, rgba}, a view the engine's next call
// ends) drawn on `canvas` at its own size; an empty one leaves it as it was.
export function drawEnginePicture(canvas, picture) {
  if (picture.width === 0 || picture.height === 0) return;
  canvas.width = picture.width;
  canvas.height = picture.height;
  const image = new ImageData(picture.width, picture.height);
  image.data.set(picture.rgba);
  canvas.getContext("2d").putImageData(image, 0, 0);
}
