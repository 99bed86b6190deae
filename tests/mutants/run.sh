#!/usr/bin/env bash
# Plants each recorded fault in the game code in turn, runs the tests named in
# its header, then takes it out again.
#   tests/mutants/run.sh [BUILD_DIR] [PATCH...]    every patch by default
#   tests/mutants/run.sh --sample N BUILD_DIR      N of the patches CTest judges, picked by the commit
#   tests/mutants/run.sh --check                   only that every patch still applies
# A patch starts with "# fault: ..." and "# caught by: <ctest -R regex>", or
# "# caught by: make <target> <text>" for a check outside CTest that prints
# <text> when it fails.
#
# The named tests run first on the clean tree. A fault is caught only when a
# test that passed there fails with the fault in place, and fails again when
# run once more (a make check, slow, is taken at its word). Other verdicts:
#   MISSED   every named test that passed on the clean tree passes with it
#   FLAKY    a test failed with it once, then passed
#   FAILING  no named test passes on the clean tree, and one fails there
#   SKIPPED  the named tests are skipped or not run on the clean tree (a tool is missing)
#   NOCHECK  the make target failed, but not in its check
#   STALE, NOBUILD, NOTEST   the patch no longer applies; the tree does not
#            build with it; no test has that name
set -uo pipefail
cd "$(dirname "$0")/../.." || exit 2
if [ "${1:-}" = --check ]; then
  for p in tests/mutants/*.patch; do git apply --check "$p" || echo "STALE $p"; done | grep STALE && exit 1
  exit 0
fi
sample=0
[ "${1:-}" = --sample ] && { sample=$2; shift 2; }
build=${1:-build} patches=("${@:2}")
# A sample spreads evenly over the sorted list from a place the commit picks, so
# that every patch comes round over many commits. A package build is too slow here.
mapfile -t all < <(grep -L '^# caught by: make ' tests/mutants/*.patch)
n=${#all[@]} at=$((16#$(git rev-parse --short=7 HEAD)))
for ((i = 0; i < sample && i < n; i++)); do patches+=("${all[(at + i * (n / sample)) % n]}"); done
[ ${#patches[@]} -gt 0 ] || patches=(tests/mutants/*.patch)
check_of() { sed -n 's/^# caught by: //p' "$1" | head -n 1; }

# CHECK [CTEST OPTION...]: "number status name" for each run of each test the
# check names, a CTest regex. Status: Passed, Failed, Skipped, Not (run), Timeout,
# Exception; Other for a make target that failed elsewhere.
run_check() {
  if [[ $1 == make\ * ]]; then
    read -r _ target text <<<"$1"
    out=$(make "$target" 2>&1) && echo "$target Passed make $target" && return
    grep -qF -- "$text" <<<"$out" && echo "$target Failed make $target" || echo "$target Other make $target"
  else
    (cd "$build" && ctest -R "$1" "${@:2}" --timeout 300 -j2 2>&1) |
      sed -nE 's/^ *([0-9]+\/[0-9]+ +)?Test +#([0-9]+): (.*) \.+ *(\*\*\*)?([A-Za-z]+).* sec$/\2 \5 \3/p'
  fi
}

cmake --build "$build" -j2 >/dev/null 2>&1 || { echo "the clean tree does not build in $build"; exit 2; }
declare -A base name
while read -r check; do
  while read -r n status text; do base[$n]=$status name[$n]=$text; done < <(run_check "$check")
done < <(for p in "${patches[@]}"; do check_of "$p"; done | sort -u)
printf '%s\n' "${base[@]}" | sort | uniq -c | awk '{s = s (NR > 1 ? ", " : "") $1 " " $2} END {print "clean tree: " s}'
for n in "${!base[@]}"; do [ "${base[$n]}" = Passed ] || echo "  ${base[$n]}: ${name[$n]}"; done | sort

judge() {  # CHECK: sets verdict and detail
  local n status text named=0 passed=0 broken=0
  local -A fails=()  # by test: how many runs failed
  while read -r n status text; do
    named=1
    case ${base[$n]:-Not} in Passed) passed=1 ;; Skipped | Not | Other) continue ;; *) broken=1 && continue ;; esac
    case $status in Passed | Skipped | Not) ;; Other) verdict=NOCHECK && return ;; *) ((fails[$n] += 1)) ;; esac
  done < <(run_check "$1" --repeat until-pass:2)
  if ((!named)); then verdict=NOTEST
  elif ((!passed)); then verdict=$( ((broken)) && echo FAILING || echo SKIPPED)
  elif [ ${#fails[@]} -eq 0 ]; then verdict=MISSED
  else
    # A test that fails runs once more; a make check, slow, is taken at its word.
    verdict=FLAKY
    for n in "${!fails[@]}"; do [[ ${fails[$n]} -gt 1 || $1 == make\ * ]] && verdict=caught; done
    for n in "${!fails[@]}"; do text=${name[$n]:-#$n} && detail+=" ${text%%  *}"; done
  fi
}

planted="" caught=0 other=0
trap '[ -n "$planted" ] && git apply -R "$planted"' EXIT
for p in "${patches[@]}"; do
  check=$(check_of "$p") detail=""
  # The site that make web builds holds the browser layer and the shared code.
  web=$( { grep -q "^+++ b/web/" "$p" || [[ $check == *Browser* ]]; } && echo yes)
  verdict=STALE
  if git apply "$p" 2>/dev/null; then
    planted=$p verdict=NOBUILD
    cmake --build "$build" -j2 >/dev/null 2>&1 && { [ -z "$web" ] || make web >/dev/null 2>&1; } && judge "$check"
    git apply -R "$p" && planted=""
    [ -z "$web" ] || make web >/dev/null 2>&1
  fi
  [ $verdict = caught ] && caught=$((caught + 1)) || other=$((other + 1))
  printf '%-8s %s  (%s)%s\n' $verdict "${p#tests/mutants/}" "$check" "${detail:0:90}"
done
cmake --build "$build" -j2 >/dev/null 2>&1
echo "faults: $caught caught, $other not"
[ "$other" -eq 0 ]
