# A program as a user starts it, without a sound server, on a private X server
# that resets when its last client leaves, as under xinit, the game its only
# client: it comes up, and no connection of it left before that; "Nuova
# Partita" begins a game, its first piece falls, and "Esci" ends the program
# with status 0.   installed.py PROGRAM
import sys

from desktop import X11


def main(program):
    with X11(bare=True) as x:
        game = x.game(program)
        x.log.seek(0)  # a connection that leaves first resets the server; the next may come as it resets
        assert "disconnected" not in x.log.read(), "a connection left a bare server"
        x.new_game()
        x.menu(2)
        assert game.wait(10) == 0, "status after \"Esci\""
    print("PASS")


if __name__ == "__main__":
    main(*sys.argv[1:])
