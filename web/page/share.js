// The text art out of the page beside the Shift-JIS file: as a picture (the
// core draws it as `fudeline-cli render` does, the Mona face in 18-pixel
// rows, for places that would show the text in another font), and through
// the system's share sheet where the browser has one (phones): the text, with
// the picture where files can be shared.
import { engine } from "./state.js";
import { t } from "./i18n.js";
import { download, pngOf } from "./files.js";
import { say } from "./message.js";
import { withBr } from "./view.js";

function picturePng() {
  const picture = engine.textPicture();
  return pngOf(picture.width, picture.height, picture.rgba);
}

export function startShare() {
  document.getElementById("save-picture").addEventListener("click", async () => {
    if (engine.text(false) === "") {
      say(t("nothingToSave"));
      return;
    }
    say("");
    download(await picturePng(), "fudeline.png");
  });

  const share = document.getElementById("share");
  if (typeof navigator.share !== "function") return;
  share.hidden = false;
  share.addEventListener("click", async () => {
    const text = engine.text(withBr());
    if (text === "") {
      say(t("nothingToSave"));
      return;
    }
    say("");
    const data = { text };
    try {
      const file = new File([await picturePng()], "fudeline.png", { type: "image/png" });
      if (navigator.canShare && navigator.canShare({ files: [file] })) data.files = [file];
    } catch (e) { /* the text alone */ }
    try {
      await navigator.share(data);
    } catch (e) {
      // Closing the share sheet is no failure; anything else is said.
      if (e.name !== "AbortError") say(String(e.message || e));
    }
  });
}
