# A program as a user starts it, without a sound server, on a private X server:
# "Nuova Partita" begins a game, its first piece falls, and "Esci" ends the
# program with status 0.   installed.py PROGRAM
import sys

from desktop import X11, wait_for
from game import CELLA


def main(program):
    with X11() as x:
        game = x.start(program)
        rows = lambda: [i // 16 for i, c in enumerate(x.shot().well(CELLA)) if c == "#"]  # noqa: E731
        wait_for(lambda: x.shot().count(19, 0, 340, 674, 0x00FF00) == 2024, "the green frame around the well")
        x.menu(0)
        first = wait_for(lambda: len(r := rows()) == 4 and r, "a piece of four blocks after the banner")
        wait_for(lambda: len(r := rows()) == 4 and min(r) > min(first), "the piece to fall", 5)
        x.menu(2)
        assert x.ended(game) == 0, "status after \"Esci\""
    print("PASS")


if __name__ == "__main__":
    main(*sys.argv[1:])
