#!/usr/bin/python3
"""Pictures traced in the page ("線を取り込む") against `fudeline-cli trace`:
the same ink pixel for pixel and the same text, at the same placement and
extraction, and the refusals worded in Japanese.

    browser_trace_test.py SITE_DIR FUDELINE_CLI

Pictures: the line-art house of the benchmarks, small pictures drawn here in
each format the browser decodes for the engine, and clip art from Debian's
openclipart-png when it is installed.
"""
import base64
import glob
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import browser_test  # noqa: E402  (the page's server, browser and drawing helpers)
from browser_test import CLI, write_png  # noqa: E402
from PIL import Image, ImageDraw  # noqa: E402
from selenium.webdriver.common.by import By  # noqa: E402
from selenium.webdriver.support.ui import Select  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "..", "..")
CLIP_ART = "/usr/share/openclipart/png"


def drawn_picture(path, mode, size, fill):
    """Strokes, a filled shape and soft edges, the things the tracer tells apart."""
    picture = Image.new(mode, size, fill)
    pen = ImageDraw.Draw(picture)
    w, h = size
    pen.ellipse((w // 8, h // 8, w * 5 // 8, h * 7 // 8), outline=(20, 20, 20, 255)[:len(mode)]
                if mode != "L" else 20, width=3)
    pen.rectangle((w // 2, h // 3, w * 7 // 8, h * 2 // 3), fill=(200, 40, 40, 200)[:len(mode)]
                  if mode != "L" else 90)
    pen.line((0, h - 1, w - 1, 0), fill=(30, 30, 160, 255)[:len(mode)] if mode != "L" else 40,
             width=2)
    picture.save(path)
    return path


class TraceTest(browser_test.PageTest):
    def setUp(self):
        super().setUp()
        self.folder = tempfile.mkdtemp(prefix="fudeline-trace-")

    def tearDown(self):
        shutil.rmtree(self.folder, ignore_errors=True)

    def trace_in_page(self, path, size="fit", mode="auto"):
        Select(self.driver.find_element(By.ID, "trace-size")).select_by_value(size)
        Select(self.driver.find_element(By.ID, "trace-mode")).select_by_value(mode)
        done = int(self.driver.execute_script("return document.body.dataset.traced || 0"))
        self.driver.find_element(By.ID, "trace").send_keys(os.path.abspath(path))
        self.wait_for(f"return Number(document.body.dataset.traced || 0) > {done}", seconds=60)

    def page_ink(self):
        """The page's ink layer: the set of black pixels."""
        red = self.in_page(
            "const rgba = state.engine.inkRgba(); let s = '';"
            "for (let i = 0; i < rgba.length; i += 4) s += String.fromCharCode(rgba[i]);"
            "return btoa(s);")
        return base64.b64decode(red)

    def cli_trace(self, path, size="fit", mode="auto"):
        ink = os.path.join(self.folder, "ink.png")
        args = [CLI, "trace", path, "--greedy", "--mode", mode, "--save-ink", ink]
        if size != "fit":
            args += ["--scale", size]
        run = subprocess.run(args, check=True, capture_output=True)
        with Image.open(ink) as picture:
            red = picture.convert("RGB").getchannel("R").tobytes()
        return red, run.stdout.decode("utf-8").replace("\r\n", "\n")

    def test_traced_ink_and_text_are_the_cli_s(self):
        house = os.path.join(ROOT, "bench", "data", "line-art", "house-1x.png")
        cases = [
            ("house, fitted", house, "fit", "auto"),
            ("house at 50%", house, "50", "lineart"),
            # Shown at half its size or less: decoded smaller, as libjpeg shrinks it.
            ("JPEG shrunk while decoding", os.path.join(ROOT, "bench", "data", "line-art", "face-2x.jpg"),
             "fit", "auto"),
            ("RGBA PNG with soft edges", drawn_picture(
                os.path.join(self.folder, "soft.png"), "RGBA", (300, 200), (0, 0, 0, 0)), "fit", "auto"),
            ("JPEG", drawn_picture(
                os.path.join(self.folder, "photo.jpg"), "RGB", (640, 360), (235, 230, 220)),
             "100", "photo"),
            ("WebP", drawn_picture(
                os.path.join(self.folder, "drawn.webp"), "RGB", (320, 240), (255, 255, 255)),
             "fit", "auto"),
            ("grey BMP", drawn_picture(
                os.path.join(self.folder, "grey.bmp"), "L", (200, 150), 250), "150", "auto"),
            ("GIF", drawn_picture(
                os.path.join(self.folder, "drawn.gif"), "L", (200, 150), 255), "fit", "auto"),
        ]
        art = sorted(glob.glob(os.path.join(CLIP_ART, "*", "*", "*.png")))
        cases += [(f"clip art {os.path.basename(p)}", p, "fit", "auto") for p in art[::max(1, len(art) // 2)][:2]]
        for name, path, size, mode in cases:
            with self.subTest(picture=name):
                self.in_page("state.engine.clear(); view.paint();")
                expected_ink, expected_text = self.cli_trace(path, size, mode)
                self.trace_in_page(path, size, mode)
                self.assertEqual(self.driver.find_element(By.ID, "message").text, "線を取り込みました")
                ink = self.page_ink()
                self.assertEqual(len(ink), len(expected_ink), "the ink layer's size")
                self.assertGreater(expected_ink.count(0), 50, "the picture has lines to compare")
                differing = sum(a != b for a, b in zip(ink, expected_ink))
                self.assertEqual(differing, 0, "ink pixels differ from the CLI's")
                self.assertEqual(self.page_text(), expected_text)
        # One undoable step: undo gives back the canvas before the last trace.
        self.undo()
        self.assertEqual(self.page_text().strip(), "")

    def test_a_large_picture_traces_beside_the_drawing_and_can_be_cancelled(self):
        # 12 megapixels of lines: traced in the worker (the page's engine is
        # never asked to trace), the lines added by the page's engine.
        big = os.path.join(self.folder, "big.png")
        picture = Image.new("RGB", (4000, 3000), "white")
        pen = ImageDraw.Draw(picture)
        for i in range(60):
            pen.line((i * 60, 0, 4000 - i * 50, 3000), fill=(20, 20, 20), width=8)
        picture.save(big)
        self.in_page("state.engine.clear(); view.paint();"
                     "const engine = state.engine; const trace = engine.traceInk.bind(engine);"
                     "window.tracedHere = 0;"
                     "engine.traceInk = (...args) => { window.tracedHere += 1; return trace(...args); };")
        expected_ink, expected_text = self.cli_trace(big)
        self.trace_in_page(big)
        self.assertEqual(self.driver.find_element(By.ID, "message").text, "線を取り込みました")
        self.assertEqual(self.page_text(), expected_text)
        self.assertEqual(self.page_ink(), expected_ink)
        self.assertEqual(self.driver.execute_script("return window.tracedHere"), 0)
        # Cancelled at once: nothing added, and the next trace runs as before.
        done = int(self.driver.execute_script("return document.body.dataset.traced || 0"))
        self.driver.find_element(By.ID, "trace").send_keys(big)
        self.wait_for("return !document.getElementById('trace-cancel').hidden")
        self.click("trace-cancel")
        self.wait_for(f"return Number(document.body.dataset.traced || 0) > {done}")
        self.assertEqual(self.driver.find_element(By.ID, "message").text, "線の取り込みをやめました")
        self.assertTrue(self.driver.execute_script("return document.getElementById('trace-cancel').hidden"))
        self.assertEqual(self.page_text(), expected_text)
        self.undo()
        self.assertEqual(self.page_text().strip(), "")
        house = os.path.join(ROOT, "bench", "data", "line-art", "house-1x.png")
        house_ink, house_text = self.cli_trace(house)
        self.trace_in_page(house)
        self.assertEqual(self.page_text(), house_text)

    def test_fitted_to_the_board_as_the_cli_fits_it(self):
        # The page's board is 2ch until another is chosen; the text is what
        # `trace --fit-board 2ch` writes, at the size it names.
        house = os.path.join(ROOT, "bench", "data", "line-art", "house-1x.png")
        run = subprocess.run([CLI, "trace", house, "--greedy", "--fit-board", "2ch"],
                             check=True, capture_output=True)
        scale = run.stderr.decode("utf-8").split("at --scale ")[1].split()[0]
        self.in_page("state.engine.clear(); view.paint();")
        self.trace_in_page(house, "board")
        self.assertEqual(self.driver.find_element(By.ID, "message").text,
                         f"線を {scale}% で取り込みました（ボードに収まる大きさ）")
        self.assertEqual(self.page_text(), run.stdout.decode("utf-8").replace("\r\n", "\n"))

    def test_refusals_are_worded_as_the_window_words_them(self):
        self.in_page("state.engine.clear(); view.paint();")
        self.draw(browser_test.scribble(5, strokes=2))
        drawn = self.page_text()
        not_picture = os.path.join(self.folder, "notes.png")
        with open(not_picture, "w") as f:
            f.write("not a picture\n")
        huge = os.path.join(self.folder, "huge.png")
        write_png(huge, 16000, 16000, 0, 1, b"\xff" * 2000)
        cases = [
            (not_picture, "対応している形式（PNG・JPEG・WebP・GIF・BMP・PNM）の画像ではありません"),
            (huge, "画像が大きすぎます（16000 x 16000 ピクセル）"),
        ]
        for path, wording in cases:
            with self.subTest(file=os.path.basename(path)):
                cli = subprocess.run([CLI, "trace", path], capture_output=True)
                self.assertEqual(cli.returncode, 2, "the CLI refuses it too")
                self.trace_in_page(path)
                self.assertEqual(self.driver.find_element(By.ID, "message").text,
                                 "この画像から線を取り込めません: " + wording)
                self.assertEqual(self.page_text(), drawn, "the drawing is kept")


if __name__ == "__main__":
    if not os.path.exists(os.path.join(browser_test.SITE, "index.html")):
        print(f"no page in {browser_test.SITE}: build it with scripts/web.sh")
        sys.exit(1 if os.environ.get("FUDELINE_WEB_REQUIRED") == "1" else 77)
    unittest.main(argv=sys.argv[:1], verbosity=2)
