#!/usr/bin/python3
"""What the tests on private X servers share: the server, processes started and stopped, waiting,
clicks and keys through XTEST, and the screen's pixels read back.

    xharness.py WIDTHxHEIGHT COMMAND...   runs COMMAND on a private X server of that size
"""
import contextlib
import os
import subprocess
import sys
import tempfile
import time

import numpy as np
from Xlib import X, XK, display
from Xlib.ext import xtest


class Failure(Exception):
    pass


def alive(pid):
    """The process is there and has not ended (an ended child stays a zombie until waited for)."""
    try:
        with open(f"/proc/{pid}/stat") as f:
            return f.read().rsplit(")", 1)[1].split()[0] != "Z"
    except OSError:
        return False


def stop(process, seconds=5):
    """TERM, then KILL if it lingers."""
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(seconds)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def wait_for(what, probe, seconds=10, pid=None):
    """Polls until probe() gives something, which it returns; the process pid, if given, still running."""
    deadline = time.monotonic() + seconds
    while True:
        if pid and not alive(pid):
            raise Failure(f"the program ended while waiting for {what}")
        found = probe()
        if found:
            return found
        if time.monotonic() > deadline:
            raise Failure(f"{what} did not come within {seconds:.0f} s")
        time.sleep(0.05)


@contextlib.contextmanager
def xvfb(size, *options):
    """A private X server; the server picks a free display itself (-displayfd), so servers started
    at once by other tests never collide. DISPLAY names it while it runs."""
    read, write = os.pipe()
    log = tempfile.TemporaryFile()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", f"{size}x24", "-nolisten", "tcp",
                               *options], pass_fds=(write,), stdout=log, stderr=log)
    os.close(write)
    with os.fdopen(read) as f:
        number = f.readline().strip()  # empty when the server ends without starting
    try:
        if not number:
            log.seek(0)
            raise Failure(f"Xvfb did not start at {size}: {log.read().decode(errors='replace')}")
        os.environ["DISPLAY"] = ":" + number
        yield server
    finally:
        stop(server)


class Screen:
    """The X server's screen: its pixels, and a user's pointer and keys."""

    def __init__(self):
        self.d = display.Display()
        self.root = self.d.screen().root
        if not self.d.has_extension("XTEST"):
            raise Failure("the X server has no XTEST")
        g = self.root.get_geometry()
        self.size = (g.width, g.height)
        self.last_press = 0.0

    def grab(self, box=None):
        """The screen's pixels (x0, y0, x1, y1), as rows of RGB."""
        x0, y0, x1, y1 = box or (0, 0, *self.size)
        # In strips of about a megabyte: python-xlib gathers a reply by joining its pieces, which
        # takes seconds for a whole 3840 x 2160 screen and a tenth of that in strips.
        rows = max(1, (1 << 20) // (4 * (x1 - x0)))
        strips = [self.root.get_image(x0, y, x1 - x0, min(rows, y1 - y), X.ZPixmap, 0xFFFFFFFF).data
                  for y in range(y0, y1, rows)]
        return np.frombuffer(b"".join(strips), np.uint8).reshape(y1 - y0, x1 - x0, 4)[:, :, 2::-1]

    def click(self, point):
        # Two presses within Qt's double-click time would make the second a double click.
        time.sleep(max(0.0, self.last_press + 0.5 - time.time()))
        xtest.fake_input(self.d, X.MotionNotify, x=point[0], y=point[1])
        self.d.sync()
        time.sleep(0.1)
        xtest.fake_input(self.d, X.ButtonPress, 1)
        xtest.fake_input(self.d, X.ButtonRelease, 1)
        self.d.sync()
        self.last_press = time.time()

    def key(self, name, *modifiers):
        codes = [self.d.keysym_to_keycode(XK.string_to_keysym(n)) for n in (*modifiers, name)]
        for c in codes:
            xtest.fake_input(self.d, X.KeyPress, c)
        for c in reversed(codes):
            xtest.fake_input(self.d, X.KeyRelease, c)
        self.d.sync()
        time.sleep(0.05)


if __name__ == "__main__":
    with xvfb(sys.argv[1]):
        sys.exit(subprocess.run(sys.argv[2:]).returncode)
