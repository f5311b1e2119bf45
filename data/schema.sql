-- The tables of Tandrel's database. The build makes the supplied, empty database from this file;
-- the program itself never creates or alters a table.
PRAGMA journal_mode = DELETE;

CREATE TABLE TASKS (
  "ID"       INTEGER PRIMARY KEY AUTOINCREMENT,
  "HOSTNAME" TEXT,
  "TYPE"     INTEGER,
  "LEFT"     TEXT,
  "RIGHT"    TEXT,
  "LEFTOPT"  TEXT,
  "RIGHTOPT" TEXT,
  "DESCR"    TEXT,
  "OPTIONS"  TEXT,
  "LASTEXE"  TEXT
);

CREATE TABLE FILES (
  "HOSTNAME" TEXT,
  "TASK"     INTEGER,
  "FILE"     TEXT,
  "CREATION" TEXT,
  "SIZE"     TEXT,
  "LAST"     TEXT,
  "ACCESS"   TEXT,
  "STATE"    TEXT,
  "SYNC"     TEXT
);
CREATE INDEX FILES_BY_HOST_TASK ON FILES ("HOSTNAME" COLLATE NOCASE, "TASK");

CREATE TABLE NODO (
  "TASK" INTEGER,
  "MASK" TEXT,
  "POS"  INTEGER
);
