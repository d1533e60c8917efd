# shellcheck shell=bash
# shellcheck disable=SC2034,SC2154  # globals shared with the sourcing script
# Shell helpers for the real-window tests, sourced by real_window_smoke.sh
# and install_test.sh: a private X server, one program started on it with
# the ordinary xcb platform, bounded waits for its windows, screenshots,
# typing, and ending the program by its process id.
#
# The caller sets: work (a temporary folder of its own), and calls
# x_start_server, then x_start_program PROGRAM HOME_FOLDER CURRENT_FOLDER
# [RUN_AS...]. x_cleanup (called from the caller's EXIT trap) ends whatever
# is still running.

# Bounds, in tenths of a second.
WINDOW_WAIT=200   # a window to appear
EXIT_WAIT=100     # the program to end after it was asked to

xvfb_pid=""
program_pid=""

x_tools_missing() {
  local tool
  for tool in Xvfb xdotool xwininfo import identify; do
    if ! command -v "$tool" >/dev/null 2>&1; then
      echo "$tool"
      return 0
    fi
  done
  return 1
}

x_cleanup() {
  [ -n "$program_pid" ] && kill -KILL "$program_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill -TERM "$xvfb_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && wait "$xvfb_pid" 2>/dev/null
  program_pid=""
  xvfb_pid=""
}

fail() {
  echo "FAIL: $*" >&2
  if [ -s "$work/program.log" ]; then
    echo "--- the program's messages:" >&2
    cat "$work/program.log" >&2
  fi
  exit 1
}

# A private X server: Xvfb picks a free display and writes its number.
x_start_server() {
  mkfifo "$work/displayfd"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/displayfd" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  local display=""
  read -r -t 20 display <"$work/displayfd" || true
  [ -n "$display" ] || { cat "$work/xvfb.log" >&2; fail "Xvfb did not start"; }
  export DISPLAY=":$display"
}

# Starts PROGRAM with HOME and the XDG folders under HOME_FOLDER, in
# CURRENT_FOLDER, on the xcb platform; any further arguments are a command
# prefix that runs it as another user (e.g. setpriv ...).
x_start_program() {
  local program=$1 home=$2 cwd=$3
  shift 3
  mkdir -p "$home/.runtime"
  chmod 700 "$home/.runtime"
  (
    cd "$cwd" || exit 1
    export HOME="$home" XDG_DATA_HOME="$home/.local/share" XDG_CONFIG_HOME="$home/.config" \
           XDG_CACHE_HOME="$home/.cache" XDG_RUNTIME_DIR="$home/.runtime" QT_QPA_PLATFORM=xcb
    unset QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE
    exec "$@" "$program"
  ) >"$work/program.log" 2>&1 &
  program_pid=$!
}

program_alive() { kill -0 "$program_pid" 2>/dev/null; }

program_ended() {
  wait "$program_pid"
  local status=$?
  program_pid=""
  fail "the program ended by itself with status $status (128 + signal for a crash)"
}

# Sets window_id to the viewable top-level window whose caption is exactly
# $1, waiting for it; fails when the program ends or the wait runs out.
window_id=""
wait_for_window() {
  local caption=$1 id tries=0
  window_id=""
  while [ $tries -lt $WINDOW_WAIT ]; do
    program_alive || program_ended
    # xwininfo lists each window as: 0x400006 "caption": ("res" "class") ...
    while read -r id _; do
      if xwininfo -id "$id" 2>/dev/null | grep -q "Map State: IsViewable"; then
        window_id=$id
        return 0
      fi
    done < <(xwininfo -root -children 2>/dev/null | grep -F "\"$caption\": (")
    sleep 0.1
    tries=$((tries + 1))
  done
  fail "no window captioned \"$caption\" within $((WINDOW_WAIT / 10)) s; windows on screen: $(viewable_captions)"
}

# The captions of the viewable top-level windows, for messages.
viewable_captions() {
  local id
  while read -r id _; do
    if xwininfo -id "$id" 2>/dev/null | grep -q "Map State: IsViewable"; then
      xwininfo -id "$id" 2>/dev/null | sed -n 's/^xwininfo: Window id: [^ ]* //p'
    fi
  done < <(xwininfo -root -children 2>/dev/null | grep -E '^ +0x[0-9a-f]+ "')
}

# Gives window $1 the keyboard (there is no window manager to do it).
focus_window() {
  timeout 5 xdotool windowfocus --sync "$1" >/dev/null 2>&1 || xdotool windowfocus "$1"
  sleep 0.2
}

# Screenshot of window $1 into file $2; a blank picture fails.
screenshot() {
  sleep 0.3  # let the window finish painting
  import -window "$1" "$2" || fail "no screenshot of window $1"
  local colours
  colours=$(identify -format %k "$2" 2>/dev/null)
  [ "${colours:-0}" -ge 8 ] || fail "the screenshot $2 is blank ($colours colours)"
  echo "screenshot: $2"
}

type_text() { xdotool type --delay 40 "$1"; }
press() { xdotool key --delay 40 "$@"; }
# Clicks at ($2, $3) inside window $1.
click_at() { xdotool mousemove --window "$1" "$2" "$3" click 1; }

# Ends the program by its process id; it must still be running then.
close_program() {
  program_alive || program_ended
  kill -TERM "$program_pid"
  local tries=0
  while program_alive && [ $tries -lt $EXIT_WAIT ]; do
    sleep 0.1
    tries=$((tries + 1))
  done
  program_alive && fail "the program did not end within $((EXIT_WAIT / 10)) s of SIGTERM"
  wait "$program_pid"
  local status=$?
  program_pid=""
  # 143 = ended by the SIGTERM just sent (128 + 15); 0 = closed normally.
  [ $status -eq 143 ] || [ $status -eq 0 ] || fail "the program ended with status $status when closed"
}

# Starts PROGRAM on the offscreen platform (no X server needed) with HOME
# and the XDG folders in a folder of its own, lets it run 1.5 s and ends
# it: it must still be running then, waiting for the user.
start_offscreen_and_close() {
  local program=$1 home=$2
  mkdir -p "$home"
  (
    cd "$home" || exit 1
    export HOME="$home" XDG_DATA_HOME="$home/.local/share" XDG_RUNTIME_DIR="$home" QT_QPA_PLATFORM=offscreen
    exec "$program"
  ) >"$work/program.log" 2>&1 &
  program_pid=$!
  sleep 1.5
  close_program
}

# Worksheet geometry (window coordinates): a point of the Compute button in
# both programs (506 to 543 in Quorvik; in Quorvane lower by the height of
# its File menu), and the Continue button of the matrix window.
COMPUTE_X=110
COMPUTE_Y=538
CONTINUE_X=96
CONTINUE_Y=524

# The worksheet captions of the two programs.
QUORVIK_TITLE="Quorvik.exe: Classical test on the difference between two cases allowing for covariates (Raw data as input) "
QUORVANE_TITLE="Quorvane.exe: Classical test on the difference between two cases allowing for covariates"
