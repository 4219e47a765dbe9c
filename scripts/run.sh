#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program from its folder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DKOTOBARION_TESTS=OFF -DKOTOBARION_BENCH=OFF
cmake --build build/release
exec build/release/app/kotobarion
