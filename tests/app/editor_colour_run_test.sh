#!/usr/bin/env bash
# Starts the built program under a virtual X server and opens the editor from the main window, all
# with real clicks and keys. Draws a line in palette colour 69, goes back to colour 4 and picks the
# line's colour with the Dropper: the colour values and panel must then look exactly as a click on
# colour 69 made them. Then types "2a5" into the point-space field: it must look as "25" does, and
# the letter must still have chosen its tool. Then, while Circle and 2P Line wait for their next
# press, the pointer moved away must stay on the canvas (again after a menu opened from the keyboard
# has closed), and move freely once the tool has ended, while that menu is open, or once a SIGTERM
# has brought the drawing's question (answered Cancel: the program runs on).
# Keeps pictures of the editor after the pick and after the tools.
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/session_lib.sh"
begin_session "$@"

cat >"$home/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -uo pipefail
source "$SESSION_LIB"
start_program
# The box around the named controls as "X,Y,W,H", from the layout probe's lines.
region_of() {
  awk -v names=" $* " 'index(names, " " $1 " ") {
      if (!n++) { x0 = $2; y0 = $3; x1 = $2 + $4; y1 = $3 + $5 }
      if ($2 < x0) x0 = $2
      if ($3 < y0) y0 = $3
      if ($2 + $4 > x1) x1 = $2 + $4
      if ($3 + $5 > y1) y1 = $3 + $5
    }
    END { if (n) print x0 "," y0 "," x1 - x0 "," y1 - y0 }' "$LOGS/layout.txt"
}
same() { cmp -s "$LOGS/$1.png" "$LOGS/$2.png"; }
edit="Picure Edit"
values=$(region_of Label13 Label22 Label24 Label34 Panel1)
field=$(region_of Edit2)
status=$(region_of Label1)
read -r _ cx cy _ _ < <(grep '^Image90 ' "$LOGS/layout.txt")
[ -n "$values" ] && [ -n "$field" ] && [ -n "$status" ] || exit 20
shot() { "$X_TOOL" --title "$edit" --timeout 10 --region "$1" --screenshot "$LOGS/$2.png"; }

"$X_TOOL" --title "Kavri laser software-0" --timeout 30 --click "$(place BitBtn1)" || exit 21
shot "$values" values_4 || exit 22
"$X_TOOL" --title "$edit" --click "$(place skinDrawGrid1.cell1.5)" || exit 23
shot "$values" values_69 || exit 24
if same values_4 values_69; then
  echo "a palette click on colour 69 did not change the colour values" >&2
  exit 25
fi

# A line in colour 69 (2P Line, two presses, Esc), then colour 4 again, then the Dropper on the line.
"$X_TOOL" --title "$edit" --click "$(place BitBtn27)" --click "$((cx + 60)),$((cy + 100))" \
  --click "$((cx + 400)),$((cy + 100))" --key Escape || exit 26
"$X_TOOL" --title "$edit" --click "$(place skinDrawGrid1.cell0.4)" || exit 27
shot "$values" values_back || exit 28
"$X_TOOL" --title "$edit" --click "$(place skinButton29)" --click "$((cx + 200)),$((cy + 100))" || exit 29
shot "$values" values_picked || exit 30
"$X_TOOL" --title "$edit" --screenshot "$ARTIFACTS/program_editor_after_dropper.png" || exit 31
if ! same values_back values_4; then
  echo "going back to colour 4 did not show colour 4 again" >&2
  exit 32
fi
if ! same values_picked values_69; then
  echo "after the Dropper picked colour 69 the colour values do not show it as a palette click does" >&2
  exit 33
fi

# The point-space field: "25", then "3", then "2a5"; each ended by Return and Tab (no caret).
type_field() {
  local keys=()
  for k in "$@"; do keys+=(--key "$k"); done
  "$X_TOOL" --title "$edit" --click "$(place Edit2)" --key End --key BackSpace --key BackSpace \
    --key BackSpace --key BackSpace "${keys[@]}" --key Return --key Tab
}
type_field 2 5 || exit 34
shot "$field" field_25 || exit 35
type_field 3 || exit 36
shot "$field" field_3 || exit 37
shot "$status" status_before || exit 38
type_field 2 a 5 || exit 39
shot "$field" field_typed || exit 40
shot "$status" status_after || exit 41
"$X_TOOL" --title "$edit" --screenshot "$ARTIFACTS/program_editor_after_number_field.png" || exit 42
if same field_25 field_3; then
  echo "the point-space field looked the same with 25 and 3" >&2
  exit 43
fi
if ! same field_typed field_25; then
  echo "typing 2, a, 5 and Return into the point-space field did not give 25" >&2
  exit 44
fi
if same status_before status_after; then
  echo "the letter typed into the point-space field did not choose its tool" >&2
  exit 45
fi

# A tool waiting for its next press holds the pointer on the canvas: moved away (onto the palette,
# onto the window's corner), it stays on the canvas; after the tool's last press, or Esc, it moves
# freely again.
pointer_at() {
  "$X_TOOL" --title "$edit" --quick --timeout 10 --move "$1" --pointer | awk '$1 == "pointer" { print $2, $3 }'
}
on_canvas() { [ "$1" -ge "$cx" ] && [ "$1" -lt $((cx + 512)) ] && [ "$2" -ge "$cy" ] && [ "$2" -lt $((cy + 512)) ]; }
palette=$(place skinDrawGrid1.cell0.4)
for tool in skinButton15 BitBtn27; do  # Circle (ends at its second press), 2P Line (ends with Esc)
  "$X_TOOL" --title "$edit" --click "$(place "$tool")" --click "$((cx + 100)),$((cy + 300))" || exit 50
  for away in "$palette" "2,2"; do
    read -r px py < <(pointer_at "$away") || exit 51
    if ! on_canvas "$px" "$py"; then
      echo "with $tool waiting, the pointer moved to $away left the canvas: at $px,$py" >&2
      exit 52
    fi
  done
  if [ "$tool" = skinButton15 ]; then
    "$X_TOOL" --title "$edit" --quick --click "$((cx + 160)),$((cy + 360))" || exit 53
  else
    "$X_TOOL" --title "$edit" --quick --key Escape || exit 53
  fi
  read -r px py < <(pointer_at "$palette") || exit 54
  if [ "$px,$py" != "$palette" ]; then
    echo "after $tool ended, the pointer moved to the palette at $palette stopped at $px,$py" >&2
    exit 55
  fi
done
"$X_TOOL" --title "$edit" --screenshot "$ARTIFACTS/program_editor_after_confined_tools.png" || exit 56

# A quit asked while 2P Line waits: the drawing's question is a modal box, which lets the pointer
# go; Cancel answers it and the program runs on.
"$X_TOOL" --title "$edit" --click "$(place BitBtn27)" --click "$((cx + 100)),$((cy + 300))" || exit 60
# A menu opened from the keyboard lets the pointer go while it is open; once it is closed, the next
# move over the canvas holds the pointer there again.
"$X_TOOL" --title "$edit" --key Alt_L+h || exit 69
read -r px py < <(pointer_at "$palette") || exit 71
if [ "$px,$py" != "$palette" ]; then
  echo "with a menu open, the pointer moved to the palette at $palette stopped at $px,$py" >&2
  exit 72
fi
"$X_TOOL" --title "$edit" --quick --key Escape || exit 73
"$X_TOOL" --title "$edit" --quick --move "$((cx + 120)),$((cy + 300))" || exit 70
read -r px py < <(pointer_at "$palette") || exit 61
on_canvas "$px" "$py" || { echo "after a menu closed, with 2P Line waiting, the pointer left the canvas: at $px,$py" >&2; exit 62; }
kill -TERM "$pid"
"$X_TOOL" --title "$edit" --dialog --frame --timeout 10 >/dev/null || { echo "SIGTERM brought no question" >&2; exit 63; }
read -r px py < <(pointer_at "$palette") || exit 64
if [ "$px,$py" != "$palette" ]; then
  echo "with the drawing's question up, the pointer moved to the palette at $palette stopped at $px,$py" >&2
  exit 65
fi
"$X_TOOL" --title "$edit" --dialog --quick --key Escape >/dev/null || exit 66
for _ in $(seq 1 100); do
  "$X_TOOL" --title "$edit" --dialog --frame --timeout 0 >/dev/null 2>&1 || break
  sleep 0.1
done
kill -0 "$pid" 2>/dev/null || { echo "the program ended on Cancel" >&2; exit 67; }
"$X_TOOL" --title "$edit" --quick --key Escape || exit 68

# Close: the drawing is unsaved, so the editor asks first: No.
"$X_TOOL" --title "Kavri laser software-0" --timeout 10 --close || exit 46
"$X_TOOL" --title "$edit" --timeout 10 --key n || exit 47
wait_for_exit "$pid"
SESSION

XVFB_FIRST_DISPLAY=170 run_session || exit 1
echo "PASS: the Dropper showed the picked colour as a palette click does; the point-space field refused a letter; a waiting tool held the pointer on the canvas and let it go when it ended, while a menu was open or when the quit question opened; Cancel kept the program running"
