#!/usr/bin/python3
"""The browser page in headless Chromium, driven by real pointer events.

Every drawing is also written as a replay script, and the page's text must
equal what fudeline-cli replay prints for it: the page and the command-line
tool run one engine, so any difference is a fault in the page's input mapping
or its binding.

    browser_test.py SITE_DIR FUDELINE_CLI

Exits 77 (skipped) when SITE_DIR has no page, unless FUDELINE_WEB_REQUIRED=1.
"""
import base64
import functools
import http.server
import os
import random
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import threading
import time
import unittest
import zlib

from selenium import webdriver
from selenium.webdriver.common.actions.action_builder import ActionBuilder
from selenium.webdriver.common.actions.interaction import POINTER_MOUSE, POINTER_TOUCH
from selenium.webdriver.common.actions.pointer_input import PointerInput
from selenium.webdriver.common.by import By
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select

SITE = os.path.abspath(sys.argv[1]) if len(sys.argv) > 1 else ""
CLI = os.path.abspath(sys.argv[2]) if len(sys.argv) > 2 else ""
CANVAS_LEFT, CANVAS_TOP = 12, 40  # where the window's canvas lies in replay scripts


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def start_server(site=None):
    handler = functools.partial(QuietHandler, directory=site or SITE)
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
        # Several downloads without a click between them (files handed over by script).
        "profile.default_content_setting_values.automatic_downloads": 1,
        "intl.accept_languages": language,
    })
    service = webdriver.ChromeService(executable_path="/usr/bin/chromedriver") \
        if hasattr(webdriver, "ChromeService") else None
    if service:
        return webdriver.Chrome(options=options, service=service)
    return webdriver.Chrome(options=options)


def write_png(path, width, height, colour_type, depth, row):
    """A PNG of identical rows (`row` holds one row's bytes, filter byte left out)."""
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data)))
    header = struct.pack(">IIBBBBB", width, height, depth, colour_type, 0, 0, 0)
    pixels = zlib.compress(b"".join(b"\0" + row for _ in range(height)), 6)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", pixels) +
                chunk(b"IEND", b""))


def forget_drawing(driver):
    """Deletes the drawing the page keeps between visits."""
    driver.execute_async_script(
        "const done = arguments[arguments.length - 1];"
        "const request = indexedDB.deleteDatabase('fudeline');"
        "request.onsuccess = request.onerror = request.onblocked = () => done();")


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
        # The page's undo walks a history of steps, as the window's does.
        self.script = ["history steps"]
        self.driver.get(self.url)
        # The tests compare with the command line's defaults, the row matcher
        # and unsteadied strokes; a new visitor's page (the fine decoder, the
        # weak stabilizer) is test_fine_toggle's.
        self.driver.execute_script("localStorage.clear();"
                                   "localStorage.setItem('fudeline.fine', 'false');"
                                   "localStorage.setItem('fudeline.stabilizer', '\"off\"')")
        forget_drawing(self.driver)
        self.driver.get(self.url)
        self.wait_for("return document.body.dataset.ready === '1'")
        rect = self.driver.execute_script(
            "const r = document.getElementById('canvas').getBoundingClientRect();"
            "return [r.left, r.top, r.width, r.height];")
        self.assertEqual(rect[2:], [800, 522], "the canvas is shown at scale 1")
        self.assertEqual([int(v) for v in rect[:2]], rect[:2], "the canvas lies on whole pixels")
        self.origin = (int(rect[0]), int(rect[1]))

    def in_page(self, body, *args):
        """Runs `body`, a function body over the page's own modules as its code
        reaches them: state (the engine), view (paint) and pointer (the zoom);
        `args` are its arguments. Returns what the body returns."""
        return self.driver.execute_script(
            "const args = arguments;"
            "return Promise.all(['./state.js', './view.js', './pointer.js'].map((m) => import(m)))"
            ".then(([state, view, pointer]) => {" + body + "});", *args)

    def wait_for(self, condition, seconds=10):
        end = time.time() + seconds
        while time.time() < end:
            if self.driver.execute_script(condition):
                return
            time.sleep(0.02)
        self.fail("timed out: " + condition)

    # --- Input, recorded as the replay script of the same events.
    def draw(self, strokes, kind=POINTER_MOUSE, shift=False):
        pointer = PointerInput(kind, "finger" if kind == POINTER_TOUCH else "mouse")
        actions = ActionBuilder(self.driver, mouse=pointer, duration=0)
        if shift:
            # Held from the first tick: every pointer event after it carries it.
            actions.key_action.key_down(Keys.SHIFT)
        held = " shift" if shift else ""
        # Where the canvas is now: clicking a control below the fold scrolls
        # the page.
        left, top = self.canvas_rect()[:2]
        ox, oy = int(left), int(top)
        for stroke in strokes:
            x, y = stroke[0]
            actions.pointer_action.move_to_location(ox + x, oy + y)
            actions.pointer_action.pointer_down()
            self.script.append(f"down {x + CANVAS_LEFT} {y + CANVAS_TOP}{held}")
            for x, y in stroke[1:]:
                actions.pointer_action.move_to_location(ox + x, oy + y)
                self.script.append(f"move {x + CANVAS_LEFT} {y + CANVAS_TOP}{held}")
            actions.pointer_action.pointer_up()
            self.script.append("up")
        actions.perform()
        if shift:
            ActionBuilder(self.driver).clear_actions()  # lets Shift go

    def wait_for_scrolling_to_end(self):
        last, steady, end = None, 0, time.time() + 5
        while steady < 3 and time.time() < end:
            now = self.driver.execute_script("return [window.scrollX, window.scrollY]")
            steady = steady + 1 if now == last else 0
            last = now
            time.sleep(0.05)

    def click(self, element_id):
        self.driver.find_element(By.ID, element_id).click()

    def set_box(self, element_id, on):
        if self.driver.find_element(By.ID, element_id).is_selected() != on:
            self.click(element_id)

    def toggle_pen(self):
        self.click("pen")
        self.script += ["down 20 20", "up"]

    def undo(self):
        self.click("undo")
        self.script.append("undo")

    def redo(self):
        self.click("redo")
        self.script.append("redo")

    def single_undo(self):
        """Chooses the one toggling undo ("1段階の元に戻す")."""
        self.set_box("single-undo", True)
        self.script.append("history single")

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
                self.set_box("fine", fine)
                if fine:
                    options.append("--fine")
                if no_fillers:
                    self.click("no-fillers")
                    options.append("--no-fillers")
                self.draw(scribble(seed))
                self.assertTrue(self.assert_same_as_cli(*options).strip())

    def test_the_engine_steadies_strokes_and_draws_shift_lines_as_the_cli(self):
        """The binding hands the stabilizer and Shift to the core: the same events
        give the command line's text, so the WebAssembly build draws the pen's
        steadied points and the turned lines to the same pixels."""
        run = """
            const [name, events] = args;
            const engine = state.engine;
            if (!engine.setStabilizer(name) || engine.stabilizer() !== name) return null;
            if (engine.setStabilizer('medium') || engine.stabilizer() !== name) return null;
            for (const [verb, x, y, shift] of events) {
                if (verb === 'down') engine.down(x, y, shift);
                if (verb === 'move') engine.move(x, y, shift);
                if (verb === 'up') engine.up();
                engine.paint();
            }
            return engine.text(false);"""
        for seed, stabilizer, fine in ((4, "weak", False), (5, "strong", True), (6, "off", False)):
            with self.subTest(stabilizer=stabilizer, fine=fine):
                self.setUp()
                self.set_box("fine", fine)
                events = []
                for stroke in scribble(seed, strokes=3, points=30):
                    events.append(["down", *stroke[0], False])
                    for i, (x, y) in enumerate(stroke[1:]):
                        events.append(["move", x, y, 10 <= i < 20])  # Shift held mid-stroke
                    events.append(["up", 0, 0, False])
                self.script = [f"stabilizer {stabilizer}"]
                for verb, x, y, shift in events:
                    self.script.append("up" if verb == "up" else
                                       f"{verb} {x + CANVAS_LEFT} {y + CANVAS_TOP}"
                                       + (" shift" if shift else ""))
                text = self.in_page(run, stabilizer, events)
                self.assertIsNotNone(text)
                expected = self.replay(*(["--fine"] if fine else []))
                self.assertTrue(expected.strip())
                self.assertEqual(text.replace("\r\n", "\n"), expected)

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
                report = run.stderr.decode().strip().split(": ", 2)[2]
                bytes_part, lines_part, longest_part = report.split(";")[0].split(", ")[:3]
                expected = (bytes_part.replace(" bytes", " バイト") + "\u3000" +
                            lines_part.replace(" lines", " 行") + "\u3000" +
                            longest_part.replace("longest line", "最長の行")
                            .replace(" bytes", " バイト"))
                counter = self.driver.find_element(By.ID, "post-count").text
                self.assertTrue(counter.startswith(expected), f"{counter!r} against {report!r}")
        # Chosen once, the board is the one the page opens on.
        self.driver.get(self.url)
        self.wait_for("return document.body.dataset.ready === '1'")
        board = Select(self.driver.find_element(By.ID, "board"))
        self.assertEqual(board.first_selected_option.get_attribute("value"), "shitaraba")

    def reload(self):
        self.driver.get(self.url)
        self.wait_for("return document.body.dataset.ready === '1'")

    def test_fine_toggle_reconverts_the_drawing(self):
        self.driver.execute_script("localStorage.clear()")
        self.reload()
        # A new visitor draws steadied, as in the window; Shift held draws
        # straight lines from the pointer's events.
        self.script.append("stabilizer weak")
        self.draw(scribble(4)[:2])
        self.draw(scribble(4)[2:], shift=True)
        # A new visitor starts with the fine decoder; the row matcher is one tick away.
        self.assertTrue(self.driver.find_element(By.ID, "fine").is_selected())
        self.assertEqual(Select(self.driver.find_element(By.ID, "stabilizer"))
                         .first_selected_option.get_attribute("value"), "weak")
        self.assertEqual(self.page_text(), self.replay("--fine"))
        # The box's change converts the drawing again; on a loaded machine the
        # click may return before it has run.
        for fine in (False, True):
            self.click("fine")
            expected = self.replay("--fine") if fine else self.replay()
            end = time.time() + 10
            while time.time() < end and self.page_text() != expected:
                time.sleep(0.02)
            self.assertEqual(self.page_text(), expected)
        self.click("fine")
        self.reload()
        Select(self.driver.find_element(By.ID, "stabilizer")).select_by_value("strong")
        self.reload()
        self.assertFalse(self.driver.find_element(By.ID, "fine").is_selected(),
                         "a visitor's choice is kept")
        self.assertEqual(self.in_page("return state.engine.stabilizer();"), "strong")

    def test_undo_and_redo_walk_the_history_as_replay_does(self):
        strokes = scribble(7, strokes=3)
        for stroke in strokes:
            self.draw([stroke])
        drawn = self.assert_same_as_cli()
        # Back to the blank canvas step by step, once more does nothing; then
        # forward again to the drawing.
        steps = []
        for _ in range(4):
            self.undo()
            steps.append(self.assert_same_as_cli())
        self.assertEqual(steps[2:], ["", ""])
        self.assertEqual(len(set(steps[:3])), 3, "each undo takes back one stroke")
        for _ in range(4):
            self.redo()
            self.assert_same_as_cli()
        self.assertEqual(self.page_text(), drawn)
        # A stroke drawn after an undo leaves nothing to redo.
        self.undo()
        self.draw(scribble(8, strokes=1))
        after = self.assert_same_as_cli()
        self.redo()
        self.assertEqual(self.assert_same_as_cli(), after)

    def test_undo_eraser_and_clear_as_the_window(self):
        self.single_undo()
        strokes = scribble(5)
        self.draw(strokes[:2])
        self.draw(strokes[2:])
        self.undo()
        self.assert_same_as_cli()
        # The clicked button does not keep the focus: Space does not undo again.
        self.assertNotEqual(self.driver.execute_script("return document.activeElement.id"), "undo")
        ActionChains(self.driver).send_keys(Keys.SPACE).perform()
        self.wait_for_scrolling_to_end()  # Space scrolls the page: a click mid-scroll misses
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

    def test_eraser_widths_from_the_list_and_the_bracket_keys(self):
        strokes = scribble(8)
        self.draw(strokes)
        self.toggle_pen()
        for key, size in (("]", "large"), ("[", "medium"), ("[", "small"), ("[", "small")):
            ActionChains(self.driver).send_keys(key).perform()
            self.assertEqual(self.driver.find_element(By.ID, "eraser-size").get_attribute("value"), size)
            self.script.append(f"eraser {size}")
            self.draw([[(x + 3, y + 2) for x, y in strokes[0]]])
            self.assert_same_as_cli()
        # The list chooses as the keys do, and the choice is kept for the next visit.
        Select(self.driver.find_element(By.ID, "eraser-size")).select_by_value("large")
        self.script.append("eraser large")
        self.draw([[(x - 2, y + 4) for x, y in strokes[1]]])
        self.assert_same_as_cli()
        self.assertEqual(self.driver.execute_script("return localStorage.getItem('fudeline.eraserSize')"),
                         '"large"')

    def test_align_left_says_what_it_saves_and_saves_it(self):
        # A drawing well right of the left edge: the counter says, once drawing
        # stops, what the text would take moved left; the button makes it so.
        self.draw([[(x + 300, y) for x, y in stroke] for stroke in scribble(9, points=20)])
        before = self.page_text()
        self.wait_for("return document.getElementById('post-count').textContent.includes('左に寄せると')")
        counter = self.driver.find_element(By.ID, "post-count").text
        aligned = int(re.search(r"左に寄せると (\d+) バイト", counter).group(1))
        self.assertLess(aligned, int(re.match(r"\d+", counter).group(0)))
        self.click("align-left")
        self.assertTrue(self.driver.find_element(By.ID, "post-count").text.startswith(f"{aligned}/"))
        margin = lambda text: min(len(line) - len(line.lstrip("\u3000 ")) for line in text.split("\n") if line.strip())
        self.assertEqual(margin(self.page_text()), 0)
        self.assertGreater(margin(before), 10)
        # Once there, the counter offers nothing more and the button says why.
        time.sleep(0.5)
        self.assertNotIn("左に寄せると", self.driver.find_element(By.ID, "post-count").text)
        self.click("align-left")
        self.assertEqual(self.driver.find_element(By.ID, "message").text, "絵はもう左端にあります")

    def test_touch_draws_like_the_mouse(self):
        self.draw(scribble(7), kind=POINTER_TOUCH)
        self.assertTrue(self.assert_same_as_cli().strip())

    def canvas_rect(self):
        return self.driver.execute_script(
            "const r = document.getElementById('canvas').getBoundingClientRect();"
            "return [r.left, r.top, r.width, r.height];")

    def touch_scaled(self, strokes):
        """Touches at whole CSS pixels on a canvas shown at another size,
        recorded as the canvas pixels the page maps them to."""
        left, top, width, height = self.canvas_rect()
        pointer = PointerInput(POINTER_TOUCH, "finger")
        actions = ActionBuilder(self.driver, mouse=pointer, duration=0)
        for stroke in strokes:
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

    def on_screen(self, width, height):
        self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": width, "height": height, "deviceScaleFactor": 1, "mobile": False})
        self.driver.get(self.url)
        self.wait_for("return document.body.dataset.ready === '1'")

    def test_a_wide_screen_shows_the_whole_text_beside_the_canvas(self):
        try:
            self.on_screen(1280, 900)
            box = ("const t = document.getElementById('text'); const r = t.getBoundingClientRect();"
                   "return [parseFloat(getComputedStyle(t).fontSize), t.scrollWidth <= t.clientWidth,"
                   "t.scrollHeight <= t.clientHeight, r.left >= 800, r.top < innerHeight];")
            # A small drawing's text at the size boards show it.
            self.draw([[(100 + 4 * i, 100) for i in range(30)]])
            self.assertEqual(self.driver.execute_script(box), [16, True, True, True, True])
            # A frame around the whole canvas and its diagonal: every line
            # shows whole beside the canvas, the face shrunk to fit.
            self.draw([[(5 + 8 * i, 10) for i in range(99)], [(5 + 8 * i, 510) for i in range(99)],
                       [(5, 10 + 5 * i) for i in range(100)], [(795, 10 + 5 * i) for i in range(100)],
                       [(5 + 8 * i, 10 + 5 * i) for i in range(99)]])
            size, *whole = self.driver.execute_script(box)
            self.assertLess(size, 16)
            self.assertGreaterEqual(size, 8)
            self.assertEqual(whole, [True, True, True, True])
            self.assert_same_as_cli()
        finally:
            self.driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})

    def test_phone_screens_upright_and_sideways(self):
        try:
            with self.subTest("upright: the canvas scales and keeps the mapping"):
                self.on_screen(360, 740)
                left, top, width, height = self.canvas_rect()
                self.assertLess(width, 360)
                self.assertAlmostEqual(height / width, 522 / 800, places=2)
                self.touch_scaled(scribble(10, strokes=2))
                self.assertTrue(self.assert_same_as_cli().strip())
            small_targets = """
                const targets = [...document.querySelectorAll('button, select, summary')];
                for (const box of document.querySelectorAll('input'))
                  targets.push(box.closest('label') || box);
                return targets.filter((el) => el.offsetParent !== null).map((el) => {
                  const r = el.getBoundingClientRect();
                  return [el.id || el.textContent.trim(), r.width, r.height];
                }).filter(([, w, h]) => w < 44 || h < 44);"""
            with self.subTest("upright: every control is a tap target of 44 px or more"):
                self.assertEqual(self.driver.execute_script(small_targets), [])
            with self.subTest("upright: nothing reaches past the screen's width"):
                self.assertLessEqual(self.driver.execute_script(
                    "return document.documentElement.scrollWidth"), 360)
            for scheme in ("light", "dark"):
                with self.subTest("the drawing stays black on white", scheme=scheme):
                    self.driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {
                        "features": [{"name": "prefers-color-scheme", "value": scheme}]})
                    canvas, text, back = self.driver.execute_script("""
                        const css = (id) => getComputedStyle(document.getElementById(id));
                        return [css('canvas').backgroundColor, css('text').color,
                                css('text').backgroundColor];""")
                    self.assertEqual(canvas, "rgb(255, 255, 255)")
                    self.assertNotEqual(text, back)
            self.driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {"features": []})
            with self.subTest("sideways: the whole canvas is seen on load, tap targets of 44 px"):
                self.script = []
                # A fresh drawing: the page keeps the last one across loads.
                self.wait_for("return document.body.dataset.saved !== '0'")
                forget_drawing(self.driver)
                self.on_screen(740, 360)
                self.assertEqual(self.driver.execute_script(small_targets), [])
                left, top, width, height = self.canvas_rect()
                self.assertGreaterEqual(top, 0)
                self.assertLessEqual(top + height, 360)
                self.assertAlmostEqual(height / width, 522 / 800, places=2)
                self.touch_scaled(scribble(12, strokes=2))
                self.assertTrue(self.assert_same_as_cli().strip())
            with self.subTest("two fingers never draw"):
                # One finger draws far, a second comes down: the stroke is
                # taken back and neither finger draws on.
                before = self.page_text()
                left, top, width, height = self.canvas_rect()
                def point(x, y, id_):
                    return {"x": left + x * width / 800, "y": top + y * height / 522, "id": id_}
                touch = lambda kind, points: self.driver.execute_cdp_cmd(
                    "Input.dispatchTouchEvent", {"type": kind, "touchPoints": points})
                touch("touchStart", [point(100, 200, 1)])
                for x in range(110, 700, 20):
                    touch("touchMove", [point(x, 200 + x // 10, 1)])
                self.assertNotEqual(self.page_text(), before, "the first finger draws")
                touch("touchStart", [point(700, 270, 1), point(400, 100, 2)])
                for step in range(1, 10):
                    touch("touchMove", [point(700 - 20 * step, 270, 1), point(400, 100 + 20 * step, 2)])
                touch("touchEnd", [point(520, 270, 1)])
                touch("touchEnd", [])
                self.assertEqual(self.page_text(), before)
                self.undo()  # and undo takes back the stroke before, nothing of it
                self.assert_same_as_cli()
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
            # Any query, the README's "?lang=en" among them, is the same page.
            self.driver.get(self.url + "?lang=en")
            self.wait_for("return document.body.dataset.ready === '1'")
            self.assertEqual(self.driver.find_element(By.ID, "undo").text, "Undo")
        finally:
            self.driver.execute_cdp_cmd("Network.emulateNetworkConditions", {
                "offline": False, "latency": 0, "downloadThroughput": -1, "uploadThroughput": -1})

    def test_a_new_build_runs_after_one_reload(self):
        # Build A served, loaded and cached; then build B served in its place
        # (another digest in sw.js, a marker in fudeline.js). The files bear
        # dates long past, so the browser's HTTP cache deems A's copies fresh.
        # The tab that installed A's worker finds B by itself (as a browser's
        # own update check would), and reloads into it.
        site = tempfile.mkdtemp(prefix="fudeline-site-")
        shutil.copytree(SITE, site, dirs_exist_ok=True)
        old = time.time() - 3600
        for folder, _, names in os.walk(site):
            for name in names:
                os.utime(os.path.join(folder, name), (old, old))
        server = start_server(site)
        url = f"http://127.0.0.1:{server.server_address[1]}/index.html"
        try:
            self.driver.get(url)
            self.wait_for("return document.body.dataset.ready === '1'")
            self.wait_for("return navigator.serviceWorker.controller !== null", seconds=20)
            for name, change in (("sw.js", lambda t: t.replace('"fudeline-', '"fudeline-b', 1)),
                                 ("fudeline.js", lambda t: t + "\nwindow.fudelineBuild = 'B';\n")):
                path = os.path.join(site, name)
                with open(path, encoding="utf-8") as f:
                    text = change(f.read())
                with open(path, "w", encoding="utf-8") as f:
                    f.write(text)
                os.utime(path, (old + 1800, old + 1800))
            self.driver.execute_script(
                "navigator.serviceWorker.getRegistration().then((r) => r.update())")
            self.wait_for("return window.fudelineBuild === 'B' && document.body.dataset.ready === '1'",
                          seconds=30)
            caches = self.driver.execute_async_script(
                "caches.keys().then(arguments[arguments.length - 1])")
            self.assertEqual(len(caches), 1, caches)
            self.assertTrue(caches[0].startswith("fudeline-b"), caches)
        finally:
            server.shutdown()
            shutil.rmtree(site)

    def test_opening_a_drawing_reads_as_the_cli_does(self):
        self.draw(scribble(13, strokes=2))
        drawn = self.assert_same_as_cli()
        folder = tempfile.mkdtemp(prefix="fudeline-open-")
        try:
            huge = os.path.join(folder, "huge.png")
            write_png(huge, 16000, 16000, 0, 1, b"\xff" * 2000)
            photo = os.path.join(folder, "photo.jpg")
            with open(photo, "wb") as f:
                f.write(b"\xff\xd8\xff\xe0" + bytes(200))

            def refused(path):
                """The page's message for `path`, which it refuses at once."""
                self.driver.execute_script("document.getElementById('message').textContent = ''")
                start = time.time()
                self.driver.find_element(By.ID, "open-drawing").send_keys(path)
                self.wait_for("return document.getElementById('message').textContent !== ''",
                              seconds=5)
                self.assertLess(time.time() - start, 1.0)
                return self.driver.find_element(By.ID, "message").text

            reasons = {}
            for path in (huge, photo):
                with self.subTest(file=os.path.basename(path)):
                    cli = subprocess.run([CLI, "convert", path], capture_output=True)
                    self.assertEqual(cli.returncode, 2)
                    reasons[path] = cli.stderr.decode().strip().split(": ", 2)[2]
                    # The Japanese page words the core's reason in Japanese.
                    message = refused(path)
                    self.assertNotIn(reasons[path], message)
                    self.assertTrue(re.search("[\u3040-\u30ff]", message.split(": ", 1)[-1]),
                                    message)
                    self.assertEqual(self.page_text(), drawn, "the drawing is kept")
            with self.subTest(file="drawing.pbm"):
                # A PBM drawing opens, as the command line reads it.
                pbm = os.path.join(folder, "drawing.pbm")
                with open(pbm, "w") as f:
                    f.write("P1 40 24\n" + "\n".join(
                        "".join("1" if x == y or x == 39 - y else "0" for x in range(40))
                        for y in range(24)) + "\n")
                self.driver.find_element(By.ID, "open-drawing").send_keys(pbm)
                self.wait_for(f"return document.getElementById('text').value !== {drawn!r}")
                expected = subprocess.run([CLI, "convert", pbm], check=True, capture_output=True)
                self.assertEqual(self.page_text(), expected.stdout.decode().replace("\r\n", "\n"))
            # The English page gives the command line's words.
            self.driver.get(self.url + "?lang=en")
            self.wait_for("return document.body.dataset.ready === '1'")
            for path, reason in reasons.items():
                with self.subTest(file=os.path.basename(path), lang="en"):
                    self.assertTrue(refused(path).endswith(reason))
        finally:
            shutil.rmtree(folder)

    def test_a_camera_picture_fits_moves_and_stays(self):
        # 4,000 x 3,000 of one colour, shown plain: where it reaches on the canvas.
        folder = tempfile.mkdtemp(prefix="fudeline-picture-")
        reach = ("const d = document.getElementById('canvas').getContext('2d')"
                 ".getImageData(0, 0, 800, 522).data; let mx = -1, my = -1;"
                 "for (let i = 0; i < d.length; i += 4) {"
                 "  if (Math.abs(d[i] - 40) < 4 && Math.abs(d[i + 1] - 80) < 4 && "
                 "      Math.abs(d[i + 2] - 120) < 4) {"
                 "    const p = i / 4; mx = Math.max(mx, p % 800); my = Math.max(my, (p / 800) | 0); } }"
                 "return [mx, my];")
        try:
            photo = os.path.join(folder, "photo.png")
            write_png(photo, 4000, 3000, 2, 8, bytes([40, 80, 120]) * 4000)
            self.click("picture-faint")
            Select(self.driver.find_element(By.ID, "picture-size")).select_by_value("fit")
            self.driver.find_element(By.ID, "picture").send_keys(photo)
            # The window's fit: 0.174, so 696 x 522 from the top left.
            end = time.time() + 10
            while time.time() < end and self.driver.execute_script(reach) != [695, 521]:
                time.sleep(0.05)
            self.assertEqual(self.driver.execute_script(reach), [695, 521])
            # Moved by a drag in move mode, which draws nothing.
            self.click("picture-move")
            pointer = PointerInput(POINTER_MOUSE, "mouse")
            actions = ActionBuilder(self.driver, mouse=pointer, duration=0)
            ox, oy = self.origin
            actions.pointer_action.move_to_location(ox + 300, oy + 300)
            actions.pointer_action.pointer_down()
            for step in range(1, 11):
                actions.pointer_action.move_to_location(ox + 300 - 5 * step, oy + 300 - 2 * step)
            actions.pointer_action.pointer_up()
            actions.perform()
            end = time.time() + 5
            while time.time() < end and self.driver.execute_script(reach) != [645, 501]:
                time.sleep(0.05)
            self.assertEqual(self.driver.execute_script(reach), [645, 501])
            self.assertEqual(self.page_text(), "")
            # Out of move mode the pen draws again.
            self.click("picture-move")
            self.draw(scribble(14, strokes=1))
            self.assert_same_as_cli()
            # A file that is no picture is reported with the core's reason; the
            # picture shown stays.
            broken = os.path.join(folder, "broken.png")
            with open(broken, "wb") as f:
                f.write(b"\x89PNG\r\n\x1a\n" + bytes(64))
            self.driver.find_element(By.ID, "picture").send_keys(broken)
            self.wait_for("return document.getElementById('message').textContent !== ''")
            self.assertEqual(self.driver.find_element(By.ID, "message").text,
                             "この下絵は開けません (PNG 画像に正しいヘッダーがありません)。"
                             "表示中の下絵はそのままです")
            self.assertEqual(self.driver.execute_script(reach), [645, 501])
        finally:
            shutil.rmtree(folder)

    def test_a_picture_dropped_or_pasted_lies_under_the_canvas_and_a_huge_one_is_refused(self):
        # One colour per picture, shown plain at 100 %: how far it reaches.
        reach = ("const d = document.getElementById('canvas').getContext('2d')"
                 ".getImageData(0, 0, 800, 522).data; let mx = -1, my = -1;"
                 "for (let i = 0; i < d.length; i += 4) {"
                 "  if (d[i] === arguments[0] && d[i + 1] === arguments[1] && d[i + 2] === arguments[2]) {"
                 "    const p = i / 4; mx = Math.max(mx, p % 800); my = Math.max(my, (p / 800) | 0); } }"
                 "return [mx, my];")
        # Hands `bytes` over as a file the way a drop or a Ctrl+V does.
        hand_over = ("const [how, name, type, b64] = arguments;"
                     "const bytes = Uint8Array.from(atob(b64), (c) => c.charCodeAt(0));"
                     "const data = new DataTransfer();"
                     "data.items.add(new File([bytes], name, { type }));"
                     "const init = { bubbles: true, cancelable: true };"
                     "const event = how === 'drop' ? new DragEvent('drop', { ...init, dataTransfer: data })"
                     "  : new ClipboardEvent('paste', { ...init, clipboardData: data });"
                     "(how === 'drop' ? document.getElementById('canvas') : document.body).dispatchEvent(event);"
                     "return event.defaultPrevented;")
        folder = tempfile.mkdtemp(prefix="fudeline-dropped-")

        def png(width, height, colour):
            path = os.path.join(folder, "p.png")
            write_png(path, width, height, 2, 8, bytes(colour) * width)
            with open(path, "rb") as f:
                return base64.b64encode(f.read()).decode()

        def message():
            return self.driver.find_element(By.ID, "message").text

        try:
            self.click("picture-faint")  # plain, so the colours are the file's
            cases = [("drop", 120, 60, [30, 90, 150]), ("paste", 200, 100, [150, 60, 30])]
            for how, width, height, colour in cases:
                with self.subTest(how=how):
                    self.assertTrue(self.driver.execute_script(
                        hand_over, how, "p.png", "image/png", png(width, height, colour)))
                    end = time.time() + 10
                    while time.time() < end and self.driver.execute_script(reach, *colour) == [-1, -1]:
                        time.sleep(0.05)
                    self.assertEqual(self.driver.execute_script(reach, *colour), [width - 1, height - 1])
                    self.assertEqual(self.page_text(), "")
            with self.subTest("a header of 20,000 x 20,000 pixels is refused before decoding"):
                huge = base64.b64encode(
                    b"\x89PNG\r\n\x1a\n" + struct.pack(">I", 13) + b"IHDR" +
                    struct.pack(">IIBBBBB", 20000, 20000, 8, 2, 0, 0, 0) + bytes(4) + bytes(64)).decode()
                self.driver.execute_script(hand_over, "drop", "huge.png", "image/png", huge)
                self.wait_for("return document.getElementById('message').textContent !== ''")
                self.assertTrue(message().startswith("この下絵は開けません ("), message())
                self.assertIn("20000", message())
                # The picture shown stays.
                self.assertEqual(self.driver.execute_script(reach, 150, 60, 30), [199, 99])
            with self.subTest("a dropped file that is no picture is not left to the browser"):
                self.driver.execute_script("document.getElementById('message').textContent = ''")
                self.assertTrue(self.driver.execute_script(
                    hand_over, "drop", "notes.txt", "text/plain", base64.b64encode(b"hi").decode()))
                self.assertEqual(message(), "この下絵は読めません。表示中の下絵はそのままです")
                self.assertEqual(self.driver.execute_script(reach, 150, 60, 30), [199, 99])
        finally:
            shutil.rmtree(folder)

    def test_small_things_nothing_to_save_labels_icon_and_opened_from_disk(self):
        with self.subTest("nothing drawn: nothing saved, and the page says so"):
            self.click("save-text")
            self.assertEqual(self.driver.find_element(By.ID, "message").text,
                             "何も描かれていないので、保存するものがありません")
            time.sleep(0.3)
            self.assertFalse(os.path.exists(os.path.join(self.downloads, "fudeline.txt")))
        labels = "return ['board', 'picture-size', 'text'].map((id) => " \
                 "document.getElementById(id).getAttribute('aria-label'))"
        with self.subTest("screen-reader labels in the page's language"):
            self.assertEqual(self.driver.execute_script(labels), ["掲示板", "下絵の大きさ", "テキスト"])
            self.driver.get(self.url + "?lang=en")
            self.wait_for("return document.body.dataset.ready === '1'")
            self.assertEqual(self.driver.execute_script(labels), ["Board", "Picture size", "Text"])
        with self.subTest("an icon of the page's own, asking the server nothing"):
            icon = self.driver.execute_script(
                "return document.querySelector('link[rel=icon]').getAttribute('href')")
            self.assertTrue(icon.startswith("data:image/svg+xml,"))
        with self.subTest("opened from disk, the page says how to serve it"):
            self.driver.get("file://" + os.path.join(SITE, "index.html"))
            self.wait_for("return document.getElementById('loading').textContent.includes("
                          "'./scripts/web.sh --serve')")

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
