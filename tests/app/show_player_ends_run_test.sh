#!/usr/bin/env bash
# Starts the built program under a virtual X server on a program folder that holds what killed
# saves leave (hidden temporary files) and a read-only settings file. Start-up must remove the
# temporary files and nothing else. Show Edit then plays a show twice through a fake "mpv": first
# one that writes terminal status lines (escape characters, carriage returns) and ends with 0 after
# its music, which is no failure: the message line goes on saying the show plays; then one that
# writes a warning, its sound library's error and its own error line and ends with 2, which the
# message line names by its own error line. Each player must be reaped (no zombie) while the show plays on. The message line is compared
# with the layout probe's picture of it saying the expected text. Closing the main window shows the
# box saying the settings were not saved (compared with the probe's picture of that box); SIGTERM
# must then end the program.
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/session_lib.sh"
begin_session "$@"

write_two_drawings
mkdir -p "$home/program/Sequence" "$home/program/Music" "$home/bin"
# Rows of 4000 ticks: the show plays on through both players.
printf '[Music]\r\nsong.wav\r\n[Track1]\r\na.ddr|4000\r\n[Track2]\r\nb.ddr|4000\r\n[Track3]\r\na.ddr|4000\r\n' \
  >"$home/program/Sequence/show.seq"
printf 'music' >"$home/program/Music/song.wav"
for folder in "" Drawing/ Music/; do
  head -c 100000 /dev/zero >"$home/program/${folder}.kavri-Ab12Cd"
  printf 'keep' >"$home/program/${folder}keep.txt"
done
# A complete settings file the program may not replace.
values=([1]=0 [3]=0 [5]=16 [7]=16 [9]=10 [11]=6 [13]=0 [15]=0 [17]=0 [19]=75 [21]=20 [23]=20 [25]=100 [27]=1 [29]=2
  [31]=0 [33]=0 [35]= [37]=100 [39]=100 [41]=100 [43]=100)
for n in $(seq 0 43); do
  if [ $((n % 2)) -eq 0 ]; then printf 'line %d\r\n' "$n"; else printf '%s\r\n' "${values[$n]}"; fi
done >"$home/program/Kavri.ini"
chmod 0444 "$home/program/Kavri.ini"
# As mpv does, the player writes its status line to its error output and its own errors to its
# standard output, its sound library's warnings and errors to the error output.
cat >"$home/bin/mpv" <<PLAYER
#!/bin/sh
echo \$\$ >"$home/player.part"
mv "$home/player.part" "$home/player.txt"
if [ "\$(cat "$home/player_mode")" = ends-well ]; then
  printf '\033[0m\r\033[KA: 00:00:00 / 00:00:01 (0%%)\r' >&2
  sleep 0.3
  printf '\r\033[KA: 00:00:01 / 00:00:01 (100%%)\r\n\a' >&2
  printf '\nExiting... (End of file)\n'
  exit 0
fi
echo "Warning: no sound-server configuration file here" >&2
echo "ALSA lib confmisc.c:855:(parse_card) cannot find card '0'" >&2
echo "[ao] Could not open/initialize audio device -> no sound."
echo "Audio: no audio"
exit 2
PLAYER
chmod +x "$home/bin/mpv"
export PATH="$home/bin:$PATH"

cat >"$home/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -uo pipefail
source "$SESSION_LIB"
# The message line as it must look saying each text, and where it stands.
message_place() {
  "$LAYOUT_PROBE" --show-edit-message "$1" "$2" | awk '$1 == "Form8.Label18" { print $2 "," $3 "," $4 "," $5 }'
}
playing=$(message_place "Show playing start..." "$LOGS/message_playing.png")
cause="[ao] Could not open/initialize audio device -> no sound."
failed=$(message_place "The media player ended with exit status 2: $cause" "$LOGS/message_failed.png")
[ -n "$playing" ] && [ -n "$failed" ] || { echo "the probe drew no message line" >&2; exit 19; }
"$LAYOUT_PROBE" --error-box "The settings were not saved. Cannot write $KAVRI_HOME/Kavri.ini: the file is read-only" \
  "$LOGS/settings_box.png" || { echo "the probe drew no box" >&2; exit 19; }
# Waits for the fake player's start and for the program to reap it once it has ended.
player_reaped() {
  for _ in $(seq 1 50); do [ -f "$LOGS/player.txt" ] && break; sleep 0.1; done
  [ -f "$LOGS/player.txt" ] || { echo "Play started no player" >&2; exit 24; }
  local player
  player=$(cat "$LOGS/player.txt")
  rm "$LOGS/player.txt"
  for _ in $(seq 1 50); do [ -e "/proc/$player" ] || return 0; sleep 0.1; done
  echo "the ended player $player was not reaped: $(grep '^State:' "/proc/$player/status")" >&2
  exit 33
}
start_program
"$X_TOOL" --title "Kavri laser software-0" --timeout 30 || exit 21
for folder in "" Drawing/ Music/; do
  [ ! -e "$KAVRI_HOME/${folder}.kavri-Ab12Cd" ] || { echo "start-up left $folder.kavri-Ab12Cd" >&2; exit 31; }
  [ -e "$KAVRI_HOME/${folder}keep.txt" ] || { echo "start-up removed ${folder}keep.txt" >&2; exit 32; }
done
echo ends-well >"$LOGS/player_mode"
"$X_TOOL" --title "Kavri laser software-0" --click "$(place Form15.BitBtn4)" || exit 22
"$X_TOOL" --title "Show Edit" --timeout 10 --click "$(place Form8.ToolButton1)" || exit 23
player_reaped
# The player's end is looked at every few milliseconds: a failure message would be up by now.
sleep 0.5
"$X_TOOL" --title "Show Edit" --region "$playing" --until-same "$LOGS/message_playing.png" --timeout 5 \
  --screenshot "$ARTIFACTS/program_show_player_ended_well.png" ||
  { echo "a player that ended well changed the message line" >&2; exit 34; }
echo fails >"$LOGS/player_mode"
"$X_TOOL" --title "Show Edit" --click "$(place Form8.ToolButton1)" || exit 25
player_reaped
"$X_TOOL" --title "Show Edit" --region "$failed" --until-same "$LOGS/message_failed.png" --timeout 5 \
  --screenshot "$ARTIFACTS/program_show_player_failed.png" ||
  { echo "the message line does not name the player's error line" >&2; exit 35; }
# The show still plays; its frames keep coming.
before=$(grep -c '^bulk' "$KAVRI_SIM_CAPTURE")
sleep 0.5
after=$(grep -c '^bulk' "$KAVRI_SIM_CAPTURE")
[ "$after" -gt "$before" ] || { echo "the show stopped with its player" >&2; exit 36; }
"$X_TOOL" --title "Show Edit" --screenshot "$ARTIFACTS/program_show_player_ended.png" || exit 26
"$X_TOOL" --title "Kavri laser software-0" --timeout 10 --close || exit 27
# The settings cannot be saved: the box saying so holds the exit.
"$X_TOOL" --title "Kavri laser software-0" --dialog --timeout 10 --until-same "$LOGS/settings_box.png" \
  --screenshot "$ARTIFACTS/program_settings_not_saved.png"
case $? in
  0) ;;
  2) echo "no box held the exit" >&2; exit 37 ;;
  *) echo "the box does not say that the settings were not saved, and why" >&2; exit 39 ;;
esac
kill -0 "$pid" 2>/dev/null || { echo "the program ended under its box" >&2; exit 38; }
kill -TERM "$pid"
wait_for_exit "$pid"
SESSION

XVFB_FIRST_DISPLAY=270 run_session || exit 1
echo "PASS: start-up removed the left temporary files; a player that ended well left the message line alone," \
  "a failed one was named by its error line; both were reaped; SIGTERM ended the program from the box saying" \
  "the settings were not saved"
