#!/usr/bin/env bash
# Starts one program on a private X server (Xvfb) with the ordinary xcb
# platform, as a user's desktop would run it, and checks what a person sees:
#
#   real_window_smoke.sh start   quorvik|quorvane PROGRAM SHOTS
#   real_window_smoke.sh compute quorvik|quorvane PROGRAM SHOTS SOURCE_DIR
#   real_window_smoke.sh scaled  quorvik|quorvane PROGRAM SHOTS
#
# start:   the worksheet window with the program's exact caption is mapped;
#          a screenshot of it goes to SHOTS/<program>_worksheet.png.
# scaled:  the same at QT_SCALE_FACTOR=2, where the worksheet is larger
#          than the screen: it must lie wholly on the screen, whose
#          screenshot goes to SHOTS/<program>_worksheet_scale2.png.
# compute: the worked example is typed into the real windows with xdotool
#          (Quorvane: k, N, the grid -- its mean typed with seven
#          characters, which warns once and keeps six --, Compute, the
#          correlation 0.6 in the matrix window, Continue; Quorvik: n, k,
#          Compute, the data file
#          examples/worked_controls.txt in the open dialog) until the
#          results window is mapped with the report's figure painted;
#          screenshots of the matrix window and of the results window go to
#          SHOTS; the saved-inputs file must hold what was typed.
#
# The program runs from a copy in a temporary folder with HOME and the XDG
# folders there too, so its saved inputs never land beside the build. It is
# ended by its process id; a program that ends by itself (a crash) or shows
# no window fails the test. Every wait is bounded. Exit status 77 (skipped)
# when Xvfb, xdotool, xwininfo or ImageMagick is not installed.
set -u

mode=${1:?mode}
name=${2:?program name}
program=${3:?program path}
shots=${4:?screenshot folder}
source_dir=${5:-}

case "$name" in
  quorvik|quorvane) ;;
  *) echo "unknown program $name" >&2; exit 2 ;;
esac

here=$(cd "$(dirname "$0")" && pwd)
. "$here/x_session.sh"

if missing=$(x_tools_missing); then
  echo "SKIP: $missing is not installed (packages xvfb x11-utils xdotool imagemagick)"
  exit 77
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/quorv-smoke.XXXXXX")
trap 'x_cleanup; rm -rf "$work"' EXIT
trap 'exit 1' INT TERM

x_start_server
# The program runs from a copy in a folder of its own, which is writable,
# so its saved inputs go beside it there.
mkdir -p "$work/bin" "$work/home" "$work/cwd" "$shots"
cp "$program" "$work/bin/$name"
# scaled: the display scale of 2 makes the 1280 x 1024 screen too small
# for the worksheet, which must still lie wholly on it.
[ "$mode" = scaled ] && export QT_SCALE_FACTOR=2
x_start_program "$work/bin/$name" "$work/home" "$work/cwd"

if [ "$name" = quorvik ]; then title=$QUORVIK_TITLE; saved=Quorvik.txt; else title=$QUORVANE_TITLE; saved=Quorvane.txt; fi
wait_for_window "$title"; worksheet=$window_id
echo "worksheet window $worksheet: \"$title\""
[ "$mode" = start ] && screenshot "$worksheet" "$shots/${name}_worksheet.png"
if [ "$mode" = scaled ]; then
  # With the keyboard, the window scrolls its focused field into view.
  focus_window "$worksheet"
  eval "$(xdotool getwindowgeometry --shell "$worksheet")"  # X, Y, WIDTH, HEIGHT
  [ "$X" -ge 0 ] && [ "$Y" -ge 0 ] && [ $((X + WIDTH)) -le 1280 ] && [ $((Y + HEIGHT)) -le 1024 ] ||
    fail "the worksheet at $X,$Y, $WIDTH x $HEIGHT is not wholly on the 1280 x 1024 screen"
  screenshot root "$shots/${name}_worksheet_scale2.png"
fi

if [ "$mode" = compute ]; then
  [ -n "$source_dir" ] || fail "compute needs the source folder"
  focus_window "$worksheet"
  if [ "$name" = quorvane ]; then
    # k = 1, N = 10, then Tab into the grid (its first cell is the name of
    # the task, already "Task"): mean, SD, Case A, Case B of the task; Tab
    # passes over the row numbers to the covariate's name, then its four
    # values.
    type_text 1; press Tab; type_text 10; press Tab Tab
    # Seven characters in the Mean cell: the release of the seventh shows
    # the length warning once; Return closes it, the program goes on and
    # the cell keeps the first six characters ("50.000", which the saved
    # inputs show).
    type_text 50.0000
    wait_for_window "Warning"; box=$window_id
    focus_window "$box"
    press Return
    sleep 0.5
    program_alive || program_ended
    warnings=$(viewable_captions | grep -c '^"Warning"') || true
    [ "$warnings" -eq 0 ] || fail "the length warning came back after Return"
    focus_window "$worksheet"
    press Tab; type_text 10; press Tab; type_text 40; press Tab; type_text 55
    press Tab Tab
    type_text 10; press Tab; type_text 2; press Tab; type_text 12; press Tab; type_text 9
    sleep 0.2
    screenshot "$worksheet" "$shots/${name}_worksheet_filled.png"
    click_at "$worksheet" $COMPUTE_X $COMPUTE_Y
    wait_for_window "Matrix Entry"; matrix=$window_id
    focus_window "$matrix"
    # The one editable cell has the focus with its "0.000" selected.
    type_text 0.6
    screenshot "$matrix" "$shots/matrix_entry.png"
    click_at "$matrix" $CONTINUE_X $CONTINUE_Y
  else
    cp "$source_dir/examples/worked_controls.txt" "$work/cwd/"
    type_text 10; press Tab; type_text 1
    click_at "$worksheet" $COMPUTE_X $COMPUTE_Y
    wait_for_window "Open"; dialog=$window_id
    focus_window "$dialog"
    # The dialog starts in the current folder with the file-name field focused.
    type_text worked_controls.txt; press Return
    wait_for_window "Information"; box=$window_id
    focus_window "$box"
    press Return
  fi
  wait_for_window "Results viewer: $title"; results=$window_id
  screenshot "$results" "$shots/${name}_results.png"
  # The report's figure is painted under it: the window's only colours
  # (the share of strongly saturated pixels is 0 without it, about 0.009
  # with it).
  coloured=$(convert "$shots/${name}_results.png" -colorspace HSL -channel G -separate +channel \
               -threshold 40% -format "%[fx:mean]" info:)
  awk -v share="$coloured" 'BEGIN { exit !(share > 0.003) }' ||
    fail "no figure in the results window (coloured share ${coloured:-none})"

  # The inputs were saved beside the program (its folder is writable).
  [ -f "$work/bin/$saved" ] || fail "no saved inputs $saved beside the program"
  if [ "$name" = quorvane ]; then
    expected=$(printf '%s\n' 1 10 Task 50.000 10 40 55 "Cov 1" 10 2 12 9 1.000 0.600 1.000)
  else
    expected="10 1       "
  fi
  [ "$(cat "$work/bin/$saved")" = "$expected" ] ||
    fail "$saved holds \"$(cat "$work/bin/$saved")\" instead of \"$expected\""
fi

close_program
echo "PASS: $name ($mode)"
exit 0
