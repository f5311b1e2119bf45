#include "tests/support/RunFixture.h"

#include <sys/stat.h>

#include <filesystem>

#include "core/Platform.h"
#include "engine/FileTimes.h"
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
  session->Hostname = kHost;
  session->carpetaPrograma = pair.Usb() + "/Tandrel";
  session->mounts = MountTable{{"/", pair.Usb()}};
  session->INI.showOKS = session->INI.showFSYNC = session->INI.showCONFLICT = true;
  CargaTareas(*session, view);
}

void RunTest::CloseSession() {
  if (!session) return;
  session->rsFiles.Close();
  session->conexion.Close();
  session.reset();
}

std::int64_t RunTest::AddTask(const std::string& options) {
  pair.AddFolder(Side::Usb, "Data");
  const std::int64_t id = AddTask("NEAR", "NEAR", options);
  CargaTareas(*session, view);
  return id;
}

std::int64_t RunTest::AddTask(const std::string& leftOpt, const std::string& rightOpt,
                              const std::string& options, const std::string& left,
                              const std::string& right) {
  // Zero-padded: the task list is ordered by description.
  const std::string number = std::to_string(++tasks_);
  const std::int64_t id = db.AddTask({.hostname = kHost, .left = left,
                                      .right = right.empty() ? pair.Pc() : right,
                                      .leftopt = leftOpt, .rightopt = rightOpt,
                                      .descr = "Task " + std::string(3 - number.size(), '0') + number,
                                      .options = options});
  EXPECT_EQ(session->Tareas.Carga(session->conexion, kHost), "");
  return id;
}

std::string RunTest::Put(Side side, const std::string& relative, const std::string& content,
                         std::int64_t mtime, std::uint32_t nanoseconds) {
  return pair.Put(side, side == Side::Usb ? Usb(relative) : relative, content, mtime, nanoseconds);
}

void RunTest::Remember(std::int64_t task, const std::string& name, Side side) {
  FileInfo info;
  ASSERT_EQ(real.Stat(Path(side, NativePath(name)), info), 0) << name;
  db.AddFile({.hostname = kHost, .task = task, .file = name,
              .size = TextoTamano(info.size).str(), .last = FechaArchivo(info.modified).str()});
}

void RunTest::Analyse(int position) { AnalizaTarea(*session, view, position, true); }

void RunTest::Run(int position) { Sincroniza(*session, view, position, settings); }

std::string RunTest::Code(const std::string& name) const {
  const clsArchivo* entry = session->Archivos.Find(name);
  return entry == nullptr ? "<none>" : entry->Action.str();
}

std::map<std::string, std::string> RunTest::Codes() const {
  std::map<std::string, std::string> codes;
  for (std::size_t i = 1; i <= session->Archivos.Count(); ++i) {
    codes[session->Archivos.ITemID(i).Nombre] = session->Archivos.ITemID(i).Action.str();
  }
  return codes;
}

std::map<std::string, std::string> RunTest::Rows(std::int64_t task) {
  std::map<std::string, std::string> rows;
  sqlite::Database database;
  EXPECT_EQ(database.Open(db.Path()), "");
  sqlite::Statement query;
  EXPECT_EQ(query.Prepare(database, "SELECT FILE, LAST FROM FILES WHERE HOSTNAME = ?1 AND TASK = ?2"), "");
  query.BindText(1, kHost);
  query.BindInt(2, task);
  while (query.Next() == sqlite::Statement::Step::Row) {
    EXPECT_TRUE(rows.emplace(query.Text(0), query.Text(1)).second) << "two rows: " << query.Text(0);
  }
  return rows;
}

FileTime ModifiedTime(const std::string& path) {
  struct stat st {};
  ::lstat(path.c_str(), &st);
  return {st.st_mtim.tv_sec, static_cast<std::uint32_t>(st.st_mtim.tv_nsec)};
}

std::map<std::string, std::string> Tree(const std::string& root) {
  std::map<std::string, std::string> files;
  std::error_code ec;
  for (const auto& entry : fsys::recursive_directory_iterator(root, ec)) {
    if (entry.is_regular_file() && !entry.is_symlink()) {
      files[fsys::relative(entry.path(), root).string()] = ReadBytes(entry.path().string());
    }
  }
  return files;
}

int TemporaryCount(const std::string& root) {
  int count = 0;
  for (const auto& [name, content] : Tree(root)) {
    count += IsTempCopyName(fsys::path(name).filename().string()) ? 1 : 0;
  }
  return count;
}

}  // namespace tandrel::test
