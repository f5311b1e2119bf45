// Times one analysis of one task, the way the program runs it, with a view that shows nothing:
//
//   analysis_driver PROGRAM_FOLDER TASK_ID [--write-snapshot]
//
// The program folder holds data/db.mdb; the task must belong to this computer (COMPUTERNAME, else
// the host name). Prints "entries=N seconds=S" and the count of each state code on one line.
// --write-snapshot then stores every entry as the task's snapshot, as a run that found every file
// in step would, so that the next analysis compares against a full snapshot.
#include <chrono>
#include <cstdio>
#include <iostream>
#include <map>
#include <string>

#include "app/ConsoleView.h"
#include "core/Platform.h"
#include "core/Public.h"
#include "engine/Analisis.h"
#include "engine/PosixFileSystem.h"
#include "engine/Session.h"
#include "store/Conexion.h"

namespace {

using namespace tandrel;

bool WriteSnapshot(Session& session, std::int64_t task) {
  if (!session.rsFiles.Open(session.conexion).empty()) return false;
  const std::string sync = FechaHora(0);
  for (std::size_t i = 1; i <= session.Archivos.Count(); ++i) {
    const clsArchivo& a = session.Archivos.ITemID(i);
    const bool usb = !a.USB_Ruta.empty();
    SnapshotRow row;
    row.HOSTNAME = session.Hostname;
    row.TASK = task;
    row.FILE = a.Nombre;
    row.CREATION = (usb ? a.USB_Creacion : a.PC_Creacion).str();
    row.SIZE = (usb ? a.USB_Tamano : a.PC_Tamano).str();
    row.LAST = (usb ? a.USB_Modificado : a.PC_Modificado).str();
    row.ACCESS = (usb ? a.USB_Acceso : a.PC_Acceso).str();
    row.SYNC = sync;
    if (!session.rsFiles.AddRow(row)) return false;
  }
  return session.rsFiles.Commit();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s PROGRAM_FOLDER TASK_ID [--write-snapshot]\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  const std::int64_t id = std::stoll(argv[2]);
  const bool writeSnapshot = argc > 3 && std::string(argv[3]) == "--write-snapshot";

  PosixFileSystem fs;
  Session session(folder, "Tandrel", ReadMountTable(), fs);
  if (std::string error = ConectaBD(session.conexion, session.INI, folder); !error.empty()) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  session.Hostname = ComputerName();
  if (std::string error = session.Tareas.Carga(session.conexion, session.Hostname); !error.empty()) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  int position = 0;
  for (int i = 1; i <= session.Tareas.Count(); ++i) {
    if (session.Tareas.ITem1(i).ID == id) position = i;
  }
  if (position == 0) {
    std::fprintf(stderr, "no task %lld for computer %s\n", static_cast<long long>(id),
                 session.Hostname.c_str());
    return 1;
  }

  // Log lines and messages on standard error, as the command line shows them.
  ConsoleView view(std::cerr);
  const auto start = std::chrono::steady_clock::now();
  AnalizaTarea(session, view, position, true);
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  if (session.driveError) return 1;

  std::map<std::string, std::size_t> codes;
  for (std::size_t i = 1; i <= session.Archivos.Count(); ++i) {
    ++codes[session.Archivos.ITemID(i).Action.str()];
  }
  std::printf("entries=%zu seconds=%.3f", session.Archivos.Count(), elapsed.count());
  for (const auto& [code, count] : codes) std::printf(" %s=%zu", code.c_str(), count);
  std::printf("\n");

  if (writeSnapshot && !WriteSnapshot(session, id)) {
    std::fprintf(stderr, "could not write the snapshot\n");
    return 1;
  }
  return 0;
}
