// The page's one kind of dialog: modal, a heading over its parts, and a row
// of buttons that ends in Cancel. Every dialog the page asks with (the page
// of a file, a page's name, the board's limits) is built here.
import { t } from "./i18n.js";

// Shows the dialog `id` (its Cancel button `cancelId`, `id`-cancel unless
// given, worded `cancelLabel` (Cancel unless given), and the buttons of
// `buttons`) and resolves to what `accept(button)` gives when a button of
// the form submits it (the list of pages holds such buttons too), or to
// null when it is cancelled (Cancel, Escape). An `accept` that returns
// undefined keeps the dialog open (a field to correct).
export function ask({
  id, cancelId = id + "-cancel", cancelLabel = t("cancel"), title, parts = [], buttons = [], accept,
}) {
  const dialog = document.createElement("dialog");
  dialog.id = id;
  const form = document.createElement("form");
  form.method = "dialog";
  const heading = document.createElement("h2");
  heading.textContent = title;
  const row = document.createElement("p");
  const cancel = document.createElement("button");
  cancel.type = "button";
  cancel.id = cancelId;
  cancel.textContent = cancelLabel;
  row.append(...buttons, cancel);
  form.append(heading, ...parts, row);
  dialog.appendChild(form);
  document.body.appendChild(dialog);

  return new Promise((resolve) => {
    let answer = null;
    form.addEventListener("submit", (event) => {
      const value = accept(event.submitter);
      if (value === undefined) {
        event.preventDefault();
        return;
      }
      answer = value;
    });
    cancel.addEventListener("click", () => dialog.close());
    dialog.addEventListener("close", () => {
      dialog.remove();
      resolve(answer);
    });
    dialog.showModal();
  });
}

// A button that submits its dialog (OK, or one choice of a list).
export function submitButton(label, id) {
  const button = document.createElement("button");
  if (id) button.id = id;
  button.textContent = label;
  return button;
}
