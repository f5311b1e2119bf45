// Exclusion masks: which rows load, and when a mask matches a full path.
#include <gtest/gtest.h>

#include "store/clsMascaras.h"
#include "tests/support/ConnectedDatabase.h"

namespace tandrel {
namespace {

TEST(clsMascaras, MatchesByPositionSeparatorAndCase) {
  const std::tuple<const char*, std::int16_t, const char*, bool> cases[] = {
      {".tmp", 0, "C:\\Work\\A.tmp.doc", true},   // a plain substring test
      {"Work", 4, "C:\\Work\\File.txt", true},    // begins at the 4th character
      {"Work", 5, "C:\\Work\\File.txt", false},
      {"Work", -3, "C:\\Work\\File.txt", true},   // negative counts as 0
      {"", 16, "C:\\Work\\File.txt", true},       // empty: every path at least as long as its start
      {"", 17, "C:\\Work\\File.txt", false},
      {".MP3", 0, "/music/Song.mp3", false},      // case-sensitive
      {"\\Temp\\", 0, "/home/ana/Temp/x", true},  // "\" and "/" are one character
      {"x", 7, "/Año/x", false},                  // positions count code points
  };
  for (const auto& [mask, pos, path, excluded] : cases) {
    clsMascaras m;
    m.Add({mask, pos});
    EXPECT_EQ(m.Comprueba(path), excluded) << mask << " " << pos << " " << path;
  }
}

using Mascaras = test::ConnectedDatabase;

TEST_F(Mascaras, CargaTakesTaskZeroAndTheTasksOwnRowsOnly) {
  clsMascaras mascaras;
  db.AddMask(0, ".tmp", 0);
  db.AddMask(5, "Cache", 3);
  db.AddMask(6, ".mp3", 0);
  db.AddMask(5, std::nullopt, 0);    // no mask: left out, it would exclude everything
  db.AddMask(5, "a%", std::nullopt);  // no position: anywhere; "%" is a plain character
  db.AddMask(5, "b", 100000);        // beyond 16 bits: never within a path
  ASSERT_EQ(mascaras.Carga(conexion, 5), "");
  for (const char* path : {"/x/a.tmp", "/x/Cache/y", "/x/a%"}) EXPECT_TRUE(mascaras.Comprueba(path))
      << path;
  for (const char* path : {"/x/a.mp3", "/x/ab", "/x/b"}) EXPECT_FALSE(mascaras.Comprueba(path));
}

}  // namespace
}  // namespace tandrel
