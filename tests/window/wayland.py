# The game on native Wayland under a headless sway, driven through the
# compositor's own seat commands and wtype: the options window and the capture
# dialog open inside the main window where they belong (Wayland lets no client
# place a window), four keys are bound through them, a piece follows a new key,
# and "Esci" ends the program with status 0.
#
#   wayland.py TUMBLARA

import sys, time  # noqa: E401

from desktop import Sway, wait_for
from game import KEYS, Player, moved, right


def main(program):
    with Sway() as wl:
        # A keyboard held all along: no key is lost while the game binds a new one.
        wl.start("/usr/bin/wtype", "-s", "3600000")
        p = Player(wl, wl.start(program))
        wait_for(lambda: p.count((19, 0, 340, 674), 0x00FF00) == 2024, "the one-pixel green frame around the well")
        p.start()
        p.bind(KEYS["us"])  # each dialog must open inside the main window, where it is looked for
        p.check(p.acts, *(("d", moved(1)) if right(p.piece()) < 16 else ("a", moved(-1))))
        wl.menu(2)
        assert wl.ended(p.game) == 0, "status after \"Esci\""
    print("PASS")


if __name__ == "__main__":
    main(*sys.argv[1:])
