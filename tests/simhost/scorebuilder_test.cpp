// The test notation: what it stores and how it reads back.
#include "simhost/scorebuilder.h"

#include <gtest/gtest.h>

#include "simhost/pitch.h"

// Packed host fields are compared as values, +(field): the checks take
// references, which a packed field at an odd address cannot give.
namespace {

class ScoreBuilder : public ::testing::Test {
 protected:
  void SetUp() override {
    score.Staves(2).Measures(2);
    document.AddMeasure(simhost::TimeSignature(), simhost::MakeKeyValue(1));  // measure 3: G major
  }
  simhost::Document document;
  simhost::ScoreBuilder score{document};
};

TEST_F(ScoreBuilder, StoresChordsRestsAndValues) {
  ASSERT_TRUE(score.Layer(1, 1, 1, "C4-E4-G4/4 r/8. D4/16 F#4/2"));
  const auto& entries = score.Entries(1, 1, 1);
  ASSERT_EQ(entries.size(), 4u);

  const EXENTRY& chord = entries[0];
  EXPECT_EQ(chord.duration, 1024);
  EXPECT_EQ(+(chord.measurePos), 0);
  EXPECT_EQ(+(chord.flags), kEntryNoteFlag);
  ASSERT_EQ(chord.noteCount, 3);
  for (std::int16_t n = 0; n < 3; ++n) {
    EXPECT_EQ(chord.notes[n].displacement, 2 * n);
    EXPECT_EQ(chord.notes[n].noteID, n + 1);
    EXPECT_EQ(+(chord.notes[n].flags), kNoteCreatedFlag | (std::uint32_t(n + 1) << 16));
  }
  EXPECT_NE(+(chord.entryNumber), 0u);

  EXPECT_EQ(+(entries[1].flags), 0u);
  EXPECT_EQ(entries[1].noteCount, 0);
  EXPECT_EQ(entries[1].duration, 768);
  EXPECT_EQ(+(entries[1].measurePos), 1024);
  EXPECT_EQ(+(entries[2].measurePos), 1792);
  EXPECT_EQ(+(entries[3].measurePos), 2048);
  EXPECT_EQ(entries[3].notes[0].displacement, 3);
  EXPECT_EQ(entries[3].notes[0].raiseLower, 1);
  EXPECT_EQ(score.Describe(1, 1, 1), "C4-E4-G4/4 r/8. D4/16 F#4/2");
  EXPECT_EQ(score.EntryNumber(1, 1, 1, 3), std::int32_t(entries[3].entryNumber));
  EXPECT_EQ(score.EntryNumber(1, 1, 1, 4), 0);
}

TEST_F(ScoreBuilder, SpellsInTheKeyOfTheMeasureAndUsesTheCellsClef) {
  ASSERT_TRUE(document.SetClef(2, 3, simhost::kClefBass));
  ASSERT_TRUE(score.Layer(2, 3, 2, "G4 F#4 F4"));
  const auto& entries = score.Entries(2, 3, 2);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].notes[0].displacement, 0);
  EXPECT_EQ(entries[1].notes[0].raiseLower, 0);
  EXPECT_EQ(entries[2].notes[0].raiseLower, -1);
  EXPECT_EQ(entries[2].clefIndex, simhost::kClefBass);
  EXPECT_EQ(+(entries[2].measurePos), 2048);  // the value carries on: quarters
  EXPECT_EQ(score.Describe(2, 3, 2), "G4/4 F#4/4 F4/4");
  EXPECT_TRUE(score.Entries(2, 3, 1).empty());
}

TEST_F(ScoreBuilder, PlacesTupletsAndGraceNotesInTime) {
  ASSERT_TRUE(score.Layer(1, 2, 1, "gA4/8 {3:2 C4/8 D4 E4} {3:2/8 F4/4 G4/8} r/2"));
  const auto& entries = score.Entries(1, 2, 1);
  ASSERT_EQ(entries.size(), 7u);
  const std::int32_t positions[] = {0, 0, 341, 682, 1024, 1706, 2048};
  for (std::size_t i = 0; i < entries.size(); ++i) EXPECT_EQ(std::int32_t(entries[i].measurePos), positions[i]) << i;
  EXPECT_NE(entries[0].flags & kEntryGraceFlag, 0u);
  EXPECT_NE(entries[1].flags & kEntryTupletFlag, 0u);
  EXPECT_EQ(entries[2].flags & kEntryTupletFlag, 0u);
  EXPECT_NE(entries[4].flags & kEntryTupletFlag, 0u);

  const std::vector<TupletInfo> items = document.TupletItems(entries);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].firstEntry, 1);
  EXPECT_EQ(items[0].lastEntry, 3);
  EXPECT_EQ(items[1].firstEntry, 4);
  EXPECT_EQ(items[1].lastEntry, 5);
  EXPECT_EQ(score.Describe(1, 2, 1), "gA4/8 {3:2/8 C4/8 D4/8 E4/8} {3:2/8 F4/4 G4/8} r/2");
}

TEST_F(ScoreBuilder, NestedTupletsShareTheirFirstEntryOuterFirst) {
  // A triplet of quarters inside a triplet of quarters: the inner one takes
  // two of the outer's three quarters, so the outer ends at F4, not at E4.
  ASSERT_TRUE(score.Layer(1, 1, 1, "{3:2 {3:2 C4/4 D4 E4} F4/4} G4/2"));
  const auto& entries = score.Entries(1, 1, 1);
  const std::vector<TupletInfo> items = document.TupletItems(entries);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].inci, 0);
  EXPECT_EQ(items[0].lastEntry, 3);
  EXPECT_EQ(items[1].inci, 1);
  EXPECT_EQ(items[1].lastEntry, 2);
  EXPECT_EQ(std::int32_t(entries[3].measurePos), 1365);  // three quarters at 2/3 of 2/3
  EXPECT_EQ(+(entries[4].measurePos), 2048);
  EXPECT_EQ(simhost::Document::ElapsedDuration(entries, items), 4096);
  EXPECT_EQ(score.Describe(1, 1, 1), "{3:2/4 {3:2/4 C4/4 D4/4 E4/4} F4/4} G4/2");
}

TEST_F(ScoreBuilder, TiesAndArticulations) {
  ASSERT_TRUE(score.Layer(1, 1, 1, "C4~-E4/2@s C4-E4/4@sa r/4@t"));
  const auto& entries = score.Entries(1, 1, 1);
  EXPECT_NE(entries[0].notes[0].flags & kNoteTieFlag, 0u);
  EXPECT_EQ(entries[0].notes[1].flags & kNoteTieFlag, 0u);
  EXPECT_NE(entries[0].flags & kEntryArticulationFlag, 0u);
  const auto marks = document.Articulations(std::int32_t(entries[1].entryNumber));
  ASSERT_EQ(marks.size(), 2u);
  EXPECT_EQ(document.ArticulationKindOfDefinition(marks[0]), simhost::ArticulationKind::kStaccato);
  EXPECT_EQ(document.ArticulationKindOfDefinition(marks[1]), simhost::ArticulationKind::kAccent);
  EXPECT_EQ(document.Articulations(std::int32_t(entries[0].entryNumber))[0], marks[0]);  // one definition per kind
  EXPECT_EQ(score.Describe(1, 1, 1), "C4~-E4/2@s C4-E4/4@sa r/4@t");
}

TEST_F(ScoreBuilder, RefusesBadNotationAndStoresNothing) {
  ASSERT_TRUE(score.Layer(1, 1, 1, "C4/1"));
  const char* bad[] = {"C4/3", "H4", "C4-", "{3:2 C4/8 D4", "C4}", "{3 C4}", "C4@x", "C4/4 r/7"};
  for (const char* notation : bad) {
    EXPECT_FALSE(score.Layer(1, 1, 1, notation)) << notation;
    EXPECT_FALSE(score.LastError().empty());
    EXPECT_EQ(score.Describe(1, 1, 1), "C4/1") << notation;
  }
  EXPECT_FALSE(score.Layer(3, 1, 1, "C4"));
  EXPECT_FALSE(score.Layer(1, 4, 1, "C4"));
  EXPECT_FALSE(score.Layer(1, 1, 0, "C4"));
  EXPECT_TRUE(score.Layer(1, 1, 1, ""));  // an empty layer
  EXPECT_TRUE(score.Entries(1, 1, 1).empty());
}

TEST(ScoreValues, DurationsAndValueTokens) {
  struct Case {
    const char* value;
    std::int32_t duration;
  };
  const Case cases[] = {{"1", 4096}, {"2.", 3072}, {"4", 1024}, {"4..", 1792}, {"8", 512}, {"128", 32}};
  for (const Case& c : cases) {
    EXPECT_EQ(simhost::DurationOfValue(c.value), c.duration) << c.value;
    EXPECT_EQ(simhost::ValueOfDuration(c.duration), c.value);
  }
  EXPECT_EQ(simhost::DurationOfValue("5"), 0);
  EXPECT_EQ(simhost::ValueOfDuration(1000), "");
}

}  // namespace
