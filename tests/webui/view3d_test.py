"""The 3D view on the duplex in headless Chromium (software WebGL): it draws, its triangles are
the project's meshes, the Door row lights up the doors, the heaviest furniture part its
placements, "Simple" turns them into boxes as the count drops, and a Ctrl+click on an element
selects it in the host."""
import http.client
import os
import struct
import time

from hostpage import BrowserTestCase, run

try:
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.common.exceptions import StaleElementReferenceException
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
    from selenium.webdriver.support.ui import WebDriverWait
except ImportError:  # start_browser says why the tests are skipped
    pass

SCREENSHOT = os.environ.get("FACETALLY_VIEW_SCREENSHOT", os.path.join(os.getcwd(), "view3d-duplex.png"))


def triangles_shown(buffer, levels):
    """The triangles of the mesh each element shows at its level, read from the host's buffer."""
    (block,) = struct.unpack_from("<I", buffer, 0)
    meshes, parts, instances = struct.unpack_from("<III", buffer, 12)
    at = 36
    index_counts = [struct.unpack_from("<4I", buffer, at + 16 * m)[3] for m in range(meshes)]
    at += 16 * meshes
    part_meshes = [struct.unpack_from("<ii", buffer, at + 8 * p) for p in range(parts)]
    at += 8 * parts
    total = []
    for i in range(instances):
        _, _, part, own = struct.unpack_from("<4i", buffer, at + 64 * i)
        mesh = own if part == 0 else {"D": part_meshes[part - 1][0], "S": part_meshes[part - 1][1]}.get(levels[i], -1)
        total.append(index_counts[mesh] // 3 if mesh >= 0 else 0)
    return total


class ViewInBrowser(BrowserTestCase):
    def wait(self, what, condition, timeout=20):
        # The page redraws its windows as the host's state arrives: an element found may be gone
        # by the time it is clicked, and is found again.
        return WebDriverWait(self.browser, timeout, ignored_exceptions=(StaleElementReferenceException,)).until(
            lambda _: condition(), message=f"the page never showed {what}")

    def hook(self, call, *arguments):
        return self.browser.execute_script("return window.facetally3d." + call, *arguments)

    def palette_row(self, text):
        return self.browser.find_element(By.XPATH, f'//*[contains(@class, "palette")]//div[contains(@class, "row")][div[normalize-space(.)="{text}"]]')

    def box(self, selector):
        return self.browser.execute_script(f"return document.querySelector('{selector}').getBoundingClientRect().toJSON()")

    def test_the_duplex_in_3d_with_the_palette(self):
        browser, host = self.browser, self.host
        started = time.time()
        browser.get(host.url)
        self.wait("the drawn view", lambda: self.hook("ready()"), timeout=30)
        print(f"duplex shown after {time.time() - started:.2f} s (geometry read in {self.hook('loadSeconds()'):.2f} s)")
        # Pixels of the canvas differ from the background.
        colours = browser.execute_script("""
            const canvas = document.querySelector('.view3d-canvas canvas');
            const copy = document.createElement('canvas'); copy.width = canvas.width; copy.height = canvas.height;
            const context = copy.getContext('2d'); context.drawImage(canvas, 0, 0);
            const pixels = context.getImageData(0, 0, copy.width, copy.height).data, seen = new Set();
            for (let i = 0; i < pixels.length; i += 4 * 97) seen.add(pixels[i] << 16 | pixels[i + 1] << 8 | pixels[i + 2]);
            return seen.size;""")
        self.assertGreater(colours, 10)

        buffer = self.geometry()
        levels = host.state()["view3d"]["levels"]
        self.assertEqual(self.hook("triangleCount()"), sum(triangles_shown(buffer, levels)))

        # The palette; its Door row lights up the doors the count admitted.
        browser.find_element(By.CSS_SELECTOR, "#addon-menu .menu-title").click()
        browser.find_element(By.CSS_SELECTOR, '[data-menu-item="Facetally"]').click()
        self.wait("the count", lambda: "Total polygons" in browser.find_element(By.ID, "report").text)
        for width, height in ((1400, 900), (1100, 760)):
            browser.set_window_size(width, height)
            desk = self.box("#desk")
            for part in (".window.palette", "#view3d-window"):
                inner = self.box(part)
                self.assertTrue(desk["left"] <= inner["left"] and inner["right"] <= desk["right"] + 1 and
                                desk["top"] <= inner["top"] and inner["bottom"] <= desk["bottom"] + 1, f"{part} at {width}x{height}")
        self.wait("Door row", lambda: self.palette_row("Door").click() or True)
        doors = self.wait("14 doors lit", lambda: len(self.hook("lit()")) == 14 and self.hook("lit()"))
        ids = [self.hook("elementId(arguments[0])", n) for n in doors]
        self.assertTrue(all(id.startswith("Door:") for id in ids), ids)
        self.wait("the view drawn", lambda: self.hook("ready()"))
        browser.save_screenshot(SCREENSHOT)

        # The heaviest furniture part (the Object row's first part row) lights up its four
        # placements; "Simple" turns them into boxes of 12 triangles while the count drops.
        type_rows = self.list_rows()
        self.wait("Object unfolded", lambda: ActionChains(browser).move_to_element_with_offset(self.palette_row("Object"), -self.palette_row("Object").size["width"] // 2 + 8, 0).click().perform() or True)
        heaviest = self.wait("a furniture part row", lambda: self.first_part_row_after("Object", type_rows))
        self.assertIn("1000 mm (2)", self.list_rows()[heaviest - 1])
        self.wait("the part marked", lambda: self.browser.find_element(
            By.CSS_SELECTOR, f'.window.palette .row[data-row="{heaviest}"]').click() or True)
        placements = self.wait("its placements lit", lambda: len(self.hook("lit()") or []) == 4 and self.hook("lit()"))
        self.assertTrue(all(self.hook("elementId(arguments[0])", n).startswith("Object:") for n in placements))
        self.wait("Set Level of Detail", lambda: browser.find_element(
            By.XPATH, '//*[contains(@class, "palette")]//*[contains(@class, "item")][normalize-space(.)="Set Level of Detail"]').click() or True)
        self.wait("Simple", lambda: browser.find_element(
            By.XPATH, '//*[@id="modal-layer"]//div[contains(@class, "row")][normalize-space(.)="Simple"]').click() or True)
        self.wait("OK", lambda: browser.find_element(
            By.XPATH, '//*[@id="modal-layer"]//*[contains(@class, "item")][normalize-space(.)="OK"]').click() or True)
        self.wait("boxes", lambda: all(self.hook("triangles(arguments[0])", n) == 12 for n in placements))
        self.wait("the count dropped", lambda: "Total polygons: 9,240" in browser.find_element(By.ID, "report").text)
        levels = host.state()["view3d"]["levels"]
        self.assertEqual(self.hook("triangleCount()"), sum(triangles_shown(buffer, levels)))

        # Ctrl+click on an element whose centre nothing hides selects it in the host.
        self.hook("show('top')")
        self.wait("drawn from the top", lambda: self.hook("ready()"))
        target = next(n for n in range(self.hook("elementCount()"))
                      if self.hook("elementId(arguments[0])", n).startswith(("Wall", "Slab")) and
                      self.hook("pick(arguments[0].x, arguments[0].y)", self.hook("centre(arguments[0])", n)) == n)
        centre = self.hook("centre(arguments[0])", target)
        canvas = browser.find_element(By.CSS_SELECTOR, ".view3d-canvas canvas")
        rect = self.box(".view3d-canvas canvas")
        ActionChains(browser).key_down(Keys.CONTROL).move_to_element_with_offset(
            canvas, round(centre["x"] - rect["left"] - rect["width"] / 2), round(centre["y"] - rect["top"] - rect["height"] / 2)
        ).click().key_up(Keys.CONTROL).perform()
        wanted = self.hook("elementId(arguments[0])", target)
        self.wait("the host's selection", lambda: [item["element"] for item in host.state()["project"]["selection"]["items"]] == [wanted])
        self.wait("it shown selected", lambda: self.hook("selected()") == [target])
        self.assertIn(wanted, browser.find_element(By.CSS_SELECTOR, ".view3d-info").text)

    def test_project_menu_exports_a_lighter_file_beside_the_project(self):
        browser, host = self.browser, self.host
        browser.get(host.url)
        self.wait("the project menu", lambda: browser.find_element(By.CSS_SELECTOR, "#project-menu .menu-title"))
        browser.find_element(By.CSS_SELECTOR, "#project-menu .menu-title").click()
        browser.find_element(By.CSS_SELECTOR, '[data-host-action="export-ifc"]').click()
        name = browser.find_element(By.ID, "file-name")
        self.assertEqual(browser.find_element(By.ID, "file-form-what").text, "Export lighter IFC as")
        self.assertEqual(name.get_attribute("value"), os.path.join(host.folder, "duplex-light.ifc"))
        browser.find_element(By.CSS_SELECTOR, '#file-form button[type="submit"]').click()
        host.wait_for("the export", lambda state: state["transcript"][-1]["text"].startswith("Exported \"duplex-light.ifc\""))
        self.assertTrue(os.path.exists(os.path.join(host.folder, "duplex-light.ifc")))

    def test_geometry_and_library_only_with_token_and_own_origin(self):
        host, other = self.host, "0" * len(self.host.token)
        for path, headers in ((f"/{other}/api/geometry", None), ("/api/geometry", None),
                              (f"/{host.token}/api/geometry", {"Origin": "http://attacker.example"}),
                              (f"/{host.token}/api/geometry", {"Sec-Fetch-Site": "cross-site"}),
                              (f"/{host.token}/three/three.min.js", {"Host": f"attacker.example:{host.port}"})):
            with self.subTest(path=path, headers=headers):
                connection = http.client.HTTPConnection(host.address, host.port, timeout=10)
                connection.request("GET", path, headers=headers or {})
                response = connection.getresponse()
                body = response.read()
                self.assertEqual(response.status, 403)
                self.assertNotIn(b"FTGEOM", body)
                self.assertNotIn(b"THREE", body)
        self.assertEqual(self.geometry()[4:12], b"FTGEOM01")

    def list_rows(self):
        return [[cell["text"] for cell in row["cells"]] for window in self.host.state()["windows"]
                if window["kind"] == "palette" for roll in window["items"] for page in roll.get("pages", [])
                for item in page["items"] if item["kind"] == "list" for row in item["list"]["rows"]]

    def first_part_row_after(self, type_row, type_rows):
        """The row number (from 1) of the first part row under the type's row, once unfolded."""
        texts = self.list_rows()
        start = next(i for i, cells in enumerate(texts) if type_row in cells)
        unfolded = start + 1 < len(texts) and texts[start + 1] not in type_rows
        return start + 2 if unfolded else None

    def geometry(self):
        connection = http.client.HTTPConnection(self.host.address, self.host.port, timeout=10)
        connection.request("GET", f"/{self.host.token}/api/geometry")
        return connection.getresponse().read()


if __name__ == "__main__":
    run()
