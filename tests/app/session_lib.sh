# Shared by the end-to-end sessions that drive the program under a virtual X server.

# The centre of a control, from the layout probe's lines ("NAME X Y W H") in $LOGS/layout.txt.
place() { awk -v n="$1" '$1 == n { print $2 + int($4 / 2) "," $3 + int($5 / 2) }' "$LOGS/layout.txt"; }

# Waits up to 30 s for the program to end by itself once its main window was closed; exits the
# session with 10 when it does not, and returns the program's own status otherwise.
wait_for_exit() {
  local pid=$1
  for _ in $(seq 1 300); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    echo "the program did not end after its main window was closed" >&2
    kill "$pid"
    wait "$pid"
    exit 10
  fi
  wait "$pid"
}

# Runs "$home/session.sh" under a virtual X server (searching for a free display from
# XVFB_FIRST_DISPLAY; a screen of XVFB_SCREEN pixels, 1280x1024 when unset), as the outer test
# script: the program sees simulated interfaces 0 and 1 with a capture file and a fresh program
# folder. Prints the program's standard error; fails when the session did. Uses the script's kavri,
# xtool, artifacts, layout and home.
run_session() {
  export SESSION_LIB=${BASH_SOURCE[0]} KAVRI_BIN=$kavri X_TOOL=$xtool ARTIFACTS=$artifacts LOGS=$home
  export LAYOUT_PROBE=$layout PICTURE_PROBE=$picture KAVRI_HOME=$home/program KAVRI_SIM_DEVICES="0,1" KAVRI_SIM_CAPTURE=$home/capture.txt
  export QT_QPA_PLATFORM=xcb
  local status=0
  # Each script starts its search for a free display elsewhere, as ctest runs them side by side
  # and two servers starting on one number race for it.
  xvfb-run -a -n "${XVFB_FIRST_DISPLAY:-100}" -s "-screen 0 ${XVFB_SCREEN:-1280x1024}x24 -nolisten tcp" \
    bash "$home/session.sh" ||
    status=$?
  echo "--- program stderr"
  cat "$home/stderr.txt" 2>/dev/null || true
  if [ "$status" -ne 0 ]; then
    echo "FAIL: session ended with status $status" >&2
    return 1
  fi
}

# The outer script's start: its arguments (the program, the window tool, the artifacts folder, the
# layout probe and the picture probe), a scratch home removed at exit, and a check that the virtual
# X server is there.
begin_session() {
  kavri=$1 xtool=$2 artifacts=$3 layout=$4 picture=${5:-}
  mkdir -p "$artifacts"
  home=$(mktemp -d)
  trap 'rm -rf "$home"' EXIT
  if ! command -v xvfb-run >/dev/null; then
    echo "xvfb-run is missing (scripts/install-deps.sh installs it)" >&2
    exit 1
  fi
}

# Two lines of two points in the program folder's drawings: "a" red from (10,20), "b" green from
# (200,100). Records are x, y, kind, colour, flags; 0x80 in the flags ends the object.
write_two_drawings() {
  mkdir -p "$home/program/Drawing"
  printf '\x0a\x14\x00\x02\x00\x1e\x28\x00\x02\x80' >"$home/program/Drawing/a.ddr"
  printf '\xc8\x64\x00\x04\x00\xdc\x78\x00\x04\x80' >"$home/program/Drawing/b.ddr"
}

# Inside a session: the window tool's key arguments that type `text`.
keys_of() {
  local text=$1 i c
  for ((i = 0; i < ${#text}; i++)); do
    c=${text:i:1}
    case "$c" in
      /) printf -- '--key slash ' ;;
      .) printf -- '--key period ' ;;
      " ") printf -- '--key space ' ;;
      *) printf -- '--key %s ' "$c" ;;
    esac
  done
}

# Inside a session: the layout probe's picture of a window's message line saying the words (option
# --show-edit-message or --segment-edit-message), kept as $LOGS/NAME_line.png; prints the line's
# place in the window as "X,Y,W,H".
line_picture() {
  local option=$1 words=$2 name=$3 region
  region=$("$LAYOUT_PROBE" "$option" "$words" "$LOGS/${name}_line.png" 2>/dev/null |
    awk '$1 ~ /Label18$/ { print $2 "," $3 "," $4 "," $5 }')
  [ -n "$region" ] || { echo "the probe drew no message line" >&2; return 1; }
  echo "$region"
}

# Inside a session: the window's message line, at the place line_picture printed, shows what its
# picture NAME shows, within 5 s; the line's picture is kept as program_NAME_line.png.
line_shows() {
  local window=$1 region=$2 words=$3 name=$4
  "$X_TOOL" --title "$window" --timeout 5 --region "$region" --until-same "$LOGS/${name}_line.png" \
    --screenshot "$ARTIFACTS/program_${name}_line.png" || { echo "the message line of $window does not say: $words" >&2; return 1; }
}

# Inside a session: the window's message line shows the words, as the layout probe's line saying
# them shows them.
line_says() {
  local window=$1 option=$2 words=$3 name=$4 region
  region=$(line_picture "$option" "$words" "$name") || return 1
  line_shows "$window" "$region" "$words" "$name"
}

# Inside a session: the layout probe's places, then the program started in the background ($pid).
start_program() {
  "$LAYOUT_PROBE" >"$LOGS/layout.txt" 2>/dev/null || exit 20
  "$KAVRI_BIN" >"$LOGS/stdout.txt" 2>"$LOGS/stderr.txt" &
  pid=$!
}
