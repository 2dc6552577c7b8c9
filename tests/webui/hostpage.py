"""The reference host run with --ui for the page's tests: a copy of a project in a folder of
its own, the address the host prints, its state and actions over HTTP, and a headless browser."""
import http.client
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import unittest

HOST = os.environ.get("FACETALLY_HOST", "")
PROJECT = os.environ.get("FACETALLY_PROJECT", "")
# The exit code that tells the test runner a test was skipped.
SKIPPED = 77


class HostPage:
    """facetally-host --ui on a copy of the project; stop() quits it."""

    def __init__(self):
        self.folder = tempfile.mkdtemp(prefix="facetally-ui-")
        self.project = os.path.join(self.folder, os.path.basename(PROJECT))
        shutil.copy(PROJECT, self.project)
        self.output = []
        self.process = subprocess.Popen([HOST, "--ui", self.project], stdout=subprocess.PIPE,
                                        stderr=subprocess.STDOUT, text=True, cwd=self.folder)
        # The host writes its transcript as it goes: read it all, so it never waits on a full pipe.
        printed = threading.Event()
        def read():
            for line in self.process.stdout:
                self.output.append(line)
                if "http://" in line:
                    printed.set()
        threading.Thread(target=read, daemon=True).start()
        if not printed.wait(30):
            self.stop()
            raise RuntimeError("the host printed no address:\n" + "".join(self.output))
        self.url = re.search(r"http://\S+", "".join(self.output)).group(0)
        match = re.match(r"http://([\d.]+):(\d+)/(\w+)/", self.url)
        self.address, self.port, self.token = match.group(1), int(match.group(2)), match.group(3)
        # The address is printed before the host's thread publishes its first state.
        self.wait_for("its first state", lambda state: "transcript" in state, timeout=30)

    def request(self, method, path, body=None, headers=None):
        """(status, text) of a request to the host; path is taken as it is (no token added)."""
        connection = http.client.HTTPConnection(self.address, self.port, timeout=10)
        sent = {"Content-Type": "application/json"} if body is not None else {}
        sent.update(headers or {})
        connection.request(method, path, json.dumps(body) if body is not None else None, sent)
        response = connection.getresponse()
        return response.status, response.read().decode()

    def state(self):
        status, text = self.request("GET", f"/{self.token}/api/state")
        assert status == 200, text
        return json.loads(text)

    def act(self, action):
        status, text = self.request("POST", f"/{self.token}/api/action", action)
        assert status == 202, text

    def wait_for(self, what, check, timeout=10):
        """The host's state once check(state) holds; fails naming what was awaited."""
        end = time.time() + timeout
        while True:
            state = self.state()
            if check(state):
                return state
            if time.time() > end:
                raise AssertionError(f"the host never showed {what}; transcript: {state['transcript'][-8:]}")
            time.sleep(0.05)

    def stop(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGINT)
            try:
                self.process.wait(15)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        shutil.rmtree(self.folder, ignore_errors=True)


def start_browser():
    """A headless Chromium through chromedriver; raises unittest.SkipTest naming why it cannot start."""
    try:
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service
    except ImportError as error:
        raise unittest.SkipTest(f"no browser test: python3-selenium is missing ({error})")
    chromium = shutil.which("chromium") or "/usr/bin/chromium"
    driver = shutil.which("chromedriver") or "/usr/bin/chromedriver"
    if not (os.path.exists(chromium) and os.path.exists(driver)):
        raise unittest.SkipTest("no browser test: chromium and chromium-driver are not installed (scripts/setup.sh)")
    options = webdriver.ChromeOptions()
    options.binary_location = chromium
    for argument in ("--headless=new", "--no-sandbox", "--disable-dev-shm-usage", "--disable-gpu",
                     "--window-size=1400,900", "--force-device-scale-factor=1",
                     # WebGL in software, for the 3D view.
                     "--use-angle=swiftshader", "--enable-unsafe-swiftshader"):
        options.add_argument(argument)
    try:
        return webdriver.Chrome(service=Service(driver), options=options)
    except Exception as error:  # any failure to start is a missing browser, not a failed test
        raise unittest.SkipTest(f"no browser test: chromium could not start ({error})")


class BrowserTestCase(unittest.TestCase):
    """One browser and one host for the tests of a class."""

    @classmethod
    def setUpClass(cls):
        cls.browser = start_browser()
        cls.host = HostPage()

    @classmethod
    def tearDownClass(cls):
        cls.browser.quit()
        cls.host.stop()


def run():
    """Runs the tests of the script; exits with SKIPPED when every test was skipped."""
    if not (os.path.isfile(HOST) and os.path.isfile(PROJECT)):
        raise SystemExit("set FACETALLY_HOST and FACETALLY_PROJECT")
    suite = unittest.defaultTestLoader.loadTestsFromModule(sys.modules["__main__"])
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    if not result.wasSuccessful():
        raise SystemExit(1)
    if result.testsRun > 0 and len(result.skipped) == result.testsRun:
        for _, why in result.skipped[:1]:
            print("SKIPPED:", why)
        raise SystemExit(SKIPPED)
