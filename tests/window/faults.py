# Faults met by the real program, each with the outcome it must give.
#
#   faults.py TUMBLARA no-display     every platform asked for with no display of
#                                     any kind to reach: one line on stderr, status 1
#   faults.py TUMBLARA esci|close STATE
#       "Esci", or the window system closing the main window, in a wait: idle,
#       pause, game-over, and (closing only: the menu takes no click under
#       them) options open, capture open: status 0 and no process left. Before
#       its "Esci", game-over opens and closes the options window: the preview
#       box stays black.
import ctypes, subprocess, sys, time  # noqa: E401

from desktop import BANNER, CAPTURE, DARK_RED, PREVIEW, X11, YELLOW, Desktop, wait_for


def game_over(x):
    # The preview box black while the banner over the well blinks. Until then
    # each call drops a piece against the left wall: a tower soon at the top.
    if x.shot().count(*PREVIEW, 0) != 122 * 122:
        x.key(*["Left"] * 8, "Down")
        return time.sleep(0.2)
    shots = [x.shot() for _ in range(4) if not time.sleep(0.3)]
    return all(s.count(*PREVIEW, 0) == 122 * 122 for s in shots) and \
        len({s.count(*BANNER, YELLOW) > 20 for s in shots}) == 2


def close(x, game):  # what a window manager's close button sends; the main window is shown first
    window = int(x.run("xdotool", "search", "--onlyvisible", "--pid", str(game.pid)).split()[0])
    lib = ctypes.CDLL("libX11.so.6")
    lib.XOpenDisplay.restype = ctypes.POINTER(ctypes.c_char)  # a pointer kept whole, not cut to an int
    d, event = lib.XOpenDisplay(x.env["DISPLAY"].encode()), (ctypes.c_long * 24)()  # an XClientMessageEvent
    event[0], event[4], event[6] = 33, window, 32
    event[5], event[7] = (lib.XInternAtom(d, name, 0) for name in (b"WM_PROTOCOLS", b"WM_DELETE_WINDOW"))
    lib.XSendEvent(d, ctypes.c_ulong(window), 0, ctypes.c_long(0), event)
    lib.XCloseDisplay(d)  # flushes


def no_display(program):
    for platform in ({"QT_QPA_PLATFORM": "xcb"}, {"QT_QPA_PLATFORM": "wayland"}, {}):
        for display in ({}, {"DISPLAY": ":3917"}, {"WAYLAND_DISPLAY": "no-such-socket"}):
            with Desktop() as d:  # a private runtime folder, no display variables
                r = subprocess.run([program], env=dict(d.env, **platform, **display), capture_output=True, text=True,
                                   timeout=30)
                said = f"{platform} {display}: status {r.returncode}, stderr {r.stderr!r}"
                assert r.returncode == 1, said
                assert len(r.stderr.splitlines()) == 1, said


def run(program, case, state="idle"):
    with X11() as x:
        game = x.game(program)
        if state in ("options", "capture"):
            x.options()
            if state == "capture":
                x.option(0)
                wait_for(lambda: x.shot().count(*CAPTURE, DARK_RED) > 20000, "the capture dialog")
        elif state in ("pause", "game-over"):
            x.new_game()
            if state == "pause":
                x.menu(1)
            else:
                wait_for(lambda: game_over(x), "a game over", 90)
        if state == "game-over" and case == "esci":
            x.options()
            x.option(1)
            # Once "Opzioni" goes out with the pointer on the background, the main
            # window has had every event of the closing: the last preview must not be back.
            x.move(600, 600)
            wait_for(lambda: not x.lit(3), "the main window to answer the pointer again")
            assert x.shot().count(*PREVIEW, 0) == 122 * 122, "the last preview came back after the options"
        if case == "close":
            close(x, game)
        else:
            assert game.poll() is None, "the program ended by itself"
            x.menu(2)
        assert game.wait(10) == 0, f"status {game.returncode} after {case} {state}"


if __name__ == "__main__":
    no_display(sys.argv[1]) if sys.argv[2] == "no-display" else run(*sys.argv[1:])
    print("PASS", *sys.argv[2:])
