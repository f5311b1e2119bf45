// The other computers of a stick folder: which tasks share it, and what waits for each of them.
#include <gtest/gtest.h>

#include "engine/Peers.h"
#include "tests/support/RunFixture.h"

namespace tandrel::test {
namespace {

class PeersTest : public RunTest {
 protected:
  std::int64_t AddPeer(const std::string& host, const std::string& left, const std::string& leftOpt,
                       const std::string& rightOpt) {
    return db.AddTask({.hostname = host, .left = left, .right = "/home/" + host, .leftopt = leftOpt,
                       .rightopt = rightOpt, .descr = "Shared", .lastexe = "20240307093005"});
  }
  std::vector<Peer> Peers() {
    std::vector<Peer> peers;
    EXPECT_EQ(PeersOfTask(*session, view, 1, peers), "");
    return peers;
  }
};

// Peers are the tasks on the stick folder, whatever its spelling, this computer's other ones too.
TEST_F(PeersTest, CountsFollowEachPeersRowsLettersAndMasks) {
  AddTask("NEAR", "NEAR");                  // \Data, the task asked about
  AddTask("NEAR", "NEAR", "", "\\data\\");  // this computer's other task, never synchronised
  AddPeer("PC7", "\\Data\\Old", "N", "N");  // a folder below: not the same folder
  AddPeer("PC8", "", "N", "N");             // no folder: the stick's root
  for (const char* name : {"Same.txt", "Fresh.txt", "Notes.tmp", "Sub/Deep.txt"}) {
    pair.AddFile(Side::Usb, Usb(name), 10, kOlder);
  }
  pair.AddFile(Side::Usb, Usb("Grown.txt"), 99, kOlder);
  const auto withRows = [&](const std::string& host, const std::string& left,
                            const std::string& leftOpt, const std::string& rightOpt) {
    const std::int64_t id = AddPeer(host, left, leftOpt, rightOpt);
    for (const char* name : {"same.txt", "GROWN.TXT", "Gone.txt", "Sub\\Gone too.txt"}) {
      db.AddFile({.hostname = host, .task = id, .file = name, .size = "10",
                  .last = "20200101100000"});
    }
    return id;
  };
  withRows("PC2", "/DATA/", "NEAR", "NEAR");
  withRows("Q'%\"_", "data", "NA", "N");  // quotes and % are a plain name; no subfolders, no
                                          // deletions towards its PC
  withRows("PC4", "\\Data", "E", "NR");  // the USB side unlisted: only changes the PC listing finds
  const std::int64_t masked = withRows("PC5", "\\Data", "NEAR", "NEAR");
  db.AddMask(masked, ".tmp", 0);
  db.AddFile({.hostname = "PC5", .task = masked});  // a damaged row

  // Per peer: host, new files, changed files, deletions, notes.
  const auto counts = [&] {
    std::vector<std::string> lines;
    for (const Peer& p : Peers()) {
      lines.push_back(p.host + " " + std::to_string(p.newFiles) + " " + std::to_string(p.changed) +
                      " " + std::to_string(p.deletions));
      for (const std::string& note : p.notes) lines.back() += " " + note;
    }
    return lines;
  };
  const std::int64_t rowsBefore = db.Count("SELECT count(*) FROM FILES");
  // The listing of the USB side alone and the entries of an analysis on display give one answer.
  for (const char* source : {"listing", "analysis"}) {
    if (std::string(source) == "analysis") Analyse();
    EXPECT_EQ(counts(), (std::vector<std::string>{"PC1 5 0 0", "PC2 3 1 2", "PC4 0 1 2",
                                                  "PC5 2 1 2 1 lblPeerDamaged", "Q'%\"_ 2 1 0"}))
        << source;
  }
  EXPECT_EQ(db.Count("SELECT count(*) FROM FILES"), rowsBefore) << "other computers' rows are only read";
}

}  // namespace
}  // namespace tandrel::test
