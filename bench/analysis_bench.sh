#!/usr/bin/env bash
# Times the analysis of a task against what other tools need to look at the same two folders.
#
#   bench/analysis_bench.sh [BUILD_DIR]        (default: build-engine beside this folder)
#
# Builds two task folder pairs (COUNT=100000 and SMALL=20000 files, see analysis_trees.py), a real
# database with four tasks on them, and then measures, warm cache, best of RUNS=5:
#   - the analysis with a full snapshot and with an empty one (bench/analysis_driver);
#   - find listing and stat-ing both trees;
#   - rsync -a -n --delete between them;
#   - unison update detection (a temporary HOME, every replica barred from change, so nothing is
#     propagated), without and with its archive;
# and the peak memory of each analysis. Everything is made under one temporary folder, removed at
# the end. Needs python3, sqlite3, rsync, unison and /usr/bin/time; uses perf when it is there.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(dirname "$here")
build=${1:-$source_dir/build-engine}
count=${COUNT:-100000}
small=${SMALL:-20000}
runs=${RUNS:-5}

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

# Best wall time and best processor time (user + system, every process of the command), in
# seconds, of a command, and the peak resident memory (KiB) of its thriftiest run. The ratios below
# are given on both: the wall clock of a shared machine says as much about the neighbours as about
# the command. Processor time comes from perf stat where perf is installed (it follows every child,
# as rsync's are), else from /usr/bin/time (which misses children nobody waited for).
best=
cpu=
peak=
measure() {
  local t c start end
  best=
  cpu=
  "$@" >/dev/null 2>&1 || true  # warm the cache
  for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    if command -v perf >/dev/null; then
      perf stat -x, -e task-clock -o "$work/perf" \
        /usr/bin/time -f '%M' -o "$work/time" "$@" >/dev/null 2>&1 || true
      c=$(awk -F, '/task-clock/ {printf "%.3f", $1 / 1000}' "$work/perf")
    else
      /usr/bin/time -f '%U %S %M' -o "$work/time" "$@" >/dev/null 2>&1 || true
      # The last line: a command that fails has a line about its exit status before it.
      c=$(tail -1 "$work/time" | awk '{printf "%.3f", $1 + $2}')
    fi
    end=$(date +%s%N)
    t=$(awk "BEGIN{printf \"%.3f\", ($end - $start) / 1e9}")
    if [ -z "$best" ] || awk "BEGIN{exit !($t < $best)}"; then best=$t; fi
    if [ -z "$cpu" ] || awk "BEGIN{exit !($c < $cpu)}"; then
      cpu=$c
      peak=$(tail -1 "$work/time" | awk '{print $NF}')
    fi
  done
}
ratio() { awk "BEGIN{if ($2 > 0) printf \"%.2f\", $1 / $2; else printf \"n/a\"}"; }

# Unison's update detection with every change barred on both replicas: nothing is propagated.
big_usb=$work/big/usb
big_pc=$work/big/pc
unison_detect=(env HOME="$work/unison-home" unison "$big_usb" "$big_pc" -batch -ui text -times
  -nocreation "$big_usb" -nocreation "$big_pc" -nodeletion "$big_usb" -nodeletion "$big_pc"
  -noupdate "$big_usb" -noupdate "$big_pc")
mkdir -p "$work/unison-home"

echo "== $count files a side (best of $runs; wall and processor seconds) =="
measure "$driver" "$program" 1; full=$best; full_cpu=$cpu; full_mem=$peak
measure "$driver" "$program" 2; empty=$best; empty_cpu=$cpu; empty_mem=$peak
measure find "$big_usb" "$big_pc" -printf '%y %s %T@ %p\n'; find_t=$best; find_cpu=$cpu
measure rsync -a -n --delete "$big_usb/" "$big_pc/"; rsync_t=$best; rsync_cpu=$cpu
rm -rf "$work/unison-home/.unison"
start=$(date +%s%N)
"${unison_detect[@]}" >/dev/null 2>&1 || true
unison_first=$(awk "BEGIN{printf \"%.3f\", ($(date +%s%N) - $start) / 1e9}")
measure "${unison_detect[@]}"; unison_t=$best; unison_cpu=$cpu
row() { printf '%-34s %8s %8s %s\n' "$@"; }
row "" wall cpu ""
row "analysis, full snapshot" "$full" "$full_cpu" "peak $((full_mem / 1024)) MiB"
row "analysis, empty snapshot" "$empty" "$empty_cpu" "peak $((empty_mem / 1024)) MiB"
row "find, list and stat both trees" "$find_t" "$find_cpu"
row "rsync -a -n --delete" "$rsync_t" "$rsync_cpu"
row "unison, no archive (once)" "$unison_first" "-"
row "unison, with archive" "$unison_t" "$unison_cpu"
echo "full snapshot / find:    wall $(ratio "$full" "$find_t")  cpu $(ratio "$full_cpu" "$find_cpu")"
echo "empty snapshot / find:   wall $(ratio "$empty" "$find_t")  cpu $(ratio "$empty_cpu" "$find_cpu")"
echo "full snapshot / rsync:   wall $(ratio "$full" "$rsync_t")  cpu $(ratio "$full_cpu" "$rsync_cpu")"
echo "full snapshot / unison:  wall $(ratio "$full" "$unison_t")  cpu $(ratio "$full_cpu" "$unison_cpu")"

echo "== $small files a side =="
measure "$driver" "$program" 3; small_full=$best; small_full_cpu=$cpu
measure "$driver" "$program" 4; small_empty=$best; small_empty_cpu=$cpu
row "analysis, full snapshot" "$small_full" "$small_full_cpu"
row "analysis, empty snapshot" "$small_empty" "$small_empty_cpu"
per_file() {  # seconds at count, seconds at small: the cost of a file at count over one at small
  awk "BEGIN{if ($2 > 0) printf \"%.2f\", ($1 / $count) / ($2 / $small); else printf \"n/a\"}"
}
echo "per-file cost, $count over $small, full:   wall $(per_file "$full" "$small_full")  cpu $(per_file "$full_cpu" "$small_full_cpu")"
echo "per-file cost, $count over $small, empty:  wall $(per_file "$empty" "$small_empty")  cpu $(per_file "$empty_cpu" "$small_empty_cpu")"
