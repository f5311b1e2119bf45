#!/usr/bin/env bash
# Times the analysis of a task against what other tools need to look at the same two folders.
#
#   bench/analysis_bench.sh [BUILD_DIR]        (default: build-engine beside this folder)
#
# Builds two task folder pairs (COUNT=100000 and SMALL=20000 files, see analysis_trees.py), a real
# database with four tasks on them, and then measures, warm cache, best of RUNS=3:
#   - the analysis with a full snapshot and with an empty one (bench/analysis_driver);
#   - find listing and stat-ing both trees;
#   - rsync -a -n --delete between them;
#   - unison update detection (a temporary HOME, every replica barred from change, so nothing is
#     propagated), without and with its archive;
# and the peak memory of each analysis. Everything is made under one temporary folder, removed at
# the end. Needs python3, sqlite3, rsync, unison and /usr/bin/time.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(dirname "$here")
build=${1:-$source_dir/build-engine}
count=${COUNT:-100000}
small=${SMALL:-20000}
runs=${RUNS:-3}

cmake --build "$build" --target analysis_driver >/dev/null 2>&1
driver=$build/bench/analysis_driver

work=$(mktemp -d /tmp/tandrel-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT
echo "making the trees in $work ..." >&2
python3 "$here/analysis_trees.py" "$work/big" "$count" 1
python3 "$here/analysis_trees.py" "$work/small" "$small" 2

# The program folder lies on the same drive as the trees; LEFT is stored without that drive.
program=$work/program
mkdir -p "$program/data"
sqlite3 "$program/data/db.mdb" <"$source_dir/data/schema.sql" >/dev/null
drive=$(findmnt -n -o TARGET --target "$work")
[ "$drive" = / ] && drive=
export COMPUTERNAME=BENCH
add_task() {  # id usb pc description
  sqlite3 "$program/data/db.mdb" "INSERT INTO TASKS (ID, HOSTNAME, TYPE, LEFT, RIGHT, LEFTOPT,
    RIGHTOPT, DESCR, OPTIONS, LASTEXE) VALUES ($1, 'BENCH', 1, '${2#"$drive"}', '$3', 'NEAR',
    'NEAR', '$4', '', '00000000000000');"
}
add_task 1 "$work/big/usb" "$work/big/pc" "big, full snapshot"
add_task 2 "$work/big/usb" "$work/big/pc" "big, empty snapshot"
add_task 3 "$work/small/usb" "$work/small/pc" "small, full snapshot"
add_task 4 "$work/small/usb" "$work/small/pc" "small, empty snapshot"
"$driver" "$program" 1 --write-snapshot >/dev/null
"$driver" "$program" 3 --write-snapshot >/dev/null
echo "snapshot rows: $(sqlite3 "$program/data/db.mdb" 'SELECT COUNT(*) FROM FILES')" >&2

# Best wall time (seconds, from the clock in nanoseconds) and the peak resident memory (KiB) of that
# run, of a command.
best=
peak=
measure() {
  local t start end
  best=
  "$@" >/dev/null 2>&1 || true  # warm the cache
  for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    /usr/bin/time -f '%M' -o "$work/mem" "$@" >/dev/null 2>&1 || true
    end=$(date +%s%N)
    t=$(awk "BEGIN{printf \"%.3f\", ($end - $start) / 1e9}")
    if [ -z "$best" ] || awk "BEGIN{exit !($t < $best)}"; then best=$t; peak=$(tail -1 "$work/mem"); fi
  done
}
ratio() { awk "BEGIN{printf \"%.2f\", $1 / $2}"; }

# Unison's update detection with every change barred on both replicas: nothing is propagated.
big_usb=$work/big/usb
big_pc=$work/big/pc
unison_detect=(env HOME="$work/unison-home" unison "$big_usb" "$big_pc" -batch -ui text -times
  -nocreation "$big_usb" -nocreation "$big_pc" -nodeletion "$big_usb" -nodeletion "$big_pc"
  -noupdate "$big_usb" -noupdate "$big_pc")
mkdir -p "$work/unison-home"

echo "== $count files a side =="
measure "$driver" "$program" 1; full=$best; full_mem=$peak
measure "$driver" "$program" 2; empty=$best; empty_mem=$peak
measure find "$work/big/usb" "$work/big/pc" -printf '%y %s %T@ %p\n'; find_t=$best
measure rsync -a -n --delete "$work/big/usb/" "$work/big/pc/"; rsync_t=$best
rm -rf "$work/unison-home/.unison"
start=$(date +%s%N)
"${unison_detect[@]}" >/dev/null 2>&1 || true
unison_first=$(awk "BEGIN{printf \"%.3f\", ($(date +%s%N) - $start) / 1e9}")
measure "${unison_detect[@]}"; unison_t=$best
printf '%-34s %8s s  %8s MiB\n' "analysis, full snapshot" "$full" "$((full_mem / 1024))"
printf '%-34s %8s s  %8s MiB\n' "analysis, empty snapshot" "$empty" "$((empty_mem / 1024))"
printf '%-34s %8s s\n' "find, list and stat both trees" "$find_t"
printf '%-34s %8s s\n' "rsync -a -n --delete" "$rsync_t"
printf '%-34s %8s s\n' "unison, no archive (once)" "$unison_first"
printf '%-34s %8s s\n' "unison, with archive" "$unison_t"
echo "full snapshot / find:   $(ratio "$full" "$find_t")"
echo "full snapshot / rsync:  $(ratio "$full" "$rsync_t")"
echo "full snapshot / unison: $(ratio "$full" "$unison_t")"
echo "empty snapshot / find:  $(ratio "$empty" "$find_t")"

echo "== $small files a side =="
measure "$driver" "$program" 3; small_full=$best
measure "$driver" "$program" 4; small_empty=$best
printf '%-34s %8s s\n' "analysis, full snapshot" "$small_full"
printf '%-34s %8s s\n' "analysis, empty snapshot" "$small_empty"
per_big=$(awk "BEGIN{print $full / $count}")
per_small=$(awk "BEGIN{print $small_full / $small}")
echo "per-file cost ratio (full):  $(ratio "$per_big" "$per_small")"
per_big=$(awk "BEGIN{print $empty / $count}")
per_small=$(awk "BEGIN{print $small_empty / $small}")
echo "per-file cost ratio (empty): $(ratio "$per_big" "$per_small")"
