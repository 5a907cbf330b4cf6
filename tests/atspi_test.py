#!/usr/bin/python3
"""Takes Euclid's quiz and places a tile through AT-SPI alone, as a screen reader's user would.

Started by atspi_test.sh inside a private session bus and X server, with the program running.
Each step finds a showing control by its role and name and uses its action.
"""
import os
import re
import sys
import time

import pyatspi
from Xlib import X, XK, display
from Xlib.ext import xtest

X_SERVER = display.Display()

def walk(acc):
    """Every object showing under acc, depth first."""
    for child in acc:
        if child is not None and child.getState().contains(pyatspi.STATE_SHOWING):
            yield child
            yield from walk(child)


def wait_for(what, probe, seconds=10):
    deadline = time.time() + seconds
    while (found := probe()) is None or found is False:
        if time.time() > deadline:
            sys.exit(f"not found: {what}")
        time.sleep(0.1)
    return found


def find(root, role, name=None, starts=None):
    def probe():
        return next((a for a in walk(root) if a.getRoleName() == role
                     and (a.name == name if name is not None else a.name.startswith(starts))), None)
    return wait_for(f"{role} {name or starts!r}", probe)


def focused(root):
    return next((a for a in walk(root) if a.getState().contains(pyatspi.STATE_FOCUSED)), None)


def program_root():
    desktop = pyatspi.Registry.getDesktop(0)
    return wait_for("the program on the accessibility bus",
                    lambda: next((a for a in desktop if a is not None and a.name == "Vellacourt Numerists"), None), 30)


def named(root, role):
    return [a.name for a in walk(root) if a.getRoleName() == role]


def press(acc):
    action = acc.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    wanted = next((n for n in ("Press", "Toggle") if n in names), None)
    if wanted is None:
        sys.exit(f"{acc.getRoleName()} {acc.name!r} has no press action: {names}")
    action.doAction(names.index(wanted))


def centre(acc):
    e = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x + e.width // 2, e.y + e.height // 2


def click_where_told(acc):
    """Clicks the middle of where acc says it is, as a click-by-position tool would."""
    x, y = centre(acc)
    xtest.fake_input(X_SERVER, X.MotionNotify, x=x, y=y)
    xtest.fake_input(X_SERVER, X.ButtonPress, 1)
    xtest.fake_input(X_SERVER, X.ButtonRelease, 1)
    X_SERVER.sync()
    time.sleep(0.1)


def gone(root, role, name):
    wait_for(f"{role} {name!r} gone", lambda: not any(a.getRoleName() == role and a.name == name for a in walk(root)))


def key(name, pause=0.3, held=None):
    """Presses and releases a key through the X server, where Orca listens for its commands: a capital
    letter with Shift held, or with the modifier `held`, let go of a moment after the key as fingers do
    (Orca takes the last key it saw for the one that moved the caret)."""
    code = X_SERVER.keysym_to_keycode(XK.string_to_keysym(name))
    held = X_SERVER.keysym_to_keycode(XK.string_to_keysym(held or "Shift_L")) if held or name.isupper() else None
    for event, k in [(X.KeyPress, held)] * bool(held) + [(X.KeyPress, code), (X.KeyRelease, code)]:
        xtest.fake_input(X_SERVER, event, k)
    if held:
        X_SERVER.sync()
        time.sleep(0.3)
        xtest.fake_input(X_SERVER, X.KeyRelease, held)
    X_SERVER.sync()
    time.sleep(pause)


def said_so_far():
    with open(os.environ["SPEECH_LOG"], encoding="utf-8") as log:
        return log.read()


def heard(words, since=0):
    """Waits for Orca to say something containing `words`, after the log's first `since` characters."""
    def said():
        return next((line.strip() for line in said_so_far()[since:].splitlines() if words in line), None)
    print("ok: Orca said:", wait_for(f"Orca to say {words!r}", said, 15))


def check(condition, message):
    if not condition:
        sys.exit("failed: " + message)
    print("ok:", message)


def answer_to(press_key, wanted, seconds=15):
    """Presses a key and waits for the first thing Orca says after it that matches the pattern
    `wanted`; its match."""
    start = len(said_so_far())
    key(press_key, 0.15)
    def probe():
        return next((m for line in said_so_far()[start:].splitlines()
                     if (m := re.fullmatch(wanted, line.strip().rstrip(".")))), None)
    found = wait_for(f"Orca to answer {press_key} with {wanted!r}", probe, seconds)
    return found


def finish_dice_by_ear():
    """Nets of Dice to 12 out of 12 by keys, from nothing but what Orca says: Tab to a tile in the
    tray, Space lifts it, Right carries it from box to box until Orca names an empty box whose
    opposite face and the tile's digit make 7, Space drops it there."""
    mark = len(said_so_far())
    heard("Keyboard: Tab to a number")  # the opening's last words
    opening = said_so_far()[mark:]
    opening = opening[opening.find("Nets of Dice panel"):opening.find("Keyboard: Tab to a number")].replace("\n", " ")
    nets = [opening.find(net) for net in ("top left net, faces 6, 2 and 3", "top middle net, faces 4, 1 and 2",
                                          "right net, faces 4, 5 and 6", "bottom middle net, faces 5, 1 and 3")]
    check(-1 not in nets and nets == sorted(nets), f"the opening reads the faces net by net: {opening}")
    passed_over = []  # boxes Orca said were taken, as a tile was carried over them
    for placed in range(12):
        for _ in range(40):
            focus = answer_to("Tab", r"(tile \d|Start Again|Check Score|Exit).*")
            if re.fullmatch(r"tile \d, in the tray push button", focus[0]):
                break
        digit = int(focus[0].split()[1].rstrip(","))
        answer_to("space", rf"notification {digit} picked up")
        for _ in range(13):
            box = answer_to("Right", r"notification (?:the tray|(.+ net, box \d), opposite the (\d), (empty|showing .*))")
            if box[1] is None:
                continue
            if box[3] != "empty":
                passed_over.append(box[0])
            elif 7 - int(box[2]) == digit:
                answer_to("space", rf"notification {digit} placed on {box[1]}(\. Check Score is now available)?")
                break
        else:
            sys.exit(f"no empty box for {digit} was heard")
    check(passed_over, f"a box taken is said so as a tile is carried over it: {passed_over[0]}")
    heard("Check Score is now available")
    for _ in range(40):
        if answer_to("Tab", r"(tile \d|Start Again|Check Score|Exit).*")[0].startswith("Check Score"):
            break
    key("space")
    heard("12 out of 12")
    print("ok: Nets of Dice finished by ear; what Orca said:")
    print("    " + "\n    ".join(said_so_far()[mark:].splitlines()))


def main():
    root = program_root()
    # Places are told in the screen's pixels: a click where the title's "OK" says it is presses it.
    click_where_told(find(root, "push button", "OK"))
    menu = find(root, "panel", "Vellacourt Numerists")
    e = menu.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    check((e.width, e.height) == (1440, 1080), f"the main menu is where it is drawn, 1440 x 1080: {e.width} x {e.height}")
    press(find(root, "push button", "Worksheet Catalogue"))
    press(find(root, "push button", "Next Page >>"))
    heard("Page 2: Worksheet 25, ")
    press(find(root, "push button", "Exit"))

    press(find(root, "push button", "Euclid"))
    press(find(root, "push button", "Multiple Choice"))

    # A press is answered at once, though the message box it opens waits for its "OK" (no printer
    # here); that "OK", Qt's own, is where it says it is too.
    started = time.time()
    press(find(root, "push button", "Print Worksheet"))
    took = time.time() - started
    check(took < 1, f"a press that opens a message box is answered in {took:.2f} s")
    click_where_told(find(root, "push button", "OK"))
    gone(root, "push button", "OK")
    for q in range(1, 11):
        find(root, "label", f"Question {q}")
        answers = [a for a in walk(root) if a.getRoleName() == "radio button"]
        check(len(answers) == 4 and all(a.name for a in answers), f"question {q} has four named answers")
        if q == 2:
            heard("Question 2. ")
        press(answers[0])
        wait_for(f"question {q} ticked", lambda: answers[0].getState().contains(pyatspi.STATE_CHECKED))
        press(find(root, "push button", "Next Question >>" if q < 10 else "Check Score >>"))
        time.sleep(0.5)  # at a pupil's pace, so that Orca says every question, not only the newest
    find(root, "push button", "Check Wrong Answers")
    check(len([n for n in named(root, "label") if "out of 10" in n]) == 1, "the score is read")
    said = named(root, "notification")
    check(len(said) == 1 and "out of 10" in said[0], f"the score is announced: {said}")
    heard("out of 10")
    press(find(root, "push button", "Exit"))

    press(find(root, "push button", "Nets of Dice"))
    finish_dice_by_ear()
    press(find(root, "push button", "Exit"))


if __name__ == "__main__":
    main()
