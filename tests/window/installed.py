# A program as a user starts it, without a sound server, on a private X server:
# "Nuova Partita" begins a game, its first piece falls, and "Esci" ends the
# program with status 0.   installed.py PROGRAM
import sys

from desktop import X11


def main(program):
    with X11() as x:
        game = x.game(program)
        x.new_game()
        x.menu(2)
        assert x.ended(game) == 0, "status after \"Esci\""
    print("PASS")


if __name__ == "__main__":
    main(*sys.argv[1:])
