#!/usr/bin/env bash
# Segment Edit's drawing-name column in the built program under a virtual X server: the only drawing
# has a name of 60 characters. Add puts it in the grid, and the column widens to show it (the grid's
# header row changes); New empties the grid, and the column is as narrow as it opened (the header
# row is as it was when the window opened). Screenshots are kept.
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/session_lib.sh"
begin_session "$@"

mkdir -p "$home/program/Drawing"
long=$(printf 'n%.0s' $(seq 1 56))
printf '\x0a\x14\x00\x02\x00\x1e\x28\x00\x02\x80' >"$home/program/Drawing/$long.ddr"

cat >"$home/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -uo pipefail
source "$SESSION_LIB"
start_program
# The grid's header row: "Drawing name", then "A" to "R", each where its column's width puts it.
read -r _ gx gy gw _ < <(grep '^Form5.skinStringGrid1 ' "$LOGS/layout.txt")
header="$gx,$gy,$gw,22"
"$X_TOOL" --title "Kavri laser software-0" --timeout 30 --click "$(place Form15.BitBtn2)" || exit 21
"$X_TOOL" --title "Segment Edit" --timeout 10 --region "$header" --screenshot "$LOGS/header.png" >/dev/null || exit 22
"$X_TOOL" --title "Segment Edit" --click "$(place Form5.FileListBox1.item0)" || exit 23
"$X_TOOL" --title "Segment Edit" --click "$(place Form5.BitBtn1)" || exit 24  # Add
sleep 0.3
"$X_TOOL" --title "Segment Edit" --screenshot "$ARTIFACTS/program_segment_long_name_added.png" >/dev/null || exit 25
if "$X_TOOL" --title "Segment Edit" --region "$header" --until-same "$LOGS/header.png" --timeout 1 >/dev/null 2>&1; then
  echo "the name column did not widen for the long name" >&2
  exit 31
fi
"$X_TOOL" --title "Segment Edit" --click "$(place Form5.BitBtn4)" || exit 26  # New
# shellcheck disable=SC2046
"$X_TOOL" --quick --title "Creat a new segment" --timeout 10 $(keys_of "short") --key Return >/dev/null || exit 27
"$X_TOOL" --title "Segment Edit" --region "$header" --until-same "$LOGS/header.png" --timeout 5 \
  --screenshot "$ARTIFACTS/program_segment_header_after_new.png" >/dev/null ||
  { echo "the name column kept the long name's width after New" >&2; exit 32; }
"$X_TOOL" --title "Segment Edit" --screenshot "$ARTIFACTS/program_segment_after_new.png" >/dev/null || exit 28
"$X_TOOL" --title "Kavri laser software-0" --timeout 10 --close || exit 29
wait_for_exit "$pid"
SESSION

XVFB_FIRST_DISPLAY=410 run_session || exit 1
echo "PASS: Segment Edit's name column widened for a long drawing name and was as narrow as it opened after New"
