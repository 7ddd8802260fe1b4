# Shared by the end-to-end sessions that drive the program under a virtual X server.

# The centre of a control, from the layout probe's lines ("NAME X Y W H") in $LOGS/layout.txt.
place() { awk -v n="$1" '$1 == n { print $2 + int($4 / 2) "," $3 + int($5 / 2) }' "$LOGS/layout.txt"; }

# Waits up to 30 s for the program to end by itself once its main window was closed; exits the
# session with 10 when it does not, and returns the program's own status otherwise.
wait_for_exit() {
  local pid=$1
  for _ in $(seq 1 300); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    echo "the program did not end after its main window was closed" >&2
    kill "$pid"
    wait "$pid"
    exit 10
  fi
  wait "$pid"
}
