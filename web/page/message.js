// The line under the canvas that tells the user what happened (read out by
// screen readers).
const message = document.getElementById("message");
let clearTimer = null;

// Shows `text` ("" clears the line); `kind` "done" words a finished command,
// shown a few seconds.
export function say(text, kind) {
  message.textContent = text;
  message.classList.toggle("done", kind === "done");
  clearTimeout(clearTimer);
  if (kind === "done") clearTimer = setTimeout(() => say(""), 3000);
}
