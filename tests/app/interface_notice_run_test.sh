#!/usr/bin/env bash
# Starts the program twice under a virtual X server: with simulated interfaces 0 and 1 that both
# open, then with interface 1 refused to this user (as without the udev rule). The second time the
# main window still lists both but shows a line under its buttons that names Usb-1, why and what
# to do, so the window grows. Screenshots of both main windows go to the artifacts folder.
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/session_lib.sh"
begin_session "$@"

cat >"$home/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -uo pipefail
source "$SESSION_LIB"
# The height of a PNG picture (big-endian at byte 20).
png_height() { od -An -tu1 -j20 -N4 "$1" | awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4 }'; }
shots=()
for devices in "0,1" "0,1/denied"; do
  shot="$ARTIFACTS/interface_notice_$( [ "$devices" = "0,1" ] && echo both_open || echo usb1_refused ).png"
  KAVRI_SIM_DEVICES=$devices "$KAVRI_BIN" >"$LOGS/stdout.txt" 2>>"$LOGS/stderr.txt" &
  pid=$!
  "$X_TOOL" --title "Kavri laser software-0" --timeout 30 --screenshot "$shot" --close || exit 11
  wait_for_exit "$pid" || exit 12
  shots+=("$shot")
done
plain=$(png_height "${shots[0]}")
told=$(png_height "${shots[1]}")
echo "main window height: $plain with both interfaces open, $told with Usb-1 refused"
[ "$told" -gt $((plain + 20)) ] || { echo "the main window shows no notice about Usb-1" >&2; exit 13; }
SESSION

XVFB_FIRST_DISPLAY=310 run_session || exit 1
echo "PASS: the main window names the interface it cannot open"
