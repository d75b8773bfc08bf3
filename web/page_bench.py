#!/usr/bin/python3
"""The page's speed in headless Chromium: how long after navigation the engine
is ready, and what one mouse move costs (the stroke extended, the paint step's
conversion, the canvas composed and put on screen), median over the strokes of
bench/data/scribble.replay, greedy and fine, on an empty canvas and after a
thousand strokes; and the longest the page's main thread is held (the Long
Tasks API) while it opens a library of 100,000 pages, shows a 60 MB PNG
under the canvas and traces a 12-megapixel picture. Also the bytes the page
loads.

    web/page_bench.py [SITE_DIR] [MOVES]     (defaults: build-web/site, 2000)

Targets: ready <= 1500 ms; a move <= 4 ms greedy, <= 10 ms fine, <= 4 ms
after a thousand strokes; the page held <= 100 ms; the page <= 4 MB.
Timings on a busy machine are noisy: compare figures of one run.
"""
import functools
import http.server
import os
import random
import struct
import sys
import tempfile
import threading
import time
import zlib

from selenium import webdriver

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SITE = os.path.abspath(sys.argv[1]) if len(sys.argv) > 1 else os.path.join(ROOT, "build-web/site")
MOVES = int(sys.argv[2]) if len(sys.argv) > 2 else 2000

MEASURE = """
const [events, fine, before] = arguments;
return Promise.all([import('./state.js'), import('./view.js')]).then(([{ engine }, { paint }]) => {
  engine.setFine(fine, false);
  engine.clear();
  paint();
  // `before` strokes drawn first, the scribble's strokes again and again.
  const strokes = events.filter(([kind]) => kind === 'down').length;
  for (let drawn = 0; drawn < before;) {
    for (const [kind, x, y] of events) {
      if (kind === 'down') engine.down(x, y);
      else if (kind === 'up') { engine.up(); paint(); drawn += 1; if (drawn === before) break; }
      else engine.move(x, y);
    }
    if (strokes === 0) break;
  }
  const times = [];
  for (const [kind, x, y] of events) {
    if (kind === 'down') { engine.down(x, y); paint(); continue; }
    if (kind === 'up') { engine.up(); paint(); continue; }
    const t0 = performance.now();
    engine.move(x, y);
    paint();
    times.push(performance.now() - t0);
  }
  times.sort((a, b) => a - b);
  const at = (q) => times[Math.min(times.length - 1, Math.floor(q * times.length))];
  return [times.length, at(0.5), at(0.9), at(0.99)];
});
"""


def events():
    out, moves = [], 0
    with open(os.path.join(ROOT, "bench/data/scribble.replay")) as f:
        for line in f:
            words = line.split("#")[0].split()
            if not words:
                continue
            if words[0] == "move":
                moves += 1
            elif words[0] == "down" and moves >= MOVES:
                break
            xy = [int(w) for w in words[1:3]] or [0, 0]
            out.append([words[0], xy[0] - 12, xy[1] - 40])
    return out


# Holds every long task the page runs from now on in window.longTasks.
OBSERVE = ("window.longTasks = []; new PerformanceObserver((list) => {"
           "  for (const e of list.getEntries()) window.longTasks.push(e.duration); })"
           ".observe({ type: 'longtask' });")


def png(path, width, height, row_bytes):
    """A PNG of RGB rows made by row_bytes(y), stored fast (zlib level 1)."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    rows = b"".join(b"\0" + row_bytes(y) for y in range(height))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(rows, 1)) + chunk(b"IEND", b""))


def longest_held(driver, folder):
    """[(what, the longest long task in ms)] for the large inputs of the page."""
    library = os.path.join(folder, "library.mlt")
    with open(library, "wb") as f:
        f.write(b"\r\n[SPLIT]\r\n".join(f"page {i}".encode() for i in range(100000)))
    photo = os.path.join(folder, "noise.png")  # about 60 MB: noise does not compress
    png(photo, 4500, 4500, lambda y: random.randbytes(4500 * 3))
    lines = os.path.join(folder, "lines.png")  # 12 megapixels of thin dark lines
    white = b"\xff" * (4000 * 3)

    def line_row(y):
        row = bytearray(white)
        for k in range(40):
            x = (k * 97 + y * (k % 7 + 1) // 5) % 3998
            row[x * 3:x * 3 + 6] = b"\x10" * 6
        return bytes(row)
    png(lines, 4000, 3000, line_row)
    cases = [("a library of 100,000 pages opened", "open-text", library,
              "return document.getElementById('page-dialog') !== null"),
             ("a 60 MB PNG shown under the canvas", "picture", photo,
              "return document.getElementById('canvas').getContext('2d')"
              ".getImageData(400, 261, 1, 1).data[0] !== 255"),
             ("a 12-megapixel picture traced", "trace", lines,
              "return document.body.dataset.traced === '1'")]
    out = []
    for what, field, path, done in cases:
        driver.execute_script(OBSERVE)
        driver.find_element("id", field).send_keys(path)
        end = time.time() + 120
        while time.time() < end and not driver.execute_script(done):
            time.sleep(0.05)
        time.sleep(0.5)  # a long task is reported when it ends
        out.append((what, max(driver.execute_script("return window.longTasks") or [0])))
        driver.execute_script("document.querySelector('dialog[open]')?.close()")
    return out


def main():
    class Quiet(http.server.SimpleHTTPRequestHandler):
        def log_message(self, *args):
            pass

    handler = functools.partial(Quiet, directory=SITE)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    options = webdriver.ChromeOptions()
    for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                "--window-size=1280,1000"):
        options.add_argument(arg)
    driver = webdriver.Chrome(options=options)
    try:
        url = f"http://127.0.0.1:{server.server_address[1]}/index.html"
        origin = f"http://127.0.0.1:{server.server_address[1]}"

        def visit():
            driver.get(url)
            driver.execute_script("""
              return new Promise((done) => {
                const wait = () => document.body.dataset.ready === '1' ? done() : setTimeout(wait, 5);
                wait();
              });""")
            return driver.execute_script(
                "return performance.getEntriesByName('fudeline-ready')[0].startTime")

        first = visit()  # the browser's own start-up (a fresh renderer) lands here
        cold, cached = [], []
        for _ in range(3):
            # Nothing kept: no offline cache, no HTTP cache, no stored settings.
            driver.get("about:blank")
            driver.execute_cdp_cmd("Storage.clearDataForOrigin",
                                   {"origin": origin, "storageTypes": "all"})
            driver.execute_cdp_cmd("Network.clearBrowserCache", {})
            cold.append(visit())
            cached.append(visit())
        cold.sort()
        cached.sort()
        print(f"engine ready after navigation: {cold[1]:.0f} ms with nothing cached (median of 3; "
              f"{cold[0]:.0f}-{cold[2]:.0f}), {cached[1]:.0f} ms from the offline cache; "
              f"{first:.0f} ms on the browser's first page")
        script = events()
        for fine in (False, True):
            for before in (0, 1000):
                n, median, p90, p99 = driver.execute_script(MEASURE, script, fine, before)
                after = f" after {before} strokes" if before else ""
                print(f"mouse move, {'fine  ' if fine else 'greedy'}{after}: median {median:.2f} ms, "
                      f"90% {p90:.2f} ms, 99% {p99:.2f} ms over {n} moves")
        with tempfile.TemporaryDirectory(prefix="fudeline-page-bench-") as folder:
            visit()
            for what, longest in longest_held(driver, folder):
                print(f"the page held at most {longest:.0f} ms: {what}")
    finally:
        driver.quit()
        server.shutdown()
    files = sorted(os.path.relpath(os.path.join(folder, name), SITE)
                   for folder, _, names in os.walk(SITE) for name in names)
    total = sum(os.path.getsize(os.path.join(SITE, f)) for f in files)
    print(f"page size: {total} bytes in {len(files)} files "
          + ", ".join(f"{f} {os.path.getsize(os.path.join(SITE, f))}" for f in files))


if __name__ == "__main__":
    main()
