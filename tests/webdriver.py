"""Chromium driven through ChromeDriver's WebDriver interface and its DevTools commands, with
nothing but the standard library: for the look tests and the phone gestures benchmark."""
import contextlib
import json
import os
import signal
import socket
import subprocess
import sys
import time
import urllib.request


def fail(what):
    print("FAIL: " + what, file=sys.stderr)
    sys.exit(1)


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


# A browser behind a ChromeDriver of its own, both gone on every way out: a failure, an exception
# or a SIGTERM. The driver leads a process group, which the browser joins, so whatever a session
# that never closed left running goes with the group.
@contextlib.contextmanager
def chromium(args=()):
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    port = free_port()
    driver = subprocess.Popen(["chromedriver", "--port=%d" % port], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, start_new_session=True)
    browser = None
    try:
        # A busy machine may take a while to start the driver, or the browser behind it.
        for _ in range(300):
            try:
                browser = Browser(port, args)
                break
            except (OSError, KeyError, ValueError):
                time.sleep(0.1)
        else:
            fail("ChromeDriver did not start a browser")
        yield browser
    finally:
        if browser:
            with contextlib.suppress(OSError):
                browser.close()
        with contextlib.suppress(ProcessLookupError):
            os.killpg(driver.pid, signal.SIGKILL)
        driver.wait()


class Browser:
    # ChromeDriver may still be starting when the session is asked for. The browser's console is
    # kept for log().
    def __init__(self, port, args=()):
        self.base = "http://127.0.0.1:%d" % port
        options = {"args": ["--headless=new", "--no-sandbox", *args]}
        for _ in range(300):
            try:
                session = self.call("POST", "/session", {"capabilities": {"alwaysMatch": {
                    "goog:chromeOptions": options, "goog:loggingPrefs": {"browser": "ALL"}}}})
                break
            except OSError:
                time.sleep(0.1)
        self.session = "/session/" + session["sessionId"]

    def call(self, method, path, body=None):
        data = json.dumps(body).encode() if body is not None else None
        request = urllib.request.Request(self.base + path, data=data, method=method,
                                         headers={"Content-Type": "application/json"})
        with urllib.request.urlopen(request, timeout=60) as answer:
            return json.load(answer)["value"]

    def open(self, url):
        self.call("POST", self.session + "/url", {"url": url})

    def url(self):
        return self.call("GET", self.session + "/url")

    def press(self, key):
        keys = [{"type": "keyDown", "value": key}, {"type": "keyUp", "value": key}]
        self.call("POST", self.session + "/actions",
                  {"actions": [{"type": "key", "id": "keyboard", "actions": keys}]})

    def run(self, script):
        return self.call("POST", self.session + "/execute/sync", {"script": script, "args": []})

    # The driver may answer with an error while a page prepared ahead takes over.
    def wait_for(self, ending):
        for _ in range(300):
            try:
                if self.url().endswith(ending):
                    return
            except OSError:
                pass
            time.sleep(0.1)
        fail("the browser stayed on %s instead of going to %s" % (self.url(), ending))

    def cdp(self, command, params=None):
        return self.call("POST", self.session + "/goog/cdp/execute",
                         {"cmd": command, "params": params or {}})

    def until(self, script, what):
        for _ in range(300):
            try:
                if self.run(script):
                    return
            except OSError:
                pass
            time.sleep(0.1)
        fail(what + " (at %s)" % self.url())

    # Fingers at (x, y) points, moved in steps to their ends over `seconds`, then lifted.
    # Each event carries the time it was meant for, so a busy machine makes no swipe slower.
    def touch(self, starts, ends, steps=8, seconds=0.2):
        def points(f):
            return [{"x": a[0] + (b[0] - a[0]) * f, "y": a[1] + (b[1] - a[1]) * f, "id": i}
                    for i, (a, b) in enumerate(zip(starts, ends))]
        start = time.time()
        self.cdp("Input.dispatchTouchEvent", {"type": "touchStart", "touchPoints": points(0),
                                              "timestamp": start})
        for step in range(1, steps + 1):
            time.sleep(seconds / steps)
            self.cdp("Input.dispatchTouchEvent", {"type": "touchMove",
                                                  "touchPoints": points(step / steps),
                                                  "timestamp": start + seconds * step / steps})
        self.cdp("Input.dispatchTouchEvent", {"type": "touchEnd", "touchPoints": [],
                                              "timestamp": start + seconds})

    # What the pages wrote to the console since the last call.
    def log(self):
        return [entry["message"] for entry in
                self.call("POST", self.session + "/se/log", {"type": "browser"})]

    def close(self):
        self.call("DELETE", self.session)
