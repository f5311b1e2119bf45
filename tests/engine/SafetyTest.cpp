// Nothing is lost: a side that cannot be read plans nothing, and a run may not follow.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>

#include "tests/engine/EngineFixture.h"

namespace tandrel::test {
namespace {

class SafetyTest : public EngineTest {
 protected:
  void ExpectStoppedBeforeTheScan(const std::string& drive, const std::string& folder,
                                  const std::string& cause) {
    EXPECT_TRUE(view.LogHas("#1: ERROR= " + drive));
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(view.messages[0].title, "Error reading drive");
    EXPECT_EQ(view.messages[0].text, folder + ": " + cause);
    EXPECT_EQ(session->Archivos.Count(), 0u);
    EXPECT_TRUE(view.fileRows.empty());
    EXPECT_FALSE(view.LogHas("logFiles"));
    EXPECT_FALSE(view.LogHas("logFileconflict"));
    EXPECT_EQ(view.LogTexts().back(), "#1: panReady");
    EXPECT_TRUE(view.analyseEnabled);
    EXPECT_FALSE(view.syncEnabled);
    EXPECT_TRUE(session->driveError);
    EXPECT_FALSE(view.working);
  }
};

TEST_F(SafetyTest, MissingUsbFolderWithAKnownSnapshotStopsTheAnalysis) {
  const std::int64_t id = AddTask("NE", "NE");
  AddSnapshot(id, "Plan.txt", "5", "20200101100000");
  pair.AddFile(Side::Pc, "Plan.txt", 5, kOlder);  // would be deleted as "X2" if the scan went on
  Analyse();
  ExpectStoppedBeforeTheScan(pair.Usb(), pair.Usb() + "/Data", "No such file or directory");
}

TEST_F(SafetyTest, MissingPcFolderWithAKnownSnapshotStopsTheAnalysis) {
  const std::int64_t id = AddTask("NE", "NE", "", "\\Data", pair.Pc() + "/Docs");
  AddSnapshot(id, "Plan.txt", "5", "20200101100000");
  pair.AddFile(Side::Usb, Usb("Plan.txt"), 5, kOlder);
  // An earlier analysis left synchronisation enabled: a failing one must take it back.
  view.EnableSync(true);
  Analyse();
  ExpectStoppedBeforeTheScan("/", pair.Pc() + "/Docs", "No such file or directory");
}

TEST_F(SafetyTest, MissingFolderOfANewTaskIsEmpty) {
  AddTask("NE", "NE", "", "\\Data", pair.Pc() + "/Docs");
  pair.AddFile(Side::Usb, Usb("Plan.txt"), 5, kOlder);
  Analyse();
  EXPECT_TRUE(view.messages.empty());
  EXPECT_EQ(Code("Plan.txt"), "C1");
  EXPECT_TRUE(view.syncEnabled);
  EXPECT_FALSE(session->driveError);
}

TEST_F(SafetyTest, AFolderTextThatIsNoPathHereIsNeverTakenForOne) {
  AddTask("NE", "NE", "", "\\Data", "C:\\Docs");  // written by a computer of another kind
  pair.AddFile(Side::Usb, Usb("Plan.txt"), 5, kOlder);
  Analyse();
  ExpectStoppedBeforeTheScan("C:", "C:/Docs", "No such file or directory");
}

TEST_F(SafetyTest, AnUnreadableTaskFolderStopsEvenANewTask) {
  AddTask("NE", "NE");
  pair.AddFile(Side::Usb, Usb("Plan.txt"), 5, kOlder);
  fileSystem->FailListing(pair.Pc(), -EIO);
  Analyse();
  ExpectStoppedBeforeTheScan("/", pair.Pc(), "Input/output error");
}

// Whatever lies below a folder that cannot be read, on either side, is left alone.
TEST_F(SafetyTest, NothingBelowAnUnreadableSubfolderIsPlanned) {
  const std::int64_t id = AddTask("NER", "NER");
  // USB folder Private cannot be read: its PC twin's files would look deleted or new on the USB.
  pair.AddFile(Side::Usb, Usb("Private/a.txt"), 1, kOlder);
  pair.AddFile(Side::Pc, "Private/a.txt", 1, kOlder);
  pair.AddFile(Side::Pc, "Private/fresh.txt", 1, kOlder);
  AddSnapshot(id, "Private\\A.txt", "1", "20200101100000");
  // PC folder Secret cannot be read: the stick's files there would look deleted or new on the PC.
  pair.AddFile(Side::Usb, Usb("Secret/b.txt"), 1, kOlder);
  pair.AddFile(Side::Pc, "Secret/b.txt", 1, kOlder);
  pair.AddFile(Side::Usb, Usb("Secret/new.txt"), 1, kOlder);
  AddSnapshot(id, "Secret\\B.txt", "1", "20200101100000");
  // Elsewhere the task goes on as usual.
  pair.AddFile(Side::Usb, Usb("Open/c.txt"), 1, kOlder);
  AddSnapshot(id, "Open\\C.txt", "1", "20200101100000");
  fileSystem->FailListing(pair.Usb() + "/Data/Private", -EACCES);
  fileSystem->FailListing(pair.Pc() + "/Secret", -EACCES);

  Analyse();
  EXPECT_EQ(Code("Private\\A.txt"), "ZZ");
  EXPECT_EQ(Code("Private\\Fresh.txt"), "ZZ");
  EXPECT_EQ(Code("Secret\\B.txt"), "ZZ");
  EXPECT_EQ(Code("Secret\\New.txt"), "ZZ");
  EXPECT_EQ(Code("Open\\C.txt"), "X1");
  EXPECT_TRUE(view.LogHas("#1: logUnreadable " + pair.Usb() + "/Data/Private: Permission denied"));
  EXPECT_TRUE(view.LogHas("#1: logUnreadable " + pair.Pc() + "/Secret: Permission denied"));
  EXPECT_TRUE(view.messages.empty());
  EXPECT_TRUE(view.syncEnabled);
}

TEST_F(SafetyTest, AFolderWithoutReadPermissionIsUnreadable) {
  if (::geteuid() == 0) {
    GTEST_SKIP() << "running as root, where mode 000 does not stop a listing; the same case runs "
                    "with an injected failure in NothingBelowAnUnreadableSubfolderIsPlanned";
  }
  const std::int64_t id = AddTask("NER", "NER");
  pair.AddFile(Side::Pc, "Locked/a.txt", 1, kOlder);
  pair.AddFile(Side::Usb, Usb("Locked/a.txt"), 1, kOlder);
  AddSnapshot(id, "Locked\\A.txt", "1", "20200101100000");
  pair.SetMode(Side::Usb, Usb("Locked"), 0);
  Analyse();
  EXPECT_EQ(Code("Locked\\A.txt"), "ZZ");
  EXPECT_TRUE(view.LogHas("logUnreadable " + pair.Usb() + "/Data/Locked"));
}

}  // namespace
}  // namespace tandrel::test
