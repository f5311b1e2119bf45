#include "engine/FileTimes.h"

#include <sys/stat.h>

#include <charconv>

namespace tandrel {

namespace {

// Seconds from 1601-01-01 to 1970-01-01.
constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600;

struct CivilDate {
  std::int64_t year;
  unsigned month;
  unsigned day;
};

// Days since 1970-01-01 to a proleptic Gregorian date. Done by hand rather than with gmtime_r:
// it runs once per time of every file, and needs no time-zone machinery.
CivilDate CivilFromDays(std::int64_t days) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
  const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const unsigned shiftedMonth = (5 * dayOfYear + 2) / 153;
  const unsigned day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
  const unsigned month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
  const std::int64_t year = static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2);
  return {year, month, day};
}

char* TwoDigits(char* out, unsigned value) {
  out[0] = static_cast<char>('0' + value / 10);
  out[1] = static_cast<char>('0' + value % 10);
  return out + 2;
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

}  // namespace

TimeText FechaArchivo(FileTime tiempo) {
  const std::int64_t days = FloorDiv(tiempo.sec, 86400);
  const auto secondOfDay = static_cast<unsigned>(tiempo.sec - days * 86400);
  const CivilDate date = CivilFromDays(days);
  const std::uint64_t monthToSecond = date.month * 100000000ull + date.day * 1000000ull +
                                      secondOfDay / 3600 * 10000ull +
                                      secondOfDay / 60 % 60 * 100ull + secondOfDay % 60;
  // Years 0 to 9999, every file's in practice, make their digits as a number with no text.
  if (date.year >= 0 && date.year <= 9999) {
    const auto year = static_cast<std::uint64_t>(date.year);
    const unsigned yearDigits = year < 10 ? 1 : year < 100 ? 2 : year < 1000 ? 3 : 4;
    return PackedText::Digits(year * 10000000000ull + monthToSecond, yearDigits + 10);
  }
  char buffer[32];
  char* out = std::to_chars(buffer, buffer + 20, date.year).ptr;
  out = TwoDigits(out, date.month);
  out = TwoDigits(out, date.day);
  out = TwoDigits(out, secondOfDay / 3600);
  out = TwoDigits(out, secondOfDay / 60 % 60);
  out = TwoDigits(out, secondOfDay % 60);
  return TimeText(std::string_view(buffer, static_cast<std::size_t>(out - buffer)));
}

TimeText FechaArchivo(std::uint64_t intervalos) {
  const auto seconds = static_cast<std::int64_t>(intervalos / 10000000) - kSecondsFrom1601To1970;
  return FechaArchivo(FileTime{seconds, 0});
}

std::string QuitaNulos(std::string_view texto) {
  return std::string(texto.substr(0, texto.find('\0')));
}

SizeText TextoTamano(std::uint64_t tamano) {
  const auto low = static_cast<std::int32_t>(static_cast<std::uint32_t>(tamano & 0xFFFFFFFFu));
  const bool negative = low < 0;
  const auto magnitude =
      static_cast<std::uint64_t>(negative ? -std::int64_t{low} : std::int64_t{low});
  unsigned digits = 1;
  for (std::uint64_t rest = magnitude / 10; rest != 0; rest /= 10) ++digits;
  return PackedText::Digits(magnitude, digits, negative);
}

AttrText TextoAtributos(const FileInfo& info, std::string_view nombre) {
  int bits = 0;
  if ((info.mode & S_IWUSR) == 0) bits += 1;
  if (!nombre.empty() && nombre.front() == '.') bits += 2;
  if (info.type == EntryType::Folder) bits += 16;
  if (info.type == EntryType::File) bits += 32;
  char buffer[4];
  char* out = std::to_chars(buffer, buffer + sizeof buffer, bits).ptr;
  return AttrText(std::string_view(buffer, static_cast<std::size_t>(out - buffer)));
}

FileTime TiempoCreacion(const FileInfo& info) {
  return info.hasBirthTime ? info.born : info.modified;
}

void LlenaLado(clsArchivo& archivo, bool ladoUSB, RealPath ruta, const FileInfo& info,
               std::string_view nombreReal) {
  // The three times of a file are often the same second: that text is made once.
  const TimeText modificado = FechaArchivo(info.modified);
  auto texto = [&](FileTime tiempo) {
    return tiempo.sec == info.modified.sec ? modificado : FechaArchivo(tiempo);
  };
  (ladoUSB ? archivo.USB_Ruta : archivo.PC_Ruta) = std::move(ruta);
  (ladoUSB ? archivo.USB_Tamano : archivo.PC_Tamano) =
      TextoTamano(info.type == EntryType::Folder ? 0 : info.size);
  (ladoUSB ? archivo.USB_Creacion : archivo.PC_Creacion) = texto(TiempoCreacion(info));
  (ladoUSB ? archivo.USB_Acceso : archivo.PC_Acceso) = texto(info.accessed);
  (ladoUSB ? archivo.USB_Modificado : archivo.PC_Modificado) = modificado;
  (ladoUSB ? archivo.USB_Atributos : archivo.PC_Atributos) = TextoAtributos(info, nombreReal);
}

}  // namespace tandrel
