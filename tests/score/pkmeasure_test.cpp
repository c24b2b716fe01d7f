// Measure records: typed access to their flag words, their key and time
// signatures, and the measures of a region.
#include "tonaroframework/score/pkmeasure.h"

#include <gtest/gtest.h>

#include "simhost/host.h"
#include "simhost/scorebuilder.h"
#include "tonaroframework/score/pkkeysignature.h"
#include "tonaroframework/score/pkmusicregion.h"
#include "tonaroframework/score/pktimesignature.h"
#include "tonaropdk/hkbinding.h"

namespace {

class PKMeasureTest : public ::testing::Test {
 protected:
  void SetUp() override { score.Staves(1).Measures(3, simhost::TimeSignature{3, 1024}, 0x00FD); }
  // The 16-bit word at a byte offset of the stored record of a measure.
  std::uint16_t StoredWord(std::uint16_t measure, int offset) {
    const simhost::RecordBytes* bytes = host.document.Records().Find(PKMeasure::kTag, simhost::ItemKey(measure));
    return bytes == nullptr ? 0 : std::uint16_t((*bytes)[std::size_t(offset)] | ((*bytes)[std::size_t(offset) + 1] << 8));
  }

  simhost::Host host;
  simhost::ScoreBuilder score{host.document};
};

TEST_F(PKMeasureTest, ShowStatesUseAnAuxBitAndAMeBit) {
  PKMeasure measure;
  EXPECT_STREQ(measure.ClassName(), "PKMeasure");
  struct Case {
    int state;
    int expected;
  } cases[] = {{2, 2}, {1, 1}, {0, 0}, {2, 2}, {3, 2}, {-1, 2}};
  for (const Case& c : cases) {
    measure.SetShowKeySignature(PKMeasure::SHOW_STATES(c.state));
    EXPECT_EQ(measure.GetShowKeySignature(), c.expected) << "key state " << c.state;
    measure.SetShowTimeSignature(PKMeasure::SHOW_STATES(c.state));
    EXPECT_EQ(measure.GetShowTimeSignature(), c.expected) << "time state " << c.state;
  }
  measure.SetShowKeySignature(PKMeasure::kShowAlways);
  measure.SetShowTimeSignature(PKMeasure::kShowWhenChanged);
  EXPECT_EQ(measure.GetAuxFlags(), 0x0010);
  EXPECT_EQ(measure.GetMeFlags(), 0x0800);
}

TEST_F(PKMeasureTest, BarlinesLieInBitsFourToSeven) {
  PKMeasure measure;
  measure._SetMeFlag(0x000F, true);
  measure.SetBarline(PKMeasure::kBarlineFinal);
  EXPECT_EQ(measure.GetMeFlags(), 0x003F);
  EXPECT_EQ(measure.GetBarline(), PKMeasure::kBarlineFinal);
  measure.SetBarline(PKMeasure::BARLINE_STYLES(7));
  EXPECT_EQ(measure.GetMeFlags(), 0x003F) << "an unknown style changes nothing";
  measure._SetMeFlag(0x00F0, true);
  EXPECT_EQ(measure.GetBarline(), 0);

  measure.SetLeftBarline(PKMeasure::kBarlineTick);
  EXPECT_EQ(measure.GetNewFlags(), 0x0060);
  EXPECT_EQ(measure.GetLeftBarline(), PKMeasure::kBarlineTick);
  measure._SetNewFlag(0x00F0, true);
  EXPECT_EQ(measure.GetLeftBarline(), 8);
  std::uint16_t code = 99;
  EXPECT_FALSE(measure._GetBarlineMask(PKMeasure::BARLINE_STYLES(9), &code));
  EXPECT_EQ(code, 0);
}

TEST_F(PKMeasureTest, FullNamesNeedALaterHostAndPositioningHasThreeCodes) {
  PKMeasure measure;
  RunningTonaroVersion = 0x0F000200;
  measure.SetShowFullNames(true);
  EXPECT_EQ(measure.GetAuxFlags(), 0);
  EXPECT_FALSE(measure.GetShowFullNames());
  RunningTonaroVersion = 0x10000000;
  measure.SetShowFullNames(true);
  EXPECT_EQ(measure.GetAuxFlags(), 0x0800);
  EXPECT_TRUE(measure.GetShowFullNames());

  const int codes[] = {4, 0, 6};
  for (int mode = 0; mode < 3; ++mode) {
    measure.SetPositioningNotesMode(PKMeasure::POSITIONING_MODES(mode));
    EXPECT_EQ(measure.GetAuxFlags() & 7, codes[mode]);
    EXPECT_EQ(measure.GetPositioningNotesMode(), mode);
  }
  measure.SetPositioningNotesMode(PKMeasure::POSITIONING_MODES(3));
  EXPECT_EQ(measure.GetAuxFlags() & 7, 6);
  measure._SetAuxFlag(0x0007, false);
  measure._SetAuxFlag(0x0005, true);
  EXPECT_EQ(measure.GetPositioningNotesMode(), PKMeasure::kPositioningBeatChart);
}

TEST_F(PKMeasureTest, KeyAndTimeSignatureComeFromTheRecordAndGoBackOnSave) {
  PKMeasure measure;
  ASSERT_TRUE(measure.Load(2));
  PKKeySignature* key = measure.GetKeySignature();
  EXPECT_EQ(key->GetKeyValue(), 0x00FD);
  PKTimeSignature* time = measure.GetTimeSignature();
  EXPECT_EQ(time->GetBeats(), 3);
  EXPECT_EQ(time->GetBeatDuration(), 1024);
  EXPECT_FALSE(time->GetCompositeBeats());

  key->SetKeyValue(0x0002);
  time->SetBeats(6);
  time->SetBeatDuration(512);
  ASSERT_TRUE(measure.Save());
  EXPECT_EQ(StoredWord(2, 2), 0x0002);
  EXPECT_EQ(StoredWord(2, 4), 6);
  EXPECT_EQ(StoredWord(2, 6), 512);
  EXPECT_EQ(measure.GetKeySignature(), key) << "the same object, refreshed";
}

TEST_F(PKMeasureTest, ACompositeTopIsNotWrittenOverTheNumberItNames) {
  PKMeasure measure;
  ASSERT_TRUE(measure.Load(1));
  measure._SetAuxFlag(0x0080, true);
  PKTimeSignature* time = measure.GetTimeSignature();
  EXPECT_TRUE(time->GetCompositeBeats());
  EXPECT_FALSE(time->GetCompositeBeatDuration());
  time->SetBeats(9);
  time->SetBeatDuration(2048);
  ASSERT_TRUE(measure.Save());
  EXPECT_EQ(StoredWord(1, 4), 3) << "the composite number stays as loaded";
  EXPECT_EQ(StoredWord(1, 6), 2048);

  measure.SetDisplayTimeSignature(new PKTimeSignature(2, 1536));
  ASSERT_TRUE(measure.Save());
  EXPECT_EQ(StoredWord(1, 12), 2);
  EXPECT_EQ(StoredWord(1, 14), 1536);

  PKMeasure never;
  EXPECT_FALSE(never.Save());
}

TEST_F(PKMeasureTest, TheMeasuresOfARegionAreThoseThatLoad) {
  PKMusicRegion region(nullptr);
  region.SetStartMeasure(2);
  region.SetEndMeasure(4);
  PKMeasures measures;
  EXPECT_STREQ(measures.ClassName(), "PKMeasures");
  measures.LoadRegion(&region);
  ASSERT_EQ(measures.GetCount(), 2);
  EXPECT_EQ(measures.GetMeasureAt(0)->GetItemNo(), 2);
  EXPECT_EQ(measures.GetMeasureAt(1)->GetItemNo(), 3);
  EXPECT_EQ(measures.GetMeasureAt(1)->GetLoadedSize(), 26);
  EXPECT_EQ(measures.GetMeasureAt(1)->GetKeySignature()->GetKeyValue(), 0x00FD);
}

}  // namespace
