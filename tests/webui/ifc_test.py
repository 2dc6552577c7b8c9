"""IFC files in the host's window: a building opened from the command line, another opened
through Project > Open with its progress in the page's progress window, stopped there, and the
open project kept (over HTTP, as the page sends its actions; no browser needed)."""
import os
import tempfile
import unittest

import hostpage

OFFICE = os.environ.get("FACETALLY_OFFICE", "")


class IfcInTheWindow(unittest.TestCase):
    def setUp(self):
        self.page = hostpage.HostPage()
        self.addCleanup(self.page.stop)

    def test_a_building_opens_and_a_stopped_reading_keeps_it(self):
        page = self.page
        state = page.wait_for("the duplex open", lambda s: (s.get("project") or {}).get("name") == "duplex.ifc")
        opened = [line for line in state["transcript"] if "opened (IFC2X3)" in line.get("text", "")]
        self.assertTrue(opened, state["transcript"][-5:])

        # The person opens the office and presses Stop while it is read.
        page.act({"do": "open", "file": OFFICE})
        page.act({"do": "stop"})
        state = page.wait_for("the reading stopped", lambda s: any(
            "(stopped by the person" in line.get("text", "") for line in s["transcript"]))
        state = page.wait_for("the reading over", lambda s: not s["progress"]["open"])
        self.assertEqual(state["project"]["name"], "duplex.ifc")
        texts = [line.get("text", "") for line in state["transcript"]]
        self.assertTrue(any("Reading \"Office_A_20110811.ifc\"... (opened)" in text for text in texts), texts[-6:])
        self.assertTrue(any("was stopped; the open project stays as it was" in text for text in texts), texts[-6:])

    def test_project_export_writes_a_lighter_file_and_refuses_the_source(self):
        page = self.page
        page.wait_for("the duplex open", lambda s: (s.get("project") or {}).get("name") == "duplex.ifc")
        folder = tempfile.mkdtemp()
        target = os.path.join(folder, "duplex-light.ifc")
        page.act({"do": "export-ifc", "file": target})
        page.act({"do": "export-ifc", "file": page.project})
        state = page.wait_for("both exports answered", lambda s: any(
            "it is the IFC file the project was read from" in line.get("text", "") for line in s["transcript"]))
        texts = [line.get("text", "") for line in state["transcript"]]
        self.assertTrue(any(text.startswith("Exported \"duplex-light.ifc\" (IFC2X3)") for text in texts), texts[-6:])
        with open(target, encoding="latin-1") as exported:
            self.assertIn("'Facetally'", exported.read(4096))
        self.assertEqual(state["project"]["name"], "duplex.ifc")


if __name__ == "__main__":
    hostpage.run()
