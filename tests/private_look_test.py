"""A private album, made by the program, in a real browser, on a phone's screen. Opened from a folder: the password box
has the focus, a wrong password says so and shows nothing, the right one opens the overview with
every thumbnail (the lazy ones too) and every slide's picture or clip, keys and swipes walk the
slides with the next picture waiting beside, Escape climbs to the slide's tile and out of the
album to its tile above, the key is kept for this session only, and nothing is logged. Served from
a secure origin: "Remember on this device" keeps the key, so a slide's own address opens at once,
a swipe there shows the neighbour read through fetch, and Play carries on. Served over plain http,
without WebCrypto, the bundled crypto opens it all the same, and the album inside it, whose trail
leads out of both. A key file asking for too few rounds, or too many, opens nothing."""
import functools
import http.server
import os
import re
import subprocess
import sys
import threading
import tempfile

from webdriver import chromium, fail

program, templates = sys.argv[1], sys.argv[2]
PASSWORD = "correct horse"
FOLDER = ""
PICTURES = """return Array.from(document.images).every(function (i) {
  return i.complete && i.naturalWidth > 0 && i.currentSrc.slice(0, 5) === 'blob:'; }) &&
  document.images.length"""
SLIDE = """var i = document.querySelector('.stage img'), v = document.querySelector('.stage video');
return i ? i.complete && i.naturalWidth > 0 && i.currentSrc.slice(0, 5) === 'blob:'
         : Boolean(v && v.readyState >= 1);"""
BESIDE = ("var s = document.querySelector('.side img');"
          "return Boolean(s && s.complete && s.naturalWidth)")
ENTER, ESCAPE, RIGHT = ("Enter", 13, "\r"), ("Escape", 27, ""), ("ArrowRight", 39, "")


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def site(work):
    pics = os.path.join(work, "pics", "Trip", "Rome")
    os.makedirs(pics)
    subprocess.run(["vips", "black", os.path.join(work, "pics", "top.jpg"), "600", "400"], check=True)
    for n in range(9):
        subprocess.run(["vips", "gaussnoise", os.path.join(work, "pics", "Trip", "p%d.jpg" % n),
                        "640", "480"], check=True)
    subprocess.run(["vips", "black", os.path.join(pics, "rome.jpg"), "400", "600"], check=True)
    subprocess.run(["ffmpeg", "-v", "error", "-f", "lavfi", "-i", "testsrc=size=320x240:rate=10",
                    "-t", "1", "-pix_fmt", "yuv420p", os.path.join(work, "pics", "Trip", "p9.mp4")],
                   check=True)
    with open(os.path.join(work, "site.dat"), "w") as project:
        project.write("TEMPLATE=%s/phone.htm\nOVERVIEW=%s/phone-overview.htm\nOUTPUT=site\n"
                      "WEBSIDE=600\nTHUMBSIDE=100\n" % (templates, templates))
    os.makedirs(os.path.join(work, "site"))
    subprocess.run([program, "--import", "pics", "site.dat", "--albums"], cwd=work, check=True,
                   stdout=subprocess.DEVNULL)
    # The album Trip, with Rome inside it, is made private: one flat folder behind the password.
    trip = os.path.join(work, "site.albums", "Trip.dat")
    with open(trip, "rb") as project:
        text = project.read()
    with open(trip, "wb") as project:
        project.write(text.replace(b"IMAGE=", b"PRIVATE=yes\r\nIMAGE=", 1))
    with open(os.path.join(work, "password"), "w") as password:
        password.write(PASSWORD + "\n")
    subprocess.run([program, "--generate", "site.dat", "--album-password-file", "password"],
                   cwd=work, check=True, stdout=subprocess.DEVNULL)
    out = os.path.join(work, "site")
    global FOLDER
    with open(os.path.join(out, "index.htm"), encoding="utf-8") as page:
        FOLDER = re.search(r'href="([0-9a-f]{20})/index\.html"', page.read()).group(1)
    return out


# Keys go to the page as the keyboard sends them, past ChromeDriver's frame bookkeeping, which
# a page replacing its own document can upset.
def press(browser, key):
    name, code, text = key
    for kind in ("keyDown", "keyUp"):
        browser.cdp("Input.dispatchKeyEvent", {"type": kind, "key": name, "code": name,
                                               "windowsVirtualKeyCode": code,
                                               "text": text if kind == "keyDown" else ""})


def type_password(browser, password):
    browser.run("document.getElementById('password').value = '';")
    browser.cdp("Input.insertText", {"text": password})
    press(browser, ENTER)


def stub_name(browser):
    return browser.run("return location.pathname.split('/').pop();")


# From the overview's first slide to the last with the right arrow key, each shown whole with the
# next one's picture beside it; then one swipe back.
def walk(browser, what):
    browser.until("return document.title === 'Trip'", what + ": the album did not open")
    browser.run("scrollTo(0, document.body.scrollHeight);")
    browser.until(PICTURES + " >= 10;", what + ": a thumbnail was not shown")
    browser.run("scrollTo(0, 0);")
    press(browser, RIGHT)
    press(browser, RIGHT)
    press(browser, ENTER)
    slides = []
    while True:
        browser.until("return /^p\\d$/.test(document.title);", what + ": a slide did not open")
        title = browser.run("return document.title;")
        browser.until(SLIDE, what + ": the slide %s showed no picture" % title)
        slides.append(browser.run("return document.title;"))
        if not browser.run("return Boolean(document.querySelector('#next a'));"):
            break
        if slides[-1] != "p8":
            browser.until(BESIDE + ";", what + ": the next picture did not wait beside " + slides[-1])
        press(browser, RIGHT)
        browser.until("return document.title !== %r" % slides[-1], what + ": the arrow key stayed")
    if slides != ["p%d" % n for n in range(10)]:
        fail("%s: the arrow keys walked %s" % (what, slides))
    browser.until("return document.readyState === 'complete';", what + ": the clip's page")
    browser.touch([(80, 700)], [(350, 700)], seconds=0.3)
    browser.until("return document.title === 'p8';", what + ": a swipe did not lead back")
    browser.until(SLIDE, what + ": the slide a swipe led to showed no picture")


with tempfile.TemporaryDirectory() as work:
    out = site(work)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0),
                                             functools.partial(Quiet, directory=work))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    port = server.server_address[1]
    with chromium(["--disable-gpu", "--host-resolver-rules=MAP private.test 127.0.0.1"]) as browser:
        browser.cdp("Emulation.setDeviceMetricsOverride",
                    {"width": 412, "height": 915, "deviceScaleFactor": 2, "mobile": True})
        browser.cdp("Emulation.setTouchEmulationEnabled", {"enabled": True, "maxTouchPoints": 5})

        browser.open("file://%s/%s/index.html" % (out, FOLDER))
        browser.until("return document.activeElement.id === 'password';",
                      "the password box did not have the focus")
        type_password(browser, "wrong horse")
        browser.until("return document.getElementById('status').textContent === 'Wrong password';",
                      "a wrong password was not told")
        if browser.run("return document.images.length + document.title;") != "0Private album":
            fail("a wrong password showed %s" % browser.run("return document.body.innerHTML;"))
        type_password(browser, PASSWORD)
        walk(browser, "from a folder")
        back_from = stub_name(browser)
        press(browser, ESCAPE)
        browser.until("return document.title === 'Trip' && document.activeElement.href.endsWith(%r);"
                      % back_from, "Escape did not lead to the slide's tile")
        press(browser, ESCAPE)
        browser.wait_for("/site/index.htm#%s/index.html" % FOLDER)
        browser.until("return document.activeElement.href.endsWith(%r);" % (FOLDER + "/index.html"),
                      "Escape from the album did not lead to its tile above")
        kept = browser.run("return [sessionStorage, localStorage].map(function (s) {"
                           "return Object.keys(s).filter(function (k) { return /^vistello:/.test(k); })"
                           ".length; });")
        if kept != [1, 0]:
            fail("the key was kept in sessionStorage and localStorage %s times" % kept)
        logged = browser.log()
        if logged:
            fail("the private album opened from a folder logged %s" % logged)

        served = "http://127.0.0.1:%d/site/%s/" % (port, FOLDER)
        browser.open(served + "index.html")
        browser.run("document.getElementById('remember').checked = true;")
        type_password(browser, PASSWORD)
        browser.until("return document.title === 'Trip';", "served: the album did not open")
        slide = browser.run("return document.querySelector('main ul li:nth-child(3) a').href;")
        browser.run("sessionStorage.clear();")
        browser.open(slide + "#play")
        browser.until("return document.getElementById('play').getAttribute('aria-pressed') === "
                      "'true';", "served: Play did not carry on to a kept key's slide")
        browser.until(BESIDE + " && s.currentSrc.slice(0, 5) === 'blob:';",
                      "served: the next picture was not read beside the photo")
        browser.run("document.getElementById('play').click();")
        title = browser.run("return document.title;")
        browser.touch([(350, 400)], [(100, 400)], seconds=0.3)
        browser.until("return document.title !== %r;" % title, "served: a swipe stayed")
        browser.until(SLIDE, "served: the slide a swipe led to showed no picture")

        browser.open("http://private.test:%d/site/%s/index.html" % (port, FOLDER))
        if browser.run("return Boolean(window.crypto.subtle);"):
            fail("plain http offered WebCrypto, so the bundled crypto went untried")
        type_password(browser, "wrong horse")
        browser.until("return document.getElementById('status').textContent === 'Wrong password';",
                      "plain http: a wrong password was not told")
        type_password(browser, PASSWORD)
        walk(browser, "plain http")
        # An album inside the private one is inside its lock; its trail still leads up out of it.
        plain = "http://private.test:%d/site/" % port
        browser.open(plain + FOLDER + "/index.html")
        browser.run("document.querySelector('main ul a').click();")
        browser.until("return document.title === 'Rome';", "plain http: the album inside did not open")
        trail = browser.run("return Array.from(document.querySelectorAll('.trail a'), a => a.href);")
        if trail[:2] != [plain + "index.htm", plain + FOLDER + "/index.html"]:
            fail("the trail of the album inside leads to %s" % trail)
        rome = stub_name(browser)
        press(browser, ESCAPE)
        browser.until("return document.title === 'Trip' && document.activeElement.href.endsWith(%r);"
                      % rome, "plain http: Escape did not lead from the album inside to its tile")
        logged = browser.log()
        if logged:
            fail("the private album served logged %s" % logged)

        # A key file asking for too few rounds, or too many, opens nothing and says so at once.
        key_file = os.path.join(out, FOLDER, "vistello-key.js")
        with open(key_file, encoding="ascii") as text:
            fields = text.read()
        for rounds in ("599999", "10000001"):
            with open(key_file, "w", encoding="ascii") as text:
                text.write(fields.replace('"iterations":600000,', '"iterations":%s,' % rounds))
            browser.open("file://%s/%s/index.html" % (out, FOLDER))
            browser.until("return document.querySelector('form').hidden && document.getElementById("
                          "'status').textContent === 'This album cannot be opened here.';",
                          "a key file asking for %s rounds was not turned down" % rounds)
    server.shutdown()
