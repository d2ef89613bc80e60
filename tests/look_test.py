"""The looks in a real browser: a show generated with the look made for phones, opened from its
folder in headless Chromium, follows the arrow key to the next slide and Escape to the overview
page; in a site of albums the trail leads up from a slide, and Escape and the up arrow climb from
an album's overview to the one above it; a clip's page of every look loads the clip and knows its
length and leaves the keys and swipes on the clip to it, and Play waits for a clip to end. Driven
through ChromeDriver's WebDriver interface, with nothing but the standard library."""
import json
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import urllib.request

program, templates = sys.argv[1], sys.argv[2]


def fail(what):
    print("FAIL: " + what, file=sys.stderr)
    sys.exit(1)


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class Browser:
    def __init__(self, port):
        self.base = "http://127.0.0.1:%d" % port
        options = {"args": ["--headless=new", "--no-sandbox", "--disable-gpu",
                            "--autoplay-policy=no-user-gesture-required"]}
        session = self.call("POST", "/session", {
            "capabilities": {"alwaysMatch": {"goog:chromeOptions": options}}})
        self.session = "/session/" + session["sessionId"]

    def call(self, method, path, body=None):
        data = json.dumps(body).encode() if body is not None else None
        request = urllib.request.Request(self.base + path, data=data, method=method,
                                         headers={"Content-Type": "application/json"})
        with urllib.request.urlopen(request, timeout=30) as answer:
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

    def wait_for(self, ending):
        for _ in range(300):
            if self.url().endswith(ending):
                return
            time.sleep(0.1)
        fail("the browser stayed on %s instead of going to %s" % (self.url(), ending))

    def close(self):
        self.call("DELETE", self.session)


# A swipe to the left along the clip, as a finger on its timeline makes it.
SWIPE_ON_CLIP = """
var clip = document.querySelector('video');
if (!clip) return;
function touch(type, x) {
  var point = new Touch({identifier: 1, target: clip, clientX: x, clientY: 100});
  var touches = type === 'touchend' ? [] : [point];
  clip.dispatchEvent(new TouchEvent(type, {bubbles: true, touches: touches,
                                           changedTouches: [point]}));
}
touch('touchstart', 300);
touch('touchend', 100);
"""


with tempfile.TemporaryDirectory() as work:
    for name in ("a.jpg", "b.jpg"):
        subprocess.run(["vips", "black", os.path.join(work, name), "640", "480"], check=True)
    # A clip with sound, longer than Play shows a photo, in a file browsers do not all play.
    subprocess.run(["ffmpeg", "-v", "error", "-f", "lavfi", "-i", "testsrc=size=320x240:rate=10",
                    "-f", "lavfi", "-i", "sine", "-t", "7", "-c:v", "mpeg4",
                    os.path.join(work, "clip.mkv")], check=True)
    for look in ("phone", "light", "dark"):
        os.makedirs(os.path.join(work, look))
        with open(os.path.join(work, look + ".dat"), "w") as project:
            project.write("TEMPLATE=%s/%s.htm\nOUTPUT=%s\nWEBSIDE=600\nTHUMBSIDE=100\n"
                          "OVERVIEW=%s/%s-overview.htm\nIMAGE=b.jpg\nTITLE=Second\n\n"
                          "IMAGE=a.jpg\nTITLE=First\n\nIMAGE=clip.mkv\nTITLE=Clip\n"
                          % (templates, look, look, templates, look))
        subprocess.run([program, "--generate", look + ".dat"], cwd=work, check=True,
                       stdout=subprocess.DEVNULL)
    # A site: the photo at the top, an album Trip and in it the album Rome.
    os.makedirs(os.path.join(work, "pics", "Trip", "Rome"))
    for name, folder in (("a.jpg", "pics"), ("b.jpg", "pics/Trip/Rome")):
        shutil.copy(os.path.join(work, name), os.path.join(work, folder))
    with open(os.path.join(work, "site.dat"), "w") as project:
        project.write("TEMPLATE=%s/phone.htm\nOVERVIEW=%s/phone-overview.htm\nOUTPUT=site\n"
                      % (templates, templates))
    os.makedirs(os.path.join(work, "site"))
    for command in (["--import", "pics", "site.dat", "--albums"], ["--generate", "site.dat"]):
        subprocess.run([program] + command, cwd=work, check=True, stdout=subprocess.DEVNULL)
    port = free_port()
    driver = subprocess.Popen(["chromedriver", "--port=%d" % port],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        # A busy machine may take a while to start the driver, or the browser behind it.
        for _ in range(300):
            try:
                browser = Browser(port)
                break
            except (OSError, KeyError, ValueError):
                time.sleep(0.1)
        else:
            fail("ChromeDriver did not start a browser")
        browser.open("file://" + os.path.join(work, "phone", "first.htm"))
        browser.press("\ue014")  # the right arrow key
        browser.wait_for("/second.htm")
        browser.press("\ue00c")  # Escape
        browser.wait_for("/index.htm")
        site = os.path.join(work, "site")
        browser.open("file://" + os.path.join(site, "trip", "rome", "b.htm"))
        trail = browser.run("return Array.from(document.querySelectorAll('.trail a'), "
                            "a => a.href);")
        steps = ["index.htm", "trip/index.htm", "trip/rome/index.htm", "trip/rome/b.htm"]
        if trail != ["file://" + os.path.join(site, step) for step in steps]:
            fail("the trail of an album's slide leads to %s" % trail)
        browser.press("\ue00c")  # Escape
        browser.wait_for("/site/trip/rome/index.htm")
        browser.press("\ue00c")
        browser.wait_for("/site/trip/index.htm")
        browser.press("\ue013")  # the up arrow
        browser.wait_for("/site/index.htm")
        for look in ("phone", "light", "dark"):
            browser.open("file://" + os.path.join(work, look, "clip.htm"))
            for _ in range(300):
                length = browser.run("var v = document.querySelector('video');"
                                     "return v && v.readyState >= 1 ? v.duration : null;")
                if length is not None:
                    break
                time.sleep(0.1)
            if length is None or abs(length - 7) > 0.1:
                fail("%s: the clip's page gave the length %s" % (look, length))
            # Keys and swipes on the clip are the clip's: the right arrow seeks, the page stays.
            browser.run("document.querySelector('video').focus();")
            browser.press("\ue014")
            browser.run(SWIPE_ON_CLIP)
            time.sleep(1)
            if not browser.url().endswith("/clip.htm"):
                fail("%s: a key or swipe on the clip went to %s" % (look, browser.url()))
        # Play goes on from the clip, the show's first slide, only once it has played through.
        browser.open("file://" + os.path.join(work, "phone", "clip.htm#play"))
        time.sleep(6)
        if not browser.url().endswith("/clip.htm#play"):
            fail("Play left the clip after %s s, before its end" % 6)
        browser.wait_for("/first.htm#play")
        browser.close()
    finally:
        driver.terminate()
        driver.wait()
