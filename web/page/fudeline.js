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
    openDrawing: "Open drawing (PNG, PBM)", picture: "Open picture", pictureShown: "Show picture",
    pictureFaint: "Faint", loading: "Loading…",
    trace: "Take lines from a picture", traceSize: "Size of the traced picture",
    traceMode: "How lines are taken", traceAuto: "Auto", traceLineArt: "Line art", tracePhoto: "Photo",
    traceNote: "The picture's lines are added to the drawing (Undo takes them back).",
    clearQuestion: "Erase everything?", bytes: "bytes", lines: "lines",
    overBytes: "too many bytes", overLines: "too many lines", overLineBytes: "a line too long",
    copied: "Copied",
    zoomFit: "Fit", share: "Share", savePicture: "Save as picture (PNG)",
    openFailed: "Cannot open this drawing", longestLine: "longest line",
    board: "Board", pictureSize: "Picture size", text: "Text", fit: "Fit the canvas",
    pictureMove: "Move picture", pictureFailed: "Cannot read this picture; the picture shown stays",
    nothingToSave: "Nothing is drawn: there is nothing to save",
    openText: "Open text art (TXT, MLT, AST)", addPage: "Add as a page (MLT, AST)",
    newPageFile: "Save as a new MLT",
    noBlackInk: "The picture holds no black ink, so the drawing stays (a photo can be traced with Open picture)",
    updated: "A new version is installed; reload the page to use it.",
    mustServe: "This page cannot run opened as a file. Serve it from a web server, e.g. " +
      "./scripts/web.sh --serve, and open http://localhost:8017/",
  };
  const japanese_text = {
    "pen.pen": "ペン", "pen.eraser": "消しゴム", clearQuestion: "すべて消去します。\n\nよろしいですか？",
    bytes: "バイト", lines: "行", overBytes: "バイト数が超過", overLines: "行数が超過",
    overLineBytes: "1 行が長すぎます",
    copied: "コピーしました", openFailed: "この描画は開けません", longestLine: "最長の行",
    pictureFailed: "この下絵は読めません。表示中の下絵はそのままです",
    nothingToSave: "何も描かれていないので、保存するものがありません",
    updated: "新しい版を入れました。ページを再読み込みすると切り替わります。",
    mustServe: "このページはファイルとして開くと動きません。ウェブサーバーから開いてください" +
      "（例: ./scripts/web.sh --serve で http://localhost:8017/ を開く）。",
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
    for (const el of document.querySelectorAll("[data-i18n-label]")) {
      el.setAttribute("aria-label", tr(el.dataset.i18nLabel, el.getAttribute("aria-label")));
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
  let pictureOffset = [0, 0];  // where its top left lies on the canvas
  let touched = false;  // anything drawn or opened since the page loaded
  let module = null;

  // A message under the canvas (read out by screen readers); "" clears it.
  // "done" words a finished command, shown a few seconds.
  let sayTimer = null;
  function say(text, kind) {
    const message = $("message");
    message.textContent = text;
    message.classList.toggle("done", kind === "done");
    clearTimeout(sayTimer);
    if (kind === "done") sayTimer = setTimeout(() => say(""), 3000);
  }

  function paint() {
    const converted = engine.paint();
    imageData.data.set(engine.pixels());
    context.putImageData(imageData, 0, 0);
    if (converted) showText();
    return converted;
  }

  function showText() {
    const br = $("br").checked;
    engine.setBoard(lastBoard);  // whose rule says whether references are written
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
      measure(count.lines, limits[1]) + " " + tr("lines", "行") + "　" +
      tr("longestLine", "最長の行") + " " + measure(count.longestLine, limits[2]) + " " +
      tr("bytes", "バイト") + (over.length ? "　" + over.join("・") : "");
    el.classList.toggle("over", over.length > 0);
  }

  function currentLimits() {
    return lastBoard === "custom" ? customLimits() : boards[lastBoard];
  }
  // The custom limits kept, read back by the engine's rule for --board (a
  // value kept by an older page or edited by hand gives the default board's).
  function customLimits() {
    const kept = settings.load("customLimits", null);
    const text = Array.isArray(kept) ? kept.join(":") : String(kept);
    return (module && module.parseBoardLimits(text)) || boards[defaultBoard];
  }

  // --- Pointer input (pointer.js); the picture follows a drag in move mode.
  let moveMode = false;  // the picture follows the pointer instead of drawing
  let drag = null;  // the picture being moved: {id, at (where it was taken), offset}
  // Every change of the drawing: kept by the browser a moment later, and
  // told to whatever follows it (redo).
  function changed(kind) {
    touched = true;
    FudelineStorage.changed();
    document.dispatchEvent(new CustomEvent("fudeline-change", { detail: kind }));
  }
  const pointer = FudelinePointer(canvas, {
    engine: () => engine,
    paint,
    showText,
    changed,
    moveMode: () => moveMode,
    fitButton: $("zoom-fit"),
    drag: {
      start(id, at) {
        drag = { id, at, offset: pictureOffset.slice() };
      },
      move(id, [x, y]) {
        if (drag === null || id !== drag.id) return;
        pictureOffset = [drag.offset[0] + x - drag.at[0], drag.offset[1] + y - drag.at[1]];
        showPictureSoon();
      },
      end(id) {
        if (drag !== null && (id === null || id === drag.id)) drag = null;
      },
    },
  });

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
    changed("undo");
  });
  $("clear").addEventListener("click", () => {
    if (!window.confirm(tr("clearQuestion", "すべて消去します。\n\nよろしいですか？"))) return;
    engine.clear();
    paint();
    showText();
    changed("clear");
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
    say(tr("copied", "コピーしました"), "done");
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
    const bytes = engine.sjis($("br").checked);
    if (bytes.length === 0) {
      say(tr("nothingToSave", "何も描かれていないので、保存するものがありません"));
      return;
    }
    say("");
    download(new Blob([bytes], { type: "text/plain;charset=Shift_JIS" }), "fudeline.txt");
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
  // The list shows the board in use; chosen, the custom board is shown by its
  // limits in an entry of its own, so "カスタム…" can be chosen again to change them.
  function showBoard(name) {
    let chosen = $("board").querySelector("option[value=custom-chosen]");
    if (name !== "custom") {
      if (chosen) chosen.remove();
      $("board").value = name;
      return;
    }
    if (!chosen) {
      chosen = document.createElement("option");
      chosen.value = "custom-chosen";
      chosen.hidden = true;
      $("board").insertBefore(chosen, $("board").querySelector("option[value=custom]"));
    }
    chosen.textContent = FudelineBoardDialog.describe(customLimits(), english);
    $("board").value = "custom-chosen";
  }
  $("board").addEventListener("change", async () => {
    const board = $("board").value;
    if (board === "custom") {
      const limits = await FudelineBoardDialog.ask(module, customLimits(), english);
      if (limits === null) {
        showBoard(lastBoard);  // cancelled: the board stays
        return;
      }
      settings.save("customLimits", limits.join(":"));
    }
    lastBoard = board;
    settings.save("board", board);
    showBoard(board);
    showText();
  });

  // --- The drawing as the desktop's black-and-white PNG, keeping the rows
  // of opened text as written, as the window saves it.
  $("save-drawing").addEventListener("click", () => {
    FudelineStorage.inkPng(engine.inkRgba(), engine.inkWidth(), engine.inkHeight())
      .then(async (ink) => {
        const file = engine.drawingFile(new Uint8Array(await ink.arrayBuffer()));
        download(file.error ? ink : new Blob([file.bytes], { type: "image/png" }), "drawing.png");
      });
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
  // The core's ink-image reader decides, with the command line's formats,
  // limits and reasons; a PNG it accepts is decoded by the browser. Returns
  // "" when the drawing became the file's ink (one undoable step), else why not.
  async function openInk(file) {
    try {
      const bytes = new Uint8Array(await file.arrayBuffer());
      const reason = engine.openDrawing(bytes, 0, 0, new Uint8Array(0));
      if (reason !== module.needsBrowserDecode) return reason;
      const image = await rgbaOf(file);
      return engine.openDrawing(bytes, image.width, image.height, image.data);
    } catch (e) {
      return String(e.message || e);
    }
  }
  $("open-drawing").addEventListener("change", async (event) => {
    const file = event.target.files[0];
    event.target.value = "";
    if (!file) return;
    const reason = await openInk(file);
    if (reason) {
      // A photo has no pure black: opened, it would wipe the drawing.
      say(reason === module.noBlackInk
        ? tr("noBlackInk", "この画像には黒いインクがないので、描画はそのままです（写真は「下絵を開く」でなぞれます）")
        : tr("openFailed", "この描画は開けません") + ": " + reason);
      return;
    }
    say("");
    paint();
    showText();
    changed("open");
  });

  // --- The background picture: decoded by the browser, drawn at its size,
  // faded as the desktop fades it (three quarters of the way to white).
  function showPicture() {
    if (!picture || !$("picture-shown").checked) {
      engine.setPicture(0, 0, new Uint8Array(0));
      paint();
      return;
    }
    // A percentage, or as large as the canvas holds it, as the window shows it.
    const size = $("picture-size").value;
    const scale = Number(size) / 100;
    const [sw, sh] = size === "fit" ? module.canvasFitSize(picture.width, picture.height)
      : [Math.floor(picture.width * scale), Math.floor(picture.height * scale)];
    const [ox, oy] = pictureOffset;
    const w = Math.min(800, Math.max(1, ox + sw));
    const h = Math.min(522, Math.max(1, oy + sh));
    const c = document.createElement("canvas");
    c.width = w;
    c.height = h;
    const g = c.getContext("2d");
    g.fillStyle = "#fff";
    g.fillRect(0, 0, w, h);
    g.drawImage(picture, ox, oy, sw, sh);
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
  let pictureQueued = false;
  function showPictureSoon() {
    if (pictureQueued) return;
    pictureQueued = true;
    requestAnimationFrame(() => {
      pictureQueued = false;
      showPicture();
    });
  }
  $("picture").addEventListener("change", async (event) => {
    const file = event.target.files[0];
    event.target.value = "";
    if (!file) return;
    try {
      picture = await createImageBitmap(file);
    } catch (e) {
      say(tr("pictureFailed", "この下絵は読めません。表示中の下絵はそのままです"));
      return;
    }
    say("");
    pictureOffset = [0, 0];
    showPicture();
  });
  $("picture-move").addEventListener("click", () => {
    if (engine && engine.tracing()) return;  // never while a stroke is drawn
    moveMode = !moveMode;
    drag = null;
    $("picture-move").setAttribute("aria-pressed", String(moveMode));
    canvas.classList.toggle("moving", moveMode);
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
  $("fine").checked = settings.load("fine", true);
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
    const kept = settings.load("board", defaultBoard);
    lastBoard = kept === "custom" || boards[kept] ? kept : defaultBoard;
    showBoard(lastBoard);
  }

  // Why the engine could not start: in Japanese where the core words the
  // reason so, numbers and names kept; otherwise as the core words it.
  function failureText(module, engine) {
    const failure = engine.failure();
    const reason = FudelineReasons.text(module, false,
                                        { kind: failure.kind, args: failure.args, error: "" });
    if (!reason) return engine.error();
    return failure.path ? failure.path + ": " + reason : reason;
  }

  if (location.protocol === "file:") {
    // The engine's file cannot be fetched from disk.
    $("loading").textContent = tr("mustServe", "");
    return;
  }
  FudelineEngine().then((loaded) => {
    module = loaded;
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
    FudelineKeys({ engine: () => engine, click: (id) => $(id).click() });
    FudelineShare({ engine: () => engine, br: () => $("br").checked, say, tr, download });
    // The last visit's drawing before anything can be drawn over it.
    return FudelineStorage.restore({
      engine: () => engine,
      openInk,
      refresh() {
        paint();
        showText();
      },
    }).catch(() => {}).then(() => {
      window.fudeline = { engine, paint, pointer, readyAt: performance.now() };
      // What the page's other scripts (open_text.js) work the engine through;
      // what they change is kept for the next visit as every change is.
      document.dispatchEvent(new CustomEvent("fudeline-ready", { detail: {
        module, engine, english, say, paint, showText, download, touch: () => changed("open"),
      } }));
      document.body.dataset.ready = "1";
    });
  }).catch((error) => {
    // A browser without WebAssembly, or a file that did not arrive.
    $("loading").textContent = String(error);
  });

  if ("serviceWorker" in navigator) {
    // A new build's worker takes over as soon as it has cached the whole
    // build; the page then reloads into it, unless something is drawn, which
    // a reload would lose.
    const hadWorker = navigator.serviceWorker.controller !== null;
    navigator.serviceWorker.addEventListener("controllerchange", () => {
      if (!hadWorker) return;  // the first visit: the worker caches this same build
      if (touched) {
        say(tr("updated", "新しい版を入れました。ページを再読み込みすると切り替わります。"));
      } else {
        location.reload();
      }
    });
    navigator.serviceWorker.register("sw.js").catch(() => {});
  }
})();
