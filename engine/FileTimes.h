#pragma once
// The text forms the scan gives a file's data: the 14-digit UTC time, the size as the low 32 bits
// read as a signed number, and the attribute sum. These texts are what the snapshot stores and what
// the classifier compares, so they must not change between versions.
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/FileSystem.h"
#include "store/clsArchivo.h"

namespace tandrel {

// "yyyymmddhhmmss" in UTC, fractions of a second dropped (rounded towards the past, also before
// 1970). The year is written with as many digits as it has.
TimeText FechaArchivo(FileTime tiempo);
// The same from a count of 100-nanosecond intervals since 1601-01-01 UTC, as other systems keep it.
TimeText FechaArchivo(std::uint64_t intervalos);

// The text up to, not including, its first NUL; the whole text when it has none.
std::string QuitaNulos(std::string_view texto);

// Low 32 bits of the size as a signed 32-bit decimal: 2 GiB and more wrap to negative numbers, and
// sizes that differ by a multiple of 4 GiB give the same text.
SizeText TextoTamano(std::uint64_t tamano);

// Attribute bits as decimal text: read-only 1 (owner-write bit clear), hidden 2 (name begins with
// "."), folder 16, archive 32 (every regular file).
AttrText TextoAtributos(const FileInfo& info, std::string_view nombre);

// Creation time: the birth time where the file system keeps one, else the last-write time.
FileTime TiempoCreacion(const FileInfo& info);

// Fills one side's six members of an entry (ladoUSB: the USB side) from a lookup of the entry's
// file: the real path, size (a folder's counts as 0), the three times and the attributes.
void LlenaLado(clsArchivo& archivo, bool ladoUSB, RealPath ruta, const FileInfo& info,
               std::string_view nombreReal);

}  // namespace tandrel
