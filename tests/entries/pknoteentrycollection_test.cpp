// The base of the entry lists: typed access and the frame copy helper.
#include "tonaroframework/entries/pknoteentrycollection.h"

#include <gtest/gtest.h>

#include <cstring>

#include "entrytestsupport.h"
#include "tonaroframework/entries/pknoteentries.h"
#include "tonaropdk/hkservices.h"

namespace {

constexpr std::uint32_t kVersion = kTonaroFrameworkVersion;

class PKNoteEntryCollectionTest : public EntriesTest {
 protected:
  void SetUp() override { score.Staves(2).Measures(2); }

  // Loads the frame of a layer index; freed at the end of the test.
  EXTGF2005a* Frame(std::int16_t staff, std::int16_t measure, std::int16_t layer) {
    EXTGF2005a* frame = HK_LoadTGF(0, HK_InstToSlot(staff, 0, kVersion), measure, layer, 0, kVersion);
    if (frame != nullptr) _frames.push_back(frame);
    return frame;
  }
  void TearDown() override {
    for (EXTGF2005a* frame : _frames) HK_FreeTGF(frame, kVersion);
    EntriesTest::TearDown();
  }

 private:
  std::vector<EXTGF2005a*> _frames;
};

TEST_F(PKNoteEntryCollectionTest, GetItemAtAnswersEntries) {
  Music(1, 1, 1, "C4/2 D4/2");
  LoadedEntries layer(1, 1, 1);
  PKNoteEntries& entries = layer.entries;
  EXPECT_STREQ(entries.ClassName(), "PKNoteEntries");
  EXPECT_EQ(entries.GetItemAt(1)->GetMeasurePos(), 2048);
  EXPECT_EQ(entries.GetItemAt(2), nullptr);
  EXPECT_EQ(entries.GetItemAt(-1), nullptr);
}

TEST_F(PKNoteEntryCollectionTest, CopyEntriesReplacesTheTargetWithCopiesWithoutDetails) {
  Music(1, 1, 1, "C4-E4/4 r/4 G4~/2");
  Music(2, 2, 2, "D4/8 D4 D4 D4 D4/2");
  EXTGF2005a* source = Frame(1, 1, 0);
  EXTGF2005a* target = Frame(2, 2, 1);
  const std::uint32_t details = 0x007A54C0u;
  const std::uint32_t kept = kEntryNoteFlag | kEntryGraceFlag | kEntryFillerRestMark | 0x00000001u;
  source->entries[0].flags |= details | kEntryGraceFlag | 0x00000001u;
  source->entries[0].flags2 |= kEntrySmartShapeFlag | kEntryLedgerExemption;
  source->entries[2].host06[1] = 0x5A;

  ASSERT_TRUE(__PKNoteEntryCollection::_CopyEntries(source, target));
  ASSERT_EQ(target->entryCount, 3);
  for (int i = 0; i < 3; ++i) {
    const EXENTRY& copy = target->entries[i];
    const EXENTRY& original = source->entries[i];
    EXPECT_EQ(std::uint32_t(copy.entryNumber), 0u) << i;  // the new records' own numbers
    EXPECT_EQ(copy.duration, original.duration);
    EXPECT_EQ(std::int32_t(copy.measurePos), std::int32_t(original.measurePos));
    EXPECT_EQ(copy.noteCount, original.noteCount);
    EXPECT_EQ(std::memcmp(copy.notes, original.notes, sizeof copy.notes), 0);
    EXPECT_EQ(std::uint32_t(copy.flags), original.flags & ~details);
    EXPECT_EQ(copy.flags2, std::uint16_t(original.flags2 & ~kEntrySmartShapeFlag));
  }
  EXPECT_EQ(target->entries[0].flags & kept, kEntryNoteFlag | kEntryGraceFlag | 0x00000001u);
  EXPECT_EQ(target->entries[0].flags2, kEntryLedgerExemption);
  EXPECT_EQ(target->entries[2].host06[1], 0x5A);
  EXPECT_NE(source->entries[0].entryNumber, 0u);  // the source is not touched

  ASSERT_EQ(HK_SaveTGF(target, kVersion), 1);
  EXPECT_EQ(score.Describe(2, 2, 2), "gC4-E4/4 r/4 G4~/2");
}

TEST_F(PKNoteEntryCollectionTest, CopyOfAnEmptyFrameEmptiesTheTarget) {
  Music(2, 1, 1, "C4/1");
  EXTGF2005a* source = Frame(1, 1, 0);
  EXTGF2005a* target = Frame(2, 1, 0);
  ASSERT_TRUE(__PKNoteEntryCollection::_CopyEntries(source, target));
  EXPECT_EQ(target->entryCount, 0);
  EXPECT_TRUE(__PKNoteEntryCollection::_CopyEntries(source, target));  // empty into empty
  EXPECT_FALSE(__PKNoteEntryCollection::_CopyEntries(nullptr, target));
}

TEST_F(PKNoteEntryCollectionTest, CopyFailsWhenTheHostRefusesTheNewRecords) {
  Music(1, 1, 1, "C4/2 D4/2");
  Music(2, 1, 1, "E4/1");
  EXTGF2005a* source = Frame(1, 1, 0);
  EXTGF2005a* target = Frame(2, 1, 0);
  FailNext("HK_InsertEXENTRY");
  EXPECT_FALSE(__PKNoteEntryCollection::_CopyEntries(source, target));
  EXPECT_EQ(target->entryCount, 0);  // the old entries went, no copy came
  FailNext("HK_DeleteEXENTRY");
  EXTGF2005a* other = Frame(2, 1, 0);
  EXPECT_FALSE(__PKNoteEntryCollection::_CopyEntries(source, other));
  EXPECT_EQ(other->entryCount, 1);
  EXPECT_EQ(other->entries[0].duration, 4096);
}

}  // namespace
