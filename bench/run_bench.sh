#!/usr/bin/env bash
# Times a synchronisation run of the command line against cp -a and rsync -a doing the same copy,
# and the snapshot write alone.
#
#   bench/run_bench.sh [BUILD_DIR]        (default: build-run beside this folder)
#
# Two trees on the stick side of a task, the PC side empty, so every file is new on one side:
#   - COUNT=100000 small files (up to 2 KiB, about 20 to a folder, three levels of folders);
#   - LARGE=3 files of LARGE_MB=200 MiB.
# For each: `Tandrel --sync ID` (analysis, copies, snapshot, from a portable folder copy with its
# own database), `cp -a` and `rsync -a`, each into a fresh empty folder, warm cache, best of
# RUNS=3. Tandrel flushes what it copied before it records it; cp and rsync do not, so both are
# also timed followed by `sync`. Then bench/snapshot_bench (100,000 snapshot rows).
# Everything is made under one temporary folder in TMPDIR (default /tmp), removed at the end.
# Needs python3, sqlite3, rsync.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(dirname "$here")
build=${1:-$source_dir/build-run}
count=${COUNT:-100000}
large=${LARGE:-3}
large_mb=${LARGE_MB:-200}
runs=${RUNS:-3}

cmake --build "$build" --target Tandrel snapshot_bench >/dev/null
tandrel=$build/Tandrel/Tandrel

work=$(mktemp -d "${TMPDIR:-/tmp}/tandrel-runbench-XXXXXX")
trap 'rm -rf "$work"' EXIT
need_mb=$(( (count * 5 / 1024 + large * large_mb) * 4 + 512 ))
free_mb=$(df -Pm "$work" | awk 'NR==2 {print $4}')
if [ "$free_mb" -lt "$need_mb" ]; then
  echo "not enough room in $work: $free_mb MiB free, about $need_mb MiB needed" >&2
  exit 1
fi

echo "making the trees in $work ..." >&2
python3 - "$work/small" "$count" <<'PY'
import os, random, sys
root, count = sys.argv[1], int(sys.argv[2])
rng = random.Random(7)
start_ns, span_ns = 1577836800 * 10**9, 3 * 365 * 86400 * 10**9
side = max(1, round((count / 20) ** (1 / 3)))
for i in range(count):
    leaf = i // 20
    folder = os.path.join(root, f"Folder {leaf // (side * side)}", f"sub-{leaf // side % side}",
                          f"Leaf {leaf % side}")
    os.makedirs(folder, exist_ok=True)
    path = os.path.join(folder, f"File {i}.txt")
    with open(path, "wb") as f:
        f.write(os.urandom(rng.randrange(2048)))
    t = start_ns + rng.randrange(span_ns)
    os.utime(path, ns=(t, t))
PY
mkdir -p "$work/large"
for i in $(seq "$large"); do
  head -c "$((large_mb << 20))" /dev/urandom >"$work/large/Big $i.bin"
done

# The portable folder, with one task per tree.
source "$here/portable_folder.sh"
make_portable_folder "$tandrel" "$work"
add_task 1 "$work/small" "$work/out/small"
add_task 2 "$work/large" "$work/out/large"

# Best wall time in seconds of: prepare (untimed), then the command.
best=
measure() {  # prepare-function command...
  local prepare=$1 t start end
  shift
  best=
  for _ in $(seq "$runs"); do
    "$prepare"
    sync
    start=$(date +%s%N)
    "$@" >/dev/null 2>"$work/err" || { cat "$work/err" >&2; exit 1; }
    end=$(date +%s%N)
    t=$(awk "BEGIN{printf \"%.3f\", ($end - $start) / 1e9}")
    if [ -z "$best" ] || awk "BEGIN{exit !($t < $best)}"; then best=$t; fi
  done
}
fresh() { rm -rf "$work/out"; mkdir -p "$work/out"; sqlite3 "$db" "DELETE FROM FILES;"; }
ratio() { awk "BEGIN{printf \"%.2f\", $1 / $2}"; }
cp_sync() { cp -a "$1" "$2" && sync; }
rsync_sync() { rsync -a "$1" "$2" && sync; }

# Each time is printed as soon as it is measured; the ratios follow each tree.
for tree in small large; do
  id=$([ "$tree" = small ] && echo 1 || echo 2)
  label=$([ "$tree" = small ] && echo "$count small files" || echo "$large x $large_mb MiB")
  echo "== $label, new on one side (best of $runs) =="
  measure fresh "$program/Tandrel" --sync "$id"; t_ours=$best
  [ "$(find "$work/out/$tree" -type f | wc -l)" = "$(find "$work/$tree" -type f | wc -l)" ] ||
    { echo "the run did not copy every file" >&2; exit 1; }
  printf '  %-22s %9s s\n' "Tandrel --sync" "$t_ours"
  measure fresh cp -a "$work/$tree" "$work/out/$tree"; t_cp=$best
  printf '  %-22s %9s s\n' "cp -a" "$t_cp"
  measure fresh cp_sync "$work/$tree" "$work/out/$tree"; t_cps=$best
  printf '  %-22s %9s s\n' "cp -a, then sync" "$t_cps"
  measure fresh rsync -a "$work/$tree/" "$work/out/$tree/"; t_rs=$best
  printf '  %-22s %9s s\n' "rsync -a" "$t_rs"
  measure fresh rsync_sync "$work/$tree/" "$work/out/$tree/"; t_rss=$best
  printf '  %-22s %9s s\n' "rsync -a, then sync" "$t_rss"
  echo "  Tandrel / cp -a: $(ratio "$t_ours" "$t_cp")   / cp -a + sync: $(ratio "$t_ours" "$t_cps")" \
       "  / rsync -a: $(ratio "$t_ours" "$t_rs")   / rsync -a + sync: $(ratio "$t_ours" "$t_rss")"
done

echo
"$build/bench/snapshot_bench" --benchmark_counters_tabular=true
