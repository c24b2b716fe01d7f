// The record services of the substitute host, through the library's wrappers.
#include <gtest/gtest.h>

#include <cstring>

#include "simhost/host.h"
#include "simhost/pitch.h"
#include "tonaropdk/hkservices.h"

namespace {

constexpr std::uint32_t kVersion = kTonaroFrameworkVersion;
constexpr EXTAG kTag = MakeTag('T', 'E', 'S', 'T');
using simhost::ItemKey;
using simhost::RecordBytes;
using simhost::RecordKey;

class RecordServices : public ::testing::Test {
 protected:
  void SetUp() override { host.document.Records().Save(kTag, ItemKey(2), RecordBytes{1, 2, 3, 4, 5, 6}); }
  simhost::Host host;
};

TEST_F(RecordServices, LoadReportsTheSizeAndFillsAtMostTheRoomGiven) {
  RecordKey key = ItemKey(2);
  std::int32_t size = 0;
  ASSERT_EQ(HK_LoadEData(kTag, key.data(), nullptr, &size, kVersion), 1);
  EXPECT_EQ(size, 6);

  std::uint8_t buffer[8] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
  size = 4;
  ASSERT_EQ(HK_LoadEData(kTag, key.data(), buffer, &size, kVersion), 1);
  EXPECT_EQ(size, 4);
  const std::uint8_t truncated[8] = {1, 2, 3, 4, 0xEE, 0xEE, 0xEE, 0xEE};
  EXPECT_EQ(std::memcmp(buffer, truncated, 8), 0);

  size = 8;
  ASSERT_EQ(HK_LoadEData(kTag, key.data(), buffer, &size, kVersion), 1);
  EXPECT_EQ(size, 6);
  EXPECT_EQ(buffer[5], 6);
  EXPECT_EQ(buffer[6], 0xEE);

  RecordKey missing = ItemKey(3);
  size = 8;
  EXPECT_EQ(HK_LoadEData(kTag, missing.data(), buffer, &size, kVersion), 0);
  EXPECT_EQ(size, 8);
}

TEST_F(RecordServices, SaveReplacesOrCreatesAndDeleteRemoves) {
  std::uint8_t bytes[3] = {9, 8, 7};
  RecordKey key = ItemKey(2);
  ASSERT_EQ(HK_SaveEData(kTag, key.data(), bytes, 3, kVersion), 1);
  EXPECT_EQ(*host.document.Records().Find(kTag, key), (RecordBytes{9, 8, 7}));
  RecordKey other = ItemKey(5, 1);
  ASSERT_EQ(HK_SaveEData(kTag, other.data(), bytes, 2, kVersion), 1);
  EXPECT_EQ(*host.document.Records().Find(kTag, other), (RecordBytes{9, 8}));
  EXPECT_EQ(HK_SaveEData(kTag, other.data(), nullptr, 2, kVersion), 0);
  EXPECT_EQ(HK_SaveEData(kTag, other.data(), bytes, 0, kVersion), 0);

  ASSERT_EQ(HK_DeleteEData(kTag, other.data(), kVersion), 1);
  EXPECT_EQ(HK_DeleteEData(kTag, other.data(), kVersion), 0);
  EXPECT_EQ(host.document.Records().Find(kTag, other), nullptr);
}

TEST_F(RecordServices, CreateWritesTheAssignedNumbersBackIntoTheKey) {
  std::uint8_t bytes[2] = {1, 1};
  RecordKey key = ItemKey(0xFFFF, -1);
  ASSERT_EQ(HK_CreateEData(kTag, key.data(), bytes, 2, kVersion), 1);
  EXPECT_EQ(key, ItemKey(3, 0));
  RecordKey inci = ItemKey(3, -1);
  ASSERT_EQ(HK_CreateEData(kTag, inci.data(), bytes, 2, kVersion), 1);
  EXPECT_EQ(inci, ItemKey(3, 1));

  RecordKey entryKey = simhost::EntryKey(77, -1);
  ASSERT_EQ(HK_CreateEData(simhost::tags::kTuplet, entryKey.data(), bytes, 2, kVersion), 1);
  EXPECT_EQ(entryKey, simhost::EntryKey(77, 0));

  RecordKey taken = ItemKey(2);
  EXPECT_EQ(HK_CreateEData(kTag, taken.data(), bytes, 2, kVersion), 0);
  EXPECT_EQ(*host.document.Records().Find(kTag, taken), (RecordBytes{1, 2, 3, 4, 5, 6}));
}

TEST_F(RecordServices, NextAndPreviousMoveTheKeyThroughTheTag) {
  host.document.Records().Save(kTag, ItemKey(9), RecordBytes{9});
  RecordKey key = ItemKey(0);
  ASSERT_EQ(HK_NextEData(kTag, key.data(), nullptr, 0, kVersion), 1);
  EXPECT_EQ(key, ItemKey(2));
  std::uint8_t buffer[1] = {0};
  ASSERT_EQ(HK_NextEData(kTag, key.data(), buffer, 1, kVersion), 1);
  EXPECT_EQ(key, ItemKey(9));
  EXPECT_EQ(buffer[0], 9);
  EXPECT_EQ(HK_NextEData(kTag, key.data(), nullptr, 0, kVersion), 0);
  EXPECT_EQ(key, ItemKey(9));
  ASSERT_EQ(HK_PreviousEData(kTag, key.data(), nullptr, 0, kVersion), 1);
  EXPECT_EQ(key, ItemKey(2));
  EXPECT_EQ(HK_PreviousEData(kTag, key.data(), nullptr, 0, kVersion), 0);
}

// Measures, staves and clefs are records the library reads and writes like any other.
TEST_F(RecordServices, TheDocumentsOwnRecordsAreReachable) {
  host.document.AddStaff(4);
  host.document.AddMeasure(simhost::TimeSignature{3, 1024}, simhost::MakeKeyValue(2));

  std::uint8_t measure[26] = {};
  std::int32_t size = 26;
  RecordKey key = ItemKey(1);
  ASSERT_EQ(HK_LoadEData(simhost::tags::kMeasure, key.data(), measure, &size, kVersion), 1);
  EXPECT_EQ(size, 26);
  std::int16_t words[4];
  std::memcpy(words, measure, sizeof(words));
  EXPECT_EQ(words[1], 2);     // key value: two sharps
  EXPECT_EQ(words[2], 3);     // beats
  EXPECT_EQ(words[3], 1024);  // beat duration

  // A time signature written by the library changes the measure's length.
  const std::int16_t beats = 5;
  std::memcpy(measure + 4, &beats, 2);
  ASSERT_EQ(HK_SaveEData(simhost::tags::kMeasure, key.data(), measure, 26, kVersion), 1);
  EXPECT_EQ(HK_GetMeasureDuration(4, 1, kVersion), 5 * 1024);

  // The staff at any place is the staff record; clef 0 puts middle C below the staff.
  const std::uint8_t flags[2] = {0x00, 0x80};
  ASSERT_EQ(HK_SaveEData(simhost::tags::kStaff, ItemKey(4).data(), const_cast<std::uint8_t*>(flags), 2, kVersion), 1);
  std::uint8_t spec[114] = {};
  size = 114;
  std::uint8_t specKey[8] = {4, 0, 1, 0, 0, 2, 0, 0};  // staff 4, measure 1, position 512
  ASSERT_EQ(HK_LoadEData(simhost::tags::kCurrentStaffSpec, specKey, spec, &size, kVersion), 1);
  EXPECT_EQ(spec[1], 0x80);
  std::int16_t clefOffset = 0;
  size = 2;
  ASSERT_EQ(HK_LoadEData(simhost::tags::kClefDef, simhost::NumberKey(0).data(), &clefOffset, &size, kVersion), 1);
  EXPECT_EQ(clefOffset, -10);
}

}  // namespace
