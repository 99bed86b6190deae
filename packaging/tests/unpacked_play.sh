#!/usr/bin/env bash
# The package as a user gets it: unpacked into a throw-away root, its program
# started from there under Xvfb. A game begins, a piece falls with its sound
# read from the unpacked data folder, and "Esci" ends the program with status 0.
# usage: unpacked_play.sh tumblara_<version>_<arch>.deb
set -euo pipefail
[[ -n ${UNPACKED_PLAY_X:-} ]] ||
  exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" env UNPACKED_PLAY_X=1 "$0" "$(realpath "$1")"
root=$(mktemp -d /tmp/tumblara-root.XXXXXX)
trap 'kill ${game:-} 2>/dev/null || true; rm -rf "$root"' EXIT
fail() { echo "unpacked_play: $*" >&2; exit 1; }

dpkg -x "$1" "$root"
# Started from another folder, so that nothing is found by accident.
cd "$root/usr"
# The manual page and the copyright file are lintian's to check.
for f in games/tumblara share/icons/hicolor/{16x16,22x22,24x24,32x32,48x48,256x256,scalable}/apps/tumblara.*; do
  [[ -s $f ]] || fail "$f is missing from the package"
done
# The metainfo, the desktop entry it launches and the icon agree on one id.
appstreamcli validate-tree --no-net "$root" || fail "the metainfo and the desktop entry do not agree"
desktop-file-validate share/applications/*.desktop || fail "the desktop entry is not valid"

QT_QPA_PLATFORM=xcb strace -f -qq -e trace=%file -o "$root/trace" "$root/usr/games/tumblara" >/dev/null 2>&1 &
game=$!
timeout 30 xdotool search --sync --onlyvisible --class tumblara >/dev/null || fail "no window"
# The menu's labels stand 200 pixels wide at the right edge, one every 60 pixels.
xdotool mousemove 924 17 click 1  # "Nuova Partita"
# Each step a piece falls plays Impact02.wav, looked up where the build placed it.
wave="$root/usr/share/games/tumblara/Impact02.wav"
fell() { grep -F "\"$wave\"" "$root/trace" | grep -qv ENOENT; }
for _ in $(seq 100); do fell && break; sleep 0.2; done
fell || fail "no piece fell, or its sound was not found at $wave"
xdotool mousemove 924 137 click 1  # "Esci"
timeout 30 tail --pid="$game" -f /dev/null || fail "Esci did not end the program"
wait "$game" || fail "the program ended with status $?"
echo "unpacked_play: a game ran from the unpacked package and Esci ended it with status 0"
