#!/usr/bin/env bash
# Starts the built program under a virtual X server with files it must not take as they are: a
# drawing far past the reader's limit, an ILDA file that turns into a folder before it is deleted,
# and a plotter file in the comma form. With real clicks and keys: Quick play's point count must
# stay empty for the drawing it cannot read, and the refused delete and the pointless plotter file
# must each be answered by a message box saying why; each is compared, pixel for pixel, with the
# picture the picture probe makes on the same display: of the delete box saying the words expected
# here, and of the plotter box from the program's own text (whose words its unit test holds). The
# program must end normally; screenshots are kept.
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/session_lib.sh"
begin_session "$@"
# The plotter path is typed key by key: lower-case letters, digits, "/" and "." only.
plt_dir=/tmp/kavrihostile$$
mkdir -p "$plt_dir" "$home/program/ILDAimage"
trap 'rm -rf "$home" "$plt_dir"' EXIT

write_two_drawings
truncate -s 20M "$home/program/Drawing/b.ddr"  # sparse: past the reader's limit of 1048576 points
# An ILDA file of its end mark alone: "ILDA", format 0, then zeros to the 32 bytes of a header.
{ printf 'ILDA'; head -c 28 /dev/zero; } >"$home/program/ILDAimage/x.ild"
printf '%s\r\n' "IN;SP1;PU1000,1000;PD2000,2000;PD1000,2000;SP0;" >"$plt_dir/comma.plt"
export PLT_FILE=$plt_dir/comma.plt

cat >"$home/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -uo pipefail
source "$SESSION_LIB"
# The pictures to compare with, of the same display: Quick play without a count, and the boxes.
# part NAME FILE: "X,Y,W,H" of the part the picture probe printed as NAME into FILE.
part() { awk -v n="$1" '$1 == n { print $2 "," $3 "," $4 "," $5 }' "$LOGS/$2"; }
"$PICTURE_PROBE" "$LOGS/no_count.png" no-count >"$LOGS/no_count.txt" || exit 40
"$PICTURE_PROBE" "$LOGS/not_deleted.png" error-box '"x.ild" was not deleted: Is a directory.' \
  >"$LOGS/not_deleted.txt" || exit 41
"$PICTURE_PROBE" "$LOGS/no_lines.png" no-plotter-lines >"$LOGS/no_lines.txt" || exit 42
start_program
"$X_TOOL" --title "Kavri laser software-0" --timeout 30 --click "$(place Form15.BitBtn5)" || exit 21
# The second tile is b.ddr, the drawing the reader refuses.
"$X_TOOL" --title "Quick play" --timeout 10 --click "$(place Form4.Image5)" || exit 22
sleep 0.5
"$X_TOOL" --title "Quick play" --timeout 10 --screenshot "$ARTIFACTS/program_quick_play_unread_drawing.png" \
  --until-same "$(part Label29 no_count.txt),$LOGS/no_count.png" || exit 23
# x.ild, the only ILDA file, is the list's first row.
read -r _ lx ly lw _ < <(grep '^Form4.FileListBox2 ' "$LOGS/layout.txt")
"$X_TOOL" --title "Quick play" --click "$((lx + lw / 2)),$((ly + 10))" || exit 24
rm "$KAVRI_HOME/ILDAimage/x.ild" && mkdir -p "$KAVRI_HOME/ILDAimage/x.ild/inside"
"$X_TOOL" --title "Quick play" --key Delete || exit 25
# The box shares the main window's title and stands over it.
"$X_TOOL" --title "Kavri laser software-0" --timeout 10 \
  --screenshot "$ARTIFACTS/program_quick_play_delete_refused.png" \
  --until-same "$(part label not_deleted.txt),$LOGS/not_deleted.png" || exit 26
"$X_TOOL" --title "Kavri laser software-0" --key Return || exit 26

# Quick play closes first: it stands over the main window's buttons.
"$X_TOOL" --title "Quick play" --close || exit 27
sleep 0.5
"$X_TOOL" --title "Kavri laser software-0" --timeout 10 --click "$(place BitBtn1)" || exit 27
"$X_TOOL" --title "Picure Edit" --timeout 10 --click "$(place BitBtn5)" || exit 28
"$X_TOOL" --title "Import plt" --timeout 10 --click "$(place Form17.Button1)" || exit 29
# shellcheck disable=SC2046
"$X_TOOL" --title "Open" --timeout 10 $(keys_of "$PLT_FILE") --key Return || exit 30
"$X_TOOL" --title "Import plt" --timeout 10 --click "$(place Form17.BitBtn3)" || exit 31
"$X_TOOL" --title "Kavri laser software-0" --timeout 10 --screenshot "$ARTIFACTS/program_import_plt_no_points.png" \
  --until-same "$(part label no_lines.txt),$LOGS/no_lines.png" || exit 32
"$X_TOOL" --title "Kavri laser software-0" --key Return || exit 32
"$X_TOOL" --title "Kavri laser software-0" --timeout 10 --close || exit 33
wait_for_exit "$pid"
SESSION

XVFB_FIRST_DISPLAY=310 run_session || exit 1
[ -d "$home/program/ILDAimage/x.ild" ] || { echo "FAIL: the folder in the ILDA file's place went" >&2; exit 1; }
echo "PASS: the unreadable drawing showed no count, and the refused delete and the pointless plotter file were each"
echo "      said in a box as the program's own code shows it"
