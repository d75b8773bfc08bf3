#!/usr/bin/python3
"""The README's picture of the browser page: headless Chromium draws the sample
drawing (res/sample.replay) on the page with real pointer events.

    tools/web_screenshot.py [SITE_DIR] [OUT.png]   (build-web/site, docs/web-screenshot.png)
"""
import functools
import http.server
import os
import sys
import threading

from selenium import webdriver
from selenium.webdriver.common.actions.action_builder import ActionBuilder

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SITE = os.path.abspath(sys.argv[1]) if len(sys.argv) > 1 else os.path.join(ROOT, "build-web/site")
OUT = sys.argv[2] if len(sys.argv) > 2 else os.path.join(ROOT, "docs/web-screenshot.png")


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Quiet, directory=SITE))
threading.Thread(target=server.serve_forever, daemon=True).start()
options = webdriver.ChromeOptions()
for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
            "--window-size=840,1010", "--lang=ja", "--hide-scrollbars"):
    options.add_argument(arg)
driver = webdriver.Chrome(options=options)
try:
    driver.get(f"http://127.0.0.1:{server.server_address[1]}/index.html?lang=ja")
    driver.execute_script("""return new Promise((done) => {
        const wait = () => document.body.dataset.ready === '1' ? done() : setTimeout(wait, 10);
        wait(); });""")
    left, top = driver.execute_script(
        "const r = document.getElementById('canvas').getBoundingClientRect(); return [r.left, r.top];")
    actions = ActionBuilder(driver, duration=0)
    with open(os.path.join(ROOT, "res/sample.replay")) as f:
        for line in f:
            words = line.split("#")[0].split()
            if not words or words[0] not in ("down", "move", "up"):
                continue
            if words[0] != "up":
                x, y = int(words[1]) - 12, int(words[2]) - 40
                actions.pointer_action.move_to_location(int(left) + x, int(top) + y)
            if words[0] == "down":
                actions.pointer_action.pointer_down()
            elif words[0] == "up":
                actions.pointer_action.pointer_up()
    actions.perform()
    driver.save_screenshot(OUT)
    print("wrote", OUT)
finally:
    driver.quit()
    server.shutdown()
