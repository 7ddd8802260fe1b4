#!/usr/bin/env bash
# Runs ctest in the build folder given, with the cores shared out as the tests ask for them (see
# KAVRI_TEST_CORES in cmake/KavriTargets.cmake): three slots a core. Extra arguments go to ctest.
set -euo pipefail
build=$(cd "$1" && pwd)
shift
slots=$(($(nproc) * 3))
spec="$build/cores.json"
printf '{"version": {"major": 1, "minor": 0}, "local": [{"cores": [{"id": "0", "slots": %d}]}]}\n' "$slots" >"$spec"
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$slots" --resource-spec-file "$spec" "$@"
