#include "core/Public.h"

#include <cstdlib>

#include "core/Text.h"
#include "core/clsWords.h"

namespace tandrel {

namespace {

std::tm LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

// Decimal text with a "0" in front when it has one digit.
std::string TwoDigits(int value) {
  std::string text = std::to_string(value);
  return text.size() == 1 ? "0" + text : text;
}

// Characters from..from+count-1 (1-based); what lies past the end is simply missing. Characters
// are code points: a stamp edited by hand may hold any letter, and one cut in two shows as broken
// text.
std::string_view Mid(std::string_view text, std::size_t from, std::size_t count) {
  const std::size_t begin = ByteOffsetOfCodePoint(text, from);
  return text.substr(begin, ByteOffsetOfCodePoint(text, from + count) - begin);
}

}  // namespace

std::string VersionText() {
  return std::to_string(kVersionMayor) + "." + std::to_string(kVersionMenor) + "." +
         std::to_string(kVersionRevision);
}

std::string PonTitulo() { return std::string(kTitulo) + " (" + VersionText() + ")"; }

void EscribeLog(LogSink& log, std::string_view texto) {
  log.AppendLogLine("[" + HoraDelDia() + "] " + std::string(texto));
}

void MuestraEstado(LogSink& log, const clsWords& words, std::string_view clave) {
  log.ShowStatus(words.W(clave));
}

std::string FechaHora(int modo) { return FechaHora(modo, LocalNow()); }

std::string FechaHora(int modo, const std::tm& momento) {
  std::string year = std::to_string(momento.tm_year + 1900);
  if (year.size() == 2) year = "20" + year;
  const std::string month = TwoDigits(momento.tm_mon + 1);
  const std::string day = TwoDigits(momento.tm_mday);
  const std::string hour = TwoDigits(momento.tm_hour);
  const std::string minute = TwoDigits(momento.tm_min);
  const std::string second = TwoDigits(momento.tm_sec);
  switch (modo) {
    case 0:
      return year + month + day + hour + minute + second;
    case 1:
      return day + "/" + month + "/" + year + " " + hour + ":" + minute + ":" + second;
    default:
      return {};
  }
}

std::string HoraDelDia() {
  const std::tm now = LocalNow();
  return TwoDigits(now.tm_hour) + ":" + TwoDigits(now.tm_min) + ":" + TwoDigits(now.tm_sec);
}

std::string FormateaFecha(std::string_view sello) {
  if (sello.empty()) return {};
  std::string out;
  out.reserve(19);
  out.append(Mid(sello, 7, 2)).append("/").append(Mid(sello, 5, 2)).append("/");
  out.append(Mid(sello, 1, 4)).append(" ");
  out.append(Mid(sello, 9, 2)).append(":").append(Mid(sello, 11, 2)).append(":");
  out.append(Mid(sello, 13, 2));
  return out;
}

std::string LeeEntorno(std::string_view variable) {
  // The platform call fills a buffer of 255 characters: a longer value does not fit and reads as
  // nothing, like an unset one.
  const char* value = std::getenv(std::string(variable).c_str());
  if (value == nullptr) return {};
  std::string text(value);
  return text.size() > 254 ? std::string() : text;
}

std::string ExtraeCampo(std::string_view cadena, std::string_view separador, int n) {
  if (n < 1) return {};
  if (separador.empty()) return n == 1 ? std::string(cadena) : std::string();
  std::string text(cadena);
  const std::string trimmed = TrimRight(cadena);
  if (trimmed.size() < separador.size() ||
      trimmed.compare(trimmed.size() - separador.size(), separador.size(), separador) != 0) {
    text += separador;
  }
  std::size_t start = 0;
  for (int field = 1;; ++field) {
    const auto end = text.find(separador, start);
    if (end == std::string::npos) return {};
    if (field == n) return text.substr(start, end - start);
    start = end + separador.size();
  }
}

}  // namespace tandrel
