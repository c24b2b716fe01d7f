// Notes as views of the note records of a loaded entry.
#include "tonaroframework/entries/pknote.h"

#include <gtest/gtest.h>

#include "entrytestsupport.h"

namespace {

class PKNoteTest : public EntriesTest {
 protected:
  void SetUp() override { score.Staves(1).Measures(1); }
};

TEST_F(PKNoteTest, PitchComparisonsUseDisplacementThenAlteration) {
  // Note order: D4, Fb4, F4, F#4, F4, C5.
  Music(1, 1, 1, "D4-Fb4-F4-F#4-F4-C5/1");
  LoadedEntries layer(1, 1, 1);
  PKNoteEntry* chord = layer[0];
  struct Case {
    int first, second;
    bool higher, lower;
  } cases[] = {
      {5, 0, true, false},   // C5 above D4
      {0, 5, false, true},
      {3, 1, true, false},   // same step: the greater alteration is higher
      {1, 3, false, true},
      {2, 4, false, false},  // equal in both: neither
      {1, 0, true, false},   // displacement decides before alteration
  };
  for (const Case& c : cases) {
    PKNote* first = NoteAt(chord, c.first);
    PKNote* second = NoteAt(chord, c.second);
    EXPECT_EQ(first->IsHigherPitchThan(second), c.higher) << c.first << " vs " << c.second;
    EXPECT_EQ(first->IsLowerPitchThan(second), c.lower) << c.first << " vs " << c.second;
  }
}

TEST_F(PKNoteTest, AccessorsWriteTheRecordInPlace) {
  Music(1, 1, 1, "C4-E4/1");
  LoadedEntries layer(1, 1, 1);
  PKNote* note = NoteAt(layer[0], 1);
  EXPECT_STREQ(note->ClassName(), "PKNote");
  const std::uint32_t flags = note->GetNoteRecord()->flags;
  note->SetDisplacement(-3);
  note->SetRaiseLower(-2);
  note->SetTie(true);
  const EXNOTE& record = layer[0]->GetRecord()->notes[1];
  EXPECT_EQ(record.displacement, -3);
  EXPECT_EQ(record.raiseLower, -2);
  EXPECT_EQ(std::uint32_t(record.flags), flags | kNoteTieFlag);
  EXPECT_TRUE(note->GetTie());
  note->SetTie(false);
  EXPECT_EQ(std::uint32_t(record.flags), flags & ~kNoteTieFlag);
  EXPECT_EQ(note->GetNoteID(), 2);
  EXPECT_EQ(note->_GetEntryNumber(), layer[0]->GetEntryNumber());
  EXPECT_NE(note->_GetEntryNumber(), 0u);
}

TEST_F(PKNoteTest, EntryFlagHelpersSetOneBitOfTheOwningEntry) {
  Music(1, 1, 1, "C4/1");
  LoadedEntries layer(1, 1, 1);
  PKNote* note = NoteAt(layer[0], 0);
  EXENTRY* record = layer[0]->GetRecord();
  const std::uint32_t before = record->flags;
  const struct {
    void (PKNote::*set)(bool);
    std::uint32_t bit;
  } helpers[] = {{&PKNote::_SetNoteDetailEntryFlag, kEntryNoteDetailFlag},
                 {&PKNote::_SetSpecialAltsEntryFlag, kEntrySpecialAltsFlag},
                 {&PKNote::_SetPerformanceDataEntryFlag, kEntryPerformanceFlag},
                 {&PKNote::_SetArticulationEntryFlag, kEntryArticulationFlag}};
  for (const auto& helper : helpers) {
    (note->*helper.set)(true);
    EXPECT_EQ(std::uint32_t(record->flags), before | helper.bit);
    (note->*helper.set)(false);
    EXPECT_EQ(std::uint32_t(record->flags), before & ~helper.bit);
  }
  note->_SetNoteDetailEntryFlag(true);
  note->_SetSpecialAltsEntryFlag(true);
  note->_SetPerformanceDataEntryFlag(true);
  EXPECT_TRUE(note->_GetNoteDetailEntryFlag());
  EXPECT_TRUE(note->_GetSpecialAltsEntryFlag());
  EXPECT_TRUE(note->_GetPerformanceDataEntryFlag());
  EXPECT_TRUE(layer[0]->IsNote());
}

}  // namespace
