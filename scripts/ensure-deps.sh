#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when some are missing.
# As root it runs apt-get; otherwise it prints the command to run and fails.
set -euo pipefail

packages=(
  cmake g++ make pkgconf
  qt6-base-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool procps
  fonts-liberation fonts-urw-base35
  python3 desktop-file-utils appstream strace
  libx11-dev libxcb1-dev libxtst-dev libxdamage-dev
  weston qt6-wayland x11-apps sway grim wtype libwayland-dev
  clang libclang-rt-14-dev
  libpulse-dev pulseaudio pulseaudio-utils
)

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
  apt-get install -y -qq "${missing[@]}"
else
  echo "Missing Debian packages. Run:" >&2
  echo "  sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
