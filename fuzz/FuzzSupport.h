#pragma once
// What every fuzz target shares: a check that stays on in optimised builds (a broken invariant
// must stop the fuzzer like a crash does), and one temporary program folder per process.
#include <stdlib.h>
#include <utf8proc.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#define FUZZ_CHECK(condition)                                                                \
  do {                                                                                       \
    if (!(condition)) {                                                                      \
      std::fprintf(stderr, "FUZZ_CHECK failed: %s at %s:%d\n", #condition, __FILE__, __LINE__); \
      std::abort();                                                                          \
    }                                                                                        \
  } while (false)

namespace tandrel::fuzz {

// Created at the first call and removed when the process exits normally; a crash leaves it for
// the person who looks at the finding. In memory where the machine allows: on a disk file system
// every file replaced by a rename or emptied on open is flushed, and the fuzzer slows to a crawl.
class TempProgramFolder {
 public:
  TempProgramFolder() {
    std::error_code ec;
    const std::filesystem::path base =
        std::filesystem::is_directory("/dev/shm", ec) ? "/dev/shm" : std::filesystem::temp_directory_path();
    std::string pattern = (base / "tandrel-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      std::perror("mkdtemp");
      std::abort();
    }
    path_ = pattern;
  }
  ~TempProgramFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempProgramFolder(const TempProgramFolder&) = delete;
  TempProgramFolder& operator=(const TempProgramFolder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

inline const std::string& ProgramFolder() {
  static const TempProgramFolder folder;
  return folder.path();
}

inline std::string_view AsText(const unsigned char* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// Well-formed UTF-8, judged by utf8proc's decoder rather than by the project's own.
inline bool IsValidUtf8(std::string_view text) {
  const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
  for (std::size_t pos = 0; pos < text.size();) {
    utf8proc_int32_t cp = 0;
    const auto n = utf8proc_iterate(bytes + pos, static_cast<utf8proc_ssize_t>(text.size() - pos), &cp);
    if (n <= 0) return false;
    pos += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace tandrel::fuzz
