#!/usr/bin/env bash
# Starts the built program under a virtual X server with a window manager (openbox) and opens the
# editor. While Circle waits for its second press, another program moves the editor and shrinks it
# (its scroll bars come), the wheel scrolls the canvas, and the other program makes the editor larger
# than it opened (the canvas moves within it): after each, the pointer pushed past any side must stop
# on the last pixel of the canvas's part that now shows, and reach each of its corners; the layout
# probe tells where that part is for the window's size and scroll. Then
# the circle is finished and System > Exit asks about the drawing; a window manager's close of the
# editor meanwhile must neither ask again nor take the editor away, and Cancel must still answer the
# question. Keeps pictures of the screen after the resize and with the question up.
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/session_lib.sh"
begin_session "$@"

cat >"$home/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -uo pipefail
source "$SESSION_LIB"
edit="Picure Edit"
main="Kavri laser software-0"
# The canvas's shown part, "X Y W H" in the window, laid out without a window manager around it, for a
# window of W x H, after the wheel turned N notches down.
shown_at() {
  "$LAYOUT_PROBE" --editor-canvas-shown "$@" 2>/dev/null | awk '$1 == "Image90.shown" { print $2, $3, $4, $5 }'
}
read -r opened_w opened_h < <(awk '$1 == "Form1.window" { print $2, $3 }' <("$LAYOUT_PROBE" 2>/dev/null))
# NAME X Y W H NOTCHES: the editor placed at X,Y with W x H, or, with NOTCHES, scrolled by the wheel.
steps=("moved 150 120 $opened_w $opened_h 0" "smaller 150 120 640 480 0" "scrolled 150 120 640 480 3"
       "larger 20 10 1200 950 0" "moved_again 60 40 1200 950 0")
declare -A expected
for step in "${steps[@]}"; do
  read -r name _ _ w h notches <<<"$step"
  expected[$name]=$(shown_at "$w" "$h" "$notches")
  [ -n "${expected[$name]}" ] || { echo "the layout probe gave no canvas for ${w}x$h" >&2; exit 20; }
done
openbox >"$LOGS/wm.txt" 2>&1 &
wm=$!
trap 'kill "$wm" 2>/dev/null' EXIT
start_program
read -r _ cx cy _ _ < <(grep '^Image90 ' "$LOGS/layout.txt")
pointer_at() {
  "$X_TOOL" --title "$edit" --not-dialog --quick --timeout 10 --move "$1" --pointer |
    awk '$1 == "pointer" { print $2 "," $3 }'
}
frame_of() {
  "$X_TOOL" --title "$edit" --not-dialog --timeout 10 --frame | awk '$1 == "frame" { print $2, $3, $4, $5 }'
}
# The pointer pushed far past each corner of the window stops on that corner of the shown part.
holds() {
  local x y w h got
  read -r x y w h <<<"$1"
  for corner in "-3000,-3000 $x,$y" "3000,-3000 $((x + w - 1)),$y" "-3000,3000 $x,$((y + h - 1))" \
                "3000,3000 $((x + w - 1)),$((y + h - 1))"; do
    read -r push want <<<"$corner"
    got=$(pointer_at "$push")
    [ "$got" = "$want" ] || { held_wrong="pushed to $push it stopped at $got, not $want"; return 1; }
  done
}

"$X_TOOL" --title "$main" --timeout 30 --click "$(place BitBtn1)" || exit 21
"$X_TOOL" --title "$edit" --not-dialog --timeout 10 --click "$(place skinButton15)" \
  --click "$((cx + 100)),$((cy + 100))" || exit 22
shown=""
for step in "${steps[@]}"; do
  read -r name x y w h notches <<<"$step"
  if [ "$notches" -gt 0 ]; then
    read -r sx sy _ _ <<<"$shown"
    "$X_TOOL" --title "$edit" --not-dialog --quick --move "$((sx + 100)),$((sy + 100))" \
      --wheel "$notches" >/dev/null || exit 29
  else
    before=$(frame_of)
    "$X_TOOL" --title "$edit" --not-dialog --quick --timeout 10 --place "$x,$y,$w,$h" >/dev/null ||
      { echo "the editor was not $name to ${w}x$h" >&2; exit 23; }
    [ "$(frame_of)" != "$before" ] ||
      { echo "the editor was not $name (its frame stayed at $before)" >&2; exit 24; }
  fi
  # The program takes the area again once its layout has settled: a few seconds at most.
  for _ in $(seq 1 20); do
    holds "${expected[$name]}" && break
    sleep 0.2
  done
  holds "${expected[$name]}" || { echo "with Circle waiting and the editor $name: $held_wrong" >&2; exit 25; }
  echo "$name: the pointer stays on and reaches the canvas's shown part ${expected[$name]}"
  shown=${expected[$name]}
  if [ "$name" = larger ]; then
    "$X_TOOL" --title "$edit" --not-dialog --quick --screen-shot "$ARTIFACTS/editor_held_pointer_after_resize.png" \
      >/dev/null || exit 26
  fi
done
# The second press finishes the circle (a change to the drawing) and lets the pointer go.
read -r x y _ _ <<<"${expected[moved_again]}"
"$X_TOOL" --title "$edit" --not-dialog --quick --click "$((x + 300)),$((y + 300))" || exit 27
IFS=, read -r gx gy < <(pointer_at "3000,3000")
[ "$gx" -gt $((x + 511)) ] && [ "$gy" -gt $((y + 511)) ] ||
  { echo "after the circle was finished the pointer pushed away stopped at $gx,$gy" >&2; exit 28; }

# System > Exit asks about the drawing; the window manager's close of the editor meanwhile is no
# second close.
question_up() { "$X_TOOL" --title "$edit" --dialog --frame --timeout "$1" >/dev/null 2>&1; }
editor_there() { "$X_TOOL" --title "$edit" --not-dialog --frame --timeout 0 >/dev/null 2>&1; }
"$X_TOOL" --title "$edit" --not-dialog --quick --click "$(place skinMainMenu1.System)" --key x || exit 30
question_up 10 || { echo "System > Exit did not ask about the drawing" >&2; exit 31; }
"$X_TOOL" --title "$edit" --not-dialog --quick --close >/dev/null || exit 32
sleep 1
editor_there || { echo "the window manager's close took the editor away from under its question" >&2; exit 33; }
"$X_TOOL" --title "$edit" --quick --screen-shot "$ARTIFACTS/editor_exit_question_after_close.png" >/dev/null ||
  exit 34
"$X_TOOL" --title "$edit" --dialog --quick --key Escape >/dev/null || exit 35
for _ in $(seq 1 50); do
  question_up 0 || break
  sleep 0.1
done
question_up 0 && { echo "after Cancel a question is still up: the close asked a second time" >&2; exit 36; }
kill -0 "$pid" 2>/dev/null || { echo "the program ended on Cancel" >&2; exit 37; }
editor_there || { echo "the editor is gone after Cancel" >&2; exit 38; }
"$X_TOOL" --title "$main" --frame --timeout 2 >/dev/null ||
  { echo "the main window is gone after Cancel" >&2; exit 39; }
# Asked again, No ends the program.
"$X_TOOL" --title "$edit" --not-dialog --quick --click "$(place skinMainMenu1.System)" --key x || exit 40
question_up 10 || { echo "a second System > Exit did not ask about the drawing" >&2; exit 41; }
"$X_TOOL" --title "$edit" --dialog --quick --key n >/dev/null || exit 42
wait_for_exit "$pid"
SESSION

XVFB_FIRST_DISPLAY=390 run_session || exit 1
echo "PASS: with Circle waiting, the pointer stayed on and reached every corner of the canvas's shown part after the" \
  "editor was moved, made smaller and made larger by another program and after the wheel scrolled it; a window" \
  "manager's close of the editor during System > Exit's question neither asked again nor took the editor away," \
  "Cancel answered, and No ended the program"
