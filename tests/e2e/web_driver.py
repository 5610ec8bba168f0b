"""The web edition as a person uses it: the built site served on 127.0.0.1 by a plain static
server (or opened from disk), in Debian's headless Chromium with a private profile, driven
through WebDriver with real key and pointer events. It offers what the X driver of the desktop
editions offers, so that the same scenarios run against the page."""

import functools
import http.server
import json
import os
import shutil
import tempfile
import threading
import time

from selenium import webdriver
from selenium.common.exceptions import StaleElementReferenceException
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions.action_builder import ActionBuilder
from selenium.webdriver.common.keys import Keys

SITE = os.environ.get("VELANDRA_WEB")
# Generous: a wait for an event on a busy machine; a test that passes waits far less.
TIMEOUT = 60

KEYS = {"Return": Keys.RETURN, "KP_Enter": Keys.ENTER, "Escape": Keys.ESCAPE, "Tab": Keys.TAB,
        "space": Keys.SPACE, "End": Keys.END, "Home": Keys.HOME, "shift": Keys.SHIFT,
        "ctrl": Keys.CONTROL}


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    """Serves the site with no MIME type of its own for WebAssembly, as a stock server may."""

    def log_message(self, *arguments):
        pass


class SiteServer:
    """The site on a free port of 127.0.0.1, and the paths it was asked for."""

    def __init__(self, root=SITE):
        self.requests = []
        server = self

        class Handler(QuietHandler):
            def do_GET(self):
                server.requests.append(self.path)
                super().do_GET()

        self.httpd = http.server.ThreadingHTTPServer(
            ("127.0.0.1", 0), functools.partial(Handler, directory=root))
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()
        self.url = f"http://127.0.0.1:{self.httpd.server_address[1]}/"

    def stop(self):
        self.httpd.shutdown()
        self.httpd.server_close()


class Browser:
    """One headless Chromium with a private profile, logging the console and the network."""

    def __init__(self):
        self.profile = tempfile.mkdtemp(prefix="velandra-chromium-")
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic",
                     "--no-first-run", "--disable-background-networking",
                     "--disable-component-update", "--disable-sync",
                     "--disable-dev-shm-usage", "--window-size=800,700",
                     f"--user-data-dir={self.profile}"):
            options.add_argument(flag)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL", "performance": "ALL"})
        self.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        self.driver.set_script_timeout(TIMEOUT)

    def stop(self):
        self.driver.quit()
        shutil.rmtree(self.profile, ignore_errors=True)


class WebVelandra:
    """One visit to the page, and what a person can do on it."""

    def __init__(self, browser, url, locale="en_US.UTF-8", ratio=1):
        self.driver = browser.driver
        # The browser's preferred language, as navigator.language and Intl give it to the page.
        language = locale.split(".")[0].replace("_", "-")
        self.cdp("Emulation.setUserAgentOverride",
                 userAgent=self.script("return navigator.userAgent"), acceptLanguage=language)
        self.cdp("Emulation.setLocaleOverride", locale=language)
        self.cdp("Emulation.setDeviceMetricsOverride", width=800, height=700,
                 deviceScaleFactor=ratio, mobile=False)
        self.driver.get_log("browser")
        self.driver.get_log("performance")
        self.driver.get(url)
        self.wait_for("document.documentElement.dataset.velandra === 'ready'")
        self.size = tuple(self.script(
            "const r = document.getElementById('Client').getBoundingClientRect();"
            "return [r.width, r.height];"))

    def cdp(self, command, **parameters):
        return self.driver.execute_cdp_cmd(command, parameters)

    def script(self, code, *arguments):
        return self.driver.execute_script(code, *arguments)

    def wait_for(self, condition, *arguments):
        deadline = time.monotonic() + TIMEOUT
        while not self.script("return " + condition, *arguments):
            if time.monotonic() > deadline:
                raise AssertionError("timed out waiting for " + condition)
            time.sleep(0.02)

    def client_origin(self):
        return self.script("const r = document.getElementById('Client').getBoundingClientRect();"
                           "return [r.left, r.top];")

    @staticmethod
    def centre(element):
        from e2e_test import centre
        return centre(element)

    def click(self, element):
        """A pointer click at the element's place in the form's table."""
        x, y = self.centre(element)
        left, top = self.client_origin()
        actions = ActionBuilder(self.driver)
        actions.pointer_action.move_to_location(int(left + x), int(top + y)).click()
        actions.perform()

    def type(self, text):
        ActionChains(self.driver).send_keys(text).perform()

    def keys(self, *names):
        for name in names:
            *modifiers, key = name.split("+")
            chain = ActionChains(self.driver)
            for modifier in modifiers:
                chain.key_down(KEYS[modifier])
            chain.send_keys(KEYS.get(key, key))
            for modifier in reversed(modifiers):
                chain.key_up(KEYS[modifier])
            chain.perform()

    def enter(self, peso, altezza):
        self.click("TxtPeso")
        self.type(peso)
        self.click("TxtAltezza")
        self.type(altezza)

    def paste(self, box, text):
        """Puts a text in a box as a paste does: one insertion of the whole text over what the box
        holds. A lone surrogate, which WebDriver cannot carry, is put together in the page."""
        self.click(box)
        self.keys("End", "shift+Home")
        if any(0xD800 <= ord(c) <= 0xDFFF for c in text):
            self.script("document.execCommand('insertText', false,"
                        " String.fromCharCode(...arguments[0]))",
                        [ord(c) for c in text])
        else:
            self.cdp("Input.insertText", text=text)

    def read(self, box):
        return self.script("return document.getElementById(arguments[0]).value", box)

    def windows_named(self, title):
        """The open messages with this title."""
        return self.script(
            "return [...document.querySelectorAll('dialog')].filter(d => d.open && "
            "d.querySelector('.caption').textContent === arguments[0])", title)

    def find_window(self, title):
        deadline = time.monotonic() + TIMEOUT
        while not self.windows_named(title):
            if time.monotonic() > deadline:
                raise AssertionError(f"no message titled {title!r}")
            time.sleep(0.02)
        return self.windows_named(title)[0]

    def answer_message(self, key):
        from e2e_test import MESSAGE_TITLE
        message = self.find_window(MESSAGE_TITLE)
        text = self.script("return document.getElementById('MessageText').textContent")
        self.keys(key)
        self.wait_closed(message)
        return text

    def wait_closed(self, message):
        deadline = time.monotonic() + TIMEOUT
        while self.open(message):
            if time.monotonic() > deadline:
                raise AssertionError("the message stayed open")
            time.sleep(0.02)

    def open(self, message):
        """Whether a message is still on the page; each message is its own element."""
        try:
            return self.script("return arguments[0].isConnected", message)
        except StaleElementReferenceException:
            return False

    def wait_until_kept_offline(self):
        """Waits until the service worker keeps the site and answers for this page."""
        self.driver.execute_async_script(
            "navigator.serviceWorker.ready.then(() => arguments[arguments.length - 1]())")
        if not self.script("return navigator.serviceWorker.controller !== null"):
            self.driver.refresh()
            self.wait_for("document.documentElement.dataset.velandra === 'ready'")
        self.wait_for("navigator.serviceWorker.controller !== null")

    def poll(self):
        """0 once the page has ended as a program ends, None while it runs."""
        return 0 if self.script("return !!document.getElementById('Closed')") else None

    def exit_status(self):
        self.wait_for("!!document.getElementById('Closed')")
        return 0

    def console(self):
        """What the page wrote to the console at warning level or above since the last call."""
        return [entry for entry in self.driver.get_log("browser")
                if entry["level"] in ("WARNING", "SEVERE")]

    def requests(self):
        """The network requests the page started since the last call."""
        sent = []
        for entry in self.driver.get_log("performance"):
            message = json.loads(entry["message"])["message"]
            if message["method"] == "Network.requestWillBeSent":
                sent.append(message["params"]["request"]["url"])
        return sent

    def end(self):
        pass
