#!/usr/bin/python3
"""The page's text-art files, custom board limits, photos opened as drawings
and the text box's face, in headless Chromium against fudeline-cli.

    browser_open_test.py SITE_DIR FUDELINE_CLI

Text art comes from the human-made pieces in shared/aa-public when they are
there (read at run time, never kept) and from the CLI's own text of random
drawings; files are written in both encodings and as MLT and AST pages.
"""
import glob
import os
import subprocess
import sys
import tempfile
import shutil
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import browser_test  # noqa: E402  (the page's server, browser and drawing helpers)
from browser_test import CLI, scribble, write_png  # noqa: E402
from selenium.webdriver.common.action_chains import ActionChains  # noqa: E402
from selenium.webdriver.common.by import By  # noqa: E402
from selenium.webdriver.common.keys import Keys  # noqa: E402
from selenium.webdriver.support.ui import Select  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
AA_DIRS = [os.environ.get("FUDELINE_AA_DIR", ""), "/work/shared/aa-public",
           os.path.join(HERE, "..", "..", "..", "shared", "aa-public")]


def real_pieces(count):
    """Up to `count` human-made pieces (UTF-8 text), where the set is here."""
    for folder in AA_DIRS:
        files = sorted(glob.glob(os.path.join(folder, "*", "*.txt"))) if folder else []
        if files:
            step = max(1, len(files) // count)
            pieces = []
            for path in files[::step][:count]:
                with open(path, encoding="utf-8") as f:
                    pieces.append(f.read())
            return pieces
    return []


class OpenTextTest(browser_test.PageTest):
    def setUp(self):
        super().setUp()
        self.folder = tempfile.mkdtemp(prefix="fudeline-text-")

    def tearDown(self):
        shutil.rmtree(self.folder, ignore_errors=True)

    def write(self, name, data):
        path = os.path.join(self.folder, name)
        with open(path, "wb") as f:
            f.write(data)
        return path

    def cli(self, *args):
        run = subprocess.run([CLI, *args], capture_output=True)
        return run.returncode, run.stdout.decode("utf-8").replace("\r\n", "\n"), run.stderr.decode()

    def message(self):
        return self.driver.find_element(By.ID, "message").text

    def engine_text(self):
        return self.in_page("return state.engine.text(false).replace(/\\r\\n/g, '\\n')")

    def drawn_text(self, seed):
        """The CLI's UTF-8 text of a random drawing (machine-made art)."""
        self.script = []
        with tempfile.NamedTemporaryFile("w", suffix=".replay", delete=False) as f:
            for stroke in scribble(seed, strokes=4):
                f.write(f"down {stroke[0][0] + 12} {stroke[0][1] + 40}\n")
                f.writelines(f"move {x + 12} {y + 40}\n" for x, y in stroke[1:])
                f.write("up\n")
        try:
            return subprocess.run([CLI, "replay", f.name], check=True,
                                  capture_output=True).stdout.decode("utf-8")
        finally:
            os.unlink(f.name)

    def open_text(self, path, page=None):
        # A mark the page's next text replaces, whatever that text is.
        self.driver.execute_script("document.getElementById('message').textContent = '';"
                                   "document.getElementById('text').value = '\u2026';")
        self.driver.find_element(By.ID, "open-text").send_keys(path)
        if page is not None:
            self.wait_for("return document.getElementById('page-dialog') !== null")
            self.driver.find_elements(By.CSS_SELECTOR, "#page-dialog .page-choice")[page].click()
        end = time.time() + 10
        while time.time() < end and self.page_text() == "\u2026" and not self.message():
            time.sleep(0.02)

    def test_opened_text_art_copies_back_as_the_cli_reads_it(self):
        pieces = real_pieces(6) + [self.drawn_text(21), self.drawn_text(22)]
        # The blanks boards give widths, written raw and as references.
        pieces.append("\u3000\u2002\u2003\u2009ｱ\n\u2005／＼&#8202;(´・ω・`)\n\n\n")
        cases = []
        for i, text in enumerate(pieces):
            cases.append((f"piece{i}.txt", text.encode("utf-8"), ()))
            try:
                cases.append((f"piece{i}-sjis.txt", text.encode("cp932"), ()))
            except UnicodeEncodeError:
                pass  # a character without a Shift-JIS form: UTF-8 only
        # Pages of both page files: pieces with a Shift-JIS form, no separator
        # in them, the line break before the next page the separator's.
        sjis = []
        for p in pieces:
            try:
                data = p.replace("\r\n", "\n").rstrip("\n").replace("\n", "\r\n").encode("cp932")
            except UnicodeEncodeError:
                continue
            if b"[SPLIT]" not in data and b"[AA][" not in data and data:
                sjis.append(data)
        sjis = sjis[:3]
        self.assertEqual(len(sjis), 3)
        cases.append(("pages.mlt", b"\r\n[SPLIT]\r\n".join(sjis), ("--page", "2")))
        ast = b"".join(b"[AA][%d]\r\n" % i + p + b"\r\n" for i, p in enumerate(sjis))
        cases.append(("pages.ast", ast, ("--page", "3")))
        for name, data, page in cases:
            with self.subTest(file=name):
                path = self.write(name, data)
                code, expected, err = self.cli("convert", "--from-text", path, *page)
                self.assertEqual(code, 0, err)
                self.open_text(path, int(page[1]) - 1 if page else None)
                self.assertEqual(self.message(), "")
                self.assertEqual(self.page_text(), expected)
        with self.subTest("the Shift-JIS download is the CLI's bytes"):
            self.click("save-text")
            cli = subprocess.run([CLI, "convert", "--from-text", path, *page, "--sjis"],
                                 check=True, capture_output=True).stdout
            self.assertEqual(self.downloaded("fudeline.txt"), cli)
        with self.subTest("opening is one undoable step, and the text can be touched up"):
            opened = self.page_text()
            self.undo()
            self.assertNotEqual(self.page_text(), opened)
            self.redo()
            self.assertEqual(self.page_text(), opened)
            self.draw(scribble(23, strokes=1))
            self.assertNotEqual(self.page_text(), opened)

    def reload(self):
        self.wait_for("return document.body.dataset.saved === '1'")
        self.driver.get(self.url)
        self.wait_for("return document.body.dataset.ready === '1'")

    def test_opened_text_art_and_its_undo_survive_a_reload(self):
        # Blanks boards give widths and an ideograph the face lacks: the ink
        # matched anew would give neither back.
        text = "\u3000\u2002\u2003\u2009ｱ\n\u2005／＼&#8202;(´・ω・`)\n|\u5393| 筆\n"
        path = self.write("kept.txt", text.encode("utf-8"))
        code, expected, err = self.cli("convert", "--from-text", path)
        self.assertEqual(code, 0, err)
        # The browser keeps the drawing and the one undo copy between visits,
        # not a history of steps: the toggling undo is what comes back whole.
        self.single_undo()
        self.draw(scribble(25, strokes=1))
        drawn = self.engine_text()
        self.open_text(path)
        self.assertEqual(self.engine_text(), expected)
        self.reload()
        self.assertEqual(self.engine_text(), expected)
        self.assertEqual(self.page_text(), expected)
        with self.subTest("the undo copy is kept too"):
            self.undo()
            self.assertEqual(self.engine_text(), drawn)
            self.reload()
            self.undo()
            self.assertEqual(self.engine_text(), expected)
        with self.subTest("a touched row is kept as touched, the others as written"):
            self.draw([[(x, 9) for x in range(300, 360, 4)]])
            touched = self.engine_text()
            self.assertNotEqual(touched.split("\n")[0], expected.split("\n")[0])
            self.assertEqual(touched.split("\n")[1:], expected.split("\n")[1:])
            self.reload()
            self.assertEqual(self.engine_text(), touched)
            self.undo()
            self.assertEqual(self.engine_text(), expected)
        with self.subTest("a drawing kept as ink alone still opens"):
            self.wait_for("return document.body.dataset.saved === '1'")
            self.driver.execute_async_script("""
                const done = arguments[arguments.length - 1];
                const key = sessionStorage.getItem('fudeline.tab');  // this tab's drawing
                const open = indexedDB.open('fudeline', 1);
                open.onsuccess = () => {
                  const store = open.result.transaction('session', 'readwrite').objectStore('session');
                  const get = store.get(key);
                  get.onsuccess = () => {
                    delete get.result.text;
                    store.put(get.result, key).onsuccess = () => { open.result.close(); done(); };
                  };
                };""")
            self.reload()
            self.assertEqual(self.message(), "")
            self.assertTrue(self.engine_text().strip())
            self.assertNotEqual(self.engine_text(), expected)

    def test_a_library_of_many_pages_lists_them_as_it_is_scrolled(self):
        pages = [f"page {i} ／＼".encode("cp932") for i in range(1, 1001)]
        path = self.write("library.mlt", b"\r\n[SPLIT]\r\n".join(pages))
        code, expected, err = self.cli("convert", "--from-text", path, "--page", "951")
        self.assertEqual(code, 0, err)
        self.driver.find_element(By.ID, "open-text").send_keys(path)
        self.wait_for("return document.getElementById('page-dialog') !== null")
        count = "return document.querySelectorAll('#page-dialog .page-choice').length"
        self.assertEqual(self.in_page(count), 200)
        # Scrolled to its end, the list goes on, batch by batch, to the page wanted.
        for _ in range(20):
            if self.in_page(count) > 950:
                break
            self.driver.execute_script(
                "document.querySelector('#page-dialog .page-list-end').scrollIntoView()")
            time.sleep(0.1)
        self.assertEqual(self.in_page(count), 1000)
        choice = self.driver.find_elements(By.CSS_SELECTOR, "#page-dialog .page-choice")[950]
        self.assertEqual(choice.text, "page 951 ／＼")
        self.driver.execute_script("arguments[0].scrollIntoView()", choice)
        choice.click()
        self.wait_for("return document.getElementById('page-dialog') === null")
        end = time.time() + 10
        while time.time() < end and self.page_text() != expected:
            time.sleep(0.02)
        self.assertEqual(self.page_text(), expected)

    def test_the_page_chooser_finds_a_page_by_its_label_and_shows_it(self):
        pages = [f"page {i} ／＼".encode("cp932") if i != 951 else "[page 951]\r\n(´・ω・`)".encode("cp932")
                 for i in range(1, 1001)]
        path = self.write("library.mlt", b"\r\n[SPLIT]\r\n".join(pages))
        code, expected, err = self.cli("convert", "--from-text", path, "--page", "951")
        self.assertEqual(code, 0, err)
        self.driver.find_element(By.ID, "open-text").send_keys(path)
        self.wait_for("return document.getElementById('page-dialog') !== null")
        listed = ("return [...document.querySelectorAll('#page-dialog .page-choice')]"
                  ".map((b) => [b.closest('li').value, b.textContent]);")
        preview = "const c = document.getElementById('page-preview'); return [c.width, c.height];"
        # The first page is shown at once: one line of text, as wide as it is drawn.
        width, height = self.in_page(preview)
        self.assertEqual(height, 18)
        self.assertGreater(width, 40)
        search = self.driver.find_element(By.ID, "page-search")
        for typed, found in (("PAGE 95", [95] + list(range(950, 960))), ("zzz", []), ("", None)):
            with self.subTest(search=typed):
                search.send_keys(Keys.CONTROL, "a")
                search.send_keys(typed or Keys.BACKSPACE)
                numbers = [n for n, _ in self.in_page(listed)]
                if found is None:
                    self.assertEqual(numbers, list(range(1, 201)))
                else:
                    self.assertEqual(numbers, found)
        search.send_keys("951")
        self.assertEqual(self.in_page(listed), [[951, "[page 951]"]])
        # Pointed at, the page shows whole: its two lines.
        choice = self.driver.find_element(By.CSS_SELECTOR, "#page-dialog .page-choice")
        ActionChains(self.driver).move_to_element(choice).perform()
        self.assertEqual(self.in_page(preview)[1], 36)
        # Enter in the search opens the first page found.
        search.send_keys(Keys.ENTER)
        self.wait_for("return document.getElementById('page-dialog') === null")
        end = time.time() + 10
        while time.time() < end and self.page_text() != expected:
            time.sleep(0.02)
        self.assertEqual(self.page_text(), expected)

    def test_empty_lines_the_opened_text_began_with_survive_a_reload(self):
        path = self.write("top.txt", "\n\n／＼ (´・ω・`)\n".encode("utf-8"))
        code, expected, err = self.cli("convert", "--from-text", path)
        self.assertEqual(code, 0, err)
        self.assertTrue(expected.startswith("\n\n"), expected)
        self.single_undo()  # what comes back whole after a reload
        self.open_text(path)
        self.assertEqual(self.engine_text(), expected)
        self.reload()
        self.assertEqual(self.engine_text(), expected)
        with self.subTest("and so does the undo copy's"):
            self.draw(scribble(26, strokes=1))
            self.reload()
            self.undo()
            self.assertEqual(self.engine_text(), expected)

    def test_text_art_the_canvas_cannot_take_is_refused_and_the_drawing_kept(self):
        self.draw(scribble(24, strokes=2))
        drawn = self.page_text()
        # The reason as the window words it in Japanese; the CLI refuses the
        # same files (an empty file it reads as empty text).
        for name, data, reason in (
                ("tall.txt", "ｱ\n".encode() * 30,
                 "テキストは 30 行あります。キャンバスに入るのは 29 行までです"),
                ("wide.txt", "＿".encode() * 80, "1 行目の幅は 1280 ピクセルです。キャンバスに"
                 "入るのは 799 ピクセルまでです（この行の 49 文字まで入ります）"),
                ("control.txt", b"a\x07b\n", None),
                ("broken.ast", b"[AA]\r\nx", "AST ファイルではありません。最初の行が「[AA][名前]」ではありません"),
                ("empty.mlt", b"", "ページがありません"),
                ("empty.txt", b"", "テキストがありません（空のファイルです）"),
                ("breaks.txt", b"\xEF\xBB\xBF\r\n\r\n", "テキストがありません（空のファイルです）")):
            with self.subTest(file=name):
                path = self.write(name, data)
                if name not in ("empty.mlt", "empty.txt", "breaks.txt"):
                    page = ("--page", "1") if name.endswith(".ast") else ()
                    self.assertEqual(self.cli("convert", "--from-text", path, *page)[0], 2)
                self.open_text(path)
                self.assertTrue(self.message().startswith("このテキストアートは開けません: "),
                                self.message())
                if reason:
                    self.assertEqual(self.message(), "このテキストアートは開けません: " + reason)
                self.assertEqual(self.engine_text(), drawn, "the drawing is kept")

    def test_the_text_added_as_a_page_is_the_cli_page(self):
        self.draw(scribble(25))
        script = self.script
        for name, existing, page_name in (("art.mlt", "ｱ\r\n[SPLIT]\r\nｲ".encode("cp932"), None),
                                          ("art.ast", "[AA][一]\r\nｱ".encode("cp932"), "二の頁")):
            with self.subTest(file=name):
                path = self.write(name, existing)
                self.driver.find_element(By.ID, "add-page").send_keys(path)
                if page_name is not None:
                    self.wait_for("return document.getElementById('name-dialog') !== null")
                    self.driver.find_element(By.ID, "page-name").send_keys(page_name)
                    self.click("page-name-ok")
                got = self.downloaded(name)
                self.script = script
                copy = self.write("cli-" + name, existing)
                with tempfile.NamedTemporaryFile("w", suffix=".replay", delete=False) as f:
                    f.write("\n".join(script) + "\n")
                options = ["--page-name", page_name] if page_name else []
                subprocess.run([CLI, "replay", f.name, "--append", copy, *options], check=True,
                               capture_output=True)
                os.unlink(f.name)
                with open(copy, "rb") as f:
                    self.assertEqual(got, f.read())

    def test_a_page_file_of_a_long_name_is_saved_under_a_shorter_one(self):
        # A name a file system cannot take, handed over as a chosen file's name:
        # saved under its first characters and its extension, and said.
        self.draw(scribble(26, strokes=1))
        choose = ("const [name] = arguments; const data = new DataTransfer();"
                  "data.items.add(new File([new Uint8Array(0)], name));"
                  "const input = document.getElementById('add-page'); input.files = data.files;"
                  "input.dispatchEvent(new Event('change'));")
        for name, saved in (("a" * 300 + ".mlt", "a" * 196 + ".mlt"),
                            ("あ" * 100 + ".mlt", "あ" * 65 + ".mlt"),
                            ("b" * 196 + ".mlt", "b" * 196 + ".mlt")):
            with self.subTest(name=name[:3], length=len(name)):
                self.driver.execute_script(choose, name)
                self.assertGreater(len(self.downloaded(saved)), 0)
                if saved != name:
                    self.assertEqual(self.driver.find_element(By.ID, "message").text,
                                     f"名前が長すぎるため「{saved}」として保存しました")

    def test_custom_board_limits_by_the_cli_rule(self):
        board = Select(self.driver.find_element(By.ID, "board"))

        def fill(values):
            for field, value in zip(("board-bytes", "board-lines", "board-lineBytes"), values):
                box = self.driver.find_element(By.ID, field)
                box.clear()
                box.send_keys(value)
            self.click("board-ok")

        pbm = self.write("dot.pbm", b"P1 1 1\n1\n")
        board.select_by_value("custom")
        self.wait_for("return document.getElementById('board-dialog') !== null")
        names = ("バイト数", "行数", "1行のバイト数")
        for values in (("abc", "0", "0"), ("100:5", "0", "0"), ("0", "-1", "0"),
                       ("1e3", "0", "0"), ("0", "0", "1000001"), ("", "0", "0")):
            with self.subTest(values=values):
                # The command line refuses the same limits.
                code, _, err = self.cli("convert", "--board", ":".join(values), pbm)
                self.assertNotIn(code, (0, 3), err)
                fill(values)
                wrong = next(i for i, v in enumerate(values) if v != "0")
                error = self.driver.find_element(By.ID, "board-error").text
                self.assertEqual(error, f"{names[wrong]}は 0（上限なし）から 1000000 までの整数で"
                                        f"書いてください（「{values[wrong]}」は使えません）")
        self.click("board-cancel")
        self.assertEqual(board.first_selected_option.get_attribute("value"), "2ch")
        self.assertIsNone(self.driver.execute_script(
            "return document.getElementById('board-dialog')"))
        # Good limits are taken and counted; chosen again, the dialog asks again.
        self.draw(scribble(26, strokes=8))
        for values, shown in ((("100", "5", "0"), "カスタム (100バイト・5行)"),
                              (("0", "0", "40"), "カスタム (1行40バイト)")):
            with self.subTest(values=values):
                board.select_by_value("custom")
                self.wait_for("return document.getElementById('board-dialog') !== null")
                fill(values)
                self.wait_for("return document.getElementById('board-dialog') === null")
                self.assertEqual(board.first_selected_option.text, shown)
                script = self.write("drawn.replay", ("\n".join(self.script) + "\n").encode())
                run = subprocess.run([CLI, "replay", "--board", ":".join(values), script],
                                     capture_output=True, text=True)
                self.assertEqual(run.returncode, 3, run.stderr)  # over a limit
                counter = self.driver.find_element(By.ID, "post-count")
                self.assertIn("over", counter.get_attribute("class"))
        # Kept over a reload.
        self.driver.refresh()
        self.wait_for("return document.body.dataset.ready === '1'")
        self.assertEqual(Select(self.driver.find_element(By.ID, "board"))
                         .first_selected_option.text, "カスタム (1行40バイト)")

    def test_a_photo_opened_as_a_drawing_keeps_the_drawing(self):
        self.draw(scribble(27, strokes=2))
        drawn = self.assert_same_as_cli()
        row = bytes(v for x in range(300) for v in (x % 250 + 3, 120, 200 - x % 150))
        photo = self.write("photo.png", b"")
        write_png(photo, 300, 200, 2, 8, row)
        self.driver.find_element(By.ID, "open-drawing").send_keys(photo)
        self.wait_for("return document.getElementById('message').textContent !== ''")
        self.assertTrue(self.message().startswith("この画像には黒いインクがない"), self.message())
        self.assertEqual(self.page_text(), drawn)
        self.undo()  # nothing was opened: undo takes back the last stroke
        self.assertNotEqual(self.page_text(), drawn)

    def test_a_saved_drawing_opens_again_as_the_text_written(self):
        # Kanji and spacing the decoders would spell otherwise: the ink alone
        # would come back as other text.
        art = "\u3000 \u3000 \uff0f\uffe3\n |\u7b46\u3067\u63cf\u3044\u305f\n\n\uff86\uff6c\uff70 \u25cf"
        self.open_text(self.write("art.txt", art.encode("utf-8")))
        self.draw(scribble(29, strokes=1))
        text = self.page_text()
        self.click("save-drawing")
        path = self.write("drawing.png", self.downloaded("drawing.png"))
        code, desktop, err = self.cli("convert", path)
        self.assertEqual((code, desktop), (0, text), err)
        self.clear(confirm=True)
        self.assertEqual(self.page_text(), "")
        self.driver.find_element(By.ID, "open-drawing").send_keys(path)
        self.wait_for("return document.getElementById('text').value !== ''")
        self.assertEqual(self.page_text(), text)

    def test_the_text_box_shows_the_mona_face(self):
        family = self.driver.execute_script(
            "return getComputedStyle(document.getElementById('text')).fontFamily")
        self.assertTrue(family.startswith('"Fudeline Mona"'), family)
        self.draw(scribble(28))
        self.wait_for("return [...document.fonts].some((f) => f.family.replace(/\"/g, '') === "
                      "'Fudeline Mona' && f.status === 'loaded')")
        # Each character as wide as the engine's face draws it (fudeline-cli
        # render: a picture exactly as wide as its line), which is as wide as
        # boards show it.
        sample = " \u3000ｱﾞﾟ.,'`´・ω(／＼＿|￣⌒人●ー‐ヽ丶∀Дд＜＞从彡ミ从一言葉"
        expected = []
        for c in sample:
            png = subprocess.run([CLI, "render", "-o", "-", "-"], input=c.encode(),
                                 check=True, capture_output=True).stdout
            expected.append(int.from_bytes(png[16:20], "big"))
        widths = self.driver.execute_script(
            "const g = document.createElement('canvas').getContext('2d');"
            "g.font = '16px \"Fudeline Mona\"';"
            "return [...arguments[0]].map((c) => g.measureText(c).width);", sample)
        self.assertEqual(dict(zip(sample, widths)), dict(zip(sample, expected)))


def load_tests(loader, tests, pattern):
    """This file's tests alone, not the page tests it builds on."""
    names = sorted(n for n in vars(OpenTextTest) if n.startswith("test_"))
    return unittest.TestSuite(OpenTextTest(n) for n in names)


if __name__ == "__main__":
    if not os.path.exists(os.path.join(browser_test.SITE, "index.html")):
        print(f"no page in {browser_test.SITE}: build it with scripts/web.sh")
        sys.exit(1 if os.environ.get("FUDELINE_WEB_REQUIRED") == "1" else 77)
    unittest.main(argv=sys.argv[:1], verbosity=2)
