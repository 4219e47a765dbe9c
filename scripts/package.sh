#!/usr/bin/env bash
# Installs what is missing, builds the release program and makes both
# packages in build/release/dist: the portable archive of the program's folder
# (kotobarion-1.3-linux-x86_64.tar.gz) and the .deb (kotobarion_1.3_amd64.deb).
# The programs are linked with Debian's hardening flags (read-only relocations,
# bound at start).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
ldflags=$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get LDFLAGS)
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DKOTOBARION_TESTS=OFF -DKOTOBARION_BENCH=OFF \
  -DCMAKE_EXE_LINKER_FLAGS="$ldflags"
cmake --build build/release
(cd build/release && rm -rf dist && cpack >/dev/null)
ls build/release/dist
