#!/usr/bin/python3
"""The program by keys alone, heard through Orca: Key Facts opened from the title screen, its flat
review holding nothing of the screens beneath, a page turned and read line by line with the arrow keys
(the two worked examples set side by side heard one after the other, not across); the quiz's answers
heard as a group ("1 of 4") and answered by arrows; the wizard heard as it opens.

Started by atspi_test.sh inside a private session bus and X server, with the program and Orca running.
"""
import time

import pyatspi

from atspi_test import check, find, focused, heard, key, program_root, said_so_far, wait_for


def tab_to(root, name):
    for _ in range(12):
        if (f := focused(root)) is not None and f.name == name:
            return f
        key("Tab")
    check(False, f"Tab reaches {name!r}")


def words(text):
    return " ".join(text.split())


def main():
    root = program_root()
    find(root, "push button", "OK")
    key("Return")
    tab_to(root, "Euclid")
    heard("Euclid")
    key("Return")
    tab_to(root, "Key Facts")
    key("Return")
    page = wait_for("the page with the keyboard", lambda: (f := focused(root)) is not None and f.getRoleName() == "label" and f)
    heard(page.name)

    # Orca's flat review of the window, from its top line to its foot: Key Facts alone, nothing of the
    # main menu or the topic screen beneath it.
    time.sleep(1)
    mark = len(said_so_far())
    key("KP_Subtract")
    for _ in range(30):
        key("KP_Home", 0.1)  # keypad 7: the line above
    for _ in range(45):
        key("KP_Prior", 0.1)  # keypad 9: the line below
    key("KP_Subtract")
    time.sleep(1)
    reviewed = said_so_far()[mark:]
    check("Who was Euclid?" in reviewed and "Next Page" in reviewed, "flat review reads the page and its buttons")
    beneath = [w for w in ("Pythagoras", "Fibonacci", "Teacher's Notes", "Multiple Choice", "Products of Primes",
                           "Worksheet Catalogue", "Acknowledgments") if w in reviewed]
    check(not beneath, f"flat review reads nothing from the screens beneath: {beneath}")
    tab_to(root, "Next Page")
    mark = len(said_so_far())
    key("Return")
    heard("Page 2 of 3")
    page = wait_for("page 2 with the keyboard",
                    lambda: (f := focused(root)) is not None and f.name.startswith("Primes and Euclid") and f)
    time.sleep(1)
    print("turned:", said_so_far()[mark:].replace("\n", " / "))
    e = page.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    check(0 <= e.y and e.y + e.height <= 1080, f"the page is told where it shows: {e.x}, {e.y}, {e.width} x {e.height}")

    # Down, line after line to the foot of the page: each line heard, in the page's order.
    lines = [words(l) for l in page.queryText().getText(0, -1).split("\n")]
    mark = len(said_so_far())
    for _ in lines[1:]:
        key("Down", 0.4)
    time.sleep(1)
    spoken = [words(l) for l in said_so_far()[mark:].splitlines()]
    print("read by Down:\n  " + "\n  ".join(spoken))
    at = 0
    for line in lines[1:]:
        found = next((k for k in range(at, len(spoken)) if spoken[k] == line), None)
        check(found is not None, f"heard next: {line!r}")
        at = found + 1

    # Up, then End, Left, Home and the page's end and start: each says the line or letter reached.
    for k, what in (("Up", lines[-2]), ("End", None), ("Left", "char 0"), ("Home", "char 3"),
                    ("ctrl End", lines[-1]), ("ctrl Home", lines[0])):
        mark = len(said_so_far())
        key(k.split()[-1], held="Control_L" if k.startswith("ctrl ") else None)
        time.sleep(0.5)
        said = said_so_far()[mark:].strip()
        check(said and (what is None or what in [words(l) for l in said.splitlines()]), f"{k} says {said!r}")

    # The quiz: its answers one group, named by the question, each said with its place; the arrows
    # tick; after "Next Question" the keyboard is on the next question's first answer.
    key("Escape")
    tab_to(root, "Multiple Choice")
    mark = len(said_so_far())
    key("Return")
    heard("Question 1. Which famous book on geometry did Euclid write? panel", mark)
    heard("1 of 4", mark)
    mark = len(said_so_far())
    key("Down")
    heard("The Elements", mark)
    heard("selected radio button", mark)
    heard("2 of 4", mark)
    tab_to(root, "Next Question >>")
    mark = len(said_so_far())
    key("Return")
    heard("Question 2.", mark)
    heard("1 of 4", mark)
    check(focused(root).getRoleName() == "radio button", "the keyboard is on the first answer")
    check(said_so_far()[mark:].count("Question 2.") == 1, "the question is said once")

    # The wizard, opened by keys, says itself and the box the keyboard is in.
    key("Escape")
    key("Escape")
    tab_to(root, "Multiple Choice Wizard")
    mark = len(said_so_far())
    key("Return")
    heard("Multiple Choice Wizard panel", mark)
    heard("Worksheet Title text", mark)

if __name__ == "__main__":
    main()
