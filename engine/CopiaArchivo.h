#pragma once
// The copy of one file by a run, with its retries: missing folders are made before the second
// attempt, and a read-only destination is made writable before the third when the task allows it.
#include <optional>
#include <string>

#include "engine/AppView.h"
#include "engine/FileSystem.h"
#include "engine/Session.h"

namespace tandrel {

// One attempt: the data of origen with origen's last-access and last-write times (nanoseconds
// kept) and permission bits under the name destino. A new name is written as a file with no name,
// linked in once whole, where the file system allows it; otherwise, and always when a file is
// replaced, into a temporary file in destino's folder (flushed to the disk when it replaces a
// file) then renamed over destino. An interrupted copy thus never leaves a cut file under the real
// name, and a failed one leaves destino as it was and no temporary file. A destino that exists
// must be a regular file and writable: the program refuses a read-only one itself, also as root.
// Where the destination keeps coarser times than the source (FAT keeps even seconds), the source,
// unchanged since it was read, takes the last-write time the copy could keep, and *igualado
// receives it; otherwise *igualado is left as it was. destinoAusente: the caller has just found no
// entry under destino, so the first look is spared where the link itself refuses a taken name.
// 0 or -errno.
[[nodiscard]] int CopiaUnaVez(FileSystem& fs, const std::string& origen, const std::string& destino,
                              std::optional<FileTime>* igualado = nullptr,
                              bool destinoAusente = false);

// Creates every missing folder on the way to the file path destino ("/" separators; the root is
// never created). Every failure is ignored: the next attempt of the copy tells.
void CreaRuta(FileSystem& fs, const std::string& destino);

// Clears the read-only mark (sets the owner-write bit) of the regular file ruta when it has one;
// a missing file or any failure ends it quietly.
void QuitaSoloLectura(FileSystem& fs, const std::string& ruta);

// Up to three attempts of CopiaUnaVez (the second after CreaRuta, the third after QuitaSoloLectura
// when the task's options let a read-only file be replaced). True when one succeeded; otherwise the log line
// "** ERROR ** : " & origen, and false. tarea: 1-based position in session.Tareas. igualado and
// destinoAusente: as for CopiaUnaVez (the retries look again).
[[nodiscard]] bool CopiaArchivo(Session& session, AppView& view, const std::string& origen,
                                const std::string& destino, int tarea,
                                std::optional<FileTime>* igualado = nullptr,
                                bool destinoAusente = false);

}  // namespace tandrel
