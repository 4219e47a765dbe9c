#!/usr/bin/env bash
# Plays the program for real under Xvfb and takes screenshots a person can
# look at: registration, chapter 1 with a right and a wrong answer, the
# judgement, the help window, chapters 2 and 3 (a question, a right and a
# wrong answer, the judgement) and the certificate reached by play.
# Before that it starts the program many times, opens a chapter window each
# time, and reports every window that is not where the layout rule puts it
# (placement.txt in OUT_DIR; the script fails when one is misplaced).
# Usage: scripts/screenshots.sh APP_DIR OUT_DIR
# Environment: SCREEN (default 1366x768), STARTS (default 20).
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
# Chapter 3 with meanings long enough for two lines.
python3 - "$work/慣用句２.txt" <<'PY'
import sys
idioms = [("人前では上品に振る舞い", "猫をかぶる", "本性を隠して、おとなしそうに見せかけること。人前でだけ上品にふるまうこと。"),
          ("仕事中にいつまでも雑談して", "油を売る", "むだ話などをして仕事を怠けること。また、用事の途中で時間をつぶすこと。"),
          ("医者もついに", "さじを投げる", "見込みがないとあきらめること。医者が治療をあきらめることから出た言葉。"),
          ("手伝ってくれたので", "恩に着る", "受けた恩をありがたく思うこと。相手に感謝して、いつまでも忘れないこと。"),
          ("弟はすぐに調子に乗って", "図に乗る", "思いどおりになるのをよいことに、いい気になってつけあがること。"),
          ("今さら後悔しても", "後の祭り", "時機を逃して、手おくれになること。祭りのすんだ後の山車は役に立たない。"),
          ("二人の実力は", "五分五分", "どちらも同じくらいで、優劣や勝ち負けがつけられないこと。互角であること。"),
          ("あの兄弟はまるで", "瓜二つ", "親子や兄弟などの顔かたちが、よく似ていること。二つに割った瓜のようだ。"),
          ("彼の自慢話には", "閉口する", "どうにもならず困ること。手に負えず、すっかりまいってしまうこと。"),
          ("一度に二つの用が済み", "一石二鳥", "一つのことをして、同時に二つの利益を得ること。一つの石で二羽の鳥を落とす。")]
rows = [f'{1 if i < 6 else 2},"{s}","{p}","{p}","{m}"' for i, (s, p, m) in enumerate(idioms)]
open(sys.argv[1], 'wb').write(('\r\n'.join(rows) + '\r\n').encode('cp932'))
PY
screen=${SCREEN:-1366x768}
cat >"$work/placement.sh" <<'PLACE'
#!/bin/bash
# Many starts: registration with a Japanese or a Latin name, then chapter 1
# or 3. Each window's frame must lie where the rule puts it: centred (the
# registration and chapter windows) or in the upper third (the message),
# moved inside the screen when it does not fit.
export LANG=C.UTF-8 LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb
openbox >/dev/null 2>&1 &
wm=$!
sleep 1
cd "$1"
report="$2/placement.txt"
: >"$report"
read -r SW SH < <(xdpyinfo | awk '/dimensions:/ {split($2, d, "x"); print d[1], d[2]}')
find_win() { for _ in $(seq 50); do w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1); [ -n "$w" ] && { echo "$w"; return; }; sleep 0.1; done; }
check() {  # run, window id, what, divisor of the free height (2 centred, 3 upper third)
  local X Y WIDTH HEIGHT l r t b
  if [ -z "$2" ]; then echo "start $1: $3 did not appear" | tee -a "$report"; return; fi
  # xwininfo gives the window's own (client) place; xdotool adds the frame.
  read -r X Y WIDTH HEIGHT < <(xwininfo -id "$2" |
    awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}')
  read -r l r t b < <(xprop -id "$2" _NET_FRAME_EXTENTS | grep -o '[0-9][0-9, ]*$' | tr -d ,)
  local ow=$((WIDTH + l + r)) oh=$((HEIGHT + t + b))
  local ex=$(((SW - ow) / 2)) ey=$(((SH - oh) / $4))
  [ $ex -gt $((SW - ow)) ] && ex=$((SW - ow)); [ $ex -lt 0 ] && ex=0
  [ $ey -gt $((SH - oh)) ] && ey=$((SH - oh)); [ $ey -lt 0 ] && ey=0
  ex=$((ex + l)); ey=$((ey + t))
  local dx=$((X - ex)) dy=$((Y - ey))
  if [ ${dx#-} -gt 1 ] || [ ${dy#-} -gt 1 ]; then
    echo "start $1: $3 at $X,$Y, expected $ex,$ey (client ${WIDTH}x$HEIGHT, frame $l $r $t $b)" | tee -a "$report"
  fi
}
for run in $(seq "$3"); do
  rm -f ./*.dat
  ./kotobarion >>"$2/placement-program.log" 2>&1 &
  pid=$!
  # Each window is looked at once the window manager has had time to frame
  # it and the program to correct its place.
  reg=$(find_win "名前登録"); sleep 0.5; check "$run" "$reg" registration 2
  if [ $((run % 2)) = 1 ]; then xdotool type --delay 30 "はなこ"; else xdotool type --delay 30 hana; fi
  xdotool key Return; sleep 0.2; xdotool key Return
  msg=$(find_win "メッセージ"); sleep 0.5; check "$run" "$msg" message 3; xdotool key Return
  sleep 0.3
  if [ $((run % 4)) -lt 2 ]; then y=196; name="第１章"; else y=260; name="第３章"; fi
  xdotool mousemove --window "$reg" 372 $y click 1
  find_win "メッセージ" >/dev/null; xdotool key Return
  ch=$(find_win "$name"); sleep 0.8; check "$run" "$ch" "$name" 2
  kill "$pid"; wait "$pid" 2>/dev/null
done
kill "$wm"
echo "$3 starts on ${SW}x$SH, $(wc -l <"$report") misplaced windows" | tee -a "$report"
PLACE
chmod +x "$work/placement.sh"
xvfb-run -a -s "-screen 0 ${screen}x24" "$work/placement.sh" "$work" "$out" "${STARTS:-20}" || true
cat >"$work/drive.sh" <<'DRIVE'
#!/bin/bash
export LANG=C.UTF-8 LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb
# Under a window manager, as a learner meets the windows.
openbox >/dev/null 2>&1 &
wm=$!
sleep 1
cd "$1"
OUT="$2"
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
xdotool key Return; sleep 0.3; shot 05-question "$2"
# A new question takes no answer for half a second: each click waits.
xdotool mousemove --window "$ch" 202 365 click 1; shot 06-right "$2"; xdotool key Return; sleep 0.8
xdotool mousemove --window "$ch" 298 365 click 1; shot 07-wrong "$2"; xdotool key Return
shot 08-judgement "$2"; xdotool key Return
shot 09-back "$2"
xdotool mousemove --window "$reg" 372 196 click 1; sleep 0.5; xdotool key Return
ch=$(find_win "第１章"); sleep 0.5
xdotool mousemove --window "$ch" 62 10 click 1; shot 10-help "$2"
# The quiz windows of chapters 2 and 3: the first option is clicked until
# both a right and a wrong answer have been seen (the candidates are
# shuffled). The message window's background tells them apart.
kill "$pid"; sleep 1
printf '0,0,0,0,0,0\r\n' >hana.dat
./kotobarion >>"$2/program.log" 2>&1 &
pid=$!
reg=$(find_win "名前登録")
xdotool type --delay 50 hana; xdotool key Return; sleep 0.3; xdotool key Return; sleep 0.5
play() {  # chapter-digit, y of its choice in the registration window, option x, option y, tag
  local right=0 wrong=0 tries=0
  while { [ $right = 0 ] || [ $wrong = 0 ]; } && [ $tries -lt 40 ]; do
    tries=$((tries + 1))
    xdotool mousemove --window "$reg" 372 "$2" click 1
    find_win "メッセージ" >/dev/null; xdotool key Return
    local ch; ch=$(find_win "$1"); sleep 0.5
    [ $tries = 1 ] && shot "$5-1-instructions" "$OUT"
    xdotool key Return; sleep 0.8
    [ $tries = 1 ] && shot "$5-2-question" "$OUT"
    for _ in $(seq 10); do
      xdotool mousemove --window "$ch" "$3" "$4" click 1
      local msg; msg=$(find_win "メッセージ"); sleep 0.5
      local colour; colour=$(import -window "$msg" -crop 1x1+300+225 -depth 8 txt:- | grep -o '#[0-9A-Fa-f]\{6\}' | head -1)
      if [ "$colour" = "#FF0000" ]; then
        [ $wrong = 0 ] && { shot "$5-4-wrong" "$OUT"; xdotool key Return; shot "$5-5-judgement" "$OUT"; xdotool key Return; }
        [ $wrong = 1 ] && { xdotool key Return; sleep 0.5; xdotool key Return; }
        wrong=1; sleep 0.5; break
      fi
      [ $right = 0 ] && shot "$5-3-right" "$OUT"
      right=1; xdotool key Return; sleep 0.8
    done
  done
}
play "第２章" 228 215 371 20-chapter2
play "第３章" 260 150 409 30-chapter3
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
ch=$(find_win "第１章"); sleep 0.5; xdotool key Return; sleep 0.8
for _ in $(seq 10); do xdotool mousemove --window "$ch" 202 365 click 1; sleep 0.4; xdotool key Return; sleep 0.8; done
shot 11-certificate "$2"
kill "$pid" || true
kill "$wm" || true
DRIVE
chmod +x "$work/drive.sh"
xvfb-run -a -s "-screen 0 ${screen}x24" "$work/drive.sh" "$work" "$out" || true
rm -rf "$work"
ls "$out"
# Every misplaced window fails the run.
[ "$(grep -c '^start' "$out/placement.txt" || true)" = 0 ]
