#!/usr/bin/env bash
# Starts the built program under a virtual X server with two simulated interfaces, ticks multiple
# output in "Select device" so both play, then in "Show Edit" plays a saved show whose track 1 holds
# two rows of 400 ticks (2 s each), each a drawing of 600 points, all with real clicks. At the
# settings' scan rate of 30,000 points a second a frame takes 20 ms on each interface, so a row's
# 2 s allow about 50 frames, and never more than 100, where one frame per tick would send 400. The
# capture file must show no more than the interface could take in the row's time, and more than a
# row played at twice the clock would send, for each row on each interface, the rows in order; a
# screenshot keeps the window after the end.
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/session_lib.sh"
begin_session "$@"

# A drawing of 600 points in one object: its first at (x0, 100), the rest along three lines.
# Records are x, y, kind, colour, flags; 0x80 in the flags ends the object.
write_600_points() {
  local file=$1 x0=$2 format="" i x y flags
  for ((i = 0; i < 600; ++i)); do
    x=$((i == 0 ? x0 : 40 + i % 200)) y=$((i == 0 ? 100 : 60 + i / 200 * 60)) flags=$((i == 599 ? 128 : 0))
    format+=$(printf '\\x%02x\\x%02x\\x00\\x02\\x%02x' "$x" "$y" "$flags")
  done
  printf "$format" >"$file"
}
mkdir -p "$home/program/Drawing" "$home/program/Sequence"
write_600_points "$home/program/Drawing/p.ddr" 10
write_600_points "$home/program/Drawing/q.ddr" 30
# No music file: the show plays without a player.
printf '[Music]\r\nnone.wav\r\n[Track1]\r\np.ddr|400\r\nq.ddr|400\r\n[Track2]\r\n[Track3]\r\n' \
  >"$home/program/Sequence/show.seq"

cat >"$home/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -uo pipefail
source "$SESSION_LIB"
start_program
main="Kavri laser software-0"
"$X_TOOL" --title "$main" --timeout 30 --click "$(place Form15.BitBtn7)" || exit 21
"$X_TOOL" --title "Select device" --timeout 10 --click "$(place Form19.CheckBox131)" \
  --click "$(place Form19.skinButton2)" --click "$(place Form19.skinButton1)" || exit 22
"$X_TOOL" --title "$main" --click "$(place Form15.BitBtn4)" || exit 23
"$X_TOOL" --title "Show Edit" --timeout 10 --click "$(place Form8.ToolButton1)" || exit 24
# The show lasts 4 s after the clock's 100 ms start; a second more for the end to be shown.
sleep 5.5
"$X_TOOL" --title "Show Edit" --timeout 10 --screenshot "$ARTIFACTS/program_show_timing_end.png" || exit 25
"$X_TOOL" --title "$main" --timeout 10 --close || exit 26
wait_for_exit "$pid"
SESSION

XVFB_FIRST_DISPLAY=290 run_session || exit 1

# The most frames a row's 400 ticks of 5 ms let an interface take at 20 ms a frame. A row keeps its
# 2 s when it sends about 50; one that ran at twice the clock sends about 28, below the least here.
most=$((400 * 5 / 20)) least=40
# The drawing builder mirrors x: "p" starts at device x f5, "q" at e1 (y 255 - 100 = 9b).
status=0
for device in ezusb-0 ezusb-1; do
  order=$(awk -v d="$device" '$1 == "bulk" && $2 == d && $4 == 4800 { print substr($5, 1, 8) }' "$home/capture.txt" |
    sed -e 's/^f5009b00$/p/' -e 's/^e1009b00$/q/' | uniq | tr -d '\n')
  for row in "p f5009b00" "q e1009b00"; do
    set -- $row
    count=$(grep -c "^bulk $device 1 4800 $2" "$home/capture.txt" || true)
    echo "$device row $1: $count frames of 600 points (about 50 fit in its 2 s, at most $most)"
    if [ "$count" -lt "$least" ] || [ "$count" -gt "$most" ]; then
      echo "FAIL: row $1 sent $count frames on $device, not between $least and the $most its time allows" >&2
      status=1
    fi
  done
  echo "$device rows in the capture, runs collapsed: $order"
  [ "$order" = "pq" ] || { echo "FAIL: expected the frames of row p and then of row q on $device" >&2; status=1; }
done
[ -s "$artifacts/program_show_timing_end.png" ] || { echo "FAIL: no screenshot of the ended show" >&2; status=1; }
[ "$status" -eq 0 ] && echo "PASS: Show Edit kept a show of 600-point frames on two interfaces to its time"
exit "$status"
