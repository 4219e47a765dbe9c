#!/usr/bin/env bash
# Installs what is missing; builds the release program and its packages;
# builds with AddressSanitizer and UndefinedBehaviorSanitizer and runs every
# test (the packages' contents, install and a save by an ordinary user among
# them); builds the benchmarks; then builds the tests optimised, as the
# program ships (the draws use single-precision arithmetic on purpose), and
# runs them again. The formatting is checked before the builds; warnings
# are errors in both test builds; every test has a time limit.
set -euo pipefail
cd "$(dirname "$0")/.."
# What building and testing need is installed first (clang-format among it);
# then every source file must be formatted as .clang-format says (checked
# before the builds: it takes a second).
scripts/deps.sh
git ls-files -z 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' 'fuzz/*.h' |
  xargs -0 clang-format --dry-run --Werror
scripts/package.sh
export QT_QPA_PLATFORM=offscreen
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKOTOBARION_SANITIZE=ON -DKOTOBARION_WERROR=ON \
  -DKOTOBARION_PACKAGE_DIR="$PWD/build/release/dist"
cmake --build build/test
ctest --test-dir build/test --output-on-failure -j2 --timeout 600
cmake -S . -B build/optimised -G Ninja -DCMAKE_BUILD_TYPE=Release -DKOTOBARION_WERROR=ON -DKOTOBARION_BENCH=OFF
cmake --build build/optimised
ctest --test-dir build/optimised --output-on-failure -j2 --timeout 600
