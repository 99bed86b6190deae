# The whole game in the real program on a private X server, played as a
# player plays it and judged from the screen alone.
#
#   game.py TUMBLARA
#       The program idles at next to no processor cost before the first game;
#       the menu lights under the pointer, one label at a time. The arrows move
#       the piece, the space bar turns it, Down drops it. A held key moves it once;
#       with repetition switched on in the options window (which leaves the
#       game running) it runs into the wall. D A S W bound through the capture
#       dialog steer while the old keys do nothing; "Info" shows and hides its
#       text; "Esci" ends the program with status 0.
#   game.py TUMBLARA it|de
#       under that keyboard layout four of its own keys (dead keys on de),
#       bound through the options window, steer the piece.
#   game.py TUMBLARA wayland
#       the same with D A S W on native Wayland under a headless sway, driven
#       through the compositor's own seat commands and wtype: the options window
#       and the capture dialog open inside the main window, where they are
#       looked for (Wayland lets no client place a window). After the whole
#       game no OpenGL driver is in the program's memory: it paints in software.
import contextlib, os, re, sys, time  # noqa: E401

from desktop import X11, Sway, wait_for

CELLA, BANNER, INFO = 21, (126, 315, 240, 50), (662, 168, 177, 81)
OPTIONS, CAPTURE = (774, 215, 250, 148), (774, 363, 250, 142)
YELLOW, DARK_RED, WHITE, GREY = 0xFFFF00, 0x800000, 0xFFFFFF, 0xE0E0E0
KEYS = {"us": ("d", "a", "s", "w"), "it": ("egrave", "ograve", "agrave", "ugrave"),  # right, left, drop, turn
        "de": ("udiaeresis", "odiaeresis", "dead_circumflex", "dead_acute")}
KEYS["wayland"] = KEYS["us"]
left, right, top = (lambda p: min(c for c, _ in p)), (lambda p: max(c for c, _ in p)), (lambda p: min(r for _, r in p))
shape = lambda p: sorted((c - left(p), r - top(p)) for c, r in p)  # noqa: E731
turned = lambda p, q, t: shape(q) != shape(p) or shape(p) == [(0, 0), (0, 1), (1, 0), (1, 1)]  # noqa: E731
kept = lambda p, q, t: shape(q) == shape(p) and left(q) == left(p) and top(q) - top(p) <= t / 0.2 + 1  # noqa: E731


def moved(step):  # unless a wall stops it
    return lambda p, q, t: left(q) == (left(p) + step if left(p) + step >= 1 and right(p) + step <= 16 else left(p))


label = lambda i: (824, 60 * i, 200, 35)  # noqa: E731


class Player:
    def __init__(self, x, game):
        self.x, self.game, self.settled, self.landings = x, game, "." * 496, 0

    def count(self, rect, colour):
        return self.x.shot().count(*rect, colour)

    # The falling piece as (column, row) blocks. Settled blocks stay below row
    # 12 here: when rows 1..12 hold four blocks they are the piece and the rows
    # under them what has settled, and a change there counts a landing.
    def look(self):
        now = self.x.shot().well(CELLA)
        old = "." * 192 + now[192:] if now[:192].count("#") == 4 else self.settled
        self.landings += old != self.settled
        self.settled = old
        return [(i % 16 + 1, i // 16 + 1) for i in range(496) if now[i] == "#" and old[i] == "."]

    def piece(self):  # tries for 3 s: a shot may catch a repaint half done, or the banner over the piece
        return wait_for(lambda: len(p := self.look()) == 4 and p, "a falling piece of four blocks", 3)

    def check(self, test, *args):  # a piece that lands meanwhile proves nothing: the next one is tried
        for _ in range(2):
            since = self.landings
            try:
                return test(*args)
            except AssertionError:
                if self.landings == since:
                    raise
        return test(*args)

    # Taps or holds the key (held long past the X server's repeat delay); then
    # the piece must soon answer `want` (before, after, seconds since).
    def acts(self, key, want, hold=0):
        p, t, since = self.piece(), time.monotonic(), self.landings
        self.x.key(key, how="keydown" if hold else "key")
        time.sleep(hold or 0.5)
        if hold:
            self.x.key(key, how="keyup")
        end = time.monotonic() + 2
        while not (ok := want(p, q := self.piece(), time.monotonic() - t)) and self.landings == since \
                and time.monotonic() < end:
            time.sleep(0.05)
        assert ok and self.landings == since, f"{key} took the piece {p} to {q}"

    def drops(self, key):
        p, start, since = self.piece(), time.monotonic(), self.landings
        if (rows := 31 - max(r for _, r in p)) >= 10:
            self.x.key(key)
        wait_for(lambda: self.look() is not None and self.landings > since, f"a landing after {key}", 15)
        assert rows >= 10, "the piece was too near the bottom"
        assert time.monotonic() - start <= rows * 0.15, f"{key} took over 150 ms a row: no fast fall"

    def bind(self, keys):  # paused meanwhile; each capture dialog asks with its own yellow text
        self.pause(True)
        self.x.menu(3)
        wait_for(lambda: self.count(OPTIONS, DARK_RED) > 20000, "the options window under \"Opzioni\"")
        self.x.option(0)
        asked = 0
        for key in keys:
            shot = wait_for(lambda: (s := self.x.shot()) and s.count(*CAPTURE, DARK_RED) > 20000
                            and s.count(*CAPTURE, YELLOW) != asked and s, f"a capture dialog for {key}", 10)
            asked = shot.count(*CAPTURE, YELLOW)
            for _ in range(3):  # on a busy machine a key may come before the dialog takes it: sent again
                self.x.key(key)
                with contextlib.suppress(AssertionError):
                    wait_for(lambda: self.count(CAPTURE, YELLOW) != asked, f"the capture dialog to take {key}", 3)
                    break
        wait_for(lambda: self.count(OPTIONS, DARK_RED) == 0, "the options window to close after the fourth key")
        self.pause(False)

    def steer(self, keys):  # right, left, drop, turn
        for key, want in zip(keys, (moved(1), moved(-1), None, turned)):
            self.check(*((self.drops, key) if want is None else (self.acts, key, want)))

    def start(self):  # the menu lit under the pointer; then a new game past its banner
        lit = lambda i: self.count(label(i), DARK_RED) > 3000  # noqa: E731
        assert not any(lit(i) for i in range(5)), "a menu label lit at the start"
        for at, i, on in ((17, 0, True), (None, 0, False), (77, 1, True)):
            self.x.move(*((924, at) if at else (600, 600)))
            wait_for(lambda: lit(i) == on, f"menu label {i} {'lit' if on else 'out'} under the pointer", 5)
        self.pausa = self.count(label(1), WHITE)  # "Pausa" lit, as after a click
        self.x.menu(0)
        time.sleep(2.5)

    def pause(self, paused):  # "Continua" is longer than "Pausa"
        self.x.menu(1)
        wait_for(lambda: (self.count(label(1), WHITE) > self.pausa + 10) == paused, "\"Pausa\"/\"Continua\"")


def play(x, p):
    cpu = lambda: sum(map(int, open(f"/proc/{p.game.pid}/stat").read().rsplit(")", 1)[1].split()[11:13]))  # noqa
    time.sleep(0.5)
    cpu0, t0 = cpu(), time.monotonic()
    time.sleep(2.5)
    used = (cpu() - cpu0) / os.sysconf("SC_CLK_TCK") / (time.monotonic() - t0)
    assert used <= 0.1, "more than 10% of a core while waiting for the first game"
    p.start()
    p.steer(("Right", "Left", "Down", "space"))
    step = 1 if right(p.piece()) < 16 else -1  # without repetition a held key moves the piece once
    p.check(p.acts, "Right" if step > 0 else "Left", lambda p, q, t: left(q) == left(p) + step, 1.5)

    x.menu(3)  # the options window leaves the game running, and the menu takes no click meanwhile
    wait_for(lambda: p.count(OPTIONS, DARK_RED) > 20000, "the options window under \"Opzioni\"")
    q, since = p.piece(), p.landings
    x.menu(2)
    time.sleep(0.5)
    assert p.game.poll() is None, "\"Esci\" ended the program through the options window"
    assert top(p.piece()) > top(q) or p.landings > since, "the piece stood still while the options were open"
    x.option(1)  # "Tasti a ripetizione"
    wait_for(lambda: p.count(OPTIONS, DARK_RED) == 0, "the options window to close")
    key = "Left" if left(p.piece()) >= 3 else "Right"  # with repetition into the wall
    p.check(p.acts, key, lambda p, q, t: left(q) == 1 if key == "Left" else right(q) == 16, 2)

    p.bind(KEYS["us"])
    for key in ("Right", "space", "Down"):
        p.check(p.acts, key, kept)
    p.steer(KEYS["us"])
    for shown in (True, False):
        x.menu(4)
        wait_for(lambda: (p.count(INFO, GREY) > 5000) == shown, "the information text to come and go", 5)


def opengl_drivers(game):  # Mesa's drivers, its EGL and the LLVM they load, as mapped in the program's memory
    mapped = {line.split()[-1] for line in open(f"/proc/{game.pid}/maps") if "/" in line}
    return sorted(m for m in mapped if re.search(r"_dri\.so|/libEGL_mesa\.|/libLLVM", m))


def main(program, layout="us"):
    with Sway() if layout == "wayland" else X11() as x:
        if layout == "wayland":  # a keyboard held all along: no key is lost while the game binds a new one
            x.start("/usr/bin/wtype", "-s", "3600000")
        elif layout != "us":
            x.run("setxkbmap", layout)
        p = Player(x, x.start(program))
        wait_for(lambda: p.count((19, 0, 340, 674), 0x00FF00) == 2024, "the one-pixel green frame around the well")
        if layout == "us":
            play(x, p)
        else:
            p.start()
            p.bind(KEYS[layout])
            p.steer(KEYS[layout])
        if layout == "wayland":
            assert not (loaded := opengl_drivers(p.game)), f"OpenGL drivers in the program's memory: {loaded}"
        x.menu(2)
        assert x.ended(p.game) == 0, "status after \"Esci\""
    print("PASS")


if __name__ == "__main__":
    main(*sys.argv[1:])
