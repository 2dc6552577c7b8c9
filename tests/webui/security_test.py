"""Requests that must not drive a person's host: without the session's token, from a page of
another site, under another host name. Each is refused and changes nothing; the same request
done right does change the host, so the checks can fail."""
import os
import unittest

from hostpage import HostPage, run


class RefusedRequests(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.host = HostPage()

    @classmethod
    def tearDownClass(cls):
        cls.host.stop()

    def save_as(self, name, token=None, headers=None):
        target = os.path.join(self.host.folder, name)
        path = f"/{token if token is not None else self.host.token}/api/action"
        status, _ = self.host.request("POST", path, {"do": "save-as", "file": target}, headers)
        return status, target

    def test_refused_requests_change_nothing(self):
        other = "0" * len(self.host.token)
        cases = [
            ("no token", "", None),
            ("another token", other, None),
            ("another site", None, {"Origin": "http://attacker.example"}),
            ("another site's fetch", None, {"Sec-Fetch-Site": "cross-site"}),
            ("a rebound host name", None, {"Host": f"attacker.example:{self.host.port}"}),
        ]
        for number, (what, token, headers) in enumerate(cases):
            with self.subTest(what):
                status, target = self.save_as(f"refused{number}.json", token, headers)
                self.assertEqual(status, 403)
        for path in ("/", "/api/state", f"/{other}/", f"/{self.host.token[:-1]}/api/state"):
            with self.subTest(path):
                self.assertEqual(self.host.request("GET", path)[0], 403)
        # The accepted request behind the refused ones shows they really were not carried out.
        status, target = self.save_as("accepted.json", headers={"Origin": f"http://127.0.0.1:{self.host.port}"})
        self.assertEqual(status, 202)
        self.host.wait_for("the project saved", lambda state: state["project"]["file"] == target)
        self.assertEqual(sorted(os.listdir(self.host.folder)), ["accepted.json", os.path.basename(self.host.project)])
        self.assertFalse(any("attacker" in entry["text"] for entry in self.host.state()["transcript"]))

    def test_page_with_token_is_served(self):
        status, text = self.host.request("GET", f"/{self.host.token}/")
        self.assertEqual(status, 200)
        self.assertIn('<script src="app.js"', text)
        # A project file has no geometry: the view says so and there is none to fetch.
        self.assertEqual(self.host.state()["view3d"], {"geometry": None})
        self.assertEqual(self.host.request("GET", f"/{self.host.token}/api/geometry")[0], 404)
        self.assertEqual(self.host.request("POST", f"/{self.host.token}/api/action", None,
                                           {"Content-Type": "text/plain"})[0], 415)


if __name__ == "__main__":
    run()
