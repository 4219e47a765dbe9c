#!/usr/bin/env bash
# Plays chapter 1 for real under Xvfb and takes screenshots a person can look
# at: registration, the message window after a right and a wrong answer, the
# judgement, the help window. Usage: scripts/screenshots.sh APP_DIR OUT_DIR
set -euo pipefail
app=$(readlink -f "$1")
out=$(mkdir -p "$2" && readlink -f "$2")
work=$(mktemp -d)
cp -a "$app"/. "$work"/
rm -f "$work"/*.dat
# A question file whose answers are all 頭, so the first click is right and
# a click on 目 is wrong.
python3 - "$work/体.txt" <<'PY'
import sys
rows = [f'{1 if i < 6 else 2},1,"＊が上がらない{i}","お世話になった人には、いつまでたっても対等にふるまえない。{i}"' for i in range(10)]
open(sys.argv[1], 'wb').write(('\r\n'.join(rows) + '\r\n').encode('cp932'))
PY
cat >"$work/drive.sh" <<'DRIVE'
#!/bin/bash
export LANG=C.UTF-8 LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb
# Under a window manager, as a learner meets the windows.
openbox >/dev/null 2>&1 &
wm=$!
sleep 1
cd "$1"
./kotobarion >"$2/program.log" 2>&1 &
pid=$!
find_win() { for _ in $(seq 50); do w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1); [ -n "$w" ] && { echo "$w"; return; }; sleep 0.2; done; }
shot() { sleep 0.8; import -window root "$2/$1.png"; }
reg=$(find_win "名前登録"); shot 01-registration "$2"
xdotool type --delay 50 hana; xdotool key Return; sleep 0.3; xdotool key Return
find_win "メッセージ" >/dev/null; shot 02-welcome "$2"; xdotool key Return
shot 03-summary "$2"
xdotool mousemove --window "$reg" 372 196 click 1
find_win "メッセージ" >/dev/null; xdotool key Return
ch=$(find_win "第１章"); shot 04-instructions "$2"
xdotool key Return; shot 05-question "$2"
xdotool mousemove --window "$ch" 202 365 click 1; shot 06-right "$2"; xdotool key Return
xdotool mousemove --window "$ch" 298 365 click 1; shot 07-wrong "$2"; xdotool key Return
shot 08-judgement "$2"; xdotool key Return
shot 09-back "$2"
xdotool mousemove --window "$reg" 372 196 click 1; sleep 0.5; xdotool key Return
ch=$(find_win "第１章"); sleep 0.5
xdotool mousemove --window "$ch" 62 10 click 1; shot 10-help "$2"
# Chapters 2 and 3 completed, chapter 1 at a streak of two: a perfect quiz
# earns the certificate.
kill "$pid"; sleep 1
printf '2,6,999,4,999,9\r\n' >hana.dat
./kotobarion >>"$2/program.log" 2>&1 &
pid=$!
reg=$(find_win "名前登録")
xdotool type --delay 50 hana; xdotool key Return; sleep 0.3; xdotool key Return; sleep 0.5
xdotool mousemove --window "$reg" 372 196 click 1
find_win "メッセージ" >/dev/null; xdotool key Return
ch=$(find_win "第１章"); sleep 0.5; xdotool key Return; sleep 0.5
for _ in $(seq 10); do xdotool mousemove --window "$ch" 202 365 click 1; sleep 0.4; xdotool key Return; sleep 0.3; done
shot 11-certificate "$2"
kill "$pid" || true
kill "$wm" || true
DRIVE
chmod +x "$work/drive.sh"
xvfb-run -a -s "-screen 0 1280x1024x24" "$work/drive.sh" "$work" "$out" || true
rm -rf "$work"
ls "$out"
