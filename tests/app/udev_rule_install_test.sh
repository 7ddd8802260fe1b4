#!/usr/bin/env bash
# The set-up command (scripts/install-deps.sh) installs the laser interfaces' udev rule when it is
# missing, asks udev to apply it, leaves a rule that is already there alone, and does not fail
# where udev does not run. The rules folder is a scratch one here.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/bin"
# A udevadm that fails as it does where the udev daemon does not run, and logs how it was called.
printf '#!/bin/sh\necho "$*" >>"%s/udevadm.log"\necho "Failed to send reload request: No such file or directory" >&2\nexit 1\n' \
  "$scratch" >"$scratch/bin/udevadm"
chmod +x "$scratch/bin/udevadm"
rules=$scratch/rules.d
installed=$rules/70-kavri-laser.rules

PATH="$scratch/bin:$PATH" KAVRI_UDEV_RULES_DIR=$rules bash "$root/scripts/install-deps.sh" ||
  { echo "FAIL: the set-up failed where udev does not run" >&2; exit 1; }
cmp -s "$root/scripts/udev/70-kavri-laser.rules" "$installed" || { echo "FAIL: the rule was not installed" >&2; exit 1; }
[ "$(stat -c %a "$installed")" = 644 ] || { echo "FAIL: the rule is not readable by udev (mode 644)" >&2; exit 1; }
grep -q '^SUBSYSTEM=="usb".*ATTR{idVendor}=="9999".*TAG+="uaccess"' "$installed" ||
  { echo "FAIL: the rule does not give the seat's user the 0x9999 interfaces" >&2; exit 1; }
grep -q -- '--reload-rules' "$scratch/udevadm.log" && grep -q -- '--attr-match=idVendor=9999' "$scratch/udevadm.log" ||
  { echo "FAIL: udev was not asked to apply the rule" >&2; exit 1; }

# A rule that stands there already is the administrator's: left as it is, and udev left alone.
echo '# kept' >"$installed"
rm "$scratch/udevadm.log"
PATH="$scratch/bin:$PATH" KAVRI_UDEV_RULES_DIR=$rules bash "$root/scripts/install-deps.sh"
[ "$(cat "$installed")" = '# kept' ] || { echo "FAIL: an existing rule was replaced" >&2; exit 1; }
[ ! -e "$scratch/udevadm.log" ] || { echo "FAIL: udev was asked again" >&2; exit 1; }

# A developer who is not root and has no sudo: the rule cannot be installed, but the set-up (which
# the test and run commands go through) goes on and says how to install it.
mkdir -p "$scratch/nosudo" "$scratch/locked"
for tool in bash setpriv dirname id cat sed tr sort dpkg-query grep basename mkdir install; do
  ln -s "$(command -v "$tool")" "$scratch/nosudo/$tool"
done
chmod 0555 "$scratch/locked"
as_user=()
[ "$(id -u)" -ne 0 ] || as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
chmod a+rx "$scratch"
if ! out=$(env PATH="$scratch/nosudo" KAVRI_UDEV_RULES_DIR="$scratch/locked/rules.d" "${as_user[@]}" \
  bash "$root/scripts/install-deps.sh" 2>&1); then
  echo "FAIL: the set-up failed for a user without sudo: $out" >&2
  exit 1
fi
grep -q "Could not install the udev rule.*70-kavri-laser.rules" <<<"$out" || { echo "FAIL: nothing said about the missing rule: $out" >&2; exit 1; }
[ ! -e "$scratch/locked/rules.d" ] || { echo "FAIL: a rules folder appeared" >&2; exit 1; }
echo "PASS: the udev rule is installed when missing and the set-up does not need udev running or sudo"
