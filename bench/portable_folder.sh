# Sourced by the run benchmarks: make_portable_folder PROGRAM WORK lays out a portable folder in
# WORK/program (the program, its languages, an empty database, settings that skip the compaction at
# exit, which is not part of a run) and sets program, db, drive, TANDREL_HOME and COMPUTERNAME;
# add_task ID USB PC then adds a task of this computer, its USB folder stored without its drive.
# Needs source_dir and build set, sqlite3 and findmnt.
make_portable_folder() {
  program=$2/program
  rm -rf "$program"
  mkdir -p "$program/data"
  cp "$1" "$program/Tandrel"
  cp -r "$build/Tandrel/Languages" "$program/"
  printf '[DB]\nCompactDataBase=0\n' >"$program/Tandrel.ini"
  db=$program/data/db.mdb
  sqlite3 "$db" <"$source_dir/data/schema.sql" >/dev/null
  drive=$(findmnt -n -o TARGET --target "$2")
  [ "$drive" = / ] && drive=
  export TANDREL_HOME=$program COMPUTERNAME=BENCH
}

add_task() {  # id usb pc
  sqlite3 "$db" "INSERT INTO TASKS (ID, HOSTNAME, TYPE, LEFT, RIGHT, LEFTOPT, RIGHTOPT, DESCR,
    OPTIONS, LASTEXE) VALUES ($1, 'BENCH', 1, '${2#"$drive"}', '$3', 'NEAR', 'NEAR', 'bench $1',
    '', '00000000000000');"
}
