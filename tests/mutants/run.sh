#!/usr/bin/env bash
# Plants each recorded fault in the game code in turn and checks that the tests
# named in its header fail with it in place, then takes it out again.
#   tests/mutants/run.sh [BUILD_DIR] [PATCH...]     (default: build, every patch)
# A patch starts with "# fault: ..." and "# caught by: <ctest -R regex>", or
# "# caught by: make <target> (...)" for a check that runs outside CTest.
set -uo pipefail
cd "$(git rev-parse --show-toplevel)" || exit 2
build=${1:-build}
shift $(($# > 0 ? 1 : 0))
patches=("$@")
[ ${#patches[@]} -gt 0 ] || patches=(tests/mutants/*.patch)
planted=""
trap '[ -n "$planted" ] && git apply -R "$planted"' EXIT
caught=0 missed=0
for p in "${patches[@]}"; do
  regex=$(sed -n 's/^# caught by: //p' "$p" | head -n 1)
  if ! git apply "$p" 2>/dev/null; then echo "STALE   $p"; missed=$((missed + 1)); continue; fi
  planted=$p
  # A fault in the browser's layer is in the site that make web builds.
  web=$(grep -q '^+++ b/web/' "$p" && echo yes)
  if ! cmake --build "$build" -j2 >/dev/null 2>&1 || { [ -n "$web" ] && ! make web >/dev/null 2>&1; }; then
    verdict="NOBUILD"
  elif [[ $regex == make\ * ]]; then
    target=${regex#make }
    make "${target%% *}" >/dev/null 2>&1 && verdict="MISSED" || verdict="caught"
  elif ! (cd "$build" && ctest -N -R "$regex" | grep -q 'Total Tests: [1-9]'); then
    verdict="NOTEST"
  elif (cd "$build" && ctest -R "$regex" --timeout 300 -j2 >/dev/null 2>&1); then
    verdict="MISSED"
  else
    verdict="caught"
  fi
  git apply -R "$p" && planted=""
  [ -n "$web" ] && make web >/dev/null 2>&1
  [ "$verdict" = caught ] && caught=$((caught + 1)) || missed=$((missed + 1))
  printf '%-8s %s  (%s)\n' "$verdict" "$p" "$regex"
done
cmake --build "$build" -j2 >/dev/null 2>&1
echo "faults: $caught caught, $missed not"
[ "$missed" -eq 0 ]
