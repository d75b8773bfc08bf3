// The core's reasons in the page's language: in Japanese as the core words
// each kind (through the binding's japaneseReason), by the error's kind (its
// name) and its arguments, an errno as the system's reason. On the English
// page a reason stays as the core words it in English.
import { binding } from "./state.js";
import { language } from "./i18n.js";

// `result`: {kind, args, error}, the error the core's English.
export function reasonText(result) {
  if (language === "en" || result.kind === undefined) return result.error;
  return binding.japaneseReason(result.kind, result.args || []) || result.error;
}
