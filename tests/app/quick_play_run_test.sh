#!/usr/bin/env bash
# Starts the built program under a virtual X server with two simulated interfaces, opens "Quick
# play" from the main window, picks the second drawing on the thumbnail grid, presses Play and,
# while it plays, moves the Rotation slider, all with real clicks. The capture file must hold the
# picked drawing's frames, all alike before the slider moved and turning after it.
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/session_lib.sh"
begin_session "$@"

write_two_drawings

cat >"$home/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -uo pipefail
source "$SESSION_LIB"
start_program
"$X_TOOL" --title "Kavri laser software-0" --timeout 30 --click "$(place Form15.BitBtn5)" || exit 21
"$X_TOOL" --title "Quick play" --timeout 10 --click "$(place Form4.Image5)" || exit 22
"$X_TOOL" --title "Quick play" --click "$(place Form4.ToolButton1)" || exit 23
sleep 1
wc -l <"$KAVRI_HOME/../capture.txt" >"$LOGS/lines_before_rotation.txt"
# A click right of the thumb moves it one page towards the click.
IFS=, read -r x y <<<"$(place Form4.TrackBar2)"
"$X_TOOL" --title "Quick play" --click "$((x + 40)),$y" || exit 24
sleep 1
"$X_TOOL" --title "Quick play" --timeout 10 --screenshot "$ARTIFACTS/program_quick_play_window.png" || exit 25
"$X_TOOL" --title "Kavri laser software-0" --timeout 10 --close || exit 26
wait_for_exit "$pid"
SESSION

XVFB_FIRST_DISPLAY=210 run_session || exit 1
before=$(cat "$home/lines_before_rotation.txt")
# The drawing loop sends x and y as 255 - stored: "b" starts at (37, 9b) in green.
frames() { grep -E "^bulk ezusb-0 1 16 " | awk '{ print $5 }'; }
head -n "$before" "$home/capture.txt" | frames | sort -u >"$home/before.txt"
tail -n "+$((before + 1))" "$home/capture.txt" | frames | sort -u >"$home/after.txt"
echo "distinct frames before the slider moved: $(wc -l <"$home/before.txt"), after: $(wc -l <"$home/after.txt")"
if [ "$(wc -l <"$home/before.txt")" -ne 1 ]; then
  echo "FAIL: expected one frame, the same every pass, before any slider moved" >&2
  head -n 5 "$home/before.txt" >&2
  exit 1
fi
if ! grep -q "^37009b0000ff0000" "$home/before.txt"; then
  echo "FAIL: the picked drawing was not what played" >&2
  cat "$home/before.txt" >&2
  exit 1
fi
if [ "$(wc -l <"$home/after.txt")" -lt 3 ]; then
  echo "FAIL: the frames did not turn after the Rotation slider moved" >&2
  exit 1
fi
echo "PASS: Quick play played the picked drawing and turned it with the Rotation slider"
