// Picture files decoded by the browser, the page's one place for it: the
// pixels the engine asks for once it has read a file's format and size
// (drawings opened as PNG, pictures traced, in the page or in the tracing
// worker), and the picture shown under the canvas.

// The formats the engine asks the browser to decode, by their first bytes.
function typeOf(bytes) {
  const starts = (...b) => b.every((v, i) => bytes[i] === v);
  if (starts(0x89, 0x50, 0x4e, 0x47)) return "image/png";
  if (starts(0xff, 0xd8, 0xff)) return "image/jpeg";
  if (starts(0x47, 0x49, 0x46)) return "image/gif";
  return "image/webp";
}

// The pixels of `bytes` as the browser decodes them, untouched by colour
// management and orientation, which the command line's decoders ignore:
// {width, height, data} (RGBA). The image decoder hands RGB frames over as
// stored, and decodes a JPEG the engine wants smaller (`wanted` {width,
// height}) as libjpeg shrinks it; a canvas, where there is no such decoder
// or the frame is not RGB, keeps colours premultiplied and so may change a
// half-transparent pixel by one level, and the engine then shrinks a JPEG
// itself.
export async function decodePixels(bytes, wanted = {}) {
  const type = typeOf(bytes);
  if (typeof ImageDecoder === "function") {
    let decoder = null;
    let frame = null;
    try {
      decoder = new ImageDecoder({
        data: bytes, type, colorSpaceConversion: "none", premultiplyAlpha: "none",
        ...(wanted.width ? { desiredWidth: wanted.width, desiredHeight: wanted.height } : {}),
      });
      frame = (await decoder.decode()).image;
      // A frame of YUV planes (a lossy picture, decoded for video) would
      // be turned to RGB otherwise than libjpeg and libwebp turn it.
      if (!/^(RGB|BGR)[AX]$/.test(frame.format)) throw new Error(frame.format);
      const width = frame.displayWidth;
      const height = frame.displayHeight;
      const data = new Uint8Array(width * height * 4);
      await frame.copyTo(data, { format: "RGBA" });
      return { width, height, data };
    } catch (e) {
      // The canvas below.
    } finally {
      if (frame) frame.close();
      if (decoder) decoder.close();
    }
  }
  const bitmap = await createImageBitmap(new Blob([bytes], { type }), {
    colorSpaceConversion: "none", premultiplyAlpha: "none", imageOrientation: "none",
  });
  // A worker (tracing) has no document, and draws off screen.
  const c = typeof document === "undefined" ? new OffscreenCanvas(bitmap.width, bitmap.height)
    : document.createElement("canvas");
  c.width = bitmap.width;
  c.height = bitmap.height;
  const g = c.getContext("2d", { willReadFrequently: true });
  g.drawImage(bitmap, 0, 0);
  bitmap.close();
  return g.getImageData(0, 0, c.width, c.height);
}

// The picture as the browser shows it (colour-managed, turned as its EXIF
// says), for looking at under the canvas; never the engine's pixels.
// Decoded in a worker of its own (picture_worker.js), or here where none runs.
let pictureWorker = null;
export function shownPicture(file) {
  if (pictureWorker === null) {
    try {
      pictureWorker = new Worker(new URL("./picture_worker.js", import.meta.url));
    } catch (error) {
      return createImageBitmap(file);
    }
  }
  const worker = pictureWorker;
  return new Promise((resolve, reject) => {
    worker.onmessage = ({ data }) => (data instanceof ImageBitmap ? resolve(data) : reject(new Error(data.failed)));
    worker.onerror = () => {
      pictureWorker = null;
      worker.terminate();
      createImageBitmap(file).then(resolve, reject);
    };
    worker.postMessage(file);
  });
}
