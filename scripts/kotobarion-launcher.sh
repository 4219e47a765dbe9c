#!/bin/sh
# Starts コトバリオン from a folder of the learner's own.
#
# The program keeps every file it reads and writes in its own folder, and the
# installed folder is read-only. So each user runs a copy of that folder
# under ${XDG_DATA_HOME:-~/.local/share}/kotobarion.
#
# Every run brings that copy up to date with the installed folder, without
# ever losing what the user or a teacher changed there. The list
# .kotobarion-package.sha256 in the user's folder records, for each file
# copied from the package, the checksum of the package's version it came
# from. For each file of the installed folder:
#   - missing from the user's folder: copied;
#   - the same as the package's: nothing to do;
#   - a program (executable): replaced by the package's, always;
#   - unchanged since it was copied and the package ships a new version:
#     replaced by the new version;
#   - changed by the user (or never copied by this launcher): kept as it is,
#     and the package's version is put beside it as NAME.packaged, with a
#     note on standard error.
# The learners' records (*.dat) and files a teacher added are never touched.
set -eu
installed="$(dirname "$(readlink -f "$0")")/../lib/kotobarion"
own="${XDG_DATA_HOME:-$HOME/.local/share}/kotobarion"
list="$own/.kotobarion-package.sha256"
mkdir -p "$own"

checksum() { sha256sum <"$1" | cut -d' ' -f1; }

# The checksum recorded for file name $1, empty if none.
recorded() {
  [ -f "$list" ] || return 0
  awk -v name="$1" 'substr($0, 67) == name { sum = substr($0, 1, 64) } END { print sum }' "$list"
}

# copy SOURCE TARGET: replaces TARGET in one step, so an interrupted run
# never leaves half a file behind.
copy() {
  tmp="$own/.kotobarion-copy.$$"
  cp -p "$1" "$tmp" && mv -f "$tmp" "$2"
}

newlist="$list.$$"
: >"$newlist"
trap 'rm -f "$newlist" "$own/.kotobarion-copy.$$"' EXIT
for f in "$installed"/* "$installed"/.[!.]*; do
  [ -f "$f" ] || continue
  name=$(basename "$f")
  target="$own/$name"
  package=$(checksum "$f")
  before=$(recorded "$name")
  if [ ! -e "$target" ]; then
    copy "$f" "$target"
    base=$package
  else
    mine=$(checksum "$target")
    if [ "$mine" = "$package" ]; then
      base=$package
    elif [ -x "$f" ] || { [ -n "$before" ] && [ "$mine" = "$before" ]; }; then
      copy "$f" "$target"
      base=$package
    else
      # The user's copy differs from everything the package gave: keep it.
      base=$before
      beside="$target.packaged"
      if [ ! -f "$beside" ] || [ "$(checksum "$beside")" != "$package" ]; then
        copy "$f" "$beside"
        echo "kotobarion: $target differs from what the package gave, so it is kept;" \
          "the package's new version of it is beside it as $beside" >&2
      fi
    fi
  fi
  [ -z "$base" ] || printf '%s  %s\n' "$base" "$name" >>"$newlist"
done
mv -f "$newlist" "$list"
trap - EXIT
exec "$own/kotobarion" "$@"
