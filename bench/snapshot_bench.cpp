// The snapshot write of a run at the size of a large task: 100,000 rows through rsFiles, as a run
// of unchanged files writes them (one batch) and as a run of copies does (a commit every 101
// rows), with the old row of each name removed in the same batch.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "bench/BenchDatabase.h"
#include "core/clsArchivoINI.h"
#include "store/Conexion.h"
#include "store/SnapshotWriter.h"

namespace {

using namespace tandrel;
using bench::BenchDatabase;
using bench::Name;
namespace fs = std::filesystem;

constexpr std::int64_t kRows = 100000;

// Writes kRows rows, removing the row of the same name first when `replace`, committing every
// `batch` rows (0: once at the end). Each iteration starts from the same database.
void WriteSnapshot(benchmark::State& state, bool replace, std::int64_t batch) {
  for (auto _ : state) {
    state.PauseTiming();
    BenchDatabase bench(replace ? kRows : 0);
    clsArchivoINI ini(bench.Folder(), "Tandrel");
    Conexion conexion;
    SnapshotWriter writer;
    if (!ConectaBD(conexion, ini, bench.Folder()).empty() || !writer.Open(conexion).empty()) {
      state.SkipWithError("cannot open the database");
      return;
    }
    SnapshotRow row;
    row.HOSTNAME = "PC1";
    row.TASK = 1;
    row.CREATION = "20200101000000";
    row.SIZE = "123456";
    row.LAST = "20200102000000";
    row.ACCESS = "20200103000000";
    row.SYNC = "20240101000000";
    std::vector<std::string> names;
    names.reserve(kRows);
    for (std::int64_t i = 0; i < kRows; ++i) names.push_back(Name(i));
    state.ResumeTiming();

    bool ok = true;
    for (std::int64_t i = 0; i < kRows; ++i) {
      // SQLite numbers the rows of a new table from 1 in the order they were inserted.
      if (replace) ok = writer.DeleteRow(i + 1) && ok;
      row.FILE = names[static_cast<std::size_t>(i)];
      ok = writer.AddRow(row) && ok;
      if (batch > 0 && (i + 1) % batch == 0) ok = writer.Commit() && ok;
    }
    ok = writer.Commit() && ok;
    if (!ok) state.SkipWithError(writer.LastError().c_str());

    state.PauseTiming();
    writer.Close();
    conexion.Close();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kRows);
}

// A run of unchanged files: no yield, so one batch.
void BM_SnapshotWrite_OneBatch(benchmark::State& state) { WriteSnapshot(state, false, 0); }
void BM_SnapshotReplace_OneBatch(benchmark::State& state) { WriteSnapshot(state, true, 0); }
// A run of copies: a yield, and so a commit, after every 101 successes.
void BM_SnapshotReplace_Every101(benchmark::State& state) { WriteSnapshot(state, true, 101); }

BENCHMARK(BM_SnapshotWrite_OneBatch)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SnapshotReplace_OneBatch)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SnapshotReplace_Every101)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
