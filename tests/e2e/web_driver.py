"""The web edition as a person uses it: the built site served on 127.0.0.1 by a plain static
server (or opened from disk), in one of three engines with a private profile (VELANDRA_BROWSER:
Debian's headless Chromium through chromedriver, Firefox ESR over WebDriver BiDi, WebKitGTK's
MiniBrowser through WebKitWebDriver), driven with real key and pointer events. It offers what
the X driver of the desktop editions offers, so that the same scenarios run against the page."""

import asyncio
import functools
import glob
import gzip
import http.server
import itertools
import json
import os
import pathlib
import shutil
import socket
import subprocess
import tempfile
import threading
import time
import unittest

import websockets
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


def utf16_units(character):
    """A character as the UTF-16 code units JavaScript strings hold (a lone surrogate as itself)."""
    code = ord(character)
    if code < 0x10000:
        return [code]
    code -= 0x10000
    return [0xD800 + (code >> 10), 0xDC00 + (code & 0x3FF)]


def program_script(page):
    """The program's script in the page's text: the last, after the form it takes over."""
    start = page.rindex("<script>")
    return page[start:page.index("</script>", start) + len("</script>")]


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    """Serves the site with no MIME type of its own for WebAssembly, as a stock server may."""

    def log_message(self, *arguments):
        pass


@functools.cache
def gzipped(file):
    """A file's bytes gzip-compressed, once for all its requests."""
    return gzip.compress(file.read_bytes(), 9, mtime=0)


class SiteServer:
    """The site on a free port of 127.0.0.1, and the paths it was asked for; paths that start
    with `refuse` are answered 404, the files `alter` maps to (old, new) pairs are sent with
    each old text (which they must hold) replaced by the new, with `no_store` nothing may be
    kept, and with `compress` each file goes gzip-compressed to a browser that takes it, as a
    web server sends text."""

    def __init__(self, root=SITE, refuse=None, alter=None, no_store=False, compress=False):
        self.requests = []
        server = self

        class Handler(QuietHandler):
            def end_headers(self):
                if no_store:
                    self.send_header("Cache-Control", "no-store")
                super().end_headers()

            def do_GET(self):
                server.requests.append(self.path)
                path = "/index.html" if self.path == "/" else self.path
                if refuse and self.path.startswith(refuse):
                    self.send_error(404)
                elif alter and path in alter:
                    text = pathlib.Path(root, path[1:]).read_text()
                    for old, new in alter[path]:
                        assert old in text, f"{path} does not hold {old!r}"
                        text = text.replace(old, new)
                    self.send_body(path, text.encode())
                elif (compress and "gzip" in self.headers.get("Accept-Encoding", "")
                      and pathlib.Path(root, path[1:]).is_file()):
                    self.send_body(path, gzipped(pathlib.Path(root, path[1:])), "gzip")
                else:
                    super().do_GET()

            def send_body(self, path, body, encoding=None):
                self.send_response(200)
                self.send_header("Content-Type", self.guess_type(path))
                if encoding:
                    self.send_header("Content-Encoding", encoding)
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)

        self.httpd = http.server.ThreadingHTTPServer(
            ("127.0.0.1", 0), functools.partial(Handler, directory=root))
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()
        self.url = f"http://127.0.0.1:{self.httpd.server_address[1]}/"

    def stop(self):
        self.httpd.shutdown()
        self.httpd.server_close()


class Unsupported(unittest.SkipTest):
    """What an engine's driver cannot do: the check that needs it is skipped, with the reason."""


class SeleniumPage:
    """What every engine driven through Selenium does alike."""

    def script(self, code, *arguments):
        return self.driver.execute_script(code, *arguments)

    def refresh(self):
        self.driver.refresh()

    def perform(self, keys=(), pointer=None):
        """Presses each (modifiers, key) in turn, or clicks at a point of the viewport."""
        if pointer:
            actions = ActionBuilder(self.driver)
            actions.pointer_action.move_to_location(*pointer).click()
            actions.perform()
        for modifiers, key in keys:
            chain = ActionChains(self.driver)
            for modifier in modifiers:
                chain.key_down(modifier)
            chain.send_keys(key)
            for modifier in reversed(modifiers):
                chain.key_up(modifier)
            chain.perform()


class Chromium(SeleniumPage):
    """One headless Chromium with a private profile, driven through chromedriver, logging the
    console and the network; the language, pixel ratio and device are set per visit through
    DevTools."""

    name = "chromium"

    def __init__(self, flags=(), display=None):
        """Headless, or windowed on the X server whose environment `display` is, where it gives
        screen readers the page."""
        self.profile = tempfile.mkdtemp(prefix="velandra-chromium-")
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        if display:
            flags = ["--force-renderer-accessibility", *flags]
            # No bar saying that software drives the browser: it would take the focus.
            options.add_experimental_option("excludeSwitches", ["enable-automation"])
        else:
            flags = ["--headless=new", *flags]
        for flag in ("--no-sandbox", "--disable-gpu", "--disable-quic",
                     "--no-first-run", "--disable-background-networking",
                     "--disable-component-update", "--disable-sync",
                     "--disable-dev-shm-usage", "--window-size=800,700",
                     f"--user-data-dir={self.profile}", *flags):
            options.add_argument(flag)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL", "performance": "ALL"})
        self.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver", env=display),
                                       options=options)
        self.driver.set_script_timeout(TIMEOUT)

    def cdp(self, command, **parameters):
        return self.driver.execute_cdp_cmd(command, parameters)

    def visit(self, url, language, ratio, device):
        self.cdp("Emulation.setUserAgentOverride",
                 userAgent=self.driver.execute_script("return navigator.userAgent"),
                 acceptLanguage=language)
        # Only the preferred language: the browser's default locale (Intl's, with no language
        # named) stays English, as where a browser's language setting differs from its own.
        self.display(device or (800, 700, ratio, False))
        self.driver.get_log("browser")
        self.driver.get_log("performance")
        self.driver.get(url)
        return self

    def display(self, device):
        """The viewport, in CSS pixels, its pixel ratio, and whether a finger is the pointer."""
        width, height, ratio, mobile = device
        self.cdp("Emulation.setDeviceMetricsOverride", width=width, height=height,
                 deviceScaleFactor=ratio, mobile=mobile)
        self.cdp("Emulation.setTouchEmulationEnabled", enabled=mobile, maxTouchPoints=5)

    def zoom(self, ratio):
        raise Unsupported("chromium: a pixel ratio set through DevTools changes no media query "
                          "that the page listens to, as the browser's zoom does")

    def tap(self, x, y):
        """A finger put down and lifted at a point of the viewport."""
        self.cdp("Input.dispatchTouchEvent", type="touchStart", touchPoints=[{"x": x, "y": y}])
        self.cdp("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])

    def forced_colours(self, active):
        """A dark high-contrast scheme, as Windows' own, or none."""
        self.cdp("Emulation.setEmulatedMedia",
                 features=[{"name": "forced-colors", "value": "active"},
                           {"name": "prefers-color-scheme", "value": "dark"}] if active else [])

    def console(self):
        return [entry for entry in self.driver.get_log("browser")
                if entry["level"] in ("WARNING", "SEVERE")]

    def requests(self):
        sent = []
        for entry in self.driver.get_log("performance"):
            message = json.loads(entry["message"])["message"]
            if message["method"] == "Network.requestWillBeSent":
                sent.append(message["params"]["request"]["url"])
        return sent

    def stop(self):
        self.driver.quit()
        shutil.rmtree(self.profile, ignore_errors=True)


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def wait_for_port(port, process):
    deadline = time.monotonic() + TIMEOUT
    while True:
        try:
            socket.create_connection(("127.0.0.1", port), timeout=1).close()
            return
        except OSError:
            if process.poll() is not None or time.monotonic() > deadline:
                raise RuntimeError(f"{process.args[0]} did not listen on {port}")
            time.sleep(0.05)


def language_of(locale):
    """The browser's languages for a locale, or for a list of them ("C.UTF-8,it_IT.UTF-8")."""
    return ",".join(part.split(".")[0].replace("_", "-") for part in locale.split(","))


class PerLanguage:
    """Engines whose page language is set when the browser starts: one browser a language,
    started on first use."""

    def __init__(self):
        self.browsers = {}

    def visit(self, url, language, ratio, device):
        if device:
            raise Unsupported(f"{self.name}: no touch device emulation in its driver")
        if "," in language and self.name == "webkit":
            raise Unsupported("webkit: one language, from the LANG it is started with")
        if language not in self.browsers:
            self.browsers[language] = self.start(language)
        page = self.browsers[language]
        page.open(url, ratio)
        return page

    def stop(self):
        for browser in self.browsers.values():
            browser.stop()


class WebKitGTK(PerLanguage):
    """WebKitGTK's MiniBrowser, driven by WebKitWebDriver on a private X server; its
    navigator.language follows the LANG it was started with (C.UTF-8 gives "C")."""

    name = "webkit"

    def __init__(self, display=None):
        super().__init__()
        from e2e_test import XServer
        self.server = None if display else XServer()
        self.display = display or self.server.env

    def start(self, language):
        return WebKitPage(self.display, language)

    def stop(self):
        super().stop()
        if self.server:
            self.server.stop()


class WebKitPage(SeleniumPage):
    """One MiniBrowser in one language, and what its driver can do."""

    def __init__(self, display, language):
        self.port = free_port()
        locale = "C.UTF-8" if language == "C" else language.replace("-", "_") + ".UTF-8"
        env = dict(display, LANG=locale, LC_ALL=locale)
        self.process = subprocess.Popen(["/usr/bin/WebKitWebDriver", f"--port={self.port}"],
                                        env=env, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        wait_for_port(self.port, self.process)
        options = webdriver.WebKitGTKOptions()
        options.binary_location = glob.glob("/usr/lib/*/webkit2gtk-4.1/MiniBrowser")[0]
        options.add_argument("--automation")
        self.driver = webdriver.Remote(command_executor=f"http://127.0.0.1:{self.port}",
                                       options=options)
        self.driver.set_script_timeout(TIMEOUT)

    def open(self, url, ratio):
        if ratio != 1:
            raise Unsupported("webkit: its driver cannot set the device pixel ratio")
        self.driver.get(url)

    def forced_colours(self, active):
        raise Unsupported("webkit: no forced-colours emulation in its driver")

    def display(self, device):
        raise Unsupported("webkit: no touch device emulation in its driver")

    def zoom(self, ratio):
        raise Unsupported("webkit: its driver cannot change the pixel ratio")

    def console(self):
        raise Unsupported("webkit: its driver does not report the console")

    def requests(self):
        raise Unsupported("webkit: its driver does not report the network")

    def stop(self):
        self.driver.quit()
        self.process.terminate()
        self.process.wait(timeout=TIMEOUT)


class Firefox(PerLanguage):
    """Firefox ESR, driven over WebDriver BiDi, the protocol it speaks itself, in a window on a
    private X server (or the one whose environment `display` is), where a test can press real
    keys."""

    name = "firefox"

    def __init__(self, display=None):
        super().__init__()
        from e2e_test import XServer
        self.server = None if display else XServer()
        self.display = display or self.server.env

    def start(self, language):
        return FirefoxPage(language, self.display)

    def stop(self):
        super().stop()
        if self.server:
            self.server.stop()


class Node:
    """A page's element, as BiDi hands it over and takes it back."""

    def __init__(self, shared_id):
        self.shared_id = shared_id


class BidiError(Exception):
    """An error answered over BiDi, or a script's exception."""


class FirefoxPage:
    """One headless Firefox with a fresh profile that turns off every network feature and sets
    the language; a small WebDriver BiDi client over python3-websockets."""

    # Prefs beyond those the remote agent sets itself for automation.
    PREFS = {
        "app.normandy.enabled": False, "app.update.auto": False,
        "browser.discovery.enabled": False, "browser.newtabpage.enabled": False,
        "browser.safebrowsing.downloads.remote.enabled": False,
        "browser.safebrowsing.malware.enabled": False,
        "browser.safebrowsing.phishing.enabled": False,
        "browser.shell.checkDefaultBrowser": False, "browser.startup.page": 0,
        "datareporting.healthreport.uploadEnabled": False,
        "datareporting.policy.dataSubmissionEnabled": False,
        "extensions.update.enabled": False, "messaging-system.rsexperimentloader.enabled": False,
        "network.captive-portal-service.enabled": False,
        "network.connectivity-service.enabled": False, "network.dns.disablePrefetch": True,
        "network.prefetch-next": False, "services.settings.server": "http://127.0.0.1:1/",
        "toolkit.telemetry.enabled": False, "toolkit.telemetry.server": "",
        "remote.active-protocols": 1,
    }

    def __init__(self, language, display=None):
        """Headless, or windowed on the X server whose environment `display` is."""
        self.profile = tempfile.mkdtemp(prefix="velandra-firefox-")
        prefs = dict(self.PREFS, **{"intl.accept_languages": language})
        with open(os.path.join(self.profile, "user.js"), "w", encoding="utf-8") as user:
            for name, value in prefs.items():
                user.write(f"user_pref({json.dumps(name)}, {json.dumps(value)});\n")
        port = free_port()
        self.x_display = display
        self.process = subprocess.Popen(
            ["firefox-esr", *([] if display else ["--headless"]), "--no-remote", "--profile",
             self.profile, f"--remote-debugging-port={port}"],
            env=dict(display or os.environ, MOZ_CRASHREPORTER_DISABLE="1"),
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for_port(port, self.process)
        self.loop = asyncio.new_event_loop()
        threading.Thread(target=self.loop.run_forever, daemon=True).start()
        self.pending = {}
        self.events = []
        self.ids = itertools.count(1)

        async def connect():
            return await websockets.connect(f"ws://127.0.0.1:{port}/session", max_size=None)

        self.socket = self.run(connect())
        asyncio.run_coroutine_threadsafe(self.listen(), self.loop)
        self.command("session.new", capabilities={})
        self.context = self.command("browsingContext.getTree")["contexts"][0]["context"]
        self.command("session.subscribe",
                     events=["log.entryAdded", "network.beforeRequestSent"])

    def run(self, coroutine):
        return asyncio.run_coroutine_threadsafe(coroutine, self.loop).result(TIMEOUT)

    async def listen(self):
        async for raw in self.socket:
            message = json.loads(raw)
            if "id" in message:
                self.pending.pop(message["id"]).set_result(message)
            else:
                self.events.append(message)

    def command(self, method, **parameters):
        async def send():
            number = next(self.ids)
            answer = self.loop.create_future()
            self.pending[number] = answer
            await self.socket.send(json.dumps(
                {"id": number, "method": method, "params": parameters}))
            return await answer
        answer = self.run(send())
        if answer.get("type") == "error":
            raise BidiError(f"{method}: {answer['error']}: {answer.get('message')}")
        return answer["result"]

    def open(self, url, ratio):
        self.zoom(ratio)
        self.events.clear()
        self.command("browsingContext.navigate", context=self.context, url=url,
                     wait="complete")

    def refresh(self):
        self.command("browsingContext.reload", context=self.context, wait="complete")

    def script(self, code, *arguments):
        answer = self.command(
            "script.callFunction", functionDeclaration="function () {" + code + "}",
            arguments=[self.local(argument) for argument in arguments],
            target={"context": self.context}, awaitPromise=True)
        if answer["type"] == "exception":
            raise BidiError(answer["exceptionDetails"]["text"])
        return self.remote(answer["result"])

    def local(self, value):
        if isinstance(value, Node):
            return {"sharedId": value.shared_id}
        if value is None:
            return {"type": "null"}
        if isinstance(value, bool):
            return {"type": "boolean", "value": value}
        if isinstance(value, (int, float)):
            return {"type": "number", "value": value}
        if isinstance(value, str):
            return {"type": "string", "value": value}
        if isinstance(value, dict):
            return {"type": "object",
                    "value": [[key, self.local(item)] for key, item in value.items()]}
        return {"type": "array", "value": [self.local(item) for item in value]}

    def remote(self, value):
        kind = value["type"]
        if kind in ("undefined", "null"):
            return None
        if kind == "node":
            return Node(value["sharedId"])
        if kind == "array":
            return [self.remote(item) for item in value.get("value", [])]
        if kind == "object":
            return {key: self.remote(item) for key, item in value.get("value", [])}
        return value.get("value")

    def perform(self, keys=(), pointer=None):
        if pointer:
            actions = [{"type": "pointer", "id": "mouse", "parameters": {"pointerType": "mouse"},
                        "actions": [{"type": "pointerMove", "x": pointer[0], "y": pointer[1]},
                                    {"type": "pointerDown", "button": 0},
                                    {"type": "pointerUp", "button": 0}]}]
            self.command("input.performActions", context=self.context, actions=actions)
        for modifiers, key in keys:
            presses = ([{"type": "keyDown", "value": m} for m in modifiers] +
                       [{"type": "keyDown", "value": key}, {"type": "keyUp", "value": key}] +
                       [{"type": "keyUp", "value": m} for m in reversed(modifiers)])
            self.command("input.performActions", context=self.context,
                         actions=[{"type": "key", "id": "keyboard", "actions": presses}])
        self.command("input.releaseActions", context=self.context)

    def press(self, key):
        """A real key press on the X server (an xdotool key name), for what BiDi's own does not
        do: Enter or Space on a focused button produce no click. The window raised and a click on
        the caption first give it and the page the keyboard, as a person's would, and the focus
        is put back where it was. Returns once the page has handled the key's release."""
        def after(event):
            self.script(f"window.velandraAfter = new Promise(done => addEventListener("
                        f"'{event}', () => setTimeout(done), {{once: true, capture: true}}))")
        focused = self.script("return document.activeElement")
        x, y = self.script(
            "const r = document.getElementById('Caption').getBoundingClientRect();"
            "return [mozInnerScreenX + r.left + 2, mozInnerScreenY + r.top + 2];")
        after("mouseup")
        # This browser's window made the active one, above the others on the same screen.
        [window] = subprocess.run(
            ["xdotool", "search", "--onlyvisible", "--pid", str(self.process.pid)],
            env=self.x_display, check=True, timeout=TIMEOUT, capture_output=True,
            text=True).stdout.split()
        subprocess.run(["xdotool", "windowactivate", "--sync", window, "mousemove", "--sync",
                        str(int(x)), str(int(y)), "click", "1"],
                       env=self.x_display, check=True, timeout=TIMEOUT)
        self.script("return window.velandraAfter")
        self.script("arguments[0].focus()", focused)
        after("keyup")
        subprocess.run(["xdotool", "key", "--clearmodifiers", key], env=self.x_display,
                       check=True, timeout=TIMEOUT)
        self.script("return window.velandraAfter")

    def zoom(self, ratio):
        """The pixel ratio, as the browser's zoom sets it."""
        self.command("browsingContext.setViewport", context=self.context,
                     viewport={"width": 800, "height": 700}, devicePixelRatio=ratio)

    def display(self, device):
        raise Unsupported("firefox: no touch device emulation over BiDi")

    def forced_colours(self, active):
        raise Unsupported("firefox: no forced-colours emulation over BiDi")

    def console(self):
        return [event["params"] for event in self.take("log.entryAdded")
                if event["params"]["level"] in ("warn", "error")]

    def requests(self):
        return [event["params"]["request"]["url"]
                for event in self.take("network.beforeRequestSent")]

    def take(self, method):
        taken = [event for event in self.events if event["method"] == method]
        self.events = [event for event in self.events if event["method"] != method]
        return taken

    def stop(self):
        try:
            self.command("browser.close")
        except Exception:
            self.process.terminate()
        self.process.wait(timeout=TIMEOUT)
        shutil.rmtree(self.profile, ignore_errors=True)


ENGINES = {"chromium": Chromium, "firefox": Firefox, "webkit": WebKitGTK}
ENGINE = os.environ.get("VELANDRA_BROWSER", "chromium")


def Engine(display=None):
    """The browser engine the tests run in (VELANDRA_BROWSER), with a private profile: headless,
    or windowed on the X server whose environment `display` is."""
    return ENGINES[ENGINE](display=display)


class WebVelandra:
    """One visit to the page, and what a person can do on it."""

    def __init__(self, browser, url, locale="en_US.UTF-8", ratio=1, device=None,
                 before_ready=None):
        # The browser's preferred language, as navigator.language and Intl give it to the page.
        # A device is (width, height, pixel ratio, touch) in CSS pixels. What a person does
        # before the program is ready, `before_ready(self)` does.
        self.page = browser.visit(url, language_of(locale), ratio, device)
        self.engine = browser.name
        if before_ready:
            before_ready(self)
        self.wait_for("document.documentElement.dataset.velandra === 'ready'")
        self.size = tuple(self.script(
            "const r = document.getElementById('Client').getBoundingClientRect();"
            "return [r.width, r.height];"))

    def script(self, code, *arguments):
        return self.page.script(code, *arguments)

    def cdp(self, command, **parameters):
        """Chromium's DevTools, for what only they can tell."""
        return self.page.cdp(command, **parameters)

    @property
    def driver(self):
        return self.page.driver

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
        self.page.perform(pointer=(int(left + x), int(top + y)))

    def type(self, text):
        self.page.perform(keys=[((), character) for character in text])

    def keys(self, *names):
        for name in names:
            if self.engine == "firefox" and name in ("Return", "KP_Enter", "space") and \
                    self.script("return document.activeElement.localName === 'button'"):
                self.page.press(name)
                continue
            *modifiers, key = name.split("+")
            self.page.perform(keys=[([KEYS[m] for m in modifiers], KEYS.get(key, key))])

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
        self.script("document.execCommand('insertText', false,"
                    " String.fromCharCode(...arguments[0]))",
                    [unit for c in text for unit in utf16_units(c)])

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
        except (StaleElementReferenceException, BidiError):
            return False

    def wait_until_kept_offline(self):
        """Waits until the service worker keeps the site and answers for this page."""
        self.script("return navigator.serviceWorker.ready.then(() => true)")
        if not self.script("return navigator.serviceWorker.controller !== null"):
            self.page.refresh()
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
        return self.page.console()

    def requests(self):
        """The network requests the page started since the last call."""
        return self.page.requests()

    def end(self):
        pass
