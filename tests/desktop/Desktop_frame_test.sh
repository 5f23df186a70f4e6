#!/usr/bin/env bash
# The program's windows on a real desktop: an Xvfb screen of 1280 x 1024 with the
# openbox window manager, and a home of its own. At the first start no two
# windows overlap and all lie on the screen; the main window is the active one
# and a Return pressed at once leaves the program running; the trace closed by
# the window manager comes back with Ctrl+T; F1 opens the guide and the Help menu
# the About box; a moved main window is back at its place after Ctrl+Q and a
# restart, and a trace closed at exit stays closed at the next start.
# Usage: Desktop_frame_test.sh PROGRAM (run from the repository).
set -uo pipefail
program=$1
source scripts/desktop-solve.sh
start_test_display 1280x1024
export PULSE_SERVER=unix:$work/no-server KAVELIN_RECORD_FILE=$work/record.wav

passed=0 failed=0
# Ends the test where nothing more can be checked.
give_up() {
  echo "FAIL: $1"
  echo "$passed passed, $((failed + 1)) failed"
  cat "$work/output"
  exit 1
}
running() { kill -0 "$app" 2>/dev/null; }
main_shown() { find_main_window >/dev/null; }
ended() { ! running; }
active_is() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
focus_is() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
# The shown windows of the program, one "ID X Y WIDTH HEIGHT NAME" a line, each
# with the window manager's frame around it.
shown_windows() {
  local window
  for window in $(xdotool search --onlyvisible --pid "$app" 2>/dev/null); do
    echo "$window $(frame_place "$window") $(xdotool getwindowname "$window" 2>/dev/null)"
  done
}
# Waits until the shown windows keep their places for half a second.
settle() {
  local before now
  before=$(shown_windows)
  for _ in $(seq 20); do
    sleep 0.5
    now=$(shown_windows)
    [ "$now" = "$before" ] && return 0
    before=$now
  done
}
# Whether no two shown windows overlap, frames included.
no_overlap() {
  shown_windows | sort -n >"$work/windows"
  awk '{x[NR] = $2; y[NR] = $3; w[NR] = $4; h[NR] = $5; line[NR] = $0}
    END {bad = 0
      for (i = 1; i <= NR; i++) for (j = i + 1; j <= NR; j++)
        if (x[i] < x[j] + w[j] && x[j] < x[i] + w[i] && y[i] < y[j] + h[j] && y[j] < y[i] + h[i]) {
          print "  overlap: " line[i] " / " line[j]; bad = 1 }
      exit bad}' "$work/windows"
}
# Whether every shown window lies on the 1280 x 1024 screen, frame included.
on_screen() {
  shown_windows | awk '$2 < 0 || $3 < 0 || $2 + $4 > 1280 || $3 + $5 > 1024 {
    print "  off the screen: " $0; bad = 1} END {exit bad}'
}
# Whether the shown windows are the main window and the trace, and no other.
main_and_trace_shown() {
  [ "$(shown_windows | cut -d' ' -f1 | sort)" = "$(printf '%s\n' "$main" "$trace" | sort)" ]
}
trace_hidden() { ! xdotool search --all --onlyvisible --pid "$app" --name "$trace_title" >/dev/null 2>&1; }
# Starts the program and waits for its main window and, unless NOTRACE is given,
# its trace.
start_program() {
  "$program" >>"$work/output" 2>&1 &
  app=$!
  main=$(find_main_window) || give_up "the main window did not appear"
  trace=
  if [ -z "${1:-}" ]; then
    trace=$(find_window "$trace_title" "$app") || give_up "the trace did not appear"
  fi
  settle
}
quit_program() {
  focus_window "$main"
  xdotool key ctrl+q
  wait_for ended
}

# The first start, with nothing saved.
start_program
check "the main window and the trace show at start, and no other window" main_and_trace_shown
check "no two windows overlap at start" no_overlap
check "every window lies on the screen at start" on_screen
check "the main window is active at start" active_is "$main"
check "the main window has the keyboard at start" focus_is "$main"
xdotool key Return
sleep 2
check "Return at start leaves the program running" running
check "Return at start leaves the main window shown" main_shown
running || start_program

# The window manager's close box and Alt+F4 both run its Close action, which asks
# the window to close (WM_DELETE_WINDOW), as a person's click does.
trace_place=$(frame_place "$trace")
focus_window "$trace"
xdotool key alt+F4
check "the window manager closes the trace" wait_for trace_hidden
check "closing the trace leaves the program running" running
focus_window "$main"
xdotool key ctrl+t
trace=$(find_window "$trace_title" "$app") || give_up "Ctrl+T does not show the closed trace again"
passed=$((passed + 1))
check "the trace comes back in front" wait_for active_is "$trace"
settle
check "the trace comes back where it stood" test "$(frame_place "$trace")" = "$trace_place"

focus_window "$main"
xdotool key F1
if guide=$(find_window '^Kavelin Guide$' "$app"); then
  passed=$((passed + 1))
  check "the guide comes in front" wait_for active_is "$guide"
else
  check "F1 opens the window Kavelin Guide" false
fi
focus_window "$main"
xdotool key alt+h
sleep 0.5
xdotool key a
if about=$(find_window '^About Kavelin$' "$app"); then
  passed=$((passed + 1))
  focus_window "$about" && xdotool key Escape
else
  check "Help > About Kavelin opens the About box" false
fi

# The main window moved by the window manager is back at its place after a
# restart, and the trace, left alone, at its own.
moved() { [ "$(window_place "$main" | cut -d' ' -f1-2)" != "$main_place" ]; }
main_place=$(window_place "$main" | cut -d' ' -f1-2)
xdotool windowmove "$main" 300 200
check "the main window moves" wait_for moved
settle
main_place=$(window_place "$main")
trace_place=$(window_place "$trace")
quit_program
check "Ctrl+Q ends the program" ended
wait "$app"
check "Ctrl+Q ends the program with status 0" test $? -eq 0
check "the settings are saved in the test's home" test -s "$XDG_CONFIG_HOME/Kavelin/Kavelin.conf"
start_program
check "the moved main window is back at its place after a restart" \
  test "$(window_place "$main")" = "$main_place"
check "the trace is back at its place after a restart" test "$(window_place "$trace")" = "$trace_place"
check "the main window is active after a restart" active_is "$main"

# A trace closed at exit stays closed at the next start.
focus_window "$trace"
xdotool key alt+F4
wait_for trace_hidden
quit_program
wait "$app"
start_program notrace
sleep 1
check "a trace closed at exit stays closed at the next start" trace_hidden
quit_program
check "the last run ends with Ctrl+Q" ended

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] || cat "$work/output"
[ "$failed" -eq 0 ]
