// The store's costs at the sizes of a large task: loading a snapshot of 100,000 rows, and adding
// and finding analysis entries as their number grows (each lookup should stay one hash lookup).
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "bench/BenchDatabase.h"
#include "core/clsArchivoINI.h"
#include "store/Conexion.h"
#include "store/clsArchivos.h"
#include "store/clsFiles.h"

namespace {

using namespace tandrel;
using bench::BenchDatabase;
using bench::Name;
namespace fs = std::filesystem;

// Heap in use, mmapped blocks included (large allocations are served that way).
std::size_t HeapInUse() {
  const auto info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

void BM_SnapshotLoad(benchmark::State& state) {
  const auto rows = static_cast<std::size_t>(state.range(0));
  BenchDatabase bench(rows);
  clsArchivoINI ini(bench.Folder(), "Tandrel");
  Conexion conexion;
  if (const std::string error = ConectaBD(conexion, ini, bench.Folder()); !error.empty()) {
    state.SkipWithError(error.c_str());
    return;
  }
  std::size_t heap = 0;
  for (auto _ : state) {
    clsFiles ficheros;
    const std::size_t before = HeapInUse();
    if (!ficheros.Carga(conexion, "PC1", "1").empty() || ficheros.Count() != rows) {
      state.SkipWithError("load failed");
      return;
    }
    heap = HeapInUse() - before;
    benchmark::DoNotOptimize(ficheros.Item("projects\\client 3\\reports\\report número 3.docx"));
  }
  state.counters["rows"] = static_cast<double>(rows);
  state.counters["MiB"] = static_cast<double>(heap) / (1024.0 * 1024.0);
}
BENCHMARK(BM_SnapshotLoad)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(5);

// Entries with the paths and texts a scan fills in, for an honest size per entry.
clsArchivo Entry(std::size_t i) {
  clsArchivo a;
  a.Nombre = Name(i);
  a.USB_Ruta = "/media/ana/STICK/Work/" + a.Nombre;
  a.PC_Ruta = "/home/ana/Work/" + a.Nombre;
  a.USB_Tamano = a.PC_Tamano = "123456";
  a.USB_Creacion = a.USB_Acceso = a.USB_Modificado = "20200101000000";
  a.PC_Creacion = a.PC_Acceso = a.PC_Modificado = "20200101000000";
  a.USB_Atributos = a.PC_Atributos = "32";
  return a;
}

void BM_EntriesAdd(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  std::size_t heap = 0;
  for (auto _ : state) {
    const std::size_t before = HeapInUse();
    clsArchivos archivos;
    for (std::size_t i = 0; i < n; ++i) archivos.Add(Entry(i));
    heap = HeapInUse() - before;
    benchmark::DoNotOptimize(archivos.Count());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * n));
  state.counters["MiB"] = static_cast<double>(heap) / (1024.0 * 1024.0);
}
BENCHMARK(BM_EntriesAdd)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Lookups of present names in another letter case (each pays the fold) and of absent names; the
// time per lookup should not grow with the collection.
void BM_EntriesLookup(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  clsArchivos archivos;
  for (std::size_t i = 0; i < n; ++i) archivos.Add(Entry(i));
  std::vector<std::string> probes;
  for (std::size_t i = 0; i < 4096; ++i) {
    std::string name = Name((i * 7919) % n);
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    probes.push_back(i % 2 ? name : name + ".bak");
  }
  std::size_t i = 0, found = 0;
  for (auto _ : state) {
    found += archivos.Exist(probes[i++ & 4095]);
  }
  benchmark::DoNotOptimize(found);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EntriesLookup)->Arg(10000)->Arg(100000)->Arg(1000000);

}  // namespace

BENCHMARK_MAIN();
