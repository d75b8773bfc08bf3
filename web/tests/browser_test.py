#!/usr/bin/python3
"""The browser page in headless Chromium, driven by real pointer events.

Every drawing is also written as a replay script, and the page's text must
equal what fudeline-cli replay prints for it: the page and the command-line
tool run one engine, so any difference is a fault in the page's input mapping
or its binding.

    browser_test.py SITE_DIR FUDELINE_CLI

Exits 77 (skipped) when SITE_DIR has no page, unless FUDELINE_WEB_REQUIRED=1.
"""
import functools
import http.server
import os
import random
import subprocess
import sys
import tempfile
import threading
import time
import unittest

from selenium import webdriver
from selenium.webdriver.common.actions.action_builder import ActionBuilder
from selenium.webdriver.common.actions.interaction import POINTER_MOUSE, POINTER_TOUCH
from selenium.webdriver.common.actions.pointer_input import PointerInput
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import Select

SITE = os.path.abspath(sys.argv[1]) if len(sys.argv) > 1 else ""
CLI = os.path.abspath(sys.argv[2]) if len(sys.argv) > 2 else ""
CANVAS_LEFT, CANVAS_TOP = 12, 40  # where the window's canvas lies in replay scripts


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def start_server():
    handler = functools.partial(QuietHandler, directory=SITE)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def start_browser(download_dir, language="ja"):
    options = webdriver.ChromeOptions()
    for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                "--window-size=1280,1000", f"--lang={language}"):
        options.add_argument(arg)
    options.add_experimental_option("prefs", {
        "download.default_directory": download_dir,
        "download.prompt_for_download": False,
        "intl.accept_languages": language,
    })
    service = webdriver.ChromeService(executable_path="/usr/bin/chromedriver") \
        if hasattr(webdriver, "ChromeService") else None
    if service:
        return webdriver.Chrome(options=options, service=service)
    return webdriver.Chrome(options=options)


def scribble(seed, strokes=3, points=40):
    """Strokes of random steps inside the canvas, in canvas pixels."""
    rng = random.Random(seed)
    result = []
    for _ in range(strokes):
        x, y = rng.randrange(60, 740), rng.randrange(40, 420)
        stroke = [(x, y)]
        for _ in range(points):
            x = min(795, max(2, x + rng.randrange(-14, 15)))
            y = min(460, max(2, y + rng.randrange(-10, 11)))
            stroke.append((x, y))
        result.append(stroke)
    return result


class PageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.server = start_server()
        cls.url = f"http://127.0.0.1:{cls.server.server_address[1]}/index.html"
        cls.downloads = tempfile.mkdtemp(prefix="fudeline-web-")
        cls.driver = start_browser(cls.downloads)

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        cls.server.shutdown()

    def setUp(self):
        self.script = []
        self.driver.get(self.url)
        self.driver.execute_script("localStorage.clear()")
        self.driver.get(self.url)
        self.wait_for("return document.body.dataset.ready === '1'")
        rect = self.driver.execute_script(
            "const r = document.getElementById('canvas').getBoundingClientRect();"
            "return [r.left, r.top, r.width, r.height];")
        self.assertEqual(rect[2:], [800, 522], "the canvas is shown at scale 1")
        self.assertEqual([int(v) for v in rect[:2]], rect[:2], "the canvas lies on whole pixels")
        self.origin = (int(rect[0]), int(rect[1]))

    def wait_for(self, condition, seconds=10):
        end = time.time() + seconds
        while time.time() < end:
            if self.driver.execute_script(condition):
                return
            time.sleep(0.02)
        self.fail("timed out: " + condition)

    # --- Input, recorded as the replay script of the same events.
    def draw(self, strokes, kind=POINTER_MOUSE):
        pointer = PointerInput(kind, "finger" if kind == POINTER_TOUCH else "mouse")
        actions = ActionBuilder(self.driver, mouse=pointer, duration=0)
        ox, oy = self.origin
        for stroke in strokes:
            x, y = stroke[0]
            actions.pointer_action.move_to_location(ox + x, oy + y)
            actions.pointer_action.pointer_down()
            self.script.append(f"down {x + CANVAS_LEFT} {y + CANVAS_TOP}")
            for x, y in stroke[1:]:
                actions.pointer_action.move_to_location(ox + x, oy + y)
                self.script.append(f"move {x + CANVAS_LEFT} {y + CANVAS_TOP}")
            actions.pointer_action.pointer_up()
            self.script.append("up")
        actions.perform()

    def click(self, element_id):
        self.driver.find_element(By.ID, element_id).click()

    def toggle_pen(self):
        self.click("pen")
        self.script += ["down 20 20", "up"]

    def undo(self):
        self.click("undo")
        self.script.append("undo")

    def clear(self, confirm):
        self.click("clear")
        alert = self.driver.switch_to.alert
        alert.accept() if confirm else alert.dismiss()
        self.script.append("clear" if confirm else "clear no")

    # --- What the page shows against what the CLI prints.
    def page_text(self):
        return self.driver.find_element(By.ID, "text").get_attribute("value")

    def replay(self, *options, text=True):
        with tempfile.NamedTemporaryFile("w", suffix=".replay", delete=False) as f:
            f.write("\n".join(self.script) + "\n")
        try:
            out = subprocess.run([CLI, "replay", *options, f.name], check=True,
                                 capture_output=True).stdout
        finally:
            os.unlink(f.name)
        return out.decode("utf-8").replace("\r\n", "\n") if text else out

    def assert_same_as_cli(self, *options):
        expected = self.replay(*options)
        self.assertEqual(self.page_text(), expected)
        return expected

    def downloaded(self, name):
        path = os.path.join(self.downloads, name)
        end = time.time() + 10
        while time.time() < end:
            if os.path.exists(path) and not os.path.exists(path + ".crdownload"):
                time.sleep(0.1)
                with open(path, "rb") as f:
                    data = f.read()
                os.unlink(path)
                return data
            time.sleep(0.05)
        self.fail("nothing downloaded as " + name)

    # --- The tests.
    def test_strokes_give_the_cli_text_greedy_and_fine(self):
        for seed, fine, no_fillers in ((1, False, False), (2, True, False), (3, True, True)):
            with self.subTest(seed=seed, fine=fine, no_fillers=no_fillers):
                self.setUp()
                options = []
                if fine:
                    self.click("fine")
                    options.append("--fine")
                if no_fillers:
                    self.click("no-fillers")
                    options.append("--no-fillers")
                self.draw(scribble(seed))
                self.assertTrue(self.assert_same_as_cli(*options).strip())

    def test_board_list_and_counter_follow_the_board_table(self):
        # The list as the engine's table gives it, the default board first.
        board = Select(self.driver.find_element(By.ID, "board"))
        shown = [(o.get_attribute("value"), o.text) for o in board.options]
        self.assertEqual(shown, [("2ch", "2ch"), ("shitaraba", "したらば"), ("custom", "カスタム…")])
        self.assertEqual(board.first_selected_option.get_attribute("value"), "2ch")
        self.draw(scribble(5, strokes=12, points=60))
        for name in ("2ch", "shitaraba"):
            with self.subTest(board=name):
                board.select_by_value(name)
                # The CLI's count on the same board: "post for 2ch: 700/2048 bytes, 12/24 lines, ..."
                with tempfile.NamedTemporaryFile("w", suffix=".replay", delete=False) as f:
                    f.write("\n".join(self.script) + "\n")
                try:
                    run = subprocess.run([CLI, "replay", "--board", name, f.name],
                                         capture_output=True)
                finally:
                    os.unlink(f.name)
                self.assertIn(run.returncode, (0, 3))
                report = run.stderr.decode().split(": ", 2)[2]
                bytes_part, lines_part = report.split(", ")[:2]
                expected = (bytes_part.replace(" bytes", " バイト") + "\u3000" +
                            lines_part.replace(" lines", " 行"))
                counter = self.driver.find_element(By.ID, "post-count").text
                self.assertTrue(counter.startswith(expected), f"{counter!r} against {report!r}")
        # Chosen once, the board is the one the page opens on.
        self.driver.get(self.url)
        self.wait_for("return document.body.dataset.ready === '1'")
        board = Select(self.driver.find_element(By.ID, "board"))
        self.assertEqual(board.first_selected_option.get_attribute("value"), "shitaraba")

    def test_fine_toggle_reconverts_the_drawing(self):
        self.draw(scribble(4))
        greedy = self.assert_same_as_cli()
        self.click("fine")
        self.assertEqual(self.page_text(), self.replay("--fine"))
        self.click("fine")
        self.assertEqual(self.page_text(), greedy)

    def test_undo_eraser_and_clear_as_the_window(self):
        strokes = scribble(5)
        self.draw(strokes[:2])
        self.draw(strokes[2:])
        self.undo()
        self.assert_same_as_cli()
        self.undo()  # undo toggles: the stroke comes back
        self.assert_same_as_cli()
        self.toggle_pen()
        self.assertEqual(self.driver.find_element(By.ID, "pen").get_attribute("data-mode"), "eraser")
        self.draw([[(x, y) for x, y in strokes[0]]])
        self.assert_same_as_cli()
        self.toggle_pen()
        self.clear(confirm=False)
        self.assert_same_as_cli()
        self.clear(confirm=True)
        self.assertEqual(self.assert_same_as_cli(), "")
        self.draw(scribble(6, strokes=1))
        self.assert_same_as_cli()

    def test_touch_draws_like_the_mouse(self):
        self.draw(scribble(7), kind=POINTER_TOUCH)
        self.assertTrue(self.assert_same_as_cli().strip())

    def test_a_phone_screen_scales_the_canvas_and_keeps_the_mapping(self):
        self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": 360, "height": 740, "deviceScaleFactor": 1, "mobile": False})
        try:
            self.driver.get(self.url)
            self.wait_for("return document.body.dataset.ready === '1'")
            left, top, width, height = self.driver.execute_script(
                "const r = document.getElementById('canvas').getBoundingClientRect();"
                "return [r.left, r.top, r.width, r.height];")
            self.assertLess(width, 360)
            self.assertAlmostEqual(height / width, 522 / 800, places=2)
            # Touches at whole CSS pixels; the canvas pixel each means, as the page maps it.
            pointer = PointerInput(POINTER_TOUCH, "finger")
            actions = ActionBuilder(self.driver, mouse=pointer, duration=0)
            for stroke in scribble(10, strokes=2):
                for i, (x, y) in enumerate(stroke):
                    cx, cy = int(left + x * width / 800), int(top + y * height / 522)
                    actions.pointer_action.move_to_location(cx, cy)
                    px = int((cx - left) * 800 / width)
                    py = int((cy - top) * 522 / height)
                    if i == 0:
                        actions.pointer_action.pointer_down()
                    self.script.append(f"{'down' if i == 0 else 'move'} {px + CANVAS_LEFT} {py + CANVAS_TOP}")
                actions.pointer_action.pointer_up()
                self.script.append("up")
            actions.perform()
            self.assertTrue(self.assert_same_as_cli().strip())
        finally:
            self.driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})

    def test_the_page_works_offline_once_loaded(self):
        self.wait_for("return navigator.serviceWorker.controller !== null", seconds=20)
        self.driver.execute_cdp_cmd("Network.enable", {})
        self.driver.execute_cdp_cmd("Network.emulateNetworkConditions", {
            "offline": True, "latency": 0, "downloadThroughput": -1, "uploadThroughput": -1})
        try:
            self.driver.get(self.url)
            self.wait_for("return document.body.dataset.ready === '1'")
            self.draw(scribble(11, strokes=1))
            self.assert_same_as_cli()
        finally:
            self.driver.execute_cdp_cmd("Network.emulateNetworkConditions", {
                "offline": False, "latency": 0, "downloadThroughput": -1, "uploadThroughput": -1})

    def test_shift_jis_download_is_the_cli_bytes(self):
        self.click("br")
        self.draw(scribble(8))
        self.click("save-text")
        self.assertEqual(self.downloaded("fudeline.txt"), self.replay("--sjis", "--br", text=False))

    def test_saved_drawing_reads_back_on_the_desktop_and_in_the_page(self):
        self.draw(scribble(9))
        text = self.assert_same_as_cli()
        self.click("save-drawing")
        png = self.downloaded("drawing.png")
        with tempfile.NamedTemporaryFile(suffix=".png", delete=False) as f:
            f.write(png)
        try:
            desktop = subprocess.run([CLI, "convert", f.name], check=True, capture_output=True)
            self.assertEqual(desktop.stdout.decode().replace("\r\n", "\n"), text)
            self.clear(confirm=True)
            self.assertEqual(self.page_text(), "")
            self.driver.find_element(By.ID, "open-drawing").send_keys(f.name)
            self.wait_for("return document.getElementById('text').value !== ''")
            self.assertEqual(self.page_text(), text)
            self.undo()  # opening is one undoable step
            self.assertEqual(self.page_text(), "")
            # The same file as a picture to trace: shown faint (three quarters of
            # the way to white) or plain, under the canvas, changing no text.
            count = ("const d = document.getElementById('canvas').getContext('2d')"
                     ".getImageData(0, 0, 800, 522).data; let n = 0;"
                     "for (let i = 0; i < d.length; i += 4) n += d[i] === arguments[0] && "
                     "d[i + 1] === arguments[0] && d[i + 2] === arguments[0]; return n;")
            self.assertEqual(self.driver.execute_script(count, 191), 0)
            self.driver.find_element(By.ID, "picture").send_keys(f.name)
            end = time.time() + 10
            while time.time() < end and self.driver.execute_script(count, 191) == 0:
                time.sleep(0.05)
            self.assertGreater(self.driver.execute_script(count, 191), 100)
            self.assertEqual(self.driver.execute_script(count, 0), 0)
            self.click("picture-faint")
            self.assertGreater(self.driver.execute_script(count, 0), 100)
            self.assertEqual(self.driver.execute_script(count, 191), 0)
            self.assertEqual(self.page_text(), "")
        finally:
            os.unlink(f.name)


if __name__ == "__main__":
    if not os.path.exists(os.path.join(SITE, "index.html")):
        print(f"no page in {SITE}: build it with scripts/web.sh")
        sys.exit(1 if os.environ.get("FUDELINE_WEB_REQUIRED") == "1" else 77)
    unittest.main(argv=sys.argv[:1], verbosity=2)
