#!/usr/bin/env bash
# Show Edit's word about its media player, in the built program under a virtual X server. First the
# settings name a player file that is there but is no program (not executable): Play says in the
# message line that the player could not be started, and why, and the show plays on without music.
# Then no player can be found at all (nothing named in the settings, no mpv on the program's path):
# the window says "mpv not installed." when it opens, and Open of a show, which says nothing, leaves
# it standing. Each time the message line is compared with the layout probe's picture of it saying
# the expected text; screenshots are kept.
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/session_lib.sh"
begin_session "$@"

write_two_drawings
mkdir -p "$home/program/Sequence" "$home/program/Music" "$home/nothing"
# Rows of 4000 ticks: the show plays on while it is looked at.
printf '[Music]\r\nsong.wav\r\n[Track1]\r\na.ddr|4000\r\n[Track2]\r\nb.ddr|4000\r\n[Track3]\r\na.ddr|4000\r\n' \
  >"$home/program/Sequence/show.seq"
printf 'music' >"$home/program/Music/song.wav"
printf '#!/bin/sh\nexit 0\n' >"$home/player.sh"
chmod 0644 "$home/player.sh"
# A settings file with line 35 (counted from 0), the media player, as given.
write_settings() {
  local values=([1]=0 [3]=0 [5]=16 [7]=16 [9]=10 [11]=6 [13]=0 [15]=0 [17]=0 [19]=75 [21]=20 [23]=20 [25]=100
    [27]=1 [29]=2 [31]=0 [33]=0 [35]=$1 [37]=100 [39]=100 [41]=100 [43]=100)
  for n in $(seq 0 43); do
    if [ $((n % 2)) -eq 0 ]; then printf 'line %d\r\n' "$n"; else printf '%s\r\n' "${values[$n]}"; fi
  done >"$home/program/Kavri.ini"
}

cat >"$home/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -uo pipefail
source "$SESSION_LIB"
# The message line as it must look saying the text, and where it stands.
message_place() {
  "$LAYOUT_PROBE" --show-edit-message "$1" "$2" | awk '$1 == "Form8.Label18" { print $2 "," $3 "," $4 "," $5 }'
}
shows_message() {
  "$X_TOOL" --title "Show Edit" --region "$1" --until-same "$2" --timeout 5 --screenshot "$3"
}
"$LAYOUT_PROBE" >"$LOGS/layout.txt" 2>/dev/null || exit 20
# The program alone gets a path without mpv in the second run.
PATH=${PROGRAM_PATH:-$PATH} "$KAVRI_BIN" >"$LOGS/stdout.txt" 2>"$LOGS/stderr.txt" &
pid=$!
"$X_TOOL" --title "Kavri laser software-0" --timeout 30 --click "$(place Form15.BitBtn4)" || exit 21
"$X_TOOL" --title "Show Edit" --timeout 10 >/dev/null || exit 22
if [ "$RUN" = cannot-start ]; then
  said=$(message_place "The media player \"player.sh\" could not be started: Permission denied." "$LOGS/refused.png")
  [ -n "$said" ] || { echo "the probe drew no message line" >&2; exit 19; }
  "$X_TOOL" --title "Show Edit" --click "$(place Form8.ToolButton1)" || exit 23
  shows_message "$said" "$LOGS/refused.png" "$ARTIFACTS/program_show_player_cannot_start.png" ||
    { echo "the message line does not say that the player could not be started" >&2; exit 31; }
  "$X_TOOL" --title "Show Edit" --screenshot "$ARTIFACTS/program_show_playing_without_player.png" || exit 26
  # The show plays on without its music.
  before=$(grep -c '^bulk' "$KAVRI_SIM_CAPTURE")
  sleep 0.5
  after=$(grep -c '^bulk' "$KAVRI_SIM_CAPTURE")
  [ "$after" -gt "$before" ] || { echo "the show does not play" >&2; exit 32; }
else
  said=$(message_place "mpv not installed." "$LOGS/missing.png")
  [ -n "$said" ] || { echo "the probe drew no message line" >&2; exit 19; }
  shows_message "$said" "$LOGS/missing.png" "$ARTIFACTS/program_show_player_missing.png" ||
    { echo "the window does not say that no player is installed" >&2; exit 33; }
  "$X_TOOL" --title "Show Edit" --click "$(place Form8.BitBtn17)" || exit 24  # Open
  sleep 0.3
  shows_message "$said" "$LOGS/missing.png" "$ARTIFACTS/program_show_player_missing_after_open.png" ||
    { echo "Open took away the notice that no player is installed" >&2; exit 34; }
  "$X_TOOL" --title "Show Edit" --screenshot "$ARTIFACTS/program_show_opened_without_player.png" || exit 25
fi
"$X_TOOL" --title "Kavri laser software-0" --timeout 10 --close || exit 28
wait_for_exit "$pid"
SESSION

write_settings "$home/player.sh"
export RUN=cannot-start
XVFB_FIRST_DISPLAY=390 run_session || exit 1
write_settings ""
export RUN=missing PROGRAM_PATH=$home/nothing
XVFB_FIRST_DISPLAY=390 run_session || exit 1
echo "PASS: Show Edit's message line says that a player which is no program could not be started, while the" \
  "show plays, and its notice that no player is installed stands through Open"
