"""The host's window used carelessly or with ill intent by someone who has the address: malformed
actions and files that are no projects. The host survives each, refuses what it must with a
reason, and keeps answering the person."""
import json
import os
import socket
import threading
import time
import unittest

from hostpage import HostPage, run, start_browser

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


if __name__ == "__main__":
    run()
