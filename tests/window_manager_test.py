#!/usr/bin/python3
"""The real program, started through the launcher, on a private X server at 1024 x 768 (the stage's
scale 1.28: the 800 x 600 screens fill it) under openbox with a private configuration and home. Keys
and clicks go in through XTEST; what the window manager did is read from its EWMH properties, which
screen is in front from the screen's pixels.

    window_manager_test.py BUILD_DIR SOURCE_DIR
"""
import os
import signal
import subprocess
import sys
import tempfile
import time

import numpy as np
from Xlib import X
from Xlib.error import XError

from xharness import Failure, Screen, stop, wait_for, xvfb

BUILD, SOURCE = (os.path.abspath(p) for p in sys.argv[1:3])
SCREEN_W, SCREEN_H = 1024, 768
SCALE = 1.28
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

# Layouts in twips, as the screens build them; a full-size screen's frame lies at the stage's corner.
MENU_WIZARD = (6960, 5760, 4635, 495)
WIZARD_TITLE, WIZARD_SAVE = (7560, 120, 4215, 375), (240, 7920, 3165, 495)


def on_screen(twips):
    """A control's rectangle in screen pixels: its form's 7-pixel border and 26-pixel caption bar
    lie round the client area the twips count from."""
    l, t, w, h = twips
    x0, y0 = 7 + l / 15, 33 + t / 15
    return (round(x0 * SCALE), round(y0 * SCALE), round((x0 + w / 15) * SCALE), round((y0 + h / 15) * SCALE))


def centre(twips):
    x0, y0, x1, y1 = on_screen(twips)
    return (x0 + x1) // 2, (y0 + y1) // 2


def check(condition, message):
    if not condition:
        raise Failure(message)


screen = d = root = atom = None  # the X server's, once it runs


def prop(wid, name):
    try:
        p = d.create_resource_object("window", wid).get_full_property(atom(name), X.AnyPropertyType)
    except XError:
        return None
    return None if p is None else list(p.value)


def clients():
    return prop(root.id, "_NET_CLIENT_LIST") or []


def has_keyboard(wid):
    focus = d.get_input_focus().focus
    return (prop(root.id, "_NET_ACTIVE_WINDOW") or [0])[0] == wid and (focus if isinstance(focus, int) else focus.id) == wid


def states(wid):
    return {d.get_atom_name(a) for a in prop(wid, "_NET_WM_STATE") or []}


def frame(wid):
    """The window manager's frame round the window: left, right, top, bottom."""
    return prop(wid, "_NET_FRAME_EXTENTS") or [0, 0, 0, 0]


def geometry(wid):  # where the window's own area lies on the screen, and its size
    w = d.create_resource_object("window", wid)
    g = w.get_geometry()
    at = w.translate_coords(root, 0, 0)
    return -at.x, -at.y, g.width, g.height


def front_screen():
    image = screen.grab()
    colour = lambda point: tuple(int(c) for c in image[point[1], point[0]])
    if colour(BARE_BACKDROP) == BACKDROP and colour(TITLE_CLIENT) == SILVER:
        return "title"
    if colour(centre(WIZARD_TITLE)) == WHITE:
        return "wizard"
    return "menu" if colour(BARE_BACKDROP) == SCREEN_BLUE else None


def showing(name):
    wait_for("the " + name + " screen", lambda: front_screen() == name)


def ink(box):
    """Which pixels of the screen's box (x0, y0, x1, y1) are dark, as text is."""
    return screen.grab(box).min(axis=2) < 128


def start_program(work, processes):
    env = {k: v for k, v in os.environ.items()
           if k not in ("QT_QPA_PLATFORM", "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "VELLACOURT_SCALE",
                        "VELLACOURT_SCALED")}
    env.update(VELLACOURT_HOME=os.path.join(work, "vellacourt"), VELLACOURT_DATA=os.path.join(SOURCE, "data"),
               VELLACOURT_PROGRAM=os.path.join(BUILD, "vellacourt"), CUPS_SERVER="/nonexistent")
    with open(os.path.join(work, "program.log"), "w") as log:
        program = subprocess.Popen(["sh", os.path.join(SOURCE, "packaging", "vellacourt-numerists")],
                                   env=env, stdout=log, stderr=subprocess.STDOUT)
    processes.append(program)
    # The launcher becomes the program (exec), so its window carries the same process id.
    def its_window():
        if program.poll() is not None:
            raise Failure(f"the program ended (status {program.returncode}) before its window came up")
        return next((w for w in clients() if (prop(w, "_NET_WM_PID") or [0])[0] == program.pid), None)
    return program, wait_for("the program's window", its_window, 20)


def full_screen(stage):
    return geometry(stage) == (0, 0, SCREEN_W, SCREEN_H) and "_NET_WM_STATE_FULLSCREEN" in states(stage)


def walk(program, stage):
    """Full screen at the start; a message box over the wizard, and the keyboard back in the wizard when
    it goes; F11 out of full screen and back."""
    wait_for("the program's window full screen with the keyboard", lambda: full_screen(stage) and has_keyboard(stage))
    check((prop(root.id, "_NET_CLIENT_LIST_STACKING") or [0])[-1] == stage, "the program's window is on top")
    showing("title")
    screen.key("Return")  # the title screen's OK: the keyboard reaches the program from the start
    showing("menu")
    screen.click(centre(MENU_WIZARD))
    showing("wizard")
    # A teacher clicks into the title, does not type, and asks to save.
    screen.click(centre(WIZARD_TITLE))
    screen.click(centre(WIZARD_SAVE))
    box = wait_for("a message box transient for the stage",
                   lambda: next((w for w in clients() if (prop(w, "WM_TRANSIENT_FOR") or [0])[0] == stage),
                                None))
    stacking = prop(root.id, "_NET_CLIENT_LIST_STACKING") or []
    check(stacking.index(box) > stacking.index(stage) and any(frame(box)),
          "the message box is framed by the window manager, above the stage")
    # The box holds the keyboard first, so the stage having it afterwards is the box's doing.
    wait_for("the message box active with the keyboard", lambda: has_keyboard(box))
    x, y, w, h = geometry(box)
    check(x >= 0 and y >= 0 and x + w <= SCREEN_W and y + h <= SCREEN_H, "the message box lies on the screen")
    # Its line of words, above its button: a missing font leaves it bare.
    check(np.count_nonzero(ink((x, y, x + w, y + h * 2 // 5)).any(axis=0)) > 150, "the message box shows its words")

    screen.key("Return")
    wait_for("the message box to go", lambda: box not in clients())
    wait_for("the stage active with the keyboard again after the box", lambda: has_keyboard(stage))
    check(full_screen(stage), "the stage is still full screen after the box")
    x0, y0, x1, y1 = on_screen(WIZARD_TITLE)
    inside = (x0 + 4, y0 + 4, x1 - 4, y1 - 4)
    empty = ink(inside)
    for letter in "sums":
        screen.key(letter)
    wait_for("letters typed after the box in the wizard's title box",
             lambda: np.count_nonzero((ink(inside) & ~empty).any(axis=0)) >= 15)

    # F11: a framed window of the design's size where the screen has room for it and its frame, else
    # the work area less its frame (as at 1024 x 768), whole on the screen.
    screen.key("F11")
    wait_for("F11: the stage framed, out of full screen",
             lambda: "_NET_WM_STATE_FULLSCREEN" not in states(stage) and frame(stage)[2] > 0, 5)
    time.sleep(0.3)  # the window manager's last move and resize
    x, y, w, h = geometry(stage)
    left, right, top, bottom = frame(stage)
    design_w, design_h = round(800 * SCALE), round(600 * SCALE)
    check(min(design_w, SCREEN_W - left - right) - 40 <= w <= design_w
          and min(design_h, SCREEN_H - top - bottom) - 40 <= h <= design_h,
          f"F11: the window is the design's size, or as near as the work area lets it be (it is {w} x {h})")
    check(x - left >= 0 and y - top >= 0 and x + w + right <= SCREEN_W and y + h + bottom <= SCREEN_H,
          f"F11: the window and its frame lie on the screen ({w} x {h} at {x}, {y}, framed {frame(stage)})")
    check(has_keyboard(stage), "F11: the window keeps the keyboard")
    screen.key("F11")
    wait_for("F11 again: the stage full screen, unframed, with the keyboard",
             lambda: full_screen(stage) and has_keyboard(stage) and not any(frame(stage)), 5)
    showing("wizard")

    # The wizard, its title rubbed out, left at once by Escape. (Leaving by Exit: screens_xcb_test.)
    for _ in "sums":
        screen.key("BackSpace")
    screen.key("Escape")
    showing("menu")


def main():
    global screen, d, root, atom
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("stopped from outside"))
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
        processes, failure = [], None
        try:
            with xvfb(f"{SCREEN_W}x{SCREEN_H}"):
                screen = Screen()
                d, root, atom = screen.d, screen.root, screen.d.intern_atom
                processes.append(subprocess.Popen(["openbox", "--sm-disable", "--config-file", home + "/.config/openbox/rc.xml"],
                                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
                wait_for("openbox to manage the screen", lambda: (prop(root.id, "_NET_SUPPORTING_WM_CHECK") or [0])[0])
                walk(*start_program(work, processes))
        except Failure as e:
            failure = str(e)
        finally:
            for p in reversed(processes):
                stop(p)
        if failure:
            log = os.path.join(work, "program.log")
            sys.exit(f"FAILED: {failure}\n--- the program's log:\n" + (open(log).read() if os.path.exists(log) else ""))


if __name__ == "__main__":
    main()
