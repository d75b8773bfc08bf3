// The page's words: one t(key) over the locale files, Japanese (the page's
// language) or English where the browser asks for English; "?lang=ja" or
// "?lang=en" chooses.
import ja from "./locales/ja.js";
import en from "./locales/en.js";

const asked = new URLSearchParams(location.search).get("lang") || navigator.language || "";
export const language = /^en\b/i.test(asked) ? "en" : "ja";
const words = language === "en" ? en : ja;

// The text of `key`, its "{name}" marks replaced by values[name]. A key
// the English file lacks shows in Japanese rather than as nothing (the
// locale test keeps both files whole).
export function t(key, values = {}) {
  const text = words[key] ?? ja[key] ?? key;
  return text.replace(/\{(\w+)\}/g, (mark, name) => (name in values ? String(values[name]) : mark));
}

// The page's own labels: an element's text (data-i18n), its screen-reader
// name (data-i18n-label) and its tooltip (data-i18n-title), by key.
export function translatePage() {
  document.documentElement.lang = language;
  for (const el of document.querySelectorAll("[data-i18n]")) el.textContent = t(el.dataset.i18n);
  for (const el of document.querySelectorAll("[data-i18n-label]")) {
    el.setAttribute("aria-label", t(el.dataset.i18nLabel));
  }
  for (const el of document.querySelectorAll("[data-i18n-title]")) el.title = t(el.dataset.i18nTitle);
}
