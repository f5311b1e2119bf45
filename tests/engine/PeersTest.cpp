// The other computers of a stick folder: which tasks share it, and what waits for each of them.
#include <gtest/gtest.h>

#include "engine/Peers.h"
#include "tests/support/RunFixture.h"

namespace tandrel::test {
namespace {

class PeersTest : public RunTest {
 protected:
  std::int64_t AddPeer(const std::string& host, const std::string& left, const std::string& leftOpt,
                       const std::string& rightOpt, const std::string& lastExe = "20240307093005") {
    return db.AddTask({.hostname = host, .left = left, .right = "/home/" + host, .leftopt = leftOpt,
                       .rightopt = rightOpt, .descr = "Shared", .lastexe = lastExe});
  }
  std::vector<Peer> Peers() {
    std::vector<Peer> peers;
    EXPECT_EQ(PeersOfTask(*session, view, 1, peers), "");
    return peers;
  }
};

TEST_F(PeersTest, PeersShareTheStickFolderWhateverItsSpelling) {
  AddTask("NEAR", "NEAR");                       // \Data, the task asked about
  AddTask("NEAR", "NEAR", "", "\\data\\");       // this computer's other task
  AddPeer("PC2", "/DATA/", "N", "N");
  AddPeer("Q'%\"_", "data", "N", "N");             // quotes and % are a plain name
  AddPeer("PC4", "\\Data\\Old", "N", "N");        // a folder below: not the same folder
  AddPeer("PC5", "", "N", "N");                    // no folder: the stick's root
  pair.AddFolder(Side::Usb, "Data");

  std::vector<std::string> hosts;
  for (const Peer& peer : Peers()) hosts.push_back(peer.host + " " + peer.tarea.Left);
  EXPECT_EQ(hosts, (std::vector<std::string>{"PC1 \\data\\", "PC2 /DATA/", "Q'%\"_ data"}));
}

TEST_F(PeersTest, CountsFollowEachPeersRowsLettersAndMasks) {
  AddTask("NEAR", "NEAR");
  for (const char* name : {"Same.txt", "Fresh.txt", "Notes.tmp", "Sub/Deep.txt"}) {
    pair.AddFile(Side::Usb, Usb(name), 10, kOlder);
  }
  pair.AddFile(Side::Usb, Usb("Grown.txt"), 99, kOlder);
  const auto withRows = [&](const std::string& host, const std::string& leftOpt,
                            const std::string& rightOpt) {
    const std::int64_t id = AddPeer(host, "\\Data", leftOpt, rightOpt);
    for (const char* name : {"same.txt", "GROWN.TXT", "Gone.txt", "Sub\\Gone too.txt"}) {
      db.AddFile({.hostname = host, .task = id, .file = name, .size = "10",
                  .last = "20200101100000"});
    }
    return id;
  };
  withRows("PC2", "NEAR", "NEAR");
  withRows("PC3", "NA", "N");    // no subfolders, no deletions towards its PC
  withRows("PC4", "E", "NR");    // the USB side unlisted: only changes the PC listing finds
  const std::int64_t masked = withRows("PC5", "NEAR", "NEAR");
  db.AddMask(masked, ".tmp", 0);
  db.AddFile({.hostname = "PC5", .task = masked});  // a damaged row
  AddPeer("PC6", "\\Data", "NEAR", "NEAR", "00000000000000");  // never synchronised

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
    EXPECT_EQ(counts(), (std::vector<std::string>{"PC2 3 1 2", "PC3 2 1 0", "PC4 0 1 2",
                                                  "PC5 2 1 2 1 lblPeerDamaged", "PC6 5 0 0"}))
        << source;
  }
  EXPECT_EQ(db.Count("SELECT count(*) FROM FILES"), rowsBefore) << "other computers' rows are only read";

  EXPECT_EQ(LastSyncText(*session, Peers()[4].tarea.LastEXE), "wrdNever");
}

}  // namespace
}  // namespace tandrel::test
