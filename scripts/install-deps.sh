#!/usr/bin/env bash
# Installs every Debian package listed in scripts/packages.d/*.txt that is not installed yet, and
# the udev rule that lets the logged-in user open the laser interfaces, when it is missing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

mapfile -t wanted < <(cat "$here"/packages.d/*.txt | sed 's/#.*//' | tr -s ' \t' '\n' | sed '/^$/d' | sort -u)
missing=()
for pkg in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Without it a desktop user's writes to an interface fail for want of permission.
rule="$here/udev/70-kavri-laser.rules"
rules_dir=${KAVRI_UDEV_RULES_DIR:-/etc/udev/rules.d}
target="$rules_dir/$(basename "$rule")"
if [ ! -e "$target" ]; then
  echo "Installing the udev rule $target"
  admin=$sudo
  mkdir -p "$rules_dir" 2>/dev/null && [ -w "$rules_dir" ] && admin=""
  # Building and testing need no rule: without administrator rights the set-up goes on, and the
  # main window names the missing permission when an interface is attached.
  if { [ -z "$admin" ] || command -v "$admin" >/dev/null 2>&1; } && $admin install -D -m 0644 "$rule" "$target"; then
    # Interfaces already attached get the access now; where udev does not run (a container) this
    # does nothing, and the rule takes effect when it does.
    if command -v udevadm >/dev/null 2>&1; then
      $admin udevadm control --reload-rules >/dev/null 2>&1 || true
      $admin udevadm trigger --action=change --subsystem-match=usb --attr-match=idVendor=9999 >/dev/null 2>&1 || true
    fi
  else
    echo "Could not install the udev rule $target; as root run: install -D -m 0644 $rule $target" >&2
  fi
fi
