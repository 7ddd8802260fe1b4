#!/usr/bin/env bash
# Starts the built program under a virtual X server, opens "Show Edit" from the main window and,
# with real clicks and keys, makes a new show with a drawing on track 1, a segment on track 2 and an
# ILDA image on track 3, saves it, starts another show, reopens the saved one and saves it again
# under a second name. The saved file must hold the three rows, and the copy written from the
# reopened grids must be the same bytes; a screenshot of the reopened show is kept.
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/session_lib.sh"
begin_session "$@"

write_two_drawings
mkdir -p "$home/program/Section" "$home/program/ILDAimage"
printf 'a.ddr|30|50|0|0|0|0|0|0|0|0|257|20|0|30|0|30000|0|0\r\n' >"$home/program/Section/intro.sec"
# Two 3-D indexed frames of one point each (total frames 2), then the closing header.
ilda_header() { printf 'ILDA\x00\x00\x00\x00beam\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00%b\x00%b\x00\x02\x00\x00' "$1" "$2"; }
{
  ilda_header '\x01' '\x00'
  printf '\x10\x00\x20\x00\x00\x00\x80\x01'
  ilda_header '\x01' '\x01'
  printf '\x20\x00\x10\x00\x00\x00\x80\x02'
  ilda_header '\x00' '\x02'
} >"$home/program/ILDAimage/beam.ild"

cat >"$home/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -uo pipefail
source "$SESSION_LIB"
start_program
type_name() { # title, name
  # shellcheck disable=SC2046
  "$X_TOOL" --title "$1" --timeout 10 $(for c in $(echo "$2" | grep -o .); do printf -- '--key %s ' "$c"; done) --key Return
}
edit() { "$X_TOOL" --title "Show Edit" --timeout 10 "$@"; }
"$X_TOOL" --title "Kavri laser software-0" --timeout 30 --click "$(place Form15.BitBtn4)" || exit 21
edit --click "$(place Form8.BitBtn4)" || exit 22
type_name "Create a new show" gig || exit 23
# Each track: its grid takes the focus (the edit track follows), the list's first file, Add.
edit --click "$(place Form8.SskinStringGrid1.header)" --click "$(place Form8.FileListBox1.item0)" \
  --click "$(place Form8.BitBtn1)" || exit 24
edit --click "$(place Form8.SskinStringGrid2.header)" --click "$(place Form8.FileListBox2.item0)" \
  --click "$(place Form8.skinButton7)" || exit 25
edit --click "$(place Form8.SskinStringGrid3.header)" --click "$(place Form8.FileListBox3.item0)" \
  --click "$(place Form8.skinButton5)" || exit 26
edit --click "$(place Form8.BitBtn5)" || exit 27
for _ in $(seq 1 50); do [ -f "$KAVRI_HOME/Sequence/gig.seq" ] && break; sleep 0.1; done
[ -f "$KAVRI_HOME/Sequence/gig.seq" ] || { echo "Save wrote no gig.seq" >&2; exit 28; }
# Another show empties the grids; the saved one is opened from the show list.
edit --click "$(place Form8.BitBtn4)" || exit 29
type_name "Create a new show" other || exit 30
edit --click "$(place Form8.FileListBox4.item0)" --click "$(place Form8.BitBtn17)" || exit 31
sleep 0.5
edit --screenshot "$ARTIFACTS/program_show_edit_window.png" || exit 32
edit --click "$(place Form8.BitBtn16)" || exit 33
type_name "Save as show" again || exit 34
for _ in $(seq 1 50); do [ -f "$KAVRI_HOME/Sequence/again.seq" ] && break; sleep 0.1; done
"$X_TOOL" --title "Kavri laser software-0" --timeout 10 --close || exit 35
wait_for_exit "$pid"
SESSION

XVFB_FIRST_DISPLAY=230 run_session || exit 1
saved="$KAVRI_HOME/Sequence/gig.seq"
again="$KAVRI_HOME/Sequence/again.seq"
echo "--- show file"
cat -A "$saved"
expected=$(printf '[Music]\r\n\r\n[Track1]\r\na.ddr|100\r\n[Track2]\r\nintro.sec|30\r\n[Track3]\r\nbeam.ild|2\r\n' | od -An -c)
if [ "$(od -An -c <"$saved")" != "$expected" ]; then
  echo "FAIL: the saved show does not hold the drawing, segment and image rows on tracks 1 to 3" >&2
  exit 1
fi
[ -f "$again" ] || { echo "FAIL: Save as wrote no again.seq" >&2; exit 1; }
if ! cmp "$saved" "$again"; then
  echo "FAIL: the reopened grids did not save the same show" >&2
  cat -A "$again"
  exit 1
fi
echo "PASS: Show Edit saved a three-track show and reopened it as it was"
