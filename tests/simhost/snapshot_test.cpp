// Staff snapshots: equal while nothing of the staff changes, and naming what did.
#include "simhost/snapshot.h"

#include <gtest/gtest.h>

#include "simhost/scorebuilder.h"

namespace {

class Snapshot : public ::testing::Test {
 protected:
  void SetUp() override {
    score.Staves(2).Measures(2);
    ASSERT_TRUE(score.Layer(1, 1, 1, "{3:2 C4/8 D4 E4@s} F4/4 G4/2"));
    ASSERT_TRUE(score.Layer(1, 2, 1, "C4/1"));
    ASSERT_TRUE(score.Layer(2, 1, 1, "C3/1"));
    ASSERT_NE(document.AddSlur(score.EntryNumber(1, 1, 1, 3), score.EntryNumber(1, 2, 1, 0)), 0);
  }
  simhost::Document document;
  simhost::ScoreBuilder score{document};
};

TEST_F(Snapshot, HoldsTheStaffsEntriesAndRecords) {
  const simhost::StaffSnapshot snapshot = simhost::SnapshotStaff(document, 1);
  for (const char* part : {"entries m1 l0", "entries m2 l0", "record SOIS 1/0", "record SDGF 1/2/0"})
    EXPECT_EQ(snapshot.parts.count(part), 1u) << part;
  const std::int32_t tupletEntry = score.EntryNumber(1, 1, 1, 0);
  EXPECT_EQ(snapshot.parts.count("record E\\3TP " + std::to_string(tupletEntry) + "/0"), 1u);
  std::size_t shapeParts = 0;
  for (const auto& part : snapshot.parts) shapeParts += part.first.find("record O\\8Sx") == 0 ? 1 : 0;
  EXPECT_EQ(shapeParts, 1u);
  EXPECT_EQ(simhost::SnapshotStaff(document, 2).parts.count("record O\\8Sx 1/0"), 0u);
  EXPECT_TRUE(simhost::SnapshotStaff(document, 3).parts.empty());
}

TEST_F(Snapshot, ChangesToTheStaffShowAndOthersDoNot) {
  const simhost::StaffSnapshot before = simhost::SnapshotStaff(document, 1);
  ASSERT_TRUE(score.Layer(2, 2, 1, "D3/1"));  // another staff
  document.AddArticulation(score.EntryNumber(2, 1, 1, 0), 1);
  EXPECT_EQ(simhost::SnapshotStaff(document, 1), before);

  ASSERT_TRUE(score.Layer(1, 2, 2, "r/1"));
  EXPECT_EQ(simhost::DescribeDifferences(before, simhost::SnapshotStaff(document, 1)), "added: entries m2 l1\n");

  simhost::EntryPlace place{{1, 1, 0}, 3};
  EXENTRY entry = document.Entries(1, 1, 0)[3];
  entry.notes[0].raiseLower = 1;
  ASSERT_TRUE(document.UpdateEntry(place, entry));
  const std::string changes = simhost::DescribeDifferences(before, simhost::SnapshotStaff(document, 1));
  EXPECT_NE(changes.find("changed: entries m1 l0\n"), std::string::npos);
  EXPECT_NE(simhost::SnapshotStaff(document, 1), before);
}

}  // namespace
