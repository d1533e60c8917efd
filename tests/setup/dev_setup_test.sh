#!/usr/bin/env bash
# The set-up path of ./dev on a machine where packages are missing, with
# stand-ins for the package manager and the build placed first on PATH:
#   dpkg-query  reports every package installed except those in $MISSING,
#               which it reports as the real one does (stderr, status 1);
#   apt-get     records its arguments, and fails "install" when $APT_FAILS;
#   cmake       records its arguments; "--build" makes the program;
#   sudo        runs its arguments (for a run as a plain user).
# The real package manager, compiler and build folder are never touched.
#   dev_setup_test.sh SOURCE_DIR
set -u
src=${1:?source folder}
work=$(mktemp -d "${TMPDIR:-/tmp}/quorv-dev-setup.XXXXXX")
trap 'rm -rf "$work"' EXIT
stubs="$work/bin"
mkdir -p "$stubs"
failures=0
check() {  # check DESCRIPTION COMMAND...
  if "${@:2}"; then echo "ok   $1"; else echo "FAIL $1"; failures=$((failures + 1)); fi
}

cat >"$stubs/dpkg-query" <<'STUB'
#!/usr/bin/env bash
status=0
for arg in "$@"; do
  case "$arg" in -*) continue ;; esac
  if [[ " $MISSING " == *" $arg "* ]]; then
    echo "dpkg-query: no packages found matching $arg" >&2
    status=1
  else
    echo "$arg install ok installed"
  fi
done
exit $status
STUB
cat >"$stubs/apt-get" <<'STUB'
#!/usr/bin/env bash
echo "$*" >>"$LOG/apt-get"
[[ " $* " == *" install "* && -n "${APT_FAILS:-}" ]] && { echo "E: Unable to locate package" >&2; exit 100; }
exit 0
STUB
cat >"$stubs/cmake" <<'STUB'
#!/usr/bin/env bash
echo "$*" >>"$LOG/cmake"
if [ "$1" = "--build" ]; then
  mkdir -p "$2/apps/quorvane"
  printf '#!/bin/sh\necho "quorvane started"\n' >"$2/apps/quorvane/quorvane"
  chmod +x "$2/apps/quorvane/quorvane"
fi
exit 0
STUB
cat >"$stubs/sudo" <<'STUB'
#!/usr/bin/env bash
exec "$@"
STUB
chmod +x "$stubs"/*

# run_dev CASE [VAR=VALUE...] [-- ARGS...]: ./dev ARGS (run quorvane) in a
# fresh build folder; its output goes to $work/CASE.out, its status to
# $work/CASE.status.
run_dev() {
  local name=$1 vars=() args=(run quorvane)
  shift
  while [ $# -gt 0 ] && [ "$1" != -- ]; do vars+=("$1"); shift; done
  [ $# -gt 0 ] && { shift; args=("$@"); }
  mkdir -p "$work/$name/log"
  env PATH="$stubs:$PATH" LOG="$work/$name/log" QUORV_BUILD_DIR="$work/$name/build" MISSING="" "${vars[@]}" \
    "$src/dev" "${args[@]}" >"$work/$name.out" 2>&1
  echo $? >"$work/$name.status"
}
status() { cat "$work/$1.status"; }
said() { grep -qF -- "$2" "$work/$1.out"; }
installs() { grep '^install' "$work/$1/log/apt-get" 2>/dev/null | sed 's/.*--no-install-recommends //'; }

# 1. xdotool is missing: apt-get installs exactly it, then the first build
#    says what it is doing and the program starts.
run_dev missing MISSING=xdotool
check "missing package: exits 0" [ "$(status missing)" = 0 ]
check "missing package: apt-get install xdotool and nothing else" [ "$(installs missing)" = "xdotool" ]
check "missing package: says what it installs" said missing "dev: installing xdotool"
check "first build: says so" said missing "building quorvane, the first build takes a few minutes"
check "first build: the program starts" said missing "quorvane started"

# 2. apt-get fails: ./dev stops, naming the failed step, and starts nothing.
run_dev aptfails MISSING=xdotool APT_FAILS=1
check "apt-get fails: non-zero status" [ "$(status aptfails)" != 0 ]
check "apt-get fails: names the step" said aptfails "dev: apt-get install xdotool failed;"
check "apt-get fails: the program is not started" bash -c "! grep -q 'quorvane started' '$work/aptfails.out'"
check "apt-get fails: nothing is built" [ ! -e "$work/aptfails/log/cmake" ]

# 3. Everything installed: apt-get is not called.
run_dev complete
check "all installed: exits 0" [ "$(status complete)" = 0 ]
check "all installed: apt-get is not called" [ ! -e "$work/complete/log/apt-get" ]

# 4. The browser's packages are not asked for to run a program, and are
#    asked for, after the others, by the browser tests (apt-get failing
#    there, so that nothing is built).
run_dev nobrowser MISSING="chromium xdotool"
check "run without a browser: only xdotool is installed" [ "$(installs nobrowser)" = "xdotool" ]
run_dev browser MISSING="chromium xdotool" APT_FAILS=1 -- browser-test
check "browser tests: xdotool and chromium are asked for" [ "$(installs browser)" = "xdotool chromium" ]
check "browser tests: a failing apt-get names the step" said browser "dev: apt-get install xdotool chromium failed;"
check "browser tests: nothing is built" [ ! -e "$work/browser/log/cmake" ]

if [ $failures -ne 0 ]; then
  for f in "$work"/*.out; do echo "--- $(basename "$f")"; cat "$f"; done
  exit 1
fi
