// Tuplet records: their appearance settings and their flag on the entry.
#include "tonaroframework/entries/pktuplet.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "entrytestsupport.h"

namespace {

// One setting's value and the flag-word bits it stands for.
struct ModeCase {
  int value;
  std::uint16_t flags;
};

TEST(PKTupletModes, PlacementNumberAndShapeReadAndWriteTheirOwnBits) {
  const ModeCase placements[] = {{0, 0x0000}, {1, 0x0010}, {2, 0x0020}, {3, 0x0030}, {4, 0x0040}};
  const ModeCase numbers[] = {{0, 0x0}, {1, 0x1}, {2, 0x2}, {3, 0x3}, {4, 0x4}};
  const ModeCase shapes[] = {{0, 0x0000}, {1, 0x2000}, {2, 0x1000}};
  constexpr std::uint16_t kOthers = 0x8F8F;  // every bit outside the three settings
  for (const ModeCase& c : placements) {
    PKTuplet tuplet;
    tuplet.Record().flags = std::uint16_t(kOthers & ~0x0070);
    tuplet.SetPlacementMode(PKTuplet::PLACEMENTMODE(c.value));
    EXPECT_EQ(tuplet.Record().flags, std::uint16_t((kOthers & ~0x0070) | c.flags)) << "placement " << c.value;
    EXPECT_EQ(tuplet.GetPlacementMode(), c.value);
  }
  for (const ModeCase& c : numbers) {
    PKTuplet tuplet;
    tuplet.Record().flags = 0xFFF0;
    tuplet.SetNumberStyle(PKTuplet::NUMBERSTYLE(c.value));
    EXPECT_EQ(tuplet.Record().flags, std::uint16_t(0xFFF0 | c.flags)) << "number " << c.value;
    EXPECT_EQ(tuplet.GetNumberStyle(), c.value);
  }
  for (const ModeCase& c : shapes) {
    PKTuplet tuplet;
    tuplet.Record().flags = 0x0005;
    tuplet.SetShapeStyle(PKTuplet::SHAPESTYLE(c.value));
    EXPECT_EQ(tuplet.Record().flags, std::uint16_t(0x0005 | c.flags)) << "shape " << c.value;
    EXPECT_EQ(tuplet.GetShapeStyle(), c.value);
  }
}

TEST(PKTupletModes, PatternsOutsideTheTableReadAsZeroAndUnknownValuesWriteZero) {
  PKTuplet tuplet;
  tuplet.Record().flags = 0x1005;
  tuplet.SetShapeStyle(PKTuplet::kShapeBracket);
  EXPECT_EQ(tuplet.Record().flags, 0x2005);
  EXPECT_EQ(tuplet.GetShapeStyle(), PKTuplet::kShapeBracket);

  for (std::uint16_t flags : {0x0050, 0x0060, 0x0070}) {
    tuplet.Record().flags = flags;
    EXPECT_EQ(tuplet.GetPlacementMode(), PKTuplet::kPlacementManual) << std::hex << flags;
  }
  tuplet.Record().flags = 0x000B;
  EXPECT_EQ(tuplet.GetNumberStyle(), PKTuplet::kNumberNothing);
  tuplet.Record().flags = 0x3000;
  EXPECT_EQ(tuplet.GetShapeStyle(), PKTuplet::kShapeNothing);

  tuplet.Record().flags = 0x0043;
  tuplet.SetPlacementMode(PKTuplet::PLACEMENTMODE(7));
  tuplet.SetNumberStyle(PKTuplet::NUMBERSTYLE(9));
  EXPECT_EQ(tuplet.Record().flags, 0x0000);
}

TEST(PKTupletModes, TheAppearanceSpansTwoWords) {
  struct Case {
    int value;
    bool flagBit, wordBit;
  } cases[] = {{0, false, false}, {1, true, false}, {2, true, true}};
  for (const Case& c : cases) {
    PKTuplet tuplet;
    tuplet.Record().flags = 0x0123;
    tuplet.Record().appearance = 0x0F0F;
    tuplet.SetAppearanceMode(PKTuplet::APPEARANCEMODE(c.value));
    EXPECT_EQ(tuplet.Record().flags, std::uint16_t(0x0123 | (c.flagBit ? 0x8000 : 0))) << c.value;
    EXPECT_EQ(tuplet.Record().appearance, std::uint16_t((0x0F0F & ~0x0010) | (c.wordBit ? 0x0010 : 0))) << c.value;
    EXPECT_EQ(tuplet.GetAppearanceMode(), c.value);
  }
  PKTuplet tuplet;
  tuplet.Record().appearance = 0x0010;
  EXPECT_EQ(tuplet.GetAppearanceMode(), PKTuplet::kAppearanceAlways) << "without the flag-word bit the word bit is ignored";
  tuplet.SetAppearanceMode(PKTuplet::APPEARANCEMODE(5));
  EXPECT_EQ(tuplet.Record().appearance, 0x0000);
}

class PKTupletTest : public EntriesTest {
 protected:
  void SetUp() override { score.Staves(1).Measures(1); }
};

TEST_F(PKTupletTest, TheTupletOfAnEntryLoadsAndANewOneFlagsItsEntry) {
  Music(1, 1, 1, "{3:2/8 C4/8 D4/8 E4/8} F4/4 r/2");
  LoadedEntries layer(1, 1, 1);
  PKTuplet tuplet;
  EXPECT_STREQ(tuplet.ClassName(), "PKTuplet");
  tuplet.SetNoteEntry(layer[0]);
  ASSERT_TRUE(tuplet.LoadFirst());
  EXPECT_EQ(tuplet.GetLoadedSize(), 30);
  EDTTuplet2005 fromFrame;
  ASSERT_TRUE(layer[0]->_GetTupletDef(0, &fromFrame));
  EXPECT_EQ(std::memcmp(&fromFrame, &tuplet.Record(), sizeof fromFrame), 0);

  std::unique_ptr<__PKBaseData> copy(tuplet.CreateClone());
  EXPECT_FALSE(tuplet.LoadNext()) << "one tuplet starts at the entry";
  auto* second = static_cast<PKTuplet*>(copy.get());
  second->SetNoteEntry(layer[3]);
  ASSERT_EQ(layer[3]->GetRecord()->flags & kEntryTupletFlag, 0u);
  ASSERT_TRUE(second->SaveNew());
  EXPECT_NE(layer[3]->GetRecord()->flags & kEntryTupletFlag, 0u);
  PKTuplet reloaded;
  ASSERT_TRUE(reloaded.Load(std::int32_t(layer[3]->GetEntryNumber()), 0));
  EXPECT_EQ(std::memcmp(&reloaded.Record(), &fromFrame, sizeof fromFrame), 0);
}

}  // namespace
