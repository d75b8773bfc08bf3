// The core's reasons in the page's language: in Japanese by the core's one
// table (pixels/japanese_reasons.h, through the binding's japaneseReason),
// by the error's kind and its arguments, an errno as the system's reason. A
// reason of no Japanese wording, or any reason on the English page, stays as
// the core words it.
import { binding } from "./state.js";
import { language } from "./i18n.js";

// `result`: {kind, args, error}, the error the core's English.
export function reasonText(result) {
  if (language === "en" || result.kind === undefined) return result.error;
  return binding.japaneseReason(result.kind, result.args || []) || result.error;
}
