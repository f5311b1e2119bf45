#include "engine/CopiaArchivo.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <random>

#include "core/Platform.h"
#include "core/Public.h"
#include "engine/FileTimes.h"
#include "engine/RunSafety.h"
#include "engine/TempNames.h"
#include "store/TaskOptions.h"

namespace tandrel {

namespace {

constexpr std::size_t kLargestBuffer = std::size_t{1} << 20;
constexpr std::size_t kLargestRange = std::size_t{1} << 30;
constexpr int kNameTries = 8;

std::uint32_t RandomNumber() {
  static std::mt19937 generator{std::random_device{}()};
  return static_cast<std::uint32_t>(generator());
}

// Writes all of size bytes (a write may be short). 0 or -errno.
int WriteAll(FileSystem& fs, int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const std::int64_t written = fs.Write(fd, data, size);
    if (written < 0) return static_cast<int>(written);
    if (written == 0) return -EIO;
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return 0;
}

// Read and write through user space: where the kernel cannot copy between the two files.
int CopyThroughBuffer(FileSystem& fs, int from, int to, std::uint64_t expected) {
  // Small files need no megabyte; the one byte more sees the end in the same read.
  const std::size_t size = static_cast<std::size_t>(
      std::clamp<std::uint64_t>(expected + 1, 4096, kLargestBuffer));
  std::unique_ptr<char[]> buffer(new char[size]);
  for (;;) {
    const std::int64_t got = fs.Read(from, buffer.get(), size);
    if (got < 0) return static_cast<int>(got);
    if (got == 0) return 0;
    if (const int error = WriteAll(fs, to, buffer.get(), static_cast<std::size_t>(got)); error) {
      return error;
    }
  }
}

// Errors that say only that the kernel cannot copy between these two files (another file
// system, say), not that the copy failed.
bool CopyRangeMissing(std::int64_t error) {
  return error == -EOPNOTSUPP || error == -EXDEV || error == -EINVAL || error == -ENOSYS;
}

int CopyData(FileSystem& fs, int from, int to, std::uint64_t expected) {
  // In the kernel, the data never passes through the program: a small file takes two calls (its
  // bytes, then the end) instead of three. Until the end, since the file may have grown.
  bool copied = false;
  for (;;) {
    const std::int64_t got = fs.CopyRange(from, to, kLargestRange);
    if (got == 0) return 0;
    if (got > 0) {
      copied = true;
      continue;
    }
    if (copied || !CopyRangeMissing(got)) return static_cast<int>(got);
    return CopyThroughBuffer(fs, from, to, expected);
  }
}

// A temporary file of a free name in folder, opened for writing; its descriptor or -errno.
int OpenTemporary(FileSystem& fs, const std::string& folder, std::string& path) {
  const std::string prefix = WithTrailingSlash(folder);
  int fd = -EEXIST;
  for (int i = 0; i < kNameTries && fd == -EEXIST; ++i) {
    path = prefix + TempCopyName(RandomNumber());
    fd = fs.Open(path, OpenFor::CreatingNew, 0600);
  }
  return fd;
}

// The destination may be replaced only when it is absent or a writable regular file. exists tells
// which of the two it is.
int CheckDestination(FileSystem& fs, const std::string& destino, bool& exists) {
  FileInfo info;
  const int error = fs.Stat(destino, info);
  exists = error != -ENOENT;
  if (error == -ENOENT) return 0;
  if (error != 0) return error;
  if (info.type == EntryType::Folder) return -EISDIR;
  if (info.type != EntryType::File) return -EEXIST;
  return IsReadOnly(info) ? -EACCES : 0;
}

// The classifier compares last-write times to the second with no tolerance, so a copy whose file
// system cannot hold the source's time (FAT keeps even seconds) would differ from its source at
// every analysis and be copied again and again. Both copies are made to agree instead: the source
// takes the time the copy kept, a shift of less than two seconds. Done before the copy takes its
// name, so that a run stopped in between leaves a source whose change is planned as before. A
// source changed since it was read, or one whose time cannot be set, is left alone: the next
// analysis then plans the copy again, which loses nothing.
int MatchSourceTime(FileSystem& fs, const std::string& origen, const FileInfo& source,
                    const FileInfo& kept, std::optional<FileTime>* igualado) {
  if (FechaArchivo(kept.modified) == FechaArchivo(source.modified)) return 0;
  const std::int64_t shift = kept.modified.sec - source.modified.sec;
  if (shift <= -2 || shift >= 2) return 0;
  FileInfo now;
  if (fs.Stat(origen, now) != 0 || now.size != source.size || now.modified != source.modified) {
    return 0;
  }
  if (fs.SetTimes(origen, source.accessed, kept.modified) == 0 && igualado != nullptr) {
    *igualado = kept.modified;
  }
  return 0;
}

// CopyAsUnnamed's answer when the file system cannot do it: the copy is to be made the other way.
constexpr int kNoUnnamedFile = -EOPNOTSUPP;

// A new name: the data goes into a file with no name, which takes the name only once it is whole
// and has its times and bits. Nothing ever lies under a temporary name, so there is no rename and
// nothing for an interrupted run to leave behind; and the link never replaces a file, so a file
// that appeared under the name meanwhile is kept (-EEXIST) without a second look before.
int CopyAsUnnamed(FileSystem& fs, const std::string& origen, const std::string& destino,
                  const FileInfo& source, std::optional<FileTime>* igualado) {
  const int to = fs.OpenUnnamed(ParentFolder(destino), 0600);
  if (to < 0) return kNoUnnamedFile;
  const int from = fs.Open(origen, OpenFor::Reading, 0);
  if (from < 0) {
    fs.Close(to);
    return from;
  }
  // No flush: a new name replaces nothing, and its data reaches the disk with the flush before the
  // batch that records it (see CopyThroughTemporary).
  int error = CopyData(fs, from, to, source.size);
  fs.Close(from);
  if (error == 0) error = fs.SetTimesOf(to, source.accessed, source.modified);
  if (error == 0) error = fs.ChangeModeOf(to, source.mode & 07777);
  FileInfo kept;
  if (error == 0) error = fs.StatOf(to, kept);
  if (error == 0) error = MatchSourceTime(fs, origen, source, kept, igualado);
  if (error == 0) {
    error = fs.LinkUnnamed(to, destino);
    // A link refused for any other reason than a taken name (no /proc, no privilege) leaves the
    // copy to the other way; the unnamed file goes with its descriptor.
    if (error != 0 && error != -EEXIST) error = kNoUnnamedFile;
  }
  const int closed = fs.Close(to);
  return error != 0 ? error : closed;
}

// Into a temporary name beside destino, then renamed over it: the way that replaces a file, and
// the way on file systems with no unnamed files (FAT).
int CopyThroughTemporary(FileSystem& fs, const std::string& origen, const std::string& destino,
                         const FileInfo& source, bool replaces,
                         std::optional<FileTime>* igualado) {
  const int from = fs.Open(origen, OpenFor::Reading, 0);
  if (from < 0) return from;
  std::string temporary;
  const int to = OpenTemporary(fs, ParentFolder(destino), temporary);
  if (to < 0) {
    fs.Close(from);
    return to;
  }
  int error = CopyData(fs, from, to, source.size);
  // A file replaced must have its new data on the disk before the name points at it, so that
  // after a crash it is the old file or the whole new one. A new name replaces nothing: its data
  // reaches the disk with the flush before the batch that records it, and until then no row says
  // it is in step (a copy cut by a crash differs from its source and is planned again).
  if (error == 0 && replaces) error = fs.Fsync(to);
  const int closed = fs.Close(to);
  if (error == 0) error = closed;
  fs.Close(from);
  if (error == 0) error = fs.SetTimes(temporary, source.accessed, source.modified);
  if (error == 0) error = fs.ChangeMode(temporary, source.mode & 07777);
  FileInfo kept;
  if (error == 0) error = fs.Stat(temporary, kept);
  if (error == 0) error = MatchSourceTime(fs, origen, source, kept, igualado);
  // Looked at again at the last moment: the first look may be a whole copy of a large file ago.
  bool replacesNow = false;
  if (error == 0) error = CheckDestination(fs, destino, replacesNow);
  // A file that appeared under the name meanwhile gets the same protection as one replaced.
  if (error == 0 && replacesNow && !replaces) error = -EEXIST;
  if (error == 0) error = fs.Rename(temporary, destino);
  if (error != 0) (void)fs.Unlink(temporary);
  return error;
}

}  // namespace

int CopiaUnaVez(FileSystem& fs, const std::string& origen, const std::string& destino,
                std::optional<FileTime>* igualado, bool destinoAusente) {
  FileInfo source;
  if (const int error = fs.Stat(origen, source); error != 0) return error;
  if (source.type != EntryType::File) return source.type == EntryType::Folder ? -EISDIR : -EINVAL;
  bool replaces = false;
  bool looked = false;
  if (!destinoAusente) {
    if (const int error = CheckDestination(fs, destino, replaces); error != 0) return error;
    looked = true;
  }
  if (!replaces) {
    const int error = CopyAsUnnamed(fs, origen, destino, source, igualado);
    if (error != kNoUnnamedFile) return error;
  }
  // The temporary name is renamed over whatever is there: that way always looks first.
  if (!looked) {
    if (const int error = CheckDestination(fs, destino, replaces); error != 0) return error;
  }
  return CopyThroughTemporary(fs, origen, destino, source, replaces, igualado);
}

void CreaRuta(FileSystem& fs, const std::string& destino) {
  const std::string carpeta = ParentFolder(destino);
  // From the second level on: the root itself is never created.
  if (carpeta == "/" || carpeta == ".") return;
  for (auto slash = carpeta.find('/', 1); slash != std::string::npos;
       slash = carpeta.find('/', slash + 1)) {
    (void)fs.MakeFolder(carpeta.substr(0, slash), 0777);
  }
  (void)fs.MakeFolder(carpeta, 0777);
}

void QuitaSoloLectura(FileSystem& fs, const std::string& ruta) {
  FileInfo info;
  if (fs.Stat(ruta, info) != 0 || info.type != EntryType::File || !IsReadOnly(info)) return;
  (void)fs.ChangeMode(ruta, info.mode | 0200);
}

bool CopiaArchivo(Session& session, AppView& view, const std::string& origen,
                  const std::string& destino, int tarea, std::optional<FileTime>* igualado,
                  bool destinoAusente) {
  FileSystem& fs = session.fs;
  if (CopiaUnaVez(fs, origen, destino, igualado, destinoAusente) == 0) return true;
  CreaRuta(fs, destino);
  if (CopiaUnaVez(fs, origen, destino, igualado) == 0) return true;
  if (TaskOptions::Of(session.Tareas.ITem1(tarea)).soloLectura) QuitaSoloLectura(fs, destino);
  if (CopiaUnaVez(fs, origen, destino, igualado) == 0) return true;
  EscribeLog(view, "** ERROR ** : " + origen);
  return false;
}

}  // namespace tandrel
