#!/usr/bin/env bash
# Builds every fuzz target and runs each for SECONDS (default 60) from its
# seed corpus in corpus/<target>/. New corpus entries go to a scratch
# folder, never into the source tree; crash inputs go to
# <build>/artifacts/<target>/, libFuzzer's output to <build>/logs/<target>.log.
# Prints one line per target and exits non-zero when any target finds a
# crash, an assertion failure, a leak or a hang (or does not run).
#   tests/fuzz/run.sh [SECONDS]
set -uo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
SECONDS_EACH=${1:-60}
case "$SECONDS_EACH" in
  ''|*[!0-9]*) echo "usage: tests/fuzz/run.sh [SECONDS]" >&2; exit 2 ;;
esac

BUILD=$(bash "$HERE/build.sh") || exit 1
TARGETS=()
for seeds in "$HERE"/corpus/*/; do TARGETS+=("$(basename "$seeds")"); done

scratch=$(mktemp -d "${TMPDIR:-/tmp}/quorv-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$BUILD/logs"
passed=0
failed=0
echo "fuzz: ${#TARGETS[@]} targets, ${SECONDS_EACH} s each"
for name in "${TARGETS[@]}"; do
  log="$BUILD/logs/$name.log"
  artifacts="$BUILD/artifacts/$name"
  mkdir -p "$artifacts" "$scratch/$name"
  options=(-max_total_time="$SECONDS_EACH" -print_final_stats=1 -timeout=10
           -artifact_prefix="$artifacts/")
  [ -f "$HERE/dict/$name.dict" ] && options+=(-dict="$HERE/dict/$name.dict")
  "$BUILD/$name" "${options[@]}" "$scratch/$name" "$HERE/corpus/$name" >"$log" 2>&1
  rc=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  corpus=$(ls "$scratch/$name" | wc -l)
  if [ $rc -eq 0 ]; then
    passed=$((passed + 1))
    printf '%-22s ok       %12s runs, %5s new corpus entries\n' "$name" "${runs:-?}" "$corpus"
  else
    failed=$((failed + 1))
    found=$(sed -n 's/.*Test unit written to //p' "$log" | tail -n 1)
    printf '%-22s FAILED   %12s runs, exit %d, input %s\n' "$name" "${runs:-?}" "$rc" "${found:-(none written)}"
    grep -m 3 -E 'ERROR: (AddressSanitizer|UndefinedBehaviorSanitizer|LeakSanitizer|libFuzzer)|runtime error|^[a-zA-Z ]+: .* for text|^raw data file|^saved inputs|^pairs' "$log" | sed 's/^/    /'
    echo "    log: $log"
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ $failed -eq 0 ]
