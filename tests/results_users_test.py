#!/usr/bin/python3
"""Pupils' results between real accounts: two pupils and a teacher, accounts every Debian system has,
each running the real program through the launcher on one private X server (1920 x 1080, no scale
set by hand) in one working folder whose results folder is made as the README says (root's, the
teachers' group, mode 3753). Pupil A finishes a quiz and a board, pupil B a quiz; B cannot read,
list, append to, rename or remove A's file; the teacher's Pupils' Results shows all three with
their scores and today's date and exports them through the file dialog (a formula A planted comes
out inert); a folder anyone may list is said at start. (The printed table is read back from a
private spooler by test_printing.)

    results_users_test.py BUILD_DIR SOURCE_DIR     (as root; exit 77, skipped, otherwise)

The X server lets every account in (-ac), and so does the one private bus that serves as the
session's and the accessibility bus. Nothing of the machine is changed.
"""
import csv
import datetime
import glob
import grp
import hashlib
import os
import pwd
import re
import shutil
import subprocess
import sys
import tempfile
import time

from Xlib import X, XK
from Xlib.ext import xtest

from xharness import stop, wait_for, xvfb

PUPIL_A, PUPIL_B, TEACHER, TEACHERS = "daemon", "bin", "man", "staff"
TODAY = datetime.date.today()
UK_TODAY = f"{TODAY.day} {TODAY.strftime('%B %Y')}"  # "8 December 2026", as the program writes a day
QUIZ = "Euclid Quiz"  # a topic's quiz is its topic's name and "Quiz"
PLANTED = "=1+1"  # a work's name a spreadsheet would run as a formula
# What at-spi-bus-launcher answers on a session's bus, "where is the accessibility bus", here for one
# bus that serves as both (the launcher's own bus lets in only the account that started it).
BUS_NAMER = """
import sys
from gi.repository import Gio, GLib
address = sys.argv[1]
bus = Gio.DBusConnection.new_for_address_sync(address, Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
                                              | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
node = Gio.DBusNodeInfo.new_for_xml('<node><interface name="org.a11y.Bus"><method name="GetAddress">'
                                    '<arg type="s" direction="out"/></method></interface></node>')
bus.register_object("/org/a11y/bus", node.interfaces[0],
                    lambda *call: call[-1].return_value(GLib.Variant("(s)", (address,))), None, None)
Gio.bus_own_name_on_connection(bus, "org.a11y.Bus", 0, lambda *_: print("ready", flush=True), None)
GLib.MainLoop().run()
"""


def user(login, group=None):
    """setpriv's words for running as login, with its own group or the one named, and no other."""
    pw = pwd.getpwnam(login)
    gid = grp.getgrnam(group).gr_gid if group else pw.pw_gid
    return ["setpriv", f"--reuid={pw.pw_uid}", f"--regid={gid}", "--clear-groups"]


def fails(login, *command):
    return subprocess.run(user(login) + list(command), capture_output=True).returncode != 0


class Run:
    def __init__(self, tmp, build, source):
        self.tmp, self.build, self.source = tmp, build, source
        self.work, self.process = tmp + "/work", None

    def start(self, login, group=None):
        """The program as login starts it: the launcher, a home and runtime folder of login's own."""
        pw = pwd.getpwnam(login)
        home = f"{self.tmp}/home-{login}"
        for sub in ("", "/runtime", "/config", "/cache"):
            os.makedirs(home + sub, mode=0o700, exist_ok=True)
            os.chown(home + sub, pw.pw_uid, pw.pw_gid)
        env = {k: v for k, v in os.environ.items() if k in ("PATH", "LANG", "LC_ALL", "TZ", "DISPLAY")}
        env.update(HOME=home, XDG_RUNTIME_DIR=home + "/runtime", XDG_CONFIG_HOME=home + "/config",
                   XDG_CACHE_HOME=home + "/cache", DBUS_SESSION_BUS_ADDRESS=os.environ["DBUS_SESSION_BUS_ADDRESS"],
                   CUPS_SERVER="/nonexistent/results-users.sock", VELLACOURT_HOME=self.work, VELLACOURT_DATA=self.source + "/data",
                   VELLACOURT_PROGRAM=self.build + "/vellacourt", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        self.log = f"{self.tmp}/{login}.log"
        with open(self.log, "a") as log:
            self.process = subprocess.Popen(user(login, group) + ["sh", self.source + "/packaging/vellacourt-numerists"],
                                            env=env, stdout=log, stderr=subprocess.STDOUT, cwd="/")
        desktop = at.pyatspi.Registry.getDesktop(0)
        pid = self.process.pid  # setpriv, sh and the program are one process, each exec'ing the next
        self.root = at.wait_for(f"{login}'s program on the accessibility bus", lambda: next(
            (a for a in desktop if a is not None and a.name == "Vellacourt Numerists" and a.get_process_id() == pid), None), 30)
        at.find(self.root, "push button", "OK")  # the title's, with any message box said before it
        return self.root

    def said_at_start(self):
        return [n for n in at.named(self.root, "label") if "one another's results" in n]

    def end(self):
        stop(self.process)


def keys(text, *held):
    """Each letter of text typed through the X server, with the keys named in held (and Shift for
    capitals and the underscore) held down."""
    d, names = at.X_SERVER, {"/": "slash", ".": "period", "-": "minus", "_": "underscore"}
    for c in text:
        mods = [d.keysym_to_keycode(XK.string_to_keysym(k)) for k in held + ("Shift_L",) * (c.isupper() or c == "_")]
        code = d.keysym_to_keycode(XK.string_to_keysym(names.get(c, c)))
        for event, k in [(X.KeyPress, m) for m in mods] + [(X.KeyPress, code), (X.KeyRelease, code)] + \
                [(X.KeyRelease, m) for m in reversed(mods)]:
            xtest.fake_input(d, event, k)
        d.sync()
        time.sleep(0.03)


def scored(root, out_of):
    m = at.wait_for(f"a score out of {out_of}", lambda: next(
        (m for n in at.named(root, "label") if (m := re.search(rf"(\d+) out of {out_of}\b", n))), None))
    return f"{m[1]}/{out_of}"


def take_quiz(root):
    """Euclid's quiz, the first answer to every question, to its score screen and out by its Exit."""
    at.click_where_told(at.find(root, "push button", "Euclid"))
    at.click_where_told(at.find(root, "push button", "Multiple Choice"))
    for q in range(1, 11):
        at.find(root, "label", f"Question {q}")
        answer = next(a for a in at.walk(root) if a.getRoleName() == "radio button")
        at.click_where_told(answer)
        at.wait_for(f"question {q} answered", lambda: answer.getState().contains(at.pyatspi.STATE_CHECKED))
        at.click_where_told(at.find(root, "push button", "Next Question >>" if q < 10 else "Check Score >>"))
    score = scored(root, 10)
    at.click_where_told(at.find(root, "push button", "Exit"))
    at.find(root, "push button", "Nets of Dice")
    return score


def finish_board(root):
    """Nets of Dice, each tile tapped and then the first empty box, to its score screen and out."""
    at.click_where_told(at.find(root, "push button", "Nets of Dice"))
    at.find(root, "push button", starts="tile ")
    for k in range(12):
        boxes = lambda: [a for a in at.walk(root) if a.getRoleName() == "push button" and a.name.startswith("box: ")]
        tile = next(a for a in at.walk(root) if a.getRoleName() == "push button" and a.name.endswith(", in the tray"))
        at.click_where_told(tile)
        at.click_where_told(next(b for b in boxes() if b.name.endswith(", empty")))
        at.wait_for(f"tile {k + 1} placed", lambda: sum(b.name.endswith(", empty") for b in boxes()) == 11 - k)
    at.click_where_told(at.find(root, "push button", "Check Score"))
    score = scored(root, 12)
    at.click_where_told(at.find(root, "push button", "Exit"))  # the score screen's
    at.click_where_told(at.find(root, "push button", "Exit"))  # the board's
    at.find(root, "push button", "Multiple Choice")
    return score


def table_rows(root):
    table = at.find(root, "table", "Pupils' results").queryTable()
    cells = lambda: [[table.getAccessibleAt(r, c).name for c in range(table.nColumns)] for r in range(table.nRows)]
    return at.wait_for("the class table's rows", lambda: cells() if table.nRows else None)


def main():
    global at
    if os.geteuid() != 0 or not shutil.which("setpriv"):
        print("skipped: the pupils' and the teacher's accounts need root and setpriv")
        sys.exit(77)
    build, source = (os.path.abspath(p) for p in sys.argv[1:3])
    began, tmp = time.monotonic(), tempfile.mkdtemp(prefix="results-users-")
    os.chmod(tmp, 0o755)
    servers = []
    try:
        # The working folder as the launcher makes it, readable by all; its results folder as the README says.
        os.mkdir(tmp + "/work")
        subprocess.run([build + "/vellacourt-refresh", source + "/data", tmp + "/work"], check=True)
        subprocess.run(["chmod", "-R", "a+rX", tmp + "/work"], check=True)
        results = tmp + "/work/results"
        subprocess.run(["install", "-d", "-g", TEACHERS, "-m", "3753", results], check=True)

        # One bus every account may join, as the session's bus and the accessibility bus both, with a
        # stand-in for the service that names the accessibility bus on the session's.
        with open(tmp + "/bus.conf", "w") as f:
            f.write(f"<busconfig><type>session</type><listen>unix:path={tmp}/bus</listen><auth>EXTERNAL</auth>"
                    '<policy context="default"><allow user="*"/><allow send_destination="*" eavesdrop="true"/>'
                    '<allow eavesdrop="true"/><allow own="*"/></policy></busconfig>')
        bus = subprocess.Popen(["dbus-daemon", "--nofork", "--config-file", tmp + "/bus.conf", "--print-address=1"],
                               stdout=subprocess.PIPE, text=True)
        servers.append(bus)
        address = bus.stdout.readline().strip()
        os.chmod(tmp + "/bus", 0o777)
        os.environ.update(AT_SPI_BUS_ADDRESS=address, DBUS_SESSION_BUS_ADDRESS=address)
        servers.append(subprocess.Popen(["/usr/bin/python3", "-c", BUS_NAMER, address], stdout=subprocess.PIPE, text=True))
        if servers[-1].stdout.readline().strip() != "ready":
            sys.exit("failed: the accessibility bus could not be named")
        with xvfb("1920x1080", "-ac", "-noreset"):
            servers.append(subprocess.Popen(["/usr/libexec/at-spi2-registryd"]))
            time.sleep(0.5)
            import atspi_test as at  # opens the X server, so only once there is one
            walk(Run(tmp, build, source), results)
    except BaseException:
        for log in sorted(glob.glob(tmp + "/*.log")):
            print(f"--- {os.path.basename(log)}:\n" + open(log, errors="replace").read(), file=sys.stderr)
        raise
    finally:
        for p in servers:
            stop(p)
        shutil.rmtree(tmp, ignore_errors=True)
    print(f"ok: all in {time.monotonic() - began:.0f} s")


def walk(run, results):
    check = at.check
    a_file = f"{results}/{PUPIL_A}.csv"

    # (1) Pupil A: a quiz and a board.
    root = run.start(PUPIL_A)
    check(not run.said_at_start(), "the README's results folder is not warned about")
    at.click_where_told(at.find(root, "push button", "OK"))
    a_quiz = take_quiz(root)
    a_board = finish_board(root)
    run.end()
    # A adds a line of their own to their own file, as any pupil may.
    with open(a_file, encoding="utf-8") as f:
        login_line = f.read().splitlines()[-1].split(",")
    planted = ",".join([login_line[0], PUPIL_A, "", "Euclid", PLANTED, "1", "2"]) + "\r\n"
    check(subprocess.run(user(PUPIL_A) + ["sh", "-c", f"printf '%s' '{planted}' >> '{a_file}'"]).returncode == 0,
          "A may append to A's own results file")

    # (2) Pupil B: a quiz.
    root = run.start(PUPIL_B)
    at.click_where_told(at.find(root, "push button", "OK"))
    b_quiz = take_quiz(root)
    run.end()

    # (3) B and A's file: nothing B can do to it; its modes, owner and group.
    st = os.stat(a_file)
    check((oct(st.st_mode & 0o7777), pwd.getpwuid(st.st_uid).pw_name, grp.getgrgid(st.st_gid).gr_name)
          == ("0o640", PUPIL_A, TEACHERS), f"A's file is 0640, A's, in the teachers' group: {oct(st.st_mode)}")
    before = hashlib.sha256(open(a_file, "rb").read()).hexdigest()
    refused = {"read": fails(PUPIL_B, "cat", a_file), "list": fails(PUPIL_B, "ls", results),
               "append": fails(PUPIL_B, "sh", "-c", f"echo x >> '{a_file}'"),
               "rename": fails(PUPIL_B, "mv", a_file, f"{results}/{PUPIL_B}-taken.csv"),
               "remove": fails(PUPIL_B, "rm", "-f", a_file)}
    check(all(refused.values()) and hashlib.sha256(open(a_file, "rb").read()).hexdigest() == before,
          f"B may not read, list, append to, rename or remove A's file: {refused}")

    # (4) The teacher's table: A's two works and the planted line, B's quiz, each with today's date.
    root = run.start(TEACHER, TEACHERS)
    at.click_where_told(at.find(root, "push button", "OK"))
    at.click_where_told(at.find(root, "push button", "Pupils' Results"))
    rows = table_rows(root)
    want = [[PUPIL_A, "Euclid", QUIZ, "1", a_quiz, a_quiz, UK_TODAY], [PUPIL_A, "Euclid", "Nets of Dice", "1", a_board, a_board, UK_TODAY],
            [PUPIL_A, "Euclid", PLANTED, "1", "1/2", "1/2", UK_TODAY], [PUPIL_B, "Euclid", QUIZ, "1", b_quiz, b_quiz, UK_TODAY]]
    check(sorted(rows) == sorted(want), f"the class table shows both pupils' work with scores and today's date: {rows}")

    # (5) Export through the file dialog: a path typed, Enter.
    exported = run.tmp + "/export"
    os.mkdir(exported)
    os.chown(exported, pwd.getpwnam(TEACHER).pw_uid, -1)
    at.click_where_told(at.find(root, "push button", "Export"))
    at.click_where_told(at.find(root, "text", "File name:"))
    keys("a", "Control_L")
    keys(exported + "/class.csv")
    at.key("Return", 0.2)
    at.find(root, "label", starts="The results are saved in")
    at.click_where_told(at.find(root, "push button", "OK"))
    with open(exported + "/class.csv", encoding="utf-8", newline="") as f:
        table = list(csv.reader(f))
    inert = [[("'" if c == PLANTED else "") + c for c in r] for r in want]
    check(table[0] == ["Pupil", "Topic", "Work", "Tries", "Latest", "Best", "Last tried"] and sorted(table[1:]) == sorted(inert),
          f"the CSV holds the table, the planted formula made inert: {table}")

    run.end()

    # (7) A results folder anyone may list is said at start, in one line.
    os.chmod(results, 0o777)
    run.start(PUPIL_B)
    said = at.wait_for("the warning", lambda: run.said_at_start() or None)
    check(len(said) == 1 and "\n" not in said[0] and "anyone may list the folder" in said[0], f"the program warns: {said}")
    run.end()


if __name__ == "__main__":
    main()
