#!/usr/bin/env bash
# Starts the built program under a virtual X server and plays a show whose music text is
# "--log-file=<file>", a file that exists relative to the program's current folder. The fake "mpv"
# first on the PATH records its arguments and, as a real player would, writes to the file any
# "--log-file=" option names. The player must get the music as one absolute path, and the file
# must stay untouched.
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/session_lib.sh"
begin_session "$@"

write_two_drawings
mkdir -p "$home/program/Sequence" "$home/bin" "$home/current"
victim="$home/victim.log"
printf 'keep me\n' >"$victim"
music="--log-file=$victim"
# The music file itself, found relative to the program's current folder.
mkdir -p "$home/current/--log-file=$home"
printf 'music' >"$home/current/$music"
printf '[Music]\r\n%s\r\n[Track1]\r\na.ddr|400\r\n[Track2]\r\nb.ddr|400\r\n[Track3]\r\na.ddr|400\r\n' "$music" \
  >"$home/program/Sequence/show.seq"
cat >"$home/bin/mpv" <<PLAYER
#!/bin/sh
{ pwd; for a in "\$@"; do echo "\$a"; done; } >"$home/player.part"
mv "$home/player.part" "$home/player.txt"
for a in "\$@"; do
  case "\$a" in --log-file=*) echo "overwritten by the player" >"\${a#--log-file=}" ;; esac
done
exec sleep 60
PLAYER
chmod +x "$home/bin/mpv"
export PATH="$home/bin:$PATH"

cat >"$home/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -uo pipefail
source "$SESSION_LIB"
cd "$LOGS/current" || exit 19
start_program
"$X_TOOL" --title "Kavri laser software-0" --timeout 30 --click "$(place Form15.BitBtn4)" || exit 21
"$X_TOOL" --title "Show Edit" --timeout 10 --click "$(place Form8.ToolButton1)" || exit 22
for _ in $(seq 1 50); do [ -f "$LOGS/player.txt" ] && break; sleep 0.1; done
[ -f "$LOGS/player.txt" ] || { echo "Play started no player" >&2; exit 23; }
sleep 0.5
"$X_TOOL" --title "Show Edit" --screenshot "$ARTIFACTS/program_show_music_option.png" || exit 24
"$X_TOOL" --title "Kavri laser software-0" --timeout 10 --close || exit 25
wait_for_exit "$pid"
SESSION

XVFB_FIRST_DISPLAY=260 run_session || exit 1
echo "--- player record"
cat "$home/player.txt"
status=0
# After mpv's own two options (errors only, no status line), the music as one absolute path.
expected=$(printf '%s\n' --msg-level=all=error --term-osd=no "$home/current/$music")
if [ "$(sed 1d "$home/player.txt")" != "$expected" ]; then
  echo "FAIL: the player did not get the music as one absolute path after its own options" >&2
  status=1
fi
if [ "$(cat "$victim")" != "keep me" ]; then
  echo "FAIL: the player took the music text for an option and wrote $victim" >&2
  status=1
fi
[ -s "$artifacts/program_show_music_option.png" ] || { echo "FAIL: no screenshot" >&2; status=1; }
[ "$status" -eq 0 ] && echo "PASS: the music text reached the player as a path, never as an option"
exit "$status"
