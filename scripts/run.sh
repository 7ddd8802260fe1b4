#!/usr/bin/env bash
# Installs what is missing, builds, and starts Kavri laser software. Where there is no display
# (a server, CI) it runs under a virtual X server. Arguments are ignored: the program has none.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
# Only the program: tests and benchmarks are the test command's business.
cmake -S "$root" -B "$root/build" -G Ninja >/dev/null
cmake --build "$root/build" --parallel "$(nproc)" --target kavri
kavri="$root/build/app/kavri"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$kavri"
fi
echo "No display: running under a virtual X server (xvfb-run) that nobody sees; it serves checks only." >&2
echo "Run this on a desktop session to use the program. Stop it with Ctrl+C." >&2
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$kavri"
