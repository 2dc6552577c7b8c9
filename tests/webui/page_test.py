"""The host's window in a real browser, used by clicking as a person would: the palette opened
from the menu, a count of a story range of the entire project, the palette narrowed until the
Percent column drops, two window parts switched off in the change dialog, the doors selected.
Each step checks what the page shows and what the host holds."""
import os
import re
import unittest

from hostpage import BrowserTestCase, HostPage, run

try:
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.common.exceptions import StaleElementReferenceException
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
    from selenium.webdriver.support.ui import WebDriverWait
except ImportError:  # start_browser says why the tests are skipped
    pass

# Written beside the build, so a test run leaves the source tree as it was; docs/ keeps a copy
# taken the same way.
SCREENSHOT = os.environ.get("FACETALLY_SCREENSHOT", os.path.join(os.getcwd(), "palette-in-browser.png"))


class PageInBrowser(BrowserTestCase):
    def wait(self, what, condition, timeout=10):
        # The page draws a window anew when it changes: an element found just before is gone.
        return WebDriverWait(self.browser, timeout, ignored_exceptions=(StaleElementReferenceException,)).until(
            lambda _: condition(), message=f"the page never showed {what}")

    def act(self, what, action):
        """Does action (finding its elements afresh) once the page holds still long enough."""
        self.wait(what, lambda: action() or True)

    def find(self, selector, inside=None):
        return (inside or self.browser).find_element(By.CSS_SELECTOR, selector)

    def finds(self, selector, inside=None):
        return (inside or self.browser).find_elements(By.CSS_SELECTOR, selector)

    def labelled(self, text, inside):
        """The item showing exactly this text (a button, a check box, a radio button, a text)."""
        return inside.find_element(By.XPATH, f'.//*[contains(@class, "item")][normalize-space(.)="{text}"]')

    def palette(self):
        return self.find(".window.palette")

    def row(self, name):
        return self.palette().find_element(By.XPATH, f'.//div[contains(@class, "row")][div[normalize-space(.)="{name}"]]')

    def polygon_line(self):
        return self.palette().find_element(By.XPATH, './/*[starts-with(normalize-space(.), "Number of polygons")]').text

    def click_at(self, element, x):
        """A click x pixels from the element's left edge, halfway down."""
        ActionChains(self.browser).move_to_element_with_offset(element, x - element.size["width"] // 2, 0).click().perform()

    def palette_list(self):
        return next(item for window in self.host.state()["windows"] if window["kind"] == "palette"
                    for roll in window["items"] for page in roll.get("pages", [])
                    for item in page["items"] if item["kind"] == "list")["list"]

    def check_layout(self, width, height):
        """At this window size the desk fills the height between the menu bar and the status bar,
        and the palette and the report window lie wholly inside the part of the window they own."""
        self.browser.set_window_size(width, height)
        box = self.browser.execute_script("""
            const box = element => element.getBoundingClientRect().toJSON();
            return {menubar: box(document.getElementById("menubar")), desk: box(document.getElementById("desk")),
                    statusbar: box(document.getElementById("statusbar")), palette: box(document.querySelector(".window.palette")),
                    report: box(document.getElementById("report-window")), height: innerHeight};""")
        size = f"{width} x {height}: {box}"
        self.assertAlmostEqual(box["desk"]["top"], box["menubar"]["bottom"], delta=1, msg=size)
        self.assertAlmostEqual(box["desk"]["bottom"], box["statusbar"]["top"], delta=1, msg=size)
        self.assertAlmostEqual(box["statusbar"]["bottom"], box["height"], delta=1, msg=size)
        self.assertLess(box["statusbar"]["height"], 40, size)
        for name, owner in (("palette", box["desk"]), ("report", {**box["desk"], "left": box["desk"]["right"],
                                                                    "right": box["statusbar"]["right"]})):
            inner = box[name]
            self.assertTrue(owner["left"] <= inner["left"] and inner["right"] <= owner["right"] + 1 and
                            owner["top"] <= inner["top"] and inner["bottom"] <= owner["bottom"] + 1, f"{name} at {size}")

    def test_three_tasks_by_clicking(self):
        self.browser.get(self.host.url)
        self.wait("the project's name", lambda: self.find("#project-name").text == "sample-project.json")
        self.wait("the view's line", lambda: self.find("#view3d-window .view3d-line").text ==
                  "This project has no 3D geometry; projects read from IFC files have it")

        # The palette from the menu; the add-on's message waits for the person on the page.
        self.find("#addon-menu .menu-title").click()
        self.assertNotIn("checked", self.find('[data-menu-item="Facetally"]').get_attribute("class"))
        self.find('[data-menu-item="Facetally"]').click()
        dialog = self.wait("the add-on's message", lambda: self.finds("#modal-layer .window"))[0]
        self.assertIn("A library part is missing!", dialog.text)
        self.assertTrue(self.host.state()["busy"])
        self.labelled("Do not show again", dialog).click()
        self.wait("the ticked box", lambda: self.find("#modal-layer input[type=checkbox]").is_selected())
        self.labelled("OK", self.find("#modal-layer .window")).click()
        self.wait("the palette", lambda: self.finds(".window.palette"))
        self.wait("the report", lambda: "Total polygons: 4,142" in self.find("#report").text)
        self.assertIn("checked", self.find('[data-menu-item="Facetally"]').get_attribute("class"))
        self.assertTrue(self.host.state()["menus"][0]["checked"])
        for width, height in ((1100, 760), (1400, 900)):
            self.check_layout(width, height)

        # The entire project, stories 0 to 2.
        for radio in ("Entire project", "From story:"):
            self.act(radio, lambda: self.labelled(radio, self.palette()).click())
            self.wait(f'"{radio}" chosen', lambda: self.labelled(radio, self.palette()).find_element(By.TAG_NAME, "input").is_selected())
        for number, story in enumerate(("0", "2")):
            self.act(f"story {story}", lambda: self.finds(".kind-int-edit", self.palette())[number].send_keys(
                Keys.CONTROL, "a", Keys.NULL, story, Keys.ENTER))
            self.wait(f"story {story} in the edit", lambda: self.finds(".kind-int-edit", self.palette())[number].get_attribute("value") == story)
        self.act("Refresh", lambda: self.labelled("Refresh", self.palette()).click())
        self.wait("the new count", lambda: self.polygon_line() == "Number of polygons : 4,106")
        titles = [roll.text for roll in self.finds(".roll-title", self.palette())]
        self.assertIn("▾Selection: Entire project", titles)
        self.assertTrue(any("Between stories 0 and 2" in title for title in titles), titles)
        self.assertTrue(self.finds(".percent-bar", self.palette()))
        self.browser.save_screenshot(SCREENSHOT)

        # Narrower until the Percent column drops, as the add-on lays the list out.
        self.act("the grow box", lambda: ActionChains(self.browser).click_and_hold(self.find(".grow-box", self.palette()))
                 .move_by_offset(-90, 0).release().perform())
        self.wait("the list without Percent", lambda: not self.finds(".percent-bar", self.palette()))
        fields = self.palette_list()["fields"]
        self.assertTrue(all(field["end"] <= field["begin"] for field in fields[5:]), fields)
        self.assertFalse(any(element.text == "Percent" for element in self.finds(".kind-right-text", self.palette())
                             if element.is_displayed()))

        # Window unfolded by its triangle; two of its parts marked, the second with Ctrl.
        self.act("Window's triangle", lambda: self.click_at(self.row("Window"), 8))
        self.wait("Window's parts", lambda: len(self.finds(".row", self.palette())) == 14)
        self.act("Casement Window", lambda: self.row("Casement Window 1.0").click())
        self.wait("one marked row", lambda: len(self.finds(".row.selected", self.palette())) == 1)
        self.act("Sliding Window", lambda: ActionChains(self.browser).key_down(Keys.CONTROL)
                 .click(self.row("Sliding Window 1.2")).key_up(Keys.CONTROL).perform())
        self.wait("two marked rows", lambda: len(self.finds(".row.selected", self.palette())) == 2)
        self.assertEqual([row for row, line in enumerate(self.palette_list()["rows"], 1) if line["selected"]], [5, 6])

        # Off for both in the change dialog: the polygon line drops.
        self.act("Set Level of Detail", lambda: self.labelled("Set Level of Detail", self.palette()).click())
        dialog = self.wait("the change dialog", lambda: self.finds("#modal-layer .window"))[0]
        self.assertEqual(dialog.get_attribute("data-title"), "Change Selected Item's Level of Detail")
        self.act("Off", lambda: self.find("#modal-layer .window").find_element(
            By.XPATH, './/div[contains(@class, "row")][normalize-space(.)="Off"]').click())
        self.wait("Off marked", lambda: self.finds("#modal-layer .row.selected"))
        self.act("OK", lambda: self.labelled("OK", self.find("#modal-layer .window")).click())
        self.wait("the dialog closed", lambda: not self.finds("#modal-layer .window"))
        self.wait("fewer polygons", lambda: self.polygon_line() != "Number of polygons : 4,106")
        polygons = int(re.sub(r"\D", "", self.polygon_line()))
        self.assertLess(polygons, 4106)

        # The Door row and Select: the host's selection is the three doors.
        self.act("Door", lambda: self.row("Door").click())
        self.wait("Door marked", lambda: "selected" in self.row("Door").get_attribute("class"))
        self.act("Select", lambda: self.labelled("Select", self.palette()).click())
        self.wait("the doors selected", lambda: self.find("#selection").text.count("Door:") == 3)
        selection = self.host.state()["project"]["selection"]["items"]
        self.assertEqual(len(selection), 3)
        self.assertTrue(all(item["element"].startswith("Door:") for item in selection), selection)


if __name__ == "__main__":
    run()
