#!/usr/bin/env bash
# The real program on a private X server of 1024x768, without a window
# manager, through the xcb platform.
#
#   real_window.sh smoke <tumblara> <window_probe>
#     the well's frame appears where it belongs; the program stays light
#     while it waits for the first game; killing it leaves nothing behind.
#   real_window.sh esci <tumblara> <window_probe>
#     a click on "Esci" ends the program at once with status 0.
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

# -displayfd picks a free display itself: parallel tests never collide.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
poll 20 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"
unset QT_QPA_PLATFORM

# On 1024 pixels a cell is 21: the frame stands at x = 19 and 19 + 339.
"$probe" 19 0 340 674 20 "$work/failure.png" >"$work/probe.log" 2>&1 &
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
    # "Esci" is the third menu label: x = 824..1023, y = 120..154.
    xdotool mousemove 924 137
    sleep 0.2
    xdotool click 1
    poll 10 bash -c "! kill -0 $game 2>/dev/null" || fail "the program did not end after Esci"
    status=0
    wait "$game" || status=$?
    game=""
    [[ $status -eq 0 ]] || fail "exit status $status after Esci"
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
