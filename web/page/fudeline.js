// The page: Pointer Events into the engine's session, the composed canvas and
// text out, the controls, and what the browser keeps between visits.
"use strict";

(function () {
  // English where the browser asks for it; "?lang=ja" or "?lang=en" chooses.
  const asked = new URLSearchParams(location.search).get("lang") || navigator.language || "";
  const english = /^en\b/i.test(asked);
  const english_text = {
    "pen.pen": "Pen", "pen.eraser": "Eraser", "pen.title": "Switch pen and eraser",
    undo: "Undo", clear: "Clear all", copy: "Copy to clipboard", saveText: "Save as Shift-JIS",
    rowLines: "Show row lines", custom: "Custom…", fine: "Fine conversion",
    noFillers: "No fillers", files: "Drawing and picture", saveDrawing: "Save drawing (PNG)",
    openDrawing: "Open drawing (PNG)", picture: "Open picture", pictureShown: "Show picture",
    pictureFaint: "Faint", loading: "Loading…",
    linesNote: "Taking lines from a picture is in the desktop version only.",
    clearQuestion: "Erase everything?", bytes: "bytes", lines: "lines",
    overBytes: "too many bytes", overLines: "too many lines", overLineBytes: "a line too long",
    customPrompt: "Limits as BYTES:LINES:BYTES PER LINE (0 = none)", copied: "Copied",
    openFailed: "Cannot read this file as a PNG drawing",
  };
  const japanese_text = {
    "pen.pen": "ペン", "pen.eraser": "消しゴム", clearQuestion: "すべて消去します。\n\nよろしいですか？",
    bytes: "バイト", lines: "行", overBytes: "バイト数が超過", overLines: "行数が超過",
    overLineBytes: "1 行が長すぎます", customPrompt: "制限を バイト数:行数:1 行のバイト数 で（0 は制限なし）",
    copied: "コピーしました", openFailed: "PNG の描画として読めません",
  };
  function tr(key, fallback) {
    const table = english ? english_text : japanese_text;
    return table[key] !== undefined ? table[key] : fallback;
  }
  if (english) {
    document.documentElement.lang = "en";
    for (const el of document.querySelectorAll("[data-i18n]")) {
      el.textContent = tr(el.dataset.i18n, el.textContent);
    }
  }
  for (const el of document.querySelectorAll("[data-i18n-title]")) {
    el.title = tr(el.dataset.i18nTitle, english ? "" : "ペンと消しゴムを切り替えます");
  }

  const $ = (id) => document.getElementById(id);
  const canvas = $("canvas");
  const context = canvas.getContext("2d");
  const textArea = $("text");
  const settings = {
    load(key, fallback) {
      try {
        const v = localStorage.getItem("fudeline." + key);
        return v === null ? fallback : JSON.parse(v);
      } catch (e) {
        return fallback;
      }
    },
    save(key, value) {
      try {
        localStorage.setItem("fudeline." + key, JSON.stringify(value));
      } catch (e) { /* private mode: nothing kept */ }
    },
  };

  // The engine's board table: each board's limits by name, and the first
  // board, which the page starts on.
  const boards = {};
  let defaultBoard = null;
  let engine = null;
  let imageData = null;
  let picture = null;  // the decoded background picture (ImageBitmap)

  function paint() {
    const converted = engine.paint();
    imageData.data.set(engine.pixels());
    context.putImageData(imageData, 0, 0);
    if (converted) showText();
    return converted;
  }

  function showText() {
    const br = $("br").checked;
    textArea.value = engine.text(br).replace(/\r\n/g, "\n");
    const limits = currentLimits();
    const count = engine.countPost(br, limits[0], limits[1], limits[2]);
    const over = [];
    if (count.overBytes) over.push(tr("overBytes", "バイト数が超過"));
    if (count.overLines) over.push(tr("overLines", "行数が超過"));
    if (count.overLineBytes) over.push(tr("overLineBytes", "1 行が長すぎます"));
    const measure = (n, limit) => (limit > 0 ? n + "/" + limit : String(n));
    const el = $("post-count");
    el.textContent = measure(count.bytes, limits[0]) + " " + tr("bytes", "バイト") + "　" +
      measure(count.lines, limits[1]) + " " + tr("lines", "行") +
      (over.length ? "　" + over.join("・") : "");
    el.classList.toggle("over", over.length > 0);
  }

  function currentLimits() {
    const board = $("board").value;
    return board === "custom" ? settings.load("customLimits", boards[defaultBoard]) : boards[board];
  }

  // --- Pointer input: every position the browser saw, coalesced ones
  // included, in canvas pixels (the canvas may be shown smaller than 800 x 522).
  function canvasPoint(event) {
    const rect = canvas.getBoundingClientRect();
    return [
      Math.floor((event.clientX - rect.left) * canvas.width / rect.width),
      Math.floor((event.clientY - rect.top) * canvas.height / rect.height),
    ];
  }
  let activePointer = null;
  canvas.addEventListener("pointerdown", (event) => {
    if (!engine || activePointer !== null || event.button !== 0) return;
    event.preventDefault();
    activePointer = event.pointerId;
    canvas.setPointerCapture(event.pointerId);
    const [x, y] = canvasPoint(event);
    engine.down(x, y);
    paint();
  });
  canvas.addEventListener("pointermove", (event) => {
    if (event.pointerId !== activePointer) return;
    const events = event.getCoalescedEvents ? event.getCoalescedEvents() : [];
    for (const e of events.length ? events : [event]) {
      const [x, y] = canvasPoint(e);
      engine.move(x, y);
    }
    paint();
  });
  function endStroke(event) {
    if (event.pointerId !== activePointer) return;
    activePointer = null;
    engine.up();
    paint();
  }
  canvas.addEventListener("pointerup", endStroke);
  canvas.addEventListener("pointercancel", endStroke);

  // --- Commands.
  function showPen() {
    const pen = engine.penMode();
    const button = $("pen");
    button.classList.toggle("eraser", !pen);
    button.setAttribute("aria-pressed", pen ? "false" : "true");
    button.dataset.mode = pen ? "pen" : "eraser";
    button.firstElementChild.textContent = pen ? tr("pen.pen", "ペン") : tr("pen.eraser", "消しゴム");
  }
  $("pen").addEventListener("click", () => {
    engine.togglePen();
    showPen();
  });
  $("undo").addEventListener("click", () => {
    engine.undo();
    paint();
    showText();
  });
  $("clear").addEventListener("click", () => {
    if (!window.confirm(tr("clearQuestion", "すべて消去します。\n\nよろしいですか？"))) return;
    engine.clear();
    paint();
    showText();
  });
  $("copy").addEventListener("click", async () => {
    // The Shift-JIS bytes cannot go on the web clipboard; "save" gives them.
    const text = engine.text($("br").checked);
    try {
      await navigator.clipboard.writeText(text);
    } catch (e) {
      textArea.select();
      document.execCommand("copy");
    }
  });
  function download(blob, name) {
    const url = URL.createObjectURL(blob);
    const a = document.createElement("a");
    a.href = url;
    a.download = name;
    document.body.appendChild(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(url), 10000);
  }
  $("save-text").addEventListener("click", () => {
    download(new Blob([engine.sjis($("br").checked)], { type: "text/plain;charset=Shift_JIS" }),
      "fudeline.txt");
  });
  $("br").addEventListener("change", () => {
    settings.save("br", $("br").checked);
    showText();
  });
  $("row-lines").addEventListener("change", () => {
    settings.save("rowLines", $("row-lines").checked);
    engine.setRowLines($("row-lines").checked);
    paint();
  });
  function applyFine() {
    const fine = $("fine").checked;
    $("no-fillers").disabled = !fine;  // the row matcher always places fillers
    engine.setFine(fine, $("no-fillers").checked);
    paint();
    showText();
  }
  $("fine").addEventListener("change", () => {
    settings.save("fine", $("fine").checked);
    applyFine();
  });
  $("no-fillers").addEventListener("change", () => {
    settings.save("noFillers", $("no-fillers").checked);
    applyFine();
  });
  let lastBoard = null;
  $("board").addEventListener("change", () => {
    const board = $("board").value;
    if (board === "custom") {
      const answer = window.prompt(tr("customPrompt", "制限を バイト数:行数:1 行のバイト数 で（0 は制限なし）"),
        settings.load("customLimits", boards[defaultBoard]).join(":"));
      const parts = answer === null ? [] : answer.split(":").map((s) => Number(s.trim()));
      if (parts.length !== 3 || parts.some((n) => !Number.isInteger(n) || n < 0)) {
        $("board").value = lastBoard;  // cancelled: the board stays
        return;
      }
      settings.save("customLimits", parts);
    }
    lastBoard = board;
    settings.save("board", board);
    showText();
  });

  // --- The drawing as the desktop's black-and-white PNG.
  $("save-drawing").addEventListener("click", () => {
    const w = engine.inkWidth(), h = engine.inkHeight();
    const out = document.createElement("canvas");
    out.width = w;
    out.height = h;
    const ink = new ImageData(w, h);
    ink.data.set(engine.inkRgba());
    out.getContext("2d").putImageData(ink, 0, 0);
    out.toBlob((blob) => download(blob, "drawing.png"), "image/png");
  });
  async function rgbaOf(file) {
    const bitmap = await createImageBitmap(file, { colorSpaceConversion: "none", premultiplyAlpha: "none" });
    const c = document.createElement("canvas");
    c.width = bitmap.width;
    c.height = bitmap.height;
    const g = c.getContext("2d");
    g.drawImage(bitmap, 0, 0);
    return g.getImageData(0, 0, bitmap.width, bitmap.height);
  }
  $("open-drawing").addEventListener("change", async (event) => {
    const file = event.target.files[0];
    event.target.value = "";
    if (!file) return;
    try {
      const image = await rgbaOf(file);
      engine.replaceInk(image.width, image.height, image.data);
      paint();
      showText();
    } catch (e) {
      window.alert(tr("openFailed", "PNG の描画として読めません"));
    }
  });

  // --- The background picture: decoded by the browser, drawn at its size,
  // faded as the desktop fades it (three quarters of the way to white).
  function showPicture() {
    if (!picture || !$("picture-shown").checked) {
      engine.setPicture(0, 0, new Uint8Array(0));
      paint();
      return;
    }
    const scale = Number($("picture-size").value) / 100;
    const w = Math.min(800, Math.max(1, Math.floor(picture.width * scale)));
    const h = Math.min(522, Math.max(1, Math.floor(picture.height * scale)));
    const c = document.createElement("canvas");
    c.width = w;
    c.height = h;
    const g = c.getContext("2d");
    g.fillStyle = "#fff";
    g.fillRect(0, 0, w, h);
    g.drawImage(picture, 0, 0, Math.floor(picture.width * scale), Math.floor(picture.height * scale));
    const image = g.getImageData(0, 0, w, h);
    if ($("picture-faint").checked) {
      const d = image.data;
      for (let i = 0; i < d.length; i += 4) {
        d[i] += ((255 - d[i]) * 3) >> 2;
        d[i + 1] += ((255 - d[i + 1]) * 3) >> 2;
        d[i + 2] += ((255 - d[i + 2]) * 3) >> 2;
      }
    }
    engine.setPicture(w, h, image.data);
    paint();
  }
  $("picture").addEventListener("change", async (event) => {
    const file = event.target.files[0];
    if (!file) return;
    try {
      picture = await createImageBitmap(file);
    } catch (e) {
      picture = null;
    }
    showPicture();
  });
  for (const id of ["picture-shown", "picture-faint", "picture-size"]) {
    $(id).addEventListener("change", () => {
      settings.save(id, $(id).type === "checkbox" ? $(id).checked : $(id).value);
      showPicture();
    });
  }

  // --- Start: settings, the engine, then ready.
  $("br").checked = settings.load("br", false);
  $("row-lines").checked = settings.load("rowLines", true);
  $("fine").checked = settings.load("fine", false);
  $("no-fillers").checked = settings.load("noFillers", false);
  $("picture-shown").checked = settings.load("picture-shown", true);
  $("picture-faint").checked = settings.load("picture-faint", true);
  $("picture-size").value = settings.load("picture-size", "100");

  // The boards from the engine's table, listed before the custom board.
  function showBoards(table) {
    const custom = $("board").querySelector("option[value=custom]");
    for (const board of table) {
      boards[board.name] = board.limits;
      const option = document.createElement("option");
      option.value = board.name;
      option.textContent = english ? board.englishName : board.pageName;
      $("board").insertBefore(option, custom);
    }
    defaultBoard = table[0].name;
    $("board").value = lastBoard = settings.load("board", defaultBoard);
  }

  // Why the engine could not start, in Japanese for the reasons loading the
  // data files can meet (by the core's kind, the system's by errno), numbers
  // and names kept; any other reason as the core words it.
  function failureText(module, engine) {
    const failure = engine.failure();
    const kinds = new Map([[module.ErrorKind.LargerThanMegabytes.value, "%1 MB より大きいファイルです"]]);
    const system = new Map([
      [module.ENOENT, "ファイルがありません"], [module.EACCES, "読み書きが許されていません"],
      [module.EIO, "入出力エラーが起きました"],
    ]);
    const text = failure.kind === module.ErrorKind.System.value
      ? system.get(Number(failure.args[0])) : kinds.get(failure.kind);
    if (text === undefined) return engine.error();
    const reason = text.replace(/%([1-9])/g, (m, n) => failure.args[n - 1] ?? m);
    return failure.path ? failure.path + ": " + reason : reason;
  }

  FudelineEngine().then((module) => {
    showBoards(module.boards());
    engine = new module.Engine();
    if (engine.error()) {
      $("loading").textContent = english ? engine.error() : failureText(module, engine);
      return;
    }
    imageData = context.createImageData(canvas.width, canvas.height);
    engine.setRowLines($("row-lines").checked);
    applyFine();
    showPen();
    showText();
    window.fudeline = { engine, paint, readyAt: performance.now() };
    document.body.dataset.ready = "1";
  }).catch((error) => {
    // A browser without WebAssembly, or a file that did not arrive.
    $("loading").textContent = String(error);
  });

  if ("serviceWorker" in navigator && location.protocol !== "file:") {
    navigator.serviceWorker.register("sw.js").catch(() => {});
  }
})();
