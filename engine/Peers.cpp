#include "engine/Peers.h"

#include "core/Platform.h"
#include "core/Public.h"
#include "core/Text.h"
#include "engine/DatosTarea.h"
#include "engine/ScanContext.h"
#include "store/Sentencias.h"
#include "store/Sqlite.h"

namespace tandrel {

namespace {

// How the peer's next run would meet the stick's files. Its USB listing sees the stick when its
// USB side has "N" (subfolders with "R"); its PC listing sees the files its snapshot knows, which
// its PC held at the end of its last run, when its PC side has "N" (subfolders with "R"). Each
// listing tests the peer's masks on the full path of its own side.
class PeerRun {
 public:
  PeerRun(Session& session, const clsTarea& tarea) {
    flags_.PonOpciones(tarea.LeftOPT, tarea.RightOPT, tarea.OPTIONS);
    const TaskFolders folders = CarpetasDeTarea(session, tarea);
    usbRoot_ = folders.usb;
    pcRoot_ = folders.pc;
    maskError_ = masks_.Carga(session.conexion, tarea.ID);
  }

  bool SeenFromUsb(std::string_view name) const {
    return flags_.NuevosUSB && Reaches(name, flags_.SubcarpetasUSB, usbRoot_);
  }
  bool SeenFromPc(std::string_view name) const {
    return flags_.NuevosPC && Reaches(name, flags_.SubcarpetasPC, pcRoot_);
  }
  // A stick file the snapshot does not know is copied only by the USB listing ("C1").
  bool TakesNew(std::string_view name) const { return SeenFromUsb(name); }
  // Either listing finds both copies and carries the changed one. The updates letter is stored but
  // no run consults it, so it excludes nothing here.
  bool TakesChange(std::string_view name) const { return SeenFromUsb(name) || SeenFromPc(name); }
  // Only the PC listing finds a file gone from the stick, and "E" on the USB side carries it ("X2").
  bool TakesDeletion(std::string_view name) const { return flags_.BorradosUSB && SeenFromPc(name); }
  const std::string& MaskError() const { return maskError_; }

 private:
  bool Reaches(std::string_view name, bool subfolders, const std::string& root) const {
    if (!subfolders && name.find('\\') != std::string_view::npos) return false;
    return masks_.Count() == 0 || !masks_.Comprueba(root + std::string(name));
  }

  DatosTarea flags_;
  std::string usbRoot_, pcRoot_;
  clsMascaras masks_;
  std::string maskError_;
};

}  // namespace

std::string StickFolderKey(std::string_view left) {
  // The folder the scan opens on the stick, whatever drive the stick is on.
  return CaseFold(WithoutTrailingSlashes(JoinDriveAndLeft("", left)));
}

std::string FindPeers(Session& session, const clsTarea& tarea, std::vector<Peer>& peers) {
  peers.clear();
  std::vector<TareaDeHost> todas;
  if (std::string error = LeeTodasLasTareas(session.conexion, todas); !error.empty()) return error;
  const std::string key = StickFolderKey(tarea.Left);
  for (TareaDeHost& fila : todas) {
    if (fila.Tarea.ID == tarea.ID || StickFolderKey(fila.Tarea.Left) != key) continue;
    Peer peer;
    peer.host = std::move(fila.HOSTNAME);
    peer.tarea = std::move(fila.Tarea);
    if (peer.tarea.Left.empty()) peer.notes.push_back(session.W("lblPeerNoLeft"));
    peers.push_back(std::move(peer));
  }
  return {};
}

StickListing StickFilesOfTask(Session& session, AppView& view, int indice) {
  const clsTarea& tarea = session.Tareas.ITem1(indice);
  DatosTarea flags;
  flags.PonOpciones(tarea.LeftOPT, tarea.RightOPT, tarea.OPTIONS);
  // The analysis lists the stick through this task's eyes: without "N" and "R" on its USB side, or
  // with masks, files a peer takes are missing from it, and their rows would look deleted. Nor do
  // its entries tell which folders it could not look into, or found a link in the place of.
  const bool wholeFolder = flags.NuevosUSB && flags.SubcarpetasUSB &&
                           session.Mascaras.Count() == 0 && session.heldBackFolders.empty() &&
                           session.passedOver == 0;
  if (session.TareaAnalizada == indice && !session.driveError && wholeFolder) {
    return StickListing::FromEntries(session.Archivos);
  }
  view.SetBusy(true);
  StickListing listing = StickListing::List(session.fs, view, CarpetasDeTarea(session, tarea).usb);
  view.SetBusy(false);
  return listing;
}

void CountWaiting(Session& session, const StickListing& stick, Peer& peer,
                  std::vector<WaitingFile>* waiting) {
  peer.newFiles = peer.changed = peer.deletions = 0;
  const PeerRun run(session, peer.tarea);
  if (!run.MaskError().empty()) peer.notes.push_back(run.MaskError());

  std::vector<bool> known(stick.Count(), false);
  std::vector<WaitingFile> deleted;
  std::size_t damaged = 0;
  bool unsure = false;
  sqlite::Statement filas;
  std::string error = OpenPeerSnapshot(session.conexion, peer.host, peer.tarea.ID, filas);
  while (error.empty()) {
    const auto paso = filas.Next();
    if (paso == sqlite::Statement::Step::Done) break;
    if (paso == sqlite::Statement::Step::Error) {
      error = filas.LastError();
      break;
    }
    const std::string_view name = filas.TextView(kPeerFile);
    if (name.empty()) {
      ++damaged;  // a row without a name is no file of anybody's
      continue;
    }
    const std::size_t i = stick.Find(name);
    if (i == StickListing::npos) {
      if (stick.BelowHeldBackFolder(name)) {
        unsure = true;
      } else if (run.TakesDeletion(name)) {
        ++peer.deletions;
        if (waiting != nullptr) deleted.push_back({std::string(name), Waiting::Deleted});
      }
      continue;
    }
    if (known[i]) continue;  // a second row of one name: the first one is the snapshot's
    known[i] = true;
    const StickFile& file = stick.At(i);
    const bool differs = SizeText(filas.TextView(kPeerSize)) != file.size ||
                         TimeText(filas.TextView(kPeerLast)) != file.last;
    if (differs && run.TakesChange(file.name)) {
      ++peer.changed;
      if (waiting != nullptr) waiting->push_back({file.name, Waiting::Changed});
    }
  }
  // Rows that cannot be read leave counts that may be short: say so rather than show them as all.
  if (!error.empty()) peer.notes.push_back(error);
  for (std::size_t i = 0; i < stick.Count(); ++i) {
    if (known[i] || !run.TakesNew(stick.At(i).name)) continue;
    ++peer.newFiles;
    if (waiting != nullptr) waiting->push_back({stick.At(i).name, Waiting::New});
  }
  if (waiting != nullptr) waiting->insert(waiting->end(), deleted.begin(), deleted.end());

  if (damaged > 0) peer.notes.push_back(std::to_string(damaged) + " " + session.W("lblPeerDamaged"));
  if (unsure) peer.notes.push_back(session.W("lblPeerUnreadable"));
}

std::string PeersOfTask(Session& session, AppView& view, int indice, std::vector<Peer>& peers) {
  peers.clear();
  if (indice < 1 || indice > session.Tareas.Count()) return {};
  if (std::string error = FindPeers(session, session.Tareas.ITem1(indice), peers); !error.empty()) {
    return error;
  }
  if (peers.empty()) return {};
  const StickListing stick = StickFilesOfTask(session, view, indice);
  if (!stick.Error().empty()) return stick.Error();
  for (Peer& peer : peers) CountWaiting(session, stick, peer);
  return {};
}

std::string LastSyncText(const Session& session, std::string_view lastExe) {
  if (lastExe.empty() || lastExe.find_first_not_of('0') == std::string_view::npos) {
    return session.W("wrdNever");
  }
  return FormateaFecha(lastExe);
}

}  // namespace tandrel
