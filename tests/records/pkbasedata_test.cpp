// The load/save protocol every record object shares, on records of the
// substitute host's store.
#include "tonaroframework/records/pkbasedata.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "recordtestsupport.h"
#include "simhost/hostmeaning.h"

namespace {

constexpr EXTAG kTextTag = 0x74787870;  // "txxp"
using Fixed = FixedRecord<__PKNoInciOther>;

class PKBaseDataTest : public RecordsTest {
 protected:
  void SetUp() override {
    Store().Save(kTextTag, simhost::ItemKey(1), Pattern(Fixed::kSize, 10));
    Store().Save(kTextTag, simhost::ItemKey(2), Pattern(Fixed::kSize, 20));
  }
};

TEST_F(PKBaseDataTest, LoadSaveAndDeleteMoveTheRecordUnderTheKey) {
  Fixed record(kTextTag);
  EXPECT_STREQ(record.ClassName(), "FixedRecord");
  EXPECT_EQ(record.ZorvanVersion(), 0x0F000200u);
  ASSERT_TRUE(record.Load(2));
  EXPECT_EQ(record.GetLoadedSize(), Fixed::kSize);
  EXPECT_EQ(record.GetDataBlock(), static_cast<void*>(record.Bytes()));
  EXPECT_EQ(Loaded(record), Pattern(Fixed::kSize, 20));

  record.Bytes()[0] = 99;
  ASSERT_TRUE(record.Save());
  EXPECT_EQ(Stored(kTextTag, simhost::ItemKey(2))[0], 99);

  ASSERT_TRUE(record.DeleteData());
  EXPECT_TRUE(Stored(kTextTag, simhost::ItemKey(2)).empty());
  EXPECT_EQ(record.GetItemNo(), 2);
  EXPECT_EQ(record.GetLoadedSize(), Fixed::kSize);
  EXPECT_FALSE(record.DeleteData()) << "nothing left to delete";
}

TEST_F(PKBaseDataTest, SaveWithNothingLoadedCallsNoHost) {
  Fixed record(kTextTag);
  EXPECT_FALSE(record.Save());
  EXPECT_EQ(host.CallCount("HK_SaveEData"), 0u);
}

TEST_F(PKBaseDataTest, AFailedLoadAfterASuccessfulOneLeavesNothingToSave) {
  Fixed record(kTextTag);
  ASSERT_TRUE(record.Load(1));
  EXPECT_FALSE(record.Load(7));
  EXPECT_EQ(record.GetLoadedSize(), 0);
  EXPECT_EQ(record.GetDataBlock(), static_cast<void*>(record.Bytes())) << "the block stays allocated";
  EXPECT_FALSE(record.Save());
  EXPECT_TRUE(Stored(kTextTag, simhost::ItemKey(7)).empty()) << "stale bytes must not reach the host";
}

TEST_F(PKBaseDataTest, ADynamicRecordGetsAFreshBlockOfTheStoredSizeOnEveryLoad) {
  Store().Save(kTextTag, simhost::ItemKey(3), Pattern(12, 1));
  DynamicRecord record(kTextTag);
  ASSERT_TRUE(record.Load(3));
  EXPECT_EQ(Loaded(record), Pattern(12, 1));

  Store().Save(kTextTag, simhost::ItemKey(3), Pattern(40, 5));
  ASSERT_TRUE(record.Load(3));
  EXPECT_EQ(Loaded(record), Pattern(40, 5));

  // A record that the host lacks has no size, so no block to load into.
  EXPECT_FALSE(record.Load(9));
  EXPECT_EQ(record.GetLoadedSize(), 0);
  EXPECT_EQ(record.GetDataBlock(), nullptr);
  EXPECT_FALSE(record.Save());
}

TEST_F(PKBaseDataTest, CloneKeepsKeyTagOverrideAndBytesButNotTheBlock) {
  for (bool dynamic : {false, true}) {
    SCOPED_TRACE(dynamic ? "dynamic" : "fixed");
    std::unique_ptr<__PKNoInciOther> record;
    if (dynamic)
      record.reset(new DynamicRecord(kTextTag));
    else
      record.reset(new Fixed(kTextTag));
    record->SetTagOverride(kTextTag);
    record->SetUserData(&host);
    ASSERT_TRUE(record->Load(2));

    std::unique_ptr<__PKBaseData> clone(record->CreateClone());
    ASSERT_NE(clone, nullptr);
    EXPECT_STREQ(clone->ClassName(), record->ClassName());
    EXPECT_EQ(clone->GetTagOverride(), kTextTag);
    EXPECT_EQ(KeyOf(*clone), KeyOf(*record));
    EXPECT_EQ(Loaded(*clone), Loaded(*record));
    EXPECT_NE(clone->GetDataBlock(), record->GetDataBlock());
    EXPECT_EQ(clone->GetUserData(), nullptr) << "the base object's fields are not copied";
  }
}

TEST_F(PKBaseDataTest, CloneFromANeverLoadedRecordLeavesTheBlockAsItWas) {
  Fixed target(kTextTag);
  ASSERT_TRUE(target.Load(1));
  Fixed empty(kTextTag);
  EXPECT_FALSE(target.CloneMemoryFrom(&empty));
  EXPECT_EQ(Loaded(target), Pattern(Fixed::kSize, 10));

  // The same holds for the base's own copy into an array it owns.
  DynamicRecord dynamicTarget(kTextTag);
  ASSERT_TRUE(dynamicTarget.Load(1));
  DynamicRecord dynamicEmpty(kTextTag);
  EXPECT_FALSE(dynamicTarget.__PKBaseData::CloneMemoryFrom(&dynamicEmpty));
  EXPECT_EQ(Loaded(dynamicTarget), Pattern(Fixed::kSize, 10));
  // Copying an object's own bytes onto itself keeps them.
  EXPECT_TRUE(dynamicTarget.CloneFrom(&dynamicTarget));
  EXPECT_EQ(Loaded(dynamicTarget), Pattern(Fixed::kSize, 10));
}

TEST_F(PKBaseDataTest, LoadNextWalksTheTagAndStopsWithoutTouchingTheBlock) {
  Fixed record(kTextTag);
  ASSERT_TRUE(record.LoadFirst());
  EXPECT_EQ(record.GetItemNo(), 1);
  ASSERT_TRUE(record.LoadNext());
  EXPECT_EQ(record.GetItemNo(), 2);
  EXPECT_EQ(Loaded(record), Pattern(Fixed::kSize, 20));

  EXPECT_FALSE(record.LoadNext());
  EXPECT_EQ(record.GetItemNo(), 2);
  EXPECT_EQ(Loaded(record), Pattern(Fixed::kSize, 20));
}

TEST_F(PKBaseDataTest, ClearDataReleasesTheBlock) {
  DynamicRecord record(kTextTag);
  ASSERT_TRUE(record.Load(1));
  record.ClearData();
  EXPECT_EQ(record.GetDataBlock(), nullptr);
  EXPECT_EQ(record.GetLoadedSize(), 0);
  EXPECT_FALSE(record.Save());
}

// A host that reports the stored record's full size while filling only the
// room it was given.
std::int32_t TONARO_CALL LoadReportingFullSize(EXTAG, void*, void* buffer, std::int32_t* size, std::uint32_t) {
  if (buffer != nullptr) std::memset(buffer, 7, std::size_t(*size));
  *size += 20;
  return 1;
}

TEST_F(PKBaseDataTest, TheLoadedSizeNeverExceedsTheRoomGiven) {
  host.StandIn("HK_LoadEData", reinterpret_cast<platform::ProcAddress>(&LoadReportingFullSize));
  Fixed record(kTextTag);
  ASSERT_TRUE(record.Load(1));
  EXPECT_EQ(record.GetLoadedSize(), Fixed::kSize);
  EXPECT_EQ(Loaded(record), std::vector<std::uint8_t>(Fixed::kSize, 7));
}

}  // namespace
