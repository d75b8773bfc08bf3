// "線を取り込む" in the page: a picture file's lines added to the drawing as
// the window adds a picture's lines (one undoable step, then converted),
// traced as `fudeline-cli trace` traces the same file at the same placement.
// The engine reads the file and refuses it with the core's reasons; the
// browser only decodes the pixels of a file the engine has accepted.
"use strict";

(function () {
  const english_text = {
    tracing: "Taking the lines…", traced: "Lines taken", traceFailed: "Cannot take lines from this picture",
    noLines: "No lines were found in the picture",
  };
  const japanese_text = {
    tracing: "線を取り込んでいます…", traced: "線を取り込みました", traceFailed: "この画像から線を取り込めません",
    noLines: "画像に線が見つかりませんでした",
  };

  // The formats the engine asks the browser to decode, by their first bytes.
  function typeOf(bytes) {
    const starts = (...b) => b.every((v, i) => bytes[i] === v);
    if (starts(0x89, 0x50, 0x4e, 0x47)) return "image/png";
    if (starts(0xff, 0xd8, 0xff)) return "image/jpeg";
    if (starts(0x47, 0x49, 0x46)) return "image/gif";
    return "image/webp";
  }

  // The file's pixels as the browser decodes them, untouched by colour
  // management and orientation, which the command line's decoders ignore.
  // The image decoder hands RGB frames over as stored, and decodes a JPEG
  // the engine wants smaller (`wanted` {width, height}) as libjpeg shrinks
  // it; a canvas, where there is no such decoder or the frame is not RGB,
  // keeps colours premultiplied and so may change a half-transparent pixel
  // by one level, and the engine then shrinks a JPEG itself.
  async function rgbaOf(bytes, file, wanted) {
    if (typeof ImageDecoder === "function") {
      let decoder = null;
      let frame = null;
      try {
        decoder = new ImageDecoder({
          data: bytes, type: typeOf(bytes), colorSpaceConversion: "none", premultiplyAlpha: "none",
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
    const bitmap = await createImageBitmap(file, {
      colorSpaceConversion: "none", premultiplyAlpha: "none", imageOrientation: "none",
    });
    const c = document.createElement("canvas");
    c.width = bitmap.width;
    c.height = bitmap.height;
    const g = c.getContext("2d", { willReadFrequently: true });
    g.drawImage(bitmap, 0, 0);
    bitmap.close();
    return g.getImageData(0, 0, c.width, c.height);
  }

  // The placement chosen beside the command: fitted (the default, as the
  // command line places a picture) or a percentage, at the top left.
  function options() {
    const size = document.getElementById("trace-size").value;
    return {
      mode: document.getElementById("trace-mode").value,
      scale: size === "fit" ? null : Number(size), x: 0, y: 0,
    };
  }

  // Traces `file` into the drawing; resolves to the engine's answer. The
  // engine reads the header first and says whether the browser is to decode
  // the pixels, and at which size.
  async function trace(engine, file) {
    const bytes = new Uint8Array(await file.arrayBuffer());
    const chosen = options();
    const wanted = engine.probeTrace(bytes, chosen);
    if (wanted.error) return wanted;
    let image = null;
    if (wanted.decode) {
      image = await rgbaOf(bytes, file, wanted.reduction > 1 ? wanted : {}).catch(() => null);
    }
    return engine.tracePicture(bytes, image, chosen);
  }

  document.addEventListener("fudeline-ready", (event) => {
    const { module, engine, english, say, paint, showText, touch } = event.detail;
    const t = (key) => (english ? english_text : japanese_text)[key];
    const input = document.getElementById("trace");
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
        const result = await trace(engine, file);
        if (result.error) {
          say(t("traceFailed") + ": " + FudelineReasons.text(module, english, result));
        } else if (result.noLines) {
          say(t("noLines"));
        } else {
          paint();
          showText();
          touch();
          say(t("traced"), "done");
        }
      } finally {
        busy = false;
        document.body.dataset.traced = String(Number(document.body.dataset.traced || 0) + 1);
      }
    });
  });
})();
