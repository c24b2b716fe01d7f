// Entry layers on the substitute host: loading, cloning, saving, deleting
// and inserting entries, region views, and the ownership of frames.
#include "tonaroframework/entries/pknoteentrylayer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "entrytestsupport.h"
#include "tonaroframework/foundation/pkiteratorhandler.h"
#include "tonaroframework/score/pkmusicregion.h"
#include "tonaropdk/hkservices.h"

namespace {

class PKNoteEntryLayerTest : public EntriesTest {
 protected:
  void SetUp() override { score.Staves(2).Measures(12); }

  std::uint32_t Loads() const { return host.CallCount("HK_LoadTGF"); }
};

// Checks the layer's structure: entry i of the list is the next record of
// the frames in slot order, and the links follow the list.
void ExpectConsistent(PKNoteEntryLayer& layer) {
  int i = 0;
  for (int slot = 0; slot < layer.GetFrameCount(); ++slot) {
    EXTGF2005a* frame = layer.GetFrame(slot);
    if (frame == nullptr) continue;
    EXPECT_EQ(frame->measure, layer.GetStartMeasure() + slot);
    for (int j = 0; j < frame->entryCount; ++j, ++i) {
      PKNoteEntry* entry = layer.GetItemAt(i);
      ASSERT_NE(entry, nullptr) << "entry " << i;
      EXPECT_EQ(entry->GetFrame(), frame) << "entry " << i;
      EXPECT_EQ(entry->GetRecord(), &frame->entries[j]) << "entry " << i;
      EXPECT_EQ(entry->GetMeasure(), frame->measure) << "entry " << i;
      EXPECT_EQ(entry->GetStaff(), layer.GetStaff()) << "entry " << i;
      if (entry->IsNote()) {
        EXPECT_EQ(entry->GetCount(), entry->GetRecord()->noteCount) << "entry " << i;
      }
      if (entry->GetCount() > 0) {
        EXPECT_EQ(NoteAt(entry, 0)->GetNoteRecord(), &entry->GetRecord()->notes[0]) << "entry " << i;
      }
      EXPECT_EQ(entry->GetPrevious(), layer.GetItemAt(i - 1)) << "entry " << i;
      EXPECT_EQ(entry->GetNext(), layer.GetItemAt(i + 1)) << "entry " << i;
    }
  }
  EXPECT_EQ(layer.GetCount(), i);
}

// The durations of the layer's entries, in layer order, as text.
std::string Durations(PKNoteEntryLayer& layer) {
  std::string text;
  for (int i = 0; i < layer.GetCount(); ++i) text += (i ? " " : "") + std::to_string(layer.GetItemAt(i)->GetDuration());
  return text;
}

// ---- Construction and loading ------------------------------------------

TEST_F(PKNoteEntryLayerTest, ConstructionCorrectsTheRange) {
  const struct {
    std::int16_t start, end;
    std::int16_t expectedStart, expectedEnd;
  } cases[] = {{0, 0, 1, 0}, {3, -1, 3, 12}, {1, 500, 1, 12}, {-4, 5, 1, 5}, {7, 7, 7, 7}, {9, 2, 9, 2}};
  for (const auto& c : cases) {
    PKNoteEntryLayer layer(0, 1, c.start, c.end);
    EXPECT_EQ(layer.GetStartMeasure(), c.expectedStart) << c.start << ".." << c.end;
    EXPECT_EQ(layer.GetEndMeasure(), c.expectedEnd) << c.start << ".." << c.end;
    EXPECT_STREQ(layer.ClassName(), "PKNoteEntryLayer");
    EXPECT_TRUE(layer.GetShownLayersOnly());
    EXPECT_EQ(layer.GetFrameCount(), 0);
    EXPECT_EQ(layer.GetCount(), 0);
  }
  EXPECT_EQ(Loads(), 0u);
}

TEST_F(PKNoteEntryLayerTest, AnEmptyRangeLoadsNothing) {
  Music(1, 1, 1, "C4/1");
  PKNoteEntryLayer layer(0, 1, 0, 0);
  EXPECT_FALSE(layer.Load());
  EXPECT_EQ(layer.GetCount(), 0);
  EXPECT_EQ(layer.GetFrameCount(), 0);
  EXPECT_EQ(Loads(), 0u);
  EXPECT_FALSE(layer._LoadRedir(1, 1, 1));
  EXPECT_EQ(layer.GetLayer(), 0);  // the identity stays
}

TEST_F(PKNoteEntryLayerTest, LoadLinksEntriesAcrossAMeasureWithoutEntries) {
  Music(1, 3, 1, "C4/2 D4-F4/2");
  Music(1, 5, 1, "E4/4 r/4 G4/2");
  Music(2, 4, 1, "A4/1");  // another staff
  PKNoteEntryLayer layer(0, 1, 3, 5);
  ASSERT_TRUE(layer.Load());
  EXPECT_EQ(layer.GetFrameCount(), 3);
  for (int k = 0; k < 3; ++k) EXPECT_NE(layer.GetFrame(k), nullptr);
  EXPECT_EQ(layer.GetFrame(3), nullptr);
  EXPECT_EQ(layer.GetFrame(1)->entryCount, 0);
  ASSERT_EQ(layer.GetCount(), 5);
  EXPECT_EQ(layer.GetItemAt(1)->GetMeasure(), 3);
  EXPECT_EQ(layer.GetItemAt(2)->GetMeasure(), 5);
  EXPECT_EQ(layer.GetItemAt(1)->GetNext(), layer.GetItemAt(2));
  EXPECT_EQ(layer.GetItemAt(2)->GetPrevious(), layer.GetItemAt(1));
  EXPECT_EQ(layer.GetItemAt(1)->GetCount(), 2);
  ExpectConsistent(layer);
  EXPECT_EQ(host.OutstandingFrames(), 3);
}

TEST_F(PKNoteEntryLayerTest, LoadingAgainFreesTheFramesItHeld) {
  Music(1, 1, 1, "C4/1");
  PKNoteEntryLayer layer(0, 1, 1, 4);
  ASSERT_TRUE(layer.Load());
  ASSERT_TRUE(layer.Load());
  EXPECT_EQ(host.OutstandingFrames(), 4);
  EXPECT_EQ(layer.GetCount(), 1);
  ExpectConsistent(layer);
}

TEST_F(PKNoteEntryLayerTest, AHiddenLayerLoadsNoFrames) {
  Music(1, 1, 2, "C4/1");
  host.settings.hiddenLayers = {false, true};
  PKNoteEntryLayer layer(1, 1, 1, 3);
  ASSERT_TRUE(layer.Load());
  EXPECT_EQ(layer.GetFrameCount(), 3);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(layer.GetFrame(k), nullptr);
  EXPECT_EQ(layer.GetCount(), 0);
  EXPECT_EQ(Loads(), 0u);
  EXPECT_TRUE(layer.Save());
  EXPECT_EQ(layer.CalcFrameDuration(1), 0);

  layer.SetShownLayersOnly(false);
  ASSERT_TRUE(layer.Load());
  EXPECT_EQ(layer.GetCount(), 1);
}

TEST_F(PKNoteEntryLayerTest, AFailedLoadInTheMiddleLeavesTheLayerEmpty) {
  Music(1, 1, 1, "C4/1");
  Music(1, 2, 1, "D4/1");
  PKNoteEntryLayer layer(0, 1, 1, 5);
  ASSERT_TRUE(layer.Load());
  FailNext("HK_LoadTGF", 2);  // measure 3 of the reload
  EXPECT_FALSE(layer.Load());
  EXPECT_EQ(layer.GetCount(), 0);
  EXPECT_EQ(layer.GetFrameCount(), 0);
  EXPECT_EQ(host.OutstandingFrames(), 0);
  EXPECT_EQ(host.CallCount("HK_FreeTGF"), 5u + 2u);
  ASSERT_TRUE(layer.Load());  // nothing is left over from the failure
  EXPECT_EQ(layer.GetCount(), 2);
}

TEST_F(PKNoteEntryLayerTest, CalcFrameDurationAsksTheHostForLoadedMeasuresOnly) {
  score.Measures(1, simhost::TimeSignature{3, 1024});  // measure 13 in 3/4
  Music(1, 12, 1, "C4/2 D4/4");
  Music(1, 13, 1, "C4/2.");
  PKNoteEntryLayer layer(0, 1, 11, 13);
  ASSERT_TRUE(layer.Load());
  EXPECT_EQ(layer.CalcFrameDuration(11), 0);  // no entries
  EXPECT_EQ(layer.CalcFrameDuration(12), 3072);
  EXPECT_EQ(layer.CalcFrameDuration(13), 3072);
  EXPECT_EQ(layer.CalcFrameDuration(10), 0);
  EXPECT_EQ(layer.CalcFrameDuration(14), 0);
}

// ---- Saving --------------------------------------------------------------

TEST_F(PKNoteEntryLayerTest, SavingWithoutNewEntriesReloadsNothing) {
  Music(1, 1, 1, "C4-E4/2 G4/2");
  Music(1, 2, 1, "A4/1");
  PKNoteEntryLayer layer(0, 1, 1, 2);
  ASSERT_TRUE(layer.Load());
  EXENTRY* record = layer.GetItemAt(0)->GetRecord();
  EXTGF2005a* frame = layer.GetFrame(0);
  layer.GetItemAt(0)->DeleteNote(NoteAt(layer.GetItemAt(0), 0));
  const std::uint32_t loads = Loads();
  ASSERT_TRUE(layer.Save());
  EXPECT_EQ(Loads(), loads);
  EXPECT_EQ(layer.GetFrame(0), frame);
  EXPECT_EQ(layer.GetItemAt(0)->GetRecord(), record);
  EXPECT_EQ(host.CallCount("HK_SaveTGF"), 2u);
  EXPECT_EQ(score.Describe(1, 1, 1), "E4/2 G4/2");
}

TEST_F(PKNoteEntryLayerTest, SavingReloadsFramesWithNewEntriesAndRebindsThem) {
  Music(1, 1, 1, "C4/2 G4/2");
  Music(1, 2, 1, "A4/1");
  PKNoteEntryLayer layer(0, 1, 1, 2);
  ASSERT_TRUE(layer.Load());
  PKNoteEntry* first = layer.InsertEntriesBefore(layer.GetItemAt(1), 1);
  ASSERT_NE(first, nullptr);
  first->SetDuration(1024);
  first->MakeNote();
  NoteAt(first, 0)->SetDisplacement(1);
  layer.GetItemAt(0)->SetDuration(1024);
  EXTGF2005a* untouched = layer.GetFrame(1);
  EXTGF2005a* edited = layer.GetFrame(0);
  ASSERT_TRUE(layer.Save());
  EXPECT_NE(layer.GetFrame(0), edited);   // reloaded: the new entry has its number now
  EXPECT_EQ(layer.GetFrame(1), untouched);
  ASSERT_EQ(layer.GetCount(), 4);
  EXPECT_EQ(layer.GetItemAt(1), first);   // entry objects and their order stay
  for (int i = 0; i < 4; ++i) EXPECT_NE(layer.GetItemAt(i)->GetEntryNumber(), 0u) << i;
  EXPECT_EQ(first->GetEntryNumber(), std::uint32_t(score.EntryNumber(1, 1, 1, 1)));
  ExpectConsistent(layer);
  EXPECT_EQ(host.OutstandingFrames(), 2);
  EXPECT_EQ(score.Describe(1, 1, 1), "C4/4 D4/4 G4/2");
}

TEST_F(PKNoteEntryLayerTest, ARefusedSaveStillOffersEveryFrameAndFreesAll) {
  for (std::int16_t m = 1; m <= 3; ++m) Music(1, m, 1, "C4/1");
  {
    PKNoteEntryLayer layer(0, 1, 1, 3);
    ASSERT_TRUE(layer.Load());
    for (int i = 0; i < 3; ++i) layer.GetItemAt(i)->SetDuration(2048);
    FailNext("HK_SaveTGF", 1);
    EXPECT_FALSE(layer.Save());
    EXPECT_EQ(host.CallCount("HK_SaveTGF"), 3u);
    EXPECT_EQ(score.Describe(1, 1, 1), "C4/2");
    EXPECT_EQ(score.Describe(1, 2, 1), "C4/1");
    EXPECT_EQ(score.Describe(1, 3, 1), "C4/2");
  }
  EXPECT_EQ(host.OutstandingFrames(), 0);
}

TEST_F(PKNoteEntryLayerTest, ARefusedSaveKeepsUnsavedEntriesAndTheirFrame) {
  Music(1, 1, 1, "C4/1");
  PKNoteEntryLayer layer(0, 1, 1, 1);
  ASSERT_TRUE(layer.Load());
  PKNoteEntry* added = layer.InsertEntriesAfter(layer.GetItemAt(0), 1, false);
  ASSERT_NE(added, nullptr);
  added->SetDuration(1024);
  EXTGF2005a* frame = layer.GetFrame(0);
  const std::uint32_t loads = Loads();
  FailNext("HK_SaveTGF");
  EXPECT_FALSE(layer.Save());
  EXPECT_EQ(Loads(), loads);  // nothing was stored, so nothing is fetched
  EXPECT_EQ(layer.GetFrame(0), frame);
  EXPECT_EQ(added->GetDuration(), 1024);
  ExpectConsistent(layer);
  ASSERT_TRUE(layer.Save());  // the edits are still there to be saved
  EXPECT_NE(added->GetEntryNumber(), 0u);
  EXPECT_EQ(score.Describe(1, 1, 1), "C4/1 r/4");
}

TEST_F(PKNoteEntryLayerTest, AFailedReloadKeepsTheSavedFrame) {
  Music(1, 1, 1, "C4/1");
  PKNoteEntryLayer layer(0, 1, 1, 1);
  ASSERT_TRUE(layer.Load());
  PKNoteEntry* added = layer.InsertEntriesAfter(layer.GetItemAt(0), 1, false);
  ASSERT_NE(added, nullptr);
  EXTGF2005a* frame = layer.GetFrame(0);
  FailNext("HK_LoadTGF");
  EXPECT_TRUE(layer.Save());
  EXPECT_EQ(layer.GetFrame(0), frame);
  EXPECT_EQ(added->GetEntryNumber(), 0u);
  ExpectConsistent(layer);
  EXTGF2005a* fresh = layer._SilentTGFUpdate(frame);  // the reload can be asked for again
  EXPECT_NE(fresh, frame);
  EXPECT_EQ(layer.GetFrame(0), fresh);
  EXPECT_NE(added->GetEntryNumber(), 0u);
  ExpectConsistent(layer);
}

TEST_F(PKNoteEntryLayerTest, SilentUpdateIgnoresAFrameThatIsNotTheLayers) {
  Music(1, 1, 1, "C4/1");
  PKNoteEntryLayer layer(0, 1, 1, 1);
  PKNoteEntryLayer other(0, 1, 1, 1);
  ASSERT_TRUE(layer.Load());
  ASSERT_TRUE(other.Load());
  const std::uint32_t loads = Loads();
  EXPECT_EQ(layer._SilentTGFUpdate(other.GetFrame(0)), other.GetFrame(0));
  EXPECT_EQ(Loads(), loads);
  EXPECT_EQ(host.OutstandingFrames(), 2);
}

// ---- Clones --------------------------------------------------------------

TEST_F(PKNoteEntryLayerTest, ACloneCopiesTheEntriesInOrderWithoutNumbersOrDetails) {
  Music(1, 2, 1, "C4-E4-G4/4 r/4 {3:2 D4/8 E4 F4} G4~/4");
  Music(1, 4, 1, "A4/2 B4-D5/2");
  PKNoteEntryLayer source(0, 1, 2, 4);
  ASSERT_TRUE(source.Load());
  source.GetItemAt(0)->GetRecord()->flags |= kEntryArticulationFlag | kEntryNoteDetailFlag;
  source.GetItemAt(0)->GetRecord()->flags2 |= kEntrySmartShapeFlag;
  ASSERT_TRUE(source.Save());

  std::unique_ptr<PKNoteEntryLayer> clone(source.CreateCloneEntries(1, 1, 2));
  ASSERT_NE(clone, nullptr);
  EXPECT_EQ(clone->GetLayer(), 1);
  EXPECT_EQ(clone->GetStaff(), 1);
  EXPECT_EQ(clone->GetStartMeasure(), 2);
  EXPECT_EQ(clone->GetEndMeasure(), 4);
  ASSERT_EQ(clone->GetCount(), source.GetCount());
  for (int i = 0; i < source.GetCount(); ++i) {
    PKNoteEntry* copy = clone->GetItemAt(i);
    PKNoteEntry* original = source.GetItemAt(i);
    EXPECT_EQ(copy->GetEntryNumber(), 0u) << i;
    EXPECT_EQ(copy->GetDuration(), original->GetDuration()) << i;
    EXPECT_EQ(copy->GetMeasurePos(), original->GetMeasurePos()) << i;
    EXPECT_EQ(copy->GetMeasure(), original->GetMeasure()) << i;
    // As the document holds them (the save gave the rest its note record).
    const EXENTRY& stored = score.Entries(1, original->GetMeasure(), 1)[std::size_t(original->_CalcTGFIndex())];
    EXPECT_EQ(copy->GetRecord()->noteCount, stored.noteCount) << i;
    EXPECT_EQ(std::memcmp(copy->GetRecord()->notes, stored.notes, sizeof stored.notes), 0) << i;
    EXPECT_EQ(copy->GetRecord()->flags & 0x007A54C0u, 0u) << i;
    EXPECT_FALSE(copy->GetSmartShapeFlag()) << i;
    EXPECT_EQ(copy->GetFrame()->layer, 1);
  }
  ExpectConsistent(*clone);
  EXPECT_EQ(score.Describe(1, 2, 2), "");  // nothing reaches the document before the save

  ASSERT_TRUE(clone->Save());
  for (int i = 0; i < clone->GetCount(); ++i) EXPECT_NE(clone->GetItemAt(i)->GetEntryNumber(), 0u) << i;
  ExpectConsistent(*clone);
  // Tuplets are not part of the entries: the copies have none until they are carried over.
  EXPECT_EQ(score.Describe(1, 2, 2), "C4-E4-G4/4 r/4 D4/8 E4/8 F4/8 G4~/4");
  EXPECT_EQ(score.Describe(1, 3, 2), "");
  EXPECT_EQ(score.Describe(1, 4, 2), "A4/2 B4-D5/2");
  EXPECT_EQ(host.OutstandingFrames(), 6);
}

TEST_F(PKNoteEntryLayerTest, ACloneReadsTheDocumentNotTheEditsInMemory) {
  Music(1, 1, 1, "C4-E4/1");
  PKNoteEntryLayer source(0, 1, 1, 1);
  ASSERT_TRUE(source.Load());
  source.GetItemAt(0)->MakeRest();
  std::unique_ptr<PKNoteEntryLayer> clone(source.CreateCloneEntries(2, 1, 1));
  ASSERT_EQ(clone->GetCount(), 1);
  EXPECT_TRUE(clone->GetItemAt(0)->IsNote());
  EXPECT_EQ(clone->GetItemAt(0)->GetCount(), 2);
}

TEST_F(PKNoteEntryLayerTest, ACloneCanGoToAnotherStaffAndMeasure) {
  Music(1, 1, 1, "C4/2 D4/2");
  Music(1, 2, 1, "E4/1");
  Music(2, 6, 1, "G4/4 G4 G4 G4");  // replaced by the clone's save
  PKNoteEntryLayer source(0, 1, 1, 2);
  ASSERT_TRUE(source.Load());
  std::unique_ptr<PKNoteEntryLayer> clone(source.CreateCloneEntries(0, 2, 5));
  EXPECT_EQ(clone->GetStaff(), 2);
  EXPECT_EQ(clone->GetStartMeasure(), 5);
  EXPECT_EQ(clone->GetEndMeasure(), 6);
  ASSERT_EQ(clone->GetCount(), 3);
  EXPECT_EQ(clone->GetItemAt(2)->GetMeasure(), 6);
  EXPECT_EQ(clone->GetItemAt(2)->GetStaff(), 2);
  ASSERT_TRUE(clone->Save());
  EXPECT_EQ(score.Describe(2, 5, 1), "C4/2 D4/2");
  EXPECT_EQ(score.Describe(2, 6, 1), "E4/1");
  EXPECT_EQ(score.Describe(1, 2, 1), "E4/1");
}

TEST_F(PKNoteEntryLayerTest, AFailedCloneIsEmptyAndHoldsNoFrame) {
  for (std::int16_t m = 1; m <= 4; ++m) Music(1, m, 1, "C4/1");
  PKNoteEntryLayer source(0, 1, 1, 4);
  ASSERT_TRUE(source.Load());
  const struct {
    const char* service;
    std::uint32_t later;
  } faults[] = {{"HK_LoadTGF", 4},        // the target frame of measure 3
                {"HK_LoadTGF", 5},        // the source frame of measure 3
                {"HK_InsertEXENTRY", 1},  // the copy into measure 2
                {"HK_DeleteEXENTRY", 0}};
  Music(1, 1, 3, "E4/1");  // a target with entries to delete
  for (const auto& fault : faults) {
    SCOPED_TRACE(fault.service);
    host.ClearFailures();
    FailNext(fault.service, fault.later);
    std::unique_ptr<PKNoteEntryLayer> clone(source.CreateCloneEntries(2, 1, 1));
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(clone->GetCount(), 0);
    EXPECT_EQ(clone->GetFrameCount(), 0);
    EXPECT_EQ(host.OutstandingFrames(), 4);  // the source's own frames only
  }
}

TEST_F(PKNoteEntryLayerTest, AHiddenSourceGivesAnEmptyCloneUnderTheTargetsName) {
  Music(1, 1, 1, "C4/1");
  PKNoteEntryLayer source(0, 1, 1, 2);
  ASSERT_TRUE(source.Load());
  host.settings.hiddenLayers = {true};
  std::unique_ptr<PKNoteEntryLayer> clone(source.CreateCloneEntries(1, 2, 3));
  EXPECT_EQ(clone->GetCount(), 0);
  EXPECT_EQ(clone->GetFrameCount(), 2);
  EXPECT_EQ(clone->GetFrame(0), nullptr);
  EXPECT_EQ(clone->GetStaff(), 2);
  EXPECT_EQ(clone->GetStartMeasure(), 3);
  EXPECT_EQ(clone->GetLayer(), 1);
}

// ---- Deleting null entries -------------------------------------------------

TEST_F(PKNoteEntryLayerTest, DeleteAllNullEntriesRefusesWhileAnEntryIsUnsaved) {
  Music(1, 1, 1, "C4/2 D4/2");
  PKNoteEntryLayer layer(0, 1, 1, 1);
  ASSERT_TRUE(layer.Load());
  ASSERT_NE(layer.InsertEntriesAfter(layer.GetItemAt(1), 1, false), nullptr);  // duration 0, number 0
  layer.GetItemAt(0)->SetDuration(0);
  EXPECT_FALSE(layer.DeleteAllNullEntries());
  EXPECT_EQ(layer.GetCount(), 3);
  EXPECT_EQ(host.CallCount("HK_DeleteEXENTRY"), 0u);

  ASSERT_TRUE(layer.Save());
  ASSERT_TRUE(layer.DeleteAllNullEntries());
  ASSERT_EQ(layer.GetCount(), 1);
  EXPECT_EQ(layer.GetItemAt(0)->GetDuration(), 2048);
  ExpectConsistent(layer);
  ASSERT_TRUE(layer.Save());
  EXPECT_EQ(score.Describe(1, 1, 1), "D4/2");
}

TEST_F(PKNoteEntryLayerTest, DeleteAllNullEntriesOverSeveralMeasures) {
  Music(1, 1, 1, "C4/4 D4 E4 F4");
  Music(1, 2, 1, "G4/4 A4 B4 C5");
  Music(1, 3, 1, "D5/1");
  PKNoteEntryLayer layer(0, 1, 1, 3);
  ASSERT_TRUE(layer.Load());
  for (int i : {0, 1, 3, 5, 6, 7}) layer.GetItemAt(i)->SetDuration(0);
  ASSERT_TRUE(layer.DeleteAllNullEntries());
  EXPECT_EQ(Durations(layer), "1024 1024 4096");
  EXPECT_EQ(host.CallCount("HK_DeleteEXENTRY"), 6u);
  ExpectConsistent(layer);
  EXPECT_TRUE(layer.DeleteAllNullEntries());  // nothing left to delete
  EXPECT_EQ(layer.GetCount(), 3);
}

// ---- Inserting -------------------------------------------------------------

TEST_F(PKNoteEntryLayerTest, InsertEntriesBeforeAnEntryInItsMeasure) {
  Music(1, 1, 1, "C4/1");
  Music(1, 2, 1, "D4/2 E4/2");
  Music(1, 3, 1, "F4/1");
  PKNoteEntryLayer layer(0, 1, 1, 3);
  ASSERT_TRUE(layer.Load());
  PKNoteEntry* e4 = layer.GetItemAt(2);
  PKNoteEntry* d4 = layer.GetItemAt(1);
  PKNoteEntry* first = layer.InsertEntriesBefore(e4, 2);
  ASSERT_NE(first, nullptr);
  ASSERT_EQ(layer.GetCount(), 6);
  EXPECT_EQ(layer.GetItemAt(2), first);
  EXPECT_EQ(layer.GetItemAt(4), e4);
  EXPECT_EQ(first->GetEntryNumber(), 0u);
  EXPECT_EQ(first->GetMeasure(), 2);
  EXPECT_EQ(first->GetPrevious(), d4);
  EXPECT_EQ(e4->GetPrevious(), layer.GetItemAt(3));
  EXPECT_EQ(e4->GetDuration(), 2048);  // still viewing its own record in the moved array
  EXPECT_EQ(d4->GetCount(), 1);
  ExpectConsistent(layer);

  // At the front of the layer.
  PKNoteEntry* front = layer.InsertEntriesBefore(layer.GetItemAt(0), 1);
  ASSERT_NE(front, nullptr);
  EXPECT_EQ(layer.GetItemAt(0), front);
  EXPECT_EQ(front->GetPrevious(), nullptr);
  ExpectConsistent(layer);
}

TEST_F(PKNoteEntryLayerTest, InsertEntriesBeforeRefusesWhatIsNotAPlaceInTheLayer) {
  Music(1, 1, 1, "C4/2 D4/2");
  PKNoteEntryLayer layer(0, 1, 1, 1);
  PKNoteEntryLayer other(0, 1, 1, 1);
  EXPECT_EQ(layer.InsertEntriesBefore(nullptr, 1), nullptr);  // no frames yet
  ASSERT_TRUE(layer.Load());
  ASSERT_TRUE(other.Load());
  PKNoteEntry* entry = layer.GetItemAt(1);
  EXPECT_EQ(layer.InsertEntriesBefore(entry, 0), nullptr);
  EXPECT_EQ(layer.InsertEntriesBefore(entry, -1), nullptr);
  EXPECT_EQ(layer.InsertEntriesBefore(nullptr, 1), nullptr);
  EXPECT_EQ(layer.InsertEntriesBefore(other.GetItemAt(1), 1), nullptr);
  FailNext("HK_InsertEXENTRY");
  EXPECT_EQ(layer.InsertEntriesBefore(entry, 1), nullptr);
  EXPECT_EQ(layer.GetCount(), 2);
  EXPECT_EQ(layer.GetFrame(0)->entryCount, 2);
  ExpectConsistent(layer);
}

TEST_F(PKNoteEntryLayerTest, InsertEntriesAfterAnEntryInItsMeasure) {
  Music(1, 1, 1, "C4/4 D4/4 E4/2");
  Music(1, 2, 1, "F4/1");
  PKNoteEntryLayer layer(0, 1, 1, 2);
  ASSERT_TRUE(layer.Load());
  PKNoteEntry* c4 = layer.GetItemAt(0);
  PKNoteEntry* d4 = layer.GetItemAt(1);
  PKNoteEntry* first = layer.InsertEntriesAfter(d4, 3, false);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(layer.GetItemAt(2), first);
  EXPECT_EQ(first->GetPrevious(), d4);
  EXPECT_EQ(layer.GetItemAt(4)->GetNext(), layer.GetItemAt(5));
  EXPECT_EQ(layer.GetItemAt(5)->GetDuration(), 2048);
  EXPECT_EQ(c4->GetDuration(), 1024);
  ExpectConsistent(layer);
  // After the last entry of the layer.
  PKNoteEntry* last = layer.InsertEntriesAfter(layer.GetItemAt(6), 1, false);
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->GetNext(), nullptr);
  EXPECT_EQ(last->GetMeasure(), 2);
  ExpectConsistent(layer);
}

TEST_F(PKNoteEntryLayerTest, InsertEntriesAfterTheLastEntryOfAMeasureIntoTheNextMeasure) {
  Music(1, 3, 1, "C4/2 D4/2");
  Music(1, 4, 1, "E4/2 F4/2");
  PKNoteEntryLayer layer(0, 1, 3, 5);
  ASSERT_TRUE(layer.Load());
  PKNoteEntry* d4 = layer.GetItemAt(1);
  PKNoteEntry* e4 = layer.GetItemAt(2);
  PKNoteEntry* first = layer.InsertEntriesAfter(d4, 2, true);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->GetMeasure(), 4);
  EXPECT_EQ(first->GetFrame(), layer.GetFrame(1));
  EXPECT_EQ(first->GetRecord(), &layer.GetFrame(1)->entries[0]);
  EXPECT_EQ(first->GetPrevious(), d4);
  EXPECT_EQ(e4->GetPrevious(), layer.GetItemAt(3));
  EXPECT_EQ(e4->GetRecord(), &layer.GetFrame(1)->entries[2]);
  ExpectConsistent(layer);

  // Not the last entry of its measure; the last measure has no next frame.
  EXPECT_EQ(layer.InsertEntriesAfter(layer.GetItemAt(0), 1, true), nullptr);
  PKNoteEntry* lastOfRange = layer.InsertEntriesAfter(layer.GetItemAt(5), 1, true);
  ASSERT_NE(lastOfRange, nullptr);  // into the empty measure 5
  EXPECT_EQ(lastOfRange->GetMeasure(), 5);
  EXPECT_EQ(layer.InsertEntriesAfter(lastOfRange, 1, true), nullptr);
  ExpectConsistent(layer);

  layer.GetItemAt(2)->SetDuration(1024);
  layer.GetItemAt(3)->SetDuration(1024);
  ASSERT_TRUE(layer.Save());
  EXPECT_EQ(score.Describe(1, 4, 1), "r/4 r/4 E4/2 F4/2");
}

TEST_F(PKNoteEntryLayerTest, InsertEntriesAfterNothingFillsAnEmptyLayersFirstFrame) {
  PKNoteEntryLayer layer(0, 1, 2, 3);
  EXPECT_EQ(layer.InsertEntriesAfter(nullptr, 1, false), nullptr);  // no frames yet
  ASSERT_TRUE(layer.Load());
  EXPECT_EQ(layer.InsertEntriesAfter(nullptr, 1, true), nullptr);
  PKNoteEntry* first = layer.InsertEntriesAfter(nullptr, 2, false);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->GetMeasure(), 2);
  EXPECT_EQ(first->GetPrevious(), nullptr);
  EXPECT_EQ(layer.GetCount(), 2);
  ExpectConsistent(layer);
  EXPECT_EQ(layer.InsertEntriesAfter(nullptr, 1, false), nullptr);  // the layer is not empty now
}

// ---- Region views ----------------------------------------------------------

class CountingHandler : public PKIteratorHandler {
 public:
  explicit CountingHandler(int stopAt) : _stopAt(stopAt) {}
  bool Iterate(__PKBase* object) override {
    visited.push_back(static_cast<PKNoteEntry*>(object));
    return int(visited.size()) != _stopAt;
  }
  std::vector<PKNoteEntry*> visited;

 private:
  int _stopAt;
};

TEST_F(PKNoteEntryLayerTest, RegionViewsSeeOnlyTheEntriesWithinTheRegion) {
  Music(1, 3, 1, "C4/4 D4/4 E4/2");  // positions 0, 1024, 2048
  Music(1, 4, 1, "F4/1");
  Music(1, 5, 1, "G4/2 A4/2");       // positions 0, 2048
  PKNoteEntryLayer layer(0, 1, 3, 5);
  ASSERT_TRUE(layer.Load());
  EREGION selection = simhost::Document::MakeRegion(1, 1, 3, 5, 1024, 0);
  PKMusicRegion region(&selection);
  EXPECT_EQ(layer.CalcRegionCount(&region), 4);  // D4 E4 F4 G4
  EXPECT_EQ(layer.GetRegionItemAt(0, &region), layer.GetItemAt(1));
  EXPECT_EQ(layer.GetRegionItemAt(3, &region), layer.GetItemAt(4));
  EXPECT_EQ(layer.GetRegionItemAt(4, &region), nullptr);
  EXPECT_EQ(layer.GetRegionItemAt(-1, &region), nullptr);

  CountingHandler all(0);
  EXPECT_EQ(layer.ForEachInRegion(&all, &region), 4);
  ASSERT_EQ(all.visited.size(), 4u);
  EXPECT_EQ(all.visited[2], layer.GetItemAt(3));
  CountingHandler two(2);
  EXPECT_EQ(layer.ForEachInRegion(&two, &region), 1);
  EXPECT_EQ(two.visited.size(), 2u);

  EREGION otherStaff = simhost::Document::MakeRegion(2, 2, 3, 5);
  PKMusicRegion elsewhere(&otherStaff);
  EXPECT_EQ(layer.CalcRegionCount(&elsewhere), 0);
  EXPECT_EQ(layer.CalcRegionCount(nullptr), 0);
}

TEST_F(PKNoteEntryLayerTest, CreateRegionEntriesMakesLinkedShallowClones) {
  Music(1, 3, 1, "C4/4 D4/4 E4/2");
  Music(1, 4, 1, "F4-A4/1");
  PKNoteEntryLayer layer(0, 1, 3, 4);
  ASSERT_TRUE(layer.Load());
  EREGION selection = simhost::Document::MakeRegion(1, 1, 3, 4, 1024);
  PKMusicRegion region(&selection);
  std::unique_ptr<PKNoteEntries> within(layer.CreateRegionEntries(&region));
  ASSERT_EQ(within->GetCount(), 3);
  for (int i = 0; i < 3; ++i) {
    PKNoteEntry* clone = within->GetItemAt(i);
    EXPECT_NE(clone, layer.GetItemAt(i + 1));
    EXPECT_EQ(clone->GetRecord(), layer.GetItemAt(i + 1)->GetRecord());
    EXPECT_EQ(clone->GetPrevious(), within->GetItemAt(i - 1));
    EXPECT_EQ(clone->GetNext(), within->GetItemAt(i + 1));
  }
  EXPECT_EQ(within->GetItemAt(2)->GetCount(), 2);
  // The views share records with the layer: an edit through one is seen by the other.
  within->GetItemAt(0)->SetDuration(512);
  EXPECT_EQ(layer.GetItemAt(1)->GetDuration(), 512);
  std::unique_ptr<PKNoteEntries> none(layer.CreateRegionEntries(nullptr));
  EXPECT_EQ(none->GetCount(), 0);
}

}  // namespace


namespace {

// ---- Tuplets -------------------------------------------------------------

TEST_F(PKNoteEntryLayerTest, CloneTupletsRefusesLayersOfDifferentSizes) {
  ASSERT_TRUE(score.Layer(1, 1, 1, "{3:2/8 C4/8 D4/8 E4/8} r/4 r/2"));
  ASSERT_TRUE(score.Layer(2, 1, 1, "C4/1"));
  PKNoteEntryLayer source(0, 1, 1, 1);
  PKNoteEntryLayer other(0, 2, 1, 1);
  ASSERT_TRUE(source.Load());
  ASSERT_TRUE(other.Load());
  const std::size_t records = host.document.Records().All(MakeTag('E', 3, 'T', 'P')).size();
  EXPECT_FALSE(other.CloneTuplets(&source));
  EXPECT_EQ(records, host.document.Records().All(MakeTag('E', 3, 'T', 'P')).size());
}

TEST_F(PKNoteEntryLayerTest, CloneTupletsSavesEveryTupletOfAnEntryUnderTheCopysNumber) {
  // Two tuplets start at the first entry: an outer 3:2 of quarters and an inner one of eighths.
  ASSERT_TRUE(score.Layer(1, 1, 1, "{3:2/4 {3:2/8 C4/8 D4/8 E4/8} F4/4 G4/4} r/2")) << score.LastError();
  PKNoteEntryLayer source(0, 1, 1, 1);
  ASSERT_TRUE(source.Load());
  EDTTuplet2005 tuplet;
  EXPECT_TRUE(source.GetItemAt(0)->_GetTupletDef(0, &tuplet));
  EXPECT_TRUE(source.GetItemAt(0)->_GetTupletDef(1, &tuplet));
  EXPECT_FALSE(source.GetItemAt(0)->_GetTupletDef(2, &tuplet));
  EXPECT_FALSE(source.GetItemAt(1)->_GetTupletDef(0, &tuplet));

  std::unique_ptr<PKNoteEntryLayer> clone(source.CreateCloneEntries(1, 1, 1));
  ASSERT_EQ(source.GetCount(), clone->GetCount());
  ASSERT_TRUE(clone->Save());
  EXPECT_TRUE(clone->CloneTuplets(&source));
  EXPECT_NE(0u, clone->GetItemAt(0)->GetRecord()->flags & kEntryTupletFlag);
  EXPECT_EQ(0u, clone->GetItemAt(1)->GetRecord()->flags & kEntryTupletFlag);
  ASSERT_TRUE(clone->Save());
  clone.reset();
  EXPECT_EQ(score.Describe(1, 1, 1), score.Describe(1, 1, 2));
}

}  // namespace
