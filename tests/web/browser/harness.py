"""Drives the browser edition's pages in headless Chromium.

Every Browser starts its own Chromium (Debian's, through /usr/bin/chromedriver)
with a fresh profile and download folder, and with the network shut three
ways: host names resolve to nothing, every connection goes to a closed
proxy port, and the page's own http(s)/ws(s) requests are blocked through
the DevTools protocol. The protocol's Network events (the performance log)
are kept, so that a test can check that a page asked for nothing beyond its
own files. Input goes in as real key presses and mouse clicks (WebDriver's
actions), never by setting a field's value; the clipboard is Chromium's own.
"""

import json
import os
import shutil
import tempfile
import time
import unittest
import urllib.parse
from dataclasses import dataclass
from pathlib import Path

from selenium import webdriver
from selenium.common.exceptions import WebDriverException
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

CHROMIUM = os.environ.get("QUORV_CHROMIUM", "/usr/bin/chromium")
CHROMEDRIVER = os.environ.get("QUORV_CHROMEDRIVER", "/usr/bin/chromedriver")
SOURCE_DIR = Path(os.environ.get("QUORV_SOURCE_DIR", Path(__file__).resolve().parents[3]))

# How long a page may take to become ready, and anything else to happen
# after an action. Generous: the machine running the tests may be busy.
READY_TIMEOUT = 30.0
ACTION_TIMEOUT = 10.0

# Schemes a page may load from without the network: its own files and what
# it makes itself. Chromium's own pages (the new-tab page it may load at
# start) fetch chrome:// resources, which no web page can ask for; they
# are not the page's.
LOCAL_SCHEMES = ("file", "data", "blob", "about")
BROWSER_SCHEMES = ("chrome", "chrome-untrusted", "devtools")

KEYS = {"Tab": Keys.TAB, "Enter": Keys.ENTER, "Escape": Keys.ESCAPE,
        "Backspace": Keys.BACKSPACE, "Delete": Keys.DELETE}

MESSAGE_BUTTONS = {"Ok": "msgOk", "Yes": "msgYes", "No": "msgNo"}


@dataclass
class Message:
    """The modal message box as shown: caption, text (lines ended by
    "\\n"), the visible buttons ("Ok", "Yes", "No") and the focused one."""
    caption: str
    text: str
    buttons: list
    focused: str


def normalized_lines(text):
    """Line ends as "\\n" (a box's "\\r" starts a line too), each line
    without trailing blanks, no trailing empty lines: how a box reads."""
    text = text.replace("\r\n", "\n").replace("\r", "\n")
    return "\n".join(line.rstrip() for line in text.split("\n")).rstrip("\n")


class Browser:
    def __init__(self):
        self.work = Path(tempfile.mkdtemp(prefix="quorv-browser-"))
        self.downloads = self.work / "downloads"
        self.downloads.mkdir()
        options = webdriver.ChromeOptions()
        options.binary_location = CHROMIUM
        for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                    f"--user-data-dir={self.work / 'profile'}", "--window-size=1280,1024",
                    "--no-first-run", "--no-default-browser-check", "--disable-extensions",
                    "--disable-background-networking", "--disable-component-update", "--disable-sync",
                    "--disable-default-apps", "--metrics-recording-only",
                    "--host-resolver-rules=MAP * ~NOTFOUND",
                    "--proxy-server=http://127.0.0.1:9", "--proxy-bypass-list=<-loopback>"):
            options.add_argument(arg)
        options.add_experimental_option("prefs", {
            "download.default_directory": str(self.downloads),
            "download.prompt_for_download": False,
        })
        options.set_capability("goog:loggingPrefs", {"performance": "ALL"})
        try:
            self.driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
        except Exception:
            shutil.rmtree(self.work, ignore_errors=True)
            raise
        self.driver.set_script_timeout(ACTION_TIMEOUT)
        self.events = []
        self.url = None

    def quit(self):
        try:
            self.driver.quit()
        finally:
            shutil.rmtree(self.work, ignore_errors=True)

    # --- pages -------------------------------------------------------------

    def _guard_page(self):
        """Blocks the page's network requests and keeps file choosers from
        opening (the tests set the file input's files instead)."""
        self.driver.execute_cdp_cmd("Network.enable", {})
        self.driver.execute_cdp_cmd("Network.setBlockedURLs",
                                    {"urls": ["http://*", "https://*", "ws://*", "wss://*", "ftp://*"]})
        self.driver.execute_cdp_cmd("Page.setInterceptFileChooserDialog", {"enabled": True})

    def open(self, path, query=""):
        """Opens the page at path by its file:// URL and waits until it is
        ready."""
        self._guard_page()
        self.url = Path(path).resolve().as_uri() + (f"?{query}" if query else "")
        self.driver.get(self.url)
        self.wait_ready()

    def reload(self):
        """A second visit: the same page loaded anew, the browser's storage kept."""
        self._guard_page()
        self.driver.get(self.url)
        self.wait_ready()

    def wait_ready(self):
        self.wait_until(lambda: self.script("return document.body && document.body.dataset.ready") == "1",
                        f"{self.url} to set document.body.dataset.ready to \"1\"", READY_TIMEOUT)

    def script(self, code, *args):
        return self.driver.execute_script(code, *args)

    def wait_until(self, condition, what, timeout=ACTION_TIMEOUT):
        deadline = time.monotonic() + timeout
        while True:
            try:
                value = condition()
            except WebDriverException:
                value = None
            if value:
                return value
            if time.monotonic() > deadline:
                raise AssertionError(f"waited {timeout:g} s for {what}")
            time.sleep(0.05)

    # --- network -----------------------------------------------------------

    def _collect_events(self):
        for entry in self.driver.get_log("performance"):
            self.events.append(json.loads(entry["message"])["message"])

    def forget_requests(self):
        """The requests recorded from here on are the ones requested_urls gives."""
        self._collect_events()
        self.events = []

    def requested_urls(self):
        """Every URL the page asked for since open(), in order."""
        self._collect_events()
        urls = []
        for event in self.events:
            if event["method"] == "Network.requestWillBeSent":
                urls.append(event["params"]["request"]["url"])
            elif event["method"] == "Network.webSocketCreated":
                urls.append(event["params"]["url"])
        return urls

    def outside_requests(self, site_dir=None):
        """The requests that are not for the page's own files: any scheme
        but file, data, blob and about, and with site_dir given, a file
        outside that folder."""
        root = Path(site_dir).resolve() if site_dir else None
        outside = []
        for url in self.requested_urls():
            parts = urllib.parse.urlsplit(url)
            if parts.scheme in BROWSER_SCHEMES:
                continue
            if parts.scheme not in LOCAL_SCHEMES:
                outside.append(url)
            elif parts.scheme == "file" and root is not None:
                file = Path(urllib.parse.unquote(parts.path)).resolve()
                if root != file and root not in file.parents:
                    outside.append(url)
        return outside

    # --- input -------------------------------------------------------------

    def element(self, element_id):
        return self.driver.find_element(By.ID, element_id)

    def value(self, element_id):
        return self.element(element_id).get_property("value")

    def active_id(self):
        return self.script("return document.activeElement ? document.activeElement.id : ''")

    def click(self, element_id):
        """A real mouse click in the middle of the element."""
        ActionChains(self.driver).move_to_element(self.element(element_id)).click().perform()

    def type_into(self, element_id, text, replace=False):
        """Clicks into the element and types text key by key; with replace
        its whole content is selected first (Ctrl+A), so the keys replace it."""
        self.click(element_id)
        self.type_keys(text, replace)

    def type_keys(self, text, replace=False):
        """Types text key by key into the element that has the focus."""
        actions = ActionChains(self.driver)
        if replace:
            actions.key_down(Keys.CONTROL).send_keys("a").key_up(Keys.CONTROL)
        actions.send_keys(text).perform()

    def press(self, key):
        """Presses "Tab", "Enter", "Escape" (or another key of KEYS) in
        whatever has the focus; "Shift+Tab" holds Shift."""
        actions = ActionChains(self.driver)
        if key.startswith("Shift+"):
            actions.key_down(Keys.SHIFT).send_keys(KEYS[key[6:]]).key_up(Keys.SHIFT)
        else:
            actions.send_keys(KEYS[key])
        actions.perform()

    def put_on_clipboard(self, text):
        """Puts text on Chromium's clipboard the way a user does: in a tab of
        its own the text is selected in a text area and copied with Ctrl+C.
        The page under test is not touched."""
        page = self.driver.current_window_handle
        self.driver.switch_to.new_window("tab")
        try:
            self.driver.get("data:text/html,<textarea id=clip></textarea>")
            self.script("document.getElementById('clip').value = arguments[0]", text)
            self.click("clip")
            ActionChains(self.driver).key_down(Keys.CONTROL).send_keys("a").send_keys("c") \
                .key_up(Keys.CONTROL).perform()
        finally:
            self.driver.close()
            self.driver.switch_to.window(page)

    def paste_into(self, element_id, text):
        """Ctrl+V in the element with text on the clipboard. Chromium's
        clipboard on Linux gives line ends as "\\n"."""
        self.put_on_clipboard(text)
        self.click(element_id)
        ActionChains(self.driver).key_down(Keys.CONTROL).send_keys("v").key_up(Keys.CONTROL).perform()

    def upload(self, path, element_id="fileInput"):
        """Gives the (hidden) file input the file, as choosing it in the
        file picker or dropping it on the page does: its change event fires."""
        self.element(element_id).send_keys(str(Path(path).resolve()))

    # --- the message box -----------------------------------------------------

    def message(self):
        """The open message box, or None."""
        if not self.script("const b = document.getElementById('msgBox'); return !!(b && b.open)"):
            return None
        buttons = [name for name, button_id in MESSAGE_BUTTONS.items() if self.element(button_id).is_displayed()]
        focused = next((name for name, button_id in MESSAGE_BUTTONS.items() if self.active_id() == button_id), "")
        return Message(self.element("msgCaption").get_property("innerText"),
                       normalized_lines(self.element("msgText").get_property("innerText")), buttons, focused)

    def wait_message(self, timeout=ACTION_TIMEOUT):
        return self.wait_until(self.message, "the message box to open", timeout)

    def answer(self, button):
        """Clicks the box's button ("Ok", "Yes", "No") and waits until it closes."""
        self.click(MESSAGE_BUTTONS[button])
        self.wait_until(lambda: self.message() is None, "the message box to close")

    # --- results and files ---------------------------------------------------

    def results_visible(self):
        return self.element("resultsWindow").is_displayed()

    def wait_results(self):
        self.wait_until(self.results_visible, "the results to be shown")

    def reports(self):
        """The text of each report shown (its <pre class="report">), as it stands."""
        return self.script("return Array.from(document.querySelectorAll('#memoResults pre.report'),"
                           " p => p.textContent)")

    def download(self, element_id, name, timeout=ACTION_TIMEOUT):
        """Clicks the element and returns the bytes of the file name it
        downloads (the download folder is emptied first)."""
        for old in self.downloads.iterdir():
            old.unlink()
        self.click(element_id)
        target = self.downloads / name

        def finished():
            pending = [p for p in self.downloads.iterdir() if p.suffix == ".crdownload"]
            return target.exists() and not pending

        self.wait_until(finished, f"{name} to be downloaded (the folder holds "
                                  f"{sorted(p.name for p in self.downloads.iterdir())})", timeout)
        return target.read_bytes()


class BrowserTest(unittest.TestCase):
    """One Chromium for the test class; each test must leave the network
    untouched: any request but the page's own files fails it."""
    browser = None
    site_dir = None  # set by a class whose pages live in one folder

    @classmethod
    def setUpClass(cls):
        cls.browser = Browser()

    @classmethod
    def tearDownClass(cls):
        if cls.browser is not None:
            cls.browser.quit()

    def setUp(self):
        self.browser.forget_requests()

    def tearDown(self):
        if self.browser.url is not None:
            self.assertEqual(self.browser.outside_requests(self.site_dir), [],
                             "the page asked for something beyond its own files")
