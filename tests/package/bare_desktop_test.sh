#!/usr/bin/env bash
# Proves that the portable folder runs on a desktop where nothing is installed: the archive made by
# scripts/package is unpacked onto a "stick" (a tmpfs, so that it has a drive of its own) inside a
# bare root that holds only what every desktop has (scripts/desktop-packages, /bin/sh), every exec
# bit cleared, and Tandrel is started from inside it with `sh Tandrel.sh` only: the command line,
# a synchronisation both ways, and the window on an X server. One line per check, "ok: ..." or
# "FAILED: ..."; exits non-zero when a check failed. Needs root; where chroot or mount is not
# allowed it says so and skips, exiting 0.
#   tests/package/bare_desktop_test.sh [dist/Tandrel-<version>-linux-x86_64.tar.gz]
set -uo pipefail
cd "$(dirname "$0")/../.."
archive="${1:-$(ls -t dist/Tandrel-*-linux-x86_64.tar.gz 2>/dev/null | head -1)}"
[ -f "$archive" ] || { echo "FAILED: no archive; run scripts/package first"; exit 1; }
version="$(basename "$archive" | sed 's/^Tandrel-\(.*\)-linux-x86_64\.tar\.gz$/\1/')"

failed=0
check() {  # check "what is proved" command...
  local what="$1"
  shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failed=$((failed + 1)); fi
}
skip() { echo "Skipped the portable folder test: $*"; exit 0; }

[ "$(id -u)" -eq 0 ] || skip "it needs root (chroot, mount)"
work="$(mktemp -d /tmp/tandrel-bare.XXXXXX)"
root="$work/root"
stick="$root/media/STICK"
xvfb_pid=""
window_pid=""
cleanup() {
  trap '' INT TERM  # a second Ctrl-C must not leave the mounts behind
  [ -z "$window_pid" ] || kill -KILL "$window_pid" 2>/dev/null
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  for mount in "$root/proc" "$stick"; do
    ! mountpoint -q "$mount" || umount "$mount" || umount -l "$mount"
  done
  # Never remove through a mount that is still there.
  if grep -qF " $work/" /proc/self/mountinfo; then
    echo "left $work in place: something is still mounted below it"
  else
    rm -rf --one-file-system "$work"
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The bare root: the desktop packages' files, dash as /bin/sh, /dev/null, the merged /usr of today's
# desktops.
mkdir -p "$root/usr/bin" "$root/usr/lib" "$root/usr/lib64" "$root/proc" "$root/tmp" "$root/home"
ln -s usr/bin "$root/bin"
ln -s usr/lib "$root/lib"
ln -s usr/lib64 "$root/lib64"
chmod 1777 "$root/tmp"
mkdir -p "$root/dev" && mknod -m 666 "$root/dev/null" c 1 3
for package in $(grep -v '^#' scripts/desktop-packages) dash; do
  dpkg -L "$package" 2>/dev/null
done | while read -r file; do
  [ -d "$file" ] && [ ! -L "$file" ] || printf '%s\0' "$file"
done | xargs -0 cp -a --parents -t "$root/" 2>/dev/null
ln -sf dash "$root/usr/bin/sh"

chroot "$root" /bin/sh -c true 2>/dev/null || skip "chroot is not allowed here"
mkdir -p "$stick"
mount -t proc proc "$root/proc" 2>/dev/null || skip "mounting /proc is not allowed here"
mount -t tmpfs -o size=256m stick "$stick" || skip "mounting a tmpfs is not allowed here"

tar -xzf "$archive" -C "$stick"
find "$stick" -type f -exec chmod a-x {} +
home=/media/STICK/Tandrel
folder="$stick/Tandrel"

# `sh Tandrel.sh ARGS` inside the bare root, with nothing of this machine's environment.
chroot_program="$(command -v chroot)"
in_root() {
  timeout 60 env -i PATH=/usr/bin COMPUTERNAME=BAREPC HOME=/home \
    "$chroot_program" "$root" /bin/sh "$home/Tandrel.sh" "$@"
}

check "archive at most 40 MiB" [ "$(stat -c %s "$archive")" -le $((40 * 1024 * 1024)) ]
check "folder at most 90 MiB" [ "$(du -sb "$folder" | cut -f1)" -le $((90 * 1024 * 1024)) ]
check "no file of the folder has an exec bit" [ -z "$(find "$folder" -type f -perm /111)" ]

# Every library of the folder finds each library it needs in the folder or in the bare root.
missing=""
while read -r elf; do
  for soname in $(readelf -d "$elf" 2>/dev/null | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
    [ -e "$folder/lib/$soname" ] || [ -e "$root/usr/lib/x86_64-linux-gnu/$soname" ] ||
      [ -e "$root/usr/lib64/$soname" ] || missing+="${elf#"$folder"/} needs $soname"$'\n'
  done
done < <(find "$folder" -type f \( -name Tandrel -o -name '*.so*' \))
[ -z "$missing" ] || printf 'missing: %s' "$missing"
check "every library needed is in the folder or on the bare desktop" [ -z "$missing" ]

check "sh Tandrel.sh --help exits 0" eval 'in_root --help >"$work/help"'
check "and prints the help" grep -q "Usage: Tandrel" "$work/help"

# A task between a folder of the stick (stored without its drive) and a folder of the "PC".
sqlite3 "$folder/data/db.mdb" "INSERT INTO TASKS (HOSTNAME, TYPE, \"LEFT\", \"RIGHT\", LEFTOPT,
  RIGHTOPT, DESCR, OPTIONS, LASTEXE) VALUES ('BAREPC', 1, '/Docs', '/home/ana/Docs', 'NEAR', 'NEAR',
  'Docs', '', '00000000000000')"
mkdir -p "$stick/Docs/Plans" "$root/home/ana/Docs"
echo "from the stick" >"$stick/Docs/Plans/Résumé.txt"
echo "from the PC" >"$root/home/ana/Docs/Budget.txt"
check "--tasks exits 0" eval 'in_root --tasks >"$work/tasks" 2>/dev/null'
check "and lists the task" grep -q "^1	Docs	" "$work/tasks"
check "--sync 1 exits 0" eval 'in_root --sync 1 >/dev/null 2>"$work/sync.log"'
check "the stick's file reached the PC" cmp -s "$stick/Docs/Plans/Résumé.txt" \
  "$root/home/ana/Docs/Plans/Résumé.txt"
check "the PC's file reached the stick" cmp -s "$root/home/ana/Docs/Budget.txt" "$stick/Docs/Budget.txt"
in_root --analyse 1 >"$work/analysis" 2>/dev/null
check "analysed afterwards, both files are ZZ" eval \
  '[ "$(cut -f1 "$work/analysis" | sort | uniq -c | tr -s " ")" = " 2 ZZ" ]'
check "an unknown verb reaches the program, its exit status 2 comes back" \
  eval 'in_root --bogus 2>"$work/bogus"; [ $? -eq 2 ] && grep -q -- "--bogus" "$work/bogus"'
check "without a display, no window: a message and exit status 2" \
  eval 'in_root 2>"$work/nodisplay"; [ $? -eq 2 ] && grep -q "no X display" "$work/nodisplay"'
check "the settings file is Tandrel.ini in the folder on the stick" \
  eval '[ -f "$folder/Tandrel.ini" ] && [ "$(ls "$folder" | grep -c "\.ini$")" -eq 1 ]'

# The window, on an X server outside the root (X clients find it by its abstract socket).
if command -v Xvfb >/dev/null; then
  Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>"$work/display" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
  export DISPLAY=":$(cat "$work/display")"
  # A past start stamp, so that the window finds no first run and writes a new one on closing.
  printf '[General]\r\nLastEXE=20000101000000\r\n' >"$folder/Tandrel.ini"
  # Started directly (env, chroot, sh and the loader each exec the next): the pid is the program's.
  env -i PATH=/usr/bin COMPUTERNAME=BAREPC HOME=/home DISPLAY="$DISPLAY" \
    "$chroot_program" "$root" /bin/sh "$home/Tandrel.sh" >"$work/window.log" 2>&1 &
  window_pid=$!
  title="Vorn Tandrel ($version)"
  shown=0
  for _ in $(seq 60); do
    xwininfo -root -tree 2>/dev/null | grep -qF "\"$title\"" && { shown=1; break; }
    sleep 0.5
  done
  check "the window opens on X" [ "$shown" -eq 1 ]
  check "through the folder's xcb plug-in" grep -q "$folder/plugins/platforms/libqxcb.so" \
    "/proc/$window_pid/maps"
  kill -TERM "$window_pid"
  for _ in $(seq 100); do kill -0 "$window_pid" 2>/dev/null || break; sleep 0.2; done
  kill -KILL "$window_pid" 2>/dev/null
  wait "$window_pid"
  status=$?
  window_pid=""
  check "SIGTERM closes it, exit status 0" [ "$status" -eq 0 ]
  check "closing wrote the settings into the folder on the stick" eval \
    'grep -q "^WindowWidth=" "$folder/Tandrel.ini" && ! grep -q "LastEXE=20000101000000" "$folder/Tandrel.ini"'
  [ "$status" -eq 0 ] || tail -20 "$work/window.log"
else
  echo "FAILED: Xvfb is missing (scripts/setup installs it)"
  failed=$((failed + 1))
fi
[ "$failed" -eq 0 ] || { echo "--sync said:"; tail -20 "$work/sync.log"; }
[ "$failed" -eq 0 ]
