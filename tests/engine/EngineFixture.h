#pragma once
// A program running from a stick, against a real database and two real folders: the stick is the
// pair's USB folder, mounted as a drive of its own; the program folder lies on it; the task's USB
// folder is the stick & Left, its PC folder the pair's PC folder.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "engine/Analisis.h"
#include "engine/Session.h"
#include "store/Conexion.h"
#include "tests/engine/FaultyFileSystem.h"
#include "tests/support/FolderPair.h"
#include "tests/support/RecordingView.h"
#include "tests/support/TempDatabase.h"

namespace tandrel::test {

inline constexpr const char* kHost = "PC1";

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    session = std::make_unique<Session>(db.Folder(), "Tandrel", MountTable{{"/"}}, *fileSystem);
    ASSERT_EQ(ConectaBD(session->conexion, session->INI, db.Folder()), "");
    session->Hostname = kHost;
    // The program runs from the stick: its drive is the stick's mount point.
    session->carpetaPrograma = pair.Usb() + "/Tandrel";
    session->mounts = MountTable{{"/", pair.Usb()}};
  }

  // Adds a task of this computer and reloads the task list; its ID.
  std::int64_t AddTask(const std::string& leftOpt, const std::string& rightOpt,
                       const std::string& options = "", const std::string& left = "\\Data",
                       std::string right = "") {
    TempDatabase::Task task;
    task.hostname = kHost;
    task.left = left;
    task.right = right.empty() ? pair.Pc() : right;
    task.leftopt = leftOpt;
    task.rightopt = rightOpt;
    task.options = options;
    // Zero-padded: the task list is ordered by description, and positions follow the additions.
    char descr[16];
    std::snprintf(descr, sizeof descr, "Task %03d", ++tasks_);
    task.descr = descr;
    const std::int64_t id = db.AddTask(task);
    EXPECT_EQ(session->Tareas.Carga(session->conexion, kHost), "");
    return id;
  }

  // A snapshot row of the task for name (relative name with "\").
  void AddSnapshot(std::int64_t task, const std::string& name, const std::string& size,
                   const std::string& last) {
    TempDatabase::File file;
    file.hostname = kHost;
    file.task = task;
    file.file = name;
    file.size = size;
    file.last = last;
    db.AddFile(file);
  }

  // Files of the task's USB folder (Left "\Data") and PC folder.
  std::string Usb(const std::string& relative) { return "Data/" + relative; }

  void Analyse(int position = 1) { AnalizaTarea(*session, view, position, true); }
  const clsArchivo* Entry(const std::string& name) { return session->Archivos.Find(name); }
  std::string Code(const std::string& name) {
    const clsArchivo* entry = Entry(name);
    return entry == nullptr ? "<none>" : entry->Action.str();
  }

  TempDatabase db;
  FolderPair pair;
  std::unique_ptr<FaultyFileSystem> fileSystem = std::make_unique<FaultyFileSystem>();
  std::unique_ptr<Session> session;
  RecordingView view;

 private:
  int tasks_ = 0;
};

// The 14-digit UTC text tests compare with, for readable expectations.
inline const std::int64_t kOlder = UtcSeconds(2020, 1, 1, 10, 0, 0);   // "20200101100000"
inline const std::int64_t kNewer = UtcSeconds(2021, 6, 1, 12, 30, 0);  // "20210601123000"

}  // namespace tandrel::test
