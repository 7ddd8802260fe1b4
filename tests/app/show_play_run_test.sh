#!/usr/bin/env bash
# Starts the built program under a virtual X server with two simulated interfaces and a fake "mpv"
# first on the PATH, opens "Show Edit" from the main window and presses Play on a saved show of
# three tracks with music, all with real clicks. Before each track's drawing stand rows naming a
# folder, a link to nothing and a fifo in place of a segment, a drawing and an ILDA image: they are
# missing content, and the show must play on without a word. The player must get the music as one
# argument, the capture file must hold the frames of all three tracks, the message line must say
# the show plays, a screenshot of the live preview is kept, and closing the main window while the
# show plays must end the player.
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/session_lib.sh"
begin_session "$@"

write_two_drawings
# A third line, "c", blue from (100,200).
printf '\x64\xc8\x00\x06\x00\x78\xdc\x00\x06\x80' >"$home/program/Drawing/c.ddr"
mkdir -p "$home/program/Sequence" "$home/program/Music" "$home/bin" "$home/program/Section" "$home/program/ILDAimage"
for kind in Section/x.sec Drawing/x.ddr ILDAimage/x.ild; do
  mkdir "$home/program/${kind/x./folder.}"
  ln -s nowhere "$home/program/${kind/x./gone.}"
  mkfifo "$home/program/${kind/x./pipe.}"
done
printf '[Music]\r\nsong one.wav\r\n[Track1]\r\nfolder.sec|1\r\ngone.ddr|1\r\npipe.ild|1\r\na.ddr|400\r\n' \
  >"$home/program/Sequence/show.seq"
printf '[Track2]\r\ngone.sec|1\r\npipe.ddr|1\r\nfolder.ild|1\r\nb.ddr|400\r\n' >>"$home/program/Sequence/show.seq"
printf '[Track3]\r\npipe.sec|1\r\nfolder.ddr|1\r\ngone.ild|1\r\nc.ddr|400\r\n' >>"$home/program/Sequence/show.seq"
printf 'music' >"$home/program/Music/song one.wav"
# The player records its process id, that of the child it waits for, its folder and its arguments.
cat >"$home/bin/mpv" <<PLAYER
#!/bin/sh
sleep 60 &
{ echo \$\$; echo \$!; pwd; for a in "\$@"; do echo "\$a"; done; } >"$home/player.part"
mv "$home/player.part" "$home/player.txt"
wait
PLAYER
chmod +x "$home/bin/mpv"
export PATH="$home/bin:$PATH"

cat >"$home/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -uo pipefail
source "$SESSION_LIB"
# Made before Play: the show plays for a few seconds only.
playing=$(line_picture --show-edit-message "Show playing start..." show_playing) || exit 20
start_program
"$X_TOOL" --title "Kavri laser software-0" --timeout 30 --click "$(place Form15.BitBtn4)" || exit 21
"$X_TOOL" --title "Show Edit" --timeout 10 --click "$(place Form8.ToolButton1)" || exit 22
for _ in $(seq 1 50); do [ -f "$LOGS/player.txt" ] && break; sleep 0.1; done
[ -f "$LOGS/player.txt" ] || { echo "Play started no player" >&2; exit 23; }
# Rows of 400 ticks of 5 ms: the show still plays a second later, and says nothing but that.
sleep 1
line_shows "Show Edit" "$playing" "Show playing start..." show_playing || exit 26
region=$(awk '$1 == "Form8.Image1" { print $2 "," $3 "," $4 "," $5 }' "$LOGS/layout.txt")
"$X_TOOL" --title "Show Edit" --region "$region" --screenshot "$ARTIFACTS/program_show_live_preview.png" || exit 24
"$X_TOOL" --title "Kavri laser software-0" --timeout 10 --close || exit 25
wait_for_exit "$pid"
SESSION

XVFB_FIRST_DISPLAY=250 run_session || exit 1
echo "--- player record"
cat "$home/player.txt"
status=0
# mpv's own two options (errors only, no status line), then the music as one argument.
expected=$(printf '%s\n' --msg-level=all=error --term-osd=no "$home/program/Music/song one.wav")
if [ "$(sed 1,3d "$home/player.txt")" != "$expected" ]; then
  echo "FAIL: the player did not get the music as one argument after its own options" >&2
  status=1
fi
if [ "$(sed -n 3p "$home/player.txt")" != "$home/bin" ]; then
  echo "FAIL: the player did not run in its own folder" >&2
  status=1
fi
for p in $(head -2 "$home/player.txt"); do
  if [ -e "/proc/$p" ] && ! grep -q '^State:.*Z' "/proc/$p/status" 2>/dev/null; then
    echo "FAIL: process $p of the player outlived the program" >&2
    kill "$p" 2>/dev/null || true
    status=1
  fi
done
# The drawing builder mirrors both axes: "a" starts at (f5, eb), "b" at (37, 9b), "c" at (9b, 37).
for track in "1 f500eb00" "2 37009b00" "3 9b003700"; do
  set -- $track
  count=$(grep -c "^bulk ezusb-0 [0-9]* 16 $2" "$home/capture.txt" || true)
  echo "track $1 frames in the capture: $count"
  [ "$count" -gt 0 ] || { echo "FAIL: no frame of track $1" >&2; status=1; }
done
[ -s "$artifacts/program_show_live_preview.png" ] || { echo "FAIL: no screenshot of the live preview" >&2; status=1; }
[ "$status" -eq 0 ] && echo "PASS: Show Edit played three tracks with their music past rows naming a folder, a link" \
  "to nothing and a fifo, said only that the show plays, and the player ended with the program"
exit "$status"
