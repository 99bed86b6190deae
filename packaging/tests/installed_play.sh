#!/bin/sh
# Run by scripts/debian-root.sh in a fresh Debian root, with the folder of the
# built packages at /share: installs the package as someone who takes no
# recommended packages, proves that none of them came in, then runs the
# package's own test against it with autopkgtest, on this root itself.
set -eu
echo 'APT::Install-Recommends "false";' >/etc/apt/apt.conf.d/90no-recommends
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq /share/tumblara_*.deb autopkgtest >/share/installed.log 2>&1 ||
  { tail -20 /share/installed.log; exit 1; }
dpkg-query -W -f='${Package} ${Version}, installed size ${Installed-Size} KiB\n  Depends: ${Depends}\n' tumblara
# What the package only recommends, taken from the package itself.
recommended=$(dpkg-query -W -f='${Recommends}' tumblara | sed 's/([^)]*)//g; s/[,|]/ /g')
dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' $recommended 2>/dev/null | grep '^ii' >&2 &&
  { echo "installed_play: the packages above came in, although only recommended" >&2; exit 1; }
# -B: the installed package is the one tested; the source tree gives the test.
autopkgtest -B /share/tumblara -- null
