#!/usr/bin/python3
"""The page's speed in headless Chromium: how long after navigation the engine
is ready, and what one mouse move costs (the stroke extended, the paint step's
conversion, the canvas composed and put on screen), median over the strokes of
bench/data/scribble.replay, greedy and fine. Also the bytes the page loads.

    web/page_bench.py [SITE_DIR] [MOVES]     (defaults: build-web/site, 2000)

Targets: ready <= 1500 ms; a move <= 4 ms greedy, <= 10 ms fine; the page
<= 4 MB. Timings on a busy machine are noisy: compare figures of one run.
"""
import functools
import http.server
import os
import sys
import threading

from selenium import webdriver

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SITE = os.path.abspath(sys.argv[1]) if len(sys.argv) > 1 else os.path.join(ROOT, "build-web/site")
MOVES = int(sys.argv[2]) if len(sys.argv) > 2 else 2000

MEASURE = """
const [events, fine] = arguments;
return Promise.all([import('./state.js'), import('./view.js')]).then(([{ engine }, { paint }]) => {
  engine.setFine(fine, false);
  engine.clear();
  paint();
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
            n, median, p90, p99 = driver.execute_script(MEASURE, script, fine)
            print(f"mouse move, {'fine  ' if fine else 'greedy'}: median {median:.2f} ms, "
                  f"90% {p90:.2f} ms, 99% {p99:.2f} ms over {n} moves")
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
