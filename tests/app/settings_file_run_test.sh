#!/usr/bin/env bash
# Starts the built program under a virtual X server three times over the operator's own settings
# file. First a file of reworded labels, a label of 5,000 bytes and 2,250 lines after line 43: no
# box, and after a quit the file has the same bytes but the one value line the program writes
# otherwise (" 150 " becomes "150", which also shows the value was used). Then the same file past the
# byte bound: the start-up box is up when SIGTERM comes, the program ends as any quit does (status
# 0), the file stands whole beside the new one as Kavri.ini.bad, and the new one has the values
# of its first lines. Then a FIFO in the file's place: a box, and at exit the FIFO is kept aside
# beside a new file. Last, SIGUSR1, SIGUSR2 and SIGPIPE leave the running program running.
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/session_lib.sh"
begin_session "$@"

cat >"$home/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -uo pipefail
source "$SESSION_LIB"
ini=$KAVRI_HOME/Kavri.ini
mkdir -p "$KAVRI_HOME"

# The operator's file ($1 the value line 20), with CR LF endings.
operators_file() {
  local values=(9 3 20 24 6 5 -100 40 90 "$1" 30 10 60 3 40 1 0 "" 110 120 130 140) i
  printf '%s\r\n' "$(head -c 5000 /dev/zero | tr '\0' L)"
  for i in $(seq 0 21); do
    [ "$i" -eq 0 ] || printf 'Reworded label %d, the operator'"'"'s own\r\n' "$i"
    printf '%s\r\n' "${values[$i]}"
  done
  for i in $(seq 1 250); do printf 'note %d after the values\r\n' "$i"; done
  for i in $(seq 1 2000); do printf '%098d\r\n' "$i"; done
}
# Quits as a polite kill does and checks the program ended by itself with status 0.
quit_program() {
  kill -TERM "$pid"
  wait_for_exit "$pid"
  local status=$?
  [ "$status" -eq 0 ] || { echo "$1: the program ended with status $status" >&2; exit 30; }
}

# 1. Every line kept, the value used.
operators_file " 150 " >"$LOGS/original.ini"
operators_file 150 >"$LOGS/expected.ini"
cp "$LOGS/original.ini" "$ini"
start_program
"$X_TOOL" --title "Kavri laser software-0" --timeout 30 --screenshot "$ARTIFACTS/settings_file_kept_main.png" || exit 21
if "$X_TOOL" --title "Kavri laser software" --dialog --timeout 1 --screenshot "$ARTIFACTS/settings_file_kept_box.png" >/dev/null; then
  echo "a box came up over a settings file the program takes" >&2
  exit 31
fi
quit_program "over the operator's file"
cmp "$ini" "$LOGS/expected.ini" || { echo "the settings file after exit is not the operator's with line 20 written" >&2; exit 32; }
[ ! -e "$ini.bad" ] || { echo "a file within the bound was kept aside" >&2; exit 33; }

# 2. Past the bound, SIGTERM while the start-up box is up.
{ cat "$LOGS/original.ini"; head -c 1100000 /dev/zero | tr '\0' x; } >"$LOGS/large.ini"
cp "$LOGS/large.ini" "$ini"
start_program
"$X_TOOL" --title "Kavri laser software" --dialog --timeout 30 --screenshot "$ARTIFACTS/settings_file_past_bound_box.png" ||
  { echo "no box for a settings file past the bound" >&2; exit 34; }
quit_program "on SIGTERM while the start-up box was up"
cmp "$ini.bad" "$LOGS/large.ini" || { echo "the file past the bound was not kept whole as Kavri.ini.bad" >&2; exit 35; }
head -n 44 "$LOGS/expected.ini" | cmp - "$ini" || { echo "the new settings file is not the first 44 lines with their values" >&2; exit 36; }

# 3. A settings file that cannot be read (a FIFO: root reads any file) is said in the start-up box,
# and at exit it stands aside as it was while a new file takes its place.
rm -f "$ini" "$ini.bad" && mkfifo "$ini"
start_program
"$X_TOOL" --title "Kavri laser software" --dialog --timeout 30 --screenshot "$ARTIFACTS/settings_file_unreadable_box.png" ||
  { echo "no box for a settings file that cannot be read" >&2; exit 39; }
quit_program "on SIGTERM while the box about the unreadable file was up"
[ -p "$ini.bad" ] || { echo "the settings file that could not be read was not kept aside as Kavri.ini.bad" >&2; exit 40; }
[ -f "$ini" ] && [ "$(wc -l <"$ini")" -eq 44 ] || { echo "no new 44-line settings file beside the one kept aside" >&2; exit 41; }

# 4. Signals that mean nothing here leave the program running.
start_program
"$X_TOOL" --title "Kavri laser software-0" --timeout 30 >/dev/null || exit 22
for signal in USR1 USR2 PIPE; do kill -"$signal" "$pid"; done
sleep 1
kill -0 "$pid" 2>/dev/null || { wait "$pid"; echo "SIGUSR1, SIGUSR2 or SIGPIPE ended the program (status $?)" >&2; exit 37; }
"$X_TOOL" --title "Kavri laser software-0" --timeout 2 >/dev/null || { echo "the main window is gone" >&2; exit 38; }
quit_program "after SIGUSR1, SIGUSR2 and SIGPIPE"
exit 0
SESSION

XVFB_FIRST_DISPLAY=420 run_session || exit 1
echo "PASS: a 2,295-line settings file kept byte for byte but its value line; SIGTERM during the start-up box ends with status 0 and keeps a file past the bound as Kavri.ini.bad; one that cannot be read is said and kept aside too; SIGUSR1, SIGUSR2 and SIGPIPE leave the program running"
