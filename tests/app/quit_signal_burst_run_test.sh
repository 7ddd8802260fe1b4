#!/usr/bin/env bash
# Starts the built program under a virtual X server, draws a line in the editor and leaves it
# unsaved, then sends 5,000 SIGTERMs in one burst: far more than the program's signal socket holds
# while the drawing's question keeps the window thread from reading it. The program must still
# answer afterwards: the drawing's question comes up and Cancel keeps the program running; System >
# Exit then asks the same question, and No ends the program.
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/session_lib.sh"
begin_session "$@"

cat >"$home/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -uo pipefail
source "$SESSION_LIB"

# The id of the topmost window titled "Picure Edit": the editor, or the drawing's question box,
# which shares its title. Empty when there is none.
top_editor_window() {
  "$X_TOOL" --title "Picure Edit" --timeout 2 2>/dev/null | sed -n 's/^found window \(0x[0-9a-f]*\).*/\1/p'
}
# Waits up to 20 s until the question is (with "up") or is not (with "down") on top of the editor.
wait_question() {
  local top
  for _ in $(seq 1 20); do
    top=$(top_editor_window)
    if [ "$1" = up ] && [ -n "$top" ] && [ "$top" != "$editor" ]; then return 0; fi
    if [ "$1" = down ] && [ "$top" = "$editor" ]; then return 0; fi
    sleep 0.5
  done
  return 1
}

start_program
# A program stuck in its signal handler would outlive the session: it no longer heeds SIGTERM.
trap '[ -n "${ended:-}" ] || kill -KILL "$pid" 2>/dev/null' EXIT
"$X_TOOL" --title "Kavri laser software-0" --timeout 30 || exit 21
read -r _ cx cy _ _ < <(grep '^Image90 ' "$LOGS/layout.txt")
"$X_TOOL" --title "Kavri laser software-0" --click "$(place BitBtn1)" || exit 22
"$X_TOOL" --title "Picure Edit" --timeout 10 --click "$(place BitBtn27)" --click "$cx,$cy" \
  --click "$((cx + 510)),$((cy + 510))" --key Escape || exit 23
editor=$(top_editor_window)
[ -n "$editor" ] || exit 24

for _ in $(seq 1 5000); do kill -TERM "$pid" 2>/dev/null || break; done
kill -0 "$pid" 2>/dev/null || { echo "the program ended on the burst, dropping the unsaved drawing" >&2; exit 31; }
# Each signal that finds the question open answers it Cancel and the next asks again, so the burst
# leaves it open or not depending on where it ended. Once that has settled (the same window on top
# for three looks in a row), a window manager's close asks again if the burst left no question.
last="" same=0
for _ in $(seq 1 40); do
  top=$(top_editor_window)
  if [ "$top" = "$last" ]; then same=$((same + 1)); else same=0; last=$top; fi
  [ "$same" -ge 2 ] && break
done
if [ "$last" = "$editor" ]; then
  "$X_TOOL" --title "Kavri laser software-0" --timeout 5 --close || exit 25
fi
wait_question up || { echo "the drawing's question did not come up after the burst" >&2; exit 32; }
"$X_TOOL" --title "Picure Edit" --key Escape || exit 26
wait_question down || { echo "Cancel did not answer the drawing's question" >&2; exit 33; }
kill -0 "$pid" 2>/dev/null || { echo "the program ended on Cancel" >&2; exit 34; }

# System > Exit asks about the drawing as before; No ends the program.
"$X_TOOL" --title "Picure Edit" --click "$(place skinMainMenu1.System)" --key x || exit 27
wait_question up || { echo "System > Exit did not ask about the drawing" >&2; exit 35; }
kill -0 "$pid" 2>/dev/null || { echo "the program ended without asking about the drawing" >&2; exit 36; }
"$X_TOOL" --title "Picure Edit" --key n || exit 28
wait_for_exit "$pid"
status=$?
ended=1
exit "$status"
SESSION

XVFB_FIRST_DISPLAY=370 run_session || exit 1
echo "PASS: after 5,000 SIGTERMs the drawing's question came up and Cancel answered it; System > Exit asked again and No ended the program"
