// The command when the host refuses a call: each host call of one run fails
// in turn, and no note may be lost, nor any frame left loaded.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/explodefixture.h"
#include "tests/e2e/explodeoracle.h"

namespace {

using e2e::ExplodeFixture;

class ExplodeFaults : public ExplodeFixture {
 protected:
  // Two staves of chords over two measures, selected from mid-measure on,
  // with articulations inside and outside the selection and a slur.
  void BuildScore() {
    host.document = simhost::Document();
    score.Staves(2).Measures(2);
    ASSERT_TRUE(score.Layer(1, 1, 1, "C4-E4-G4/4@s D4-F4/4@sa A4/4 r/4"));
    ASSERT_TRUE(score.Layer(1, 2, 1, "C4-E4-G4-B4/2 E4-G4/2"));
    ASSERT_TRUE(score.Layer(2, 1, 1, "C3-G3/2 D3-A3/2"));
    ASSERT_TRUE(score.Layer(2, 2, 1, "E3/1"));
    // A slur across the bar line, from inside the selection.
    ASSERT_NE(0, host.document.AddSlur(score.EntryNumber(1, 1, 1, 1), score.EntryNumber(1, 2, 1, 0)));
  }
  EREGION Region() const { return simhost::Document::MakeRegion(1, 2, 1, 2, 1024, kEndOfMeasure); }
};

TEST_F(ExplodeFaults, EveryRefusedCallLosesNoNoteAndFreesEveryFrame) {
  WriteOptions("ZKEXPLODLAYERS_DUPLICATE_UNISONS=1\n");
  BuildScore();
  host.ClearCallLog();
  ASSERT_EQ(1, Explode(Region()));
  const std::size_t calls = host.CallLogSize();
  ASSERT_GT(calls, 20u);
  const auto clean = e2e::TakeStaves(host.document);

  int explodedAsUsual = 0;
  for (std::uint32_t n = 1; n <= calls; ++n) {
    BuildScore();
    const auto before = e2e::TakeStaves(host.document);
    host.ClearCallLog();
    host.ClearFailures();
    host.FailCall("*", n);
    EXPECT_EQ(1, Explode(Region())) << "call " << n;
    const std::string failed = n <= host.CallLogSize() ? host.CallLog()[n - 1] : "none";
    host.ClearFailures();
    EXPECT_EQ(0, host.OutstandingFrames()) << "failing call " << n << " (" << failed << ")";
    for (const auto& staff : before) {
      EXPECT_EQ("", e2e::FindLostNote(host.document, staff)) << "failing call " << n << " (" << failed << ")";
      if (simhost::SnapshotStaff(host.document, staff.staff) == clean[std::size_t(staff.staff - 1)].snapshot)
        ++explodedAsUsual;
    }
  }
  // A failure hits one staff at most: the other is still exploded as usual.
  EXPECT_GT(explodedAsUsual, int(calls) / 2);
}

}  // namespace
