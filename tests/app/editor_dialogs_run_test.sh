#!/usr/bin/env bash
# Starts the built program under a virtual X server, opens the editor from the main window, imports
# a plotter file through the "Import plt" window (its file dialog answered by typing the path) and
# a line of text through the "Import Text" window, all with real clicks and keys, and keeps a
# picture of the editor's canvas after each import. Each import must change the canvas. Then 150
# lines of "a" are typed into Import Text and previewed, past the 100 lines an import builds (the box
# saying so closed): its point count must be that of the whole text, 150 times one line's (compared
# with the layout probe's picture of that number).
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/session_lib.sh"
begin_session "$@"
# The path is typed key by key: lower-case letters, digits, "/" and "." only.
plt_dir=/tmp/kavriplt$$
mkdir -p "$plt_dir"
trap 'rm -rf "$home" "$plt_dir"' EXIT

# A house: walls and roof in one block, a door in the next after a pen-up; no "SP0;" at the end.
printf '%s\r\n' "IN;" "SP1;" "LT;" "PU1000 1000;" "PD5000 1000;" "PD5000 4000;" "PD3000 6000;" "PD1000 4000;" \
  "PD1000 1000;" "LT;" "PU2500 1000;" "PD2500 2500;" "PD3500 2500;" "PD3500 1000;" >"$plt_dir/house.plt"

cat >"$home/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -uo pipefail
source "$SESSION_LIB"
start_program
read -r _ cx cy cw ch < <(grep '^Image90 ' "$LOGS/layout.txt")
canvas="$cx,$cy,$cw,$ch"
"$X_TOOL" --title "Kavri laser software-0" --timeout 30 --click "$(place BitBtn1)" || exit 21
"$X_TOOL" --title "Picure Edit" --timeout 10 --region "$canvas" --screenshot "$LOGS/canvas_empty.png" || exit 22

# Plotter file: Import Plt, Find...., type the path and Return, Preview, OK.
"$X_TOOL" --title "Picure Edit" --click "$(place BitBtn5)" || exit 23
"$X_TOOL" --title "Import plt" --timeout 10 --click "$(place Form17.Button1)" || exit 24
# shellcheck disable=SC2046
"$X_TOOL" --title "Open" --timeout 10 $(keys_of "$PLT_FILE") --key Return || exit 25
"$X_TOOL" --title "Import plt" --timeout 10 --click "$(place Form17.BitBtn3)" \
  --screenshot "$ARTIFACTS/program_import_plt_window.png" || exit 26
"$X_TOOL" --title "Import plt" --click "$(place Form17.BitBtn1)" || exit 27
"$X_TOOL" --title "Picure Edit" --timeout 10 --region "$canvas" \
  --screenshot "$ARTIFACTS/program_editor_after_plt_import.png" || exit 28
if cmp -s "$LOGS/canvas_empty.png" "$ARTIFACTS/program_editor_after_plt_import.png"; then
  echo "the canvas did not change after the plotter import" >&2
  exit 29
fi

# Text: the Text button, a line typed after the memo's "Text", Large size, OK. The editor redraws
# on its next one-second tick.
"$X_TOOL" --title "Picure Edit" --click "$(place BitBtn22)" || exit 30
# shellcheck disable=SC2046
# (The tool clicks before it types, so the memo's keys and the box's click are two calls.)
"$X_TOOL" --title "Import Text" --timeout 10 --click "$(place Form6.skinMemo1)" --key End $(keys_of " kavri 42") || exit 31
"$X_TOOL" --title "Import Text" --click "$(place Form6.skinCheckBox2)" \
  --screenshot "$ARTIFACTS/program_import_text_window.png" || exit 31
"$X_TOOL" --title "Import Text" --click "$(place Form6.BitBtn3)" || exit 32
sleep 1.5
"$X_TOOL" --title "Picure Edit" --timeout 10 --region "$canvas" \
  --screenshot "$ARTIFACTS/program_editor_after_text_import.png" || exit 33
if cmp -s "$ARTIFACTS/program_editor_after_plt_import.png" "$ARTIFACTS/program_editor_after_text_import.png"; then
  echo "the canvas did not change after the text import" >&2
  exit 34
fi

count=$("$LAYOUT_PROBE" --import-text-count 150 "$LOGS/count.png" |
  awk '$1 == "Form6.Label6" { print $2 "," $3 "," $4 "," $5 }')
[ -n "$count" ] || { echo "the probe drew no point count" >&2; exit 19; }
lines() { for _ in $(seq 1 "$1"); do printf -- '--key a --key Return '; done; }
"$X_TOOL" --title "Picure Edit" --click "$(place BitBtn22)" || exit 37
# Typed with Auto preview off, then previewed once: the box saying the text is cut comes at Preview.
"$X_TOOL" --title "Import Text" --timeout 10 --click "$(place Form6.skinCheckBox1)" || exit 38
# shellcheck disable=SC2046
"$X_TOOL" --quick --title "Import Text" --click "$(place Form6.skinMemo1)" --key Control_L+a $(lines 150) || exit 38
"$X_TOOL" --title "Import Text" --click "$(place Form6.BitBtn2)" || exit 40
"$X_TOOL" --title "Kavri laser software-0" --dialog --timeout 30 --close || { echo "no box said the text is cut" >&2; exit 39; }
"$X_TOOL" --title "Import Text" --region "$count" --until-same "$LOGS/count.png" --timeout 30 \
  --screenshot "$ARTIFACTS/program_import_text_count.png" ||
  { echo "the point count is not that of the whole text" >&2; exit 41; }
"$X_TOOL" --title "Import Text" --screenshot "$ARTIFACTS/program_import_text_long.png" || exit 42
"$X_TOOL" --title "Import Text" --click "$(place Form6.BitBtn4)" || exit 43

# Close: the drawing is unsaved, so the editor asks first: No.
"$X_TOOL" --title "Kavri laser software-0" --timeout 10 --close || exit 35
"$X_TOOL" --title "Picure Edit" --timeout 10 --key n || exit 36
wait_for_exit "$pid"
SESSION

export PLT_FILE=$plt_dir/house.plt
XVFB_FIRST_DISPLAY=130 run_session || exit 1
echo "PASS: a plotter file and a line of text were imported into the editor; the canvas changed after each;" \
  "Import Text counts the points of all 150 lines of a text it builds 100 of"
