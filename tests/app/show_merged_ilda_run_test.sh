#!/usr/bin/env bash
# Starts the built program under a virtual X server. First the Converter's ILDA preview animates a
# one-frame image that is then cut short on disk: the preview must stop with a box naming the file,
# compared pixel for pixel with the box the picture probe shows for the words expected. Then, from
# an ILDA image of 512 frames of 65,535 2-D points built at run time (201 MB, within the reader's
# limits), the Converter merges a new image of 268 MB with real clicks, and "Show Edit" plays a
# saved show whose one row names it. The show must load it (no box refusing it) and the capture
# file of the simulated interfaces must hold its frames: 8,192-point frames of 65,536 bytes, which
# no other content of the session makes. Takes about 15 s, most of it reading and writing images.
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/session_lib.sh"
begin_session "$@"

# One 2-D frame: a header of 65,535 records, a line from left to right at y 0x20 in colour 7 over
# and over, the last record with status 0x80.
mkdir -p "$home/program/ILDAimage" "$home/program/Sequence"
printf 'ILDA\x00\x00\x00\x01bigframeIIIIIIII\xff\xff\x00\x00\x02\x00\x00\x00' >"$home/frame"
for x in $(seq 128 255) $(seq 0 127); do
  printf -v hex %02x "$x"
  printf "\\x$hex\\x00\\x20\\x00\\x00\\x07"
done >"$home/records"
for _ in $(seq 1 8); do cat "$home/records" "$home/records" >"$home/twice" && mv "$home/twice" "$home/records"; done
head -c $((65534 * 6)) "$home/records" >>"$home/frame"
printf '\x7f\x00\x20\x00\x80\x07' >>"$home/frame"
for _ in $(seq 1 512); do cat "$home/frame"; done >"$home/program/ILDAimage/big.ild"
printf 'ILDA\x00\x00\x00\x01IIIIIIIIIIIIIIII\x00\x00\x00\x00\x00\x00\x00\x00' >>"$home/program/ILDAimage/big.ild"
rm -f "$home/frame" "$home/records"
# One frame of three 2-D points, and its end mark.
{
  printf 'ILDA\x00\x00\x00\x01oneframeIIIIIIII\x00\x03\x00\x00\x00\x01\x00\x00'
  printf '\x80\x00\x80\x00\x00\x07\x00\x00\x00\x00\x00\x07\x7f\x00\x7f\x00\x80\x07'
  printf 'ILDA\x00\x00\x00\x01IIIIIIIIIIIIIIII\x00\x00\x00\x00\x00\x00\x00\x00'
} >"$home/program/ILDAimage/one.ild"
printf '[Music]\r\n\r\n[Track1]\r\nnewImage.ild|2000\r\n' >"$home/program/Sequence/merged.seq"

cat >"$home/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -uo pipefail
source "$SESSION_LIB"
one="$KAVRI_HOME/ILDAimage/one.ild"
"$PICTURE_PROBE" "$LOGS/cut.png" error-box "Cannot read $one: it changed while it was read (frame 1)" \
  >"$LOGS/cut.txt" || exit 40
start_program
merged="$KAVRI_HOME/ILDAimage/newImage.ild"
"$X_TOOL" --title "Kavri laser software-0" --timeout 30 --click "$(place Form15.BitBtn3)" || exit 21
# one.ild is the list's second row. Its preview runs, then the file loses its last two points.
read -r _ ix iy iw ih < <(grep '^Form9.FileListBox3.item0 ' "$LOGS/layout.txt")
"$X_TOOL" --title "Converter" --timeout 10 --click "$((ix + iw / 2)),$((iy + ih + ih / 2))" || exit 30
"$X_TOOL" --title "Converter" --click "$(place Form9.skinCheckBox1)" || exit 31
sleep 0.5
truncate -s 40 "$one"
region=$(awk '$1 == "label" { print $2 "," $3 "," $4 "," $5 }' "$LOGS/cut.txt")
"$X_TOOL" --title "Kavri laser software-0" --timeout 10 --screenshot "$ARTIFACTS/program_converter_preview_cut.png" \
  --until-same "$region,$LOGS/cut.png" || exit 32
"$X_TOOL" --title "Kavri laser software-0" --key Return || exit 33
"$X_TOOL" --title "Converter" --timeout 10 --click "$(place Form9.skinCheckBox1)" || exit 34
"$X_TOOL" --title "Converter" --timeout 10 --click "$(place Form9.FileListBox3.item0)" || exit 22
"$X_TOOL" --title "Converter" --click "$(place Form9.skinButton10)" || exit 23
"$X_TOOL" --title "Converter" --click "$(place Form9.skinButton16)" || exit 24
for _ in $(seq 1 600); do [ -f "$merged" ] && break; sleep 0.1; done
[ -f "$merged" ] || { echo "the merge wrote no newImage.ild within 60 s" >&2; exit 25; }
"$X_TOOL" --raise --title "Kavri laser software-0" --timeout 10 --click "$(place Form15.BitBtn4)" || exit 26
"$X_TOOL" --title "Show Edit" --timeout 10 --click "$(place Form8.ToolButton1)" || exit 27
for _ in $(seq 1 600); do
  grep -q '^bulk ezusb-0 [0-9]* 65536 ' "$KAVRI_HOME/../capture.txt" 2>/dev/null && break
  sleep 0.1
done
grep '^VmHWM' "/proc/$pid/status" >"$LOGS/peak.txt"
"$X_TOOL" --title "Show Edit" --timeout 10 --screenshot "$ARTIFACTS/program_show_merged_ilda.png" || exit 28
"$X_TOOL" --title "Kavri laser software-0" --timeout 10 --close || exit 29
wait_for_exit "$pid"
SESSION

XVFB_FIRST_DISPLAY=390 run_session || exit 1
status=0
size=$(stat -c %s "$home/program/ILDAimage/newImage.ild")
echo "merged image: $size bytes; the program's peak: $(cat "$home/peak.txt")"
if [ "$size" != $((512 * (32 + 65535 * 8) + 32)) ]; then
  echo "FAIL: the merged image is $size bytes, expected the 512 frames in 3-D records" >&2
  status=1
fi
frames=$(grep -c '^bulk ezusb-0 [0-9]* 65536 ' "$home/capture.txt" || true)
echo "8,192-point frames in the capture: $frames"
if [ "$frames" -eq 0 ]; then
  echo "FAIL: the show sent no frame of the merged image" >&2
  grep '^bulk' "$home/capture.txt" | awk '{ print $2, $3, $4 }' | uniq -c | head >&2
  status=1
fi
[ -s "$artifacts/program_show_merged_ilda.png" ] || { echo "FAIL: no screenshot of Show Edit" >&2; status=1; }
[ "$status" -eq 0 ] && echo "PASS: the Converter's preview of a file cut on disk stopped with a box naming it, and the" &&
  echo "      Converter merged a 201 MB image and a show naming the 268 MB result played it"
exit "$status"
