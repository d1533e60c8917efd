#!/usr/bin/env bash
# run_web_bench.sh BUILD BUILD_WEB: the engine's timing loop natively and
# under node, side by side with the ratio, then each page's time to ready
# and to Compute (when BUILD_WEB/site holds the pages). A benchmark, not a
# test: nothing here fails on a slow figure.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
native=$1/bench/bench_engine_loop web=$2/bench/bench_engine_loop.js site=$2/site
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
"$native" >"$work/native" || { echo "web-bench: $native failed" >&2; exit 1; }
node "$web" >"$work/web" || { echo "web-bench: node $web failed" >&2; exit 1; }
echo "== the engine, microseconds a CompareTwoCases call (medians of 5)"
printf '%-48s %12s %12s %8s\n' case native "under node" ratio
join <(awk '{ print $1, $2 }' "$work/native" | sort) <(awk '{ print $1, $2 }' "$work/web" | sort) |
  awk '{ printf "%-48s %12.2f %12.2f %8.1f\n", $1, $2, $3, $3 / $2 }'
if [ -f "$site/quorvane.html" ] && [ -f "$site/quorvik.html" ]; then
  echo "== the pages from file:// in headless Chromium"
  /usr/bin/python3 "$here/page_speed.py" "$site" || { echo "web-bench: the page timings failed" >&2; exit 1; }
else
  echo "web-bench: no pages in $site; the page timings are left out"
fi
