"""What assistive technology gets from the web edition, in the engine the tests run in: axe-core's
checks on the page and on an open message; each new result announced through a polite live
region while the focus stays where it was; and, from Chromium's accessibility tree (what a screen
reader reads through the browser), the boxes' spoken names and descriptions and the formula's
reading."""

import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
import web_driver  # noqa: E402

AXE = os.environ.get("VELANDRA_AXE")
HINT = "Utilizzare il punto come separatore dei decimali"
# Name and description of each box, and what the formula reads as, as the desktop editions say.
SPOKEN = {
    "TxtPeso": ("textbox", "Peso in chilogrammi", HINT),
    "TxtAltezza": ("textbox", "Altezza in centimetri", HINT),
    "TxtVelandra": ("textbox", "Risultato: superficie corporea in metri quadrati",
                    "Calcolata con la formula di Mosteller"),
    "LBLFormula": ("math",
                   "Formula utilizzata: radice quadrata di (peso per altezza) diviso 3600", ""),
}
HEARD = "Superficie corporea: {} metri quadrati"


class AccessibilityTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.server = web_driver.SiteServer()
        cls.browser = web_driver.Engine()

    @classmethod
    def tearDownClass(cls):
        cls.browser.stop()
        cls.server.stop()

    def start(self):
        return web_driver.WebVelandra(self.browser, self.server.url)

    def axe_violations(self, app):
        with open(AXE, encoding="utf-8") as source:
            app.script(source.read())
        return app.script("return axe.run(document).then(result => result.violations.map("
                          "  v => [v.id, v.nodes.map(n => n.target)]))")

    def ax_nodes(self, app, names):
        """The accessibility tree's node for each element id."""
        if app.engine != "chromium":
            raise web_driver.Unsupported(f"{app.engine}: its accessibility tree is not open to "
                                         "its driver")
        tree = app.cdp("Accessibility.getFullAXTree")["nodes"]
        by_backend = {node.get("backendDOMNodeId"): node for node in tree}
        root = app.cdp("DOM.getDocument")["root"]["nodeId"]
        nodes = {}
        for name in names:
            node_id = app.cdp("DOM.querySelector", nodeId=root, selector="#" + name)["nodeId"]
            backend = app.cdp("DOM.describeNode", nodeId=node_id)["node"]["backendNodeId"]
            # Chromium leaves out of the tree what it hides from screen readers altogether.
            nodes[name] = by_backend.get(backend, {"ignored": True})
        return nodes

    def test_axe_finds_no_violation_on_the_form_or_on_a_message(self):
        app = self.start()
        self.assertEqual(self.axe_violations(app), [])
        app.click("CmdCalcola")
        app.find_window("Attenzione !!!")
        self.assertEqual(self.axe_violations(app), [])

    def test_boxes_and_formula_say_what_the_desktop_editions_say(self):
        app = self.start()
        nodes = self.ax_nodes(app, [*SPOKEN, "Label3", "LBLFormula2", "Announcer"])
        for name, (role, spoken, description) in SPOKEN.items():
            node = nodes[name]
            self.assertEqual((node["role"]["value"], node["name"]["value"],
                              node.get("description", {}).get("value", "")),
                             (role, spoken, description), name)
        # The rest of the drawn formula is not read a second time.
        self.assertTrue(nodes["Label3"]["ignored"])
        self.assertTrue(nodes["LBLFormula2"]["ignored"])
        live = {p["name"]: p["value"]["value"] for p in nodes["Announcer"].get("properties", [])}
        self.assertEqual((nodes["Announcer"]["role"]["value"], live.get("live")),
                         ("status", "polite"))

    def test_every_result_is_heard_and_nothing_else_while_the_focus_stays(self):
        app = self.start()
        # What a screen reader reads of the region: its text without the blanks about it.
        app.script("window.heard = [];"
                   "new MutationObserver(() => window.heard.push("
                   "  document.getElementById('Announcer').textContent.trim()))"
                   ".observe(document.getElementById('Announcer'),"
                   "  {childList: true, characterData: true, subtree: true});")
        # The region is emptied before each result, so that the same result twice is heard
        # twice.
        results = []
        for peso, altezza, result in (("70", "170", "1.81811868577262"), ("80", "180", "2"),
                                      ("80", "180", "2"), ("72.5", "170", "1.85030027593121")):
            app.click("TxtPeso")
            app.keys("ctrl+a")
            app.type(peso)
            app.click("TxtAltezza")
            app.keys("ctrl+a")
            app.type(altezza)
            app.click("CmdCalcola")
            results += ([""] if results else []) + [HEARD.format(result)]
            app.wait_for("window.heard.length === arguments[0]", len(results))
            self.assertEqual(app.script("return document.activeElement.id"), "CmdCalcola")
        # Cancella withdraws the last result, so that it is not read again when a message
        # closes; a refused value says nothing.
        app.click("CmdCancella")
        app.click("CmdCalcola")
        app.answer_message("Escape")
        app.answer_message("Escape")
        self.assertEqual(app.script("return window.heard"), results + [""])


if __name__ == "__main__":
    unittest.main(verbosity=2)
