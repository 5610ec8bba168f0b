"""What a screen reader gets from the built program over the accessibility bus: the program on a
private X server, a private session bus and AT-SPI registry, read through pyatspi as Orca reads it;
and what Orca itself says, for the Linux window and for the page in each browser engine
(VELANDRA_WEB, VELANDRA_BROWSER), windowed on that X server. Run inside dbus-run-session."""

import datetime
import os
import re
import shutil
import subprocess
import tempfile
import time
import unittest

from e2e_test import (CAPTION, MESSAGE_TITLE, PROGRAM, TIMEOUT, WEIGHT_MESSAGE, HEIGHT_MESSAGE,
                      XServer)

WEB = os.environ.get("VELANDRA_WEB") is not None
if WEB:
    import web_driver

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402
import pyatspi  # noqa: E402

# A call the program has not answered within this many milliseconds fails: a screen reader that
# waits longer leaves its user with silence.
ANSWER_MS = 1000
HINT = "Utilizzare il punto come separatore dei decimali"

# Each box: the name Orca speaks for it and its description.
BOXES = [
    ("Peso in chilogrammi", HINT),
    ("Altezza in centimetri", HINT),
    ("Risultato: superficie corporea in metri quadrati", "Calcolata con la formula di Mosteller"),
]

BOUNDARIES = {
    "char": pyatspi.TEXT_BOUNDARY_CHAR,
    "word start": pyatspi.TEXT_BOUNDARY_WORD_START,
    "word end": pyatspi.TEXT_BOUNDARY_WORD_END,
    "sentence start": pyatspi.TEXT_BOUNDARY_SENTENCE_START,
    "sentence end": pyatspi.TEXT_BOUNDARY_SENTENCE_END,
    "line start": pyatspi.TEXT_BOUNDARY_LINE_START,
    "line end": pyatspi.TEXT_BOUNDARY_LINE_END,
}
LINE_BOUNDARIES = ("line start", "line end")

# Texts a box may hold, and what Orca must get at chosen offsets: (text, boundary, offset,
# expected (text, start, end)), worked out by hand.
TEXTS = ["", " ", "70", "1.8181", "72,5 kg", "7" * 1000]
SEGMENTS = [
    ("70", "word start", 2, ("70", 0, 2)),
    ("70", "sentence start", 2, ("70", 0, 2)),
    ("70", "char", 1, ("0", 1, 2)),
    ("70", "char", 2, ("", 2, 2)),
    ("72,5 kg", "word start", 0, ("72,5", 0, 4)),
    ("72,5 kg", "word start", 4, (" ", 4, 5)),
    ("72,5 kg", "word start", 7, ("kg", 5, 7)),
    ("72,5 kg", "line start", 3, ("72,5 kg", 0, 7)),
    ("1.8181", "word end", 6, ("1.8181", 0, 6)),
    (" ", "word start", 0, (" ", 0, 1)),
]
# What lies before and after chosen offsets, the first and last segments included: (text,
# boundary, offset, expected before, expected after). Nothing comes before the first segment or
# after the last; a reader's word-by-word or say-all stops there.
NOTHING = ("", -1, -1)
AROUND = [
    ("72,5 kg", "word start", 0, NOTHING, (" ", 4, 5)),
    ("72,5 kg", "word start", 4, ("72,5", 0, 4), ("kg", 5, 7)),
    ("72,5 kg", "word start", 5, (" ", 4, 5), NOTHING),
    ("72,5 kg", "word start", 7, (" ", 4, 5), NOTHING),
    ("70", "char", 0, NOTHING, ("0", 1, 2)),
    ("70", "char", 1, ("7", 0, 1), NOTHING),
    ("70", "char", 2, ("0", 1, 2), NOTHING),
    ("1.8181", "sentence start", 3, NOTHING, NOTHING),
]


def spoken_name(accessible):
    """The name Orca speaks for an object: that of the label it is labelled by, if any."""
    for relation in accessible.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            return relation.getTarget(0).name
    return accessible.name


def find_all(root, predicate):
    found = []
    for child in root:
        if child is None:
            continue
        if predicate(child):
            found.append(child)
        found.extend(find_all(child, predicate))
    return found


def wait_for(what, find):
    deadline = time.monotonic() + TIMEOUT
    while time.monotonic() < deadline:
        found = find()
        if found:
            return found
        time.sleep(0.1)
    raise AssertionError(f"no {what} appeared")


# One X server and one accessibility registry for the whole run: pyatspi keeps the bus it first
# reaches for the life of the process, so a registry started later would go unseen.
DESKTOP = {}


def setUpModule():
    DESKTOP["server"] = XServer()
    DESKTOP["registry"] = subprocess.Popen(
        ["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
        env=DESKTOP["server"].env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def tearDownModule():
    DESKTOP["registry"].terminate()
    DESKTOP["registry"].wait(timeout=TIMEOUT)
    DESKTOP["server"].stop()


@unittest.skipIf(WEB, "the Linux window's own accessibility objects")
class AccessibilityTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        env = dict(DESKTOP["server"].env)
        Atspi.set_timeout(ANSWER_MS, 10 * ANSWER_MS)
        env.update(LANG="it_IT.UTF-8", LC_ALL="it_IT.UTF-8", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        cls.program = subprocess.Popen([PROGRAM], env=env, stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)
        cls.app = wait_for("program on the bus", lambda: [
            app for app in pyatspi.Registry.getDesktop(0)
            if app is not None and app.name == os.path.basename(PROGRAM)])[0]

    @classmethod
    def tearDownClass(cls):
        cls.program.kill()
        cls.program.wait(timeout=TIMEOUT)

    def find(self, role, name):
        return wait_for(f"{role} {name!r}", lambda: find_all(
            self.app, lambda o: o.getRoleName() == role and o.name == name))[0]

    def box(self, name):
        return self.find("text", name)

    def press(self, button):
        action = self.find("push button", button).queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        action.doAction(names.index("Press"))

    def set_text(self, box, text):
        self.assertTrue(self.box(box).queryEditableText().setTextContents(text))

    def test_each_box_is_spoken_by_its_purpose_with_its_hint(self):
        boxes = find_all(self.app, lambda o: o.getRoleName() == "text")
        spoken = sorted((spoken_name(box), box.description) for box in boxes)
        self.assertEqual(spoken, sorted(BOXES))
        formula = find_all(self.app, lambda o: "radice quadrata" in o.name)
        self.assertEqual([label.name for label in formula],
                         ["Formula utilizzata: radice quadrata di (peso per altezza) diviso 3600"])

    def test_every_offset_of_every_text_is_answered_at_once_and_right(self):
        box = self.box("Peso in chilogrammi")
        for text in TEXTS:
            self.set_text("Peso in chilogrammi", text)
            reader = box.queryText()
            self.assertEqual(reader.getText(0, -1), text)
            offsets = range(len(text) + 1) if len(text) < 100 else (0, 1, 500, 999, 1000)
            for offset in offsets:
                for name, boundary in BOUNDARIES.items():
                    with self.subTest(text=text[:10], offset=offset, boundary=name):
                        started = time.monotonic()
                        piece, start, end = reader.getTextAtOffset(offset, boundary)
                        reader.getTextBeforeOffset(offset, boundary)
                        reader.getTextAfterOffset(offset, boundary)
                        self.assertLess(time.monotonic() - started, ANSWER_MS / 1000)
                        self.assertEqual(piece, text[start:end])
                        if name in LINE_BOUNDARIES:
                            self.assertEqual((start, end), (0, len(text)))
                        elif text:
                            self.assertTrue(start <= offset <= end and start < end or
                                            offset == end == len(text), (piece, start, end))
                # The attribute run at any offset covers the whole text, so Orca reads it whole.
                _, start, end = reader.getAttributeRun(offset, False)
                self.assertEqual((start, end), (0, len(text)))
                self.assertEqual(reader.getText(start, end), text)
        for text, name, offset, expected in SEGMENTS:
            with self.subTest(text=text, offset=offset, boundary=name):
                self.set_text("Peso in chilogrammi", text)
                self.assertEqual(tuple(box.queryText().getTextAtOffset(offset, BOUNDARIES[name])),
                                 expected)
        for text, name, offset, before, after in AROUND:
            with self.subTest(text=text, offset=offset, boundary=name):
                self.set_text("Peso in chilogrammi", text)
                reader = box.queryText()
                self.assertEqual(tuple(reader.getTextBeforeOffset(offset, BOUNDARIES[name])),
                                 before)
                self.assertEqual(tuple(reader.getTextAfterOffset(offset, BOUNDARIES[name])),
                                 after)

    def test_every_result_is_heard_and_nothing_else(self):
        # What Orca speaks a notification on: its showing, with the notification's name.
        heard = []

        def listen(event):
            try:
                if event.source.getRoleName() == "notification" and event.detail1 == 1:
                    heard.append(event.source.name)
            except GLib.Error:
                pass  # an object already gone, such as a closed message's
        pyatspi.Registry.registerEventListener(listen, "object:state-changed:showing")
        self.addCleanup(pyatspi.Registry.deregisterEventListener, listen,
                        "object:state-changed:showing")

        def until_heard(count, patience=TIMEOUT):
            deadline = time.monotonic() + patience
            while len(heard) < count and time.monotonic() < deadline:
                GLib.MainContext.default().iteration(False)
                time.sleep(0.01)

        result = self.box("Risultato: superficie corporea in metri quadrati").queryText()
        spoken = []
        for peso, altezza, written in (("70", "170", "1,81811868577262"), ("80", "180", "2"),
                                       ("72.5", "170", "1,85030027593121")):
            self.set_text("Peso in chilogrammi", peso)
            self.set_text("Altezza in centimetri", altezza)
            self.press("Calcola")
            wait_for("result", lambda: result.getText(0, -1) == written)
            spoken.append(f"Superficie corporea: {written} metri quadrati")
            until_heard(len(spoken))
        self.assertEqual(heard, spoken)

        self.press("Cancella")
        wait_for("cleared result", lambda: result.getText(0, -1) == " ")
        self.set_text("Peso in chilogrammi", "0")
        self.set_text("Altezza in centimetri", "170")
        self.press("Calcola")
        alert = self.find("alert", MESSAGE_TITLE)
        find_all(alert, lambda o: o.getRoleName() == "push button")[0].queryAction().doAction(0)
        until_heard(len(spoken) + 1, patience=3)  # an announcement would have come by now
        self.assertEqual(heard, spoken)

    def test_messages_are_alerts_with_their_title_and_text(self):
        self.set_text("Peso in chilogrammi", "0")
        self.set_text("Altezza in centimetri", "0")
        self.press("Calcola")
        for message in (WEIGHT_MESSAGE, HEIGHT_MESSAGE):
            alert = self.find("alert", MESSAGE_TITLE)
            texts = [label.name for label in find_all(alert, lambda o: o.getRoleName() == "label")]
            self.assertIn(message, texts)
            ok = find_all(alert, lambda o: o.getRoleName() == "push button")
            self.assertEqual(len(ok), 1)
            ok[0].queryAction().doAction(0)
            wait_for("message to close", lambda: not find_all(
                self.app, lambda o: o.getRoleName() == "alert" and
                o.getState().contains(pyatspi.STATE_SHOWING) and
                any(message == label.name for label in find_all(o, lambda c: True))))


RESULT = "Superficie corporea: 1,81811868577262 metri quadrati"
CLOSED_NOTE = "Velandra \u00e8 stata chiusa."
# One visit as a person who cannot see the screen makes it, keyboard only: each step's keys
# (xdotool's names, or text to type), what must then be heard in that order, what must be heard
# exactly once, and what must not be heard. Written from the window's texts; Orca's own words
# (roles, modes, the keys it echoes) come between them and are not matched.
STORIES = [
    ("opening", [], [CAPTION, "Peso in chilogrammi", HINT], [], []),
    ("weight typed", ["70"], [], [], []),
    ("Tab to Uscita", ["Tab"], ["Uscita"], [], []),
    ("Tab to Calcola", ["Tab"], ["Calcola"], [], []),
    ("Tab to Cancella", ["Tab"], ["Cancella"], [], []),
    ("Tab to the height", ["Tab"], ["Altezza in centimetri", HINT], [], []),
    ("height typed", ["170"], [], [], []),
    ("Tab to the result", ["Tab"], ["Risultato: superficie corporea in metri quadrati",
                                    "Calcolata con la formula di Mosteller"], [], []),
    ("back to Calcola", ["shift+Tab", "shift+Tab", "shift+Tab"], ["Calcola"], [], []),
    ("a calculation", ["space"], [], [RESULT], []),
    ("the same result again", ["space"], [], [RESULT], []),
    ("Cancella", ["Tab", "space"], ["Cancella"], [], ["Superficie corporea"]),
    ("the first message", ["shift+Tab", "space"], ["Calcola"],
     [MESSAGE_TITLE, WEIGHT_MESSAGE, "OK"], ["Superficie corporea"]),
    ("the second message", ["Return"], [], [MESSAGE_TITLE, HEIGHT_MESSAGE, "OK"], []),
    ("after the messages", ["Return"], ["Calcola"], [], [WEIGHT_MESSAGE, HEIGHT_MESSAGE]),
    ("Uscita", ["shift+Tab", "space"], ["Uscita"] + ([CLOSED_NOTE] if WEB else []), [], []),
]
# What Orca does not say in an engine, whatever the page does, by story (docs/accessibility.md):
# WebKitGTK's live regions are never spoken (shown with a page of nothing but a status region and
# a live region), and a box given the focus by its autofocus attribute is not spoken, then or when
# focused again (shown with a page of nothing but such a box).
UNSPOKEN = {"webkit": {"opening": ["Peso in chilogrammi", HINT], "a calculation": [RESULT],
                       "the same result again": [RESULT], "Uscita": [CLOSED_NOTE]}}
# How long a step is given to be heard in full, once its keys are pressed.
SPEAKING = 3


class Orca:
    """Debian's Orca on the test's X server and session bus, with settings of its own in a
    temporary home, in Italian. What it says is read from its debug file, one time-stamped line an
    utterance, logged whole before any synthesiser (the test needs no sound). Orca writes the file
    through a buffer, so it is read once Orca has ended."""

    def __init__(self, env):
        self.home = tempfile.mkdtemp(prefix="velandra-orca-")
        self.log = os.path.join(self.home, "orca-debug.txt")
        env = {name: value for name, value in env.items() if not name.startswith("XDG_")}
        env.update(HOME=self.home, XDG_RUNTIME_DIR=self.home)
        self.process = subprocess.Popen(["orca", "--replace", "--debug-file", self.log],
                                        env=env, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        wait_for("Orca on the bus", lambda: [
            app for app in pyatspi.Registry.getDesktop(0) if app is not None and
            app.name == "orca"])

    def stop(self):
        """Ends Orca; returns what it said, as (time, utterance)."""
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        said = []
        if os.path.exists(self.log):
            today = datetime.date.today()
            with open(self.log, encoding="utf-8", errors="replace") as log:
                for line in log:
                    found = re.match(r"(\d\d:\d\d:\d\d\.\d+) - SPEECH OUTPUT: '(.*)'\s*[\[{]", line)
                    if found:
                        at = datetime.time.fromisoformat(found[1])
                        said.append((datetime.datetime.combine(today, at), found[2]))
        shutil.rmtree(self.home, ignore_errors=True)
        return said


class HeardTest(unittest.TestCase):
    """What Orca says as a person goes through the stories with the keyboard: the Linux window,
    or the page in the engine under test."""

    def setUp(self):
        self.env = dict(DESKTOP["server"].env, LANG="it_IT.UTF-8", LC_ALL="it_IT.UTF-8")
        self.orca = Orca(self.env)
        self.addCleanup(self.orca.stop)

    def open_window(self):
        if WEB:
            site = web_driver.SiteServer()
            self.addCleanup(site.stop)
            browser = web_driver.Engine(display=self.env)
            self.addCleanup(browser.stop)
            if web_driver.ENGINE == "webkit":
                # Its test browser keeps the focus in its address bar after a page typed in.
                web_driver.WebVelandra(browser, site.url, locale="it_IT.UTF-8")
                return
            # The address typed into the browser's address bar, as a person opens a page.
            page = browser.visit("about:blank", "it", 1, None)
            for key in ("ctrl+l", site.url, "Return"):
                self.press(key)
            deadline = time.monotonic() + TIMEOUT
            while page.script("return document.documentElement.dataset.velandra") != "ready":
                self.assertLess(time.monotonic(), deadline, "the page did not start")
                time.sleep(0.1)
        else:
            program = subprocess.Popen([PROGRAM], env=dict(
                self.env, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"), stdout=subprocess.DEVNULL,
                stderr=subprocess.DEVNULL)
            self.addCleanup(lambda: (program.kill(), program.wait(timeout=TIMEOUT)))
            subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", CAPTION],
                           env=self.env, check=True, capture_output=True, timeout=TIMEOUT)

    def press(self, key):
        if re.fullmatch(r"[0-9.]+|http:.*", key):
            subprocess.run(["xdotool", "type", "--delay", "50", key], env=self.env, check=True)
        else:
            subprocess.run(["xdotool", "key", key], env=self.env, check=True)
        time.sleep(0.4)

    def test_each_story_is_heard_in_the_window_s_words(self):
        started = []
        for _, keys, *_ in STORIES:
            started.append(datetime.datetime.now())
            if not started[1:]:
                self.open_window()
            for key in keys:
                self.press(key)
            time.sleep(SPEAKING)
        said = self.orca.stop()
        started.append(datetime.datetime.max)
        transcript = []
        unspoken = UNSPOKEN.get(web_driver.ENGINE, {}) if WEB else {}
        for number, (name, _, in_order, once, never) in enumerate(STORIES):
            heard = [text for at, text in said if started[number] <= at < started[number + 1]]
            transcript.append(f"{name}: {heard}")
            with self.subTest(name, heard=heard):
                limited = unspoken.get(name, [])
                in_order = [text for text in in_order if text not in limited]
                once = [text for text in once if text not in limited]
                spoken = " | ".join(heard)
                place = 0
                for text in in_order:
                    found = spoken.find(text, place)
                    self.assertGreaterEqual(found, 0, f"{text!r} not heard in order")
                    place = found + len(text)
                for text in once:
                    self.assertEqual(spoken.count(text), 1, f"{text!r} not heard once")
                for text in never:
                    self.assertNotIn(text, spoken)
                if limited:
                    self.skipTest(f"{web_driver.ENGINE}: Orca does not say {limited}")
        print("\n".join(transcript))


if __name__ == "__main__":
    unittest.main(verbosity=2)
