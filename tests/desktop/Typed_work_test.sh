#!/usr/bin/env bash
# The real program on a real X display (Xvfb with openbox): what a person typed
# into the SAT memo is not lost. Typed text, then Ctrl+Q: the question "Save the
# SAT problem?" shows and Escape (Cancel) keeps the program running. "Test Local"
# pressed on another page replaces the memo out of sight; Ctrl+Z in the memo
# brings the typed text back, byte for byte (read through the clipboard), and
# the question shows again at Ctrl+Q, where Alt+D (Discard) ends the program
# with status 0. Usage: Typed_work_test.sh PROGRAM (run from the repository).
set -uo pipefail
program=$1
source scripts/desktop-solve.sh
command -v xclip >/dev/null || { echo "xclip is missing (scripts/install-deps installs it)"; exit 77; }
start_test_display

# The windows of the program titled "Kavelin": the main one, and the question
# when it shows.
kavelin_windows() {
  local window
  for window in $(xdotool search --onlyvisible --pid "$app" 2>/dev/null); do
    [ "$(xdotool getwindowname "$window" 2>/dev/null)" = Kavelin ] && echo "$window"
  done | wc -l
}
question_shows() { [ "$(kavelin_windows)" -ge 2 ]; }
question_gone() { [ "$(kavelin_windows)" -eq 1 ]; }

# Copies the whole SAT memo to the clipboard and prints it (the memo has the focus).
memo_text() {
  xdotool key ctrl+a ctrl+c
  sleep 0.3
  xclip -o -selection clipboard
}

passed=0 failed=0
"$program" >"$work/output" 2>&1 &
app=$!
main=$(find_main_window) || { echo "the main window did not appear"; cat "$work/output"; exit 1; }
sleep 1
top=$(page_top "$main") || exit 1
focus_window "$main"
# From the start page to the SAT page, then into its memo (its left column).
for _ in 1 2 3 4; do xdotool key --window "$main" ctrl+Tab; sleep 0.3; done
xdotool mousemove --window "$main" 80 $((top + 200)) click 1
sleep 0.3
xdotool key ctrl+End
xdotool type --delay 50 "Clause Number=1"
sleep 0.3
typed=$(memo_text)
check "the typed text reached the memo" [ "$typed" = "Clause Number=1" ]

xdotool key ctrl+q
check "Ctrl+Q after typing asks first" wait_for question_shows
xdotool key Escape
check "Cancel closes the question" wait_for question_gone
sleep 0.5
check "Cancel keeps the program running" kill -0 "$app"

# "Test Local" sits below the pages, on every page: pressed on the next one.
xdotool key --window "$main" ctrl+Tab
sleep 0.5
xdotool mousemove --window "$main" 796 $((top + 524)) click 1
sleep 1
xdotool key --window "$main" ctrl+shift+Tab
sleep 0.5
xdotool mousemove --window "$main" 80 $((top + 200)) click 1
sleep 0.3
generated=$(memo_text)
check "Test Local put a random problem in the memo" grep -q '^\[General Datas\]' <<<"$generated"
xdotool key ctrl+z
sleep 0.3
check "Ctrl+Z in the memo brings the typed text back" [ "$(memo_text)" = "$typed" ]

xdotool key ctrl+q
check "the restored typed text is asked about again" wait_for question_shows
xdotool key alt+d
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.2; done
if kill -0 "$app" 2>/dev/null; then
  echo "FAIL: Discard did not end the program"
  failed=$((failed + 1))
else
  wait "$app"
  check "Discard ends the program with status 0" [ $? -eq 0 ]
  app=
fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
