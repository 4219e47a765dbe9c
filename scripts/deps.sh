#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, with
# apt-get: directly as root, through sudo for an ordinary user (who is asked
# for a password only when a package is missing).
set -euo pipefail
packages=(cmake ninja-build g++ qt6-base-dev qt6-multimedia-dev libgl-dev libgtest-dev libbenchmark-dev
  fonts-ipafont-gothic xvfb xauth x11-utils imagemagick xdotool openbox libxcb1-dev libfontconfig-dev appstream dpkg-dev lintian kanjidic edict clang-format)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  as_root=(env DEBIAN_FRONTEND=noninteractive)
  if [ "$(id -u)" != 0 ]; then
    command -v sudo >/dev/null || {
      echo "deps.sh: these packages are missing: ${missing[*]}" >&2
      echo "deps.sh: run this script as root, or install sudo, to install them" >&2
      exit 1
    }
    as_root=(sudo "${as_root[@]}")
  fi
  "${as_root[@]}" apt-get update
  "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
