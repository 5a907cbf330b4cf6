#!/usr/bin/python3
"""One start of the real program on a private X server, as a pupil meets it: clicks through XTEST,
and what the server shows read back to check that every caption and page has its letters.

Run by screens_xcb_test.sh, which starts the server and the program and judges how it ends:
    screens_xcb_test.py WIDTHxHEIGHT START PID MODE SLOWNESS
MODE  tour: the title, its OK, the main menu, Euclid's quiz and Key Facts, then out through each
            screen's Exit to the title's Exit;
      exit: the title, then its Exit;
      stay: the title only (the caller ends the program).
SLOWNESS multiplies every timeout (a sanitized build starts and draws several times slower).
SCREENSHOTS=DIR saves what each checked screen showed, as DIR/xcb-<screen>-WxH.png.

Positions come from the screens' layout tables, in twips (15 to a design pixel), on a form centred
on Qt's screen as it is in logical pixels, then multiplied by the stage's scale.
"""
import math
import os
import sys
import time

import numpy as np
from Xlib import X, display
from Xlib.ext import xtest

TWIPS = 15
BORDER, CAPTION = 7, 26             # a form's frame round its client area, pixels (src/platform/Form.h)
SCREEN_BLUE = (39, 63, 137)         # a screen's client area (src/platform/Theme.h)
SILVER = (192, 192, 192)            # the title's panel
PAPER = (252, 248, 236)             # a reference page's card (assets/make_pages.cpp)
INK_STEP = 48                       # a channel this far from the band's background is ink
INK_SHARE, INK_PIXELS = 0.005, 48   # a band has letters when this much of it is ink


def lround(v):
    return math.floor(v + 0.5)


class Failure(Exception):
    pass


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
    "Teachers' Guide": (120, 1080, 3075, 495), "Pythagoras": (120, 2160, 3075, 375),
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
MAIN_BARE = (3360, 1000, 3200, 1100)  # between the Guide's entry and the picture: bare client area

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
    def __init__(self, size, start, pid, slowness):
        self.size, self.start, self.pid, self.slowness = size, start, pid, slowness
        self.geo = Geometry(*size)
        self.d = display.Display()
        self.root = self.d.screen().root
        if not self.d.has_extension("XTEST"):
            raise Failure("the X server has no XTEST")
        self.title_origin = self.geo.client(*TITLE_OUTER, TITLE_FRAME)
        self.origin = self.geo.client(*FULL_OUTER)
        self.last_press = 0.0

    # -- the program and the screen

    def alive(self):
        try:
            with open(f"/proc/{self.pid}/stat") as f:
                return f.read().rsplit(")", 1)[1].split()[0] != "Z"
        except OSError:
            return False

    def grab(self, box=None):
        x0, y0, x1, y1 = box or (0, 0, *self.size)
        # In strips of about a megabyte: python-xlib gathers a reply by joining its pieces, which
        # takes seconds for a whole 3840 x 2160 screen and a tenth of that in strips.
        rows = max(1, (1 << 20) // (4 * (x1 - x0)))
        strips = [self.root.get_image(x0, y, x1 - x0, min(rows, y1 - y), X.ZPixmap, 0xFFFFFFFF).data
                  for y in range(y0, y1, rows)]
        return np.frombuffer(b"".join(strips), np.uint8).reshape(y1 - y0, x1 - x0, 4)[:, :, 2::-1]

    def click(self, origin, at):
        x0, y0, x1, y1 = self.geo.box(origin, at)
        x, y = (x0 + x1) // 2, (y0 + y1) // 2
        # Two presses within Qt's double-click time would make the second a double click.
        time.sleep(max(0.0, self.last_press + 0.5 - time.time()))
        xtest.fake_input(self.d, X.MotionNotify, x=x, y=y)
        self.d.sync()
        time.sleep(0.05)
        xtest.fake_input(self.d, X.ButtonPress, 1)
        xtest.fake_input(self.d, X.ButtonRelease, 1)
        self.d.sync()
        self.last_press = time.time()

    def covered_by(self, image, colour):
        """The share of an image within a few steps of a colour."""
        return float((np.abs(image.astype(np.int16) - colour).max(axis=2) <= 8).mean())

    def wait(self, what, ready, seconds):
        """Polls until ready() holds, the program still running."""
        deadline = time.time() + seconds * self.slowness
        while True:
            if not self.alive():
                raise Failure(f"the program ended while waiting for {what}")
            if ready():
                return
            if time.time() > deadline:
                raise Failure(f"{what} did not come within {seconds * self.slowness:.0f} s")
            time.sleep(0.1)

    def wait_for_area(self, what, origin, at, colour, present=True, seconds=10):
        """Waits until an area the layout leaves bare shows (or no longer shows) a colour, and the
        screen has settled there (two grabs alike)."""
        box = self.geo.box(origin, at)
        last = [None]

        def ready():
            image = self.grab(box)
            settled = last[0] is not None and np.array_equal(image, last[0])
            last[0] = image
            return settled and (self.covered_by(image, colour) > 0.9) == present
        self.wait(what, ready, seconds)

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
        image, since = self.grab(), time.time()
        deadline = time.time() + 10 * self.slowness
        while True:
            blank = self.blank_bands(image, origin, bands, clip)
            if not blank or time.time() - since > 1.0 or time.time() > deadline:
                break
            time.sleep(0.2)
            again = self.grab()
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
        if not self.alive():
            raise Failure("the program had ended before it was closed")
        self.click(self.title_origin, TITLE["Exit"][0])


def main():
    size, start, pid, mode, slowness = sys.argv[1:6]
    size = tuple(int(v) for v in size.split("x"))
    session = Session(size, int(start), int(pid), float(slowness))
    try:
        session.title()
        if mode == "tour":
            session.tour()
        if mode in ("tour", "exit"):
            session.leave()
    except Failure as e:
        sys.exit(f"{size[0]}x{size[1]} start {start}: {e}")


if __name__ == "__main__":
    main()
