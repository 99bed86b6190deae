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
#   real_window.sh play <tumblara> <window_probe>
#     "Nuova Partita" starts a game whose piece the arrow keys steer.
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

# Leftmost column holding a block in the top twelve rows of the well, which
# the level banner never reaches; 0 when there is none.
leftmost() {
    "$probe" well 21 | head -n 12 | awk '{ i = index($0, "#"); if (i && (!m || i < m)) m = i } END { print m + 0 }'
}

# Menu labels are 200 x 35 at the right edge, 60 pixels apart.
click_menu() {
    xdotool mousemove 924 $((60 * $1 + 17))
    sleep 0.2
    xdotool click 1
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
play)
    click_menu 0
    # The level banner holds the first piece at the top for up to two seconds.
    sleep 2.5
    before=$(leftmost)
    ((before > 0)) || fail "no piece in the well after Nuova Partita"
    xdotool key Left Left Left
    sleep 0.5
    after=$(leftmost)
    expected=$((before > 3 ? before - 3 : 1))
    echo "leftmost column $before, after three Left: $after"
    ((after == expected)) || fail "the piece went from column $before to $after, not $expected"
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
