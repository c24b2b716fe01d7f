// The record store's key rules: the order the host walks records in and the
// numbers it assigns to key numbers given as -1.
#include "simhost/recordstore.h"

#include <gtest/gtest.h>

#include "simhost/hostmeaning.h"

namespace {

using simhost::EntryKey;
using simhost::ItemKey;
using simhost::KeyNumbers;
using simhost::RecordBytes;
using simhost::RecordKey;
using simhost::RecordStore;
using simhost::TripleKey;

constexpr EXTAG kOther = MakeTag('S', 'O', 'M', 'S');  // item and inci
constexpr EXTAG kEntryDetail = simhost::tags::kArticulation;
constexpr EXTAG kCellDetail = simhost::tags::kChord;
constexpr EXTAG kDetail = simhost::tags::kCenterShape;

RecordBytes Bytes(std::uint8_t value) { return RecordBytes(4, value); }

std::vector<std::int64_t> CreateAndRead(RecordStore& store, EXTAG tag, RecordKey key) {
  EXPECT_TRUE(store.Create(tag, &key, Bytes(1)));
  return KeyNumbers(tag, key);
}

TEST(RecordStore, AssignsNumbersGivenAsMinusOne) {
  RecordStore store;
  store.Save(kOther, ItemKey(3), Bytes(0));
  store.Save(kOther, ItemKey(7), Bytes(0));
  store.Save(kOther, ItemKey(5, 0), Bytes(0));
  store.Save(kOther, ItemKey(5, 2), Bytes(0));
  store.Save(kEntryDetail, EntryKey(70000, 0), Bytes(0));
  store.Save(kEntryDetail, EntryKey(70000, 1), Bytes(0));
  store.Save(kCellDetail, TripleKey(2, 4, 0), Bytes(0));
  store.Save(kDetail, TripleKey(9, 3, 0), Bytes(0));

  struct Case {
    const char* name;
    EXTAG tag;
    RecordKey key;
    std::vector<std::int64_t> expected;
  };
  const Case cases[] = {
      {"a new item: one above the largest, inci 0", kOther, ItemKey(0xFFFF, -1), {8, 0}},
      {"the first free inci of an item fills a gap", kOther, ItemKey(5, -1), {5, 1}},
      {"the first inci of an item without records", kOther, ItemKey(11, -1), {11, 0}},
      {"the next inci of an entry", kEntryDetail, EntryKey(70000, -1), {70000, 2}},
      {"the first inci of another entry", kEntryDetail, EntryKey(4464, -1), {4464, 0}},
      {"the next inci of a cell", kCellDetail, TripleKey(2, 4, -1), {2, 4, 1}},
      {"the first inci of another cell", kCellDetail, TripleKey(2, 5, -1), {2, 5, 0}},
      {"a detail's second number: one above the largest", kDetail, TripleKey(9, -1, 0), {9, 4, 0}},
      {"a detail's second number: 1 for a new first", kDetail, TripleKey(10, -1, 0), {10, 1, 0}},
      {"nothing to assign", kOther, ItemKey(40, 0), {40, 0}},
  };
  for (const Case& c : cases) EXPECT_EQ(CreateAndRead(store, c.tag, c.key), c.expected) << c.name;
}

TEST(RecordStore, CreateRefusesAnExistingKeyAndAnUnassignableEntryNumber) {
  RecordStore store;
  RecordKey key = ItemKey(4, 0);
  ASSERT_TRUE(store.Create(kOther, &key, Bytes(1)));
  EXPECT_FALSE(store.Create(kOther, &key, Bytes(2)));
  EXPECT_EQ(*store.Find(kOther, key), Bytes(1));

  RecordKey entry = EntryKey(-1, -1);
  EXPECT_FALSE(store.Create(kEntryDetail, &entry, Bytes(1)));
  EXPECT_EQ(entry, EntryKey(-1, -1));
  EXPECT_EQ(store.Count(kEntryDetail), 0u);
}

TEST(RecordStore, SaveReplacesAndDeleteRemoves) {
  RecordStore store;
  store.Save(kOther, ItemKey(1), Bytes(1));
  store.Save(kOther, ItemKey(1), Bytes(2));
  EXPECT_EQ(*store.Find(kOther, ItemKey(1)), Bytes(2));
  EXPECT_EQ(store.Find(kEntryDetail, ItemKey(1)), nullptr);  // tags are apart
  EXPECT_TRUE(store.Delete(kOther, ItemKey(1)));
  EXPECT_FALSE(store.Delete(kOther, ItemKey(1)));
  EXPECT_EQ(store.Count(), 0u);
}

TEST(RecordStore, DeletingAnEntryDetailClosesTheGapInThatEntrysIncis) {
  RecordStore store;
  for (std::int16_t inci = 0; inci < 4; ++inci) store.Save(kEntryDetail, EntryKey(9, inci), Bytes(std::uint8_t(inci)));
  store.Save(kEntryDetail, EntryKey(10, 2), Bytes(20));
  store.Save(kOther, ItemKey(9, 0), Bytes(0));
  store.Save(kOther, ItemKey(9, 2), Bytes(2));

  ASSERT_TRUE(store.Delete(kEntryDetail, EntryKey(9, 1)));
  std::vector<std::uint8_t> incisOfNine;
  for (std::int16_t inci = 0; inci < 4; ++inci) {
    const RecordBytes* bytes = store.Find(kEntryDetail, EntryKey(9, inci));
    if (bytes != nullptr) incisOfNine.push_back((*bytes)[0]);
  }
  EXPECT_EQ(incisOfNine, (std::vector<std::uint8_t>{0, 2, 3}));
  EXPECT_EQ(store.Find(kEntryDetail, EntryKey(9, 3)), nullptr);
  EXPECT_NE(store.Find(kEntryDetail, EntryKey(10, 2)), nullptr) << "another entry keeps its incis";

  // Other layouts keep their gaps.
  ASSERT_TRUE(store.Delete(kOther, ItemKey(9, 0)));
  EXPECT_NE(store.Find(kOther, ItemKey(9, 2)), nullptr);
  EXPECT_EQ(store.Find(kOther, ItemKey(9, 1)), nullptr);
}

TEST(RecordStore, WalksRecordsInTheOrderOfTheirKeyNumbers) {
  RecordStore store;
  // Entry numbers above 65535 and negative incis order as numbers, not bytes.
  for (std::int32_t entry : {70000, 3, 256, 65536}) store.Save(kEntryDetail, EntryKey(entry, 0), Bytes(0));
  store.Save(kEntryDetail, EntryKey(256, -2), Bytes(0));
  store.Save(kOther, ItemKey(2), Bytes(0));  // another tag is not visited

  std::vector<std::vector<std::int64_t>> forward;
  RecordKey key{};
  while (store.Next(kEntryDetail, &key)) forward.push_back(KeyNumbers(kEntryDetail, key));
  const std::vector<std::vector<std::int64_t>> expected = {
      {3, 0}, {256, -2}, {256, 0}, {65536, 0}, {70000, 0}};
  EXPECT_EQ(forward, expected);
  EXPECT_EQ(KeyNumbers(kEntryDetail, key), (std::vector<std::int64_t>{70000, 0}));  // unchanged at the end

  std::vector<std::vector<std::int64_t>> backward;
  key = EntryKey(100000, 0);
  while (store.Previous(kEntryDetail, &key)) backward.push_back(KeyNumbers(kEntryDetail, key));
  EXPECT_EQ(backward, std::vector<std::vector<std::int64_t>>(expected.rbegin(), expected.rend()));

  // A key that addresses no record still finds its neighbour.
  key = EntryKey(300, 0);
  ASSERT_TRUE(store.Next(kEntryDetail, &key));
  EXPECT_EQ(KeyNumbers(kEntryDetail, key), (std::vector<std::int64_t>{65536, 0}));
}

}  // namespace
