#!/usr/bin/env bash
# The whole game, played as a player plays it and judged from the screen
# alone: the real program on a private X server of 1024x768 without a window
# manager, driven by xdotool, read back with window_probe.
#
#   real_window.sh <tumblara> <window_probe>
#
# At the start the frame appears and "Game Over" blinks while the program
# idles. The menu lights under the pointer; "Nuova Partita" blinks the level
# banner while the first piece waits at the top. "Pausa" holds the piece,
# "Continua" lets it fall one row per gravity interval, the arrows move it
# and the space bar turns it. A held key moves it once; the options window,
# which leaves the game running, switches repetition on, and a held key then
# runs it into the wall. The capture dialog binds D, A, S and W, which then
# steer while the old keys do nothing. "Info" shows and hides its text, and
# "Esci" ends the program with status 0, leaving no process behind.
set -euo pipefail

program=$1
probe=$2
work=$(mktemp -d)
xvfb=""
game=""
probe_pid=""

cleanup() {
    if [[ -n "$game" ]]; then kill "$game" 2>/dev/null || true; fi
    if [[ -n "$probe_pid" ]]; then kill "$probe_pid" 2>/dev/null || true; fi
    if [[ -n "$xvfb" ]]; then kill "$xvfb" 2>/dev/null || true; fi
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL after $(($(now_ms) - test_start)) ms: $*" >&2
    for f in "$work"/*.log; do echo "--- $f" >&2; tail -n 20 "$f" >&2; done
    exit 1
}

now_ms() {
    local us=${EPOCHREALTIME//[.,]/}
    echo $((us / 1000))
}
test_start=$(now_ms)

# Poll for a condition, up to $1 seconds.
poll() {
    local end=$(($(now_ms) + $1 * 1000))
    shift
    until "$@"; do
        (($(now_ms) < end)) || return 1
        sleep 0.05
    done
}

# Where things stand on 1024 x 768: a cell is 21 pixels, the well spans
# x 21..356 and y 21..671 inside its green frame.
cella=21
frame=(19 0 340 674)      # one pixel wide: 2024 green pixels
banner=(126 315 240 50)   # "Game Over" and the level, yellow
# shellcheck disable=SC2034 # read through `shown` and `gone`
info=(662 168 177 81)     # the information text on 0xE0E0E0
# shellcheck disable=SC2034
options=(774 215 250 148) # dropped down under "Opzioni", dark red
capture=(774 363 250 142) # the capture dialog under the options window
label() { echo "824 $((60 * $1)) 200 35"; }

# One fresh screenshot per question; the answers land in $answer.
ask() {
    echo "$*" >&"${PROBE[1]}"
    read -r -a answer <&"${PROBE[0]}" || fail "the probe stopped"
}
# count <rect...> <colour>: sets $counted
count() { ask count "$@"; counted=${answer[0]}; }
# shellcheck disable=SC2046 # a rectangle is four words
lit() { count $(label "$1") 800000; ((counted > 3000)); }
# shellcheck disable=SC2046
resting() { count $(label "$1") 800000; ((counted == 0)); }
shown() { local -n r=$1; count "${r[@]}" "$2"; ((counted > $3)); }
gone() { local -n r=$1; count "${r[@]}" "$2"; ((counted == 0)); }
frame_shown() { count "${frame[@]}" 00FF00; ((counted == 2024)); }
ended() { ! kill -0 "$game" 2>/dev/null; }

point() { xdotool mousemove "$1" "$2"; sleep 0.2; }
click() { point "$1" "$2"; xdotool click 1; }
# Over the background first, as a player's pointer crosses it: the menu
# lights one label at a time.
menu() { point 600 600; click 924 $((60 * $1 + 17)); }
# The options window's three labels, 49 pixels apart.
option() { click 899 $((230 + 49 * $1 + ($1 == 2))); }
# "Pausa" and "Continua" lit in white: the longer caption has more of it.
# shellcheck disable=SC2046
caption() { count $(label 1) FFFFFF; }
longer_than() { caption; ((counted > $1 + 10)); }
as_long_as() { caption; ((counted == $1)); }

# The falling piece. Settled blocks stay below row 12 in this test, so
# whenever rows 1..12 hold exactly four blocks they are the piece and rows
# 13..31 are what has settled; a change there counts a landing. Lower down,
# the piece is what has not settled.
settled=$(printf '.%.0s' $(seq 496))
landings=0

# Reads the falling piece: n (blocks), left, right, top, bottom (columns and
# rows from 1), its shape (the blocks' offsets from its top-left corner) and
# seen_at, the time of the screenshot.
look() {
    local at now
    at=$(now_ms)
    ask well "$cella"
    seen_at=$(((at + $(now_ms)) / 2))
    read -r now n left right top bottom shape < <(awk -v now="${answer[0]}" -v old="$settled" 'BEGIN {
        for (i = 1; i <= 192; i++) if (substr(now, i, 1) == "#") high++
        if (high == 4) { old = substr(now, 193); for (i = 1; i <= 192; i++) old = "." old }
        l = 99; t = 99
        for (i = 1; i <= 496; i++) if (substr(now, i, 1) == "#" && substr(old, i, 1) == ".") {
            c[++n] = (i - 1) % 16 + 1; r[n] = int((i - 1) / 16) + 1
            if (c[n] < l) l = c[n]; if (c[n] > rt) rt = c[n]; if (r[n] < t) t = r[n]; if (r[n] > b) b = r[n]
        }
        for (k = 1; k <= n; k++) s = s (c[k] - l) "," (r[k] - t) ";"
        print old, n + 0, l, rt + 0, t, b + 0, (s == "" ? "-" : s)
    }')
    if [[ $now != "$settled" ]]; then
        settled=$now
        landings=$((landings + 1))
    fi
}

# A screenshot may catch a repaint half done, and the banner's letters hide
# parts of a piece that passes behind them: tries for three seconds.
expect_piece() {
    local end=$(($(now_ms) + 3000))
    until look && ((n == 4)); do
        (($(now_ms) < end)) || fail "$1: $n blocks of a falling piece: $(fold -w 16 <<<"${answer[0]}" | tr '\n' ' ')"
        sleep 0.05
    done
}

# Runs a check of the falling piece. A piece that lands meanwhile proves
# nothing either way: the check runs again on the next one. The check sets
# $why when it fails.
on_piece() {
    local before
    for _ in 1 2 3; do
        before=$landings
        why=""
        "$@" && return 0
        ((landings != before)) || fail "$why"
        echo "a piece landed during $*; once more"
    done
    fail "$why, and three pieces landed meanwhile"
}

# Taps a key; the piece moves by $2 columns unless a wall stops it.
moves() {
    expect_piece "before $1"
    local from=$left want=$((left + $2)) end since=$landings
    ((left + $2 >= 1 && right + $2 <= 16)) || want=$left
    xdotool key "$1"
    if (($2 == 0)); then sleep 0.5; fi
    end=$(($(now_ms) + 2000))
    until look && ((n == 4 && left == want)); do
        why="$1 took the piece from column $from to $left, not $want"
        ((landings == since && $(now_ms) < end)) || return 1
        sleep 0.05
    done
    ((landings == since))
}

# Taps a key that must turn the piece: any shape but the square changes.
turns() {
    expect_piece "before $1"
    local from=$shape since=$landings
    xdotool key "$1"
    sleep 0.5
    expect_piece "after $1"
    why="$1 left the piece $shape as it was $from"
    ((landings == since)) && { [[ $from == "0,0;1,0;0,1;1,1;" ]] || [[ $shape != "$from" ]]; }
}

# Gravity: one row per 300 ms, within a generous half either way.
falls() {
    expect_piece "falling"
    local top0=$top at0=$seen_at since=$landings
    sleep 1.5
    expect_piece "falling"
    local fell=$((top - top0)) took=$((seen_at - at0))
    why="the piece fell $fell rows in $took ms, not one per 300 ms"
    ((landings == since)) || return 1
    echo "fell $fell rows in $took ms"
    ((fell * 300 * 2 >= took && fell * 300 * 2 <= took * 3))
}

# Drops the piece with $1: a fast fall covers the rows left in a fraction of
# the gravity interval each. A piece already near the bottom is left to land.
drops() {
    expect_piece "before $1"
    local rows=$((31 - bottom)) start since=$landings
    start=$(now_ms)
    ((rows < 10)) || xdotool key "$1"
    until look && ((landings > since)); do
        (($(now_ms) - start < 15000)) || fail "after $1 the piece did not land"
        sleep 0.05
    done
    ((rows >= 10)) || return 1
    local took=$(($(now_ms) - start))
    echo "dropped with $1 over $rows rows in $took ms"
    ((took < rows * 150)) || fail "$1 took $took ms for $rows rows: no fast fall"
}

# Holds a key for $2 seconds: long past the X server's repeat delay.
hold() {
    xdotool keydown "$1"
    sleep "$2"
    xdotool keyup "$1"
    sleep 0.3
}

# Without repetition a held key moves the piece by $2 columns, once.
held() {
    expect_piece "before holding $1"
    local from=$left since=$landings
    hold "$1" 1.5
    expect_piece "after holding $1"
    why="a held $1 took the piece from column $from to $left"
    ((landings == since && left == from + $2))
}

# With repetition a held arrow runs the piece into the wall.
runs() {
    expect_piece "before holding $1"
    local from=$left since=$landings
    hold "$1" 2
    expect_piece "after holding $1"
    why="a held $1 with repetition took the piece from column $from only to $left"
    ((landings == since)) && if [[ $1 == Left ]]; then ((left == 1)); else ((right == 16)); fi
}

# A key that neither turns nor drops: the piece falls as gravity has it.
ignored() {
    expect_piece "before $1"
    local from=$shape top0=$top at0=$seen_at since=$landings
    xdotool key "$1"
    sleep 0.5
    expect_piece "after $1"
    why="$1 still acts on the piece"
    ((landings == since && top - top0 <= (seen_at - at0) / 200 + 1)) && [[ $shape == "$from" ]]
}

phase() { echo "$(($(now_ms) - test_start)) ms: $*"; }

# -displayfd picks a free display itself: parallel tests never collide.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
poll 20 test -s "$work/display" || fail "Xvfb did not start"
DISPLAY=":$(head -n1 "$work/display")"
export DISPLAY
export XDG_RUNTIME_DIR=$work
chmod 700 "$work"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
coproc PROBE { exec "$probe" 2>"$work/probe.log"; }
# shellcheck disable=SC2153 # set by coproc
probe_pid=$PROBE_PID  # bash forgets it once the probe has ended

"$program" >"$work/program.log" 2>&1 &
game=$!
poll 20 frame_shown || fail "no one-pixel green frame around the well"
phase "frame shown"

# ---- Waiting for the first game: "Game Over" blinks every 500 ms, and the
# wait costs next to no processor time.
tick=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$game/stat"; }
sleep 0.5
cpu0=$(cpu) t0=$(now_ms) changes=0 last="" game_over=0
while (($(now_ms) - t0 < 2600)); do
    count "${banner[@]}" FFFF00
    ((counted > game_over)) && game_over=$counted
    now=$((counted > 20))
    [[ -n $last && $now != "$last" ]] && changes=$((changes + 1))
    last=$now
    sleep 0.1
done
used=$(($(cpu) - cpu0)) elapsed=$(($(now_ms) - t0))
phase "Game Over changed $changes times in $elapsed ms; cpu $used ticks of $((elapsed * tick / 1000))"
((changes >= 2 && changes <= 9)) || fail "\"Game Over\" changed $changes times in $elapsed ms, not every 500 ms"
((used * 100000 <= 10 * elapsed * tick)) || fail "more than 10% of a core while waiting for the first game"
look
((n == 0)) || fail "blocks in the well before the first game"
gone info E0E0E0 || fail "the information text shows before \"Info\""

# ---- The menu: the label under the pointer lights up; the bare background
# puts it out.
for i in 0 1 2 3 4; do resting "$i" || fail "menu label $i is lit at the start"; done
point 924 17
poll 5 lit 0 || fail "the pointer over \"Nuova Partita\" does not light it"
point 600 600
poll 5 resting 0 || fail "the background does not put \"Nuova Partita\" out"
point 924 77
poll 5 lit 1 || fail "the pointer over \"Pausa\" does not light it"
caption
pausa=$counted
menu 0

# ---- The level banner blinks fast while the first piece waits in row 1;
# afterwards the banner stays and the piece falls.
at_top() { look && ((n == 4 && top == 1)); }
poll 10 at_top || fail "no piece at the top after \"Nuova Partita\""
# As fast as the probe answers: samples at a steady pace could fall in step
# with the blinking.
entered=$(now_ms) on=0 off=0
while :; do
    ask count "${banner[@]}" FFFF00 well "$cella"
    above=${answer[1]%%#*}  # the cells before the first block
    ((${#above} < 16)) || break
    if ((answer[0] > 20)); then on=$((on + 1)); else off=$((off + 1)); fi
    ((answer[0] <= 20 || answer[0] != game_over)) || fail "the banner still reads \"Game Over\""
    (($(now_ms) - entered < 5000)) || fail "the first piece stayed in row 1 for 5 s"
done
held=$(($(now_ms) - entered))
phase "first piece held $held ms; the banner seen $on times shown and $off times hidden"
((on > 0 && off > 0)) || fail "the level banner did not blink"
((held >= 1200)) || fail "the first piece fell after $held ms of banner"
shown banner FFFF00 20 || fail "the level banner is gone after its blinking"

# ---- "Pausa" holds the piece where it is and the keys do nothing;
# "Continua" lets it fall again.
menu 1
poll 5 longer_than "$pausa" || fail "\"Pausa\" did not become \"Continua\""
expect_piece "paused"
paused_top=$top paused_left=$left since=$landings
xdotool key Left
sleep 1.2
expect_piece "still paused"
((top == paused_top && left == paused_left && landings == since)) ||
    fail "the paused piece moved from row $paused_top, column $paused_left to row $top, column $left"
menu 1
poll 5 as_long_as "$pausa" || fail "\"Continua\" did not become \"Pausa\""

# ---- Playing: gravity, the arrows a column a press, the space bar a turn,
# the Down arrow a fast fall.
on_piece falls
on_piece moves Left -1
on_piece moves Right 1
on_piece turns space
on_piece drops Down

# ---- Without repetition a held Right moves the piece one column (a held
# Left where Right is blocked).
expect_piece "the next piece"
if ((right < 16)); then on_piece held Right 1; else on_piece held Left -1; fi

# ---- The options window drops down under "Opzioni" while the piece goes
# on falling, and the main window takes no click meanwhile.
menu 3
poll 10 shown options 800000 20000 || fail "the options window did not open under \"Opzioni\""
gone capture 800000 || fail "a capture dialog opened with the options"
expect_piece "with the options open"
top_then=$top since=$landings
menu 2
sleep 0.5
ended && fail "\"Esci\" ended the program through the options window"
expect_piece "with the options open"
((top > top_then || landings > since)) || fail "the piece stood still while the options were open"
option 1
poll 5 gone options 800000 || fail "\"Tasti a ripetizione\" did not close the options"

# With repetition a held arrow runs the piece into the wall.
expect_piece "with repetition"
if ((left >= 3)); then on_piece runs Left; else on_piece runs Right; fi

# ---- Paused meanwhile, D A S W bound through the capture dialog. Then the
# new keys steer, and the arrows and the space bar do nothing.
menu 1
poll 5 longer_than "$pausa" || fail "no pause for the new keys"
menu 3
poll 10 shown options 800000 20000 || fail "the options window did not open again"
# Each action's dialog asks with its own yellow text.
new_question() { ask count "${capture[@]}" 800000 count "${capture[@]}" FFFF00; ((answer[0] > 20000 && answer[1] != asked)); }
option 0
asked=0
for key in d a s w; do
    poll 10 new_question || fail "no new capture dialog for $key under the options"
    asked=${answer[1]}
    sleep 0.2
    xdotool key "$key"
done
poll 10 gone options 800000 || fail "the options window stayed after the fourth key"
gone capture 800000 || fail "a capture dialog stayed after the fourth key"
menu 1
poll 5 as_long_as "$pausa" || fail "no \"Continua\" after the new keys"
phase "keys bound"
on_piece moves d 1
on_piece moves Right 0
on_piece moves a -1
on_piece ignored space
on_piece ignored Down
on_piece turns w
on_piece drops s

# ---- "Info" shows its text and hides it again; "Esci" ends the program.
menu 4
poll 5 shown info E0E0E0 5000 || fail "\"Info\" did not show the information text"
menu 4
poll 5 gone info E0E0E0 || fail "\"Info\" did not hide the information text"
menu 2
poll 10 ended || fail "the program did not end after \"Esci\""
status=0
wait "$game" || status=$?
game=""
[[ $status -eq 0 ]] || fail "exit status $status after \"Esci\""

eval "exec ${PROBE[1]}>&-"  # the probe ends with its input
wait "$probe_pid" || true
probe_pid=""
kill "$xvfb"
wait "$xvfb" 2>/dev/null || true
xvfb=""
# pgrep as a direct child of this shell: it leaves itself out of the list.
pgrep -P $$ >"$work/left" || true
[[ ! -s "$work/left" ]] || fail "processes left behind: $(tr '\n' ' ' <"$work/left")"
phase "PASS"
