#!/usr/bin/python3
"""The page's words: both locale files hold the same keys with the same
"{name}" marks, every key the page asks for is in them and every key in them
is asked for, and index.html's own Japanese labels (shown before any module
runs) are the Japanese locale's words.

    locale_test.py PAGE_DIR     (web/page)
"""
import html.parser
import json
import os
import re
import sys
import unittest

PAGE = os.path.abspath(sys.argv[1]) if len(sys.argv) > 1 else \
    os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "page")
ENTRY = re.compile(r'^  (\w+): ("(?:[^"\\]|\\.)*"),$')


def read_locale(name):
    """The words of locales/NAME.js: `export default {` then one `key: "text",`
    a line (comments and blank lines between), then `};`."""
    words = {}
    with open(os.path.join(PAGE, "locales", name + ".js"), encoding="utf-8") as f:
        lines = f.read().split("\n")
    body = [line for line in lines if line.strip() and not line.strip().startswith("//")]
    assert body[0] == "export default {" and body[-1] == "};", (name, body[0], body[-1])
    for line in body[1:-1]:
        match = ENTRY.match(line)
        assert match, f"{name}.js: not a key and its text: {line!r}"
        assert match.group(1) not in words, f"{name}.js: {match.group(1)} twice"
        words[match.group(1)] = json.loads(match.group(2))
    return words


class Labels(html.parser.HTMLParser):
    """index.html's elements that name a key: [(attribute, key, shown)], the
    text shown being the element's text (data-i18n) or its aria-label."""

    def __init__(self):
        super().__init__()
        self.found = []
        self.open = []  # [tag, key, text] of data-i18n elements not yet closed

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if "data-i18n-label" in attrs:
            self.found.append(("data-i18n-label", attrs["data-i18n-label"], attrs.get("aria-label")))
        if "data-i18n-title" in attrs:
            self.found.append(("data-i18n-title", attrs["data-i18n-title"], attrs.get("title")))
        if "data-i18n" in attrs:
            self.open.append([tag, attrs["data-i18n"], ""])

    def handle_data(self, data):
        for element in self.open:
            element[2] += data

    def handle_endtag(self, tag):
        if self.open and self.open[-1][0] == tag:
            _, key, text = self.open.pop()
            self.found.append(("data-i18n", key, text))


def page_sources():
    """Every JavaScript file of the page but the locales, by name."""
    sources = {}
    for name in sorted(os.listdir(PAGE)):
        if name.endswith(".js"):
            with open(os.path.join(PAGE, name), encoding="utf-8") as f:
                sources[name] = f.read()
    return sources


class LocaleTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.locales = {name: read_locale(name) for name in ("ja", "en")}
        labels = Labels()
        with open(os.path.join(PAGE, "index.html"), encoding="utf-8") as f:
            labels.feed(f.read())
        cls.labels = labels.found
        cls.sources = page_sources()

    def test_both_locales_hold_the_same_keys_and_marks(self):
        ja, en = self.locales["ja"], self.locales["en"]
        self.assertEqual(sorted(set(ja) - set(en)), [], "keys English lacks")
        self.assertEqual(sorted(set(en) - set(ja)), [], "keys Japanese lacks")
        for key in ja:
            with self.subTest(key=key):
                self.assertEqual(sorted(re.findall(r"\{\w+\}", ja[key])),
                                 sorted(re.findall(r"\{\w+\}", en[key])))

    def test_every_key_asked_for_is_there(self):
        asked = {key: "index.html" for _, key, _ in self.labels}
        for name, text in self.sources.items():
            for key in re.findall(r'\bt\("(\w+)"', text):
                asked.setdefault(key, name)
        self.assertGreater(len(asked), 40)
        missing = {key: where for key, where in asked.items() if key not in self.locales["ja"]}
        self.assertEqual(missing, {})

    def test_every_key_is_asked_for(self):
        # A key is asked for by name: in t("key"), in index.html, or as a
        # string the page hands to t() later (a field's label).
        named = set(re.findall(r'"(\w+)"', "".join(self.sources.values())))
        named |= {key for _, key, _ in self.labels}
        self.assertEqual(sorted(set(self.locales["ja"]) - named), [], "keys nothing shows")

    def test_the_page_s_own_labels_are_the_japanese_words(self):
        ja = self.locales["ja"]
        kinds = {kind for kind, _, _ in self.labels}
        self.assertEqual(kinds, {"data-i18n", "data-i18n-label", "data-i18n-title"})
        # A tooltip (data-i18n-title) is set once the page runs: index.html has none.
        for kind, key, shown in self.labels:
            if kind != "data-i18n-title":
                with self.subTest(kind=kind, key=key):
                    self.assertEqual(shown, ja.get(key))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
