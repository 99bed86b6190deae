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
# run once more. Any other outcome has a verdict of its own:
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
  status=0
  for p in tests/mutants/*.patch; do git apply --check "$p" || { echo "STALE $p"; status=1; }; done
  exit $status
fi
sample=0
[ "${1:-}" = --sample ] && { sample=$2; shift 2; }
build=${1:-build}
shift $(($# > 0 ? 1 : 0))
patches=("$@")
if [ "$sample" -gt 0 ]; then
  # Spread evenly over the sorted list from a place the commit picks, so that
  # every patch comes round over many commits. A package build is too slow here.
  mapfile -t all < <(grep -L '^# caught by: make ' tests/mutants/*.patch)
  n=${#all[@]} at=$((16#$(git rev-parse --short=7 HEAD)))
  for ((i = 0; i < sample && i < n; i++)); do patches+=("${all[(at + i * (n / sample)) % n]}"); done
fi
[ ${#patches[@]} -gt 0 ] || patches=(tests/mutants/*.patch)
check_of() { sed -n 's/^# caught by: //p' "$1" | head -n 1; }

# "name status" for each test the regex names; status Passed, Failed, Skipped, Not (run), Timeout, ...
results() {
  (cd "$build" && ctest -R "$1" --timeout 300 -j2 2>&1) |
    sed -nE 's/^ *[0-9]+\/[0-9]+ +Test +#[0-9]+: ([^ ]+) +\.* *(\*\*\*)?([A-Za-z]+).*/\1 \3/p'
}
failing() {  # those of the named tests that fail
  results "^($(IFS='|'; echo "${*//./\\.}"))\$" | awk '$2 !~ /^(Passed|Skipped|Not)$/ {print $1}'
}
make_check() {  # make TARGET, whose check prints TEXT on failure: Passed, Failed or Other
  local out
  out=$(make "$1" BUILD="$build" 2>&1) && echo Passed && return
  grep -qF -- "$2" <<<"$out" && echo Failed || echo Other
}

declare -A base
regexes=()
for p in "${patches[@]}"; do
  check=$(check_of "$p")
  if [[ $check == make\ * ]]; then
    read -r target text <<<"${check#make }"
    [ -n "${base[make:$target]:-}" ] || base[make:$target]=$(make_check "$target" "$text")
  else
    regexes+=("($check)")
  fi
done
if [ ${#regexes[@]} -gt 0 ]; then
  while read -r name status; do base[$name]=$status; done < <(IFS='|'; results "${regexes[*]}")
fi
echo "clean tree: $(printf '%s\n' "${base[@]}" | sort | uniq -c | awk '{printf "%s%s %s", (NR > 1 ? ", " : ""), $1, $2}')"
for name in "${!base[@]}"; do [ "${base[$name]}" = Passed ] || echo "  ${base[$name]}: $name"; done | sort

judge_make() {  # TARGET TEXT
  case ${base[make:$1]}/$(make_check "$1" "$2") in
    Passed/Failed) verdict=caught ;; Passed/Passed) verdict=MISSED ;; Failed/*) verdict=FAILING ;; *) verdict=NOCHECK ;;
  esac
}
judge_ctest() {  # REGEX
  local name passed=() broken=0 first again
  mapfile -t named < <(cd "$build" && ctest -N -R "$1" | sed -nE 's/^ *Test +#[0-9]+: //p')
  for name in "${named[@]}"; do
    case ${base[$name]:-Not} in Passed) passed+=("$name") ;; Skipped | Not) ;; *) broken=1 ;; esac
  done
  if [ ${#named[@]} -eq 0 ]; then verdict=NOTEST; return; fi
  if [ ${#passed[@]} -eq 0 ]; then verdict=$([ $broken = 1 ] && echo FAILING || echo SKIPPED); return; fi
  mapfile -t first < <(failing "${passed[@]}")
  verdict=MISSED
  [ ${#first[@]} -gt 0 ] || return
  mapfile -t again < <(failing "${first[@]}")
  verdict=FLAKY detail=" ${first[*]}"
  [ ${#again[@]} -eq 0 ] || verdict=caught detail=" ${again[*]}"
}

planted=""
trap '[ -n "$planted" ] && git apply -R "$planted"' EXIT
caught=0 other=0
for p in "${patches[@]}"; do
  check=$(check_of "$p") detail=""
  if ! git apply "$p" 2>/dev/null; then
    verdict=STALE
  else
    planted=$p
    if ! cmake --build "$build" -j2 >/dev/null 2>&1; then
      verdict=NOBUILD
    elif [[ $check == make\ * ]]; then
      read -r target text <<<"${check#make }"
      judge_make "$target" "$text"
    else
      judge_ctest "$check"
    fi
    git apply -R "$p" && planted=""
  fi
  [ $verdict = caught ] && caught=$((caught + 1)) || other=$((other + 1))
  printf '%-8s %s  (%s)%s\n' $verdict "${p#tests/mutants/}" "$check" "${detail:0:90}"
done
cmake --build "$build" -j2 >/dev/null 2>&1
echo "faults: $caught caught, $other not"
[ "$other" -eq 0 ]
