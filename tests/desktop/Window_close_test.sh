#!/usr/bin/env bash
# The real program on a real X display (Xvfb with openbox): its main window
# destroyed from outside (`xdotool windowclose`, as a window manager's "destroy"
# does) ends the program with status 0, as closing it does, at rest and during a
# solve that never ends. Usage: Window_close_test.sh PROGRAM (run from the repository).
set -uo pipefail
program=$1
source scripts/desktop-solve.sh
start_test_display

passed=0 failed=0
for solving in no yes; do
  "$program" >"$work/output" 2>&1 &
  app=$!
  main=$(find_main_window) || { echo "the main window did not appear"; cat "$work/output"; exit 1; }
  sleep 1
  [ "$solving" = yes ] && start_unsatisfiable_solve "$main"
  xdotool windowclose "$main"
  for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.2; done
  if kill -0 "$app" 2>/dev/null; then
    echo "FAIL (solving: $solving): the program still runs 20 s after its window was destroyed"
    kill "$app"
    failed=$((failed + 1))
  else
    wait "$app"
    status=$?
    if [ "$status" -eq 0 ]; then
      passed=$((passed + 1))
    else
      echo "FAIL (solving: $solving): the program ended with status $status"
      cat "$work/output"
      failed=$((failed + 1))
    fi
  fi
  app=
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
