"""How the phone look answers the fingers, in Chromium with the CPU slowed four times, served from
a local server that counts what it is asked for:
- a swipe: from the finger lifting to the next slide's picture painted, median of 20 swipes,
  against the same picture already in the page shown in its place (the floor); once with the
  next page prepared ahead by the browser, once without, where the slowed CPU also loads it;
- a pinch on a 24-megapixel photo's largest copy: frames dropped while the fingers move;
- bytes: how often the server sends the next slide's picture (once: the preload and the next
  page share it).
A phone's screen is 412 x 915 pixels at DENSITY device pixels each (2.625 unless given); the
browser draws in software here, so the density weighs on every frame.
Usage: phone_gestures.py VISTELLO TEMPLATES [DENSITY]"""
import http.server
import json
import os
import statistics
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests"))
from webdriver import chromium  # noqa: E402

program, templates = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
density = float(sys.argv[3]) if len(sys.argv) > 3 else 2.625
asked = {}


# Only answers that carry the file count: a 304 tells the browser its copy is still good.
# Pages get the measuring script first thing in their head: a page the browser prepared ahead
# runs no script the driver adds to new documents.
class Counting(http.server.SimpleHTTPRequestHandler):
    ahead = True

    def do_GET(self):
        local = self.translate_path(self.path)
        if not local.endswith(".htm") or not os.path.isfile(local):
            return super().do_GET()
        with open(local, encoding="utf-8") as page:
            script = MEASURE if Counting.ahead else MEASURE + NOT_AHEAD
            body = page.read().replace("<head>", "<head><script>%s</script>" % script, 1)
        body = body.encode()
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def send_response(self, code, message=None):
        if code == 200:
            asked[self.path] = asked.get(self.path, 0) + 1
        super().send_response(code, message)

    def log_message(self, *args):
        pass


# On every page: the moment a finger lifts, kept across pages, and the moment the new page's
# picture is first painted: the first frame after it is decoded, or its paint timing.
MEASURE = """
addEventListener('touchend', function () {
  sessionStorage.lifted = performance.timeOrigin + performance.now();
}, true);
function measure() {
  var lifted = Number(sessionStorage.lifted || 0);
  var img = document.querySelector('.stage img');
  if (!lifted || !img || window.name) return;
  sessionStorage.lifted = '';
  var prepared = performance.getEntriesByType('navigation')[0].activationStart > 0;
  img.decode().then(function () {
    requestAnimationFrame(function (t) {
      var list = JSON.parse(sessionStorage.swipes || '[]');
      list.push([performance.timeOrigin + t - lifted, prepared, img.currentSrc]);
      sessionStorage.swipes = JSON.stringify(list);
    });
  });
}
if (document.prerendering) document.addEventListener('prerenderingchange', measure);
else addEventListener('DOMContentLoaded', measure);
"""
# The browser's CPU slowing holds for the tab, not for pages it prepares aside; without them every
# page loads where it is measured.
NOT_AHEAD = "HTMLScriptElement.supports = function () { return false; };"
READY = "var s = document.querySelector('.side img'); return Boolean(s && s.complete);"
# The floor: the next picture, decoded beside the photo, moved into its place in one frame.
FLOOR = """
var done = arguments[0], side = document.querySelector('.side');
var start = performance.now();
side.style.transition = 'none';
side.style.transform = 'none';
requestAnimationFrame(function () { setTimeout(function () { done(performance.now() - start); }); });
"""
# Frames dropped while the fingers pinch: a frame later than one and a half of 60 per second.
FRAMES = """
window.frames_ = []; var last = 0;
(function tick(t) { if (last) frames_.push(t - last); last = t;
  if (!window.stopFrames) requestAnimationFrame(tick); })(0);
"""


# Opened afresh, a slide fetches the next one's picture ahead; a swipe then shows the next page.
# How many times did the server send that picture?
def sent_once(browser, base):
    browser.open(base + "/show/dawn_over_the_hills.htm")
    browser.until(READY, "the next picture beside the photo")
    time.sleep(1)
    browser.touch([(330, 200)], [(80, 200)], 4, 0.12)
    browser.until("return location.pathname.endsWith('lake_at_noon.htm') && "
                  "document.querySelector('.stage img').complete;", "the next slide")
    path = browser.run("return new URL(document.querySelector('.stage img').currentSrc).pathname;")
    return path, asked.get(path, 0)


# A phone's screen and a phone's speed. A page prepared ahead takes over the tab without them, so
# they are asked for again on every page.
def phone(browser):
    browser.cdp("Emulation.setDeviceMetricsOverride",
                {"width": 412, "height": 915, "deviceScaleFactor": density, "mobile": True})
    browser.cdp("Emulation.setTouchEmulationEnabled", {"enabled": True, "maxTouchPoints": 5})
    browser.cdp("Emulation.setCPUThrottlingRate", {"rate": 4})


def swipes(browser, base):
    browser.open(base + "/show/dawn_over_the_hills.htm")
    browser.run("sessionStorage.clear();")
    floors = []
    forward = True
    while len(json.loads(browser.run("return sessionStorage.swipes || '[]';"))) < 20:
        phone(browser)
        time.sleep(0.5)
        browser.until(READY.replace("return ", "return document.readyState === 'complete' && "),
                      "the page and the next picture")
        time.sleep(0.3)
        has_next = browser.run("return Boolean(document.querySelector('#next a'));")
        has_back = browser.run("return Boolean(document.querySelector('#back a'));")
        forward = (forward and has_next) or not has_back
        page = browser.url()
        browser.touch([(330 if forward else 80, 200)], [(80 if forward else 330, 200)], 4, 0.12)
        for _ in range(200):
            if browser.url() != page:
                break
            time.sleep(0.02)
    found = json.loads(browser.run("return sessionStorage.swipes;"))
    for _ in range(20):
        browser.until(READY, "the next picture beside the photo")
        floors.append(browser.call("POST", browser.session + "/execute/async",
                                   {"script": FLOOR, "args": []}))
        browser.run("var s = document.querySelector('.side');"
                    "s.style.transform = 'translateX(100%)';")
        time.sleep(0.1)
    prepared = sum(1 for _, ahead, _ in found if ahead)
    painted = sorted(set(src.rsplit("/", 1)[-1] or "(none)" for _, _, src in found))
    return statistics.median(t for t, _, _ in found), statistics.median(floors), prepared, painted


def pinch(browser, base):
    browser.open(base + "/big/show/big.htm")
    browser.until("var i = document.querySelector('.stage img'); return i.complete;", "the photo")
    time.sleep(1)
    browser.run(FRAMES)
    browser.touch([(180, 150), (230, 150)], [(60, 150), (350, 150)], 60, 1.0)
    browser.touch([(60, 150), (350, 150)], [(150, 150), (260, 150)], 60, 1.0)
    browser.run("window.stopFrames = true;")
    deltas = browser.run("return frames_;")
    dropped = sum(int(d // (1000 / 60 * 1.5)) for d in deltas)
    return len(deltas), dropped, statistics.median(deltas)


with tempfile.TemporaryDirectory() as work:
    subprocess.run([os.path.join(os.path.dirname(program), "tools", "vistello_demo"), templates, os.path.join(work, "demo")],
                   check=True, stdout=subprocess.DEVNULL)
    with open(os.path.join(work, "demo", "demo.dat")) as demo:
        rows = demo.read().split("IMAGE=", 1)[1]
    with open(os.path.join(work, "demo", "demo.dat"), "w") as project:
        project.write("TEMPLATE=phone.htm\nOVERVIEW=phone-overview.htm\nOUTPUT=show\n"
                      "WEBSIDE=1200\nTHUMBSIDE=320\nIMAGE=" + rows)
    subprocess.run([program, "--generate", "demo.dat"], cwd=os.path.join(work, "demo"),
                   check=True, stdout=subprocess.DEVNULL)
    big = os.path.join(work, "demo", "big")
    os.makedirs(os.path.join(big, "show"))
    subprocess.run(["vips", "gaussnoise", os.path.join(big, "big.jpg"), "6000", "4000"], check=True)
    with open(os.path.join(big, "big.dat"), "w") as project:
        project.write("TEMPLATE=%s/phone.htm\nOUTPUT=show\nIMAGE=big.jpg\nTITLE=Big\n" % templates)
    subprocess.run([program, "--generate", "big.dat"], cwd=big, check=True,
                   stdout=subprocess.DEVNULL)
    os.chdir(os.path.join(work, "demo"))
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Counting)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    base = "http://127.0.0.1:%d" % server.server_address[1]
    # The screen's density for every page, those the browser prepares aside included.
    try:
        with chromium(["--force-device-scale-factor=%g" % density]) as browser:
            phone(browser)
            path, times = sent_once(browser, base)
            print("the next slide's picture %s was sent %d time(s)" % (path, times))
            for ahead in (True, False):
                Counting.ahead = ahead
                swipe, floor, prepared, painted = swipes(browser, base)
                print("swipe, finger lifted to next picture painted: median %.0f ms "
                      "(floor %.0f ms), %d of 20 pages prepared ahead; pictures painted: %s"
                      % (swipe, floor, prepared, " ".join(painted)))
            pictures = {path: n for path, n in asked.items()
                        if path.endswith((".jpg", ".webp", ".png")) and "thumbs" not in path}
            print("pictures sent by the server over %d page views (path: times):" % 41,
                  json.dumps(pictures, sort_keys=True))
            frames, dropped, typical = pinch(browser, base)
            print("pinch on a 24-megapixel copy: %d frames, %d dropped, median frame %.1f ms"
                  % (frames, dropped, typical))
    finally:
        server.shutdown()
