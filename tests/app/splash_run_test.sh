#!/usr/bin/env bash
# The splash under a virtual X server with a window manager, which maps and exposes windows late:
# its picture must be on the screen when start-up goes on.
set -euo pipefail
probe=$1
artifacts=$2
mkdir -p "$artifacts"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=xcb PROBE=$probe WORK=$work ARTIFACTS=$artifacts
xvfb-run -a -n 170 -s "-screen 0 1024x768x24 -nolisten tcp" bash -c '
  openbox >"$WORK/wm.txt" 2>&1 &
  "$PROBE" "$WORK" "$ARTIFACTS/splash_with_window_manager.png"
  status=$?
  kill %1 2>/dev/null
  exit $status'
