#!/usr/bin/env bash
# Starts the built program under a virtual X server with a segment file one line longer than
# "Segment Edit" takes, opens the window from the main window and presses Open, then Save with a
# typed name that reaches outside the segment folder, then opens a show file one line longer than
# "Show Edit" takes in that window, all with real clicks and keys. Each must be
# answered by a message box (screenshots kept), the grid must keep its creation row, nothing may be
# written outside the folder, and the program must stay small and end normally.
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/session_lib.sh"
begin_session "$@"

mkdir -p "$home/program/Section"
awk 'BEGIN { for (i = 0; i < 100001; i++) printf "a.ddr|1|50|0|0|0|0|0|0|0|0|257|20|0|30|0|30000|0|0\r\n" }' \
  >"$home/program/Section/huge.sec"
mkdir -p "$home/program/Sequence"
awk 'BEGIN { printf "[Music]\r\n\r\n[Track1]\r\n"; for (i = 0; i < 99996; i++) printf "a.ddr|1\r\n"
             printf "[Track2]\r\n[Track3]\r\n" }' >"$home/program/Sequence/huge.seq"

cat >"$home/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -uo pipefail
source "$SESSION_LIB"
start_program
"$X_TOOL" --title "Kavri laser software-0" --timeout 30 --click "$(place Form15.BitBtn2)" || exit 21
# huge.sec is the only segment and so the selected one.
"$X_TOOL" --title "Segment Edit" --timeout 10 --click "$(place Form5.BitBtn17)" || exit 22
sleep 1
# The box shares the main window's title and stands above it.
"$X_TOOL" --title "Kavri laser software-0" --timeout 10 --screenshot "$ARTIFACTS/program_segment_open_refused.png" ||
  exit 23
"$X_TOOL" --title "Kavri laser software-0" --key Return || exit 23
grep VmHWM "/proc/$pid/status" >"$LOGS/memory.txt"
"$X_TOOL" --title "Segment Edit" --timeout 10 --click "$(place Form5.BitBtn5)" || exit 24
"$X_TOOL" --title "Save segment" --timeout 10 --key period --key period --key slash --key period --key period \
  --key slash --key e --key v --key i --key l --key Return || exit 25
sleep 1
"$X_TOOL" --title "Kavri laser software-0" --timeout 10 --screenshot "$ARTIFACTS/program_segment_name_refused.png" ||
  exit 26
"$X_TOOL" --title "Kavri laser software-0" --key Return || exit 26
"$X_TOOL" --title "Segment Edit" --timeout 10 --screenshot "$ARTIFACTS/program_segment_edit_after_refusals.png" || exit 27
# Show Edit refuses its own long file the same way; Segment Edit closes first, as it stands over
# the main window's buttons.
"$X_TOOL" --title "Segment Edit" --close || exit 29
sleep 0.5
"$X_TOOL" --title "Kavri laser software-0" --click "$(place Form15.BitBtn4)" || exit 30
"$X_TOOL" --title "Show Edit" --timeout 10 --click "$(place Form8.FileListBox4.item0)" --click "$(place Form8.BitBtn17)" ||
  exit 31
sleep 1
"$X_TOOL" --title "Kavri laser software-0" --timeout 10 --screenshot "$ARTIFACTS/program_show_open_refused.png" || exit 32
"$X_TOOL" --title "Kavri laser software-0" --key Return || exit 32
"$X_TOOL" --title "Kavri laser software-0" --timeout 10 --close || exit 28
wait_for_exit "$pid"
SESSION

XVFB_FIRST_DISPLAY=290 run_session || exit 1
echo "--- program memory after the refused open"
cat "$home/memory.txt"
peak_kb=$(awk '{ print $2 }' "$home/memory.txt")
if [ "$peak_kb" -gt 300000 ]; then
  echo "FAIL: the program grew to $peak_kb kB on a file it refused" >&2
  exit 1
fi
if [ -n "$(find "$home" -name 'evil*' -print -quit)" ]; then
  echo "FAIL: a refused name was written" >&2
  exit 1
fi
if [ "$(ls "$home/program/Section")" != "huge.sec" ]; then
  echo "FAIL: the segment folder holds $(ls "$home/program/Section" | tr '\n' ' ')" >&2
  exit 1
fi
echo "PASS: Segment Edit and Show Edit refused the long files, Segment Edit the outside name, and the program stayed small"
