#!/usr/bin/env bash
# Starts the built program under a virtual X server with one simulated interface, picks a 3-frame
# ILDA image of 300-point frames in Quick play's ILDA list and plays it at the default frame
# interval (2 ms) with Loop off, all with real clicks. A 300-point frame takes about 10 ms to write
# at the default scan rate, five frame ticks, yet the capture file must hold every frame of the
# image, each whole, in order, and no frame after the last.
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/session_lib.sh"
begin_session "$@"

# Frame f (0, 1, 2) of 300 points in the 2-D indexed format: its first f + 1 points are blanked,
# which the device flags carry through any change of place or colour, and its points lie on a
# line at its own height. A record is x, y (big-endian), status (0x40 blanked, 0x80 the last) and
# colour; the image ends with a header of no records.
ilda_header() { printf 'ILDA\x00\x00\x00\x01frames\x00\x00kavri\x00\x00\x00%b%b\x00\x03\x00\x00' "$1" "$2"; }
write_three_frames() {
  local f i format status
  for f in 0 1 2; do
    ilda_header '\x01\x2c' "\\x00\\x0$f"
    format=""
    for ((i = 0; i < 300; ++i)); do
      status=$((i <= f ? 0x40 : 0))
      ((i == 299)) && status=$((status | 0x80))
      format+=$(printf '\\x%02x\\x00\\x%02x\\x00\\x%02x\\x%02x' "$((i % 200))" "$((f * 40))" "$status" "$((f + 1))")
    done
    printf "$format"
  done
  ilda_header '\x00\x00' '\x00\x03'
}
mkdir -p "$home/program/ILDAimage"
write_three_frames >"$home/program/ILDAimage/three.ild"

cat >"$home/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -uo pipefail
source "$SESSION_LIB"
export KAVRI_SIM_DEVICES=0
start_program
"$X_TOOL" --title "Kavri laser software-0" --timeout 30 --click "$(place Form15.BitBtn5)" || exit 21
# three.ild, the only ILDA file, is the list's first row; choosing it sets the "ILD file" mode.
read -r _ lx ly lw _ < <(grep '^Form4.FileListBox2 ' "$LOGS/layout.txt")
"$X_TOOL" --title "Quick play" --timeout 10 --click "$((lx + lw / 2)),$((ly + 10))" || exit 22
"$X_TOOL" --title "Quick play" --click "$(place Form4.ToolButton1)" || exit 23
# Frame 0 holds the 100 ms until the first tick, the other two about 10 ms each. Up to 10 s for
# frame 2 (three leading blanked points) to be taken, then a moment for any frame after it.
for _ in $(seq 1 100); do
  grep -Eq '^bulk ezusb-0 1 2400 (.{15}[13579bdf]){3}' "$KAVRI_HOME/../capture.txt" && break
  sleep 0.1
done
sleep 0.5
"$X_TOOL" --title "Quick play" --timeout 10 --screenshot "$ARTIFACTS/program_quick_play_ilda_end.png" || exit 24
"$X_TOOL" --title "Kavri laser software-0" --timeout 10 --close || exit 25
wait_for_exit "$pid"
SESSION

XVFB_FIRST_DISPLAY=330 run_session || exit 1

# Each whole frame (2,400 bytes) the interface took, named by its count of leading blanked points
# (the flags, the last byte of each 8-byte device point, are odd for a blanked point) less one.
awk '$1 == "bulk" && $2 == "ezusb-0" && $4 == 2400 {
  n = 0
  while (n < 300 && index("13579bdf", substr($5, 16 * n + 16, 1)) > 0) ++n
  print n - 1
}' "$home/capture.txt" >"$home/frames.txt"
sent=$(tr '\n' ' ' <"$home/frames.txt")
runs=$(uniq "$home/frames.txt" | tr -d '\n')
echo "frames the interface took, in order: $sent"
if [ "$runs" != "012" ]; then
  echo "FAIL: expected frames 0, 1 and 2 of the image, each at least once, in order, and nothing after" >&2
  grep '^bulk' "$home/capture.txt" | awk '{ print $2, $3, $4 }' | uniq -c >&2
  exit 1
fi
echo "PASS: Quick play sent every frame of a 3-frame image of 300-point frames, in order, at the default frame interval"
