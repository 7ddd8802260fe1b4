#!/usr/bin/env bash
# Starts the built program under a virtual X server with two simulated interfaces, ticks multiple
# output in "Select device" so both interfaces play, then in "Quick play" types "Kavri" over the
# memo's text, chooses Text and plays it (Loop on, so it keeps rolling), then ticks "vetical roll"
# and plays again, all with real clicks and keys. The capture file must hold, for each interface,
# text frames that change as the text rolls, first from the horizontal roll and then, after the
# colour gains that only the vertical roll sends, from the vertical one.
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/session_lib.sh"
begin_session "$@"

cat >"$home/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -uo pipefail
source "$SESSION_LIB"
start_program
main="Kavri laser software-0"
"$X_TOOL" --title "$main" --timeout 30 --click "$(place Form15.BitBtn7)" || exit 21
"$X_TOOL" --title "Select device" --timeout 10 --click "$(place Form19.CheckBox131)" \
  --click "$(place Form19.skinButton2)" --click "$(place Form19.skinButton1)" || exit 22
"$X_TOOL" --title "$main" --click "$(place Form15.BitBtn5)" || exit 23
"$X_TOOL" --title "Quick play" --timeout 10 --click "$(place Form4.skinMemo1)" \
  --key Control_L+a --key Shift_L+k --key a --key v --key r --key i || exit 24
# The preview's picture (Image1 holds it at its top left) is taken as soon as it shows the text.
read -r _ px py _ ph < <(grep '^Form4.Image1 ' "$LOGS/layout.txt")
preview="$px,$py,$ph,$ph"
"$X_TOOL" --title "Quick play" --click "$(place Form4.skinRadioGroup1.item2)" --click "$(place Form4.ToolButton5)" \
  --click "$(place Form4.ToolButton1)" --until-lit "$preview" \
  --screenshot "$ARTIFACTS/program_quick_play_text_roll.png" || exit 25
sleep 1.5
# The vertical roll shows the line only while it rises through the top of the window.
"$X_TOOL" --title "Quick play" --click "$(place Form4.skinCheckBox4)" --click "$(place Form4.ToolButton1)" \
  --until-lit "$preview" --screenshot "$ARTIFACTS/program_quick_play_vertical_roll.png" || exit 26
sleep 1.5
"$X_TOOL" --title "Quick play" --click "$(place Form4.ToolButton8)" || exit 27
"$X_TOOL" --title "$main" --timeout 10 --close || exit 28
wait_for_exit "$pid"
SESSION

XVFB_FIRST_DISPLAY=270 run_session || exit 1

# One line per text frame sent (a bulk write of whole 8-byte points): the interface, the roll it
# came from (the vertical roll alone sends the 4-byte colour gains, first of all), the lowest x and
# y of its lit points, whether every lit point has the text's colour (green), the frame, and how
# many groups of lit columns it has, more than 10 apart: its letters side by side.
awk '
  function digit(h, at) { return index("0123456789abcdef", substr(h, at, 1)) - 1 }
  function byte(h, at) { return digit(h, at) * 16 + digit(h, at + 1) }
  $1 == "bulk" && $3 == 1 && $4 == 4 { roll[$2] = "vertical" }
  $1 == "bulk" && $3 == 1 && $4 >= 8 && $4 % 8 == 0 {
    minx = miny = 256; green = "green"; split("", lit)
    for (p = 0; p < $4 / 8; ++p) {
      if (byte($5, p * 16 + 15) % 2) continue
      x = byte($5, p * 16 + 1); y = byte($5, p * 16 + 5)
      lit[x] = 1
      if (x < minx) minx = x
      if (y < miny) miny = y
      if (substr($5, p * 16 + 9, 6) != "00ff00") green = "other"
    }
    groups = 0; last = -100
    for (x = 0; x < 256; ++x) if (x in lit) { if (x - last > 10) ++groups; last = x }
    print $2, ($2 in roll) ? roll[$2] : "horizontal", minx, miny, green, $5, groups
  }' "$home/capture.txt" >"$home/frames.txt"

# A roll moves the text along one axis only: many places along it, at most two across it (a
# stroke cut at the window edge can reach one unit further).
failed=0
for device in ezusb-0 ezusb-1; do
  for roll in horizontal vertical; do
    awk -v d="$device" -v r="$roll" '$1 == d && $2 == r' "$home/frames.txt" >"$home/part.txt"
    frames=$(wc -l <"$home/part.txt")
    distinct=$(awk '{ print $6 }' "$home/part.txt" | sort -u | wc -l)
    along=$(awk -v r="$roll" '{ print (r == "horizontal" ? $3 : $4) }' "$home/part.txt" | sort -u | wc -l)
    across=$(awk -v r="$roll" '{ print (r == "horizontal" ? $4 : $3) }' "$home/part.txt" | sort -u | wc -l)
    other=$(awk '$5 != "green"' "$home/part.txt" | wc -l)
    echo "$device $roll: $frames frames, $distinct distinct, $along places along the roll, $across across, $other not green"
    if [ "$distinct" -lt 10 ] || [ "$along" -lt 10 ] || [ "$across" -gt 2 ] || [ "$other" -ne 0 ]; then
      echo "FAIL: $device did not get the $roll roll of the text" >&2
      failed=1
    fi
  done
  # The vertical roll starts with the whole line in view: five letters for "Kavri", where the
  # memo's own "Text" would give four.
  letters=$(awk -v d="$device" '$1 == d && $2 == "vertical" { print $7; exit }' "$home/frames.txt")
  echo "$device: ${letters:-no} letters in the vertical roll's first frame"
  if [ "${letters:-0}" -ne 5 ]; then
    echo "FAIL: $device did not get the typed text" >&2
    failed=1
  fi
done
[ "$failed" -eq 0 ] || exit 1
echo "PASS: Quick play rolled the typed text across and then up on both interfaces"
