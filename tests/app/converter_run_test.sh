#!/usr/bin/env bash
# Starts the built program under a virtual X server, opens the Converter from the main window, puts
# two drawings on the convert list with real clicks, has a segment refused for a time that is no
# number (its box closed), then converts the list into a segment and into an ILDA image with the
# edits' default names: the message line, which noted the refusal, shows its caption "Message:"
# again, as it did when the window opened. It turns the ILDA preview on and keeps a
# screenshot. Both files must read back: the segment's rows name the two drawings in order, the
# image holds two frames and its end mark.
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/session_lib.sh"
begin_session "$@"

write_two_drawings

cat >"$home/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -uo pipefail
source "$SESSION_LIB"
start_program
"$X_TOOL" --title "Kavri laser software-0" --timeout 30 --click "$(place Form15.BitBtn3)" || exit 21
# The message line as it opens, saying its caption.
line=$(awk '$1 == "Form9.Label18" { print $2 "," $3 "," $4 "," $5 }' "$LOGS/layout.txt")
"$X_TOOL" --title "Converter" --timeout 10 --region "$line" --screenshot "$LOGS/caption.png" >/dev/null || exit 34
for i in 0 1; do
  "$X_TOOL" --title "Converter" --timeout 10 --click "$(place "Form9.FileListBox1.item$i")" || exit 22
  "$X_TOOL" --title "Converter" --click "$(place Form9.BitBtn2)" || exit 23
done
# A time that is no number: the segment is refused with a box, and the message line notes it.
"$X_TOOL" --title "Converter" --click "$(place Form9.skinEdit2)" --key Control_L+a --key x || exit 29
"$X_TOOL" --title "Converter" --click "$(place Form9.skinButton4)" || exit 30
"$X_TOOL" --title "Kavri laser software-0" --dialog --timeout 10 --close || { echo "no box refused the time" >&2; exit 31; }
if "$X_TOOL" --title "Converter" --region "$line" --until-same "$LOGS/caption.png" --timeout 1 >/dev/null 2>&1; then
  echo "the message line does not note the refusal" >&2
  exit 35
fi
"$X_TOOL" --title "Converter" --click "$(place Form9.skinEdit2)" --key Control_L+a --key 1 --key 0 || exit 32
"$X_TOOL" --title "Converter" --click "$(place Form9.skinButton4)" || exit 24
"$X_TOOL" --title "Converter" --click "$(place Form9.skinButton9)" || exit 25
for _ in $(seq 1 50); do [ -f "$KAVRI_HOME/ILDAimage/NewImage.ild" ] && break; sleep 0.1; done
"$X_TOOL" --title "Converter" --region "$line" --until-same "$LOGS/caption.png" --timeout 5 \
  --screenshot "$ARTIFACTS/program_converter_message_caption.png" ||
  { echo "the message line does not show its caption again after the conversions" >&2; exit 33; }
"$X_TOOL" --title "Converter" --click "$(place Form9.skinCheckBox1)" || exit 26
sleep 1
"$X_TOOL" --title "Converter" --timeout 10 --screenshot "$ARTIFACTS/program_converter_window.png" || exit 27
"$X_TOOL" --title "Kavri laser software-0" --timeout 10 --close || exit 28
wait_for_exit "$pid"
SESSION

XVFB_FIRST_DISPLAY=190 run_session || exit 1
segment="$KAVRI_HOME/Section/NewSection.sec"
image="$KAVRI_HOME/ILDAimage/NewImage.ild"
[ -f "$segment" ] || { echo "FAIL: no NewSection.sec" >&2; exit 1; }
[ -f "$image" ] || { echo "FAIL: no NewImage.ild" >&2; exit 1; }
echo "--- segment file"
cat "$segment"
rows=$(tr -d '\r' <"$segment" | cut -d'|' -f1 | tr '\n' ' ')
if [ "$rows" != "a.ddr b.ddr " ]; then
  echo "FAIL: segment rows are '$rows', expected 'a.ddr b.ddr '" >&2
  exit 1
fi
sections=$(grep -ao ILDA "$image" | wc -l)
if [ "$(head -c 4 "$image")" != "ILDA" ] || [ "$sections" != 3 ]; then
  echo "FAIL: the image holds $sections ILDA sections, expected two frames and the end mark" >&2
  exit 1
fi
echo "PASS: the Converter wrote the two-drawing list as a segment and as an ILDA image"
