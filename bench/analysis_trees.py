#!/usr/bin/env python3
"""Makes the two folders of a benchmark task: ROOT/usb and ROOT/pc.

    analysis_trees.py ROOT COUNT [SEED]

COUNT files on the USB side in three levels of folders, about 20 files to a folder, with mixed-case
and non-ASCII names, sizes up to 2 KiB and last-write times with nanoseconds. The PC side holds the
same files with the same sizes and times, except: about 10% of the names (and 5% of the deepest
folders) differ in case only, 1% of the files were changed on the PC side, and 0.5% exist on one
side only each way.
"""
import os
import random
import sys

FOLDER_NAMES = ["Projekt {:02d}", "ÉTAPE_{}", "archive-{}", "Ñandú {}", "data {}"]
FILE_NAMES = ["Report {}.TXT", "données_{}.csv", "photo-{}.JPG", "straße {}.md", "README_{}.txt",
              "notes {}.Doc", "Übersicht-{}.xlsx"]


def write_file(path, size, mtime_ns):
    fd = os.open(path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)
    try:
        os.write(fd, b"x" * size)
    finally:
        os.close(fd)
    os.utime(path, ns=(mtime_ns, mtime_ns))


def main():
    root, count = sys.argv[1], int(sys.argv[2])
    rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 1)
    per_folder = 20
    leaves = max(1, count // per_folder)
    side = max(1, round(leaves ** (1 / 3)))
    usb, pc = os.path.join(root, "usb"), os.path.join(root, "pc")
    start_ns = 1577836800 * 10**9  # 2020-01-01
    span_ns = 3 * 365 * 86400 * 10**9

    made = 0
    leaf = 0
    while made < count:
        a, b, c = leaf // (side * side), (leaf // side) % side, leaf % side
        parts = [FOLDER_NAMES[(a + i) % len(FOLDER_NAMES)].format(n) for i, n in enumerate((a, b, c))]
        pc_parts = list(parts)
        if rng.random() < 0.05:
            pc_parts[2] = pc_parts[2].swapcase()
        usb_dir = os.path.join(usb, *parts)
        pc_dir = os.path.join(pc, *pc_parts)
        os.makedirs(usb_dir, exist_ok=True)
        os.makedirs(pc_dir, exist_ok=True)
        for k in range(min(per_folder, count - made)):
            name = FILE_NAMES[(made + k) % len(FILE_NAMES)].format(made + k)
            size = rng.randrange(2048)
            mtime = start_ns + rng.randrange(span_ns)
            roll = rng.random()
            if roll < 0.005:  # on the stick only
                write_file(os.path.join(usb_dir, name), size, mtime)
                continue
            if roll < 0.010:  # on the PC only
                write_file(os.path.join(pc_dir, name), size, mtime)
                continue
            write_file(os.path.join(usb_dir, name), size, mtime)
            pc_name = name.swapcase() if roll < 0.11 else name
            if roll > 0.99:  # changed on the PC since
                size, mtime = size + 1, mtime + 86400 * 10**9
            write_file(os.path.join(pc_dir, pc_name), size, mtime)
        made += per_folder
        leaf += 1


if __name__ == "__main__":
    main()
