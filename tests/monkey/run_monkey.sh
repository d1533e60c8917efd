#!/usr/bin/env bash
# Runs the GUI monkey for MINUTES per program, one run after another with
# fresh seeds, and says what it found:
#
#   run_monkey.sh MONKEY MINUTES LOG_FOLDER [MONKEY OPTIONS...]
#
# Each run sends EVENTS events (QUORV_MONKEY_EVENTS, default 5000) and may
# take at most RUN_LIMIT seconds (a run that takes longer has hung). A run
# that fails leaves its whole output (the reason, the seed, the last
# events, the stack) in LOG_FOLDER/<program>-<seed>.log; the first seeds
# of each kind of failure are listed as they come, and every kind with its
# count at the end. Ends with status 1 when any run failed.
set -u

monkey=${1:?the monkey program}
minutes=${2:?minutes per program}
logs=${3:?a folder for the logs}
shift 3
events=${QUORV_MONKEY_EVENTS:-5000}
RUN_LIMIT=600

mkdir -p "$logs" || exit 2
rm -f "$logs"/*.log
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

found=0
for program in quorvik quorvane; do
  deadline=$((SECONDS + minutes * 60))
  runs=0
  failures=0
  sent=0
  declare -A kinds=()
  echo "== $program: $minutes minute(s), $events events a run"
  while [ $SECONDS -lt $deadline ]; do
    seed=$(( (RANDOM << 30) | (RANDOM << 15) | RANDOM ))
    log="$logs/$program-$seed.log"
    # (The subshell keeps the shell's own note of a crash out of the output.)
    (timeout -k 10 $RUN_LIMIT "$monkey" --program "$program" --seed "$seed" --events "$events" "$@" >"$log" 2>&1; exit $?) 2>/dev/null
    status=$?
    [ $status -eq 124 ] && echo "monkey FAILED: no end within $RUN_LIMIT s (the program hangs)" >>"$log"
    runs=$((runs + 1))
    if [ $status -eq 0 ]; then
      sent=$((sent + events))
      rm -f "$log"
      continue
    fi
    failures=$((failures + 1))
    reached=$(sed -n 's/.*, event \([0-9]*\) of .*/\1/p' "$log" | head -n 1)
    sent=$((sent + ${reached:-0}))
    reason=$(sed -n 's/^monkey FAILED: //p' "$log" | head -n 1)
    summary=$(grep -m 1 '^SUMMARY: ' "$log")
    kind="${reason:-ended with status $status}${summary:+ -- $summary}"
    kinds[$kind]=$(( ${kinds[$kind]:-0} + 1 ))
    if [ "${kinds[$kind]}" -le 3 ]; then
      echo "seed $seed: $kind"
      echo "    $log"
    fi
  done
  echo "== $program: $runs runs, about $sent events, $failures failed"
  for kind in "${!kinds[@]}"; do echo "   ${kinds[$kind]} x $kind"; done
  [ $failures -gt 0 ] && found=1
done
exit $found
