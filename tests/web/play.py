# A whole game on the page in headless Chromium, played through the desktop
# tests' player and judged from screenshots as they judge the desktop.
#
#   play.py SITE
#       The menu lights under the pointer, one label at a time; a new game
#       shows its level banner and the piece steps down. The arrows shift it,
#       the space bar turns it, Down drops it; a held key moves it once. The
#       newest sound cuts the older: never two sources play at once. "Pausa"
#       holds the piece until "Continua". The game ends at the top, and "Esci"
#       leaves one line that says how to play again, and nothing of the game.
import sys

from browser import AUDIO_HOOK, Browser, Site, wait_for
from game import CELLA, Player, top, right, left
from faults import game_over

FRAME = (CELLA - 2, 0, 16 * CELLA + 4, 32 * CELLA + 2)


def main(site):
    with Browser() as b:
        b.open(Site(site).url, AUDIO_HOOK)
        p = Player(b, None)
        wait_for(lambda: p.count(FRAME, 0x00FF00) == 2024, "the one-pixel green frame around the well")
        p.start()
        wait_for(lambda: top(p.piece()) > 2, "the piece to step down")
        p.steer(("Right", "Left", "Down", "space"))
        step = 1 if right(p.piece()) < 16 else -1  # without repetition a held key moves the piece once
        p.check(p.acts, "Right" if step > 0 else "Left", lambda p, q, t: left(q) == left(p) + step, 1.5)
        sounds = b.eval("sources")
        assert sounds["started"] > 10, f"only {sounds['started']} sounds in a game"
        assert sounds["most"] == 1, f"{sounds['most']} sounds at once: the newest did not cut the older"

        p.pause(True)
        held = p.piece()
        p.acts("Left", lambda p, q, t: q == held)
        p.pause(False)
        wait_for(lambda: top(p.piece()) > top(held), "the piece to fall again after \"Continua\"")

        wait_for(lambda: game_over(b), "the game to end at the top", 60)
        b.menu(2)
        line = wait_for(b.message, "a line after \"Esci\"", 5)
        assert "Reload the page to play again" in line, f"the page says {line!r}"
        assert b.eval("document.getElementById('tumblara')") is None, "the game is still on the page"
    print("PASS")


if __name__ == "__main__":
    main(*sys.argv[1:])
