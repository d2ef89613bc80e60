"""The looks in a real browser: a show generated with the look made for phones, opened from its
folder in headless Chromium, follows the arrow key to the next slide and Escape to the overview
page; in a site of albums the trail leads up from a slide, and Escape and the up arrow climb from
an album's overview to the one above it; a clip's page of every look loads the clip and knows its
length and leaves the keys and swipes on the clip to it, and Play waits for a clip to end; opened
from a folder, no page logs a thing. On a phone's screen the photo follows the finger: a pinch
zooms and a swipe then pans, a short swipe springs back, a long or quick one changes the slide, a
swipe down opens the overview at the slide's tile and from an album's overview to the one above,
Back leaves the show at once, and with reduced motion nothing animates. Served, the show has the
browser prepare the next page ahead. Driven through ChromeDriver's WebDriver interface, with
nothing but the standard library."""
import functools
import http.server
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time

from webdriver import chromium, fail

program, templates = sys.argv[1], sys.argv[2]


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


PHOTO = "document.querySelector('.stage img')"
VIEW_TRANSITION = """
function has(rules) {
  return Array.from(rules).some(r => (r instanceof CSSViewTransitionRule && r.navigation === 'auto')
                                     || (r.cssRules && has(r.cssRules)));
}
return Array.from(document.styleSheets).some(s => has(s.cssRules));
"""
# Whether the picture, drawn whole within its box, covers the stage from side to side.
COVERS = """
var img = document.querySelector('.stage img'), r = img.getBoundingClientRect();
var stage = document.querySelector('.stage').getBoundingClientRect();
var k = Math.min(r.width / img.naturalWidth, r.height / img.naturalHeight);
var left = r.left + (r.width - img.naturalWidth * k) / 2;
return left <= stage.left + 1 && left + img.naturalWidth * k >= stage.right - 1;
"""
# The neighbours wait beside the stage: the next slide's picture on the right, the one before on
# the left.
BESIDE = """
var stage = document.querySelector('.stage').getBoundingClientRect();
return Array.from(document.querySelectorAll('.side img'), function (img) {
  var r = img.getBoundingClientRect();
  return /s03/.test(img.currentSrc) ? r.left >= stage.right - 1 : r.right <= stage.left + 1;
}).every(Boolean);
"""
# The page has settled once the next slide's picture waits, decoded, beside the photo.
READY = "var s = document.querySelector('.side img'); return Boolean(s && s.complete);"


def settled(browser):
    time.sleep(0.5)
    browser.until("return document.getAnimations().length === 0;", "the photo did not settle")


def double_tap(browser, x, y):
    now = time.time()
    for step, kind in enumerate(("touchStart", "touchEnd", "touchStart", "touchEnd")):
        points = [{"x": x, "y": y}] if kind == "touchStart" else []
        browser.cdp("Input.dispatchTouchEvent",
                    {"type": kind, "touchPoints": points, "timestamp": now + 0.05 * step})


def gestures(browser, show):
    browser.cdp("Emulation.setDeviceMetricsOverride",
                {"width": 412, "height": 915, "deviceScaleFactor": 1, "mobile": True})
    browser.cdp("Emulation.setTouchEmulationEnabled", {"enabled": True, "maxTouchPoints": 5})
    browser.open("file://" + os.path.join(show, "index.htm"))
    browser.run("document.querySelector('main ul a').click();")
    browser.wait_for("/s01.htm")
    browser.until(READY, "the next slide's picture was not fetched beside the photo")
    if browser.run("return document.querySelector('script[type=speculationrules]');"):
        fail("from a folder, the page asked the browser to prepare pages it cannot")
    if not browser.run(VIEW_TRANSITION):
        fail("moving between slides is not a view transition")
    # A pinch zooms about the fingers; past the copy shown, it fetches the largest one; a swipe
    # then pans.
    browser.touch([(180, 200), (230, 200)], [(178, 200), (232, 200)])
    settled(browser)
    if not browser.run("return /-480[.](jpg|webp)$/.test(%s.currentSrc);" % PHOTO):
        fail("zoomed within the copy shown, the photo fetched another")
    browser.touch([(180, 200), (230, 200)], [(100, 200), (310, 200)])
    settled(browser)
    scale = browser.run("return new DOMMatrix(getComputedStyle(%s).transform).a;" % PHOTO)
    if not 4 < scale < 5:
        fail("pinches spreading the fingers 1.08 then 4.2 times zoomed %s times" % scale)
    browser.until("return /s01[.](jpg|webp)$/.test(%s.currentSrc);" % PHOTO,
                  "zoomed in, the photo stayed with a smaller copy")
    before = browser.run("return new DOMMatrix(getComputedStyle(%s).transform).e;" % PHOTO)
    browser.touch([(300, 200)], [(100, 200)], seconds=0.4)
    time.sleep(0.5)
    after = browser.run("return new DOMMatrix(getComputedStyle(%s).transform).e;" % PHOTO)
    if not browser.url().endswith("/s01.htm") or after >= before:
        fail("zoomed, a swipe went to %s and moved the photo from %s to %s"
             % (browser.url(), before, after))
    if not browser.run("return document.scrollingElement.scrollLeft === 0 && "
                       "document.documentElement.scrollWidth <= innerWidth;"):
        fail("the page scrolled sideways")
    # A tall photo leaves empty bands beside it: a double tap there zooms into the picture, and a
    # pan never shows more than the picture.
    browser.open("file://" + os.path.join(show, "s02.htm"))
    browser.until(READY, "the next slide's picture was not fetched beside the photo")
    if not browser.run(BESIDE):
        fail("the neighbours' pictures do not wait on their own sides")
    double_tap(browser, 10, 300)
    settled(browser)
    browser.touch([(100, 300)], [(400, 300)], seconds=0.3)
    settled(browser)
    if not browser.run(COVERS):
        fail("zoomed and panned, the tall photo left the screen's side bare")
    # A short slow swipe springs back; while the finger is down the next picture shows beside.
    for motion, animates in (("no-preference", True), ("reduce", False)):
        browser.cdp("Emulation.setEmulatedMedia",
                    {"features": [{"name": "prefers-reduced-motion", "value": motion}]})
        browser.open("file://" + os.path.join(show, "s02.htm"))
        browser.until(READY, "the next slide's picture was not fetched beside the photo")
        browser.touch([(300, 200)], [(220, 200)], seconds=0.6)
        moving = browser.run("return document.getAnimations().length > 0;")
        time.sleep(0.5)
        if moving != animates:
            fail("with %s motion, the photo springing back animated: %s" % (motion, moving))
        if not browser.url().endswith("/s02.htm") or browser.run(
                "return new DOMMatrix(getComputedStyle(%s).transform).e;" % PHOTO) != 0:
            fail("a short swipe did not spring back")
    browser.cdp("Emulation.setEmulatedMedia", {"features": []})
    # A long swipe, then a quick one, change the slide; a swipe right goes back.
    for start, end, steps, page in ((350, 150, 8, "/s03.htm"), (300, 240, 1, "/s04.htm"),
                                    (100, 300, 8, "/s03.htm")):
        browser.until(READY, "the next slide's picture was not fetched beside the photo")
        browser.touch([(start, 200)], [(end, 200)], steps=steps, seconds=0.06 * steps)
        browser.wait_for(page)
    # A swipe down opens the overview at this slide's tile.
    browser.touch([(200, 150)], [(200, 400)], seconds=0.3)
    browser.wait_for("/index.htm#s03.htm")
    browser.until("return document.activeElement.href.endsWith('/s03.htm');",
                  "the overview did not focus the slide's tile")
    if not browser.run(VIEW_TRANSITION):
        fail("moving to the overview is not a view transition")
    # So does a pinch in below the fitted size.
    browser.run("document.activeElement.click();")
    browser.wait_for("/s03.htm")
    browser.until(READY, "the next slide's picture was not fetched beside the photo")
    browser.touch([(100, 200), (300, 200)], [(160, 200), (240, 200)])
    browser.wait_for("/index.htm#s03.htm")
    # Ten slides on, Back returns to the overview rather than to the slide before; without Play
    # the bar stays.
    browser.until("return document.activeElement.href.endsWith('/s03.htm');",
                  "the overview did not focus the slide's tile")
    browser.run("document.activeElement.click();")
    for number in range(4, 14):
        browser.wait_for("/s%02d.htm" % (number - 1))
        browser.press("\ue014")  # the right arrow key
    browser.wait_for("/s13.htm")
    time.sleep(3.5)
    if browser.run("return getComputedStyle(document.querySelector('header')).opacity;") != "1":
        fail("without Play, the bar left")
    browser.call("POST", browser.session + "/back", {})
    browser.wait_for("/index.htm#s03.htm")
    # The overview scrolls a tile below its first screen into sight.
    browser.open("file://" + os.path.join(show, "s13.htm"))
    browser.press("\ue00c")  # Escape
    browser.wait_for("/index.htm#s13.htm")
    if not browser.run("var r = document.activeElement.getBoundingClientRect();"
                       "return r.top >= 0 && r.bottom <= innerHeight;"):
        fail("the overview left the last slide's tile out of sight")


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


# From a server the next page is prepared ahead and a swipe shows that one. Last: once a prepared
# page has taken over, the driver waits in vain on navigations it starts.
def served(browser, show):
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0),
                                             functools.partial(Quiet, directory=show))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    base = "http://127.0.0.1:%d" % server.server_address[1]
    try:
        browser.open(base + "/index.htm")
        browser.run("document.querySelector('main ul a').click();")
        for page in ("/s01.htm", "/s02.htm", "/s03.htm"):
            browser.wait_for(page)
            browser.until(READY, "the next slide's picture was not fetched beside the photo")
            browser.until("return document.querySelector('script[type=speculationrules]');",
                          "the next page was not prepared ahead")
            browser.touch([(350, 200)], [(150, 200)])
        browser.wait_for("/s04.htm")
        if not browser.run("return performance.getEntriesByType('navigation')[0]"
                           ".activationStart > 0;"):
            fail("served, the next slide's page was not the one prepared ahead")
        # Playing, the next page is prepared ahead too, and plays on once shown.
        browser.until(READY, "the next slide's picture was not fetched beside the photo")
        browser.run("document.getElementById('play').click();")
        browser.wait_for("/s06.htm#play")
        browser.until("return performance.getEntriesByType('navigation')[0].activationStart > 0"
                      " && document.getElementById('play').getAttribute('aria-pressed') === 'true';",
                      "Play stopped at a page prepared ahead")
    finally:
        server.shutdown()


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
                          "OVERVIEW=%s/%s-overview.htm\nIMAGE=b.jpg\nTITLE=Second #2\n\n"
                          "IMAGE=a.jpg\nTITLE=First\n\nIMAGE=clip.mkv\nTITLE=Clip\n"
                          "DESCRIPTION=<i>Far</i> hills\n"
                          % (templates, look, look, templates, look))
        subprocess.run([program, "--generate", look + ".dat"], cwd=work, check=True,
                       stdout=subprocess.DEVNULL)
    # Thirteen slides for the fingers, each named by its number.
    os.makedirs(os.path.join(work, "gestures"))
    with open(os.path.join(work, "gestures.dat"), "w") as project:
        project.write("TEMPLATE=%s/phone.htm\nOVERVIEW=%s/phone-overview.htm\nOUTPUT=gestures\n"
                      "WEBSIDE=800\nTHUMBSIDE=100\n" % (templates, templates))
        for number in range(13, 0, -1):
            name = "s%02d.jpg" % number
            size = ["640", "1600"] if number == 2 else ["1000", "750"]
            subprocess.run(["vips", "gaussnoise", os.path.join(work, name)] + size, check=True)
            project.write("IMAGE=%s\nTITLE=s%02d\n\n" % (name, number))
    subprocess.run([program, "--generate", "gestures.dat"], cwd=work, check=True,
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
    with chromium(["--disable-gpu", "--autoplay-policy=no-user-gesture-required"]) as browser:
        browser.open("file://" + os.path.join(work, "phone", "first.htm"))
        browser.press("\ue014")  # the right arrow key
        browser.wait_for("/second_%232.htm")
        browser.press("\ue00c")  # Escape
        browser.wait_for("/index.htm#second_%232.htm")
        # A "#" in the slide's name is the name's, not the start of another address.
        browser.until("return document.activeElement.href.endsWith('/second_%232.htm');",
                      "the overview did not focus the tile of a slide with # in its name")
        site = os.path.join(work, "site")
        browser.open("file://" + os.path.join(site, "trip", "rome", "b.htm"))
        trail = browser.run("return Array.from(document.querySelectorAll('.trail a'), "
                            "a => a.href);")
        steps = ["index.htm", "trip/index.htm", "trip/rome/index.htm", "trip/rome/b.htm"]
        if trail != ["file://" + os.path.join(site, step) for step in steps]:
            fail("the trail of an album's slide leads to %s" % trail)
        browser.press("\ue00c")  # Escape
        browser.wait_for("/site/trip/rome/index.htm#b.htm")
        browser.press("\ue00c")
        browser.wait_for("/site/trip/index.htm#rome/index.htm")
        browser.until("return document.activeElement.href.endsWith('/trip/rome/index.htm');",
                      "the overview above did not focus the album's tile")
        browser.press("\ue013")  # the up arrow, from the first tile, leads up
        browser.wait_for("/site/index.htm#trip/index.htm")
        for look in ("phone", "light", "dark"):
            browser.open("file://" + os.path.join(work, look, "clip.htm"))
            summary = browser.run("return document.querySelector('meta[name=description]').content;")
            if summary != "Far hills":
                fail("%s: the page's summary for search engines reads %r" % (look, summary))
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
        if browser.run("return getComputedStyle(document.querySelector('header')).opacity;") != "0":
            fail("while Play ran, the bar stayed in sight")
        browser.wait_for("/first.htm#play")
        browser.press("\ue004")  # Tab, into the bar: it stays while the keyboard is there
        time.sleep(3.5)
        if browser.run("return getComputedStyle(document.querySelector('header')).opacity;") != "1":
            fail("while Play ran, the bar hid the control the keyboard was on")
        logged = browser.log()
        if logged:
            fail("pages of every look opened from a folder logged %s" % logged)
        # Its box has the picture's shape before the picture arrives, here never.
        for look in ("light", "dark"):
            for name in os.listdir(os.path.join(work, look)):
                if name.startswith(("a.", "a-")):
                    os.remove(os.path.join(work, look, name))
            browser.open("file://" + os.path.join(work, look, "first.htm"))
            width, height = browser.run("var r = document.querySelector('figure img')"
                                        ".getBoundingClientRect(); return [r.width, r.height];")
            if width < 100 or abs(width * 450 / 600 - height) > 1:
                fail("%s: a missing picture of 600 x 450 took a box of %s x %s"
                     % (look, width, height))
        gestures(browser, os.path.join(work, "gestures"))
        # A swipe down from the top of an album's overview leads up to the overview above; lower
        # down, it only scrolls.
        browser.cdp("Emulation.setDeviceMetricsOverride",
                    {"width": 412, "height": 200, "deviceScaleFactor": 1, "mobile": True})
        browser.open("file://" + os.path.join(site, "trip", "index.htm"))
        browser.run("window.scrollTo(0, 100);")
        browser.touch([(200, 50)], [(200, 190)], seconds=0.3)
        time.sleep(0.5)
        if not browser.url().endswith("/site/trip/index.htm"):
            fail("a swipe down the middle of an album's overview left it")
        browser.run("window.scrollTo(0, 0);")
        browser.touch([(200, 50)], [(200, 190)], seconds=0.3)
        browser.wait_for("/site/index.htm#trip/index.htm")
        served(browser, os.path.join(work, "gestures"))
