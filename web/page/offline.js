// The page offline: the service worker (sw.js) caches the whole build. A new
// build's worker takes over as soon as it has cached the whole build; the
// page then reloads into it, unless something is drawn, which a reload
// would lose.
import { touched } from "./state.js";
import { t } from "./i18n.js";
import { say } from "./message.js";

export function startOffline() {
  if (!("serviceWorker" in navigator)) return;
  const hadWorker = navigator.serviceWorker.controller !== null;
  navigator.serviceWorker.addEventListener("controllerchange", () => {
    if (!hadWorker) return;  // the first visit: the worker caches this same build
    if (touched) {
      say(t("updated"));
    } else {
      location.reload();
    }
  });
  navigator.serviceWorker.register("sw.js").catch(() => {});
}
