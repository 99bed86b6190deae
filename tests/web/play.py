# A whole game on the page in headless Chromium, played through the desktop
# tests' player and judged from screenshots as they judge the desktop.
#
#   play.py SITE
#       The menu lights under the pointer, one label at a time; a new game
#       shows its level banner and the piece steps down. The arrows shift it,
#       the space bar turns it, Down drops it; a held key moves it once. The
#       newest sound cuts the older: never two sources play at once. The
#       options window, drawn in the page, leaves the game running and the menu
#       takes no click meanwhile; with repetition switched on there a held key
#       runs into the wall. Four keys of a French layout, whose `key` is not
#       what their place gives, are bound by place and steer while the arrows
#       do nothing. "Pausa" holds the piece until "Continua". The game ends at
#       the top, and "Esci" leaves one line that says how to play again, and
#       nothing of the game. The page keeps the playing keys from the browser;
#       leaving the page's focus lets go of a held key; a repaint of the page
#       brings back the retained drawing and drops what was drawn on it alone.
import sys

from browser import AUDIO_HOOK, Browser, Site, wait_for
from game import CELLA, OPTIONS, DARK_RED, Player, left, right, top
from faults import PREVIEW, game_over

FRAME = (CELLA - 2, 0, 16 * CELLA + 4, 32 * CELLA + 2)
# AZERTY's A, Z, M and Q keys: (place, what the layout prints, its Windows code).
AZERTY = (("KeyQ", "a", 65), ("KeyW", "z", 90), ("Semicolon", "m", 77), ("KeyA", "q", 81))


def options(b, p):  # the game goes on under the options window, whose cover takes the menu's clicks
    b.menu(3)
    wait_for(lambda: p.count(OPTIONS, DARK_RED) > 20000, "the options window under \"Opzioni\"")
    q, since = p.piece(), p.landings
    b.menu(2)
    wait_for(lambda: top(p.piece()) > top(q) or p.landings > since, "the piece to fall under the options window")
    assert b.message() is None, "\"Esci\" ended the program through the options window"
    b.option(1)  # "Tasti a ripetizione"
    wait_for(lambda: p.count(OPTIONS, DARK_RED) == 0, "the options window to close")
    key = "Left" if left(p.piece()) >= 3 else "Right"
    p.check(p.acts, key, lambda p, q: left(q) == 1 if key == "Left" else right(q) == 16, 2)


def main(site):
    with Browser() as b:
        b.open(Site(site).url, AUDIO_HOOK)
        p = Player(b, None)
        wait_for(lambda: p.count(FRAME, 0x00FF00) == 2024, "the one-pixel green frame around the well")
        b.new_game()
        wait_for(lambda: top(p.piece()) > 2, "the piece to step down")
        p.steer(("Right", "Left", "Down", "space"))
        step = 1 if right(p.piece()) < 16 else -1  # without repetition a held key moves the piece once
        p.check(p.acts, "Right" if step > 0 else "Left", lambda p, q: left(q) == left(p) + step, 1.5)
        sounds = b.eval("sources")
        assert sounds["started"] > 1, f"only {sounds['started']} sounds in a game"
        assert sounds["most"] == 1, f"{sounds['most']} sounds at once: the newest did not cut the older"
        assert b.eval("kept"), "the page let the browser have a playing key"
        b.key(("KeyA", "a", 65))  # none of the game's keys: the browser's
        assert not b.eval("kept"), "the page kept a key the game does not use from the browser"
        b.key("Right", how="keydown")  # held; then the page loses the focus, and Left acts at once
        b.eval("dispatchEvent(new Event('blur'))")
        p.check(p.acts, "Left", lambda p, q: left(q) == left(p) - 1 or left(p) == 1)
        b.key("Right", how="keyup")
        options(b, p)


        p.pause(True)
        held = p.piece()
        p.acts("Left", lambda p, q: q == held)
        p.pause(False)
        wait_for(lambda: top(p.piece()) > top(held), "the piece to fall again after \"Continua\"")
        wait_for(lambda: game_over(b), "the game to end at the top", 60)
        b.eval("document.dispatchEvent(new Event('visibilitychange'))")  # the last preview comes back
        wait_for(lambda: p.count(PREVIEW, 0) < 122 * 122 - 1000, "the retained preview after a repaint", 5)

        b.menu(0)
        wait_for(lambda: top(p.piece()) > 2, "a new game's piece to step down")
        p.bind(AZERTY)
        p.steer(AZERTY)
        b.menu(2)
        line = wait_for(b.message, "a line after \"Esci\"", 5)
        assert "Reload the page to play again" in line, f"the page says {line!r}"
        assert b.eval("document.getElementById('tumblara')") is None, "the game is still on the page"
    print("PASS")


if __name__ == "__main__":
    main(*sys.argv[1:])
