"""The phone look on a phone's screen, quickly: opened from a folder it logs nothing, yet has the
next picture waiting beside the photo; a slow long swipe to the left, started below a landscape
photo, changes the slide, and so does one beside a clip, while a long caption scrolls up and down;
a pinch zooms no further than eight times; and the overview opens at the tile of a slide whose
name holds a "%"."""
import os
import subprocess
import sys
import tempfile
import time

from webdriver import chromium, fail

program, templates = sys.argv[1], sys.argv[2]
PHOTO = "document.querySelector('.stage img')"
CAPTION = "Along the river, " * 120

with tempfile.TemporaryDirectory() as work:
    with open(os.path.join(work, "show.dat"), "w") as project:
        project.write("TEMPLATE=%s/phone.htm\nOVERVIEW=%s/phone-overview.htm\nOUTPUT=show\n"
                      "WEBSIDE=600\nTHUMBSIDE=100\n" % (templates, templates))
        # The project lists the slides from the last.
        for name, title, description in (("c.mp4", "Tower", ""), ("b.jpg", "100% Rome", CAPTION),
                                         ("a.jpg", "Bridge", "")):
            project.write("IMAGE=%s\nTITLE=%s\nDESCRIPTION=%s\n\n" % (name, title, description))
    for name in ("a.jpg", "b.jpg"):
        subprocess.run(["vips", "black", os.path.join(work, name), "600", "400"], check=True)
    subprocess.run(["ffmpeg", "-v", "error", "-f", "lavfi", "-i", "testsrc=size=320x240:rate=10",
                    "-t", "1", "-pix_fmt", "yuv420p", os.path.join(work, "c.mp4")], check=True)
    os.makedirs(os.path.join(work, "show"))
    subprocess.run([program, "--generate", "show.dat"], cwd=work, check=True,
                   stdout=subprocess.DEVNULL)
    show = "file://" + os.path.join(work, "show")
    with chromium(["--disable-gpu"]) as browser:
        # On a 412 x 915 phone the photo's box is 56 to 331 pixels high: the swipe starts below.
        browser.cdp("Emulation.setDeviceMetricsOverride",
                    {"width": 412, "height": 915, "deviceScaleFactor": 1, "mobile": True})
        browser.cdp("Emulation.setTouchEmulationEnabled", {"enabled": True, "maxTouchPoints": 5})
        browser.open(show + "/bridge.htm")
        browser.until("var s = document.querySelector('.side img'); return s && s.complete;",
                      "the next slide's picture was not fetched beside the photo")
        browser.touch([(350, 400)], [(100, 400)], seconds=0.6)
        browser.wait_for("/100%25_rome.htm")
        browser.touch([(200, 800)], [(200, 400)], seconds=0.3)
        time.sleep(0.5)
        scrolled = browser.run("return scrollY;")
        if not scrolled or not browser.url().endswith("/100%25_rome.htm"):
            fail("a swipe up the caption went to %s and scrolled %s pixels"
                 % (browser.url(), scrolled))
        browser.run("scrollTo(0, 0);")
        browser.touch([(200, 190), (212, 190)], [(20, 190), (380, 190)])
        time.sleep(0.5)
        browser.until("return document.getAnimations().length === 0;", "the photo did not settle")
        scale = browser.run("return new DOMMatrix(getComputedStyle(%s).transform).a;" % PHOTO)
        if scale != 8:
            fail("a pinch spreading the fingers 30 times zoomed %s times" % scale)
        browser.open(show + "/tower.htm")
        browser.touch([(100, 700)], [(350, 700)], seconds=0.3)
        browser.wait_for("/100%25_rome.htm")
        browser.press("\ue00c")  # Escape
        browser.wait_for("/index.htm#100%25_rome.htm")
        browser.until("return document.activeElement.href.endsWith('/100%25_rome.htm');",
                      "the overview did not focus the tile of a slide with % in its name")
        logged = browser.log()
        if logged:
            fail("pages opened from a folder logged %s" % logged)
