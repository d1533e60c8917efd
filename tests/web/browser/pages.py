"""What the page tests share: the built site, a first visit to a page,
the golden reports and the worked example."""

import os
from pathlib import Path

from harness import SOURCE_DIR, BrowserTest

SITE_DIR = Path(os.environ.get("QUORV_SITE_DIR", SOURCE_DIR / "build-web" / "site"))
GOLDEN_DIR = SOURCE_DIR / "tests" / "worksheet" / "golden"


def golden(name):
    """The lines of a golden report (each ended by LF in the file)."""
    return (GOLDEN_DIR / name).read_text(encoding="utf-8").split("\n")[:-1]


def saved_output(lines):
    """The bytes Save Output writes for a report, as the desktop writes
    them: CR LF after every line, a last empty line left out."""
    if lines and lines[-1] == "":
        lines = lines[:-1]
    return "".join(line + "\r\n" for line in lines).encode("utf-8")


def shown_lines(report):
    """A shown report's lines; the blank lines at its end are not compared
    (Save Output's bytes are)."""
    return report.rstrip("\n").split("\n")


def without_trailing_blank_lines(lines):
    return "\n".join(lines).rstrip("\n").split("\n")


class PageTest(BrowserTest):
    """Each test starts on a first visit to the page: its storage emptied."""
    site_dir = SITE_DIR
    page = None

    def setUp(self):
        super().setUp()
        self.first_visit()

    def first_visit(self):
        path = SITE_DIR / self.page
        if not path.is_file():
            self.fail(f"{path} is not there: build the site with ./dev web")
        self.browser.open(path)
        self.browser.script("localStorage.clear(); sessionStorage.clear()")
        self.browser.reload()

    def assert_box(self, caption, text, buttons=("Ok",)):
        """The box is open with that caption, text (a "\\r" is a line end)
        and buttons."""
        message = self.browser.wait_message()
        self.assertEqual((message.caption, message.text, message.buttons),
                         (caption, "\n".join(line.rstrip() for line in text.replace("\r", "\n").split("\n")),
                          list(buttons)))
        return message

    def assert_report(self, expected):
        """One report is shown, with the lines expected, and its figure and
        summary stand under it."""
        b = self.browser
        b.wait_results()
        self.assertFalse(b.element("worksheet").is_displayed())
        reports = b.reports()
        self.assertEqual(len(reports), 1)
        self.assertEqual(shown_lines(reports[0]), without_trailing_blank_lines(expected))
        following = b.script("const pre = document.querySelector('#memoResults pre.report');"
                             "const figure = pre.nextElementSibling;"
                             "const after = figure && figure.nextElementSibling;"
                             "const summary = figure && (figure.querySelector('p.summary') ||"
                             " (after && after.matches('p.summary') ? after : null));"
                             "return [figure ? figure.tagName : '', figure ? figure.querySelectorAll('svg').length : 0,"
                             " summary ? summary.textContent : '']")
        self.assertEqual(following[:2], ["FIGURE", 1])
        self.assertTrue(following[2].startswith("After allowing for"), following[2])
