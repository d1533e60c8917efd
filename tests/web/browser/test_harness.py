"""The harness on its own small page: what the page tests rely on works."""

from pathlib import Path

from harness import SOURCE_DIR, Browser, BrowserTest

PAGE = Path(__file__).resolve().parent / "selftest_page.html"


class Harness(BrowserTest):
    site_dir = PAGE.parent

    def setUp(self):
        super().setUp()
        self.browser.open(PAGE)

    def test_typing_is_real_key_presses_and_the_box_is_read_and_escaped(self):
        b = self.browser
        b.type_into("txtInput1", "12")
        self.assertEqual(b.value("txtInput1"), "12")
        self.assertEqual(b.script("return window.trustedKeys"), 2)
        b.type_keys("x")  # refused by the page's key handler, which opens its box
        message = b.wait_message()
        self.assertEqual((message.caption, message.text, message.buttons, message.focused),
                         ("Warning", "INPUT ERROR\n\nEnter numeric data only.", ["Ok"], "Ok"))
        b.press("Escape")
        b.wait_until(lambda: b.message() is None, "Escape to close the box")
        self.assertEqual(b.value("txtInput1"), "12")
        b.type_into("txtInput1", "7", replace=True)
        self.assertEqual(b.value("txtInput1"), "7")
        b.press("Tab")
        self.assertEqual(b.active_id(), "txtInput2")

    def test_paste_goes_through_the_clipboard(self):
        b = self.browser
        b.paste_into("txtInput2", "1\r\n0,6\t1")
        self.assertEqual(b.script("return window.pasted"), "1\n0,6\t1")
        self.assertEqual(b.active_id(), "txtInput2")

    def test_compute_answers_the_box_uploads_the_file_and_downloads_the_report(self):
        b = self.browser
        b.click("cmdCompute")
        self.assertEqual(b.wait_message().caption, "Error")
        b.answer("Ok")
        b.type_into("txtInput1", "3")
        b.click("cmdCompute")  # opens the file chooser, which the harness intercepts
        data = SOURCE_DIR / "examples" / "worked_controls.txt"
        b.upload(data)
        b.wait_results()
        self.assertIsNone(b.message())  # the chooser was not cancelled
        text = "Count = 3\n" + data.read_text()
        self.assertEqual(b.reports(), [text])
        self.assertEqual(b.download("cmdSaveOutput", "results.txt"), text.replace("\n", "\r\n").encode())

    def test_a_request_to_the_network_is_seen_and_blocked(self):
        b = self.browser
        b.open(PAGE, "fetch")
        b.wait_until(lambda: b.outside_requests(), "the page's request to show")
        self.assertEqual(b.outside_requests(), ["http://quorv-selftest.invalid/x.js"])
        self.assertEqual(b.wait_until(lambda: b.script("return window.fetched"), "the fetch to end"), "failed")
        b.forget_requests()  # the check in tearDown starts afresh


class FreshProfiles(BrowserTest):
    def test_each_browser_starts_with_empty_storage(self):
        self.browser.open(PAGE)
        self.browser.script("localStorage.setItem('kept', '1')")
        other = Browser()
        try:
            other.open(PAGE)
            self.assertIsNone(other.script("return localStorage.getItem('kept')"))
        finally:
            other.quit()
        self.browser.reload()
        self.assertEqual(self.browser.script("return localStorage.getItem('kept')"), "1")
