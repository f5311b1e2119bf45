#pragma once
// A test with a temporary database made from the real schema and a connection to it, opened the
// way start-up opens it (default settings, program folder = the temporary folder).
#include <gtest/gtest.h>

#include "core/clsArchivoINI.h"
#include "store/Conexion.h"
#include "tests/support/TempDatabase.h"

namespace tandrel::test {

class ConnectedDatabase : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(Reconecta(), ""); }
  std::string Reconecta() {
    clsArchivoINI ini(db.Folder(), "Tandrel");
    return ConectaBD(conexion, ini, db.Folder());
  }
  TempDatabase db;
  Conexion conexion;
};

}  // namespace tandrel::test
