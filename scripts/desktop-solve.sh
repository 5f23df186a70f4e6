# Sourced by scripts/solve-memory, scripts/screenshots and the desktop tests:
# opens a test's X session (Xvfb with the openbox window manager) and drives the
# program's windows on the X display in DISPLAY with xdotool, as a person would.

# Generates an unsatisfiable problem on the SAT page (80 clauses of one literal
# over 2 variables), then clicks "Load" and "&Solve": the solve never ends by itself.
start_unsatisfiable_solve() {
  local window=$1 top edit
  top=$(page_top "$window") || return 1
  focus_window "$window"
  # The program starts on the eighth page; the SAT page is the third.
  for _ in 1 2 3 4; do xdotool key --window "$window" ctrl+Tab; sleep 0.3; done
  # Each edit's centre in the layout's area (below the menu bar), then its value.
  for edit in "220 95 80" "324 95 2" "416 99 1" "476 99 1"; do
    set -- $edit
    xdotool mousemove --window "$window" "$1" $((top + $2)) click --repeat 3 1
    xdotool key --window "$window" ctrl+a type "$3"
    sleep 0.3
  done
  # "Random Generation", "Load", "&Solve".
  for edit in "600 69" "601 101" "600 133"; do
    set -- $edit
    xdotool mousemove --window "$window" "$1" $((top + $2)) click 1
    sleep 1
  done
}

# Counts a desktop test's check: DESCRIPTION, then the COMMAND that must succeed;
# a failure is named. The test keeps $passed and $failed.
check() {
  local what=$1
  shift
  if "$@"; then passed=$((passed + 1)); else echo "FAIL: $what"; failed=$((failed + 1)); fi
}

# Waits up to twenty seconds for COMMAND to succeed.
wait_for() {
  for _ in $(seq 100); do "$@" && return 0; sleep 0.2; done
  return 1
}

# Waits up to twenty seconds for the main window of the program to show and
# prints its id. A window found before it is mapped cannot take the focus.
find_main_window() {
  find_window '^Kavelin$'
}

# Waits up to twenty seconds for a shown window whose title matches the pattern
# NAME (of the process PID when given) and prints its id.
find_window() {
  local window
  for _ in $(seq 100); do
    window=$(xdotool search --all --onlyvisible ${2:+--pid "$2"} --name "$1" 2>/dev/null | head -1 || true)
    [ -n "$window" ] && { echo "$window"; return 0; }
    sleep 0.2
  done
  return 1
}

# The trace window's title.
trace_title='^Trace$'

# Gives WINDOW the keyboard focus and waits up to ten seconds until X reports it.
# Under a window manager the window is activated, as a click on it does; without
# one nothing else gives the focus, and a busy machine may take a while.
focus_window() {
  for _ in $(seq 50); do
    if [ -n "${window_manager:-}" ]; then
      xdotool windowactivate "$1" 2>/dev/null
    else
      xdotool windowfocus "$1" 2>/dev/null
    fi
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] && return 0
    sleep 0.2
  done
  return 1
}

# Where the layout's area starts in the main window WINDOW, below its menu bar:
# the "&File" menu, opened with Alt+F, drops down from the menu bar's bottom edge.
# Prints the height and leaves the menu closed again.
page_top() {
  local window=$1 pid top popup
  pid=$(xdotool getwindowpid "$window") || return 1
  focus_window "$window" || return 1
  top=$(window_place "$window" | cut -d' ' -f2)
  xdotool key alt+f
  for _ in $(seq 50); do
    for popup in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
      xwininfo -id "$popup" 2>/dev/null | grep -q 'Override Redirect State: yes' || continue
      popup=$(window_place "$popup" | cut -d' ' -f2)
      xdotool key Escape
      sleep 0.3
      echo $((popup - top))
      return 0
    done
    sleep 0.1
  done
  echo "Alt+F opened no menu in window $window" >&2
  return 1
}

# Prints "X Y WIDTH HEIGHT" of WINDOW's own area on the screen.
window_place() {
  xwininfo -id "$1" 2>/dev/null | awk '/Absolute upper-left X:/ {x = $4}
    /Absolute upper-left Y:/ {y = $4} /^  Width:/ {w = $2} /^  Height:/ {h = $2}
    END {if (w == "") exit 1; print x, y, w, h}'
}

# Prints "X Y WIDTH HEIGHT" of WINDOW with the window manager's frame around it
# (its title bar and borders, from _NET_FRAME_EXTENTS).
frame_place() {
  local x y w h left right top bottom
  read -r x y w h < <(window_place "$1") || return 1
  read -r left right top bottom < <(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null |
    sed -n 's/.*= *//p' | tr -d ,)
  echo $((x - ${left:-0})) $((y - ${top:-0})) $((w + ${left:-0} + ${right:-0})) \
    $((h + ${top:-0} + ${bottom:-0}))
}

# Opens a desktop test's session: skips the test (status 77) where Xvfb, openbox,
# xdotool or the X utilities are missing; makes the private folder $work with a
# home of its own ($HOME, $XDG_CONFIG_HOME, $XDG_DATA_HOME, $XDG_CACHE_HOME inside
# it), so that the program's saved settings never leak between runs; starts an
# Xvfb of SIZE (default 1280x1024) on a free display and openbox on it for the
# rest of the script, and removes them, with the program whose pid is in $app,
# when the script ends.
start_test_display() {
  local size=${1:-1280x1024} tool
  for tool in Xvfb openbox xdotool xwininfo xprop; do
    if ! command -v "$tool" >/dev/null; then
      echo "$tool is missing (scripts/install-deps installs it)"
      exit 77
    fi
  done
  work=$(mktemp -d)
  export HOME=$work/home
  export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
  mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
  xvfb=$!
  app=
  window_manager=
  trap 'kill $app $window_manager $xvfb 2>/dev/null; rm -rf "$work"' EXIT
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || { echo "Xvfb did not start"; exit 1; }
  export DISPLAY=:$(cat "$work/display") XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=xcb
  # Leaks are the window tests' business; the X libraries keep memory to the end.
  export ASAN_OPTIONS=${ASAN_OPTIONS:-}:detect_leaks=0
  for _ in $(seq 100); do xprop -root >/dev/null 2>&1 && break; sleep 0.1; done
  # openbox runs once it names itself on the root window; a second try where the
  # first did not reach the display.
  for _ in 1 2; do
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    window_manager=$!
    for _ in $(seq 100); do
      xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
      kill -0 "$window_manager" 2>/dev/null || break
      sleep 0.1
    done
  done
  echo "openbox did not start"
  cat "$work/openbox.log"
  exit 1
}
