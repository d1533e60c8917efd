#!/usr/bin/env bash
# compare_batch.sh NATIVE WEB_JS ROOT: runs the native quorv-batch and the
# WebAssembly one under node on the examples of ROOT/examples/batch (every
# subcommand, interval and output format, good and bad input) and on the
# golden batch reports. Standard output (every format, the csv and json
# figures included), standard error and the exit status must agree byte
# for byte.
set -uo pipefail
native=$(realpath "$1") web=$(realpath "$2") root=$3
cd "$root" || exit 1
root=$(pwd)
E=examples/batch
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
failures=0 runs=0

# compare ARGS...: one run of each program from the source folder.
compare() {
  runs=$((runs + 1))
  "$native" "$@" >"$work/n.out" 2>"$work/n.err" </dev/null
  local a=$?
  node "$web" "$@" >"$work/w.out" 2>"$work/w.err" </dev/null
  local b=$?
  if [ "$a" != "$b" ] || ! cmp -s "$work/n.out" "$work/w.out" || ! cmp -s "$work/n.err" "$work/w.err"; then
    failures=$((failures + 1))
    echo "differs: quorv-batch $* (status $a native, $b under node)"
    diff "$work/n.out" "$work/w.out" | head -n 8
    diff "$work/n.err" "$work/w.err" | head -n 4
  fi
}

# golden DIR FILE ARGS...: the node program run in DIR writes the golden
# FILE (of the source folder).
golden() {
  local dir=$1 file=$2
  shift 2
  runs=$((runs + 1))
  if ! (cd "$dir" && node "$web" "$@" 2>/dev/null) | cmp -s - "$root/$file"; then
    failures=$((failures + 1))
    echo "differs from $file: node quorv-batch $*"
  fi
}

for interval in two-sided lower upper; do
  for format in csv json report; do
    compare summary $E/worked_controls_summary.txt $E/worked_pairs.txt --interval $interval --format $format
    compare summary $E/two_thousand_controls.txt $E/tiny_covariate_pairs.txt --interval $interval --format $format
    for raw in worked_controls_raw.txt worked_controls_raw.csv worked_controls_raw_semicolon.csv \
               worked_controls_raw_unicode.txt; do
      compare raw $E/$raw 1 $E/worked_pairs.txt --interval $interval --format $format
    done
  done
done
# Three covariates from raw data (a correlation matrix whose diagonal
# meets binary128 division's hard cases).
printf 'near 52 60 12 100  40 65 13 104\nfar 70 50 6 95  30 75 18 110\n' >"$work/three_pairs.txt"
for interval in two-sided upper; do
  for format in csv report; do
    compare raw examples/three_covariates.txt 3 "$work/three_pairs.txt" --interval $interval --format $format
  done
done
compare summary $E/worked_controls_summary.txt $E/missing_pairs.txt
compare raw $E/worked_controls_raw.txt 2 $E/worked_pairs.txt
compare summary $E/worked_controls_summary.txt $E/tiny_covariate_pairs.txt --keep-going
compare --help
compare summary
golden . tests/batch/golden/batch_summary_report_one_sided_lower.txt \
  summary $E/worked_controls_summary.txt $E/worked_pairs.txt --format report --interval lower
golden $E tests/batch/golden/batch_raw_report_two_sided.txt \
  raw worked_controls_raw.txt 1 worked_pairs.txt --format=report

echo "quorv-batch under node: $((runs - failures)) of $runs runs byte-identical to the native program," \
  "$failures differing"
[ "$failures" -eq 0 ]
