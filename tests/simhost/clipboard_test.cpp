// The music clipboard behind HK_CopyCutMusic, HK_InsertMergeMusic and
// HK_DisposeTonClipFileToken.
#include "simhost/clipboard.h"

#include <gtest/gtest.h>

#include "simhost/host.h"
#include "simhost/scorebuilder.h"
#include "tonaropdk/hkservices.h"

namespace {

constexpr std::uint32_t kVersion = kTonaroFrameworkVersion;

simhost::MusicClipRequest Request(const EREGION& region) { return simhost::MusicClipRequest{region, 1, 1}; }

class Clipboard : public ::testing::Test {
 protected:
  void SetUp() override {
    score.Staves(3).Measures(3);
    ASSERT_TRUE(score.Layer(1, 1, 1, "C4/4@s D4/4 {3:2 E4/8 F4 G4} A4/4"));
    ASSERT_TRUE(score.Layer(1, 2, 1, "B4/2 C5/2"));
    ASSERT_TRUE(score.Layer(2, 1, 2, "C3/1"));
  }
  simhost::Host host;
  simhost::ScoreBuilder score{host.document};
};

TEST_F(Clipboard, CopyAndPasteWholeMeasures) {
  simhost::MusicClipRequest source = Request(simhost::Document::MakeRegion(1, 2, 1, 2));
  const std::int32_t token = HK_CopyCutMusic(&source, 1, kVersion);
  ASSERT_NE(token, 0);
  EXPECT_EQ(score.Describe(1, 1, 1), "C4/4@s D4/4 {3:2/8 E4/8 F4/8 G4/8} A4/4");  // a copy leaves the source

  ASSERT_TRUE(score.Layer(3, 2, 1, "r/1"));
  simhost::MusicClipRequest target = Request(simhost::Document::MakeRegion(2, 2, 2, 2));
  ASSERT_EQ(HK_InsertMergeMusic(token, &target, 1, kVersion), 1);
  // Rows go to staves 2 and 3, measures 1 and 2 to 2 and 3; the copies have their own numbers and records.
  EXPECT_EQ(score.Describe(2, 2, 1), "C4/4@s D4/4 {3:2/8 E4/8 F4/8 G4/8} A4/4");
  EXPECT_EQ(score.Describe(2, 3, 1), "B4/2 C5/2");
  EXPECT_EQ(score.Describe(2, 2, 2), "");   // the source's empty layer 2 of staff 1
  EXPECT_EQ(score.Describe(3, 2, 2), "C3/1");
  EXPECT_EQ(score.Describe(3, 2, 1), "");   // replaced by the empty layer 1 of staff 2
  EXPECT_NE(score.EntryNumber(2, 2, 1, 0), score.EntryNumber(1, 1, 1, 0));

  // The same clip pastes again until it is disposed of.
  simhost::MusicClipRequest again = Request(simhost::Document::MakeRegion(1, 1, 3, 3));
  ASSERT_EQ(HK_InsertMergeMusic(token, &again, 1, kVersion), 1);
  EXPECT_EQ(score.Describe(1, 3, 1), "C4/4@s D4/4 {3:2/8 E4/8 F4/8 G4/8} A4/4");
  EXPECT_EQ(host.clipboard.Held(), 1u);
  ASSERT_EQ(HK_DisposeTonClipFileToken(token, kVersion), 1);
  EXPECT_EQ(HK_DisposeTonClipFileToken(token, kVersion), 0);
  EXPECT_EQ(HK_InsertMergeMusic(token, &again, 1, kVersion), 0);
}

TEST_F(Clipboard, CutTakesOnlyWhatLiesInTheRegion) {
  // From measure 1 at 1024 to measure 2 at 0, both ends included.
  simhost::MusicClipRequest source = Request(simhost::Document::MakeRegion(1, 1, 1, 2, 1024, 0));
  const std::int32_t token = HK_CopyCutMusic(&source, 2, kVersion);
  ASSERT_NE(token, 0);
  EXPECT_EQ(score.Describe(1, 1, 1), "C4/4@s");
  EXPECT_EQ(score.Describe(1, 2, 1), "C5/2");

  // Pasting back puts the entries where they were, in the copied spans only.
  simhost::MusicClipRequest target = Request(simhost::Document::MakeRegion(1, 1, 1, 2));
  ASSERT_EQ(HK_InsertMergeMusic(token, &target, 1, kVersion), 1);
  EXPECT_EQ(score.Describe(1, 1, 1), "C4/4@s D4/4 {3:2/8 E4/8 F4/8 G4/8} A4/4");
  EXPECT_EQ(score.Describe(1, 2, 1), "B4/2 C5/2");
  HK_DisposeTonClipFileToken(token, kVersion);
}

TEST_F(Clipboard, RefusesEmptyRegionsAndUnknownModes) {
  simhost::MusicClipRequest empty = Request(EREGION{});
  EXPECT_EQ(HK_CopyCutMusic(&empty, 1, kVersion), 0);
  simhost::MusicClipRequest source = Request(simhost::Document::MakeRegion(1, 1, 1, 1));
  EXPECT_EQ(HK_CopyCutMusic(&source, 3, kVersion), 0);
  const std::int32_t token = HK_CopyCutMusic(&source, 1, kVersion);
  ASSERT_NE(token, 0);
  EXPECT_EQ(HK_InsertMergeMusic(token, &empty, 1, kVersion), 0);
  EXPECT_EQ(HK_InsertMergeMusic(token + 1, &source, 1, kVersion), 0);
  EXPECT_NE(HK_CopyCutMusic(&source, 1, kVersion), token);  // every copy gets its own token
  EXPECT_EQ(host.clipboard.Held(), 2u);
}

}  // namespace
