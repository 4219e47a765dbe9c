#!/bin/sh
# Starts コトバリオン from a folder of the learner's own.
#
# The program keeps every file it reads and writes in its own folder, and the
# installed folder is read-only. So each user runs a copy of that folder
# under ${XDG_DATA_HOME:-~/.local/share}/kotobarion: files of the package
# that are newer than the copy (after an upgrade) are copied again; the
# learners' records (*.dat) and anything a teacher added stay.
set -eu
installed="$(dirname "$(readlink -f "$0")")/../lib/kotobarion"
own="${XDG_DATA_HOME:-$HOME/.local/share}/kotobarion"
mkdir -p "$own"
for f in "$installed"/* "$installed"/.[!.]*; do
  [ -f "$f" ] || continue
  target="$own/$(basename "$f")"
  if [ ! -e "$target" ] || [ "$f" -nt "$target" ]; then
    cp -p "$f" "$target.new" && mv -f "$target.new" "$target"
  fi
done
exec "$own/kotobarion" "$@"
