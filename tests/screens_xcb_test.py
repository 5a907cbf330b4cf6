#!/usr/bin/python3
"""The real program as a pupil starts it, through the launcher, on private X servers of the sizes
classrooms have, with no window manager and no scale set by hand: three starts at each size. The
first is clicked through the title, the main menu, Euclid's quiz and Key Facts and out through each
screen's Exit; the second leaves by the title's Exit; the third is ended by TERM. Every caption and
page must show its letters on the screen the server shows; a start fails on a sanitizer's report,
on ending before it is closed, or on ending other than as it was told to.

    screens_xcb_test.py BUILD_DIR SOURCE_DIR
SIZES="1920x1080 ..." tries only those sizes; SCREENSHOTS=DIR keeps what the first start saw (and any
screen that failed) as DIR/xcb-<screen>-WxH.png. A sanitized build's timeouts are four times longer.

Positions come from the screens' layout tables, in twips (15 to a design pixel), on a form centred
on Qt's screen as it is in logical pixels, then multiplied by the stage's scale.
"""
import math
import os
import subprocess
import sys
import tempfile
import time

import numpy as np

from xharness import Failure, Screen, alive, stop, wait_for, xvfb

TWIPS = 15
BORDER, CAPTION = 7, 26             # a form's frame round its client area, pixels (src/platform/screen/Form.h)
SCREEN_BLUE = (39, 63, 137)         # a screen's client area (src/platform/screen/Theme.h)
SILVER = (192, 192, 192)            # the title's panel
PAPER = (252, 248, 236)             # a reference page's card (assets/make_pages.cpp)
INK_STEP = 48                       # a channel this far from the band's background is ink
INK_SHARE, INK_PIXELS = 0.005, 48   # a band has letters when this much of it is ink


def lround(v):
    return math.floor(v + 0.5)


class Geometry:
    """The design's 800 x 600 scaled to fill the screen: Qt's logical screen and the scale."""

    def __init__(self, width, height):
        fit = min(width / 800, height / 600)
        self.scale = min(max(math.floor(fit * 100 + 1e-9) / 100, 0.5), 8.0)  # core::stageScale
        # Qt gives the screen its device size over the scale, rounded, in logical pixels.
        self.logical = (lround(width / self.scale), lround(height / self.scale))

    def client(self, outer_w, outer_h, offset=(0, 0)):
        """Top left of a centred form's client area (plus a frame's offset in twips), logical pixels."""
        left = lround((self.logical[0] * TWIPS / 2 - outer_w / 2) / TWIPS)
        top = lround((self.logical[1] * TWIPS / 2 - outer_h / 2) / TWIPS)
        return (left + BORDER + lround(offset[0] / TWIPS), top + BORDER + CAPTION + lround(offset[1] / TWIPS))

    def box(self, origin, at, inset=(0, 0, 0, 0), clip=None):
        """A control's rectangle in device pixels (x0, y0, x1, y1), shrunk by inset logical pixels
        (left, top, right, bottom) and cut to clip (logical pixels from origin)."""
        x, y = origin[0] + lround(at[0] / TWIPS), origin[1] + lround(at[1] / TWIPS)
        x1, y1 = x + lround(at[2] / TWIPS), y + lround(at[3] / TWIPS)
        if clip:
            x1, y1 = min(x1, origin[0] + clip[0]), min(y1, origin[1] + clip[1])
        s = self.scale
        return (math.ceil((x + inset[0]) * s), math.ceil((y + inset[1]) * s),
                math.floor((x1 - inset[2]) * s), math.floor((y1 - inset[3]) * s))


# ---- The screens, from their layout tables (twips, client coordinates)

TITLE_OUTER = (5460 + 2 * BORDER * TWIPS, 6570 + (2 * BORDER + CAPTION) * TWIPS)  # src/shell/Titlefrm.cpp
FULL_OUTER = (12000, 9000)                                                         # every other screen
FULL_CLIENT = (786, 560)                                                           # 11790 x 8400 twips
TITLE_FRAME = (0, -90)                                                             # Frame1 holds the title's controls
TITLE_CLIP = (364 - 2, 444 - 2)                                                    # inside Frame1's etched edge

BORDERED = (2, 2, 2, 2)    # past a label's sunken edge, at any scale
PLAIN = (1, 1, 1, 1)       # past the blend of a fractional edge
BUTTON = (5, 5, 5, 5)      # past a push button's bevel and focus frame
ANSWER = (17, 1, 1, 1)     # past an answer's round indicator, to its words

TITLE = {
    "heading": ((60, 360, 5355, 840), PLAIN),  # the part above the picture, which shows through
    "subtitle": ((360, 5040, 4695, 375), PLAIN),
    "for pupils": ((480, 5610, 4455, 375), PLAIN),
    "publisher": ((0, 6420, 5415, 255), PLAIN),
    "OK": ((1320, 6000, 1335, 375), BUTTON),
    "Exit": ((2760, 6000, 1335, 375), BUTTON),
}
TITLE_PANEL = (30, 6000, 1200, 375)  # bare panel left of OK

MAIN_ENTRIES = {  # src/shell/MainMenu.cpp
    "Teachers' Guide": (120, 1080, 3075, 495), "Pupils' Results": (3360, 1080, 3075, 495), "Pythagoras": (120, 2160, 3075, 375),
    "Euclid": (120, 2880, 3075, 375), "Eratosthenes": (120, 3600, 3075, 375),
    "Archimedes": (120, 4320, 3075, 375), "Al-Khwarizmi": (120, 5040, 3075, 375),
    "Omar Khayyam": (120, 5760, 3075, 375), "Fibonacci": (3360, 2160, 3075, 375),
    "John Napier": (3360, 2880, 3075, 375), "René Descartes": (3360, 3600, 3075, 375),
    "Blaise Pascal": (3360, 4320, 3075, 375), "Leonhard Euler": (3360, 5040, 3075, 375),
    "Ada Lovelace": (3360, 5760, 3075, 375), "Acknowledgments": (120, 7920, 3075, 495),
    "Multiple Choice Wizard": (6960, 5760, 4635, 495), "Worksheet Catalogue": (6960, 6600, 4635, 495),
    "Exit": (10560, 7920, 1245, 495),
}
MAIN = {"heading": ((0, 0, 12000, 900), PLAIN), **{k: (v, BORDERED) for k, v in MAIN_ENTRIES.items()}}
MAIN_BARE = (120, 1650, 6300, 420)  # between the teachers' entries and the mathematicians: bare client area

TOPIC = {"Multiple Choice": (120, 7920, 3195, 495), "Key Facts": (6360, 120, 1995, 495),
         "Exit": (10560, 7920, 1245, 495)}  # src/shell/TopicMenu.cpp

QUIZ = {  # src/quiz/Quiz.cpp
    "heading": ((120, 120, 6240, 900), PLAIN),
    "subheading": ((120, 1200, 6465, 585), PLAIN),
    "worksheet title": ((120, 1920, 6465, 705), PLAIN),
    "question number": ((360, 3240, 5415, 615), PLAIN),
    "question": ((960, 3960, 9840, 1455), PLAIN),
    **{f"answer {k}": ((2400, 5400 + 600 * (k - 1), 6975, 525), ANSWER) for k in range(1, 5)},
    "Next Question": ((6000, 7920, 3765, 495), PLAIN),
    "Exit": ((10560, 7920, 1245, 495), PLAIN),
    "Print Worksheet": ((7920, 1920, 3045, 495), PLAIN),
}
QUIZ_BARE = (120, 2660, 6000, 540)  # between the worksheet's title and "Question 1"

PAGE_LEFT = 120  # Image1 in src/pages/PageViewer.cpp; the card is 10485 x 7800 (assets/make_pages.cpp)
KEY_FACTS = {  # src/pages/ViewerControls.h; the page's title and body from its 300-twip margin
    "page title": ((PAGE_LEFT + 300, 350, 9885, 650), PLAIN),
    "page body": ((PAGE_LEFT + 300, 1100, 9885, 6400), PLAIN),
    "page number": ((4200, 7920, 2295, 495), PLAIN),
    "Print": ((10680, 120, 1125, 495), PLAIN),
    "Exit": ((10680, 7920, 1125, 495), PLAIN),
    "Next Page": ((1320, 7920, 2685, 495), PLAIN),
    "Previous Page": ((6720, 7920, 2685, 495), PLAIN),
}
PAGE_MARGIN = (PAGE_LEFT + 10230, 1000, 200, 6000)  # the card's right margin, bare paper


class Session:
    def __init__(self, start, pid, slowness):
        self.screen = Screen()
        self.size, self.start, self.pid, self.slowness = self.screen.size, start, pid, slowness
        self.geo = Geometry(*self.size)
        self.title_origin = self.geo.client(*TITLE_OUTER, TITLE_FRAME)
        self.origin = self.geo.client(*FULL_OUTER)

    def click(self, origin, at):
        x0, y0, x1, y1 = self.geo.box(origin, at)
        self.screen.click(((x0 + x1) // 2, (y0 + y1) // 2))

    @staticmethod
    def covered_by(image, colour):
        """The share of an image within a few steps of a colour."""
        return float((np.abs(image.astype(np.int16) - colour).max(axis=2) <= 8).mean())

    def wait_for_area(self, what, origin, at, colour, present=True, seconds=10):
        """Waits until an area the layout leaves bare shows (or no longer shows) a colour, and the
        screen has settled there (two grabs alike)."""
        box = self.geo.box(origin, at)
        last = [None]

        def ready():
            image = self.screen.grab(box)
            settled = last[0] is not None and np.array_equal(image, last[0])
            last[0] = image
            return settled and (self.covered_by(image, colour) > 0.9) == present
        wait_for(what, ready, seconds * self.slowness, self.pid)

    # -- ink

    @staticmethod
    def ink(band):
        """Pixels that differ clearly from the band's commonest colour (its background)."""
        flat = band.reshape(-1, 3).astype(np.int32)
        packed = flat[:, 0] << 16 | flat[:, 1] << 8 | flat[:, 2]
        values, counts = np.unique(packed, return_counts=True)
        back = values[counts.argmax()]
        back = np.array([back >> 16 & 255, back >> 8 & 255, back & 255])
        return int((np.abs(flat - back).max(axis=1) > INK_STEP).sum()), flat.shape[0]

    def blank_bands(self, image, origin, bands, clip):
        blank = []
        for name, (at, inset) in bands.items():
            x0, y0, x1, y1 = self.geo.box(origin, at, inset, clip)
            if x1 - x0 < 4 or y1 - y0 < 4:
                raise Failure(f"the band for {name!r} is empty: {(x0, y0, x1, y1)}")
            ink, area = self.ink(image[y0:y1, x0:x1])
            if ink < INK_PIXELS or ink < INK_SHARE * area:
                blank.append(f"{name!r} ({ink} of {area} pixels)")
        return blank

    def check_ink(self, screen, origin, bands, clip):
        """Every band of the screen has letters. A screen may still be being drawn when first read,
        so blank bands count only once the screen has stopped changing for a second."""
        image, since = self.screen.grab(), time.time()
        deadline = time.time() + 10 * self.slowness
        while True:
            blank = self.blank_bands(image, origin, bands, clip)
            if not blank or time.time() - since > 1.0 or time.time() > deadline:
                break
            time.sleep(0.2)
            again = self.screen.grab()
            if not np.array_equal(again, image):
                image, since = again, time.time()
        folder = os.environ.get("SCREENSHOTS")
        if folder and (self.start == 1 or blank):
            from PIL import Image
            name = f"xcb-{screen.replace(' ', '')}-{self.size[0]}x{self.size[1]}.png"
            Image.fromarray(np.ascontiguousarray(image)).save(os.path.join(folder, name))
        if blank:
            raise Failure(f"{screen}: no letters in " + ", ".join(blank))
        print(f"  {screen}: letters in all {len(bands)} bands")

    # -- the visits

    def title(self):
        self.wait_for_area("the title screen", self.title_origin, TITLE_PANEL, SILVER, seconds=30)
        self.check_ink("title", self.title_origin, TITLE, TITLE_CLIP)

    def tour(self):
        o = self.origin
        self.click(self.title_origin, TITLE["OK"][0])
        self.wait_for_area("the main menu", o, MAIN_BARE, SCREEN_BLUE)
        self.check_ink("main menu", o, MAIN, FULL_CLIENT)

        self.click(o, MAIN_ENTRIES["Euclid"])
        self.wait_for_area("Euclid's menu", o, MAIN_BARE, SCREEN_BLUE, present=False)
        self.click(o, TOPIC["Multiple Choice"])
        self.wait_for_area("the quiz", o, QUIZ_BARE, SCREEN_BLUE)
        self.check_ink("quiz", o, QUIZ, FULL_CLIENT)
        self.click(o, QUIZ["Exit"][0])
        self.wait_for_area("Euclid's menu after the quiz", o, QUIZ_BARE, SCREEN_BLUE, present=False)

        self.click(o, TOPIC["Key Facts"])
        self.wait_for_area("Key Facts", o, PAGE_MARGIN, PAPER)
        self.check_ink("key facts", o, KEY_FACTS, FULL_CLIENT)
        self.click(o, KEY_FACTS["Exit"][0])
        self.wait_for_area("Euclid's menu after Key Facts", o, PAGE_MARGIN, PAPER, present=False)

        self.click(o, TOPIC["Exit"])
        self.wait_for_area("the main menu again", o, MAIN_BARE, SCREEN_BLUE)
        self.click(o, MAIN_ENTRIES["Exit"])
        self.wait_for_area("the title asking to leave", self.title_origin, TITLE_PANEL, SILVER)

    def leave(self):
        if not alive(self.pid):
            raise Failure("the program had ended before it was closed")
        self.click(self.title_origin, TITLE["Exit"][0])


def one_start(build, source, tmp, size, n, mode, slowness):
    """The program started once and ended as MODE says (tour, exit or stay); its failures, if any."""
    what, run = f"{size} start {n}", os.path.join(tmp, f"{size}-{n}")
    for sub in ("home", "sanitizer", "user/runtime"):
        os.makedirs(os.path.join(run, sub), mode=0o700)
    env = {k: v for k, v in os.environ.items() if k not in (
        "QT_QPA_PLATFORM", "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "VELLACOURT_SCALE", "VELLACOURT_SCALED",
        "QT_MAX_CACHED_GLYPH_SIZE", "VELLACOURT_START_AT_MENU", "AT_SPI_BUS_ADDRESS")}
    user = os.path.join(run, "user")
    env.update(HOME=user, XDG_RUNTIME_DIR=user + "/runtime", XDG_CONFIG_HOME=user + "/config",
               XDG_CACHE_HOME=user + "/cache", DBUS_SESSION_BUS_ADDRESS=f"unix:path={run}/no-bus",
               CUPS_SERVER="/nonexistent/screens-test.sock", VELLACOURT_HOME=run + "/home",
               VELLACOURT_DATA=source + "/data", VELLACOURT_PROGRAM=build + "/vellacourt",
               ASAN_OPTIONS=f"log_path={run}/sanitizer/asan:halt_on_error=1:detect_leaks=0",
               UBSAN_OPTIONS=f"log_path={run}/sanitizer/ubsan:halt_on_error=1:print_stacktrace=1")
    began, failures = time.monotonic(), []
    with open(run + "/program.log", "w") as log:
        program = subprocess.Popen(["sh", source + "/packaging/vellacourt-numerists"], env=env, stdout=log,
                                   stderr=subprocess.STDOUT)
    try:
        session = Session(n, program.pid, slowness)
        session.title()
        if mode == "tour":
            session.tour()
        if mode in ("tour", "exit"):
            session.leave()
        elif not alive(program.pid):
            raise Failure("the program had ended before it was closed")
        else:
            program.terminate()
        # Closed, it ends by itself: after the title's Exit, or the TERM just sent.
        try:
            rc = program.wait(10 * slowness)
        except subprocess.TimeoutExpired:
            raise Failure(f"the program did not end within {10 * slowness} s of being closed")
        if rc not in ((0, -15, 143) if mode == "stay" else (0,)):
            raise Failure(f"the program ended with status {rc} ({mode})")
    except Failure as e:
        failures.append(f"{what}: {e}")
    stop(program)  # a check failed with the program still up: nothing more to learn from it
    for report in sorted(os.listdir(run + "/sanitizer")):
        failures.append(f"{what}: sanitizer report {report}:")
        print(open(os.path.join(run, "sanitizer", report)).read(), file=sys.stderr)
    if failures:
        print(f"--- the program's output ({what}):\n" + open(run + "/program.log").read(), file=sys.stderr)
    print(f"{what} ({mode}): {'FAILED' if failures else 'ok'} in {time.monotonic() - began:.0f} s", flush=True)
    return failures


def main():
    build, source = (os.path.abspath(p) for p in sys.argv[1:3])
    if not os.access(build + "/vellacourt", os.X_OK):
        sys.exit(f"no program at {build}/vellacourt")
    if os.environ.get("SCREENSHOTS"):
        os.makedirs(os.environ["SCREENSHOTS"], exist_ok=True)
    # A sanitized build starts and draws several times slower.
    ldd = subprocess.run(["ldd", build + "/vellacourt"], capture_output=True, text=True).stdout
    slowness = 4 if "libasan" in ldd else 1
    failures = []
    with tempfile.TemporaryDirectory() as tmp:
        for size in os.environ.get("SIZES", "1024x768 1280x1024 1366x768 1920x1080 3840x2160").split():
            began, before = time.monotonic(), len(failures)
            with xvfb(size, "-noreset"):
                for n, mode in enumerate(("tour", "exit", "stay"), 1):
                    failures += one_start(build, source, tmp, size, n, mode, slowness)
            print(f"{size}: {'FAILED' if len(failures) > before else '3 starts ok'} in {time.monotonic() - began:.0f} s")
    for f in failures:
        print("FAILED:", f, file=sys.stderr)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
