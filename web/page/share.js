// The text art out of the page beside the Shift-JIS file: as a picture (the
// core draws it as `fudeline-cli render` does, the Mona face in 18-pixel
// rows, for places that would show the text in another font), and through
// the system's share sheet where the browser has one (phones): the text, with
// the picture where files can be shared.
"use strict";

function FudelineShare(page) {
  // page: {engine(), br(), say(text, kind), tr(key, fallback), download(blob, name)}
  const nothing = () => page.tr("nothingToSave", "何も描かれていないので、保存するものがありません");

  function picturePng() {
    const picture = page.engine().textPicture();
    const out = document.createElement("canvas");
    out.width = picture.width;
    out.height = picture.height;
    const image = new ImageData(picture.width, picture.height);
    image.data.set(picture.rgba);
    out.getContext("2d").putImageData(image, 0, 0);
    return new Promise((resolve, reject) => out.toBlob(
      (blob) => (blob ? resolve(blob) : reject(new Error("no PNG"))), "image/png"));
  }

  document.getElementById("save-picture").addEventListener("click", async () => {
    if (page.engine().text(false) === "") {
      page.say(nothing());
      return;
    }
    page.say("");
    page.download(await picturePng(), "fudeline.png");
  });

  const share = document.getElementById("share");
  if (typeof navigator.share !== "function") return;
  share.hidden = false;
  share.addEventListener("click", async () => {
    const text = page.engine().text(page.br());
    if (text === "") {
      page.say(nothing());
      return;
    }
    page.say("");
    const data = { text };
    try {
      const file = new File([await picturePng()], "fudeline.png", { type: "image/png" });
      if (navigator.canShare && navigator.canShare({ files: [file] })) data.files = [file];
    } catch (e) { /* the text alone */ }
    try {
      await navigator.share(data);
    } catch (e) {
      // Closing the share sheet is no failure; anything else is said.
      if (e.name !== "AbortError") page.say(String(e.message || e));
    }
  });
}
