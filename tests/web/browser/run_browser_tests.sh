#!/usr/bin/env bash
# run_browser_tests.sh SITE_DIR [quick]: the browser tests in headless
# Chromium against the pages built into SITE_DIR (build-web/site), each
# page opened from file:// with the network shut. "quick" runs the
# representative part that ./dev test runs: the harness's own test, the
# worked example through each page and Save Output's bytes. Where SITE_DIR
# does not exist (a tree that builds no pages) only the harness's own test
# runs, and the run says so.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
site=${1:?usage: run_browser_tests.sh SITE_DIR [quick]}
mode=${2:-all}
export QUORV_SOURCE_DIR=${QUORV_SOURCE_DIR:-$(cd "$here/../../.." && pwd)}

for tool in "${QUORV_CHROMIUM:-/usr/bin/chromium}" "${QUORV_CHROMEDRIVER:-/usr/bin/chromedriver}"; do
  [ -x "$tool" ] || { echo "browser tests: $tool is missing (install chromium and chromium-driver)" >&2; exit 1; }
done
# Debian's python3 with its python3-selenium, whatever python3 comes first on PATH.
python=/usr/bin/python3
"$python" -c 'import selenium' 2>/dev/null ||
  { echo "browser tests: $python cannot import selenium (install python3-selenium)" >&2; exit 1; }

if [ ! -d "$site" ]; then
  echo "browser tests: no site at $site; only the harness's own test runs"
  tests=(test_harness)
else
  export QUORV_SITE_DIR
  QUORV_SITE_DIR=$(cd "$site" && pwd)
  if [ "$mode" = quick ]; then
    tests=(test_harness.Harness
           test_quorvane.Quorvane.test_worked_example_gives_readme_figures_and_save_output_the_golden_bytes
           test_quorvik.Quorvik.test_worked_controls_file_gives_the_loaded_box_and_the_golden_report)
  else
    tests=(test_harness test_quorvane test_quorvik)
  fi
fi
cd "$here" && exec "$python" -m unittest -v "${tests[@]}"
