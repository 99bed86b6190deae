# The whole game in the real program on a private X server, played as a
# player plays it and judged from the screen alone.
#
#   game.py TUMBLARA
#       The menu lights under the pointer, one label at a time. A held arrow
#       moves the piece once; with repetition switched on in the options window
#       (which leaves the game running and the menu without clicks) it runs into
#       the wall. "Esci" ends the program with status 0.
#   game.py TUMBLARA wayland
#       on native Wayland under a headless sway, driven through the
#       compositor's own seat commands and wtype: D A S W, bound through the
#       options window and the capture dialog, move and turn the piece.
#       Both dialogs open inside the main window, where they are looked for
#       (Wayland lets no client place a window). After the whole
#       game no OpenGL driver is in the program's memory: it paints in software.
import re, sys, time  # noqa: E401

from desktop import CAPTURE, CELLA, DARK_RED, OPTIONS, X11, YELLOW, Sway, wait_for
left, right, top = (lambda p: min(c for c, _ in p)), (lambda p: max(c for c, _ in p)), (lambda p: min(r for _, r in p))
shape = lambda p: sorted((c - left(p), r - top(p)) for c, r in p)  # noqa: E731
turned = lambda p, q: shape(q) != shape(p) or shape(p) == [(0, 0), (0, 1), (1, 0), (1, 1)]  # noqa: E731


def moved(step):  # unless a wall stops it
    return lambda p, q: left(q) == (left(p) + step if left(p) + step >= 1 and right(p) + step <= 16 else left(p))


class Player:
    def __init__(self, x, game):
        self.x, self.game, self.settled, self.landings = x, game, "." * 496, 0

    # The falling piece as (column, row) blocks. Settled blocks stay below row
    # 12 here: when rows 1..12 hold four blocks they are the piece and the rows
    # under them what has settled, and a change there counts a landing.
    def look(self):
        now = self.x.shot().well(CELLA)
        old = "." * 192 + now[192:] if now[:192].count("#") == 4 else self.settled
        self.landings += old != self.settled
        self.settled = old
        return [(i % 16 + 1, i // 16 + 1) for i in range(496) if now[i] == "#" and old[i] == "."]

    def piece(self):  # tries for 3 s: a shot may catch a repaint half done
        return wait_for(lambda: len(p := self.look()) == 4 and p, "a falling piece of four blocks", 3)

    # Taps the key, or holds it long past the X server's repeat delay; then the
    # piece must soon answer `want` (before, after). A piece that lands
    # meanwhile proves nothing: the next one is tried, twice at most.
    def acts(self, key, want, hold=0):
        for _ in range(3):
            p, since = self.piece(), self.landings
            self.x.key(key, how="keydown" if hold else "key")
            if hold:
                time.sleep(hold)
                self.x.key(key, how="keyup")
            end = time.monotonic() + 2
            while not (ok := want(p, q := self.piece())) and self.landings == since and time.monotonic() < end:
                time.sleep(0.05)
            if self.landings == since:
                break
        assert self.landings == since, f"a landing while {key} was tried"
        assert ok, f"{key} took the piece {p} to {q}"

    def bind(self, keys):  # each capture dialog asks with its own yellow text: a new one has taken the last key
        self.x.options()
        self.x.option(0)
        asked = 0
        for key in keys:
            shot = wait_for(lambda: (s := self.x.shot()) and s.count(*CAPTURE, DARK_RED) > 20000
                            and s.count(*CAPTURE, YELLOW) != asked and s, f"a capture dialog for {key}", 10)
            asked = shot.count(*CAPTURE, YELLOW)
            self.x.key(key)
        wait_for(lambda: self.x.shot().count(*OPTIONS, DARK_RED) == 0, "the options window to close after the keys")

    def steer(self, keys):  # right, left, drop, turn: a drop is told from gravity only by the clock, so not here
        for key, want in zip(keys[:2] + keys[3:], (moved(1), moved(-1), turned)):
            self.acts(key, want)


def play(x, p, running):  # `running`: whether the program still runs
    step = 1 if right(p.piece()) < 16 else -1  # without repetition a held key moves the piece once
    p.acts("Right" if step > 0 else "Left", lambda p, q: left(q) == left(p) + step, 1.5)

    x.options()  # the game runs on, and the menu takes no click: "Esci" there ends nothing
    q, since = p.piece(), p.landings
    x.click(924, 137)
    wait_for(lambda: top(p.piece()) > top(q) or p.landings > since, "the piece to fall while the options are open")
    x.option(1)  # "Tasti a ripetizione"
    wait_for(lambda: x.shot().count(*OPTIONS, DARK_RED) == 0, "the options window to close")
    assert running(), "\"Esci\" ended the program through the options window"
    key = "Left" if left(p.piece()) >= 3 else "Right"  # with repetition into the wall
    p.acts(key, lambda p, q: left(q) == 1 if key == "Left" else right(q) == 16, 2)


def main(program, where="x11"):
    with Sway() if where == "wayland" else X11() as x:
        if where == "wayland":  # a keyboard held all along: no key is lost while the game binds a new one
            x.start("/usr/bin/wtype", "-s", "3600000")
        p = Player(x, x.game(program))
        x.new_game()
        if where == "wayland":
            p.bind(("d", "a", "s", "w"))
            p.steer(("d", "a", "s", "w"))
            # Mesa's drivers, its EGL and the LLVM they load, as mapped in the program's memory
            mapped = {line.split()[-1] for line in open(f"/proc/{p.game.pid}/maps") if "/" in line}
            loaded = sorted(m for m in mapped if re.search(r"_dri\.so|/libEGL_mesa\.|/libLLVM", m))
            assert not loaded, f"OpenGL drivers in the program's memory: {loaded}"
        else:
            play(x, p, lambda: p.game.poll() is None)
        x.menu(2)
        assert p.game.wait(10) == 0, "status after \"Esci\""
    print("PASS")


if __name__ == "__main__":
    main(*sys.argv[1:])
