# A whole game on the page in headless Chromium, played through the desktop
# tests' player and judged from screenshots as they judge the desktop.
#
#   play.py SITE
#       The menu lights under the pointer, one label at a time; a new game
#       shows its level banner and the piece steps down. The arrows shift it
#       and the space bar turns it. The page keeps the playing keys from the
#       browser. Leaving the page's focus lets go of a held key. Then the
#       desktop's game: a held key moves the piece once; the options window,
#       drawn in the page, leaves the game running and the menu takes no click
#       meanwhile; with repetition switched on there a held key runs into the
#       wall. The game ends at the top, the newest sound having cut the older
#       all along: never two sources play at once. A repaint of the page
#       brings back the retained drawing. Four keys of a French layout, whose
#       `key` is not what their place gives, are bound by place and steer.
#       "Esci" leaves one line that says how to play again, and nothing of the
#       game.
import sys

from browser import AUDIO_HOOK, Browser, serve, wait_for
from game import Player, left, play
from faults import PREVIEW, game_over

# AZERTY's A, Z, M and Q keys: (place, what the layout prints, its Windows code).
AZERTY = (("KeyQ", "a", 65), ("KeyW", "z", 90), ("Semicolon", "m", 77), ("KeyA", "q", 81))


def main(site):
    with Browser() as b:
        b.open(serve(site), AUDIO_HOOK)
        p = Player(b, None)
        b.new_game()
        p.steer(("Right", "Left", "Down", "space"))
        assert b.eval("kept"), "the page let the browser have a playing key"
        b.key(("KeyA", "a", 65))  # none of the game's keys: the browser's
        assert not b.eval("kept"), "the page kept a key the game does not use from the browser"
        b.key("Right", how="keydown")  # held; then the page loses the focus, and Left acts at once
        b.eval("dispatchEvent(new Event('blur'))")
        p.acts("Left", lambda p, q: left(q) == left(p) - 1 or left(p) == 1)
        b.key("Right", how="keyup")
        play(b, p, lambda: b.message() is None)

        wait_for(lambda: game_over(b), "the game to end at the top", 60)
        sounds = b.eval("sources")
        assert sounds["started"] > 10, f"only {sounds['started']} sounds in a game"
        assert sounds["most"] == 1, f"{sounds['most']} sounds at once: the newest did not cut the older"
        b.eval("document.dispatchEvent(new Event('visibilitychange'))")  # the last preview comes back
        wait_for(lambda: b.shot().count(*PREVIEW, 0) < 122 * 122 - 1000, "the retained preview after a repaint", 5)

        b.new_game()
        p.bind(AZERTY)
        p.steer(AZERTY)
        b.menu(2)
        line = wait_for(b.message, "a line after \"Esci\"", 5)
        assert "Reload the page to play again" in line, f"the page says {line!r}"
        assert b.eval("document.getElementById('tumblara')") is None, "the game is still on the page"
    print("PASS")


if __name__ == "__main__":
    main(*sys.argv[1:])
