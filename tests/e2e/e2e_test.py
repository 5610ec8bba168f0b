"""The built program as a person uses it: on a private X server with a window manager, typed at
with real key events, clicked with real pointer events at the places the window's table gives,
its boxes read back and its messages found by their title.

The same scenarios run against every edition. The Linux one is read through the clipboard, as a
person copies; the Windows one runs under Wine (VELANDRA_RUNNER) and is read with a small Win32
inspector (VELANDRA_INSPECTOR) in the same prefix, since Wine's message box does not copy. The
web edition (VELANDRA_WEB, the built site) runs in headless Chromium, driven by web_driver."""

import base64
import hashlib
import os
import pathlib
import subprocess
import tempfile
import time
import unittest

if os.environ.get("VELANDRA_WEB"):
    import web_driver

PROGRAM = os.environ.get("VELANDRA")
RUNNER = os.environ.get("VELANDRA_RUNNER")
INSPECTOR = os.environ.get("VELANDRA_INSPECTOR")
WINDOWS = RUNNER is not None
WEB = os.environ.get("VELANDRA_WEB") is not None
CAPTION = "Calcolo della Velandra Corporea"
MESSAGE_TITLE = "Attenzione !!!"
WEIGHT_MESSAGE = "Il valore del peso deve essere maggiore di zero"
HEIGHT_MESSAGE = "Il valore dell'altezza deve essere maggiore di zero"
DPI = 96
TWIPS_PER_PIXEL = 1440 // DPI

# Left, top, width and height in twips of the elements the tests touch.
ELEMENTS = {
    "TxtPeso": (3240, 1320, 855, 255),
    "TxtAltezza": (3240, 1920, 855, 255),
    "TxtVelandra": (3360, 4440, 855, 255),
    "CmdCalcola": (2160, 3840, 1215, 375),
    "CmdCancella": (600, 5160, 1215, 375),
    "CmdUscita": (3480, 5160, 1215, 375),
}
BOXES = ("TxtPeso", "TxtAltezza", "TxtVelandra")
# The longest any wait for an event lasts: generous, since a busy machine (a build beside the
# tests) can take many seconds to start Wine or map a window; a test that passes waits far less.
TIMEOUT = 90


def centre(element):
    """An element's centre in the window's client area, in pixels at 96 dpi."""
    left, top, width, height = ELEMENTS[element]
    return (left + width // 2) // TWIPS_PER_PIXEL, (top + height // 2) // TWIPS_PER_PIXEL


def title_pattern(title):
    return "^" + title.replace("!", "\\!") + "$"


def clean_environment():
    """The caller's environment less what would choose the program's platform, display, scale,
    theme, fonts or regional settings: each test sets what it means to use."""
    inherited = ("QT_", "LC_", "FONTCONFIG_")
    dropped = {"DISPLAY", "WAYLAND_DISPLAY", "LANG", "LANGUAGE", "XDG_SESSION_TYPE",
               "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION"}
    return {name: value for name, value in os.environ.items()
            if name not in dropped and not name.startswith(inherited)}


def run(*command, env=None):
    return subprocess.run(command, check=True, capture_output=True, text=True, env=env,
                          timeout=TIMEOUT).stdout


def end_wine_server(env):
    """Ends the Wine server of the prefix and every Wine process with it; a server that has
    already gone is what stopping it wants, not an error."""
    wineserver = os.path.join(os.path.dirname(RUNNER), "wineserver")
    subprocess.run([wineserver, "--kill"], env=env, capture_output=True, timeout=TIMEOUT)
    subprocess.run([wineserver, "--wait"], env=env, capture_output=True, timeout=TIMEOUT)


class XServer:
    """Xvfb on the first free display, with openbox to give windows their frames. A server that
    cannot be had stops whatever of it had started before it says so."""

    def __init__(self):
        self.display_file = None
        self.xvfb = None
        self.wm = None
        try:
            self.env = clean_environment()
            self.env["DISPLAY"] = ":" + self.start_xvfb()
            self.wait_for_window_manager()
        except BaseException:
            self.stop()
            raise

    def start_xvfb(self):
        """Starts Xvfb and returns its display. One still silent after a third of the time allowed
        (seen once on a busy machine) is killed and started again, up to three times."""
        for _ in range(3):
            self.display_file = tempfile.TemporaryFile()
            self.xvfb = subprocess.Popen(
                ["Xvfb", "-displayfd", str(self.display_file.fileno()), "-screen", "0",
                 "1024x768x24", "-dpi", str(DPI), "-nolisten", "tcp"],
                pass_fds=[self.display_file.fileno()], stdout=subprocess.DEVNULL,
                stderr=subprocess.DEVNULL)
            display = self.wait_for_display(time.monotonic() + TIMEOUT / 3)
            if display:
                return display
            self.xvfb.kill()
            self.xvfb.wait()
            self.display_file.close()
        raise RuntimeError("Xvfb did not start in three tries")

    def wait_for_display(self, deadline):
        number = b""
        while not number.strip().isdigit() or not number.endswith(b"\n"):
            if time.monotonic() > deadline or self.xvfb.poll() is not None:
                return None
            time.sleep(0.05)
            self.display_file.seek(0)
            number = self.display_file.read()
        return number.decode().strip()

    def wait_for_window_manager(self):
        """Starts openbox and waits until it manages the screen; one that ends before (on a busy
        machine it may lose its race for the screen) is started again."""
        deadline = time.monotonic() + TIMEOUT
        ended = []
        while time.monotonic() < deadline:
            if self.wm is None or self.wm.poll() is not None:
                if self.wm is not None:
                    ended.append(self.wm.returncode)
                self.wm = subprocess.Popen(["openbox", "--sm-disable"], env=self.env,
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            root = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"],
                                  capture_output=True, text=True, env=self.env,
                                  timeout=TIMEOUT).stdout
            if "window id" in root:
                return
            time.sleep(0.1)
        raise RuntimeError(f"openbox did not start in {TIMEOUT} s (ended with {ended})")

    def stop(self):
        # Wine's processes end with the display they drew on, and the display is free again
        # only once its server has gone: the next class's runs must not meet either.
        if WINDOWS and hasattr(self, "env"):
            end_wine_server(self.env)
        for process in (self.wm, self.xvfb):
            if process is not None and process.poll() is None:
                process.terminate()
                try:
                    process.wait(timeout=TIMEOUT)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        if self.display_file is not None:
            self.display_file.close()


class Velandra:
    """One run of the program, and what a person can do to it."""

    def __init__(self, server, locale="en_US.UTF-8"):
        self.env = dict(server.env, LANG=locale, LC_ALL=locale)
        command = [RUNNER, PROGRAM] if WINDOWS else [PROGRAM]
        self.process = subprocess.Popen(command, env=self.env, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.PIPE, text=True)
        try:
            self.window = self.find_window(CAPTION)
            self.origin, self.size = self.geometry(self.window)
        except BaseException:
            # A run whose window was not found must not stay on the server for the next tests
            # to find instead of theirs.
            self.end()
            raise

    def geometry(self, window):
        """A window's client area on the screen: (left, top), (width, height)."""
        info = run("xwininfo", "-id", window, env=self.env)
        fields = dict(line.strip().split(": ", 1) for line in info.splitlines() if ": " in line)
        return ((int(fields["Absolute upper-left X"]), int(fields["Absolute upper-left Y"])),
                (int(fields["Width"]), int(fields["Height"])))

    def xdotool(self, *arguments):
        return run("xdotool", *arguments, env=self.env)

    def find_window(self, title):
        return self.xdotool("search", "--sync", "--onlyvisible", "--name",
                            title_pattern(title)).split()[0]

    def windows_named(self, title):
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name",
                                title_pattern(title)], capture_output=True, text=True,
                               env=self.env)
        return found.stdout.split()

    def point_at(self, x, y):
        self.xdotool("mousemove", "--sync", str(x), str(y))
        time.sleep(0.1)  # let the window manager see the pointer arrive
        self.xdotool("click", "1")

    @staticmethod
    def centre(element):
        return centre(element)

    def click(self, element):
        x, y = self.centre(element)
        self.point_at(self.origin[0] + x, self.origin[1] + y)

    def inspect(self, *arguments):
        """What the Win32 inspector reads, one text a line."""
        output = run(RUNNER, INSPECTOR, *map(str, arguments), env=self.env)
        return [line.rstrip("\r") for line in output.split("\n")[:-1]]

    def click_close_box(self):
        extents = run("xprop", "-id", self.window, "_NET_FRAME_EXTENTS", env=self.env)
        left, right, top, bottom = (int(n) for n in extents.split("=")[1].split(","))
        self.point_at(self.origin[0] + self.size[0] + right - 10, self.origin[1] - top // 2)

    def enter(self, peso, altezza):
        """Clicks into each box and types its value."""
        self.click("TxtPeso")
        self.type(peso)
        self.click("TxtAltezza")
        self.type(altezza)

    def keys(self, *names):
        # Exactly the keys named: --clearmodifiers presses again afterwards any modifier it saw
        # held, and where it reads the keyboard before an earlier release has landed it leaves
        # that modifier down for every later test.
        for name in names:
            self.xdotool("key", name)
            time.sleep(0.03)

    def type(self, text):
        self.xdotool("type", "--delay", "20", text)

    def paste(self, box, text):
        """Puts the text on the clipboard and pastes it over what the box holds."""
        subprocess.run(["xclip", "-selection", "clipboard"], input=text, text=True,
                       env=self.env, check=True, timeout=TIMEOUT)
        self.click(box)
        self.keys("End", "shift+Home", "ctrl+v")

    def selected(self, selection, select, patience=TIMEOUT):
        """The text that `select` puts on an X selection ("clipboard" or "primary"), or None
        when nothing arrives within `patience` seconds."""
        sentinel = "\u2400"
        subprocess.run(["xclip", "-selection", selection], input=sentinel, text=True,
                       env=self.env, check=True, timeout=TIMEOUT)
        select()
        deadline = time.monotonic() + patience
        while time.monotonic() < deadline:
            text = run("xclip", "-o", "-selection", selection, env=self.env)
            if text != sentinel:
                return text
            time.sleep(0.05)
        return None

    def read(self, box):
        """A box's text, copied with a marker typed at its end so that an empty box reads too;
        the marker is then undone. The Windows edition's is read by the inspector."""
        if WINDOWS:
            return "\n".join(self.inspect("text", *self.centre(box)))
        self.click(box)
        self.keys("End")
        self.type("#")
        text = self.selected("clipboard", lambda: self.keys("ctrl+a", "ctrl+c"))
        self.keys("ctrl+z")
        if text is None or not text.endswith("#"):
            raise AssertionError(f"could not read {box}: {text!r}")
        return text[:-1]

    def answer_message(self, key):
        """Waits for a message (found by its title), returns its text, and dismisses it with
        the given key."""
        message = self.find_window(MESSAGE_TITLE)
        (left, y), (width, _) = self.geometry(message)
        x = left + width // 2
        text = "\n".join(self.inspect("message", MESSAGE_TITLE)) if WINDOWS else None
        # A triple click on the message's text selects it, as it would for a person.
        for row in () if WINDOWS else (17, 12, 22, 27):
            self.xdotool("mousemove", "--sync", str(x), str(y + row))
            # Where no text lies under the pointer nothing is selected: a short wait each.
            text = self.selected("primary",
                                 lambda: self.xdotool("click", "--repeat", "3", "--delay", "80", "1"),
                                 patience=2)
            if text:
                break
        self.keys(key)
        deadline = time.monotonic() + TIMEOUT
        while message in self.windows_named(MESSAGE_TITLE):
            if time.monotonic() > deadline:
                raise AssertionError("the message stayed open")
            time.sleep(0.05)
        return text or ""

    def exit_status(self):
        return self.process.wait(timeout=TIMEOUT)

    def poll(self):
        return self.process.poll()

    def end(self):
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait(timeout=TIMEOUT)
        self.process.stderr.close()
        # The X server takes down a killed program's window once it notices the program gone;
        # until then the next run could find that window instead of its own.
        deadline = time.monotonic() + TIMEOUT
        while self.windows_named(CAPTION):
            if time.monotonic() > deadline:
                raise AssertionError("the window stayed after its program ended")
            time.sleep(0.05)


class ProgramTest(unittest.TestCase):
    """Runs of the program on one X server shared by a class's tests; for the web edition, visits
    to the page served to one browser."""

    @classmethod
    def setUpClass(cls):
        if WEB:
            cls.server = web_driver.SiteServer()
            cls.browser = web_driver.Engine()
        else:
            cls.server = XServer()

    @classmethod
    def tearDownClass(cls):
        cls.server.stop()
        if WEB:
            cls.browser.stop()

    def start(self, **options):
        if WEB:
            app = web_driver.WebVelandra(self.browser, self.server.url, **options)
        else:
            app = Velandra(self.server, **options)
        self.addCleanup(app.end)
        return app


class EndToEndTest(ProgramTest):

    def test_window_opens_at_its_size_with_the_focus_in_the_weight_box(self):
        app = self.start()
        self.assertEqual(app.size, (361, 427))
        app.type("70")  # no click first: the focus starts in the weight box
        self.assertEqual(app.read("TxtPeso"), "70")
        self.assertEqual(app.read("TxtAltezza"), "")
        self.assertEqual(app.read("TxtVelandra"), "")

    def test_a_full_calculation(self):
        app = self.start()
        app.enter("70", "170")
        app.click("CmdCalcola")
        self.assertEqual(app.read("TxtVelandra"), "1.81811868577262")
        self.assertEqual(app.windows_named(MESSAGE_TITLE), [])

    def test_italian_settings_read_the_point_and_write_a_comma(self):
        app = self.start(locale="it_IT.UTF-8")
        app.enter("72.5", "170")
        app.click("CmdCalcola")
        self.assertEqual(app.read("TxtVelandra"), "1,85030027593121")

    def test_the_c_locale_writes_a_point(self):
        app = self.start(locale="C.UTF-8")
        app.enter("70", "170")
        app.click("CmdCalcola")
        self.assertEqual(app.read("TxtVelandra"), "1.81811868577262")

    def test_two_rejected_values_give_two_messages_in_order(self):
        app = self.start()
        app.click("CmdCalcola")
        first = app.answer_message("Return")
        second = app.answer_message("Escape")
        self.assertIn(WEIGHT_MESSAGE, first)
        self.assertIn(HEIGHT_MESSAGE, second)
        self.assertEqual(app.windows_named(MESSAGE_TITLE), [])
        self.assertEqual(app.read("TxtVelandra"), "")

    def test_the_window_takes_no_click_while_a_message_is_open(self):
        app = self.start()
        app.enter("abc", "170")
        app.click("CmdCalcola")
        app.find_window(MESSAGE_TITLE)
        app.click("CmdCancella")
        self.assertIn(WEIGHT_MESSAGE, app.answer_message("Escape"))
        self.assertEqual(app.read("TxtPeso"), "abc")

    def test_cancella_leaves_one_space_in_each_box(self):
        app = self.start()
        app.type("80")
        app.click("TxtAltezza")
        app.type("180")
        app.click("CmdCalcola")
        self.assertEqual(app.read("TxtVelandra"), "2")
        app.click("CmdCancella")
        for box in BOXES:
            self.assertEqual(app.read(box), " ", box)

    def test_enter_and_escape_run_no_command(self):
        app = self.start()
        app.enter("80", "180")
        app.keys("Return", "KP_Enter", "Escape")
        app.click("TxtPeso")
        app.keys("Return", "Escape")
        time.sleep(0.3)
        self.assertEqual(app.windows_named(MESSAGE_TITLE), [])
        self.assertEqual(app.read("TxtVelandra"), "")
        self.assertIsNone(app.poll())

    def test_tab_follows_the_tab_index_order(self):
        app = self.start()
        app.type("1")  # TxtPeso
        app.keys("Tab", "Tab", "Tab", "Tab")  # CmdUscita, CmdCalcola, CmdCancella, TxtAltezza
        app.type("2")
        app.keys("Tab")  # TxtVelandra
        app.type("3")
        app.keys("Tab")  # back to TxtPeso
        app.type("4")
        app.keys("shift+Tab")  # TxtVelandra again
        app.type("5")
        # Tabbing into a box selects its text, so each typed digit replaced what was there.
        self.assertEqual([app.read(box) for box in BOXES], ["4", "2", "5"])
        # From the weight box, Tab leads to Uscita: Space presses it.
        app.click("TxtPeso")
        app.keys("Tab", "space")
        self.assertEqual(app.exit_status(), 0)

    def test_uscita_ends_the_program_with_status_zero(self):
        app = self.start()
        app.click("CmdUscita")
        self.assertEqual(app.exit_status(), 0)

    @unittest.skipIf(WEB, "a page is closed by the browser's own tab, which is not the page's")
    def test_the_close_box_ends_the_program_with_status_zero(self):
        app = self.start()
        app.click_close_box()
        self.assertEqual(app.exit_status(), 0)


@unittest.skipUnless(WINDOWS or WEB, "the Linux edition's own test pastes these into the window")
class HostilePasteTest(ProgramTest):
    def test_hostile_pastes_are_answered_as_the_linux_edition_answers_them(self):
        # Pasted as a person pastes: from the X clipboard, or into the page as one insertion. A
        # lone surrogate, which no X selection can carry, is put in by the Win32 inspector as a
        # paste puts it. Wine's own edit control needs minutes to lay out a megabyte (the Linux
        # edition's test pastes one), so the long text here is a tenth of that.
        rows = [("100,000 digits", "7" * 100_000, WEIGHT_MESSAGE),
                ("Arabic-Indic seventy", "\u0667\u0660", WEIGHT_MESSAGE),
                ("high-surrogate-then-seventy", "\ud83570", WEIGHT_MESSAGE),
                ("seventy-then-low-surrogate", "70\udc00", "1.81811868577262")]
        app = self.start()
        app.enter("", "170")
        for name, text, answer in rows:
            with self.subTest(name):
                if WINDOWS and "surrogate" in name:
                    app.inspect("replace", *app.centre("TxtPeso"), name)
                else:
                    app.paste("TxtPeso", text)
                app.click("CmdCalcola")
                if answer == WEIGHT_MESSAGE:
                    self.assertIn(WEIGHT_MESSAGE, app.answer_message("Escape"))
                else:
                    self.assertEqual(app.read("TxtVelandra"), answer)
                self.assertIsNone(app.poll())


@unittest.skipUnless(WINDOWS, "what only the Windows edition is asked")
class WindowsEditionTest(ProgramTest):
    def test_every_text_fits_its_element(self):
        app = self.start()
        self.assertEqual(app.inspect("overflow"), [])

    def test_at_144_dpi_the_client_area_scales(self):
        # Put back whatever happens: the tests after this one run at 96 dpi.
        self.addCleanup(self.set_dpi, 96)
        self.set_dpi(144)
        app = self.start()
        self.assertEqual(app.size, (542, 641))
        self.assertEqual(app.inspect("overflow"), [])

    def set_dpi(self, dpi):
        env = self.server.env
        run(RUNNER, "reg", "add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels", "/t",
            "REG_DWORD", "/d", str(dpi), "/f", env=env)
        # The new setting is read when the Wine server starts again.
        end_wine_server(env)


# Each element as the page must show it, worked out by hand: its place in CSS pixels (left,
# top, width, height: the twips at 15 twips a pixel), its face (the family the form names, used
# where installed, then the served stand-in it is drawn in here; pixels: 8.25, 9.75, 12 and
# 14.25 points are 11, 13, 16 and 19; bold; italic), its text colour's role (the highlight, the
# face's text, or a box's or button's own) and whether its text is centred across it (buttons
# keep the browser's default, centred).
SANS = ("MS Sans Serif", "Liberation Sans")
GARAMOND_BOLD = ("Garamond", "EB Garamond")
GARAMOND_ITALIC = ("Garamond", "Liberation Serif")
VERDANA = ("Verdana", "DejaVu Sans")
WEB_FACTS = {
    "TxtVelandra": ((224, 296, 57, 17), SANS, 11, False, False, "own", True),
    "TxtAltezza": ((216, 128, 57, 17), SANS, 11, False, False, "own", True),
    "CmdCancella": ((40, 344, 81, 25), SANS, 13, False, False, "own", True),
    "CmdCalcola": ((144, 256, 81, 25), SANS, 13, False, False, "own", True),
    "CmdUscita": ((232, 344, 81, 25), SANS, 13, False, False, "own", True),
    "TxtPeso": ((216, 88, 57, 17), SANS, 11, False, False, "own", True),
    "Label5": ((24, 64, 313, 20), SANS, 11, False, False, "highlight", True),
    "LBLIntestazione2": ((24, 32, 313, 20), GARAMOND_BOLD, 19, True, False, "highlight", True),
    "LBLFormula2": ((240, 216, 33, 17), SANS, 13, False, False, "text", False),
    "Label3": ((208, 184, 121, 17), SANS, 13, False, False, "text", False),
    "LBLFormula": ((48, 192, 121, 17), SANS, 13, False, False, "text", False),
    "LBLFattore": ((80, 296, 129, 17), GARAMOND_ITALIC, 16, False, True, "text", False),
    "LBLAltezza": ((88, 128, 121, 17), SANS, 13, False, False, "text", False),
    "Label1": ((112, 400, 141, 23), VERDANA, 13, False, True, "highlight", False),
    "Label2": ((128, 376, 93, 23), VERDANA, 13, True, False, "highlight", False),
    "LBLPeso": ((88, 88, 121, 17), SANS, 13, False, False, "text", False),
    "LBLIntestazione": ((24, 8, 313, 20), GARAMOND_BOLD, 19, True, False, "highlight", True),
}
# The flat lines' end points in device pixels at device pixel ratios 1 and 2, by hand.
WEB_FLAT_LINES = {
    1: {"Line3": (192, 168, 312), "Line5": (200, 208, 312), "Line4": (168, 192, 176)},
    2: {"Line3": (384, 336, 624), "Line5": (400, 416, 624), "Line4": (336, 384, 352)},
}
# Touch screens, as (width, height, pixel ratio) in CSS pixels: the scale in hundredths at which
# the window (361 x 456 with its caption, plus a border of one pixel) fills each whole, the
# client area at that scale, and the formula's bar (Line3) in device pixels (x1, y, x2, width),
# by hand: 0.99, 0.78 and 1.67 times 15 twips a pixel, times the pixel ratio.
WEB_DEVICES = {
    "phone upright": ((360, 740, 3), 0.99, (357, 423), (570, 499, 927, 3)),
    "phone sideways": ((740, 360, 3), 0.78, (282, 333), (449, 393, 730, 2)),
    "tablet": ((1024, 768, 2), 1.67, (603, 713), (641, 561, 1042, 3)),
}

# Per element: its place, computed font, colour, the box of a label's or button's text (the
# font's line box, across the text's advance) relative to the element, the text's width as a
# canvas measures it in the face the table names, the families in the order the browser tries
# them, and how the text is aligned across (with even padding on either side).
READ_LOOKS = """
const client = document.getElementById('Client').getBoundingClientRect();
const canvas = document.createElement('canvas').getContext('2d');
return Object.fromEntries(Object.entries(arguments[0]).map(([name, face]) => {
  const e = document.getElementById(name), s = getComputedStyle(e), b = e.getBoundingClientRect();
  let text = null, width = null;
  if (e.localName !== 'input') {
    const range = document.createRange();
    range.selectNodeContents(e);
    const t = range.getBoundingClientRect();
    text = [t.left - b.left, t.top - b.top, b.right - t.right, b.bottom - t.bottom];
    canvas.font = face + ' ' + s.fontSize + ' "' + arguments[1][name] + '"';
    width = [t.width, canvas.measureText(e.textContent).width];
  }
  return [name, [[b.left - client.left, b.top - client.top, b.width, b.height],
                 s.fontSize, s.fontWeight, s.fontStyle, s.color, text, width,
                 s.fontFamily.split(',').map(f => f.trim().replace(/^"|"$/g, '')),
                 [s.textAlign, s.paddingLeft === s.paddingRight]]];
}));"""
PROBE_COLOURS = """
const probe = document.createElement('div');
document.body.append(probe);
const colours = arguments[0].map(k => { probe.style.color = k; return getComputedStyle(probe).color; });
probe.remove();
return colours;"""


# The window now: its client area's size, its lines' canvas's size, the formula's bar (Line3,
# arguments[0]: x1, y, x2 in device pixels) as the colours of its ends and the rows inked across
# its middle, the face's text colour, and each label's text and face colours.
READ_WINDOW = """
const canvas = document.getElementById('Lines');
const client = document.getElementById('Client').getBoundingClientRect();
const pixels = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
const ink = (x, y) => Array.from(pixels.slice(4 * (y * canvas.width + x), 4 * (y * canvas.width + x) + 4));
const [x1, y, x2] = arguments[0];
let rows = 0;
for (let row = y - 6; row <= y + 6; ++row) rows += ink((x1 + x2) >> 1, row)[3] > 0 ? 1 : 0;
const probe = document.createElement('div');
probe.style.color = 'ButtonText';
document.body.append(probe);
const text = getComputedStyle(probe).color;
probe.remove();
return [[client.width, client.height], [canvas.width, canvas.height], [ink(x1, y), ink(x2, y), rows],
        text, [...document.querySelectorAll('#Client .label')].map(e => {
          const s = getComputedStyle(e); return [e.id, s.color, s.backgroundColor]; })];"""


def rgb(colour):
    """The channels of a computed colour: "rgb(r, g, b)", or "color(srgb r g b)" (0 to 1), as
    Chromium gives a colour taken from another."""
    inside = colour[colour.index("(") + 1:-1]
    if colour.startswith("color(srgb "):
        return [round(float(c) * 255) for c in inside.split()[1:4]]
    return [int(float(c)) for c in inside.split(",")[:3]]


def opacity(colour):
    """The alpha of a computed colour, 1 where it gives none."""
    if "/" in colour:
        return float(colour.split("/")[1].strip(" )"))
    return float(colour[5:-1].split(",")[3]) if colour.startswith("rgba(") else 1.0


def hue(colour):
    import colorsys
    return colorsys.rgb_to_hls(*(c / 255 for c in rgb(colour)))[0] * 360


def contrast(a, b):
    """WCAG contrast ratio of two computed colours."""
    def luminance(colour):
        channels = [c / 255 for c in rgb(colour)]
        linear = [c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4 for c in channels]
        return 0.2126 * linear[0] + 0.7152 * linear[1] + 0.0722 * linear[2]
    lighter, darker = sorted((luminance(a), luminance(b)), reverse=True)
    return (lighter + 0.05) / (darker + 0.05)


def page_scripts_altered(*changes):
    """The replacements that alter the page's own scripts (the head's, the program's), each
    (old, new) in the one script that holds old, and keep the policy's digests of them true, so
    that the browser runs the altered scripts."""
    page = pathlib.Path(web_driver.SITE, "index.html").read_text()
    scripts = [part.split("</script>", 1)[0] for part in page.split("<script>")[1:]]

    def digest(text):
        return "'sha256-" + base64.b64encode(hashlib.sha256(text.encode()).digest()).decode()
    replacements = []
    for old, new in changes:
        [script] = [script for script in scripts if old in script]
        replacements += [(old, new), (digest(script), digest(script.replace(old, new)))]
    return replacements


def line_ink(app):
    """The formula canvas: its size in device pixels and the colour (r, g, b, a) of a pixel."""
    # The pixels cross as one base64 string: as an array, a driver sends each number as an
    # object of its own, which takes a minute on a busy machine.
    width, height, pixels = app.script(
        "const canvas = document.getElementById('Lines');"
        "const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;"
        "let bytes = '';"
        "for (let i = 0; i < data.length; i += 8192)"
        "  bytes += String.fromCharCode.apply(null, data.subarray(i, i + 8192));"
        "return [canvas.width, canvas.height, btoa(bytes)];")
    pixels = base64.b64decode(pixels)
    return width, height, lambda x, y: list(pixels[4 * (y * width + x):4 * (y * width + x) + 4])


def rows_inked(ink, x, y, reach=6):
    return [row for row in range(y - reach, y + reach + 1) if ink(x, row)[3] > 0]


@unittest.skipUnless(WEB, "what only the web edition is asked")
class WebEditionTest(ProgramTest):
    def test_every_element_and_line_at_its_place_at_ratio_1_and_2(self):
        for ratio in (1, 2):
            with self.subTest(ratio=ratio):
                app = self.start(ratio=ratio)
                looks = app.script(READ_LOOKS, {name: "" for name in WEB_FACTS}, {})
                self.assertEqual({n: tuple(l[0]) for n, l in looks.items()},
                                 {n: f[0] for n, f in WEB_FACTS.items()})
                # Each flat line inked at both ends in the face's text colour, as many rows
                # wide as the line is across its middle, and clear just past its right end.
                width, height, ink = line_ink(app)
                self.assertEqual((width, height), (361 * ratio, 427 * ratio))
                text = rgb(app.script(PROBE_COLOURS, ["ButtonText"])[0])
                for name, (left, y, right) in WEB_FLAT_LINES[ratio].items():
                    self.assertEqual([ink(left, y), ink(right, y)], [text + [255]] * 2, name)
                    rows = rows_inked(ink, (left + right) // 2, y, reach=4)
                    self.assertEqual(len(rows), ratio, f"{name} rows {rows}")
                    self.assertEqual(ink(right + 2, y)[3], 0, name)

    def test_every_element_looks_as_the_table_says(self):
        app = self.start()
        faces = {name: ("italic " if italic else "") + ("bold" if bold else "")
                 for name, (_, _, _, bold, italic, _, _) in WEB_FACTS.items()}
        looks = app.script(READ_LOOKS, faces, {n: f[1][1] for n, f in WEB_FACTS.items()})
        text, face, highlight = app.script(PROBE_COLOURS, ["ButtonText", "ButtonFace",
                                                          "Highlight"])
        for name, (_, families, pixels, bold, italic, role, centred) in WEB_FACTS.items():
            with self.subTest(name):
                _, size, weight, style, colour, gaps, widths, tried, across = looks[name]
                self.assertEqual((size, weight, style), (f"{pixels}px", "700" if bold else "400",
                                                         "italic" if italic else "normal"))
                self.assertEqual(tried, list(families))
                self.assertEqual(across, ["center" if centred else "left", True])
                # Colours by their channels, opaque: a system colour may come with an alpha of
                # its own, which the page drops.
                if role in ("text", "highlight"):
                    self.assertEqual(opacity(colour), 1)
                if role == "text":
                    self.assertEqual(rgb(colour), rgb(text))
                elif role == "highlight":
                    self.assertNotEqual(rgb(colour), rgb(text))
                    self.assertLessEqual(abs(hue(colour) - hue(highlight)), 3)
                    self.assertGreaterEqual(contrast(colour, face), 4.5)
                if gaps is None:
                    continue
                # Drawn in the served face the table names: the width it takes on the page is
                # the width a canvas measures in that face alone.
                self.assertAlmostEqual(widths[0], widths[1], delta=1, msg=families[1])
                left, top, right, bottom = gaps
                self.assertGreaterEqual(min(gaps), -1, "text outside its element")
                self.assertLessEqual(abs(top - bottom), 1, "not centred in its height")
                if centred:
                    self.assertLessEqual(abs(left - right), 1, "not centred across")
                else:
                    self.assertLessEqual(left, 1, "not at the left")

    def test_the_texts_are_fitted_in_the_fonts_drawn(self):
        # In a browser without a base64 decoder of its own the page decodes the fonts and the
        # module itself: the program runs and the bold heading keeps its 19 pixels. With the fonts
        # unreadable (their WOFF 2 signature spoilt) the browser draws in its own, in which the
        # heading is too wide at 19 pixels and must shrink, measured bold as it is drawn.
        for changes, shrinks in (
                ((("if (Uint8Array.fromBase64)", "if (false)"),
                  ("if(Uint8Array.fromBase64)", "if(false)")), False),
                ((('"d09GM', '"AAAAA'),), True)):
            with self.subTest(changes[0][0]):
                server = web_driver.SiteServer(alter={"/index.html": page_scripts_altered(*changes)})
                self.addCleanup(server.stop)
                app = web_driver.WebVelandra(self.browser, server.url)
                looks = app.script(READ_LOOKS, {name: "" for name in WEB_FACTS}, {})
                heading = float(looks["LBLIntestazione2"][1][:-2])
                if shrinks:
                    self.assertLess(heading, 19)
                else:
                    self.assertEqual(heading, 19)
                for name in WEB_FACTS:
                    gaps = looks[name][5]
                    if gaps is not None:
                        self.assertGreaterEqual(min(gaps[0], gaps[2]), -1, name)

    def test_the_form_first_drawn_is_the_form_the_program_runs(self):
        # The page as the build wrote it, without its program, beside the page once the program
        # is ready: every element at the same place in the same font and colour, the caption bar
        # in the same colour, the focus in the weight box, at a desk and on each touch screen.
        page = pathlib.Path(web_driver.SITE, "index.html").read_text()
        first = web_driver.SiteServer(alter={"/index.html": [(web_driver.program_script(page),
                                                             "")]})
        self.addCleanup(first.stop)
        read = ("return document.fonts.ready.then(() => [document.activeElement.id, (() => {"
                + READ_LOOKS + "})(), getComputedStyle(document.getElementById('Caption'))"
                ".backgroundColor])")
        names = {name: "" for name in WEB_FACTS}

        def looks(seen):
            return ({n: [*l[:4], rgb(l[4])] for n, l in seen[1].items()}, rgb(seen[2]))
        for device in [None] + [(*screen, True) for screen, *_ in WEB_DEVICES.values()]:
            with self.subTest(device=device):
                drawn = self.browser.visit(first.url, "en-US", 1, device).script(read, names, {})
                app = self.start(device=device)
                ran = app.script(read, names, {})
                self.assertEqual(drawn[0], "TxtPeso")
                self.assertEqual(looks(drawn), looks(ran))

    def test_what_is_typed_before_the_program_starts_is_kept_and_calculated(self):
        # The program starts only once both boxes hold what a person typed into the page.
        server = web_driver.SiteServer(alter={"/index.html": page_scripts_altered((
            "function(){_main()}",
            "function(){(function wait(){document.getElementById('TxtAltezza').value.length<3?"
            "setTimeout(wait,10):_main()})()}"))})
        self.addCleanup(server.stop)

        def type_at_once(app):
            app.type("70")
            app.click("TxtAltezza")
            app.type("170")
        app = web_driver.WebVelandra(self.browser, server.url, before_ready=type_at_once)
        self.addCleanup(app.end)
        app.click("CmdCalcola")
        self.assertEqual([app.read(box) for box in BOXES], ["70", "170", "1.81811868577262"])

    def test_on_a_touch_screen_the_window_fills_it_whole(self):
        for device, ((width, height, ratio), scale, client, bar) in WEB_DEVICES.items():
            with self.subTest(device):
                app = self.start(device=(width, height, ratio, True))
                frame = app.script(
                    "const f = document.getElementById('Quarnelo').getBoundingClientRect();"
                    "const d = document.documentElement;"
                    "return [f.left, f.top, f.right, f.bottom, d.scrollWidth, d.scrollHeight];")
                self.assertGreaterEqual(min(frame[:2]), 0)
                self.assertLessEqual(max(frame[0], frame[2], frame[4]), width)
                self.assertLessEqual(max(frame[1], frame[3], frame[5]), height)
                self.assertEqual(app.size, client)
                looks = app.script(READ_LOOKS, {name: "" for name in WEB_FACTS}, {})
                for name, facts in WEB_FACTS.items():
                    for measured, place in zip(looks[name][0], facts[0]):
                        self.assertLessEqual(abs(measured - place * scale), 0.5, name)
                    gaps = looks[name][5]
                    if gaps is not None:
                        self.assertGreaterEqual(min(gaps), -1, name)
                left, y, right, line_width = bar
                _, _, ink = line_ink(app)
                self.assertTrue(ink(left, y)[3] and ink(right, y)[3])
                self.assertEqual(len(rows_inked(ink, (left + right) // 2, y)), line_width)
                # A calculation by taps: each puts the focus where it lands, at once.
                left, top = app.client_origin()

                def tap(name):
                    x, y, w, h = WEB_FACTS[name][0]
                    app.page.tap(left + (x + w / 2) * scale, top + (y + h / 2) * scale)
                    app.wait_for("document.activeElement.id === arguments[0]", name)
                tap("TxtPeso")
                app.type("70")
                tap("TxtAltezza")
                app.type("170")
                tap("CmdCalcola")
                self.assertEqual([app.read(box) for box in BOXES],
                                 ["70", "170", "1.81811868577262"])

    def test_a_touch_screen_beside_a_mouse_leaves_the_window_as_on_a_desktop(self):
        # A laptop whose screen takes a finger, its mouse the primary pointer: Chromium told so
        # when it starts (pointer types by bits: 2 coarse, 4 fine).
        if web_driver.ENGINE != "chromium":
            raise web_driver.Unsupported(f"{web_driver.ENGINE}: its pointers are the machine's")
        laptop = web_driver.Chromium(
            ["--blink-settings=primaryPointerType=4,availablePointerTypes=6"])
        self.addCleanup(laptop.stop)
        app = web_driver.WebVelandra(laptop, self.server.url)
        self.assertTrue(app.script("return matchMedia('(any-pointer: coarse)').matches"))
        self.assertEqual((app.size, app.client_origin()[1]), ((361, 427), 32 + 1 + 29))

    def test_uscita_leaves_nothing_of_the_form_or_its_values_behind(self):
        app = self.start()
        app.enter("80", "180")
        app.click("CmdCalcola")
        app.wait_for("document.getElementById('Announcer').textContent !== ''")
        app.click("CmdUscita")
        app.exit_status()
        # The window's frame says, in sight and to screen readers, that the program was closed.
        # The page's own markup, less its scripts' text (the program, which may hold any digits).
        left = app.script(
            "const frame = document.getElementById('Quarnelo'), r = frame.getBoundingClientRect();"
            "const page = document.body.cloneNode(true);"
            "page.querySelectorAll('script').forEach(script => script.remove());"
            "return [document.querySelectorAll('input, button, canvas, #Client').length,"
            "  document.getElementById('Announcer').textContent, frame.innerText.trim(),"
            "  frame.contains(document.elementFromPoint(r.left + 30, r.top + r.height / 2)),"
            "  page.innerHTML]")
        self.assertEqual(left[:4], [0] + ["Velandra \u00e8 stata chiusa."] * 2 + [True])
        for value in ("80", "180", "Superficie"):
            self.assertNotIn(value, left[4])

    def test_the_message_covers_the_page_with_its_title_text_icon_and_one_button(self):
        app = self.start()
        app.enter("70", "0")
        app.click("CmdCalcola")
        message = app.find_window(MESSAGE_TITLE)
        facts = app.script(
            "const d = arguments[0];"
            "return [d.localName,"
            "  document.getElementById(d.getAttribute('aria-labelledby')).textContent,"
            "  document.getElementById(d.getAttribute('aria-describedby')).textContent,"
            "  [...d.querySelectorAll('button')].map(b => b.textContent),"
            "  d.querySelector('svg[role=img]').getAttribute('aria-label'),"
            "  document.activeElement.textContent,"
            "  document.getElementById('Quarnelo').contains(document.elementFromPoint("
            "    arguments[1], arguments[2]))];", message, 5, 5)
        self.assertEqual(facts, ["dialog", MESSAGE_TITLE, HEIGHT_MESSAGE, ["OK"],
                                 "Informazione", "OK", False])
        # A click on its text, on its icon, beside its button or on the weight box behind it,
        # and Tab, leave the focus on OK and the message open.
        for target, corner in (("#MessageText", False), ("svg", False), (".message-buttons", True),
                               ("#TxtPeso", False), ("Tab", None)):
            if corner is None:
                app.keys(target)
            else:
                spot = app.script(
                    "const r = (arguments[0].querySelector(arguments[1]) ||"
                    "  document.querySelector(arguments[1])).getBoundingClientRect();"
                    "return arguments[2] ? [r.left + 4, r.bottom - 4]"
                    "  : [r.left + r.width / 2, r.top + r.height / 2];", message, target, corner)
                app.page.perform(pointer=[int(c) for c in spot])
            self.assertEqual(app.script("return document.activeElement.id"), "MessageOk", target)
        self.assertEqual(len(app.windows_named(MESSAGE_TITLE)), 1)
        app.keys("space")
        app.wait_closed(message)
        self.assertEqual(app.script("return document.activeElement.id"), "CmdCalcola")

    def test_the_window_follows_each_change_of_display_made_and_undone_twice(self):
        # Each change the page watches, made, undone, made and undone again (a change heard only
        # once fails the second time): the browser's zoom (the pixel ratio), a dark high-contrast
        # scheme, a phone (a finger for a pointer) upright and turned. After each, the client
        # area and the lines' canvas at the size the display asks, the formula's bar (Line3)
        # inked in the face's text colour at the width the ratio gives, and every label readable on
        # its face and opaque (but in the browser's forced palette). Where the browser can force
        # colours, the page is opened in them: leaving them, the program, not the page's head,
        # colours the highlighted labels.
        app = self.start()
        self.addCleanup(app.page.forced_colours, False)
        try:
            app.page.forced_colours(True)
            app = self.start()
        except web_driver.Unsupported:
            pass
        at_ratio = {r: WEB_FLAT_LINES[r]["Line3"] + (r,) for r in (1, 2)}
        steps = [(app.page.zoom, 2, (361, 427), 2, at_ratio[2]),
                 (app.page.zoom, 1, (361, 427), 1, at_ratio[1])] * 2
        steps += [(app.page.forced_colours, True, (361, 427), 1, at_ratio[1]),
                  (app.page.forced_colours, False, (361, 427), 1, at_ratio[1])] * 2
        phone = [(app.page.display, (*screen, True), client, screen[2], bar)
                 for screen, _, client, bar in (WEB_DEVICES["phone upright"],
                                                WEB_DEVICES["phone sideways"])]
        desktop = (app.page.display, (800, 700, 1, False), (361, 427), 1, at_ratio[1])
        steps += (phone + [desktop]) * 2
        for number, (change, setting, client, ratio, bar) in enumerate(steps):
            with self.subTest(step=number, setting=setting):
                change(setting)
                expected = [list(client), [client[0] * ratio, client[1] * ratio], bar[3]]
                deadline = time.monotonic() + 10
                while True:
                    seen = app.script(READ_WINDOW, bar)
                    text = rgb(seen[3]) + [255]
                    looks = seen[:2] + [seen[2][2] if seen[2][:2] == [text, text] else seen[2]]
                    if looks == expected or time.monotonic() > deadline:
                        break
                    time.sleep(0.05)
                self.assertEqual(looks, expected)
                for name, colour, face in seen[4]:
                    self.assertGreaterEqual(contrast(colour, face), 4.5, name)
                    if not (change == app.page.forced_colours and setting):
                        self.assertEqual(opacity(colour), 1, name)

    def test_served_it_keeps_every_file_and_makes_no_request_after_load_and_logs_nothing(self):
        app = self.start()
        app.wait_until_kept_offline()
        kept = app.script(
            "return caches.keys().then(names => caches.open(names[0])).then(c => c.keys())"
            ".then(requests => requests.map(r => new URL(r.url).pathname.slice(1)))")
        site = {os.path.relpath(os.path.join(folder, name), web_driver.SITE)
                for folder, _, names in os.walk(web_driver.SITE) for name in names}
        self.assertEqual(sorted(kept), sorted(site - {"service-worker.js"} | {""}))
        app.requests()
        app.enter("70", "170")
        app.click("CmdCalcola")
        self.assertEqual(app.read("TxtVelandra"), "1.81811868577262")
        app.click("CmdCancella")
        app.click("CmdCalcola")
        app.answer_message("Escape")
        app.answer_message("Escape")
        self.assertEqual(app.requests(), [])
        self.assertEqual(app.console(), [])
        self.assertEqual(app.script("return [document.cookie, localStorage.length,"
                                    " sessionStorage.length]"), ["", 0, 0])

    def test_opened_from_disk_it_calculates(self):
        app = web_driver.WebVelandra(self.browser, "file://" + web_driver.SITE + "/index.html")
        app.type("70")
        app.click("TxtAltezza")
        app.type("170")
        app.click("CmdCalcola")
        self.assertEqual(app.read("TxtVelandra"), "1.81811868577262")
        self.assertEqual(app.console(), [])

    def test_once_visited_it_works_offline(self):
        server = web_driver.SiteServer()
        app = web_driver.WebVelandra(self.browser, server.url, locale="it_IT.UTF-8")
        app.wait_until_kept_offline()
        server.stop()
        app = web_driver.WebVelandra(self.browser, server.url, locale="it_IT.UTF-8")
        app.enter("72.5", "170")
        app.click("CmdCalcola")
        self.assertEqual(app.read("TxtVelandra"), "1,85030027593121")

    def test_the_zip_holds_the_site(self):
        import zipfile
        with zipfile.ZipFile(os.environ["VELANDRA_WEB_ZIP"]) as archive:
            packed = sorted(archive.namelist())
        on_disk = sorted(os.path.relpath(os.path.join(folder, name), web_driver.SITE)
                         for folder, _, names in os.walk(web_driver.SITE) for name in names)
        self.assertEqual(packed, on_disk)
        self.assertIn("index.html", packed)


if __name__ == "__main__":
    unittest.main(verbosity=2)
