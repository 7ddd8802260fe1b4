#!/usr/bin/env bash
# Starts the built program under a virtual X server with two simulated interfaces and a fresh
# program folder, finds its main window by the title that names the master, closes it as a window
# manager would, and checks the program ended cleanly and wrote a complete settings file. A second
# start on the same program folder meanwhile must refuse with a message and leave the folder alone.
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/session_lib.sh"
begin_session "$@"

cat >"$home/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -uo pipefail
source "$SESSION_LIB"
start_program
"$X_TOOL" --title "Kavri laser software-0" --timeout 30 --screenshot "$ARTIFACTS/program_main_window.png"
found=$?
# A second start on the same program folder says so and ends without touching the folder.
"$KAVRI_BIN" >"$LOGS/second-stdout.txt" 2>"$LOGS/second-stderr.txt" &
second=$!
"$X_TOOL" --title "Kavri laser software" --timeout 30 --screenshot "$ARTIFACTS/program_second_start.png" --close
refused=$?
for _ in $(seq 1 100); do kill -0 "$second" 2>/dev/null || break; sleep 0.1; done
kill "$second" 2>/dev/null && { echo "the second start did not end after its message" >&2; exit 12; }
wait "$second"
second_status=$?
echo "second start: message $refused, exit status $second_status"
[ "$refused" -eq 0 ] && [ "$second_status" -eq 1 ] || exit 13
[ ! -e "$KAVRI_HOME/Kavri.ini" ] || { echo "the second start wrote the settings file" >&2; exit 14; }
# The editor, opened from the main window's button, draws a 2P line from two real clicks on its
# canvas corners; its point count changes, Play sends the line as one frame to the master, and
# Save writes it as a drawing file.
read -r _ cx cy _ _ < <(grep '^Image90 ' "$LOGS/layout.txt")
read -r _ lx ly lw lh < <(grep '^Label6 ' "$LOGS/layout.txt")
"$X_TOOL" --title "Kavri laser software-0" --click "$(place BitBtn1)" || exit 15
"$X_TOOL" --title "Picure Edit" --timeout 10 --region "$lx,$ly,$lw,$lh" --screenshot "$LOGS/count_before.png" || exit 16
"$X_TOOL" --title "Picure Edit" --click "$(place BitBtn27)" --click "$cx,$cy" --click "$((cx + 510)),$((cy + 510))" \
  --region "$lx,$ly,$lw,$lh" --screenshot "$LOGS/count_after.png" || exit 17
if cmp -s "$LOGS/count_before.png" "$LOGS/count_after.png"; then
  echo "the editor's point count did not change after drawing a line" >&2
  exit 18
fi
# The line tool keeps the mouse on the canvas while it waits for the next point: Esc ends it.
"$X_TOOL" --title "Picure Edit" --key Escape || exit 19
"$X_TOOL" --title "Picure Edit" --click "$(place ToolButton1)" --screenshot "$ARTIFACTS/program_editor_window.png" || exit 19
frame="bulk ezusb-0 1 16 ff00ff0000ff00030000000000ff0000"
for _ in $(seq 1 50); do grep -q "^$frame\$" "$KAVRI_SIM_CAPTURE" && break; sleep 0.1; done
grep -q "^$frame\$" "$KAVRI_SIM_CAPTURE" || { echo "Play did not send the line's frame" >&2; exit 21; }
"$X_TOOL" --title "Picure Edit" --click "$(place BitBtn4)" || exit 22
"$X_TOOL" --title "Save drawing" --timeout 10 --key l --key i --key n --key e --key Return || exit 23
for _ in $(seq 1 50); do [ -f "$KAVRI_HOME/Drawing/line.ddr" ] && break; sleep 0.1; done
saved=$(od -An -tx1 "$KAVRI_HOME/Drawing/line.ddr" 2>/dev/null | tr -d ' \n')
[ "$saved" = 0000020401ffff000480 ] || { echo "Save wrote \"$saved\"" >&2; exit 24; }
"$X_TOOL" --title "Kavri laser software-0" --timeout 10 --close || found=$?
# The program must end by itself once its main window is closed.
wait_for_exit "$pid"
status=$?
echo "window tool: $found, program exit status: $status"
[ "$found" -eq 0 ] || exit 11
exit "$status"
SESSION

XVFB_FIRST_DISPLAY=110 run_session || exit 1

ini=$home/program/Kavri.ini
[ -f "$ini" ] || { echo "FAIL: no Kavri.ini written" >&2; exit 1; }
lines=$(wc -l <"$ini")
[ "$lines" -ge 44 ] || { echo "FAIL: Kavri.ini has $lines lines, 44 expected" >&2; exit 1; }
# Every used line holds a number but the media player path (line 35, empty here).
for n in $(seq 1 2 43); do
  value=$(sed -n "$((n + 1))p" "$ini" | tr -d '\r')
  if [ "$n" -eq 35 ]; then continue; fi
  [[ "$value" =~ ^-?[0-9]+$ ]] || { echo "FAIL: line $n of Kavri.ini is \"$value\"" >&2; exit 1; }
done
# The output settings of a fresh start.
[ "$(sed -n 20p "$ini" | tr -d '\r')" = 75 ] || { echo "FAIL: scan delay line is not 75" >&2; exit 1; }
[ "$(sed -n 26p "$ini" | tr -d '\r')" = 100 ] || { echo "FAIL: blanking delay line is not 100" >&2; exit 1; }
for folder in Drawing Section ILDAimage Sequence Music; do
  [ -d "$home/program/$folder" ] || { echo "FAIL: content folder $folder was not created" >&2; exit 1; }
done
echo "PASS: main window found and closed, program ended with status 0, Kavri.ini has $lines lines"
