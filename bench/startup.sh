#!/usr/bin/env bash
# Start-up speed and memory beside a bare Qt Widgets program that shows one
# 640 x 400 window: both are started in turn, several times, under Xvfb with
# a window manager; each start is timed from the process start until the
# window manager has mapped its first window, and its peak memory (VmHWM)
# read just after. Prints the medians, the ratios and the goals (at most 1.5
# times the bare program's time, at most its peak memory + 12 MB).
# Usage: bench/startup.sh [RUNS]   (default 15; builds what it needs)
set -euo pipefail
runs=${1:-15}
src=$(cd "$(dirname "$0")/.." && pwd)
build=${KOTOBARION_BENCH_BUILD:-$src/build/startup-bench}

if [[ -z "${KOTOBARION_STARTUP_INNER:-}" ]]; then
  cmake -S "$src" -B "$build/program" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DKOTOBARION_TESTS=OFF -DKOTOBARION_BENCH=OFF >/dev/null
  cmake --build "$build/program" --target kotobarion >/dev/null
  cmake -S "$src/bench/startup" -B "$build/helpers" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build/helpers" >/dev/null
  export KOTOBARION_STARTUP_INNER=1 KOTOBARION_BENCH_BUILD=$build
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$runs"
fi

export LANG=C.UTF-8 LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb
work=$(mktemp -d)
openbox >/dev/null 2>&1 &
wm=$!
trap 'kill $wm 2>/dev/null || true; rm -rf "$work"' EXIT
sleep 1
# The program runs from a folder of its own, as it is delivered.
cp -a "$build/program/app" "$work/app"
rm -f "$work"/app/*.dat
wait=$build/helpers/startwait
# One start of each to warm the file cache, not counted.
"$wait" 300 "$build/helpers/bare" >/dev/null
"$wait" 300 "$work/app/kotobarion" >/dev/null
: >"$work/bare" && : >"$work/program"
for ((i = 0; i < runs; i++)); do
  "$wait" 300 "$build/helpers/bare" >>"$work/bare"
  "$wait" 300 "$work/app/kotobarion" >>"$work/program"
done
median() { sort -n -k"$2" "$1" | awk -v k="$2" '{v[NR] = $k} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
bt=$(median "$work/bare" 1) bm=$(median "$work/bare" 2)
pt=$(median "$work/program" 1) pm=$(median "$work/program" 2)
awk -v bt="$bt" -v bm="$bm" -v pt="$pt" -v pm="$pm" -v n="$runs" 'BEGIN {
  printf "median of %d starts     time to window   peak memory\n", n
  printf "bare Qt Widgets          %8.1f ms   %8.1f MB\n", bt, bm / 1024
  printf "kotobarion               %8.1f ms   %8.1f MB\n", pt, pm / 1024
  printf "ratio / difference       %8.2f x    %+8.1f MB\n", pt / bt, (pm - bm) / 1024
  printf "goal                     %8.2f x    %+8.1f MB   %s\n", 1.5, 12,
    (pt / bt <= 1.5 && (pm - bm) / 1024 <= 12) ? "met" : "NOT met"
}'
