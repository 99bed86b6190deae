#!/usr/bin/env bash
# The real program on a private X server of 1024x768, without a window
# manager, through the xcb platform.
#
#   real_window.sh smoke <tumblara> <window_probe>
#     the well's frame appears where it belongs; the program stays light
#     while it waits for the first game; killing it leaves nothing behind.
#   real_window.sh esci <tumblara> <window_probe>
#     a click on "Esci" ends the program at once with status 0.
#   real_window.sh close <tumblara> <window_probe>
#     the window manager's close request ends it the same way.
#   real_window.sh close-options <tumblara> <window_probe>
#     the close request ends it also while the options window is open.
#   real_window.sh play <tumblara> <window_probe>
#     "Nuova Partita" starts a game whose piece the arrow keys steer; a
#     held key moves it once.
#   real_window.sh repeat <tumblara> <window_probe>
#     after "Tasti a ripetizione" in the options a held key keeps moving it.
set -euo pipefail

mode=$1
program=$2
probe=$3
work=$(mktemp -d)
xvfb=""
game=""

cleanup() {
    [[ -n "$game" ]] && kill "$game" 2>/dev/null || true
    [[ -n "$xvfb" ]] && kill "$xvfb" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    for f in "$work"/*.log; do echo "--- $f" >&2; cat "$f" >&2; done
    exit 1
}

# Poll for a condition, up to $1 seconds.
poll() {
    local seconds=$1
    shift
    local tries=$((seconds * 20))
    for ((i = 0; i < tries; i++)); do
        if "$@"; then return 0; fi
        sleep 0.05
    done
    return 1
}

# The program must end by itself within a few seconds, with status 0.
ends_cleanly() {
    poll 10 bash -c "! kill -0 $game 2>/dev/null" || fail "the program did not end after $1"
    local status=0
    wait "$game" || status=$?
    game=""
    [[ $status -eq 0 ]] || fail "exit status $status after $1"
}

# Leftmost column of the falling piece, 0 when there is none. The first
# piece of the first game is always red; the yellow level banner over the
# well never passes for it.
leftmost() {
    "$probe" well 21 | awk '{ i = index($0, "r"); if (i && (!m || i < m)) m = i } END { print m + 0 }'
}

# Menu labels are 200 x 35 at the right edge, 60 pixels apart.
click_menu() {
    xdotool mousemove 924 $((60 * $1 + 17))
    sleep 0.2
    xdotool click 1
}

# The options window opens under "Opzioni": 250 x 148 pixels at the right
# edge from y = 215, dark red, three labels 49 pixels apart.
open_options() {
    click_menu 3
    poll 10 bash -c "[[ \$('$probe' pixel 780 360) == 800000 ]]" || fail "the options window did not open"
}

start_game() {
    click_menu 0
    # The level banner holds the first piece at the top for up to two seconds.
    sleep 2.5
}

# Holds a key down for 1.5 s: long enough for the X server to repeat it.
hold() {
    xdotool keydown "$1"
    sleep 1.5
    xdotool keyup "$1"
    sleep 0.3
}

# -displayfd picks a free display itself: parallel tests never collide.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
poll 20 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"
unset QT_QPA_PLATFORM

# On 1024 pixels a cell is 21: the frame stands at x = 19 and 19 + 339.
"$probe" frame 19 0 340 674 20 "$work/failure.png" >"$work/probe.log" 2>&1 &
probe_pid=$!
poll 20 grep -q ready "$work/probe.log" || fail "the probe did not connect"

launched=$(date +%s%N)
"$program" >"$work/program.log" 2>&1 &
game=$!
wait "$probe_pid" || fail "no green frame on the screen within 20 s"
shown=$(awk '/^frame/ {print $2}' "$work/probe.log")
echo "first frame after $(((shown - launched) / 1000000)) ms"

case "$mode" in
smoke)
    # Waiting for the first game: two timers tick, nothing else happens.
    tick=$(getconf CLK_TCK)
    cpu() { awk '{print $14 + $15}' "/proc/$game/stat"; }
    before=$(cpu)
    sleep 3
    used=$(($(cpu) - before))
    echo "cpu while waiting: $used ticks of $((3 * tick)) (1/$tick s)"
    ((used * 100 <= 5 * 3 * tick)) || fail "more than 5% of a core while waiting"

    kill "$game"
    poll 10 bash -c "! kill -0 $game 2>/dev/null" || fail "the program survived SIGTERM"
    wait "$game" 2>/dev/null || true
    game=""
    ;;
esci)
    click_menu 2
    ends_cleanly "Esci"
    ;;
close)
    window=$(xdotool search --name '^Pilastra$' | head -n1)
    [[ -n "$window" ]] || fail "no window named Pilastra"
    "$probe" close "$window"
    ends_cleanly "the close request"
    ;;
close-options)
    open_options
    window=$(xdotool search --name '^Pilastra$' | head -n1)
    "$probe" close "$window"
    ends_cleanly "the close request with the options open"
    ;;
play)
    start_game
    before=$(leftmost)
    ((before > 0)) || fail "no piece in the well after Nuova Partita"
    xdotool key Left Left Left
    sleep 0.5
    after=$(leftmost)
    expected=$((before > 3 ? before - 3 : 1))
    echo "leftmost column $before, after three Left: $after"
    ((after == expected)) || fail "the piece went from column $before to $after, not $expected"
    hold Right
    held=$(leftmost)
    echo "after holding Right: $held"
    ((held == after + 1)) || fail "a held key moved the piece from $after to $held without repetition"
    click_menu 2
    ends_cleanly "Esci during play"
    ;;
repeat)
    open_options
    xdotool mousemove 899 279
    sleep 0.2
    xdotool click 1
    poll 10 bash -c "[[ \$('$probe' pixel 780 360) == 000000 ]]" || fail "the options window did not close"
    start_game
    xdotool key Right Right Right Right Right Right
    sleep 0.3
    before=$(leftmost)
    ((before >= 7)) || fail "six taps on Right left the piece at column $before"
    hold Left
    after=$(leftmost)
    echo "leftmost column $before, after holding Left: $after"
    ((after == 1)) || fail "a held key with repetition stopped at column $after"
    click_menu 2
    ends_cleanly "Esci during play"
    ;;
*)
    fail "unknown mode $mode"
    ;;
esac

kill "$xvfb"
wait "$xvfb" 2>/dev/null || true
xvfb=""
# pgrep as a direct child of this shell: it leaves itself out of the list.
pgrep -P $$ >"$work/left" || true
[[ ! -s "$work/left" ]] || fail "processes left behind: $(tr '\n' ' ' <"$work/left")"
echo "PASS $mode"
