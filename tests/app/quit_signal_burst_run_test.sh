#!/usr/bin/env bash
# Starts the built program under a virtual X server, draws a line in the editor and leaves it
# unsaved, then asks it to quit again and again with bursts of SIGTERMs: the first of 5,000 (far
# more than the program's signal socket holds), the others of 40, every other one sent in two halves
# 50 ms apart so that it reaches the program in two wake-ups. After each burst the drawing's question
# must come up and still be up a second later; Cancel answers it and the program runs on. Then
# System > Exit asks again and, while the question is up, the window manager closes the main window:
# after Cancel the main window must still be there, a SIGTERM must ask again, and No must end the
# program.
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/session_lib.sh"
begin_session "$@"

cat >"$home/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -uo pipefail
source "$SESSION_LIB"

# The drawing's question: a box titled as the editor. Up within $1 seconds, or gone within 10.
question_up() { "$X_TOOL" --title "Picure Edit" --dialog --frame --timeout "$1" >/dev/null 2>&1; }
question_gone() {
  for _ in $(seq 1 100); do
    question_up 0 || return 0
    sleep 0.1
  done
  return 1
}
terms() { for _ in $(seq 1 "$1"); do kill -TERM "$pid" 2>/dev/null || return; done; }
running() { kill -0 "$pid" 2>/dev/null || { echo "the program ended $1, dropping the unsaved drawing" >&2; exit 30; }; }

start_program
# A program stuck in its signal handler would outlive the session: it no longer heeds SIGTERM.
trap '[ -n "${ended:-}" ] || kill -KILL "$pid" 2>/dev/null' EXIT
"$X_TOOL" --title "Kavri laser software-0" --timeout 30 || exit 21
read -r _ cx cy _ _ < <(grep '^Image90 ' "$LOGS/layout.txt")
"$X_TOOL" --title "Kavri laser software-0" --click "$(place BitBtn1)" || exit 22
"$X_TOOL" --title "Picure Edit" --timeout 10 --click "$(place BitBtn27)" --click "$cx,$cy" \
  --click "$((cx + 510)),$((cy + 510))" --key Escape || exit 23

for burst in $(seq 1 20); do
  if [ "$burst" -eq 1 ]; then
    terms 5000
  elif [ $((burst % 2)) -eq 0 ]; then
    terms 20
    sleep 0.05
    terms 20
  else
    terms 40
  fi
  running "on burst $burst"
  question_up 10 || { echo "burst $burst brought no question" >&2; exit 31; }
  sleep 1
  question_up 0 || { echo "the question of burst $burst went away by itself" >&2; exit 32; }
  "$X_TOOL" --title "Picure Edit" --dialog --quick --key Escape >/dev/null || exit 24
  question_gone || { echo "Cancel did not answer the question of burst $burst" >&2; exit 33; }
  running "on Cancel after burst $burst"
done

# A close from the window manager while System > Exit asks is taken into that question.
"$X_TOOL" --title "Picure Edit" --click "$(place skinMainMenu1.System)" --key x || exit 25
question_up 10 || { echo "System > Exit did not ask about the drawing" >&2; exit 34; }
"$X_TOOL" --title "Kavri laser software-0" --frame --close >/dev/null || exit 26
sleep 0.5
question_up 0 || { echo "the window manager's close answered the question" >&2; exit 35; }
"$X_TOOL" --title "Picure Edit" --dialog --quick --key Escape >/dev/null || exit 27
question_gone || { echo "Cancel did not answer the question" >&2; exit 36; }
running "on Cancel after the window manager's close"
"$X_TOOL" --title "Kavri laser software-0" --frame --timeout 2 >/dev/null ||
  { echo "the main window is gone after Cancel" >&2; exit 37; }
# A later quit asks again, and No ends the program.
kill -TERM "$pid"
question_up 10 || { echo "a SIGTERM after Cancel did not ask about the drawing" >&2; exit 38; }
"$X_TOOL" --title "Picure Edit" --dialog --quick --key n >/dev/null || exit 28
wait_for_exit "$pid"
status=$?
ended=1
exit "$status"
SESSION

XVFB_FIRST_DISPLAY=370 run_session || exit 1
[ -f "$home/program/Kavri.ini" ] || { echo "FAIL: the program ended without writing Kavri.ini" >&2; exit 1; }
echo "PASS: each of 20 SIGTERM bursts, whole or in two halves, brought the drawing's question, still up a second later," \
  "and Cancel kept the program; a window manager's close during System > Exit's question left it up and the main" \
  "window there after Cancel; a later SIGTERM asked again and No ended the program"
