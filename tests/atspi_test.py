#!/usr/bin/python3
"""Takes Euclid's quiz and places a tile through AT-SPI alone, as a screen reader's user would.

Started by atspi_test.sh inside a private session bus and X server; the program is already running.
Every step finds a control by its role and name among what is showing, and uses its action.
"""
import sys
import time

import pyatspi

STEP_SECONDS = 10


def showing(acc):
    try:
        return acc.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:
        return False


def walk(acc):
    """Every object showing under acc, depth first."""
    for i in range(acc.childCount):
        child = acc.getChildAtIndex(i)
        if child is None or not showing(child):
            continue
        yield child
        yield from walk(child)


def app():
    deadline = time.time() + 30
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            a = desktop.getChildAtIndex(i)
            if a is not None and a.name == "Vellacourt Numerists":
                return a
        time.sleep(0.2)
    desktop = pyatspi.Registry.getDesktop(0)
    seen = [desktop.getChildAtIndex(i).name for i in range(desktop.childCount) if desktop.getChildAtIndex(i)]
    sys.exit(f"the program never appeared on the accessibility bus; there are: {seen}")


def find(root, role, name=None, starts=None, wait=STEP_SECONDS):
    """The showing object of `role` named `name` (or whose name starts with `starts`), waiting for it."""
    deadline = time.time() + wait
    while True:
        for acc in walk(root):
            if acc.getRoleName() != role:
                continue
            if (name is not None and acc.name == name) or (starts is not None and acc.name.startswith(starts)):
                return acc
        if time.time() > deadline:
            seen = sorted({(a.getRoleName(), a.name) for a in walk(root)})
            sys.exit(f"no {role} named {name or starts!r}; showing: {seen}")
        time.sleep(0.1)


def press(acc):
    action = acc.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    for wanted in ("Press", "press", "Toggle", "toggle", "click"):
        if wanted in names:
            action.doAction(names.index(wanted))
            return
    sys.exit(f"{acc.getRoleName()} {acc.name!r} has no press action: {names}")


def check(condition, message):
    if not condition:
        sys.exit(message)
    print("ok:", message)


def main():
    root = app()
    press(find(root, "push button", "OK"))

    # The main menu: named push buttons, the greyed mathematicians unavailable.
    find(root, "push button", "Euclid")
    names = {a.name for a in walk(root) if a.getRoleName() == "push button"}
    check({"Euclid", "Teachers' Guide", "Multiple Choice Wizard", "Worksheet Catalogue", "Exit"} <= names,
          "the main menu's entries are push buttons with their captions")
    pythagoras = find(root, "push button", "Pythagoras")
    check(not pythagoras.getState().contains(pyatspi.STATE_ENABLED), "a greyed entry is unavailable")
    check(any(a.getRoleName() == "image" and a.name.startswith("Euclid") for a in walk(root)), "Euclid's picture is named")

    press(find(root, "push button", "Euclid"))
    press(find(root, "push button", "Multiple Choice"))

    # The whole quiz: each question read, an answer ticked, on to the next.
    for q in range(1, 11):
        find(root, "label", f"Question {q}")
        answers = [a for a in walk(root) if a.getRoleName() == "radio button"]
        check(len(answers) == 4 and all(a.name for a in answers), f"question {q} has four named answers")
        press(answers[0])
        deadline = time.time() + STEP_SECONDS
        while not answers[0].getState().contains(pyatspi.STATE_CHECKED) and time.time() < deadline:
            time.sleep(0.05)
        check(answers[0].getState().contains(pyatspi.STATE_CHECKED), f"question {q}: the first answer is ticked")
        press(find(root, "push button", "Next Question >>" if q < 10 else "Check Score >>"))
    find(root, "push button", "Check Wrong Answers")  # the score screen is up
    sentence = [a.name for a in walk(root) if a.getRoleName() == "label" and "out of 10" in a.name]
    check(len(sentence) == 1, f"the score is read: {sentence}")
    said = [a.name for a in walk(root) if a.getRoleName() == "notification"]
    check(len(said) == 1 and "out of 10" in said[0], f"the score is announced: {said}")
    press(find(root, "push button", "Exit"))

    # One tile of Nets of Dice, picked up and put on a box by their actions.
    press(find(root, "push button", "Nets of Dice"))
    tile = find(root, "push button", starts="tile ")
    digit = tile.name.split()[1].rstrip(",")
    target = find(root, "push button", "box: net A, box 1, empty")
    press(tile)
    press(target)
    deadline = time.time() + STEP_SECONDS
    while target.name != f"box: net A, box 1, showing {digit}" and time.time() < deadline:
        time.sleep(0.05)
    check(target.name == f"box: net A, box 1, showing {digit}", f"tile {digit} stands on net A, box 1")
    notice = [a.name for a in walk(root) if a.getRoleName() == "notification"]
    check(notice == [f"{digit} placed on net A, box 1"], f"the placing is announced: {notice}")


if __name__ == "__main__":
    main()
