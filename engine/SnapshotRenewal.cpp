#include "engine/SnapshotRenewal.h"

#include <cerrno>
#include <utility>

#include "core/Public.h"
#include "core/Text.h"
#include "engine/FileSystem.h"
#include "engine/RunFolders.h"

namespace tandrel {

namespace {

// What the log says when a database write fails; the writer knows why.
void LogWriteError(AppView& view, const SnapshotWriter& writer, std::string_view what) {
  EscribeLog(view, "** ERROR ** : FILES " + std::string(what) + ": " + writer.LastError());
}

// A file gone from both sides below a folder that could not be looked into may still be in that
// folder: its row stays until the folder can be read again.
bool BelowHeldBackFolder(const Session& session, std::string_view file) {
  return BelowAnyFoldedFolder(file, session.heldBackFolders);
}

}  // namespace

SnapshotRenewal::SnapshotRenewal(Session& session, AppView& view, std::vector<std::string> roots)
    : session_(session), view_(view), roots_(std::move(roots)) {
  settled_.reserve(session.Ficheros.Count());
}

void SnapshotRenewal::RemoveOldRow(const clsArchivo& archivo) {
  const clsFile& old = session_.Ficheros.Item(archivo.Nombre);
  if (!old.Known() || !settled_.insert(old.RowId).second) return;
  if (!session_.rsFiles.DeleteRow(old.RowId)) {
    databaseFailed_ = true;
    LogWriteError(view_, session_.rsFiles, archivo.Nombre);
  }
}

void SnapshotRenewal::KeepOldRow(const clsArchivo& archivo) {
  const clsFile& old = session_.Ficheros.Item(archivo.Nombre);
  if (old.Known()) settled_.insert(old.RowId);
}

void SnapshotRenewal::AddRow(const SnapshotRow& row) {
  if (!session_.rsFiles.AddRow(row)) {
    databaseFailed_ = true;
    LogWriteError(view_, session_.rsFiles, row.FILE);
  }
}

void SnapshotRenewal::CommitWhenDue(std::chrono::milliseconds interval) {
  if (std::chrono::steady_clock::now() - lastCommit_ >= interval) Commit();
}

void SnapshotRenewal::FileChanged(const std::string& path) {
  changedFolders_.insert(ParentFolder(path));
}

std::uint64_t SnapshotRenewal::DeviceOf(const std::string& folder) {
  if (const auto known = devices_.find(folder); known != devices_.end()) return known->second;
  FileInfo info;
  // Not kept when it fails: the folder may be made later in the run.
  if (session_.fs.Stat(folder, info) != 0) return 0;
  devices_.emplace(folder, info.device);
  return info.device;
}

void SnapshotRenewal::Commit() {
  lastCommit_ = std::chrono::steady_clock::now();
  if (!session_.rsFiles.InBatch()) return;
  if (!changedFolders_.empty()) {
    // One flush per file system the batch wrote to: the task folders' own, and that of any other
    // disk mounted below them (a flush of a task folder reaches only its own file system). A
    // second task folder on the same file system costs little.
    std::vector<std::string> flushes = roots_;
    std::unordered_set<std::uint64_t> flushed;
    for (const auto& root : roots_) flushed.insert(DeviceOf(root));
    for (const auto& folder : changedFolders_) {
      const std::uint64_t device = DeviceOf(folder);
      if (device == 0 || flushed.insert(device).second) flushes.push_back(folder);
    }
    changedFolders_.clear();
    for (const auto& folder : flushes) {
      const int error = session_.fs.SyncFileSystem(folder);
      if (error == 0 || error == -ENOENT) continue;  // a folder never made holds nothing written
      // The rows would say files are in step that may not be on the disk (a stick pulled out):
      // the batch goes, and the old rows it replaced stay for the next analysis.
      EscribeLog(view_, "** ERROR ** : " + folder + ": " + ErrorText(error));
      session_.rsFiles.Close();
      if (std::string reopen = session_.rsFiles.Open(session_.conexion); !reopen.empty()) {
        EscribeLog(view_, "** ERROR ** : FILES: " + reopen);
      }
      return;
    }
  }
  if (!session_.rsFiles.Commit()) {
    databaseFailed_ = true;
    LogWriteError(view_, session_.rsFiles, "COMMIT");
  }
}

void SnapshotRenewal::Finish() {
  for (std::size_t i = 0; i < session_.Ficheros.Count(); ++i) {
    const clsFile& left = session_.Ficheros.At(i);
    if (settled_.count(left.RowId) != 0 || BelowHeldBackFolder(session_, left.file)) continue;
    if (!session_.rsFiles.DeleteRow(left.RowId)) LogWriteError(view_, session_.rsFiles, left.file);
  }
  Commit();
}

}  // namespace tandrel
