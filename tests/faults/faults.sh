#!/usr/bin/env bash
# Faults injected into the real program, each with the outcome it must give.
#
#   faults.sh <tumblara> <xpoke> <case> [argument]
#
#   no-display unset|unreachable
#       no X server: one clear line on stderr, a non-zero status, no crash
#   sound no-server|missing-empty|truncated-not-riff
#       no sound server, or broken wave files beside the program (the step
#       sound and the level sound, which every game plays, get one fault
#       each; the row sound, read only when a row goes, gets one too): the
#       game plays on, answers the pointer at once, and "Esci" ends it with 0
#   screen <W>x<H>
#       a screen of that size: the window covers it, a game runs, the
#       program ends cleanly
#   close idle|banner|play|pause|game-over|options|capture
#       the window system closes the main window in that state (options:
#       with the options window open; capture: with the key-capture dialog
#       open over it): status 0
#   close-dialog options|capture
#       the window system closes that dialog (capture: each of the four in
#       turn): the program goes on, and once the options window is gone
#       "Esci" ends it with 0
#   esci idle|banner|play|pause|game-over
#       "Esci" in that state: the program ends at once with status 0
#   flood
#       10,000 key events a second for 10 s during a game: the pointer is
#       answered as fast at the end as at the start, and "Esci" still ends
#       the program at once
#
# Every run also fails on a sanitizer report in the program's output.
set -euo pipefail

program=$1
xpoke=$2
case=$3
arg=${4:-}
work=$(mktemp -d)
# In a sanitizer build, the leak suppressions apply also when run by hand.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$(dirname "$0")/lsan.supp}
xvfb=""
pulse=""
game=""

cleanup() {
    [[ -n "$game" ]] && kill -9 "$game" 2>/dev/null || true
    [[ -n "$pulse" ]] && kill "$pulse" 2>/dev/null || true
    [[ -n "$xvfb" ]] && kill "$xvfb" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    for f in "$work"/*.log; do [[ -f "$f" ]] && { echo "--- $f" >&2; tail -n 40 "$f" >&2; }; done
    exit 1
}

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

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# A private X server; -displayfd picks a free display, so tests run in parallel.
start_x() {
    Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
    xvfb=$!
    poll 30 test -s "$work/display" || fail "Xvfb did not start with a $1 screen"
    export DISPLAY=":$(head -n1 "$work/display")"
    unset QT_QPA_PLATFORM WAYLAND_DISPLAY
}

# Starts the program and waits for its window; sets W and H.
start_game() {
    local exe=${1:-$program}
    "$exe" >"$work/program.log" 2>&1 &
    game=$!
    local line
    line=$("$xpoke" windows "$game" 1) || fail "no main window within 60 s"
    read -r _ _ _ _ W H <<<"$line"
    sleep 0.5  # the first activation enters its wait
}

click() {
    xdotool mousemove "$1" "$2"
    sleep 0.1
    xdotool click 1
}

# Menu label i, at the right edge: x = W - 200 .. W - 1, y = 60 i .. 60 i + 34.
menu() { click $((W - 100)) $((60 * $1 + 17)); }

# The program must be gone within $1 seconds; sets status.
wait_end() {
    poll "$1" bash -c "! kill -0 $game 2>/dev/null" || fail "the program is still running after $1 s"
    status=0
    wait "$game" || status=$?
    game=""
}

no_sanitizer_report() {
    if grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:' "$work/program.log"; then
        fail "a sanitizer report"
    fi
}

expect_clean_end() {
    wait_end "$1"
    no_sanitizer_report
    [[ $status -eq 0 ]] || fail "exit status $status"
}

# The pointer over "Info" lights it: how long the program takes to answer.
responses() {
    # From the background first: a label lit by an earlier click keeps the
    # menu's single highlight until the pointer crosses the background.
    xdotool mousemove $((W / 4)) $((H / 2))
    sleep 0.2
    "$xpoke" flood "$1" "$2" $((W - 195)) $((60 * 4 + 3)) $((W / 4)) $((H / 2)) >"$work/flood.log" ||
        fail "the flood tool failed"
    cat "$work/flood.log"
}

# After a game over the preview box is black and the banner over the well
# blinks every 500 ms; in play the preview shows the next piece.
game_over_shown() {
    local c=$(((W + 24) / 48))
    "$xpoke" black $((18 * c + 2)) $((15 * c + 2)) $((6 * c - 4)) $((6 * c - 4)) || return 1
    (($("$xpoke" blinking $((6 * c)) $((15 * c)) $((10 * c)) $((2 * c)) 1.6) >= 350))
}

# Brings the running program into one of its waits.
enter_state() {
    case "$1" in
    idle) ;;
    banner)
        menu 0
        sleep 0.3
        ;;
    play)
        menu 0
        sleep 3
        xdotool key Left
        ;;
    pause)
        menu 0
        sleep 3
        menu 1
        sleep 0.3
        ;;
    game-over)
        menu 0
        sleep 3
        local start
        start=$(now_ms)
        # Every piece pushed against the left wall and dropped: a tower that
        # reaches the top after a dozen pieces or so.
        local lefts
        lefts=$(printf 'Left %.0s' $(seq 14))
        until game_over_shown; do
            (($(now_ms) - start < 120000)) || fail "no game over after two minutes of fast drops"
            for _ in 1 2 3; do
                # shellcheck disable=SC2086
                xdotool key --delay 8 $lefts Down
                sleep 0.75
            done
        done
        echo "game over after $((($(now_ms) - start) / 1000)) s"
        ;;
    options)
        menu 3
        dialog=$("$xpoke" windows "$game" 2) || fail "no options window"
        ;;
    capture)
        enter_state options
        read -r _ _ dx dy dw dh <<<"$dialog"
        click $((dx + dw / 2)) $((dy + dh / 10))  # "Tasti Personalizzati"
        dialog=$("$xpoke" windows "$game" 3) || fail "no key-capture dialog"
        ;;
    *) fail "unknown state $1" ;;
    esac
}

start_pulse() {
    mkdir -p "$work/pulse/runtime" "$work/pulse/state"
    PULSE_RUNTIME_PATH="$work/pulse/runtime" PULSE_STATE_PATH="$work/pulse/state" HOME="$work/pulse" \
        pulseaudio -n --daemonize=no --use-pid-file=no --system=no --exit-idle-time=-1 --disallow-exit \
        --disable-shm=yes --log-target=stderr \
        -L "module-native-protocol-unix auth-anonymous=1 socket=$work/pulse/native" \
        -L "module-null-sink sink_name=effects" >"$work/pulse.log" 2>&1 &
    pulse=$!
    export PULSE_SERVER="unix:$work/pulse/native"
    poll 20 test -S "$work/pulse/native" || fail "pulseaudio did not start"
}

case "$case" in
no-display)
    if [[ $arg == unset ]]; then
        env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 30 "$program" >"$work/out.log" 2>"$work/err.log" ||
            status=$?
    else
        # A display number no server answers on.
        env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:3917 timeout 30 "$program" >"$work/out.log" \
            2>"$work/err.log" || status=$?
    fi
    status=${status:-0}
    echo "status $status, stderr: $(cat "$work/err.log")"
    [[ $status -ne 0 ]] || fail "status 0 without a display"
    [[ $status -ne 124 ]] || fail "still running after 30 s without a display"
    ((status < 128)) || fail "ended by signal $((status - 128))"
    [[ $(grep -c . "$work/err.log") -eq 1 ]] || fail "not exactly one line on stderr"
    ;;
sound)
    start_x 1024x768
    exe=$program
    if [[ $arg == no-server ]]; then
        export PULSE_SERVER="unix:$work/no-such-socket"
    else
        start_pulse
        # The program reads its wave files from its own folder: a copy of it
        # in a folder of broken ones.
        mkdir "$work/folder"
        cp "$program" "$work/folder/"
        exe="$work/folder/$(basename "$program")"
        waves=$(dirname "$program")
        folder=$work/folder
        case "$arg" in
        missing-empty)
            : >"$folder/Impact02.wav"  # empty; Bonus2.wav is missing
            : >"$folder/Bonus1.wav"
            ;;
        truncated-not-riff)
            # Cut in the samples, and cut inside the format chunk.
            head -c 100 "$waves/Impact02.wav" >"$folder/Impact02.wav"
            head -c 30 "$waves/Bonus1.wav" >"$folder/Bonus1.wav"
            head -c 4096 "$program" >"$folder/Bonus2.wav"  # not RIFF at all
            ;;
        *) fail "unknown wave fault $arg" ;;
        esac
    fi
    start_game "$exe"
    enter_state play
    # Steps down, drops and the level sound all ask for sound meanwhile.
    (for _ in $(seq 8); do xdotool key Down; sleep 0.3; done) &
    responses 200 3
    wait $! || true
    kill -0 "$game" 2>/dev/null || fail "the program ended by itself"
    menu 2
    expect_clean_end 5
    ;;
screen)
    start_x "$arg"
    start_game
    [[ "${W}x${H}" == "$arg" ]] || fail "the window is ${W}x${H} on a $arg screen"
    start=$(now_ms)
    if ((W > 3840)); then
        # Beyond 4K every full-window image costs seconds (and Xvfb shows
        # nothing of a Qt 6.4 window of some of these sizes, a bare one
        # included): no game, only a start and "Esci", with a loose bound.
        menu 2
        expect_clean_end 90
    elif ((W >= 200 && H >= 155)); then
        enter_state play
        responses 100 2
        [[ $(awk '/^missed/ {print $2}' "$work/flood.log") -eq 0 ]] || fail "the menu did not answer the pointer"
        start=$(now_ms)
        menu 2
        expect_clean_end 5
    else
        # The menu column starts left of the screen; the window system closes it.
        click $((W / 2)) $((H / 2))
        sleep 1
        start=$(now_ms)
        "$xpoke" close "$game" main >/dev/null
        expect_clean_end 5
    fi
    echo "ended $(($(now_ms) - start)) ms after the request"
    ;;
close)
    start_x 1024x768
    start_game
    enter_state "$arg"
    "$xpoke" close "$game" main >/dev/null || fail "could not ask the window to close"
    expect_clean_end 5
    ;;
close-dialog)
    start_x 1024x768
    start_game
    enter_state "$arg"
    "$xpoke" close "$game" dialog >/dev/null || fail "could not ask the dialog to close"
    if [[ $arg == capture ]]; then
        # A closed capture leaves that binding as it was and the next one
        # opens; after the fourth the options window closes by itself.
        for key in 2 3 4; do
            "$xpoke" windows "$game" 3 >/dev/null || fail "no capture dialog for key $key"
            "$xpoke" close "$game" dialog >/dev/null || fail "could not close the capture of key $key"
        done
    fi
    "$xpoke" windows "$game" 1 >/dev/null || fail "the dialogs did not go"
    sleep 0.5
    kill -0 "$game" 2>/dev/null || fail "the program ended with its dialog"
    menu 2
    expect_clean_end 5
    ;;
esci)
    start_x 1024x768
    start_game
    enter_state "$arg"
    menu 2
    expect_clean_end 3
    ;;
flood)
    start_x 1024x768
    start_game
    enter_state play
    responses 10000 10
    sent=$(awk '/^sent/ {print $2}' "$work/flood.log")
    read -r -a times <<<"$(awk '/^responses/ {$1 = ""; print}' "$work/flood.log")"
    missed=$(awk '/^missed/ {print $2}' "$work/flood.log")
    ((sent >= 95000)) || fail "only $sent key events went out"
    [[ $missed -eq 0 ]] || fail "$missed pointer probes went unanswered for 2 s"
    ((${#times[@]} >= 8)) || fail "only ${#times[@]} probes"
    # Lag that builds up shows as answers growing slower through the flood.
    last=${times[-1]%.*}
    ((last < 250)) || fail "the last answer took $last ms"
    kill -0 "$game" 2>/dev/null || fail "the program ended during the flood"
    start=$(now_ms)
    menu 2
    expect_clean_end 5
    echo "ended $(($(now_ms) - start)) ms after the click on Esci"
    ;;
*)
    fail "unknown case $case"
    ;;
esac
echo "PASS $case $arg"
