// Note entries over frames loaded from the substitute host.
#include "tonaroframework/entries/pknoteentry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "entrytestsupport.h"
#include "tonaroframework/entries/pknotepitches.h"
#include "tonaropdk/hkservices.h"

namespace {

using Ints = std::vector<int>;

class PKNoteEntryTest : public EntriesTest {
 protected:
  void SetUp() override { score.Staves(2).Measures(4); }
};

TEST_F(PKNoteEntryTest, NoteObjectsViewTheNoteRecordsInOrder) {
  Music(1, 1, 1, "C4-E4-G4/4 r/4 D4/2");
  LoadedEntries layer(1, 1, 1);
  ASSERT_EQ(layer.Count(), 3);
  PKNoteEntry* chord = layer[0];
  EXPECT_STREQ(chord->ClassName(), "PKNoteEntry");
  EXPECT_TRUE(chord->IsNote());
  EXPECT_EQ(chord->GetCount(), chord->GetRecord()->noteCount);
  EXPECT_EQ(Displacements(chord), (Ints{0, 2, 4}));
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(NoteAt(chord, i)->GetIndex(), i);
    EXPECT_EQ(NoteAt(chord, i)->GetEntry(), chord);
    EXPECT_EQ(NoteAt(chord, i)->GetNoteRecord(), &chord->GetRecord()->notes[i]);
  }
  EXPECT_TRUE(layer[1]->IsRest());
  EXPECT_EQ(layer[1]->GetCount(), 0);
  EXPECT_EQ(layer[2]->GetMeasurePos(), 2048);
  EXPECT_EQ(layer[2]->GetDuration(), 2048);
  EXPECT_EQ(layer[2]->GetMeasure(), 1);
  EXPECT_EQ(layer[2]->GetStaff(), 1);
  EXPECT_NE(layer[2]->GetEntryNumber(), 0u);
}

TEST_F(PKNoteEntryTest, NoteCollectionNeverReachesPastTwelveRecords) {
  Music(1, 1, 1, "C4-E4/1");
  LoadedEntries layer(1, 1, 1);
  PKNoteEntry* entry = layer[0];
  entry->GetRecord()->noteCount = 40;
  entry->_UpdateNoteCollection();
  EXPECT_EQ(entry->GetCount(), 12);
  entry->GetRecord()->noteCount = -3;
  entry->_UpdateNoteCollection();
  EXPECT_EQ(entry->GetCount(), 0);
}

// FindLowestNote / FindHighestNote over chords, with the tie rules.
struct PitchSearchCase {
  const char* chord;
  int lowest;   // index of the note FindLowestNote(null) answers
  int highest;  // index of the note FindHighestNote(null) answers
};

TEST_F(PKNoteEntryTest, LowestAndHighestNoteFollowPitchThenAlteration) {
  const PitchSearchCase cases[] = {
      {"C4-E4-G4/1", 0, 2},
      {"G4-C4-E4/1", 1, 0},
      {"Fb4-F#4/1", 0, 1},  // same step: the lower alteration is lower
      {"F#4-Fb4/1", 1, 0},
      {"E4-E4/1", 0, 0},    // a full tie keeps the earlier note both ways
      {"D4/1", 0, 0},
  };
  for (const PitchSearchCase& c : cases) {
    SCOPED_TRACE(c.chord);
    Music(1, 1, 1, c.chord);
    LoadedEntries layer(1, 1, 1);
    PKNoteEntry* entry = layer[0];
    EXPECT_EQ(entry->FindLowestNote(nullptr), NoteAt(entry, c.lowest));
    EXPECT_EQ(entry->FindHighestNote(nullptr), NoteAt(entry, c.highest));
    EXPECT_EQ(entry->CalcLowestNote(), NoteAt(entry, c.lowest));
    EXPECT_EQ(entry->CalcHighestNote(), NoteAt(entry, c.highest));
  }
}

TEST_F(PKNoteEntryTest, BoundedSearchesStepThroughTheChord) {
  Music(1, 1, 1, "C4-E4-G4/2 E4-E4/2");
  LoadedEntries layer(1, 1, 1);
  PKNoteEntry* chord = layer[0];
  PKNote* c = NoteAt(chord, 0);
  PKNote* e = NoteAt(chord, 1);
  PKNote* g = NoteAt(chord, 2);
  EXPECT_EQ(chord->FindLowestNote(c), e);
  EXPECT_EQ(chord->FindLowestNote(e), g);
  EXPECT_EQ(chord->FindLowestNote(g), nullptr);
  EXPECT_EQ(chord->FindHighestNote(g), e);
  EXPECT_EQ(chord->FindHighestNote(c), nullptr);

  // A pitch held twice is visited once when walking up from the bottom.
  PKNoteEntry* unison = layer[1];
  PKNote* first = unison->FindLowestNote(nullptr);
  EXPECT_EQ(first, NoteAt(unison, 0));
  EXPECT_EQ(unison->FindLowestNote(first), nullptr);
}

TEST_F(PKNoteEntryTest, SearchesOfARestFindNothing) {
  Music(1, 1, 1, "r/1");
  LoadedEntries layer(1, 1, 1);
  PKNoteEntry* rest = layer[0];
  EXPECT_EQ(rest->CalcLowestNote(), nullptr);
  EXPECT_EQ(rest->CalcHighestNote(), nullptr);
  EXPECT_EQ(rest->FindLowestNote(nullptr), nullptr);
  EXPECT_EQ(rest->FindDisplacement(0), nullptr);
  EXPECT_EQ(rest->CalcHighestDisplacement(), 0);
  EXPECT_EQ(rest->CalcDisplacementRange(), 0);
}

TEST_F(PKNoteEntryTest, DisplacementQueries) {
  Music(1, 1, 1, "B3-E4-E4/2 A3-B3/2");
  LoadedEntries layer(1, 1, 1);
  PKNoteEntry* chord = layer[0];
  EXPECT_EQ(chord->CalcHighestDisplacement(), 2);
  EXPECT_EQ(chord->CalcDisplacementRange(), 3);
  EXPECT_EQ(chord->FindDisplacement(2), NoteAt(chord, 1));  // the first of the two
  EXPECT_EQ(chord->FindDisplacement(5), nullptr);
  EXPECT_EQ(layer[1]->CalcHighestDisplacement(), -1);       // all below the tonic
}

TEST_F(PKNoteEntryTest, DeleteNoteOfAChordKeepsTheOthersAsTheyWere) {
  Music(1, 1, 1, "C4-E4-G4/1");
  LoadedEntries layer(1, 1, 1);
  PKNoteEntry* chord = layer[0];
  chord->GetRecord()->notes[2].flags |= kNoteAccidentalFlag;
  const EXNOTE lowest = chord->GetRecord()->notes[0];
  const EXNOTE highest = chord->GetRecord()->notes[2];

  EXPECT_TRUE(chord->DeleteNote(NoteAt(chord, 1)));
  EXPECT_TRUE(chord->IsNote());
  EXPECT_EQ(chord->GetRecord()->noteCount, 2);
  ASSERT_EQ(chord->GetCount(), 2);
  EXPECT_EQ(std::memcmp(&chord->GetRecord()->notes[0], &lowest, sizeof(EXNOTE)), 0);
  EXPECT_EQ(std::memcmp(&chord->GetRecord()->notes[1], &highest, sizeof(EXNOTE)), 0);
  EXPECT_EQ(NoteIDs(chord), (Ints{1, 3}));
  EXPECT_EQ(NoteAt(chord, 1)->GetIndex(), 1);

  ASSERT_TRUE(layer.Save());
  EXPECT_EQ(score.Describe(1, 1, 1), "C4-G4/1");
}

TEST_F(PKNoteEntryTest, DeletingTheLastNoteMakesARest) {
  Music(1, 1, 1, "D4/2 E4/2");
  LoadedEntries layer(1, 1, 1);
  PKNoteEntry* entry = layer[0];
  entry->GetRecord()->flags |=
      kEntryNoteDetailFlag | kEntrySpecialAltsFlag | kEntryArticulationFlag | kEntryTupletFlag;
  EXPECT_TRUE(entry->DeleteNote(NoteAt(entry, 0)));
  EXPECT_TRUE(entry->IsRest());
  EXPECT_EQ(entry->GetCount(), 0);
  EXPECT_EQ(entry->GetRecord()->noteCount, 0);
  EXPECT_EQ(entry->GetRecord()->flags & (kEntryNoteDetailFlag | kEntrySpecialAltsFlag | kEntryArticulationFlag),
            0u);
  EXPECT_NE(entry->GetRecord()->flags & kEntryTupletFlag, 0u);
  EXPECT_EQ(entry->GetDuration(), 2048);
}

TEST_F(PKNoteEntryTest, DeleteNoteRefusesANoteOfAnotherEntry) {
  Music(1, 1, 1, "C4-E4/2 G4/2");
  LoadedEntries layer(1, 1, 1);
  EXPECT_FALSE(layer[0]->DeleteNote(NoteAt(layer[1], 0)));
  EXPECT_FALSE(layer[0]->DeleteNote(nullptr));
  EXPECT_EQ(layer[0]->GetCount(), 2);
  EXPECT_EQ(layer[1]->GetCount(), 1);
  EXPECT_TRUE(layer[1]->IsNote());
}

TEST_F(PKNoteEntryTest, AddNewNoteTakesTheSmallestFreeID) {
  Music(1, 1, 1, "C4-E4/2 C4-E4/2");
  LoadedEntries layer(1, 1, 1);
  PKNoteEntry* entry = layer[0];
  entry->GetRecord()->notes[1].noteID = 3;
  PKNote* added = entry->AddNewNote();
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(added->GetNoteID(), 2);
  EXPECT_EQ(added->GetIndex(), 2);
  EXPECT_EQ(added->GetDisplacement(), 0);
  EXPECT_EQ(std::uint32_t(added->GetNoteRecord()->flags), kNoteCreatedFlag);
  EXPECT_EQ(entry->GetCount(), 3);
  EXPECT_EQ(entry->GetRecord()->noteCount, 3);
  // IDs 1, 2, 3 are taken now: the next one is 4, found after restarting the search.
  layer[1]->GetRecord()->notes[0].noteID = 2;
  layer[1]->GetRecord()->notes[1].noteID = 1;
  EXPECT_EQ(layer[1]->AddNewNote()->GetNoteID(), 3);
  EXPECT_EQ(entry->AddNewNote()->GetNoteID(), 4);
}

TEST_F(PKNoteEntryTest, AddNewNoteStopsAtTwelveNotesAndOnRests) {
  Music(1, 1, 1, "C4-D4-E4-F4-G4-A4-B4-C5-D5-E5-F5-G5/2 r/2");
  LoadedEntries layer(1, 1, 1);
  PKNoteEntry* full = layer[0];
  ASSERT_EQ(full->GetCount(), 12);
  const EXENTRY before = *full->GetRecord();
  EXPECT_EQ(full->AddNewNote(), nullptr);
  EXPECT_EQ(full->GetCount(), 12);
  EXPECT_EQ(std::memcmp(&before, full->GetRecord(), sizeof(EXENTRY)), 0);
  EXPECT_EQ(layer[1]->AddNewNote(), nullptr);
  EXPECT_EQ(layer[1]->GetRecord()->noteCount, 0);
}

TEST_F(PKNoteEntryTest, AddPitchCopiesPitchOnlyIntoNoteEntries) {
  Music(1, 1, 1, "C4/2 r/2");
  Music(1, 2, 1, "F#4/1");
  LoadedEntries layer(1, 1, 2);
  PKNote* sharp = NoteAt(layer[2], 0);
  EXPECT_TRUE(layer[0]->AddPitch(sharp));
  ASSERT_EQ(layer[0]->GetCount(), 2);
  EXPECT_EQ(NoteAt(layer[0], 1)->GetDisplacement(), 3);
  EXPECT_EQ(NoteAt(layer[0], 1)->GetRaiseLower(), 1);
  EXPECT_EQ(NoteAt(layer[0], 1)->GetNoteID(), 2);
  EXPECT_FALSE(layer[1]->AddPitch(sharp));
  EXPECT_FALSE(layer[0]->AddPitch(nullptr));
}

TEST_F(PKNoteEntryTest, ClearPitchesLeavesTheKindOfEntry) {
  Music(1, 1, 1, "C4-E4/1");
  LoadedEntries layer(1, 1, 1);
  layer[0]->ClearPitches();
  EXPECT_EQ(layer[0]->GetCount(), 0);
  EXPECT_EQ(layer[0]->GetRecord()->noteCount, 0);
  EXPECT_TRUE(layer[0]->IsNote());
}

TEST_F(PKNoteEntryTest, CopyNoteLeavesOneNoteWithID1) {
  Music(1, 1, 1, "C4-E4-G4/2 D4-A4/2");
  LoadedEntries layer(1, 1, 1);
  PKNoteEntry* target = layer[0];
  PKNote* source = NoteAt(layer[1], 1);  // A4, ID 2
  source->SetTie(true);
  target->CopyNote(source);
  ASSERT_EQ(target->GetCount(), 1);
  EXPECT_EQ(target->GetRecord()->noteCount, 1);
  EXPECT_EQ(NoteAt(target, 0)->GetDisplacement(), 5);
  EXPECT_EQ(NoteAt(target, 0)->GetNoteID(), 1);
  EXPECT_TRUE(NoteAt(target, 0)->GetTie());
  // The copied note may be one of the entry's own.
  layer[1]->CopyNote(NoteAt(layer[1], 1));
  EXPECT_EQ(Displacements(layer[1]), (Ints{5}));
  EXPECT_EQ(NoteIDs(layer[1]), (Ints{1}));
}

TEST_F(PKNoteEntryTest, CopyNotesAndCopyEntry) {
  Music(1, 1, 1, "C4-E4-G4/2 r/4 D4/4");
  LoadedEntries layer(1, 1, 1);
  PKNoteEntry* chord = layer[0];
  PKNoteEntry* rest = layer[1];
  PKNoteEntry* single = layer[2];
  chord->GetRecord()->notes[1].noteID = 7;

  single->CopyNotes(chord);
  EXPECT_EQ(single->GetRecord()->noteCount, 3);
  EXPECT_EQ(std::memcmp(single->GetRecord()->notes, chord->GetRecord()->notes, 3 * sizeof(EXNOTE)), 0);
  EXPECT_EQ(NoteIDs(single), (Ints{1, 7, 3}));
  EXPECT_EQ(single->GetDuration(), 1024);  // duration untouched

  rest->CopyEntry(chord);
  EXPECT_TRUE(rest->IsNote());
  EXPECT_EQ(rest->GetDuration(), 2048);
  EXPECT_EQ(Displacements(rest), (Ints{0, 2, 4}));
  EXPECT_NE(rest->GetRecord()->flags & kEntryCopyMark, 0u);

  Music(1, 2, 1, "r/1");
  LoadedEntries other(1, 2, 2);
  chord->CopyEntry(other[0]);
  EXPECT_TRUE(chord->IsRest());
  EXPECT_EQ(chord->GetCount(), 0);
  EXPECT_EQ(chord->GetDuration(), 4096);
}

TEST_F(PKNoteEntryTest, MakeRestKeepsDurationTupletFlagAndEntryNumber) {
  Music(1, 1, 1, "{3:2 D4-F4/8 E4 F4} G4/4 r/2");
  LoadedEntries layer(1, 1, 1);
  PKNoteEntry* entry = layer[0];
  const std::uint32_t number = entry->GetEntryNumber();
  entry->GetRecord()->flags |= kEntryNoteDetailFlag | kEntryArticulationFlag | kEntrySpecialAltsFlag;
  entry->MakeRest();
  EXPECT_TRUE(entry->IsRest());
  EXPECT_EQ(entry->GetCount(), 0);
  EXPECT_EQ(entry->GetRecord()->noteCount, 0);
  EXPECT_TRUE(entry->GetTupletStartFlag());
  EXPECT_FALSE(entry->GetArticulationFlag());
  EXPECT_EQ(entry->GetRecord()->flags & (kEntryNoteDetailFlag | kEntrySpecialAltsFlag), 0u);
  EXPECT_EQ(entry->GetDuration(), 512);
  EXPECT_EQ(entry->GetEntryNumber(), number);
}

TEST_F(PKNoteEntryTest, MakeNoteZeroesTheFirstNote) {
  Music(1, 1, 1, "r/2 E4-G4/2");
  LoadedEntries layer(1, 1, 1);
  PKNoteEntry* rest = layer[0];
  rest->MakeNote();
  EXPECT_TRUE(rest->IsNote());
  ASSERT_EQ(rest->GetCount(), 1);
  EXPECT_EQ(rest->GetRecord()->noteCount, 1);
  EXPECT_EQ(std::uint32_t(NoteAt(rest, 0)->GetNoteRecord()->flags), kNoteCreatedFlag);
  EXPECT_EQ(NoteAt(rest, 0)->GetDisplacement(), 0);

  PKNoteEntry* chord = layer[1];
  chord->MakeNote();
  EXPECT_EQ(Displacements(chord), (Ints{0, 4}));
  EXPECT_EQ(NoteIDs(chord), (Ints{0, 2}));
}

TEST_F(PKNoteEntryTest, MakeMovableRestGivesARestItsMovableRecord) {
  Music(1, 1, 1, "r/2 r/2");
  LoadedEntries layer(1, 1, 1);
  PKNoteEntry* bare = layer[0];
  EXPECT_FALSE(bare->IsRestMovable());
  bare->MakeMovableRest();
  ASSERT_EQ(bare->GetCount(), 1);
  EXPECT_EQ(bare->GetRecord()->noteCount, 1);
  const EXNOTE& record = bare->GetRecord()->notes[0];
  EXPECT_EQ(record.noteID, kMovableRestNoteID);
  EXPECT_EQ(record.displacement, 0);
  EXPECT_EQ(std::uint32_t(record.flags), kNoteCreatedFlag);
  EXPECT_TRUE(bare->IsRest());
  EXPECT_TRUE(bare->IsRestMovable());

  // A rest that already has its note record keeps it, alteration included.
  PKNoteEntry* normalised = layer[1];
  EXENTRY* rest = normalised->GetRecord();
  rest->noteCount = 1;
  rest->notes[0] = EXNOTE{-4, 2, 1, 0x80010000u};
  rest->flags |= kEntryRestRecordFlag;
  normalised->_UpdateNoteCollection();
  normalised->MakeMovableRest();
  EXPECT_EQ(rest->noteCount, 1);
  EXPECT_EQ(rest->notes[0].noteID, kMovableRestNoteID);
  EXPECT_EQ(rest->notes[0].displacement, 0);
  EXPECT_EQ(rest->notes[0].raiseLower, 2);
  EXPECT_EQ(rest->flags & kEntryRestRecordFlag, 0u);
  EXPECT_TRUE(normalised->IsRestMovable());
}

TEST_F(PKNoteEntryTest, ANoteEntryIsNeverAMovableRest) {
  Music(1, 1, 1, "C4/1");
  LoadedEntries layer(1, 1, 1);
  layer[0]->GetRecord()->notes[0].noteID = kMovableRestNoteID;
  EXPECT_FALSE(layer[0]->IsRestMovable());
}

TEST_F(PKNoteEntryTest, IsDottedKnowsTheTwelveUndottedValues) {
  Music(1, 1, 1, "C4/1");
  LoadedEntries layer(1, 1, 1);
  PKNoteEntry* entry = layer[0];
  const struct {
    std::int16_t duration;
    bool dotted;
  } cases[] = {{8192, false}, {4096, false}, {1024, false}, {8, false}, {4, false},
               {1536, true},  {0, true},     {2, true},     {3072, true}, {1000, true}};
  for (const auto& c : cases) {
    entry->SetDuration(c.duration);
    EXPECT_EQ(entry->IsDotted(), c.dotted) << c.duration;
  }
}

TEST_F(PKNoteEntryTest, GraceNoteIndexCountsGraceNotesBeforeItInItsMeasure) {
  Music(1, 1, 1, "C4/2 C4/4. gD5/8 gE5/8");
  Music(1, 2, 1, "gC5/8 gD5/8 gE5/8 F4/1");
  LoadedEntries layer(1, 1, 2);
  ASSERT_EQ(layer.Count(), 8);
  EXPECT_EQ(layer[1]->CalcGraceNoteIndex(), -1);
  EXPECT_EQ(layer[2]->CalcGraceNoteIndex(), 0);
  EXPECT_EQ(layer[3]->CalcGraceNoteIndex(), 1);
  EXPECT_EQ(layer[4]->CalcGraceNoteIndex(), 0);  // the grace note before it is in measure 1
  EXPECT_EQ(layer[6]->CalcGraceNoteIndex(), 2);
  EXPECT_EQ(layer[7]->CalcGraceNoteIndex(), -1);
}

TEST_F(PKNoteEntryTest, TieQueries) {
  Music(1, 1, 1, "C4-E4~/2 C4~-E4~/2");
  Music(1, 2, 1, "C4~-E4/1");
  Music(1, 4, 1, "C4/1");
  LoadedEntries layer(1, 1, 4);
  ASSERT_EQ(layer.Count(), 4);
  EXPECT_TRUE(layer[0]->IsTied());
  EXPECT_FALSE(layer[0]->IsAllTied());
  EXPECT_TRUE(layer[1]->IsAllTied());
  EXPECT_TRUE(layer[1]->IsTiedToPrevious());
  EXPECT_TRUE(layer[2]->IsTiedToPrevious());   // across the bar line
  EXPECT_FALSE(layer[3]->IsTiedToPrevious());  // the previous entry is two measures back

  layer[1]->TieAll(false);
  EXPECT_FALSE(layer[1]->IsTied());
  EXPECT_FALSE(layer[2]->IsTiedToPrevious());
  layer[0]->TieAll(true);
  EXPECT_TRUE(layer[0]->IsAllTied());
}

TEST_F(PKNoteEntryTest, TiesNeverConcernRestsOrOtherLayers) {
  Music(1, 1, 1, "C4~/2 r/2");
  Music(1, 1, 2, "C4/1");
  LoadedEntries first(1, 1, 1, 0);
  LoadedEntries second(1, 1, 1, 1);
  // A rest with a note record (as the host gives rests) whose tie bit is set.
  PKNoteEntry* rest = first[1];
  rest->GetRecord()->noteCount = 1;
  rest->GetRecord()->notes[0] = EXNOTE{0, 0, 1, kNoteCreatedFlag | kNoteTieFlag};
  rest->_UpdateNoteCollection();
  EXPECT_FALSE(rest->IsTied());
  EXPECT_FALSE(rest->IsAllTied());
  EXPECT_FALSE(rest->IsTiedToPrevious());
  rest->TieAll(false);
  EXPECT_NE(rest->GetRecord()->notes[0].flags & kNoteTieFlag, 0u);

  ASSERT_TRUE(first[0]->IsTied());
  second[0]->_SetPrevious(first[0]);
  EXPECT_FALSE(second[0]->IsTiedToPrevious());
}

TEST_F(PKNoteEntryTest, SetAccidentalsTouchesOnlyTheAccidentalBit) {
  Music(1, 1, 1, "C4-E4/1");
  LoadedEntries layer(1, 1, 1);
  PKNoteEntry* entry = layer[0];
  const std::uint32_t before = entry->GetRecord()->notes[1].flags;
  entry->SetAccidentals(true);
  EXPECT_EQ(std::uint32_t(entry->GetRecord()->notes[1].flags), before | kNoteAccidentalFlag);
  entry->SetAccidentals(false);
  EXPECT_EQ(std::uint32_t(entry->GetRecord()->notes[1].flags), before & ~kNoteAccidentalFlag);
}

TEST_F(PKNoteEntryTest, ShallowCloneSharesTheRecordWithoutNeighbours) {
  Music(2, 3, 1, "C4/4 D4-F4/4 E4/2");
  LoadedEntries layer(2, 3, 3);
  std::unique_ptr<PKNoteEntry> clone(layer[1]->CreateShallowClone());
  EXPECT_EQ(clone->GetRecord(), layer[1]->GetRecord());
  EXPECT_EQ(clone->GetFrame(), layer[1]->GetFrame());
  EXPECT_EQ(clone->GetMeasure(), 3);
  EXPECT_EQ(clone->GetStaff(), 2);
  EXPECT_EQ(clone->GetPrevious(), nullptr);
  EXPECT_EQ(clone->GetNext(), nullptr);
  ASSERT_EQ(clone->GetCount(), 2);
  EXPECT_EQ(NoteAt(clone.get(), 1)->GetEntry(), clone.get());
  EXPECT_EQ(clone->_CalcTGFIndex(), 1);
}

TEST_F(PKNoteEntryTest, TGFIndexIsThePlaceOfTheRecordInItsFrame) {
  Music(1, 1, 1, "C4/4 D4/4 E4/2");
  Music(1, 2, 1, "C4/1");
  LoadedEntries layer(1, 1, 2);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(layer[i]->_CalcTGFIndex(), i);
  EXPECT_EQ(layer[3]->_CalcTGFIndex(), 0);
  // A record that is not in the entry's frame.
  PKNoteEntry stray(layer[3]->GetRecord(), layer[0]->GetFrame(), 1);
  EXPECT_EQ(stray._CalcTGFIndex(), -1);
  PKNoteEntry none;
  EXPECT_EQ(none._CalcTGFIndex(), -1);
  EXPECT_EQ(none.GetEntryNumber(), 0u);
}

TEST_F(PKNoteEntryTest, MultiLayeredCellNeedsTwoLayersWithEntries) {
  Music(1, 1, 1, "C4/1");
  Music(1, 2, 1, "C4/1");
  Music(1, 2, 3, "E4/1");
  LoadedEntries layer(1, 1, 2);
  EXPECT_FALSE(layer[0]->CalcMultiLayeredCell());
  EXPECT_TRUE(layer[1]->CalcMultiLayeredCell());
  EXPECT_EQ(host.OutstandingFrames(), 2);  // only the two frames of `layer`
  host.settings.maxLayersAnswer = 2;       // layer index 2 is out of reach now
  EXPECT_FALSE(layer[1]->CalcMultiLayeredCell());
}

TEST_F(PKNoteEntryTest, MultiLayeredCellCountsAFrameThatCannotBeLoadedAsEmpty) {
  Music(1, 1, 1, "C4/1");
  Music(1, 1, 2, "E4/1");
  LoadedEntries layer(1, 1, 1);
  host.FailCall("HK_LoadTGF", 3);  // the frame of layer index 1
  EXPECT_FALSE(layer[0]->CalcMultiLayeredCell());
}

TEST_F(PKNoteEntryTest, TupletQueriesReadTheFramesTupletItems) {
  Music(1, 1, 1, "{3:2 D4/8 E4 F4} G4/4 {3:2 A4/8 B4 C5} r/4");
  LoadedEntries layer(1, 1, 1);
  ASSERT_EQ(layer.Count(), 8);
  ASSERT_EQ(layer[0]->GetFrame()->tupletCount, 2);

  TupletInfo info{};
  EXPECT_TRUE(layer[0]->IsStartOfTuplet(&info));
  EXPECT_EQ(info.firstEntry, 0);
  EXPECT_EQ(info.lastEntry, 2);
  EXPECT_EQ(info.inci, 0);
  EXPECT_TRUE(layer[4]->IsStartOfTuplet(nullptr));
  EXPECT_FALSE(layer[1]->IsStartOfTuplet(nullptr));
  EXPECT_FALSE(layer[3]->IsStartOfTuplet(nullptr));

  const bool part[] = {true, true, true, false, true, true, true, false};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(layer[i]->IsPartOfTuplet(nullptr), part[i]) << i;
  info = TupletInfo{};
  EXPECT_TRUE(layer[6]->IsPartOfTuplet(&info));
  EXPECT_EQ(info.firstEntry, 4);
  EXPECT_EQ(info.lastEntry, 6);

  // Without its tuplet flag an entry starts no tuplet, but it still belongs to one.
  layer[0]->GetRecord()->flags &= ~kEntryTupletFlag;
  EXPECT_FALSE(layer[0]->IsStartOfTuplet(nullptr));
  EXPECT_TRUE(layer[0]->IsPartOfTuplet(nullptr));
}

TEST_F(PKNoteEntryTest, TupletQueriesDoNotConfuseUnsavedEntries) {
  Music(1, 1, 1, "{3:2 D4/8 E4 F4} G4/4 r/2");
  LoadedEntries layer(1, 1, 1);
  // Entries inserted and not yet saved all carry entry number 0.
  layer[0]->GetRecord()->entryNumber = 0;
  layer[3]->GetRecord()->entryNumber = 0;
  layer[3]->GetRecord()->flags |= kEntryTupletFlag;
  EXPECT_TRUE(layer[0]->IsStartOfTuplet(nullptr));
  EXPECT_TRUE(layer[0]->IsPartOfTuplet(nullptr));
  EXPECT_FALSE(layer[3]->IsStartOfTuplet(nullptr));
  EXPECT_FALSE(layer[3]->IsPartOfTuplet(nullptr));
}

TEST_F(PKNoteEntryTest, TupletItemsOutsideTheFrameAreIgnored) {
  Music(1, 1, 1, "{3:2 D4/8 E4 F4} G4/4 r/2");
  LoadedEntries layer(1, 1, 1);
  TupletInfo& item = layer[0]->GetFrame()->tuplets[0];
  item.lastEntry = 40;  // past the frame's last entry: the walk stops at the frame's end
  EXPECT_TRUE(layer[4]->IsPartOfTuplet(nullptr));
  item.firstEntry = 5;  // not below the entry count: skipped
  EXPECT_FALSE(layer[4]->IsPartOfTuplet(nullptr));
  item.firstEntry = -2;
  item.lastEntry = 0;
  EXPECT_TRUE(layer[0]->IsPartOfTuplet(nullptr));
  EXPECT_FALSE(layer[0]->IsStartOfTuplet(nullptr));
}

TEST_F(PKNoteEntryTest, CreateNotePitchesCopiesEveryNote) {
  Music(1, 1, 1, "C4-F#4/2 r/2");
  LoadedEntries layer(1, 1, 1);
  std::unique_ptr<PKNotePitches> pitches(layer[0]->CreateNotePitches());
  ASSERT_EQ(pitches->GetCount(), 2);
  auto* sharp = static_cast<PKNote*>(pitches->GetItemAt(1));
  EXPECT_EQ(sharp->GetDisplacement(), 3);
  EXPECT_EQ(sharp->GetRaiseLower(), 1);
  EXPECT_EQ(sharp->GetEntry(), nullptr);
  EXPECT_NE(sharp->GetNoteRecord(), NoteAt(layer[0], 1)->GetNoteRecord());
  std::unique_ptr<PKNotePitches> none(layer[1]->CreateNotePitches());
  EXPECT_EQ(none->GetCount(), 0);
}

}  // namespace
