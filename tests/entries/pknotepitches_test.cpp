// Detached note pitches and their collection.
#include "tonaroframework/entries/pknotepitches.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "entrytestsupport.h"

namespace {

class PKNotePitchesTest : public EntriesTest {
 protected:
  void SetUp() override { score.Staves(1).Measures(1); }
};

TEST_F(PKNotePitchesTest, APitchIsADetachedCopyOfTheWholeRecord) {
  Music(1, 1, 1, "C4-Bb4/1");
  LoadedEntries layer(1, 1, 1);
  PKNote* note = NoteAt(layer[0], 1);
  PKNotePitch pitch(note);
  EXPECT_STREQ(pitch.ClassName(), "PKNotePitch");
  EXPECT_EQ(pitch.GetEntry(), nullptr);
  EXPECT_EQ(pitch.GetIndex(), 0);
  EXPECT_EQ(pitch._GetEntryNumber(), 0u);
  EXPECT_EQ(std::memcmp(pitch.GetNoteRecord(), note->GetNoteRecord(), sizeof(EXNOTE)), 0);
  // Changing the copy leaves the note alone, and the other way round.
  pitch.SetDisplacement(9);
  note->SetRaiseLower(0);
  EXPECT_EQ(note->GetDisplacement(), 6);
  EXPECT_EQ(pitch.GetRaiseLower(), -1);
  // A pitch has no entry whose flags it could set.
  pitch._SetArticulationEntryFlag(true);
  EXPECT_FALSE(pitch._GetNoteDetailEntryFlag());
}

TEST_F(PKNotePitchesTest, AddFromEntryAppendsEveryNoteOfNoteEntries) {
  Music(1, 1, 1, "C4-E4/4 r/4 G4/2");
  LoadedEntries layer(1, 1, 1);
  PKNotePitches pitches;
  EXPECT_STREQ(pitches.ClassName(), "PKNotePitches");
  pitches.AddFromEntry(layer[0]);
  pitches.AddFromEntry(layer[1]);
  pitches.AddFromEntry(nullptr);
  pitches.AddFromEntry(layer[2]);
  ASSERT_EQ(pitches.GetCount(), 3);
  const int expected[] = {0, 2, 4};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(static_cast<PKNote*>(pitches.GetItemAt(i))->GetDisplacement(), expected[i]);
  // The pitches outlive the entries they were taken from.
  layer.entries.ClearAll();
  EXPECT_EQ(static_cast<PKNote*>(pitches.GetItemAt(2))->GetDisplacement(), 4);
}

}  // namespace
