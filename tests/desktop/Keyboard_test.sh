#!/usr/bin/env bash
# The real program on a real X display (Xvfb), driven with xdotool as a person
# would: Ctrl+Shift+Tab to the SAT page, numbers typed into the up-down edits
# (one beyond the range, one no number) then "Random Generation", the memo saved
# through the "&Save" dialog and read back, Tab out of the memo into the first
# edit, then Escape in capture runs without a sound server, between passes and
# on a "Next" box, after which the window answers again. Under openbox, with a
# home of its own. Usage: Keyboard_test.sh PROGRAM (run from the repository).
set -uo pipefail
program=$1
source scripts/desktop-solve.sh
start_test_display
# No sound server, and an earlier recording shorter than one picture.
export PULSE_SERVER=unix:$work/no-server KAVELIN_RECORD_FILE=$work/record.wav KAVELIN_SEED=5
head -c 300 /dev/zero | tr '\0' '\200' >"$work/record.wav"

passed=0 failed=0
# The centre of a control, in the main window, from its place on the page: the
# pages start at (9, 49) in the layout's area, which starts at (0, $top).
click_page() { xdotool mousemove --window "$main" $((9 + $1)) $((top + 49 + $2)) click 1; sleep 0.3; }
type_into() {  # type_into X Y TEXT: replaces the text of the edit at X, Y
  click_page "$1" "$2"
  xdotool key ctrl+a type "$3"
}
# Whether the pixel at X, Y of the layout's area is black.
black_at() { import -window "$main" -crop "1x1+$1+$((top + $2))" txt:- 2>/dev/null | grep -q '#000000'; }
main_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$main" ]; }
# Whether a dialog of the main window shows (a window that names it as its owner).
dialog_open() {
  local window
  for window in $(xdotool search --onlyvisible --pid "$app" 2>/dev/null); do
    xprop -id "$window" WM_TRANSIENT_FOR 2>/dev/null | grep -qi "$(printf '0x%x' "$main")" && return 0
  done
  return 1
}
# Saves the SAT memo through "&Save" into FILE.
save_memo() {
  click_page 213 124
  wait_for dialog_open || return 1
  xdotool type "$1"
  xdotool key Return
  wait_for test -f "$1" || return 1
  # The window manager gives the focus back to the main window by itself.
  wait_for main_active
}

"$program" >"$work/output" 2>&1 &
app=$!
main=$(find_main_window) || { echo "the main window did not appear"; cat "$work/output"; exit 1; }
sleep 1
focus_window "$main" || { echo "the main window does not take the focus"; exit 1; }
top=$(page_top "$main") || exit 1

# From the eighth page back to the third, "SAT".
for _ in 1 2 3 4 5; do xdotool key ctrl+shift+Tab; sleep 0.2; done
type_into 212 46 150  # "Nb Clauses": beyond the range
type_into 316 46 abc  # "Nb of Literals": no number
click_page 592 20     # "Random Generation"
check "the typed values are generated and saved through the dialog" save_memo "$work/typed.txt"
check "150 clauses are 100, abc literals the 24 before" \
  grep -q $'^Clause Number=100\r$' "$work/typed.txt"
check "abc gives way to 24" grep -q $'^Total Literal Number=24\r$' "$work/typed.txt"

# Tab leaves the memo for "Nb Clauses", whose new number the next generation uses.
click_page 80 150
xdotool key Tab
xdotool type 7
click_page 592 20
check "a memo passes Tab on" save_memo "$work/tabbed.txt"
check "7 clauses after Tab" grep -q $'^Clause Number=7\r$' "$work/tabbed.txt"
check "no tab typed into the memo" bash -c "! grep -q $'\t' '$work/tabbed.txt'"

# "Capture Son", three pages on; each capture pass shows the earlier recording.
for _ in 1 2 3; do xdotool key ctrl+shift+Tab; sleep 0.2; done
click_page 240 44  # "Capture son en cours"
sleep 1
xdotool key Escape
# Bytes of 128 are dots 137 pixels down the picture, which starts at (8, 240).
check "the capture shows the earlier recording" wait_for black_at $((9 + 8 + 100)) $((49 + 240 + 137))
# A recording of two pictures: a "Next" box in every pass, dismissed by Escape.
head -c 1000 /dev/zero | tr '\0' '\200' >"$work/record.wav"
sleep 1
click_page 240 44
sleep 1
xdotool key Escape
check "the first picture of two stays after Escape on its box" \
  wait_for black_at $((9 + 8 + 500)) $((49 + 240 + 137))
# Both runs have ended: the window takes keys and clicks again.
focus_window "$main"
for _ in 1 2 3; do xdotool key ctrl+Tab; sleep 0.2; done
check "the window answers after Escape in capture runs" save_memo "$work/after.txt"
check "the memo is unchanged" cmp -s "$work/tabbed.txt" "$work/after.txt"

click_page 788 507  # "&Quit"
wait_for bash -c "! kill -0 $app 2>/dev/null"
check "&Quit ends the program" bash -c "! kill -0 $app 2>/dev/null"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] || cat "$work/output"
[ "$failed" -eq 0 ]
