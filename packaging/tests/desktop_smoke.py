#!/usr/bin/env python3
"""The game on the desktops it meets: native Wayland under a headless weston,
and X11 at twice the pixel density. Both full screen, borderless and sharp.

usage: desktop_smoke.py PATH_TO_TUMBLARA
"""

import glob
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from screens import read_png, read_xwd  # noqa: E402

GAME = None
GREEN = (0, 255, 0)
BLACK = (0, 0, 0)
# At a screen 1024 logical pixels wide a cell is 21 pixels and the well's
# frame runs down x = 19.
CELLA = 21
FRAME_X = CELLA - 2
PATIENCE_S = 20  # generous: a busy machine must not fail these


def wait_for(condition, what):
    deadline = time.monotonic() + PATIENCE_S
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.3)
    raise AssertionError(f"timed out waiting for {what}")


class Program:
    def __init__(self, env, cwd):
        self.proc = subprocess.Popen([GAME], env=env, cwd=cwd, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.PIPE, text=True)

    def alive(self):
        return self.proc.poll() is None

    def stop(self):
        if self.alive():
            self.proc.terminate()
        try:
            return self.proc.communicate(timeout=10)[1]
        except subprocess.TimeoutExpired:
            self.proc.kill()
            return self.proc.communicate()[1]


class Weston:
    """A headless compositor with a software renderer, so screenshots hold pixels."""

    SOCKET = "tumblara-smoke"

    def __enter__(self):
        self.dir = tempfile.mkdtemp(prefix="tumblara-wl-")
        os.chmod(self.dir, 0o700)
        self.log = open(os.path.join(self.dir, "weston.log"), "w")
        base = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        base["XDG_RUNTIME_DIR"] = self.dir
        # --debug opens the screenshot interface.
        self.proc = subprocess.Popen(
            ["weston", "--backend=headless-backend.so", "--use-pixman", "--socket=" + self.SOCKET,
             "--width=1024", "--height=768", "--idle-time=0", "--debug"],
            env=base, stdout=self.log, stderr=subprocess.STDOUT)
        wait_for(lambda: os.path.exists(os.path.join(self.dir, self.SOCKET)), "weston's socket")
        self.env = dict(base, WAYLAND_DISPLAY=self.SOCKET, QT_QPA_PLATFORM="wayland")
        return self

    def screenshot(self):
        for old in glob.glob(os.path.join(self.dir, "wayland-screenshot*.png")):
            os.remove(old)
        subprocess.run(["weston-screenshooter"], env=self.env, cwd=self.dir, timeout=30,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        shots = glob.glob(os.path.join(self.dir, "wayland-screenshot*.png"))
        return read_png(shots[0]) if shots else None

    def __exit__(self, *exc):
        self.proc.terminate()
        self.proc.wait(10)
        self.log.close()
        shutil.rmtree(self.dir, ignore_errors=True)


class Xvfb:
    def __init__(self, width, height):
        self.size = f"{width}x{height}x24"

    def __enter__(self):
        self.dir = tempfile.mkdtemp(prefix="tumblara-x-")
        r, w = os.pipe()
        self.proc = subprocess.Popen(["Xvfb", "-displayfd", str(w), "-screen", "0", self.size,
                                      "-nolisten", "tcp"], pass_fds=(w,),
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(w)
        with os.fdopen(r) as f:
            display = ":" + f.readline().strip()
        self.env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb")
        self.env.pop("WAYLAND_DISPLAY", None)
        return self

    def screenshot(self):
        out = os.path.join(self.dir, "root.xwd")
        subprocess.run(["xwd", "-root", "-silent", "-out", out], env=self.env, check=True, timeout=30)
        return read_xwd(out)

    def __exit__(self, *exc):
        self.proc.terminate()
        self.proc.wait(10)
        shutil.rmtree(self.dir, ignore_errors=True)


def first_green(shot, y, scale=1, limit=200):
    return next((x for x in range(limit) if shot.rgb(x, y * scale) == GREEN), None)


class OnWayland(unittest.TestCase):
    def test_covers_the_whole_output_without_decoration(self):
        with Weston() as wl:
            game = Program(wl.env, wl.dir)
            try:
                shot = wait_for(lambda: (s := wl.screenshot()) and first_green(s, 256) is not None and s,
                                "the well's frame on the Wayland output")
                # Placed at the output's corner: the frame is where the layout puts it.
                self.assertEqual(first_green(shot, 256), FRAME_X)
                # Full screen hides the shell's panel along the top edge.
                for x in (100, 600, 700):
                    self.assertEqual(shot.rgb(x, 8), BLACK, f"panel or border at ({x}, 8)")
                time.sleep(2)
                self.assertTrue(game.alive(), "the game ended on its own")
            finally:
                errors = game.stop()
            self.assertNotIn("Could not load the Qt platform plugin", errors)


class AtTwiceThePixelDensity(unittest.TestCase):
    """A 2048x1536 screen scaled by two: 1024 logical pixels across, as on a
    high-density laptop panel."""

    SCALE = 2

    def setUp(self):
        self.x = Xvfb(1024 * self.SCALE, 768 * self.SCALE).__enter__()
        self.addCleanup(self.x.__exit__, None, None, None)
        env = dict(self.x.env, QT_SCALE_FACTOR=str(self.SCALE))
        self.game = Program(env, self.x.dir)
        self.addCleanup(self.game.stop)
        self.shot = wait_for(lambda: (s := self.x.screenshot()) and first_green(s, 256, self.SCALE) and s,
                             "the well's frame")

    def test_the_frame_is_two_device_pixels_of_pure_green(self):
        # A frame drawn at logical size and stretched would be blended with black.
        y = 256 * self.SCALE
        row = [self.shot.rgb(x, y) for x in range(FRAME_X * self.SCALE - 1, (FRAME_X + 1) * self.SCALE + 1)]
        self.assertEqual(row, [BLACK] + [GREEN] * self.SCALE + [BLACK])

    def test_block_pictures_use_every_device_pixel(self):
        s = self.SCALE
        subprocess.run(["xdotool", "mousemove", str(924 * s), str(17 * s)], env=self.x.env, check=True)
        time.sleep(0.2)
        subprocess.run(["xdotool", "click", "1"], env=self.x.env, check=True)

        side = CELLA * s

        def blocks(shot):
            """Brightness across the middle of each cell of the upper well that holds a block."""
            found = []
            for r in range(1, 12):  # above the level banner
                for c in range(1, 17):
                    y = r * side + side // 2
                    ramp = [max(shot.rgb(c * side + i, y)) for i in range(side)]
                    if max(ramp) >= 200:
                        found.append(ramp)
            return found

        ramps = wait_for(lambda: blocks(self.x.screenshot()), "the falling piece")
        for ramp in ramps:
            # Drawn at device resolution, the 32-column ramp keeps about one
            # level per device pixel; drawn at cell size and doubled, it has
            # at most one per logical pixel.
            self.assertGreater(len(set(ramp)), CELLA + 4, f"a block looks stretched: {ramp}")


if __name__ == "__main__":
    GAME = os.path.abspath(sys.argv[1])
    unittest.main(argv=sys.argv[:1], verbosity=2)
