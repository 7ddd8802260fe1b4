#!/usr/bin/env bash
# Starts the built program under a virtual X server on a program folder that holds what killed
# saves leave (hidden temporary files) and a read-only settings file. Start-up must remove the
# temporary files and nothing else. Show Edit then plays a show through a fake "mpv" that gives up
# at once with an error: the player must be reaped (no zombie) while the show plays on, and the
# message line says why (screenshot). Closing the main window shows the box saying the settings
# were not saved; SIGTERM must then end the program.
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/session_lib.sh"
begin_session "$@"

write_two_drawings
mkdir -p "$home/program/Sequence" "$home/program/Music" "$home/bin"
printf '[Music]\r\nsong.wav\r\n[Track1]\r\na.ddr|800\r\n[Track2]\r\nb.ddr|800\r\n[Track3]\r\na.ddr|800\r\n' \
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
cat >"$home/bin/mpv" <<PLAYER
#!/bin/sh
echo \$\$ >"$home/player.part"
mv "$home/player.part" "$home/player.txt"
echo "Cannot open the audio device." >&2
echo "more detail" >&2
exit 2
PLAYER
chmod +x "$home/bin/mpv"
export PATH="$home/bin:$PATH"

cat >"$home/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -uo pipefail
source "$SESSION_LIB"
start_program
"$X_TOOL" --title "Kavri laser software-0" --timeout 30 || exit 21
for folder in "" Drawing/ Music/; do
  [ ! -e "$KAVRI_HOME/${folder}.kavri-Ab12Cd" ] || { echo "start-up left $folder.kavri-Ab12Cd" >&2; exit 31; }
  [ -e "$KAVRI_HOME/${folder}keep.txt" ] || { echo "start-up removed ${folder}keep.txt" >&2; exit 32; }
done
"$X_TOOL" --title "Kavri laser software-0" --click "$(place Form15.BitBtn4)" || exit 22
"$X_TOOL" --title "Show Edit" --timeout 10 --click "$(place Form8.ToolButton1)" || exit 23
for _ in $(seq 1 50); do [ -f "$LOGS/player.txt" ] && break; sleep 0.1; done
[ -f "$LOGS/player.txt" ] || { echo "Play started no player" >&2; exit 24; }
player=$(cat "$LOGS/player.txt")
sleep 0.5
if grep -q '^State:.*Z' "/proc/$player/status" 2>/dev/null; then
  echo "the ended player $player stays a zombie" >&2
  exit 33
fi
# Rows of 800 ticks: the show still plays; its frames keep coming.
before=$(grep -c '^bulk' "$KAVRI_SIM_CAPTURE")
sleep 0.5
after=$(grep -c '^bulk' "$KAVRI_SIM_CAPTURE")
[ "$after" -gt "$before" ] || { echo "the show stopped with its player" >&2; exit 34; }
"$X_TOOL" --title "Show Edit" --screenshot "$ARTIFACTS/program_show_player_ended.png" || exit 25
"$X_TOOL" --title "Kavri laser software-0" --timeout 10 --close || exit 26
# The settings cannot be saved: the box saying so holds the exit.
sleep 1
kill -0 "$pid" 2>/dev/null || { echo "no box held the exit" >&2; exit 35; }
kill -TERM "$pid"
wait_for_exit "$pid"
SESSION

XVFB_FIRST_DISPLAY=270 run_session || exit 1
status=0
[ -s "$artifacts/program_show_player_ended.png" ] || { echo "FAIL: no screenshot" >&2; status=1; }
[ "$status" -eq 0 ] && echo "PASS: start-up removed the left temporary files, the failed player was reaped and named, and SIGTERM ended the program from a box"
exit "$status"
