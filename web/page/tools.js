// Which tool the canvas's pointer is for: "draw" (the pen or the eraser, as
// the pen button shows), "select" or "text". The tool left is told, so that
// it lets its selection or its caret go; the buttons show the one chosen.
const buttons = { select: "select-tool", text: "text-tool" };
const leaving = new Map();  // tool -> what it does when another is chosen
let current = "draw";

export function tool() {
  return current;
}

export function whenLeft(name, action) {
  leaving.set(name, action);
}

export function chooseTool(name) {
  if (name === current) return;
  const left = current;
  current = name;
  for (const [tool, id] of Object.entries(buttons)) {
    document.getElementById(id).setAttribute("aria-pressed", tool === name ? "true" : "false");
  }
  document.getElementById("selection-commands").hidden = name !== "select";
  const action = leaving.get(left);
  if (action) action();
}
