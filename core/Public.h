#pragma once
// The small routines every layer uses: the product title and version, the log line, the status
// text, the two text forms of a moment, environment variables and field splitting.
#include <ctime>
#include <string>
#include <string_view>

#include "core/UserInterface.h"

namespace tandrel {

class clsWords;

inline constexpr const char* kTitulo = "Vorn Tandrel";
inline constexpr int kVersionMayor = 1;
inline constexpr int kVersionMenor = 0;
inline constexpr int kVersionRevision = 37;

// "Vorn Tandrel (1.0.37)": the window caption.
std::string PonTitulo();
// "1.0.37"
std::string VersionText();

// Appends "[hh:mm:ss] texto" (local time of day) to the log.
void EscribeLog(LogSink& log, std::string_view texto);
// Shows W(clave) in the first status panel: it takes a word key, not a text.
void MuestraEstado(LogSink& log, const clsWords& words, std::string_view clave);

// The current local moment as a 14-digit stamp (modo 0) or "dd/mm/yyyy hh:mm:ss" (modo 1); any other
// modo gives the empty text. The second form takes the moment, for tests.
std::string FechaHora(int modo);
std::string FechaHora(int modo, const std::tm& momento);
// "hh:mm:ss" of the local time of day.
std::string HoraDelDia();

// A 14-digit stamp in display form; missing characters of a short input count as empty, nothing is
// validated; the empty text gives the empty text.
std::string FormateaFecha(std::string_view sello);

// The value of an environment variable; the empty text when unset or longer than 254 characters.
std::string LeeEntorno(std::string_view variable);

// The n-th field (from 1) of cadena split at separador; the empty text when there are fewer.
std::string ExtraeCampo(std::string_view cadena, std::string_view separador, int n);

}  // namespace tandrel
