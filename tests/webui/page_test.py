"""The host's window in a real browser, used by clicking as a person would; each step checks
what the page shows and what the host holds."""
import unittest

from hostpage import HostPage, run, start_browser
try:
    from selenium.webdriver.common.by import By
    from selenium.webdriver.support.ui import WebDriverWait
except ImportError:  # start_browser says why the tests are skipped
    pass


class PageInBrowser(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.browser = start_browser()
        cls.host = HostPage()

    @classmethod
    def tearDownClass(cls):
        cls.browser.quit()
        cls.host.stop()

    def wait(self, what, condition, timeout=10):
        return WebDriverWait(self.browser, timeout).until(lambda _: condition(), message=f"the page never showed {what}")

    def find(self, selector):
        return self.browser.find_element(By.CSS_SELECTOR, selector)

    def finds(self, selector):
        return self.browser.find_elements(By.CSS_SELECTOR, selector)

    def choose_menu(self, text):
        self.find("#addon-menu .menu-title").click()
        item = self.find(f'[data-menu-item="{text}"]')
        item.click()

    def test_menu_command_from_the_page(self):
        self.browser.get(self.host.url)
        self.wait("the project's name", lambda: self.find("#project-name").text == "sample-project.json")
        self.find("#addon-menu .menu-title").click()
        self.assertNotIn("checked", self.find('[data-menu-item="Facetally"]').get_attribute("class"))
        self.find('[data-menu-item="Facetally"]').click()

        # The add-on's message waits for the person, who answers it on the page.
        dialog = self.wait("the add-on's message", lambda: self.finds("#modal-layer .window"))[0]
        self.assertTrue(self.host.state()["busy"])
        dialog.find_element(By.XPATH, './/button[text()="OK"]').click()

        self.wait("the report", lambda: "Total polygons: 4,142" in self.find("#report").text)
        self.wait("the menu's check mark", lambda: "checked" in self.find('[data-menu-item="Facetally"]').get_attribute("class"))
        self.assertFalse(self.finds("#modal-layer .window"))
        state = self.host.state()
        self.assertTrue(state["menus"][0]["checked"])
        self.assertIn("Total polygons: 4,142", state["report"])


if __name__ == "__main__":
    run()
