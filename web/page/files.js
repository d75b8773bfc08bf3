// Files the page hands the user: downloads, and the engine's RGBA pixels as
// PNG.

// Offers `blob` as a download named `name`.
export function download(blob, name) {
  const url = URL.createObjectURL(blob);
  const a = document.createElement("a");
  a.href = url;
  a.download = name;
  document.body.appendChild(a);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(url), 10000);
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
