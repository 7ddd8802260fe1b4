#!/usr/bin/env bash
# Starts the built program under a virtual X server with two simulated interfaces, opens "Segment
# Edit" from the main window, adds two rows (a drawing picked in the list, its time typed, Add),
# types a long number into a cell, saves the segment under a typed name and presses Play, all with
# real clicks and keys. The
# capture file must then hold the frames of the first row's drawing and after them those of the
# second, and never the first again.
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/session_lib.sh"
begin_session "$@"

write_two_drawings

cat >"$home/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -uo pipefail
source "$SESSION_LIB"
start_program
"$X_TOOL" --title "Kavri laser software-0" --timeout 30 --click "$(place Form15.BitBtn2)" || exit 21
# Each row: the drawing in the list, the time field cleared and typed, Add.
add_row() {
  "$X_TOOL" --title "Segment Edit" --timeout 10 --click "$(place "Form5.FileListBox1.item$1")" || return 1
  # shellcheck disable=SC2046
  "$X_TOOL" --title "Segment Edit" --click "$(place Form5.skinEdit2)" --key End \
    --key BackSpace --key BackSpace --key BackSpace --key BackSpace $(for d in $(echo "$2" | grep -o .); do printf -- '--key %s ' "$d"; done) || return 1
  "$X_TOOL" --title "Segment Edit" --click "$(place Form5.BitBtn1)"
}
add_row 0 40 || exit 22
add_row 1 40 || exit 23
# A long number typed into column C of row 1: 1024 blanks (eight, then doubled by copy and paste)
# and a 0, which makes the row's line longer than any short limit would take.
keys="--key space --key space --key space --key space --key space --key space --key space --key space"
for _ in $(seq 1 7); do
  keys="$keys --key Control_L+a --key Control_L+c --key Control_L+v --key Control_L+v"
done
# shellcheck disable=SC2086
"$X_TOOL" --title "Segment Edit" --quick --click "$(place Form5.skinStringGrid1.cell3.1)" $keys \
  --key End --key 0 --key Return || exit 30
# Save asks for the new segment's name.
"$X_TOOL" --title "Segment Edit" --click "$(place Form5.BitBtn5)" || exit 24
"$X_TOOL" --title "Save segment" --timeout 10 --key s --key h --key o --key w --key Return || exit 25
for _ in $(seq 1 50); do [ -f "$KAVRI_HOME/Section/show.sec" ] && break; sleep 0.1; done
[ -f "$KAVRI_HOME/Section/show.sec" ] || { echo "Save wrote no show.sec" >&2; exit 26; }
"$X_TOOL" --title "Segment Edit" --click "$(place Form5.ToolButton1)" || exit 27
# Two rows of 40 ticks of 5 ms each, then the end text.
sleep 2
"$X_TOOL" --title "Segment Edit" --timeout 10 --screenshot "$ARTIFACTS/program_segment_edit_window.png" || exit 28
"$X_TOOL" --title "Kavri laser software-0" --timeout 10 --close || exit 29
wait_for_exit "$pid"
SESSION

XVFB_FIRST_DISPLAY=150 run_session || exit 1
echo "--- segment file, lines cut at 100 bytes"
cut -c1-100 "$KAVRI_HOME/Section/show.sec"
longest=$(awk '{ if (length > n) n = length } END { print n + 0 }' "$KAVRI_HOME/Section/show.sec")
echo "longest line: $longest bytes"
if [ "$longest" -le 1024 ]; then
  echo "FAIL: the typed cell did not reach the saved segment" >&2
  exit 1
fi
# The segment loop sends x as stored and y as 255 - y: "a" starts at (0a, eb) in red, "b" at
# (c8, 9b) in green.
first="bulk ezusb-0 1 16 0a00eb00ff000000"
second="bulk ezusb-0 1 16 c8009b0000ff0000"
order=$(grep -n -e "^$first" -e "^$second" "$home/capture.txt" | sed -e "s/:$first.*/ a/" -e "s/:$second.*/ b/" |
  awk '{ print $2 }' | uniq | tr -d '\n')
echo "row frames in the capture, runs collapsed: $order"
if [ "$order" != "ab" ]; then
  echo "FAIL: expected the frames of row 1 and then of row 2" >&2
  exit 1
fi
echo "PASS: Segment Edit saved two rows, one with a $longest-byte line from a typed cell, and played them in order"
