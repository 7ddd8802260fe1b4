#!/usr/bin/env bash
# Opens every window of the program under a window manager (openbox) on screens of 1280x1024 and
# 1024x768, the way a person does: the main window's buttons, then the editor's dialogs and its
# about box. Each window's frame must lie on the screen (a working window larger than the screen
# opens at the screen's size, its content scrolling); "Select device" and the editor's dialogs are
# centred on the window that opened them, the about box on the screen. A working window cut to the
# screen in one direction leaves room for its scroll bar there: the layout probe's windows, laid out
# on the same screen, scroll only in a direction in which they reached the screen's edge, and none of
# their scroll bars lies over a control, message lines included. A picture of the whole screen is kept
# for each window.
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/session_lib.sh"
begin_session "$@"

cat >"$home/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -uo pipefail
source "$SESSION_LIB"
openbox >"$LOGS/wm.txt" 2>&1 &
wm=$!
start_program
size=$XVFB_SCREEN
failed=0
declare -A frames
# check NAME TITLE: the window titled TITLE, its frame inside the screen, and a picture of the whole
# screen.
check() {
  local name=$1 title=$2 out
  out=$("$X_TOOL" --title "$title" --timeout 10 --frame --screen-shot "$ARTIFACTS/placement_${size}_${name}.png") ||
    { echo "$size: no window \"$title\"" >&2; failed=1; return; }
  read -r _ x y w h < <(grep '^frame ' <<<"$out")
  read -r _ sw sh < <(grep '^screen ' <<<"$out")
  echo "$size $name: frame $x $y ${w}x$h"
  frames[$name]="$x $y $w $h"
  [ "$x" -ge 0 ] && [ $((x + w)) -le "$sw" ] && [ "$y" -ge 0 ] && [ $((y + h)) -le "$sh" ] || { echo "$size: \"$title\" is not on the ${sw}x$sh screen" >&2; failed=1; }
}
# centred NAME CX CY: the window's frame is centred on (CX, CY) within 2 pixels, wherever a frame
# centred there fits the screen.
centred() {
  local x y w h
  read -r x y w h <<<"${frames[$1]:-}"
  [ -n "${h:-}" ] || return 0
  local left=$(($2 - w / 2)) top=$(($3 - h / 2))
  [ "$left" -ge 0 ] && [ $((left + w)) -le "$sw" ] && [ "$top" -ge 0 ] && [ $((top + h)) -le "$sh" ] || return 0
  local dx=$((x + w / 2 - $2)) dy=$((y + h / 2 - $3))
  if [ "${dx#-}" -gt 2 ] || [ "${dy#-}" -gt 2 ]; then
    echo "$size: $1 is not centred on $2,$3" >&2
    failed=1
  fi
}
# The centre of a window measured before.
centre_of() { local x y w h; read -r x y w h <<<"${frames[$1]}"; echo "$((x + w / 2)) $((y + h / 2))"; }
# A working window smaller than the room the screen leaves it in a direction does not scroll that
# way: a horizontal bar that covered its bottom controls would make it scroll up and down.
for prefix in Form1. Form5. Form9. Form8. Form4.; do
  read -r w h rw rh < <(awk -v n="${prefix}window" '$1 == n { print $2, $3, $4, $5 }' "$LOGS/layout.txt")
  read -r hmax vmax _ < <(awk -v n="${prefix}ContentScroller.range" '$1 == n { print $2, $3 }' "$LOGS/layout.txt")
  echo "$size ${prefix%.}: ${w}x$h in ${rw}x$rh, scrolls $hmax across and $vmax down"
  if [ -z "${vmax:-}" ] || { [ "$w" -lt "$rw" ] && [ "$hmax" -gt 0 ]; } || { [ "$h" -lt "$rh" ] && [ "$vmax" -gt 0 ]; }; then
    echo "$size: ${prefix%.} scrolls in a direction it had room in: a scroll bar covers its content" >&2
    failed=1
  fi
  # Nor does a shown scroll bar lie over any of its controls where it opens: a window cut both ways
  # hides its bottom row, the message line, under the horizontal bar.
  if grep "^${prefix}ContentScroller.covers " "$LOGS/layout.txt" >&2; then
    echo "$size: a scroll bar of ${prefix%.} lies over the controls above" >&2
    failed=1
  fi
done
main="Kavri laser software-0"
check main "$main"
for pair in "BitBtn2:segment_edit:Segment Edit" "BitBtn5:quick_play:Quick play" "BitBtn4:show_edit:Show Edit" \
            "BitBtn3:converter:Converter" "BitBtn7:select_device:Select device"; do
  IFS=: read -r button name title <<<"$pair"
  "$X_TOOL" --title "$main" --click "$(place "Form15.$button")" >/dev/null || exit 21
  check "$name" "$title"
  "$X_TOOL" --title "$title" --close >/dev/null
done
"$X_TOOL" --title "$main" --click "$(place BitBtn1)" >/dev/null || exit 22
check editor "Picure Edit"
for pair in "BitBtn5:import_plt:Import plt" "BitBtn9:rotating:Rotating" "BitBtn22:import_text:Import Text" \
            "ToolButton2:settings:Settings"; do
  IFS=: read -r button name title <<<"$pair"
  "$X_TOOL" --title "Picure Edit" --click "$(place "$button")" >/dev/null || exit 23
  check "$name" "$title"
  "$X_TOOL" --title "$title" --close >/dev/null
done
"$X_TOOL" --title "Picure Edit" --key Alt_L+h --key a >/dev/null || exit 24
check about About
centred select_device $(centre_of main)
for name in import_plt rotating import_text settings; do centred "$name" $(centre_of editor); done
centred about $((sw / 2)) $((sh / 2))
"$X_TOOL" --title "$main" --close >/dev/null
wait_for_exit "$pid" || failed=1
kill "$wm" 2>/dev/null
exit "$failed"
SESSION

for screen in 1280x1024 1024x768; do
  XVFB_SCREEN=$screen XVFB_FIRST_DISPLAY=180 run_session || exit 1
done
echo "PASS: every window lies on the screen at 1280x1024 and 1024x768, and no scroll bar covers a working window's content or any of its controls"
