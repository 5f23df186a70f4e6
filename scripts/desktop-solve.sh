# Sourced by scripts/solve-memory and the desktop tests: drives the program's main
# window WINDOW on the X display in DISPLAY with xdotool, as a person would.

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
