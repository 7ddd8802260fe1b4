#!/usr/bin/env bash
# The working windows under a window manager (openbox) on screens of 1280x1024 and 1024x768, while
# what they hold grows: each is opened from the main window, then a name of 60 characters is put in
# every content folder and each window re-reads its lists (the converter also turns an ILDA file
# into drawings of long names, and Show Edit hears a player fail with a line of 200 characters).
# After every step each window keeps the size it opened with and its frame lies on the screen. On
# the small screen the controls at the far right and bottom (the converter's "Merge ILD file", the
# colour strips of Show Edit and Quick play, Quick play's message row) are scrolled to and clicked:
# the merge writes its file and each strip shows the panel chosen. Screenshots are kept.
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/session_lib.sh"
begin_session "$@"

long=$(printf 'n%.0s' $(seq 1 56))  # with its extension, 60 characters
export LONG_NAME=$long
mkdir -p "$home/bin"
# A player that fails at once with a line of 200 characters.
cat >"$home/bin/mpv" <<PLAYER
#!/bin/sh
echo \$\$ >"$home/player.part"
mv "$home/player.part" "$home/player.txt"
echo "error: the audio output could not be opened $(printf 'x%.0s' $(seq 1 156))" >&2
exit 2
PLAYER
chmod +x "$home/bin/mpv"
export PATH="$home/bin:$PATH"

cat >"$home/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -uo pipefail
source "$SESSION_LIB"
openbox >"$LOGS/wm.txt" 2>&1 &
wm=$!
size=$XVFB_SCREEN
failed=0
declare -A opened
# check TITLE NAME STEP: the window's frame is the size it opened with and lies on the screen.
check() {
  local title=$1 name=$2 step=$3 out x y w h sw sh
  out=$("$X_TOOL" --title "$title" --timeout 10 --frame) ||
    { echo "$size: no window \"$title\" at $step" >&2; failed=1; return; }
  read -r _ x y w h < <(grep '^frame ' <<<"$out")
  read -r _ sw sh < <(grep '^screen ' <<<"$out")
  echo "$size $name $step: frame $x $y ${w}x$h"
  [ -n "${opened[$name]:-}" ] || opened[$name]="${w}x$h"
  [ "${opened[$name]}" = "${w}x$h" ] ||
    { echo "$size: \"$title\" was ${opened[$name]} when it opened, ${w}x$h after $step" >&2; failed=1; }
  [ "$x" -ge 0 ] && [ $((x + w)) -le "$sw" ] && [ "$y" -ge 0 ] && [ $((y + h)) -le "$sh" ] ||
    { echo "$size: \"$title\" leaves the ${sw}x$sh screen after $step" >&2; failed=1; }
}
windows=("Picure Edit:editor" "Segment Edit:segment_edit" "Quick play:quick_play" "Show Edit:show_edit" "Converter:converter")
check_all() {
  local pair
  for pair in "${windows[@]}"; do check "${pair%%:*}" "${pair##*:}" "$1"; done
}
# Pictures of each window brought to the front, and of the whole screen.
pictures() {
  local pair
  for pair in "${windows[@]}"; do
    "$X_TOOL" --quick --raise --title "${pair%%:*}" --screen-shot "$ARTIFACTS/fit_${size}_${pair##*:}_$1.png" >/dev/null ||
      failed=1
  done
}
probe() { awk -v n="$1" '$1 == n { print $2, $3, $4, $5 }' "$LOGS/layout.txt"; }
# page TITLE X,Y COUNT: clicks a scroll bar's trough at X,Y COUNT times, a page further each time.
page() {
  local clicks=()
  for _ in $(seq 1 "$3"); do clicks+=(--click "$2"); done
  "$X_TOOL" --quick --raise --title "$1" "${clicks[@]}" >/dev/null
}
# reach PREFIX NAME TITLE: scrolls the window's content, clicking its bars' troughs at their far ends,
# until the control NAME lies in the view (a control wider or taller than the view: some of it), and
# prints the part of the control in the view then, in window coordinates.
reach() {
  local prefix=$1 name=$2 title=$3 cx cy cw ch vx vy vw vh hmax vmax hpage vpage bx by bw bh dx=0 dy=0
  read -r cx cy cw ch < <(probe "$prefix$name")
  read -r vx vy vw vh < <(probe "${prefix}ContentScroller.view")
  read -r hmax vmax hpage vpage < <(probe "${prefix}ContentScroller.range")
  [ -n "${ch:-}" ] && [ -n "${vh:-}" ] && [ -n "${vpage:-}" ] || { echo "$size: no place for $prefix$name" >&2; return 1; }
  if [ $((cx + cw)) -gt $((vx + vw)) ] && [ "$hmax" -gt 0 ]; then
    read -r bx by bw bh < <(probe "${prefix}ContentScroller.hbar")
    page "$title" "$((bx + bw - bh - 3)),$((by + bh / 2))" $((hmax / hpage + 2)) || return 1
    dx=$hmax
  fi
  if [ $((cy + ch)) -gt $((vy + vh)) ] && [ "$vmax" -gt 0 ]; then
    read -r bx by bw bh < <(probe "${prefix}ContentScroller.vbar")
    page "$title" "$((bx + bw / 2)),$((by + bh - bw - 3))" $((vmax / vpage + 2)) || return 1
    dy=$vmax
  fi
  cx=$((cx - dx)) cy=$((cy - dy))
  local left=$((cx > vx ? cx : vx)) top=$((cy > vy ? cy : vy))
  local right=$((cx + cw < vx + vw ? cx + cw : vx + vw)) bottom=$((cy + ch < vy + vh ? cy + ch : vy + vh))
  if [ "$right" -le "$left" ] || [ "$bottom" -le "$top" ] ||
     { [ "$cw" -le "$vw" ] && [ "$ch" -le "$vh" ] && { [ $((right - left)) -ne "$cw" ] || [ $((bottom - top)) -ne "$ch" ]; }; }; then
    echo "$size: $prefix$name cannot be scrolled into the view" >&2
    return 1
  fi
  echo "$left $top $((right - left)) $((bottom - top))"
}
# strip_answers PREFIX TITLE: the colour strip, reached, shows another panel chosen when one is clicked.
strip_answers() {
  local prefix=$1 title=$2 x y w h
  read -r x y w h < <(reach "$prefix" ColourPanels "$title") || { failed=1; return; }
  "$X_TOOL" --quick --raise --title "$title" --region "$x,$y,$w,$h" --screenshot "$LOGS/strip_before.png" || { failed=1; return; }
  "$X_TOOL" --quick --raise --title "$title" --click "$((x + w / 2)),$((y + h / 2))" >/dev/null
  sleep 0.3
  "$X_TOOL" --title "$title" --region "$x,$y,$w,$h" --screenshot "$LOGS/strip_after.png" || { failed=1; return; }
  if cmp -s "$LOGS/strip_before.png" "$LOGS/strip_after.png"; then
    echo "$size: $title's colour strip did not answer a click" >&2
    failed=1
  fi
  "$X_TOOL" --title "$title" --screenshot "$ARTIFACTS/fit_${size}_${prefix%.}_scrolled.png" >/dev/null
}

start_program
cp "$LOGS/layout.txt" "$ARTIFACTS/fit_${size}_layout.txt"
main="Kavri laser software-0"
"$X_TOOL" --title "$main" --timeout 30 >/dev/null || exit 21
for pair in "BitBtn1:Picure Edit" "Form15.BitBtn2:Segment Edit" "Form15.BitBtn5:Quick play" "Form15.BitBtn4:Show Edit" \
            "Form15.BitBtn3:Converter"; do
  "$X_TOOL" --quick --raise --title "$main" --click "$(place "${pair%%:*}")" >/dev/null || exit 22
  "$X_TOOL" --title "${pair#*:}" --timeout 10 >/dev/null || exit 23
done
check_all opened

# A long name in every content folder, and each window's lists read again.
for file in "Drawing/$LONG_NAME.ddr" "Section/$LONG_NAME.sec" "Sequence/$LONG_NAME.seq" "Music/$LONG_NAME.wav"; do
  cp "$LOGS/content/${file##*.}" "$KAVRI_HOME/$file"
done
cp "$LOGS/content/ild" "$KAVRI_HOME/ILDAimage/$LONG_NAME.ild"
for title in "Segment Edit" "Quick play" "Show Edit"; do
  "$X_TOOL" --quick --raise --title "$title" --key Alt_L+f --key e >/dev/null || exit 24
  "$X_TOOL" --quick --raise --title "$title" --key Alt_L+f --key u >/dev/null || exit 24
done
"$X_TOOL" --quick --raise --title "Converter" --click "$(place Form9.skinButton17)" >/dev/null || exit 25
sleep 0.5
check_all refreshed

# ILDA->drawings: the image of the long name becomes drawings named after a long segment name.
"$X_TOOL" --quick --raise --title "Converter" --click "$(place Form9.FileListBox3.item0)" >/dev/null || exit 26
"$X_TOOL" --quick --raise --title "Converter" --click "$(place Form9.skinButton7)" >/dev/null || exit 26
box=$("$X_TOOL" --title "Create new segment" --timeout 10 --frame --screen-shot "$ARTIFACTS/fit_${size}_name_box.png") ||
  { echo "$size: no name box" >&2; exit 27; }
read -r _ _ _ box_width _ < <(grep '^frame ' <<<"$box")
echo "$size name box: $box_width wide"
[ "$box_width" -ge 260 ] || { echo "$size: the name box is $box_width wide, too narrow for its title" >&2; failed=1; }
segment=$(printf 'l%.0s' $(seq 1 24))
# shellcheck disable=SC2046
sleep 0.3
"$X_TOOL" --quick --raise --title "Create new segment" --key Control_L+a $(keys_of "$segment") --key Return >/dev/null || exit 27
for _ in $(seq 1 50); do [ -f "$KAVRI_HOME/Section/$segment.sec" ] && break; sleep 0.1; done
[ -f "$KAVRI_HOME/Section/$segment.sec" ] || { echo "$size: ILDA->drawings wrote no segment" >&2; failed=1; }
ls "$KAVRI_HOME/Drawing" | grep -q "$segment" || { echo "$size: ILDA->drawings wrote no drawings" >&2; failed=1; }
sleep 0.5
check_all ilda_to_drawings

# Show Edit plays; its player fails with a line of 200 characters.
"$X_TOOL" --quick --raise --title "Show Edit" --click "$(place Form8.ToolButton1)" >/dev/null || exit 28
for _ in $(seq 1 50); do [ -f "$LOGS/player.txt" ] && break; sleep 0.1; done
[ -f "$LOGS/player.txt" ] || { echo "$size: Play started no player" >&2; failed=1; }
sleep 1
check_all player_failed
pictures steps_done

if [ "${size%x*}" -lt 1280 ]; then
  # The far right and bottom controls, scrolled to and used.
  # The image of the long name is still chosen in its list, from ILDA->drawings.
  read -r x y w h < <(reach Form9. skinButton10 Converter) || exit 29
  "$X_TOOL" --quick --raise --title Converter --click "$((x + w / 2)),$((y + h / 2))" >/dev/null
  read -r x y w h < <(reach Form9. skinButton16 Converter) || exit 29
  "$X_TOOL" --quick --raise --title Converter --click "$((x + w / 2)),$((y + h / 2))" >/dev/null
  for _ in $(seq 1 50); do [ -f "$KAVRI_HOME/ILDAimage/newImage.ild" ] && break; sleep 0.1; done
  [ -f "$KAVRI_HOME/ILDAimage/newImage.ild" ] || { echo "$size: \"Merge ILD file\" wrote nothing" >&2; failed=1; }
  "$X_TOOL" --title Converter --screenshot "$ARTIFACTS/fit_${size}_Form9_scrolled.png" >/dev/null
  strip_answers Form8. "Show Edit"
  strip_answers Form4. "Quick play"
  reach Form4. Label18 "Quick play" >/dev/null || failed=1
  check_all scrolled
fi

"$X_TOOL" --title "$main" --close >/dev/null
wait_for_exit "$pid" || failed=1
kill "$wm" 2>/dev/null
exit "$failed"
SESSION

# What the long names hold: a drawing of one line, a segment row, a show with its music, music, and
# an ILDA image of one frame of two points (format 0) with its end mark.
mkdir -p "$home/content"
printf '\x0a\x14\x00\x02\x00\x1e\x28\x00\x02\x80' >"$home/content/ddr"
printf 'a.ddr|100|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|257|0\r\n' >"$home/content/sec"
printf '[Music]\r\nsong.wav\r\n[Track1]\r\na.ddr|60000\r\n[Track2]\r\n[Track3]\r\n' >"$home/content/seq"
printf 'music' >"$home/content/wav"
{
  printf 'ILDA\x00\x00\x00\x00frame   kavri   \x00\x02\x00\x00\x00\x01\x00\x00'
  printf '\x00\x10\x00\x20\x00\x00\x00\x02\x01\x00\x02\x00\x00\x00\x80\x02'
  printf 'ILDA\x00\x00\x00\x00        kavri   \x00\x00\x00\x00\x00\x00\x00\x00'
} >"$home/content/ild"

for screen in 1280x1024 1024x768; do
  rm -rf "$home/program" "$home/player.txt"
  write_two_drawings
  mkdir -p "$home/program/Sequence" "$home/program/Music"
  cp "$home/content/seq" "$home/program/Sequence/show.seq"
  cp "$home/content/wav" "$home/program/Music/song.wav"
  XVFB_SCREEN=$screen XVFB_FIRST_DISPLAY=330 run_session || exit 1
done
echo "PASS: the working windows kept their size on the screen through long names, ILDA->drawings and a long player error at 1280x1024 and 1024x768, and their far controls could be scrolled to and used"
