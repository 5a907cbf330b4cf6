#!/usr/bin/python3
"""The program as a desktop meets it: the real binary, started through the launcher, on a private X
server at 1024 x 768 under a real window manager (openbox) with a private configuration and home.
Keys and clicks go in through XTEST; what the window manager did is read from its EWMH properties and
what the user sees from the screen's pixels. At 1024 x 768 the stage's scale is 1.28, and the 800 x 600
screens fill the screen exactly. Nothing of the machine's own session or settings is touched.

    window_manager_test.py BUILD_DIR SOURCE_DIR
"""
import os
import signal
import subprocess
import sys
import tempfile
import time

import numpy as np
from PIL import Image, ImageDraw, ImageFont
from Xlib import X
from Xlib.error import XError

from xharness import Failure, Screen, stop, wait_for, xvfb

BUILD, SOURCE = (os.path.abspath(p) for p in sys.argv[1:3])
SCREEN_W, SCREEN_H = 1024, 768
SCALE = 1.28
TITLE = "Vellacourt Numerists"
# New windows take the focus and the pointer does not move it, as on a usual desktop; no key is bound,
# so every key reaches the program.
OPENBOX_RC = """<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>
  <placement><policy>Smart</policy></placement>
  <desktops><number>1</number></desktops>
  <keyboard></keyboard>
</openbox_config>
"""

# Colours the screens paint (the theme's), and spots where they tell the screens apart.
BACKDROP, SCREEN_BLUE, SILVER, WHITE = (48, 133, 214), (39, 63, 137), (192, 192, 192), (255, 255, 255)
BARE_BACKDROP = (100, 100)      # outside the title screen; inside a full-size screen
TITLE_CLIENT = (300, 300)       # the title screen's silver, left of its picture

# Layouts in twips, as the screens build them. A full-size screen's frame lies at the stage's corner;
# the title screen's (5670 x 7170 twips) is centred: 211, 61 design pixels in.
TITLE_FORM, TITLE_FRAME = (211, 61), (0, -90)
TITLE_OK, TITLE_EXIT = (1320, 6000, 1335, 375), (2760, 6000, 1335, 375)
MENU_WIZARD, MENU_EXIT = (6960, 5760, 4635, 495), (10560, 7920, 1245, 495)
WIZARD_TITLE, WIZARD_SAVE = (7560, 120, 4215, 375), (240, 7920, 3165, 495)


def on_screen(twips, form=(0, 0), frame=(0, 0)):
    """A control's rectangle in screen pixels: its form's 7-pixel border and 26-pixel caption bar
    lie round the client area the twips count from."""
    l, t, w, h = twips
    x0, y0 = form[0] + 7 + (frame[0] + l) / 15, form[1] + 33 + (frame[1] + t) / 15
    return (round(x0 * SCALE), round(y0 * SCALE), round((x0 + w / 15) * SCALE), round((y0 + h / 15) * SCALE))


def centre(twips, **where):
    x0, y0, x1, y1 = on_screen(twips, **where)
    return (x0 + x1) // 2, (y0 + y1) // 2


failures = []


def check(condition, message, fatal=True):
    """A check; one that is not fatal is noted and the run goes on, as nothing after it depends on it."""
    if condition:
        print("ok:", message, flush=True)
    elif fatal:
        raise Failure(message)
    else:
        print("FAILED:", message, flush=True)
        failures.append(message)


def settle(probe, seconds=10):
    """Waits a while for something the checks after it then look at one by one."""
    try:
        return wait_for("", probe, seconds)
    except Failure:
        return False


def expect(probe, message, seconds=10):
    """A check of something that takes a moment to happen."""
    wait_for(message, probe, seconds)
    print("ok:", message, flush=True)


screen = d = root = atom = None  # the X server's, once it runs


def prop(window, name):
    try:
        p = window.get_full_property(atom(name), X.AnyPropertyType)
    except XError:
        return None
    return None if p is None else p.value


def text_prop(window, name):
    value = prop(window, name)
    return None if value is None else (value.decode() if isinstance(value, bytes) else value)


def window(wid):
    return d.create_resource_object("window", wid)


def clients():
    return list(prop(root, "_NET_CLIENT_LIST") or [])


def active():
    return (prop(root, "_NET_ACTIVE_WINDOW") or [0])[0]


def input_focus():
    focus = d.get_input_focus().focus
    return focus if isinstance(focus, int) else focus.id


def states(wid):
    return {d.get_atom_name(a) for a in prop(window(wid), "_NET_WM_STATE") or []}


def geometry(wid):
    """Where the window's own area lies on the screen, and its size."""
    w = window(wid)
    g = w.get_geometry()
    at = w.translate_coords(root, 0, 0)
    return -at.x, -at.y, g.width, g.height


def colour(image, point):
    return tuple(int(c) for c in image[point[1], point[0]])


# ---- what a screen shows

def front_screen():
    image = screen.grab()
    if colour(image, BARE_BACKDROP) == BACKDROP and colour(image, TITLE_CLIENT) == SILVER:
        return "title"
    if colour(image, centre(WIZARD_TITLE)) == WHITE:
        return "wizard"
    if colour(image, BARE_BACKDROP) == SCREEN_BLUE:
        return "menu"
    return None


def showing(name, seconds=10):
    wait_for("the " + name + " screen", lambda: front_screen() == name, seconds)


def word_spans(ink):
    """Where the words of a line of dark text begin and end, as fractions of the line's width: the
    same for any size of the same font, different for another text."""
    rows = np.flatnonzero(ink.any(axis=1))
    if rows.size == 0:
        return []
    line = ink[rows[0]:rows[0] + np.argmax(np.append(np.diff(rows) > 1, True)) + 1]
    cols = line.any(axis=0)
    xs = np.flatnonzero(cols)
    left, right = xs[0], xs[-1]
    space = max(3, 0.3 * line.shape[0])  # wider than any gap between letters, narrower than a blank
    spans, start, gap = [], left, 0
    for x in range(left, right + 1):
        if cols[x]:
            if gap >= space:
                spans.append((start, x - gap - 1))
                start = x
            gap = 0
        else:
            gap += 1
    spans.append((start, right))
    width = right - left + 1
    return [((a - left) / width, (b - left) / width) for a, b in spans]


def same_words(image_ink, text):
    """Whether a line of pixels reads as `text` set in the desktop's sans font."""
    font_file = subprocess.run(["fc-match", "-f", "%{file}", "sans"], capture_output=True, text=True).stdout
    font = ImageFont.truetype(font_file, 16)
    drawn = Image.new("L", (int(font.getlength(text)) + 20, 40), 255)
    ImageDraw.Draw(drawn).text((10, 10), text, font=font, fill=0)
    want, got = word_spans(np.asarray(drawn) < 128), word_spans(image_ink)
    return len(want) == len(got) and all(abs(a - b) < 0.015 for w, g in zip(want, got) for a, b in zip(w, g))


# ---- the program

started = []


def start_program(work, n):
    env = {k: v for k, v in os.environ.items()
           if k not in ("QT_QPA_PLATFORM", "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "VELLACOURT_SCALE",
                        "VELLACOURT_SCALED")}
    env.update(VELLACOURT_HOME=os.path.join(work, f"vellacourt-{n}"), VELLACOURT_DATA=os.path.join(SOURCE, "data"),
               VELLACOURT_PROGRAM=os.path.join(BUILD, "vellacourt"), CUPS_SERVER="/nonexistent")
    with open(os.path.join(work, f"program-{n}.log"), "w") as log:
        program = subprocess.Popen(["sh", os.path.join(SOURCE, "packaging", "vellacourt-numerists")],
                                   env=env, stdout=log, stderr=subprocess.STDOUT)
    started.append(program)
    # The launcher becomes the program (exec), so its window carries the same process id.
    def its_window():
        if program.poll() is not None:
            raise Failure(f"the program ended (status {program.returncode}) before its window came up")
        return next((w for w in clients() if (prop(window(w), "_NET_WM_PID") or [0])[0] == program.pid), None)
    return program, wait_for("the program's window", its_window, 20)


def full_screen_and_focused(stage):
    return (geometry(stage) == (0, 0, SCREEN_W, SCREEN_H) and "_NET_WM_STATE_FULLSCREEN" in states(stage)
            and active() == stage and input_focus() == stage)


def comes_up(stage):
    """Full screen under the window manager, in front, with the keyboard."""
    settle(lambda: full_screen_and_focused(stage))
    check(stage in clients() and (prop(root, "_NET_CLIENT_LIST_STACKING") or [0])[-1] == stage,
          "the program's window is managed and on top")
    check(geometry(stage) == (0, 0, SCREEN_W, SCREEN_H) and "_NET_WM_STATE_FULLSCREEN" in states(stage),
          f"the program's window covers the screen in the full-screen state ({geometry(stage)}, {states(stage)})")
    check(active() == stage and input_focus() == stage, "the program's window is active and has the keyboard")
    check(text_prop(window(stage), "_NET_WM_NAME") == TITLE and text_prop(window(stage), "WM_NAME") == TITLE,
          "the window is titled " + TITLE, fatal=False)
    showing("title")


def message_box_gives_the_keyboard_back(stage):
    """A message box over the wizard, and the keyboard back in the wizard when it goes."""
    # Enter on the title screen's OK: the keyboard reaches the program from the start.
    screen.key("Return")
    expect(lambda: front_screen() == "menu", "Return on the title screen opens the main menu")
    screen.click(centre(MENU_WIZARD))
    showing("wizard")
    title_box = on_screen(WIZARD_TITLE)
    inside = (slice(title_box[1] + 4, title_box[3] - 4), slice(title_box[0] + 4, title_box[2] - 4))
    # A teacher clicks into the title, does not type, and asks to save.
    screen.click(centre(WIZARD_TITLE))
    screen.click(centre(WIZARD_SAVE))
    box = wait_for("a message box transient for the stage",
                   lambda: next((w for w in clients() if (prop(window(w), "WM_TRANSIENT_FOR") or [0])[0] == stage),
                                None))
    check(window(box).get_attributes().map_state == X.IsViewable and box in clients(),
          "the message box is mapped and managed by the window manager")
    stacking = list(prop(root, "_NET_CLIENT_LIST_STACKING") or [])
    check(stacking.index(box) > stacking.index(stage), "the message box lies above the stage")
    check(any(prop(window(box), "_NET_FRAME_EXTENTS") or [0]), "the window manager has framed the message box")
    # The box holds the keyboard first, so the stage having it afterwards is the box's doing.
    expect(lambda: active() == box and input_focus() == box, "the message box is active with the input focus")
    x, y, w, h = geometry(box)
    check(x >= 0 and y >= 0 and x + w <= SCREEN_W and y + h <= SCREEN_H, "the message box lies on the screen")
    expect(lambda: same_words(screen.grab()[y:y + h, x:x + w].min(axis=2) < 128,
                              "You have not chosen a title for your worksheet"),
           'the box says "You have not chosen a title for your worksheet"')

    screen.key("Return")
    wait_for("the message box to go", lambda: box not in clients())
    expect(lambda: active() == stage and input_focus() == stage,
           "Return closes the box, and the stage is active with the input focus again")
    check("_NET_WM_STATE_FULLSCREEN" in states(stage), "the stage is still full screen")

    empty = screen.grab()[inside].min(axis=2) < 128
    for letter in "sums":
        screen.key(letter)
    expect(lambda: np.count_nonzero(((screen.grab()[inside].min(axis=2) < 128) & ~empty).any(axis=0)) >= 15,
           "letters typed after the box land in the wizard's title box")


def press_while_busy(name):
    """A key pressed while the window manager is busy for a moment, as on a loaded classroom computer:
    what the window ends up as must not depend on whether the program or the window manager is first."""
    os.kill(WINDOW_MANAGER, signal.SIGSTOP)
    try:
        screen.key(name)
        time.sleep(0.3)
    finally:
        os.kill(WINDOW_MANAGER, signal.SIGCONT)


def f11_leaves_and_returns(stage, press, how, front, sizes=True):
    """F11 out of full screen into a framed window, and F11 back. The window is the design's size where
    the screen has room for it and its frame; at 1024 x 768 (scale 1.28) the design fills the screen, so
    the window takes the work area less its frame instead, and must lie whole on the screen."""
    press("F11")
    settle(lambda: "_NET_WM_STATE_FULLSCREEN" not in states(stage)
           and any(prop(window(stage), "_NET_FRAME_EXTENTS") or [0]), 5)
    time.sleep(0.3)  # the window manager's last move and resize
    x, y, w, h = geometry(stage)
    left, right, top, bottom = prop(window(stage), "_NET_FRAME_EXTENTS") or (0, 0, 0, 0)
    check("_NET_WM_STATE_FULLSCREEN" not in states(stage) and top > 0 and stage in clients(),
          f"F11{how}: the stage leaves full screen for a window the window manager frames")
    if sizes:
        room_w, room_h = SCREEN_W - left - right, SCREEN_H - top - bottom
        check(min(round(800 * SCALE), room_w) - 40 <= w <= round(800 * SCALE)
              and min(round(600 * SCALE), room_h) - 40 <= h <= round(600 * SCALE),
              f"F11{how}: the window is the design's size, or as near as the work area lets it be "
              f"(it is {w} x {h})", fatal=False)
        check(x - left >= 0 and y - top >= 0 and x + w + right <= SCREEN_W and y + h + bottom <= SCREEN_H,
              f"F11{how}: the window and its frame lie on the screen ({w} x {h} at {x}, {y}, framed {left}, "
              f"{right}, {top}, {bottom})", fatal=False)
    check(active() == stage and input_focus() == stage, f"F11{how}: the window keeps the keyboard")
    press("F11")
    settle(lambda: full_screen_and_focused(stage), 5)
    check(full_screen_and_focused(stage) and not any(prop(window(stage), "_NET_FRAME_EXTENTS") or [0]),
          f"F11 again{how}: the stage covers the screen in the full-screen state, unframed, with the keyboard "
          f"({geometry(stage)}, {states(stage) or 'no state'})")
    showing(front)


def exit_question(program, stage):
    """The main menu's Exit asks first, and confirming it ends the program cleanly (Escape on the
    question is test_access's)."""
    screen.click(centre(TITLE_OK, form=TITLE_FORM, frame=TITLE_FRAME))
    showing("menu")
    screen.click(centre(MENU_EXIT))
    showing("title")
    check(program.poll() is None, "the main menu's Exit asks first")
    screen.click(centre(TITLE_EXIT, form=TITLE_FORM, frame=TITLE_FRAME))
    try:
        status = program.wait(5)
    except subprocess.TimeoutExpired:
        raise Failure("the program was still running 5 s after Exit was confirmed")
    check(status == 0, f"confirming Exit ends the program with status 0 (it was {status})")


def wait_for_window_manager():
    def managing():
        check_window = (prop(root, "_NET_SUPPORTING_WM_CHECK") or [0])[0]
        return check_window and (prop(window(check_window), "_NET_SUPPORTING_WM_CHECK") or [0])[0] == check_window
    wait_for("openbox to manage the screen", managing)


def main():
    global screen, d, root, atom, WINDOW_MANAGER
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("stopped from outside"))
    signal.signal(signal.SIGALRM, lambda *_: sys.exit("took more than 110 s"))
    signal.alarm(110)
    began = time.monotonic()
    # Each run starts the program afresh, so that what one finds wrong does not hide what the next checks.
    runs = [
        lambda program, stage: (message_box_gives_the_keyboard_back(stage),
                                f11_leaves_and_returns(stage, screen.key, "", "wizard")),
        lambda program, stage: f11_leaves_and_returns(stage, press_while_busy, " with the window manager busy", "title",
                                                      sizes=False),
        exit_question,
    ]
    with tempfile.TemporaryDirectory() as work:
        # A home of our own for the window manager and the program: their settings, caches and runtime files.
        home = os.path.join(work, "home")
        os.environ.update(HOME=home, XDG_CONFIG_HOME=home + "/.config", XDG_CACHE_HOME=home + "/.cache",
                          XDG_DATA_HOME=home + "/.local/share", XDG_RUNTIME_DIR=work + "/runtime")
        for var in ("DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS", "SESSION_MANAGER"):
            os.environ.pop(var, None)
        for folder in (home + "/.config/openbox", home + "/.cache", home + "/.local/share", work + "/runtime"):
            os.makedirs(folder, mode=0o700)
        with open(home + "/.config/openbox/rc.xml", "w") as f:
            f.write(OPENBOX_RC)
        wm = None
        try:
            with xvfb(f"{SCREEN_W}x{SCREEN_H}"):
                screen = Screen()
                d, root, atom = screen.d, screen.root, screen.d.intern_atom
                with open(work + "/openbox.log", "w") as log:
                    wm = subprocess.Popen(["openbox", "--sm-disable", "--config-file", home + "/.config/openbox/rc.xml"],
                                          stdout=log, stderr=subprocess.STDOUT)
                WINDOW_MANAGER = wm.pid
                wait_for_window_manager()
                for n, run in enumerate(runs, 1):
                    try:
                        program, stage = start_program(work, n)
                        comes_up(stage)
                        run(program, stage)
                    except Failure as e:
                        print("FAILED:", e, flush=True)
                        failures.append(str(e))
                    for p in started:
                        stop(p)
        except Failure as e:
            failures.append(str(e))
        finally:
            for p in started:
                stop(p)
            if wm:
                wm.send_signal(signal.SIGCONT)  # held still for moments; it must be running to be stopped
                stop(wm)
        print(f"took {time.monotonic() - began:.1f} s")
        for n in range(1, len(started) + 1):
            if failures:
                print(f"--- program-{n}.log:\n" + open(os.path.join(work, f"program-{n}.log")).read(), file=sys.stderr)
    for f in failures:
        print("FAILED:", f, file=sys.stderr, flush=True)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
