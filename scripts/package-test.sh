#!/usr/bin/env bash
# Checks the packages in DIST without installing anything on the machine:
#   - the archive holds the program's folder, the .deb the installed layout;
#   - lintian finds no error and no warning in the .deb;
#   - the .deb unpacked into a temporary root: its launcher, started there by
#     an ordinary account with a temporary home, lets a learner save a record
#     in that home, and the unpacked program folder stays untouched;
#   - an upgrade keeps a teacher's edit and puts the new version beside it;
#   - the archive, unpacked into a writable folder, runs there.
# Run as root, the program runs as the existing account "nobody"; otherwise
# as the calling user. Everything lives in one temporary folder, removed at
# the end.
set -euo pipefail
export LC_ALL=C.UTF-8  # file names as they are, not escaped
dist=$(readlink -f "$1")
for tool in dpkg-deb lintian appstreamcli xvfb-run xdotool sha256sum; do
  command -v "$tool" >/dev/null || {
    echo "skipped: $tool is missing (scripts/deps.sh installs it)"
    exit 77
  }
done
tgz=$(ls "$dist"/kotobarion-*.tar.gz)
deb=$(ls "$dist"/kotobarion_*.deb)

tmp=$(mktemp -d)
x11_made=
cleanup() {
  rm -rf "$tmp"
  # Only the folder made below, and only while no other X server uses it.
  [ -z "$x11_made" ] || rmdir /tmp/.X11-unix 2>/dev/null || true
}
trap cleanup EXIT
chmod 755 "$tmp"

fail=0
passed=0
check() {  # check NAME COMMAND...
  if "${@:2}"; then passed=$((passed + 1)); echo "ok: $1"; else fail=$((fail + 1)); echo "FAILED: $1"; fi
}
same() { cmp -s "$1" "$2"; }

# The account that runs the program, its home and temporary folders.
home=$tmp/home
mkdir -p "$home" "$tmp/tmp" "$tmp/run"
chmod 700 "$home" "$tmp/tmp" "$tmp/run"
if [ "$(id -u)" = 0 ]; then
  user=nobody
  chown "$user:$(id -gn "$user")" "$home" "$tmp/tmp" "$tmp/run"
  run_as() { setpriv --reuid="$user" --regid="$(id -g "$user")" --clear-groups -- "$@"; }
  # An X server started by an ordinary account needs the socket folder that
  # the system makes at boot (systemd-tmpfiles); make it the same way if it
  # is missing, and remove it again at the end.
  if [ ! -d /tmp/.X11-unix ]; then
    install -d -m 1777 -o root -g root /tmp/.X11-unix
    x11_made=1
  fi
else
  user=$(id -un)
  run_as() { "$@"; }
fi
as_user() {  # as_user [VAR=VALUE...] COMMAND...: runs with a clean environment
  run_as env -i HOME="$home" TMPDIR="$tmp/tmp" XDG_RUNTIME_DIR="$tmp/run" LANG=C.UTF-8 LC_ALL=C.UTF-8 \
    PATH="$tmp/root/usr/bin:/usr/local/bin:/usr/bin:/bin" "$@"
}
echo "running as $user with the temporary home $home"

# --- Contents
required=(kotobarion kotobarion-check kotobarion-report kotobarion-sound.so 体.txt star.gif starn.gif cut11.jpg cut22.JPG seikai.wav miss.wav
  "コトバリオンV.1.3.hlp")
archive=$(tar -tzf "$tgz")
debfiles=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in "${required[@]}"; do
  check "archive holds $f" grep -qx "kotobarion-1.3/$f" <<<"$archive"
  check "package holds $f" grep -qx "./usr/lib/kotobarion/$f" <<<"$debfiles"
done
check "archive and package hold the same program folder" test \
  "$(sed -n 's|^kotobarion-1.3/\(.\)|\1|p' <<<"$archive" | sort)" = \
  "$(sed -n 's|^\./usr/lib/kotobarion/\(.\)|\1|p' <<<"$debfiles" | sort)"
for f in ./usr/bin/kotobarion ./usr/bin/kotobarion-check ./usr/bin/kotobarion-report \
  ./usr/share/applications/kotobarion.desktop \
  ./usr/share/icons/hicolor/scalable/apps/kotobarion.svg ./usr/share/metainfo/io.github.kotobarion.Kotobarion.metainfo.xml \
  ./usr/share/man/man1/kotobarion.1.gz ./usr/share/man/man1/kotobarion-check.1.gz \
  ./usr/share/man/man1/kotobarion-report.1.gz \
  ./usr/share/doc/kotobarion/copyright ./usr/share/doc/kotobarion/changelog.gz \
  ./usr/share/lintian/overrides/kotobarion; do
  check "package holds $f" grep -qx "$f" <<<"$debfiles"
done
check "package depends on the C library (worked out by dpkg-shlibdeps)" \
  grep -q 'libc6 (>=' <<<"$(dpkg-deb -f "$deb" Depends)"
check "package depends on the fonts" grep -q 'fonts-ipafont-gothic' <<<"$(dpkg-deb -f "$deb" Depends)"

# --- lintian (as the ordinary account: it warns against running as root)
cp "$deb" "$tmp/kotobarion.deb"
chmod 644 "$tmp/kotobarion.deb"
as_user lintian --pedantic --info --fail-on error,warning "$tmp/kotobarion.deb" >"$tmp/lintian.log" 2>&1 &&
  lintian_ok=1 || lintian_ok=
sed 's/^/  lintian: /' "$tmp/lintian.log"
check "lintian finds no error or warning" test -n "$lintian_ok"

# --- The .deb unpacked into a temporary root
root=$tmp/root
dpkg-deb -x "$deb" "$root"
chmod 755 "$root"
installed=$root/usr/lib/kotobarion
for f in "${required[@]}"; do
  check "unpacked $f" test -f "$installed/$f"
done
check "kotobarion-check is reachable from bin" test -x "$root/usr/bin/kotobarion-check"
check "kotobarion-report is reachable from bin" test -x "$root/usr/bin/kotobarion-report"
check "metainfo validates" appstreamcli validate --no-net "$root/usr/share/metainfo/io.github.kotobarion.Kotobarion.metainfo.xml"
snapshot() {
  (cd "$root" && find . -printf '%M %u %s %T@ %p\n' | sort && find . -type f -exec sha256sum {} + | sort)
}
snapshot >"$tmp/root.before"

# The learner registers, starts chapter 1 and leaves by the menu 終了, which
# saves the record in the folder the program runs in.
cat >"$tmp/drive.sh" <<'DRIVE'
#!/bin/bash
"$1" >"$HOME/kotobarion.log" 2>&1 &
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
chmod 755 "$tmp/drive.sh"
drive() {  # drive PROGRAM
  as_user QT_QPA_PLATFORM=xcb xvfb-run -a -s '-screen 0 1280x1024x24' "$tmp/drive.sh" "$1" || true
}
record=$'0,1,0,0,0,0\r'
own=$home/.local/share/kotobarion
drive kotobarion
check "the learner's record was saved in the home" test "$(cat "$own/tester.dat" 2>/dev/null)" = "$record"
check "the launcher recorded every file it copied" test \
  "$(find "$installed" -mindepth 1 -printf '%f\n' | sort)" = "$(cut -c67- "$own/.kotobarion-package.sha256" 2>/dev/null | sort)"
check "the launcher left no temporary file" test -z \
  "$(find "$own" -name '.kotobarion-copy.*' -o -name '*.sha256.*')"
# With no folder, the class report reads the user's copy the launcher runs.
check "kotobarion-report lists the learner of the user's copy" grep -qx $'tester,0,1,0,0,0,0,\r' \
  <<<"$(as_user kotobarion-report --csv 2>&1)"

# --- Upgrade: a teacher edits 体.txt and adds a file; the new package ships
# a new 体.txt, a new star.gif, a new program and a new file.
# shellcheck disable=SC2016 # expanded by the inner shell
as_user sh -c 'printf "2,1,\"teacher\",\"edit\"\r\n" >>"$1/体.txt"; echo mine >"$1/自作.txt"' sh "$own"
cp "$own/体.txt" "$tmp/edited.txt"
new=$tmp/root2
cp -a "$root" "$new"
printf '2,2,"new","question"\r\n' >>"$new/usr/lib/kotobarion/体.txt"
printf 'new picture' >>"$new/usr/lib/kotobarion/star.gif"
printf 'new in the package\r\n' >"$new/usr/lib/kotobarion/追加.txt"
# shellcheck disable=SC2016 # expanded by the stub
printf '#!/bin/sh\necho "upgraded program in $(dirname "$0")"\n' >"$new/usr/lib/kotobarion/kotobarion"
touch "$new/usr/lib/kotobarion"/*
upgrade() { as_user "$new/usr/bin/kotobarion" >"$tmp/out" 2>"$tmp/err"; }
upgrade
check "upgrade: the teacher's edit is kept" same "$own/体.txt" "$tmp/edited.txt"
check "upgrade: the new 体.txt is beside it" same "$own/体.txt.packaged" "$new/usr/lib/kotobarion/体.txt"
check "upgrade: standard error says so" grep -q "体.txt.packaged" "$tmp/err"
check "upgrade: an unchanged file takes the new version" same "$own/star.gif" "$new/usr/lib/kotobarion/star.gif"
check "upgrade: nothing is put beside an unchanged file" test ! -e "$own/star.gif.packaged"
check "upgrade: a new package file is copied" same "$own/追加.txt" "$new/usr/lib/kotobarion/追加.txt"
check "upgrade: the new program runs in the user's folder" test "$(cat "$tmp/out")" = "upgraded program in $own"
check "upgrade: the record stays" test "$(cat "$own/tester.dat")" = "$record"
check "upgrade: the teacher's own file stays" test "$(cat "$own/自作.txt")" = mine
upgrade
check "next run: the edit is still kept" same "$own/体.txt" "$tmp/edited.txt"
check "next run: nothing more is said" test ! -s "$tmp/err"
# The teacher takes the new version by removing the edited copy; from then
# on later versions replace it again.
rm "$own/体.txt"
upgrade
check "removed copy: the package's version comes back" same "$own/体.txt" "$new/usr/lib/kotobarion/体.txt"
printf '1,3,"newer","question"\r\n' >>"$new/usr/lib/kotobarion/体.txt"
upgrade
check "later upgrade: the unchanged copy takes the newer version" same "$own/体.txt" \
  "$new/usr/lib/kotobarion/体.txt"
check "later upgrade: nothing is said" test ! -s "$tmp/err"
# A folder made by an earlier launcher has no checksum list: copies equal to
# the package's are recorded, a differing data file is kept.
rm "$own/.kotobarion-package.sha256"
# shellcheck disable=SC2016 # expanded by the inner shell
as_user sh -c 'echo older >>"$1/starn.gif"' sh "$own"
upgrade
check "no list: a differing file is kept" grep -q older "$own/starn.gif"
check "no list: the package's version is beside it" same "$own/starn.gif.packaged" \
  "$new/usr/lib/kotobarion/starn.gif"
check "no list: equal copies are recorded again" grep -q "  体.txt\$" "$own/.kotobarion-package.sha256"

snapshot >"$tmp/root.after"
check "the unpacked program folder stayed untouched" cmp -s "$tmp/root.before" "$tmp/root.after"

# --- The portable archive: unpacked anywhere writable, it runs there.
mkdir "$tmp/portable"
[ "$user" = "$(id -un)" ] || chown "$user" "$tmp/portable"
as_user tar -xzf "$tgz" -C "$tmp/portable"
folder=$tmp/portable/kotobarion-1.3
check "archive: its checker runs" as_user "$folder/kotobarion-check" "$folder/体.txt"
drive "$folder/kotobarion"
check "archive: the learner's record is saved in its folder" test "$(cat "$folder/tester.dat" 2>/dev/null)" = "$record"
check "archive: its class report lists the learner of its folder" grep -qx $'tester,0,1,0,0,0,0,\r' \
  <<<"$(as_user "$folder/kotobarion-report" --csv 2>&1)"

echo "packages: $passed passed, $fail failed"
[ "$fail" -eq 0 ]
