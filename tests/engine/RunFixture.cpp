#include "tests/engine/RunFixture.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/Analisis.h"
#include "engine/FileTimes.h"
#include "engine/Sincronizacion.h"
#include "engine/Startup.h"
#include "engine/TempNames.h"
#include "store/Conexion.h"
#include "store/Sqlite.h"

namespace tandrel::test {

namespace fsys = std::filesystem;

void RunTest::OpenSession() {
  session = std::make_unique<Session>(db.Folder(), "Tandrel", MountTable{{"/"}}, fs);
  ASSERT_EQ(ConectaBD(session->conexion, session->INI, db.Folder()), "");
  ASSERT_EQ(session->rsFiles.Open(session->conexion), "");
  session->Hostname = kRunHost;
  // The program runs from the stick: its drive is the stick's mount point.
  session->carpetaPrograma = pair.Usb() + "/Tandrel";
  session->mounts = MountTable{{"/", pair.Usb()}};
  // Every row shown, so that each entry's result can be read from its row.
  session->INI.showOKS = true;
  session->INI.showFSYNC = true;
  session->INI.showCONFLICT = true;
  CargaTareas(*session, view);
}

void RunTest::CloseSession() {
  if (!session) return;
  session->rsFiles.Close();
  session->conexion.Close();
  session.reset();
}

std::int64_t RunTest::AddTask(const std::string& leftOpt, const std::string& rightOpt,
                              const std::string& options) {
  TempDatabase::Task task;
  task.hostname = kRunHost;
  task.left = "\\Data";
  task.right = pair.Pc();
  task.leftopt = leftOpt;
  task.rightopt = rightOpt;
  task.options = options;
  task.descr = "Task " + std::to_string(session->Tareas.Count() + 1);
  const std::int64_t id = db.AddTask(task);
  pair.AddFolder(Side::Usb, "Data");
  CargaTareas(*session, view);
  return id;
}

std::string RunTest::Put(Side side, const std::string& relative, const std::string& content,
                         std::int64_t mtime, std::uint32_t nanoseconds) {
  const std::string path = SidePath(side, relative);
  fsys::create_directories(fsys::path(path).parent_path());
  if (Exists(path)) ::chmod(path.c_str(), 0644);
  std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
  struct timespec times[2] = {{static_cast<time_t>(mtime), static_cast<long>(nanoseconds)},
                              {static_cast<time_t>(mtime), static_cast<long>(nanoseconds)}};
  EXPECT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
  return path;
}

void RunTest::Remember(std::int64_t task, const std::string& name, Side side,
                       const std::string& relative) {
  FileInfo info;
  ASSERT_EQ(real.Stat(SidePath(side, relative), info), 0) << relative;
  TempDatabase::File file;
  file.hostname = kRunHost;
  file.task = task;
  file.file = name;
  file.size = TextoTamano(info.size).str();
  file.last = FechaArchivo(info.modified).str();
  db.AddFile(file);
}

void RunTest::Analyse(int position) {
  // The snapshot the analysis loads must be the database's, rows written by the test included.
  AnalizaTarea(*session, view, position, true);
}

void RunTest::Run(int position) { Sincroniza(*session, view, position, settings); }

std::string RunTest::Code(const std::string& name) const {
  const clsArchivo* entry = session->Archivos.Find(name);
  return entry == nullptr ? "<none>" : entry->Action.str();
}

std::map<std::string, std::string> RunTest::Codes() const {
  std::map<std::string, std::string> codes;
  for (std::size_t i = 1; i <= session->Archivos.Count(); ++i) {
    const clsArchivo& entry = session->Archivos.ITemID(i);
    codes[entry.Nombre] = entry.Action.str();
  }
  return codes;
}

std::map<std::string, StoredRow> RunTest::Rows(std::int64_t task) {
  std::map<std::string, StoredRow> rows;
  sqlite::Database database;
  EXPECT_EQ(database.Open(db.Path()), "");
  sqlite::Statement query;
  EXPECT_EQ(query.Prepare(database, "SELECT FILE, SIZE, LAST, ACCESS, CREATION, SYNC FROM FILES "
                                    "WHERE HOSTNAME = ?1 AND TASK = ?2"),
            "");
  query.BindText(1, kRunHost);
  query.BindInt(2, task);
  while (query.Next() == sqlite::Statement::Step::Row) {
    EXPECT_EQ(rows.count(query.Text(0)), 0u) << "two rows for " << query.Text(0);
    rows[query.Text(0)] = {query.Text(1), query.Text(2), query.Text(3), query.Text(4), query.Text(5)};
  }
  return rows;
}

std::int64_t RunTest::RowCount(std::int64_t task) {
  return db.Count("SELECT count(*) FROM FILES WHERE TASK = " + std::to_string(task));
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<missing>";
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

bool Exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

FileTime ModifiedTime(const std::string& path) {
  struct stat st {};
  ::lstat(path.c_str(), &st);
  return {st.st_mtim.tv_sec, static_cast<std::uint32_t>(st.st_mtim.tv_nsec)};
}

std::vector<std::string> TemporaryFiles(const std::string& folder) {
  std::vector<std::string> found;
  std::error_code ec;
  for (const auto& entry : fsys::recursive_directory_iterator(folder, ec)) {
    if (IsTempCopyName(entry.path().filename().string())) found.push_back(entry.path().string());
  }
  return found;
}

std::map<std::string, std::string> Tree(const std::string& root) {
  std::map<std::string, std::string> files;
  std::error_code ec;
  for (const auto& entry : fsys::recursive_directory_iterator(root, ec)) {
    if (!entry.is_regular_file() || entry.is_symlink()) continue;
    files[fsys::relative(entry.path(), root).string()] = ReadAll(entry.path().string());
  }
  return files;
}

}  // namespace tandrel::test
