#!/usr/bin/env bash
# Checks the packages in DIST: the archive holds the program's folder, the
# .deb the installed layout; installing the .deb and starting the program as
# an ordinary user lets that user save a record.
set -euo pipefail
dist=$(readlink -f "$1")
if [ "$(id -u)" != 0 ]; then
  echo "skipped: installing the package needs root"
  exit 77
fi
tgz=$(ls "$dist"/kotobarion-*.tar.gz)
deb=$(ls "$dist"/kotobarion_*.deb)
fail=0
passed=0
check() {  # check NAME COMMAND...
  if "${@:2}"; then passed=$((passed + 1)); echo "ok: $1"; else fail=$((fail + 1)); echo "FAILED: $1"; fi
}
delivered=(kotobarion kotobarion-check kotobarion-sound.so 体.txt star.gif starn.gif cut11.jpg cut22.JPG seikai.wav miss.wav
  "コトバリオンV.1.3.hlp")
archive=$(tar -tzf "$tgz")
debfiles=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in "${delivered[@]}"; do
  check "archive holds $f" grep -qx "kotobarion-1.3/$f" <<<"$archive"
  check "package holds $f" grep -qx "./usr/lib/kotobarion/$f" <<<"$debfiles"
done
for f in ./usr/bin/kotobarion ./usr/share/applications/kotobarion.desktop \
  ./usr/share/icons/hicolor/scalable/apps/kotobarion.svg ./usr/share/metainfo/io.github.kotobarion.Kotobarion.metainfo.xml; do
  check "package holds $f" grep -qx "$f" <<<"$debfiles"
done

dpkg -i "$deb" >/dev/null
for f in "${delivered[@]}"; do
  check "installed $f" test -f "/usr/lib/kotobarion/$f"
done
check "metainfo validates" appstreamcli validate --no-net /usr/share/metainfo/io.github.kotobarion.Kotobarion.metainfo.xml

user=kotobarion-tester
id "$user" >/dev/null 2>&1 || useradd -m "$user"
home=$(getent passwd "$user" | cut -d: -f6)
rm -rf "$home/.local/share/kotobarion"
# The learner registers, starts chapter 1 and leaves by the menu 終了: the
# record is saved in the user's own copy of the program's folder.
cat >"$home/drive.sh" <<'DRIVE'
#!/bin/bash
export LANG=C.UTF-8 LC_ALL=C.UTF-8
kotobarion >"$HOME/kotobarion.log" 2>&1 &
pid=$!
wait_for() { for _ in $(seq 50); do w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1); [ -n "$w" ] && { echo "$w"; return; }; sleep 0.2; done; }
reg=$(wait_for "名前登録")
xdotool type --delay 50 tester; xdotool key Return; sleep 0.3; xdotool key Return
msg=$(wait_for "メッセージ"); sleep 0.3; xdotool key Return; sleep 0.5
xdotool mousemove --window "$reg" 372 196 click 1
msg=$(wait_for "メッセージ"); sleep 0.3; xdotool key Return
ch=$(wait_for "第１章"); sleep 0.5
xdotool mousemove --window "$ch" 18 10 click 1; sleep 1
xdotool key Return
for _ in $(seq 50); do kill -0 $pid 2>/dev/null || break; sleep 0.2; done
kill $pid 2>/dev/null || true
DRIVE
chmod +x "$home/drive.sh"
chown "$user" "$home/drive.sh"
su - "$user" -c "QT_QPA_PLATFORM=xcb xvfb-run -a -s '-screen 0 1280x1024x24' ./drive.sh" || true
check "the user's record was saved" test "$(cat "$home/.local/share/kotobarion/tester.dat" 2>/dev/null)" = $'0,1,0,0,0,0\r'
check "the installed folder stayed untouched" test ! -e /usr/lib/kotobarion/tester.dat
echo "packages: $passed passed, $fail failed"
[ "$fail" -eq 0 ]
