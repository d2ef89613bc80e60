"""How a private album answers in Chromium with the CPU slowed four times on a phone's screen
(412 x 915 at 2.625 device pixels a pixel, touch), against the same album public:
- the password's Enter to the overview's first screen of thumbnails painted, with the album's real
  600,000 PBKDF2 iterations: served from a secure origin (WebCrypto), from a folder, and over plain
  http (the bundled JavaScript crypto);
- a swipe: from the finger lifting to the next slide's picture painted, median of 12 swipes, public
  and private taking turns: served with the next page prepared ahead by the browser, served
  without, and from a folder.
Usage: private_look_bench.py VISTELLO TEMPLATES"""
import base64
import functools
import http.server
import json
import os
import statistics
import subprocess
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests"))
from webdriver import chromium  # noqa: E402
import private_seal  # noqa: E402

program, templates = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
PASSWORD = "a long walk along the river"
SWIPES = 12
ROUNDS = 3
PHOTOS = 24

# On every page, and through a private page's stub taking its place (the window, its timers and
# its sessionStorage outlive document.open, its listeners do not, so they are added again):
# the moment a finger lifts or the password's Enter is pressed, and the moment the slide's picture,
# or every thumbnail on the first screen, is decoded and the frame after it painted.
MEASURE = """
(function () {
  if (window.name || window.measuring) return;
  window.measuring = true;
  var origin = performance.timeOrigin, swiped = false, thumbed = false;
  function lifted() {
    sessionStorage.lifted = JSON.stringify([origin + performance.now(), location.href]);
  }
  function entered(e) {
    if (e.key === 'Enter' && document.getElementById('password')) window.entered = performance.now();
  }
  function ready(i) {
    return i.complete && i.naturalWidth > 0 && i.currentSrc.indexOf('data:image/gif') !== 0;
  }
  function painted(images, done) {
    var decoded = images.map(function (i) { return i.decode().catch(function () {}); });
    Promise.all(decoded).then(function () {
      requestAnimationFrame(function () { setTimeout(function () { done(performance.now()); }); });
    });
  }
  var timer = setInterval(function () {
    addEventListener('touchend', lifted, true);
    addEventListener('keydown', entered, true);
    if (document.prerendering) return;
    var img = document.querySelector('.stage img'), at = JSON.parse(sessionStorage.lifted || '[0]');
    if (!swiped && at[0] && at[1] !== location.href && img && ready(img)) {
      swiped = true;
      sessionStorage.lifted = '';
      var ahead = performance.getEntriesByType('navigation')[0].activationStart > 0;
      painted([img], function (t) {
        var list = JSON.parse(sessionStorage.swipes || '[]');
        list.push([origin + t - at[0], ahead]);
        sessionStorage.swipes = JSON.stringify(list);
      });
    }
    var tiles = Array.prototype.filter.call(document.querySelectorAll('main ul img'), function (i) {
      var box = i.getBoundingClientRect();
      return box.bottom > 0 && box.top < innerHeight;
    });
    if (!thumbed && window.entered !== undefined && tiles.length && tiles.every(ready)) {
      thumbed = true;
      painted(tiles, function (t) { window.thumbnails = t - window.entered; });
    }
    if (swiped || thumbed) clearInterval(timer);
  }, 4);
})();
"""
# The browser's CPU slowing holds for the tab, not for pages it prepares aside; without them every
# page loads where it is measured.
NOT_AHEAD = "HTMLScriptElement.supports = function () { return false; };"
# A slide has settled once both its neighbours' pictures wait beside it, decoded, and no hidden
# frame is still reading one.
SETTLED = """
var want = document.querySelectorAll('#next a, #back a').length;
var sides = document.querySelectorAll('.side img');
return document.readyState === 'complete' && sides.length >= want &&
  !document.querySelector('iframe.peek') &&
  Array.prototype.every.call(sides, function (s) { return s.complete; });"""


# Pages get the measuring script first thing in their head: a page the browser prepared ahead runs
# no script the driver adds to new documents.
class Measuring(http.server.SimpleHTTPRequestHandler):
    ahead = True

    def do_GET(self):
        local = self.translate_path(self.path)
        if not local.endswith((".htm", ".html")) or not os.path.isfile(local):
            return super().do_GET()
        with open(local, encoding="utf-8") as page:
            script = MEASURE if Measuring.ahead else MEASURE + NOT_AHEAD
            body = page.read().replace("<head>", "<head><script>%s</script>" % script, 1).encode()
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


# The browser drops what it no longer needs mid-answer; that is no failure.
class Server(http.server.ThreadingHTTPServer):
    def handle_error(self, request, client_address):
        pass


def phone(browser):
    browser.cdp("Emulation.setDeviceMetricsOverride",
                {"width": 412, "height": 915, "deviceScaleFactor": 2.625, "mobile": True})
    browser.cdp("Emulation.setTouchEmulationEnabled", {"enabled": True, "maxTouchPoints": 5})
    browser.cdp("Emulation.setCPUThrottlingRate", {"rate": 4})


# Photo-like pictures, each its own: noise, softened, so that their copies weigh what a photo's
# do. The project lists the slides from the last.
def album(work):
    with open(os.path.join(work, "album.dat"), "w") as project:
        project.write("TEMPLATE=%s/phone.htm\nOVERVIEW=%s/phone-overview.htm\nOUTPUT=public\n"
                      "WEBSIDE=1200\nTHUMBSIDE=320\n" % (templates, templates))
        for n in reversed(range(PHOTOS)):
            noise = os.path.join(work, "noise.v")
            subprocess.run(["vips", "gaussnoise", noise, "2400", "1600", "--mean", "128",
                            "--sigma", str(30 + n), "--seed", str(n)], check=True)
            subprocess.run(["vips", "gaussblur", noise, os.path.join(work, "p%02d.jpg" % n), "1.5"],
                           check=True)
            project.write("IMAGE=p%02d.jpg\nTITLE=p%02d\n\n" % (n, n))
    os.remove(noise)
    os.makedirs(os.path.join(work, "public"))
    subprocess.run([program, "--generate", "album.dat"], cwd=work, check=True,
                   stdout=subprocess.DEVNULL)
    key = private_seal.seal(os.path.join(work, "public"), os.path.join(work, "private"), PASSWORD,
                            600000)
    with open(os.path.join(work, "private", "vistello-key.js")) as text:
        salt = json.loads(text.read().split("(", 1)[1].rsplit(")", 1)[0])["salt"]
    return key, salt


def enter_to_thumbnails(browser, url):
    times = []
    for _ in range(3):
        browser.open(url)
        browser.run("sessionStorage.clear(); localStorage.clear();")
        browser.open(url)
        phone(browser)
        browser.until("return document.activeElement.id === 'password';", "the password box")
        browser.run("document.getElementById('password').value = %s;" % json.dumps(PASSWORD))
        browser.press("\ue007")
        for _ in range(1200):
            found = browser.run("return window.thumbnails === undefined ? null : window.thumbnails;")
            if found is not None:
                break
            time.sleep(0.05)
        else:
            raise SystemExit("the overview's thumbnails were not painted at " + browser.url())
        times.append(found)
    return statistics.median(times)


def swipes(browser, first, count):
    browser.open(first)
    browser.run("sessionStorage.removeItem('swipes'); sessionStorage.removeItem('lifted');")
    browser.open(first)
    forward = True
    for _ in range(3 * count):
        if len(json.loads(browser.run("return sessionStorage.swipes || '[]';"))) >= count:
            break
        phone(browser)
        time.sleep(0.5)
        browser.until(SETTLED, "the page and its neighbours' pictures")
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
    found = json.loads(browser.run("return sessionStorage.swipes || '[]';"))
    if len(found) < count:
        raise SystemExit("only %d of %d swipes from %s were timed" % (len(found), count, first))
    return found[:count]


# Public and private take turns, so that whatever else the machine does weighs on both alike.
def compare(browser, public, private, kept):
    found = {public: [], private: []}
    for _ in range(ROUNDS):
        for first in (public, private):
            if first == private:
                browser.open(private.rsplit("/", 1)[0] + "/index.html")
                browser.run(kept)
            found[first] += swipes(browser, first, SWIPES // ROUNDS)
    return [(statistics.median(t for t, _ in found[first]),
             sum(1 for _, ahead in found[first] if ahead)) for first in (public, private)]


def main():
    with tempfile.TemporaryDirectory() as work:
        key, salt = album(work)
        first = private_seal.blob_id(key, b"p00.htm") + ".html"
        kept = "sessionStorage.setItem(%s, %s);" % (json.dumps("vistello:" + salt),
                                                    json.dumps(base64.b64encode(key).decode()))
        server = Server(("127.0.0.1", 0), functools.partial(Measuring, directory=work))
        threading.Thread(target=server.serve_forever, daemon=True).start()
        served = "http://127.0.0.1:%d" % server.server_address[1]
        plain = "http://private.test:%d" % server.server_address[1]
        folder = "file://" + work
        try:
            with chromium(["--force-device-scale-factor=2.625",
                           "--host-resolver-rules=MAP private.test 127.0.0.1"]) as browser:
                for where, base in (("served, WebCrypto", served),
                                    ("plain http, bundled crypto", plain), ("from a folder", folder)):
                    # Scripts the driver adds reach pages from a folder, which no server changes.
                    if base == folder:
                        browser.cdp("Page.addScriptToEvaluateOnNewDocument", {"source": MEASURE})
                    print("Enter on the password to the overview's thumbnails painted (%s): %.0f ms"
                          % (where, enter_to_thumbnails(browser, base + "/private/index.html")))
                    ways = {served: (True, False), folder: (False,)}.get(base, ())
                    for ahead in ways:
                        Measuring.ahead = ahead
                        (public, public_ahead), (private, private_ahead) = compare(
                            browser, base + "/public/p00.htm", base + "/private/" + first, kept)
                        print("swipe to the next picture painted (%s%s): public %.0f ms, private "
                              "%.0f ms (%.2fx); pages prepared ahead: %d and %d of %d"
                              % (where, ", prepared ahead" if ahead else "", public, private,
                                 private / public, public_ahead, private_ahead, SWIPES))
        finally:
            server.shutdown()


main()
