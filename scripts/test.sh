#!/usr/bin/env bash
# Installs what is missing; builds the release program and its packages;
# builds with AddressSanitizer and UndefinedBehaviorSanitizer and runs every
# test (the packages' contents, install and a save by an ordinary user among
# them); builds the benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/package.sh
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKOTOBARION_SANITIZE=ON \
  -DKOTOBARION_PACKAGE_DIR="$PWD/build/release/dist"
cmake --build build/test
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build/test --output-on-failure -j2
