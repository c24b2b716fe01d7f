// The record families: how each lays out its key, loads its first and next
// record and saves under a new identity, on the substitute host's store.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "../entries/entrytestsupport.h"
#include "recordtestsupport.h"
#include "simhost/hostmeaning.h"

namespace {

using simhost::EntryKey;
using simhost::ItemKey;
using simhost::NumberKey;
using simhost::TripleKey;
namespace tags = simhost::tags;

// ---- Others ---------------------------------------------------------------

class NoInciOtherTest : public RecordsTest {
 protected:
  using Record = FixedRecord<__PKNoInciOther>;
  static constexpr EXTAG kTag = tags::kArticulationDef;
};

TEST_F(NoInciOtherTest, IterationStartsAtItemOneAndNeverVisitsItemZero) {
  for (std::uint16_t item : {0, 1, 2, 5}) Store().Save(kTag, ItemKey(item), Pattern(Record::kSize, std::uint8_t(item)));
  Record record(kTag);
  EXPECT_STREQ(static_cast<__PKNoInciOther&>(record).__PKNoInciOther::ClassName(), "__PKNoInciOther");
  std::vector<int> visited;
  for (bool loaded = record.LoadFirst(); loaded; loaded = record.LoadNext()) visited.push_back(record.GetItemNo());
  EXPECT_EQ(visited, (std::vector<int>{1, 2, 5}));
}

TEST_F(NoInciOtherTest, WithoutItemOneTheIterationVisitsNothing) {
  for (std::uint16_t item : {2, 3}) Store().Save(kTag, ItemKey(item), Pattern(Record::kSize, 0));
  Record record(kTag);
  EXPECT_FALSE(record.LoadFirst());
}

TEST_F(NoInciOtherTest, SaveNewTakesTheItemNumberTheHostAssigns) {
  Store().Save(kTag, ItemKey(4), Pattern(Record::kSize, 40));
  Record record(kTag);
  EXPECT_FALSE(record.SaveNew()) << "nothing loaded";
  EXPECT_EQ(host.CallCount("HK_CreateEData"), 0u);

  ASSERT_TRUE(record.Load(4));
  ASSERT_TRUE(record.SaveNew());
  EXPECT_EQ(record.GetItemNo(), 5);
  EXPECT_EQ(Stored(kTag, ItemKey(5)), Pattern(Record::kSize, 40));
}

TEST_F(NoInciOtherTest, SaveAsWritesUnderTheItemReplacingOrCreating) {
  Store().Save(kTag, ItemKey(1), Pattern(Record::kSize, 1));
  Store().Save(kTag, ItemKey(2), Pattern(Record::kSize, 2));
  Record record(kTag);
  ASSERT_TRUE(record.Load(1));
  ASSERT_TRUE(record.SaveAs(2));
  ASSERT_TRUE(record.DeepSaveAs(9));
  EXPECT_EQ(Stored(kTag, ItemKey(2)), Pattern(Record::kSize, 1));
  EXPECT_EQ(Stored(kTag, ItemKey(9)), Pattern(Record::kSize, 1));
  EXPECT_EQ(record.GetItemNo(), 9);
}

// Item 3 has incis 0 and 1.
class InciOtherTest : public RecordsTest {
 protected:
  using Record = FixedRecord<__PKInciOther>;
  static constexpr EXTAG kTag = tags::kShapeMeasureMark;
  void SetUp() override {
    Store().Save(kTag, ItemKey(3, 0), Pattern(Record::kSize, 30));
    Store().Save(kTag, ItemKey(3, 1), Pattern(Record::kSize, 31));
  }
};

TEST_F(InciOtherTest, LoadAddressesItemAndInciAndSaveNewTakesTheNextFreeInci) {
  Record record(kTag);
  EXPECT_STREQ(static_cast<__PKOther&>(record).__PKOther::ClassName(), "__PKOther");
  EXPECT_FALSE(record.LoadFirst()) << "a series is read by item";
  EXPECT_FALSE(record.SaveNew(3)) << "nothing loaded";

  ASSERT_TRUE(record.Load(3, 1));
  EXPECT_EQ(Loaded(record), Pattern(Record::kSize, 31));
  ASSERT_TRUE(record.SaveNew(3));
  EXPECT_EQ(record.GetItem(), 3);
  EXPECT_EQ(record.GetInci(), 2);
  ASSERT_TRUE(record.SaveNew(8));
  EXPECT_EQ(record.GetInci(), 0) << "the first inci of an item without records";
  EXPECT_EQ(Stored(kTag, ItemKey(8, 0)), Pattern(Record::kSize, 31));
}

TEST_F(InciOtherTest, LoadNextIsTheHostsNextRecordOfTheTag) {
  Store().Save(kTag, ItemKey(6, 0), Pattern(Record::kSize, 60));
  Record record(kTag);
  ASSERT_TRUE(record.Load(3, 0));
  ASSERT_TRUE(record.LoadNext());
  EXPECT_EQ(record.GetInci(), 1);
  ASSERT_TRUE(record.LoadNext());
  EXPECT_EQ(record.GetItem(), 6);
  EXPECT_FALSE(record.LoadNext());
}

// ---- Details --------------------------------------------------------------

class NoInciDetailTest : public RecordsTest {
 protected:
  using Record = FixedRecord<__PKNoInciDetail>;
  static constexpr EXTAG kTag = tags::kGroup;
};

TEST_F(NoInciDetailTest, LoadTakesBothNumbersAndSaveNewAssignsTheSecond) {
  Store().Save(kTag, TripleKey(1, 4), Pattern(Record::kSize, 14));
  Store().Save(kTag, TripleKey(2, 9), Pattern(Record::kSize, 29));
  Record record(kTag);
  EXPECT_FALSE(record.LoadFirst());
  EXPECT_FALSE(record.SaveNew(1)) << "nothing loaded";
  EXPECT_EQ(host.CallCount("HK_CreateEData"), 0u);

  ASSERT_TRUE(record.Load(1, 4));
  EXPECT_EQ(Loaded(record), Pattern(Record::kSize, 14));
  EXPECT_FALSE(record.Load(1, 9));

  ASSERT_TRUE(record.Load(1, 4));
  ASSERT_TRUE(record.SaveNew(1));
  EXPECT_EQ(record.GetFirst(), 1);
  EXPECT_EQ(record.GetSecond(), 5);
  EXPECT_EQ(KeyOf(record), TripleKey(1, 5));
  EXPECT_EQ(Stored(kTag, TripleKey(1, 5)), Pattern(Record::kSize, 14));
}

// ---- Entry details --------------------------------------------------------

class EntryDetailTest : public EntriesTest {
 protected:
  using Record = FixedRecord<__PKEntryDetail>;
  static constexpr EXTAG kTag = tags::kShapeEntryMark;

  void SetUp() override {
    score.Staves(1).Measures(1);
    Music(1, 1, 1, "C4/4 D4/4 E4/2");
  }
  simhost::RecordStore& Store() { return host.document.Records(); }
};

TEST_F(EntryDetailTest, TheIterationOfAnEntryVisitsItsIncisInOrder) {
  LoadedEntries layer(1, 1, 1);
  const std::int32_t number = std::int32_t(layer[1]->GetEntryNumber());
  for (std::int16_t inci : {0, 1, 2}) Store().Save(kTag, EntryKey(number, inci), Pattern(Record::kSize, 0));
  Store().Save(kTag, EntryKey(number + 1, 0), Pattern(Record::kSize, 0));

  Record record(kTag);
  EXPECT_FALSE(record.LoadFirst()) << "no entry attached";
  record.SetNoteEntry(layer[1]);
  EXPECT_EQ(record.GetNoteEntry(), layer[1]);
  EXPECT_EQ(record.GetEntryNumber(), number);
  std::vector<int> incis;
  for (bool loaded = record.LoadFirst(); loaded; loaded = record.LoadNext()) incis.push_back(record.GetInci());
  EXPECT_EQ(incis, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(record.GetInci(), 2) << "the key stays at the last inci that loaded";
  EXPECT_EQ(record.GetLoadedSize(), 0);
  EXPECT_EQ(host.CallCount("HK_NextEData"), 0u) << "an entry's details are its incis, not the host's next records";
}

TEST_F(EntryDetailTest, SaveNewTakesTheNextFreeInciAndFlagsTheEntry) {
  LoadedEntries layer(1, 1, 1);
  PKNoteEntry* entry = layer[0];
  const std::int32_t number = std::int32_t(entry->GetEntryNumber());
  Store().Save(kTag, EntryKey(number, 0), Pattern(Record::kSize, 50));

  Record record(kTag);
  ASSERT_TRUE(record.Load(number, 0));
  EXPECT_FALSE(record.SaveNew()) << "no entry attached";
  EXPECT_EQ(host.CallCount("HK_CreateEData"), 0u);

  ASSERT_EQ(entry->GetRecord()->flags & kEntryNoteDetailFlag, 0u);
  record.SetNoteEntry(entry);
  ASSERT_TRUE(record.SaveNew());
  EXPECT_EQ(KeyOf(record), EntryKey(number, 1));
  EXPECT_EQ(Stored(kTag, EntryKey(number, 1)), Pattern(Record::kSize, 50));
  EXPECT_NE(entry->GetRecord()->flags & kEntryNoteDetailFlag, 0u);

  record._SetEntryFlag(entry, false);
  EXPECT_EQ(entry->GetRecord()->flags & kEntryNoteDetailFlag, 0u);
}

TEST_F(EntryDetailTest, SaveAsAndHasAnyModAddressAnEntryDirectly) {
  LoadedEntries layer(1, 1, 1);
  const std::int32_t first = std::int32_t(layer[0]->GetEntryNumber());
  const std::int32_t second = std::int32_t(layer[1]->GetEntryNumber());
  Store().Save(kTag, EntryKey(first, 0), Pattern(Record::kSize, 70));

  Record record(kTag);
  EXPECT_TRUE(record._HasAnyMod(NoteAt(layer[0], 0)));
  EXPECT_FALSE(record._HasAnyMod(NoteAt(layer[1], 0)));
  EXPECT_FALSE(record._HasAnyMod(nullptr));
  EXPECT_EQ(record.GetLoadedSize(), 0) << "the object is not changed";
  EXPECT_EQ(record.GetDataBlock(), nullptr);

  ASSERT_TRUE(record.Load(first, 0));
  ASSERT_TRUE(record.SaveAs(second, 3));
  EXPECT_EQ(Stored(kTag, EntryKey(second, 3)), Pattern(Record::kSize, 70));
}

// ---- Globals --------------------------------------------------------------

class GlobalsTest : public RecordsTest {
 protected:
  using Record = FixedRecord<__PKGlobals>;
  static constexpr EXTAG kTag = tags::kClefDef;
};

TEST_F(GlobalsTest, NumbersRunFromZeroUntilTheFirstMissingOne) {
  for (std::int16_t number = 0; number <= 6; ++number) Store().Save(kTag, NumberKey(number), Pattern(Record::kSize, 0));
  Store().Save(kTag, NumberKey(8), Pattern(Record::kSize, 0));
  Store().Delete(kTag, NumberKey(7));
  Record record(kTag);
  EXPECT_STREQ(static_cast<__PKGlobals&>(record).__PKGlobals::ClassName(), "__PKGlobals");

  ASSERT_TRUE(record.Load(5));
  ASSERT_TRUE(record.LoadNext());
  EXPECT_EQ(record.GetNumber(), 6);

  std::vector<int> visited;
  for (bool loaded = record.LoadFirst(); loaded; loaded = record.LoadNext()) visited.push_back(record.GetNumber());
  EXPECT_EQ(visited, (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
}

}  // namespace
