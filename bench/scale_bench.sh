#!/usr/bin/env bash
# The whole program at the size of a large task, against the tools that do the same work, in one
# run: the analysis, its peak memory, a first run of small new files, a run that only renews the
# snapshot, and the snapshot load.
#
#   bench/scale_bench.sh [COUNT] [BUILD_DIR]     (COUNT default 100000; BUILD_DIR build-rel)
#
# The tree: COUNT files a side made by analysis_trees.py (about 20 a folder, three levels,
# mixed-case and non-ASCII names, a few changed or one-sided). A first `Tandrel --sync` brings the
# sides in step and fills the snapshot; then, warm cache, best of RUNS=2:
#   - `Tandrel --analyse` (full snapshot) against `find` listing and stat-ing both trees and
#     `rsync -a -n --delete`; the peak memory of the analysis and of the program alone (--tasks);
#   - `Tandrel --sync` of the trees in step (but for the 1% changed on both sides, which stay
#     conflicts and get no row): it copies nothing and renews every other snapshot row; the rows'
#     share is its time less the analysis's;
#   - a first run copying the COUNT files of one side into an empty folder against `cp -a` and
#     `rsync -a`, both followed by `sync` (the program flushes what it copied before it records it);
#     COPIES=0 leaves it out (ANALYSIS=0 leaves out the two above);
#   - bench/store_bench loading COUNT snapshot rows.
# The trees stay in WORK (default /tmp/tandrel-scale-COUNT) for the next run, and the copies in
# WORK/old-copies-*; KEEP=0 removes them all at the end. TANDREL=path times that program instead of
# the build's (an older build, to compare).
# Needs python3, sqlite3, rsync, /usr/bin/time.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(dirname "$here")
count=${1:-100000}
build=${2:-$source_dir/build-rel}
runs=${RUNS:-2}
copies=${COPIES:-1}
work=${WORK:-/tmp/tandrel-scale-$count}

cmake --build "$build" --target Tandrel store_bench >/dev/null
# The copies are set aside at the end, not removed: removing them takes minutes on a busy disk,
# and the next run must not wait for it. KEEP=0 removes everything.
if [ "${KEEP:-1}" = 0 ]; then
  trap 'rm -rf "$work"' EXIT
else
  trap '[ -d "$work/out" ] && mv "$work/out" "$work/old-copies-$$"' EXIT
fi

if [ ! -e "$work/tree.done" ]; then
  rm -rf "$work"
  mkdir -p "$work"
  echo "making the trees in $work ..." >&2
  python3 "$here/analysis_trees.py" "$work/tree" "$count" 1
  touch "$work/tree.done"
fi

# The portable folder with the two tasks; made afresh each time: the program changes.
source "$here/portable_folder.sh"
make_portable_folder "${TANDREL:-$build/Tandrel/Tandrel}" "$work"
usb=$work/tree/usb
pc=$work/tree/pc
add_task 1 "$usb" "$pc"
add_task 2 "$usb" "$work/out/0"
tandrel=$program/Tandrel
echo "bringing the sides in step and filling the snapshot ..." >&2
"$tandrel" --sync 1 >/dev/null 2>&1 || true  # 1: the files changed on both sides stay conflicts
rows=$(sqlite3 "$db" 'SELECT COUNT(*) FROM FILES')

# Best wall and processor time (user + system, waited-for children included) in seconds, and the
# peak resident memory (KiB) of the run with the best wall time. prepare runs untimed before each.
best= cpu= peak=
measure() {  # prepare command...
  local prepare=$1 wall c m rc
  shift
  best= cpu= peak=
  for _ in $(seq "$runs"); do
    "$prepare"
    rc=0
    /usr/bin/time -f '%e %U %S %M' -o "$work/time" "$@" >/dev/null 2>"$work/err" || rc=$?
    # The program's 1 says a file is in conflict (the trees hold some), not that it failed.
    [ "$rc" -le 1 ] || { cat "$work/err" >&2; exit 1; }
    read -r wall u s m < <(tail -1 "$work/time")
    c=$(awk "BEGIN{printf \"%.2f\", $u + $s}")
    if [ -z "$best" ] || awk "BEGIN{exit !($wall < $best)}"; then best=$wall peak=$m; fi
    if [ -z "$cpu" ] || awk "BEGIN{exit !($c < $cpu)}"; then cpu=$c; fi
  done
}
nothing() { :; }
# Each copy goes to a folder of its own, all removed at the end: removing 100,000 files between two
# runs takes minutes on a busy disk.
copies_made=0
out=
fresh() {
  copies_made=$((copies_made + 1))
  out=$work/out/$copies_made
  mkdir -p "$work/out"
  sqlite3 "$db" "DELETE FROM FILES WHERE TASK = 2; UPDATE TASKS SET RIGHT = '$out' WHERE ID = 2;"
  sync
}
ratio() { awk "BEGIN{if ($2 > 0) printf \"%.2f\", $1 / $2; else printf \"n/a\"}"; }
export usb out
cp_sync=(bash -c 'cp -a "$usb" "$out" && sync')
rsync_sync=(bash -c 'rsync -a "$usb/" "$out/" && sync')
row() { printf '| %-52s | %8s | %8s | %s\n' "$@"; }

if [ "${ANALYSIS:-1}" != 0 ]; then
  "$tandrel" --analyse 1 >/dev/null 2>&1 || true  # warm the cache
  measure nothing "$tandrel" --analyse 1; an=$best an_cpu=$cpu an_mem=$peak
  measure nothing find "$usb" "$pc" -printf '%y %s %T@ %p\n'; fi=$best fi_cpu=$cpu
  measure nothing rsync -a -n --delete "$usb/" "$pc/"; rs=$best rs_cpu=$cpu
  measure nothing "$tandrel" --tasks; alone_mem=$peak
  measure nothing "$tandrel" --sync 1; renew=$best renew_cpu=$cpu

  echo "== $count files a side, best of $runs, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg) =="
  row measure "wall" "cpu" "ratio (wall, cpu)"
  row "analysis, full snapshot (--analyse)" "$an" "$an_cpu" ""
  row "find, list and stat both trees" "$fi" "$fi_cpu" ""
  row "rsync -a -n --delete" "$rs" "$rs_cpu" ""
  row "analysis / find" "" "" "$(ratio "$an" "$fi"), $(ratio "$an_cpu" "$fi_cpu")"
  row "analysis / rsync -a -n --delete" "" "" "$(ratio "$an" "$rs"), $(ratio "$an_cpu" "$rs_cpu")"
  row "peak memory, analysis (program alone)" "" "" "$((an_mem / 1024)) MiB ($((alone_mem / 1024)) MiB)"
  row "run in step, renews $rows rows (--sync)" "$renew" "$renew_cpu" ""
  row "  its rows: --sync less --analyse" "" "" "$(awk "BEGIN{printf \"%.2f s\", $renew - $an}")"
fi

if [ "$copies" != 0 ]; then
  measure fresh "$tandrel" --sync 2; ours=$best ours_cpu=$cpu
  # Every file but those the run leaves out and names (two names of a folder that differ only in
  # case: the in-step runs above may have made such pairs).
  left_out=$(grep -c 'Left out' "$work/err" || true)
  [ "$(find "$out" -type f | wc -l)" = "$(($(find "$usb" -type f | wc -l) - left_out))" ] ||
    { echo "the run did not copy every file" >&2; exit 1; }
  measure fresh "${cp_sync[@]}"; cps=$best
  measure fresh "${rsync_sync[@]}"; rss=$best
  echo "== first run, best of $runs, load $(cut -d' ' -f1-3 /proc/loadavg) =="
  row "first run, $count new files (--sync)" "$ours" "$ours_cpu" ""
  row "cp -a, then sync" "$cps" "" ""
  row "rsync -a, then sync" "$rss" "" ""
  row "first run / cp -a + sync" "" "" "$(ratio "$ours" "$cps")"
  row "first run / rsync -a + sync" "" "" "$(ratio "$ours" "$rss")"
fi

# From the build folder: the bench finds the schema beside its source through a relative path.
(cd "$build" && bench/store_bench --benchmark_filter="BM_SnapshotLoad/$count/") \
  2>/dev/null | tail -1 |
  awk -v n="$count" '{printf "| %-52s | %8s | %8s |\n", "loading " n " snapshot rows (store_bench, ms)", $2, ""}'
