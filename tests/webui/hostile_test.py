"""The host's window used carelessly or with ill intent by someone who has the address: malformed
actions, stalled connections, browser tabs left open, files that are no projects. The host
survives each, refuses what it must with a reason, and keeps answering the person."""
import json
import os
import socket
import threading
import time
import unittest

from hostpage import BrowserTestCase, HostPage, run

try:
    from selenium.common.exceptions import StaleElementReferenceException
    from selenium.webdriver.common.by import By
    from selenium.webdriver.support.ui import WebDriverWait
except ImportError:  # start_browser says why the tests are skipped
    pass

# A person's request is answered within this, however many connections stall.
ANSWERED_WITHIN = 1.0

# Each action of the page with a value of each field; every other kind of value is refused.
ACTIONS = {
    "menu": {"text": "Facetally"},
    "open": {"file": "x.json"},
    "save-as": {"file": "x.json", "replace": False},
    "export-ifc": {"file": "x.ifc", "replace": False},
    "roll": {"panel": 1, "item": 1, "down": True},
    "close-box": {"panel": 1},
    "resize": {"panel": 1, "width": 300, "height": 200},
    "click": {"panel": 1, "item": 1},
    "type": {"panel": 1, "item": 1, "text": "3"},
    "choose": {"panel": 1, "item": 1, "choice": 1},
    "user-control": {"panel": 1, "item": 1, "value": 1},
    "list-click": {"panel": 1, "item": 1, "row": 1, "x": 1, "modifiers": ["command"]},
    "list-double-click": {"panel": 1, "item": 1, "row": 1, "x": 1, "modifiers": []},
    "list-context-menu": {"panel": 1, "item": 1, "row": 1, "x": 1},
}
WRONG = {
    bool: ["yes", 1, None],
    int: ["1", 1.5, None, True, 40000, -40000, 2**64 - 1, [1]],
    str: [1, None, ["x.json"], {"name": "x"}],
    list: ["command", [1], ["control"], None],
}


def without_transcript(state):
    return {name: value for name, value in state.items() if name != "transcript"}


class Connections:
    """Raw sockets to the host that send a request's first bytes, then one byte now and then."""

    def __init__(self, host, count, start=b"GET /"):
        self.sockets = [socket.create_connection((host.address, host.port), timeout=5) for _ in range(count)]
        for connection in self.sockets:
            connection.sendall(start)
        self.closed_by_host = set()
        self.stopping = threading.Event()
        self.thread = threading.Thread(target=self.trickle, daemon=True)
        self.thread.start()

    def trickle(self):
        while not self.stopping.wait(0.5):
            for number, connection in enumerate(self.sockets):
                if number in self.closed_by_host:
                    continue
                try:
                    connection.sendall(b"x")
                except OSError:
                    self.closed_by_host.add(number)

    def close(self):
        self.stopping.set()
        self.thread.join()
        for connection in self.sockets:
            connection.close()


class HostileUse(unittest.TestCase):
    def setUp(self):
        self.host = HostPage()

    def tearDown(self):
        self.host.stop()

    def post(self, action):
        return self.host.request("POST", f"/{self.host.token}/api/action", action)

    def test_every_malformed_action_is_refused_and_changes_nothing(self):
        before = without_transcript(self.host.state())
        cases = [({"do": "fly"}, '"fly" is no action'), ({"do": "click", "panel": 1}, '"item" is missing')]
        for verb, fields in ACTIONS.items():
            for name, good in fields.items():
                # A user control's value is 32-bit: past it is out of range.
                wrongs = WRONG[type(good)] if name != "value" else WRONG[int][:4] + [2**31, -2**31 - 1]
                for wrong in wrongs:
                    cases.append(({"do": verb, **fields, name: wrong}, f'"{name}"'))
        cases.append(({"do": "roll", "panel": 1, "item": 1, "down": "yes"}, '"down" must be true or false'))
        for action, reason in cases:
            with self.subTest(action=action):
                status, text = self.post(action)
                self.assertEqual(status, 400, text)
                self.assertIn(reason, text)
        told = 'The page\'s action roll panel 1 item 1 down "yes" was refused: "down" must be true or false'
        self.host.wait_for("the refusals told", lambda state: state["transcript"][-1]["text"] == told)
        self.assertEqual(without_transcript(self.host.state()), before)
        self.assertEqual(sorted(os.listdir(self.host.folder)), [os.path.basename(self.host.project)])
        # The same kind of action, well formed, is carried out: the checks can tell them apart.
        self.assertEqual(self.post({"do": "menu", "text": "Facetally"})[0], 202)
        self.host.wait_for("the add-on's message", lambda state: state["modalDialogs"] == 1)

    def answered(self):
        start = time.monotonic()
        self.host.state()
        return time.monotonic() - start

    def test_stalled_connections_and_open_streams_leave_the_person_answered(self):
        streams = [socket.create_connection((self.host.address, self.host.port), timeout=5) for _ in range(12)]
        for stream in streams:
            stream.sendall(f"GET /{self.host.token}/api/events HTTP/1.1\r\nHost: 127.0.0.1:{self.host.port}\r\n\r\n".encode())
            self.assertIn(b"200", stream.recv(64))
        for count in (8, 32):
            with self.subTest(stalled=count):
                stalled = Connections(self.host, count)
                try:
                    time.sleep(0.5)
                    self.assertLess(self.answered(), ANSWERED_WITHIN)
                    # However slowly the bytes come, a request has a few seconds to arrive whole.
                    end = time.monotonic() + 20
                    while len(stalled.closed_by_host) < count and time.monotonic() < end:
                        time.sleep(0.2)
                    self.assertEqual(len(stalled.closed_by_host), count)
                finally:
                    stalled.close()
        for stream in streams:
            stream.close()

    def test_a_stream_whose_client_has_gone_is_let_go(self):
        def open_stream():
            connection = socket.create_connection((self.host.address, self.host.port), timeout=5)
            connection.sendall(f"GET /{self.host.token}/api/events HTTP/1.1\r\nHost: 127.0.0.1:{self.host.port}\r\n\r\n".encode())
            return connection, connection.recv(64)
        streams = []
        while True:
            connection, answer = open_stream()
            if b"503" in answer:
                connection.close()
                break
            streams.append(connection)
            self.assertLess(len(streams), 100, "the streams have no cap")
        for connection in streams:
            connection.close()
        # Gone clients leave room for new tabs long before a keep-alive line would tell.
        end = time.monotonic() + 5
        while True:
            connection, answer = open_stream()
            connection.close()
            if b"200" in answer:
                break
            self.assertLess(time.monotonic(), end, "closed streams were never let go")
            time.sleep(0.2)

    def test_files_that_are_no_projects_are_refused_by_name(self):
        pipe = os.path.join(self.host.folder, "pipe.json")
        os.mkfifo(pipe)
        notes = os.path.join(self.host.folder, "notes.txt")
        with open(notes, "w") as file:
            file.write("my notes\n")
        cases = [
            ({"do": "open", "file": "/dev/zero"}, "/dev/zero: it is a device, not a file"),
            ({"do": "open", "file": pipe}, f"{pipe}: it is a named pipe, not a file"),
            ({"do": "save-as", "file": notes}, f"Will not write over {notes}: it is not a project file"),
            ({"do": "save-as", "file": "/dev/null"}, "/dev/null: it is not a regular file"),
            ({"do": "save-as", "file": notes + "\0.json"}, "the name holds a zero character"),
        ]
        for action, said in cases:
            with self.subTest(action=action):
                self.assertEqual(self.post(action)[0], 202)
                state = self.host.wait_for(said, lambda state: said in state["transcript"][-1]["text"])
                self.assertEqual(state["project"]["file"], self.host.project)
        with open(notes) as file:
            self.assertEqual(file.read(), "my notes\n")
        self.assertEqual(sorted(os.listdir(self.host.folder)), sorted(["notes.txt", "pipe.json", os.path.basename(self.host.project)]))


class InTheBrowser(BrowserTestCase):
    """The page itself: it puts the report together from pushes of new lines, and its Save As
    form writes over a file that is not a project only when the person ticks the box."""

    def refresh_button(self):
        for window in self.host.state()["windows"]:
            for roll in window["items"]:
                for page in roll.get("pages", []):
                    for item in page["items"]:
                        if item["text"] == "Refresh":
                            return {"do": "click", "panel": page["id"], "item": item["index"]}
        raise AssertionError("no Refresh button")

    def test_a_push_carries_the_new_report_lines_only(self):
        host = self.host
        host.act({"do": "menu", "text": "Facetally"})
        state = host.wait_for("the add-on's message", lambda state: state["modalDialogs"] == 1)
        message = next(window for window in state["windows"] if window["kind"] == "modal-dialog")
        host.act({"do": "click", "panel": message["id"], "item": 5})
        host.act({"do": "click", "panel": message["id"], "item": 1})
        state = host.wait_for("the count", lambda state: state["report"]["lines"] and not state["busy"])
        one_count = len(state["report"]["lines"])

        events = socket.create_connection((host.address, host.port), timeout=10)
        events.sendall(f"GET /{host.token}/api/events HTTP/1.1\r\nHost: 127.0.0.1:{host.port}\r\n\r\n".encode())
        pushes = []
        def read():
            buffered = b""
            while True:
                try:
                    got = events.recv(65536)
                except OSError:
                    return
                if not got:
                    return
                buffered += got
                for data in buffered.split(b"\n")[:-1]:
                    if data.startswith(b"data: "):
                        pushes.append(json.loads(data[6:]))
                buffered = buffered.split(b"\n")[-1]
        threading.Thread(target=read, daemon=True).start()
        self.browser.get(host.url)
        refresh = self.refresh_button()
        lines = one_count
        for _ in range(10):
            host.act(refresh)
            state = host.wait_for("a count", lambda state: len(state["report"]["lines"]) > lines and not state["busy"])
            lines = len(state["report"]["lines"])
        time.sleep(0.5)
        events.close()
        # Each line is pushed once, in order: a push starts where the one before ended.
        self.assertEqual(pushes[0]["report"]["start"], 0, "a new page is sent every line")
        end = 0
        for push in pushes:
            self.assertEqual(push["report"]["start"], end)
            end += len(push["report"]["lines"])
        self.assertEqual(end, lines)
        self.assertGreater(len([push for push in pushes if push["report"]["lines"]]), 5)
        total = host.state()
        # The page put the pushes together into the whole report.
        whole = "\n".join(total["report"]["lines"])
        WebDriverWait(self.browser, 10, ignored_exceptions=(StaleElementReferenceException,)).until(
            lambda _: self.browser.find_element(By.ID, "report").get_attribute("textContent") == whole,
            message="the page never showed the whole report")


    def test_the_save_as_form_replaces_another_file_only_when_ticked(self):
        notes = os.path.join(self.host.folder, "notes.txt")
        with open(notes, "w") as file:
            file.write("my notes\n")
        self.browser.get(self.host.url)
        wait = WebDriverWait(self.browser, 10, ignored_exceptions=(StaleElementReferenceException,))
        for tick, said in ((False, "Will not write over"), (True, "Project saved as")):
            self.browser.find_element(By.CSS_SELECTOR, "#project-menu .menu-title").click()
            self.browser.find_element(By.CSS_SELECTOR, '[data-host-action="save-as"]').click()
            name = wait.until(lambda _: self.browser.find_element(By.ID, "file-name"))
            name.clear()
            name.send_keys(notes)
            if tick:
                self.browser.find_element(By.ID, "file-replace").click()
            self.browser.find_element(By.CSS_SELECTOR, '#file-form button[type="submit"]').click()
            self.host.wait_for(said, lambda state: said in state["transcript"][-1]["text"])
            with open(notes) as file:
                self.assertEqual(file.read().startswith("my notes"), not tick)


if __name__ == "__main__":
    run()
