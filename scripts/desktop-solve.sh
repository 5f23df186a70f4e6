# Sourced by scripts/solve-memory and the desktop tests: opens a test's Xvfb
# session and drives the program's main window WINDOW on the X display in
# DISPLAY with xdotool, as a person would.

# Generates an unsatisfiable problem on the SAT page (80 clauses of one literal
# over 2 variables), then clicks "Load" and "&Solve": the solve never ends by itself.
start_unsatisfiable_solve() {
  local window=$1 edit
  focus_window "$window"
  # The program starts on the eighth page; the SAT page is the third.
  for _ in 1 2 3 4; do xdotool key --window "$window" ctrl+Tab; sleep 0.3; done
  # Each edit's centre in the window, then its value.
  for edit in "220 95 80" "324 95 2" "416 99 1" "476 99 1"; do
    set -- $edit
    xdotool mousemove --window "$window" "$1" "$2" click --repeat 3 1
    xdotool key --window "$window" ctrl+a type "$3"
    sleep 0.3
  done
  # "Random Generation", "Load", "&Solve".
  for edit in "600 69" "601 101" "600 133"; do
    set -- $edit
    xdotool mousemove --window "$window" "$1" "$2" click 1
    sleep 1
  done
}

# Waits up to twenty seconds for the main window of the program to show and
# prints its id. A window found before it is mapped cannot take the focus.
find_main_window() {
  local window
  for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name '^Kavelin$' 2>/dev/null | head -1 || true)
    [ -n "$window" ] && { echo "$window"; return 0; }
    sleep 0.2
  done
  return 1
}

# Gives WINDOW the keyboard focus and waits up to ten seconds until X reports it:
# without a window manager nothing else does, and a busy machine may take a while.
focus_window() {
  for _ in $(seq 50); do
    xdotool windowfocus "$1" 2>/dev/null
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] && return 0
    sleep 0.2
  done
  return 1
}

# Opens a desktop test's session: skips the test (status 77) where Xvfb or
# xdotool is missing, makes the private folder $work, starts an Xvfb on a free
# display for the rest of the script, and removes both, with the program whose
# pid is in $app, when the script ends.
start_test_display() {
  if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null; then
    echo "Xvfb or xdotool is missing (scripts/install-deps installs them)"
    exit 77
  fi
  work=$(mktemp -d)
  Xvfb -displayfd 3 -screen 0 1280x800x24 3>"$work/display" >/dev/null 2>&1 &
  xvfb=$!
  app=
  trap 'kill $app $xvfb 2>/dev/null; rm -rf "$work"' EXIT
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  export DISPLAY=:$(cat "$work/display") XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=xcb
  # Leaks are the window tests' business; the X libraries keep memory to the end.
  export ASAN_OPTIONS=${ASAN_OPTIONS:-}:detect_leaks=0
}
