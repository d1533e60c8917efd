#!/usr/bin/env bash
# How long a program takes from being started until its worksheet window
# is on screen (mapped and viewable), on a private X server with the xcb
# platform. Not part of the test suite (no timed tests there); run it by
# hand on a built tree:
#
#   tests/apps/measure_startup.sh build/apps/quorvane/quorvane [RUNS]
#
# Prints every run and the median, in milliseconds.
set -u

program=$(realpath "${1:?program path}")
runs=${2:-10}
name=$(basename "$program")
here=$(cd "$(dirname "$0")" && pwd)
. "$here/x_session.sh"

if missing=$(x_tools_missing); then
  echo "$missing is not installed" >&2
  exit 2
fi
case "$name" in
  quorvik) title=$QUORVIK_TITLE ;;
  quorvane) title=$QUORVANE_TITLE ;;
  *) echo "unknown program $name" >&2; exit 2 ;;
esac

work=$(mktemp -d "${TMPDIR:-/tmp}/quorv-startup.XXXXXX")
trap 'x_cleanup; rm -rf "$work"' EXIT
trap 'exit 1' INT TERM
x_start_server
mkdir -p "$work/home" "$work/cwd"

# The worksheet is looked for every 5 ms; its id is not known beforehand.
mapped() {
  local id
  while read -r id _; do
    xwininfo -id "$id" 2>/dev/null | grep -q "Map State: IsViewable" && return 0
  done < <(xwininfo -root -children 2>/dev/null | grep -F "\"$title\": (")
  return 1
}

times=()
for ((run = 1; run <= runs; run++)); do
  start=$(date +%s%N)
  x_start_program "$program" "$work/home" "$work/cwd"
  until mapped; do
    program_alive || program_ended
    [ $(( ($(date +%s%N) - start) / 1000000 )) -lt 20000 ] || fail "no window within 20 s"
    sleep 0.005
  done
  elapsed=$(( ($(date +%s%N) - start) / 1000000 ))
  close_program
  times+=("$elapsed")
  echo "run $run: $elapsed ms"
done
mapfile -t sorted < <(printf '%s\n' "${times[@]}" | sort -n)
count=${#sorted[@]}
if (( count % 2 )); then
  median=${sorted[count / 2]}
else
  median=$(( (sorted[count / 2 - 1] + sorted[count / 2]) / 2 ))
fi
echo "$name: median $median ms over $count runs (min ${sorted[0]}, max ${sorted[count - 1]})"
