#!/usr/bin/env bash
# Installs the Debian packages a task needs, when some are missing.
#   ensure-deps.sh run    building and running the game
#   ensure-deps.sh deb    the same, plus what `make deb` needs
#   ensure-deps.sh web    the browser build (`make web`)
#   ensure-deps.sh test   all of the above, plus the test suite and CI tools
#   ensure-deps.sh roots  what builds and enters throw-away Debian roots
# As root it runs apt-get; otherwise it prints the one command to run and
# fails, so that nothing is built half-equipped.
set -euo pipefail

# The game: compiler, Qt, the X11 and Pulse headers it builds against, the
# fonts it names and Qt's Wayland platform (the X11 one comes with Qt's GUI
# library). No sound server or compositor: the desktop brings its own.
run=(
  cmake g++ make
  qt6-base-dev qt6-wayland
  libx11-dev libxcb1-dev libpulse-dev
  fonts-liberation fonts-urw-base35
)
deb=(
  debhelper dpkg-dev
)
# The browser build: Debian's emscripten (which does not bring the cmake its
# emcmake runs), a host compiler for the tool that writes the waves, and the
# two serif faces the page serves (GUST font licence).
web=(
  emscripten cmake g++ make
  fonts-texgyre
)
# The browser tests: Chromium driven over its DevTools protocol from Python,
# screenshots decoded by Pillow.
browser=(
  chromium python3 python3-websocket python3-pil
)
test=(
  pkgconf libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool procps
  python3 desktop-file-utils appstream strace lintian
  libxtst6 libxdamage1
  sway grim wtype
  clang libclang-rt-dev
  pulseaudio pulseaudio-utils
)

roots=(
  debootstrap
)

# The game needs nothing its packages only recommend; the suite was proven
# with the recommended packages in place, so it keeps them.
lean=(--no-install-recommends)
case "${1:-run}" in
  run)  packages=("${run[@]}") ;;
  deb)  packages=("${run[@]}" "${deb[@]}") ;;
  web)  packages=("${web[@]}") ;;
  test) packages=("${run[@]}" "${deb[@]}" "${test[@]}" "${web[@]}" "${browser[@]}"); lean=() ;;
  roots) packages=("${roots[@]}") ;;
  *)    echo "usage: $0 run|deb|web|test|roots" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

if [[ $(id -u) -eq 0 ]]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${lean[@]}" "${missing[@]}"
else
  echo "Missing Debian packages. Run:" >&2
  echo "  sudo apt-get install -y ${lean[*]}${lean:+ }${missing[*]}" >&2
  exit 1
fi
