// Details of single notes, found by scanning an entry's incis for the note
// ID, on the dot modification of rests and notes.
#include "tonaroframework/entries/pkentrydetailnoteid.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "entrytestsupport.h"

namespace {

// An entry detail's key as its two numbers: entry number and inci.
std::vector<int> KeyOfDetail(const __PKEntryDetail& detail) { return {detail.GetEntryNumber(), detail.GetInci()}; }

class PKDotModTest : public EntriesTest {
 protected:
  void SetUp() override {
    score.Staves(1).Measures(1);
    Music(1, 1, 1, "C4-E4/2. r/4");
  }
  // Stores a dot modification for a note ID under (entry, inci).
  void StoreDotMod(PKNoteEntry* entry, std::int16_t inci, std::int16_t noteID, std::int16_t offset = 0) {
    std::vector<std::uint8_t> bytes(PKDotMod::kRecordSize, 0);
    std::memcpy(bytes.data(), &noteID, 2);
    std::memcpy(bytes.data() + 2, &offset, 2);
    host.document.Records().Save(PKDotMod::kTag, simhost::EntryKey(Number(entry), inci), bytes);
  }
  static std::int32_t Number(PKNoteEntry* entry) { return std::int32_t(entry->GetEntryNumber()); }
  static bool Flagged(PKNoteEntry* entry) { return (entry->GetRecord()->flags & kEntrySpecialAltsFlag) != 0; }
};

TEST_F(PKDotModTest, TheScanStopsAtTheFirstMissingInci) {
  LoadedEntries layer(1, 1, 1);
  StoreDotMod(layer[0], 0, 2);
  StoreDotMod(layer[0], 1, 1);
  StoreDotMod(layer[0], 3, 5);
  PKDotMod dot;
  EXPECT_EQ(dot._ScanForNoteID(layer[0], 2), 0);
  EXPECT_EQ(dot._ScanForNoteID(layer[0], 1), 1);
  EXPECT_EQ(dot._ScanForNoteID(layer[0], 5), -1) << "beyond the gap at inci 2";
  EXPECT_EQ(dot._ScanForNoteID(layer[1], 2), -1);
}

TEST_F(PKDotModTest, ARestsDotIsSavedOnceAndLoadedWhenItsFlagSaysSo) {
  LoadedEntries layer(1, 1, 1);
  PKNoteEntry* rest = layer[1];
  PKDotMod dot;
  const std::uint32_t loads = host.CallCount("HK_LoadEData");
  EXPECT_FALSE(dot.LoadRestDotAt(rest)) << "the flag is clear";
  EXPECT_EQ(host.CallCount("HK_LoadEData"), loads);

  dot.SetHorizontalOffset(12);
  ASSERT_TRUE(dot.SaveRestDotAt(rest));
  EXPECT_TRUE(Flagged(rest));
  EXPECT_EQ(KeyOfDetail(dot), (std::vector<int>{Number(rest), 0}));
  dot.SetHorizontalOffset(20);
  ASSERT_TRUE(dot.SaveRestDotAt(rest)) << "the second save overwrites the first";
  EXPECT_EQ(host.document.Records().Count(PKDotMod::kTag), 1u);

  PKDotMod loaded;
  ASSERT_TRUE(loaded.LoadRestDotAt(rest));
  EXPECT_EQ(loaded.GetHorizontalOffset(), 20);
}

TEST_F(PKDotModTest, ANotesDetailIsSavedLoadedAndErased) {
  LoadedEntries layer(1, 1, 1);
  PKNote* upper = NoteAt(layer[0], 1);
  PKNote* lower = NoteAt(layer[0], 0);
  PKDotMod dot;
  EXPECT_FALSE(dot.LoadAt(upper));

  dot.SetVerticalOffset(-3);
  ASSERT_TRUE(dot.SaveAt(upper));
  ASSERT_TRUE(dot.SaveAt(lower));
  EXPECT_TRUE(Flagged(layer[0]));
  PKDotMod loaded;
  ASSERT_TRUE(loaded.LoadAt(upper));
  EXPECT_EQ(loaded.GetVerticalOffset(), -3);
  EXPECT_EQ(loaded.GetInci(), 0);

  ASSERT_TRUE(loaded.EraseAt(upper));
  EXPECT_EQ(loaded.GetInci(), -1);
  EXPECT_TRUE(Flagged(layer[0])) << "the lower note's detail is left";
  EXPECT_EQ(loaded._ScanForNoteID(layer[0], lower->GetNoteID()), 0) << "the host closed the gap";
  ASSERT_TRUE(loaded.EraseAt(lower));
  EXPECT_FALSE(Flagged(layer[0]));
  EXPECT_FALSE(loaded.EraseAt(lower));
}

TEST_F(PKDotModTest, ARefusedSaveChangesNeitherKeyNorFlag) {
  LoadedEntries layer(1, 1, 1);
  PKDotMod dot;
  host.FailCall("HK_CreateEData", host.CallCount("HK_CreateEData") + 1);
  EXPECT_FALSE(dot.SaveRestDotAt(layer[1]));
  EXPECT_FALSE(Flagged(layer[1]));
  EXPECT_EQ(KeyOfDetail(dot), (std::vector<int>{0, 0}));
  EXPECT_EQ(host.document.Records().Count(PKDotMod::kTag), 0u);
}

}  // namespace
