// What the other computers of a stick folder cost, against one analysis of the task: a stick folder
// of 100,000 files (the PC folder holds the same files) shared by four computers, each with a full
// snapshot of it in which about one file in a hundred is changed, missing or gone.
//
//   BM_Analysis          one analysis of this computer's task (both folders, its snapshot)
//   BM_PeersAfterAnalysis the three peers' counts from the analysis on display
//   BM_PeersListingStick the three peers' counts with no analysis on display (the stick is listed)
//
// The figure to read is the ratio of a peers' time to the analysis's time.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "app/ConsoleView.h"
#include "engine/Analisis.h"
#include "engine/FileTimes.h"
#include "engine/Peers.h"
#include "engine/PosixFileSystem.h"
#include "engine/Session.h"

namespace {

using namespace tandrel;
namespace fs = std::filesystem;

constexpr std::size_t kFiles = 100000;
constexpr std::int64_t kTime = 1710000000;  // every file's last-write time
const char* const kPeers[] = {"OFFICE", "LAPTOP", "HOME-PC"};

// 100 folders of 50 subfolders of 20 files.
std::string Relative(std::size_t i, char separator) {
  char name[64];
  std::snprintf(name, sizeof name, "Dir %03zu%cSub %02zu%cFile %06zu.txt", i / 1000, separator,
                (i / 20) % 50, separator, i);
  return name;
}

void MakeFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const timespec times[2] = {{kTime, 0}, {kTime, 0}};
  ::futimens(fd, times);
  ::close(fd);
}

void Exec(sqlite3* db, const std::string& sql) { sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr); }

// The stick (a mount point of its own, holding the program folder and the task's folder), the PC
// folder, and a database with the four computers' tasks and snapshots.
class Stick {
 public:
  Stick() {
    std::string pattern = (fs::temp_directory_path() / "tandrel-peers-XXXXXX").string();
    base_ = ::mkdtemp(pattern.data());
    stick_ = base_ + "/stick";
    program_ = stick_ + "/Tandrel";
    fs::create_directories(program_ + "/data");
    for (std::size_t i = 0; i < kFiles; i += 20) {
      const std::string folder = Relative(i, '/');
      const std::string parent = folder.substr(0, folder.rfind('/'));
      fs::create_directories(stick_ + "/Work/" + parent);
      fs::create_directories(base_ + "/pc/" + parent);
    }
    for (std::size_t i = 0; i < kFiles; ++i) {
      MakeFile(stick_ + "/Work/" + Relative(i, '/'));
      MakeFile(base_ + "/pc/" + Relative(i, '/'));
    }
    MakeDatabase();
  }
  ~Stick() { fs::remove_all(base_); }

  std::unique_ptr<Session> Open(FileSystem& files) const {
    auto session = std::make_unique<Session>(program_, "Tandrel", MountTable{{"/", stick_}}, files);
    if (!ConectaBD(session->conexion, session->INI, program_).empty()) return nullptr;
    session->Hostname = "PC1";
    if (!session->Tareas.Carga(session->conexion, "PC1").empty()) return nullptr;
    return session;
  }

 private:
  void MakeDatabase() {
    sqlite3* db = nullptr;
    sqlite3_open((program_ + "/data/db.mdb").c_str(), &db);
    std::ifstream schema(TANDREL_SCHEMA_SQL);
    std::stringstream text;
    text << schema.rdbuf();
    Exec(db, text.str());
    Exec(db, "BEGIN");
    const std::string size = TextoTamano(0).str();
    const std::string last = FechaArchivo(FileTime{kTime, 0}).str();
    sqlite3_stmt* task = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO TASKS (HOSTNAME, TYPE, LEFT, RIGHT, LEFTOPT, RIGHTOPT, DESCR, "
                           "OPTIONS, LASTEXE) VALUES (?1, 1, ?2, ?3, 'NEAR', 'NEAR', 'Work', '', "
                           "'20240301100000')", -1, &task, nullptr);
    sqlite3_stmt* row = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO FILES VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?4, 'ACTIVE', ?6)", -1,
                       &row, nullptr);
    const std::string pc = base_ + "/pc";
    int id = 0;
    for (const char* host : {"PC1", kPeers[0], kPeers[1], kPeers[2]}) {
      ++id;
      sqlite3_bind_text(task, 1, host, -1, SQLITE_TRANSIENT);
      sqlite3_bind_text(task, 2, id % 2 ? "\\Work" : "/work/", -1, SQLITE_TRANSIENT);
      sqlite3_bind_text(task, 3, pc.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_step(task);
      sqlite3_reset(task);
      const bool peer = id > 1;
      for (std::size_t i = 0; i < kFiles + (peer ? kFiles / 100 : 0); ++i) {
        if (peer && i % 100 == 1) continue;  // new for that peer
        // Past the stick's files: rows of files gone from the stick, deletions for that peer.
        const std::string name = i < kFiles ? Relative(i, '\\') : "Gone\\" + std::to_string(i);
        sqlite3_bind_text(row, 1, host, -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(row, 2, id);
        sqlite3_bind_text(row, 3, name.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(row, 4, last.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(row, 5, peer && i % 100 == 2 ? "1" : size.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(row, 6, last.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_step(row);
        sqlite3_reset(row);
      }
    }
    sqlite3_finalize(task);
    sqlite3_finalize(row);
    Exec(db, "COMMIT");
    sqlite3_close(db);
  }

  std::string base_, stick_, program_;
};

const Stick& TheStick() {
  static const Stick stick;
  return stick;
}

class QuietView : public ConsoleView {
 public:
  QuietView() : ConsoleView(sink_) {}

 private:
  std::ostringstream sink_;
};

void BM_Analysis(benchmark::State& state) {
  PosixFileSystem files;
  auto session = TheStick().Open(files);
  if (!session) return state.SkipWithError("cannot open the database");
  QuietView view;
  for (auto _ : state) AnalizaTarea(*session, view, 1, false);
  state.counters["entries"] = static_cast<double>(session->Archivos.Count());
}

void Peers(benchmark::State& state, bool afterAnalysis) {
  PosixFileSystem files;
  auto session = TheStick().Open(files);
  if (!session) return state.SkipWithError("cannot open the database");
  QuietView view;
  if (afterAnalysis) AnalizaTarea(*session, view, 1, false);
  else session->TareaAnalizada = 0;
  std::vector<Peer> peers;
  for (auto _ : state) {
    if (!PeersOfTask(*session, view, 1, peers).empty()) return state.SkipWithError("no counts");
  }
  if (peers.size() != 3) return state.SkipWithError("not three peers");
  state.counters["new"] = static_cast<double>(peers[0].newFiles);
  state.counters["changed"] = static_cast<double>(peers[0].changed);
  state.counters["deletions"] = static_cast<double>(peers[0].deletions);
}

void BM_PeersAfterAnalysis(benchmark::State& state) { Peers(state, true); }
void BM_PeersListingStick(benchmark::State& state) { Peers(state, false); }

BENCHMARK(BM_Analysis)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PeersAfterAnalysis)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PeersListingStick)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
