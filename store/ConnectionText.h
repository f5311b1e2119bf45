#pragma once
// Reading a connection text ("Provider=...;Data Source=...;..."): the two items the SQLite layer
// needs, the provider name and the data source.
#include <string>
#include <string_view>

namespace tandrel {

struct PartesConexion {
  std::string provider;    // trimmed; the empty text when the text has no "Provider=" item
  std::string dataSource;  // trimmed; the empty text when there is none
  bool hayDataSource = false;
};

// Keys match without regard to ASCII case; each value ends at the next ";", except that
// carpetaPrograma at the head of the data source is taken whole (a folder name may hold a ";").
// The last item of a kind wins. Never fails: an unknown item is passed over.
PartesConexion ParseConnectionText(std::string_view texto, std::string_view carpetaPrograma);

}  // namespace tandrel
