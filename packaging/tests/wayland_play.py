#!/usr/bin/env python3
"""A game played on native Wayland, under a headless sway, with a virtual
pointer and a virtual keyboard: the options window and the key-capture dialog
open where they belong although Wayland lets no client place a window, four
keys are bound through them, a piece falls and follows a new key, and "Esci"
ends the program with status 0.

usage: wayland_play.py PATH_TO_TUMBLARA PATH_TO_WLPOINTER
"""

import os
import pwd
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop_smoke import CELLA, FRAME_X, wait_for, first_green  # noqa: E402
from screens import read_png  # noqa: E402

GAME = WLPOINTER = None  # set from the command line
WIDTH, HEIGHT = 1024, 768
DARK_RED = (128, 0, 0)
BLACK = (0, 0, 0)
# At 1024 x 768: the menu labels' centres, the options window's three bands
# and the capture dialog under it.
NUOVA_PARTITA, ESCI, OPZIONI = (924, 10), (924, 130), (924, 190)
TASTI_PERSONALIZZATI = (899, 230)
OPTIONS = (774, 215, 250, 148)
CAPTURE = (774, 363, 250, 142)


class Sway:
    """sway refuses to run as root, so under root it runs as nobody; root
    reaches its socket all the same."""

    def __enter__(self):
        self.dir = tempfile.mkdtemp(prefix="tumblara-sway-")
        as_user = []
        if os.getuid() == 0:
            nobody = pwd.getpwnam("nobody")
            os.chown(self.dir, nobody.pw_uid, nobody.pw_gid)
            as_user = ["setpriv", f"--reuid={nobody.pw_uid}", f"--regid={nobody.pw_gid}", "--clear-groups"]
        os.chmod(self.dir, 0o700)
        config = os.path.join(self.dir, "config")
        with open(config, "w") as f:
            f.write(f"output HEADLESS-1 resolution {WIDTH}x{HEIGHT}\ndefault_border none\n")
        base = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        self.env = dict(base, HOME=self.dir, XDG_RUNTIME_DIR=self.dir, WLR_BACKENDS="headless",
                        WLR_RENDERER="pixman", WLR_LIBINPUT_NO_DEVICES="1")
        self.log = open(os.path.join(self.dir, "sway.log"), "w")
        self.proc = subprocess.Popen(as_user + ["sway", "-c", config], env=self.env,
                                     stdout=self.log, stderr=subprocess.STDOUT)
        socket = wait_for(lambda: next((n for n in os.listdir(self.dir)
                                        if n.startswith("wayland-") and not n.endswith(".lock")), None),
                          "sway's socket")
        self.env.update(WAYLAND_DISPLAY=socket, QT_QPA_PLATFORM="wayland")
        self.keyboard = None
        self.plug_keyboard()
        return self

    def plug_keyboard(self):
        """A virtual keyboard held for as long as the test runs: the seat then
        has a keyboard all along, so no key is lost while a client binds a
        new one. Plugged again, it leaves the game and comes back, as when
        the player switches away and back."""
        if self.keyboard:
            self.keyboard.kill()
            self.keyboard.wait()
            time.sleep(1)
        self.keyboard = subprocess.Popen(["wtype", "-s", "3600000"], env=self.env)
        time.sleep(1)

    def run(self, *args):
        subprocess.run(list(args), env=self.env, cwd=self.dir, check=True, timeout=30,
                       stdout=subprocess.DEVNULL)

    def click(self, at):
        self.run(WLPOINTER, str(WIDTH), str(HEIGHT), "move", str(at[0]), str(at[1]), "wait", "100", "click")

    def key(self, name):
        self.run("wtype", "-k", name)

    def screenshot(self):
        self.run("grim", "shot.png")
        return read_png(os.path.join(self.dir, "shot.png"))

    def __exit__(self, *exc):
        self.keyboard.kill()
        self.keyboard.wait()
        self.proc.terminate()
        self.proc.wait(10)
        self.log.close()
        shutil.rmtree(self.dir, ignore_errors=True)


def filled(shot, rect, colour):
    """The rectangle's edges, a pixel inside, are all of the colour, and just
    outside its left and bottom edges they are not."""
    x, y, w, h = rect
    inside = [(x + 1, y + 1), (x + w - 2, y + 1), (x + 1, y + h - 2), (x + w - 2, y + h - 2)]
    outside = [(x - 2, y + h // 2), (x + w // 2, y + h + 1)]
    return all(shot.rgb(*p) == colour for p in inside) and all(shot.rgb(*p) != colour for p in outside)


def piece(shot):
    """The bright cells of the falling piece in the upper half of the well, as
    (column, row) pairs, from the middle of each cell."""
    return sorted((c, r) for r in range(1, 12) for c in range(1, 17)
                  if max(shot.rgb(c * CELLA + CELLA // 2, r * CELLA + CELLA // 2)) >= 200)


class OnWayland(unittest.TestCase):
    def test_options_and_capture_dialogs_open_where_they_belong_and_the_game_plays(self):
        with Sway() as wl:
            game = subprocess.Popen([GAME], env=wl.env, cwd=wl.dir,
                                    stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
            try:
                wait_for(lambda: first_green(wl.screenshot(), 256) == FRAME_X, "the well's frame")

                wl.click(OPZIONI)
                wait_for(lambda: filled(wl.screenshot(), OPTIONS, DARK_RED),
                         "the options window under \"Opzioni\" at the screen's right edge")
                wl.click(TASTI_PERSONALIZZATI)
                wait_for(lambda: filled(wl.screenshot(), CAPTURE, DARK_RED),
                         "the capture dialog under the options window")
                # Each key goes to the dialog open at the moment; after the
                # fourth both are gone. The keyboard leaving and coming back
                # meanwhile must not stop the questions.
                for key in ("d", "a", "s", "w"):
                    if key == "s":
                        wl.plug_keyboard()
                    before = wl.screenshot()
                    wl.key(key)
                    if key != "w":
                        wait_for(lambda: (s := wl.screenshot()) and filled(s, CAPTURE, DARK_RED) and any(
                            s.rgb(x, y) != before.rgb(x, y) for x in range(780, 1020, 2) for y in (400, 410, 460, 470)),
                            f"the next question after {key}")
                wait_for(lambda: (s := wl.screenshot()) and s.rgb(OPTIONS[0] + 1, OPTIONS[1] + 40) == BLACK
                         and s.rgb(CAPTURE[0] + 1, CAPTURE[1] + 40) == BLACK, "the dialogs to close")

                wl.click(NUOVA_PARTITA)
                first = wait_for(lambda: piece(wl.screenshot()), "a piece in the well")
                # It stands still while the level banner shows, then falls.
                start = wait_for(lambda: (p := piece(wl.screenshot())) and max(r for _, r in p) > max(
                    r for _, r in first) and p, "the piece to fall")
                moved, tried = None, []
                for _ in range(3):  # gravity may land a step between two shots
                    # "d" now shifts right and "a" left; at the right wall only left can act.
                    key, step = ("d", 1) if max(c for c, _ in start) < 16 else ("a", -1)
                    wl.key(key)
                    after = wait_for(lambda: piece(wl.screenshot()), "the piece")
                    tried.append((key, start, after))
                    if min(c for c, _ in after) == min(c for c, _ in start) + step:
                        moved = after
                        break
                    start = after
                self.assertIsNotNone(moved, f"the new keys did not shift the piece: {tried}")

                wl.click(ESCI)
                game.wait(20)
            finally:
                if game.poll() is None:
                    game.kill()
                errors = game.communicate()[1]
            self.assertEqual(game.returncode, 0, errors[-3000:])


if __name__ == "__main__":
    GAME, WLPOINTER = (os.path.abspath(a) for a in sys.argv[1:3])
    unittest.main(argv=sys.argv[:1], verbosity=2)
