// The file list's sort and find over 100,000 planned files: what a header click or a typed letter
// costs the window (it runs on the one thread, between two repaints).
#include <benchmark/benchmark.h>

#include <string>

#include <QApplication>

#include "ui/FileListModel.h"
#include "ui/FileListProxy.h"
#include "ui/Icons.h"

namespace tandrel {
namespace {

constexpr int kRows = 100'000;

// Names as an analysis lists them: about twenty a folder, three levels, mixed case.
void Fill(FileListModel& files) {
  const char* const arrows[] = {" -----> ", " <----- ", " <<---> ", " |-!!-| "};
  for (int i = 0; i < kRows; ++i) {
    const int n = (i * 7919) % kRows;  // not in name order, as a scan is not
    FileRow row;
    row.key = "Dir" + std::to_string(n / 400) + "\\Sub" + std::to_string(n / 20 % 20) +
              "\\Fichero Número " + std::to_string(n) + ".txt";
    row.icon = "ADD";
    row.state = (n % 3 == 0) ? "New" : "Modified";
    row.arrow = std::string("/media/ana/STICK") + arrows[n % 4] + "/";
    row.bytes = std::to_string((n * 2654435761u) % 10'000'000) + " bytes";
    files.Add(row);
  }
  files.Flush();
}

void BM_SortByColumn(benchmark::State& state) {
  const ImageList images = MakeStateImages();
  FileListModel files(images);
  Fill(files);
  FileListProxy proxy(files);
  const int column = static_cast<int>(state.range(0));
  for (auto _ : state) {
    proxy.sort(column, Qt::AscendingOrder);
    state.PauseTiming();
    proxy.UnSort();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_SortByColumn)->Arg(0)->Arg(3)->Unit(benchmark::kMillisecond);

void BM_FindByName(benchmark::State& state) {
  const ImageList images = MakeStateImages();
  FileListModel files(images);
  Fill(files);
  FileListProxy proxy(files);
  if (state.range(0) != 0) proxy.sort(0, Qt::AscendingOrder);  // finding inside a sorted list
  for (auto _ : state) {
    proxy.SetNameFilter(QStringLiteral("número 12"));
    benchmark::DoNotOptimize(proxy.rowCount());
    proxy.SetNameFilter(QString());
  }
  state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_FindByName)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tandrel

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
