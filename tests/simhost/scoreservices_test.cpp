// The score-layout services of the substitute host: slots and staves,
// measure lengths, regions and region actions.
#include <gtest/gtest.h>

#include <cstring>

#include "simhost/host.h"
#include "tonaropdk/hkservices.h"

// Packed host fields are compared as values, +(field): the checks take
// references, which a packed field at an odd address cannot give.
namespace {

constexpr std::uint32_t kVersion = kTonaroFrameworkVersion;

bool SameRegion(const EREGION& a, const EREGION& b) { return std::memcmp(&a, &b, sizeof(EREGION)) == 0; }

class ScoreServices : public ::testing::Test {
 protected:
  void SetUp() override {
    for (std::int16_t staff : {3, 5, 9}) host.document.AddStaff(staff);
    host.document.AddMeasure();
    host.document.AddMeasure(simhost::TimeSignature{6, 512});
    host.document.AddMeasure(simhost::TimeSignature{3, 2048});
  }
  simhost::Host host;
};

TEST_F(ScoreServices, SlotsAndStavesConvertInTheListNamed) {
  ASSERT_TRUE(host.document.SetScoreOrder({9, 3, 5}));
  ASSERT_TRUE(host.document.SetStaffList(2, {5, 9}));
  struct Case {
    std::int16_t slot;
    std::uint16_t list;
    std::int16_t staff;
  };
  const Case cases[] = {{1, 0, 9}, {2, 0, 3}, {3, 0, 5}, {4, 0, 0}, {0, 0, 0}, {1, 2, 5}, {2, 2, 9}, {3, 2, 0}, {1, 4, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(HK_SlotToInst(c.slot, c.list, kVersion), c.staff) << "slot " << c.slot << " list " << c.list;
    if (c.staff != 0) {
      EXPECT_EQ(HK_InstToSlot(c.staff, c.list, kVersion), c.slot);
    }
  }
  EXPECT_EQ(HK_InstToSlot(3, 2, kVersion), 0);   // not in list 2
  EXPECT_EQ(HK_InstToSlot(4, 0, kVersion), 0);   // no such staff
  EXPECT_FALSE(host.document.SetScoreOrder({9, 3}));
  EXPECT_FALSE(host.document.SetStaffList(0, {3}));
  EXPECT_FALSE(host.document.SetStaffList(1, {4}));
}

TEST_F(ScoreServices, MeasureDurationsFollowTheTimeSignatures) {
  EXPECT_EQ(HK_GetMeasureDuration(3, 1, kVersion), 4096);
  EXPECT_EQ(HK_GetMeasureDuration(5, 2, kVersion), 3072);
  EXPECT_EQ(HK_GetMeasureDuration(9, 3, kVersion), 6144);
  EXPECT_EQ(HK_GetMeasureDuration(9, 4, kVersion), 0);
  EXPECT_EQ(HK_GetMeasureDuration(4, 1, kVersion), 0);
}

TEST_F(ScoreServices, RegionsAreTheSelectionAndTheWholeDocument) {
  std::int32_t unused = 99;
  EREGION selection, whole;
  std::memset(&selection, 0x55, sizeof(selection));
  EXPECT_EQ(HK_GetCurERegions(&unused, &selection, &whole, kVersion), 0);  // nothing selected
  EXPECT_TRUE(SameRegion(selection, EREGION{}));
  EXPECT_TRUE(SameRegion(whole, simhost::Document::MakeRegion(1, 3, 1, 3)));
  EXPECT_EQ(+(whole.endPos), kEndOfMeasure);

  EREGION chosen = simhost::Document::MakeRegion(2, 3, 2, 2, 512, 1023);
  ASSERT_EQ(HK_SetCurERegion(&chosen, kVersion), 1);
  EXPECT_EQ(HK_GetCurERegions(&unused, &selection, &whole, kVersion), 1);
  EXPECT_TRUE(SameRegion(selection, chosen));

  ASSERT_EQ(HK_RebeamRegion(&chosen, 0, kVersion), 1);
  ASSERT_EQ(HK_RedrawMusic(&whole, kVersion), 1);
  ASSERT_EQ(host.regionCalls.size(), 3u);
  EXPECT_EQ(host.regionCalls[1].service, "HK_RebeamRegion");
  EXPECT_EQ(host.regionCalls[2].service, "HK_RedrawMusic");
  EXPECT_TRUE(SameRegion(host.regionCalls[2].region, whole));
}

}  // namespace
