// The page offline: the service worker (sw.js) caches the whole build. A new
// build's worker takes over as soon as it has cached the whole build; the
// page then reloads into it, unless something is drawn, which a reload
// would lose. The tab that installed the first worker hears of later builds
// too: only the first worker's taking over is this same build.
import { touched } from "./state.js";
import { t } from "./i18n.js";
import { say } from "./message.js";

export function startOffline() {
  if (!("serviceWorker" in navigator)) return;
  let controlled = navigator.serviceWorker.controller !== null;
  navigator.serviceWorker.addEventListener("controllerchange", () => {
    if (!controlled) {  // the first visit: the worker caches this same build
      controlled = true;
      return;
    }
    if (touched) {
      say(t("updated"));
    } else {
      location.reload();
    }
  });
  navigator.serviceWorker.register("sw.js").catch(() => {});
}
