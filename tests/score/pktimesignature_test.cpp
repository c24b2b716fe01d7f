// Time signatures, plain and composite, and the beats they make.
#include "tonaroframework/score/pktimesignature.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "simhost/host.h"
#include "simhost/recordstore.h"
#include "tonaroframework/foundation/pkstring.h"

namespace {

std::string NameOf(const PKTimeSignature& time) {
  PKString text;
  time.MakeString(&text);
  return text.GetCString();
}

TEST(PKTimeSignatureText, BeatsOverTheNoteValue) {
  struct Case {
    std::int16_t beats, duration;
    const char* text;
  } cases[] = {{4, 1024, "4/4"}, {2, 1536, "6/8"}, {3, 512, "3/8"}, {3, 2048, "3/2"},
               {0, 1024, "???"}, {4, 0, "???"},  {5, 256, "5/16"}};
  for (const Case& c : cases) EXPECT_EQ(NameOf(PKTimeSignature(c.beats, c.duration)), c.text) << c.text;
}

TEST(PKTimeSignaturePlain, BeatsFallOnMultiplesOfTheBeatDuration) {
  PKTimeSignature threeFour(3, 1024);
  EXPECT_EQ(threeFour.CalcBeats(), 3);
  EXPECT_TRUE(threeFour.IsBeatPosition(2048));
  EXPECT_TRUE(threeFour.IsBeatPosition(3072));
  EXPECT_FALSE(threeFour.IsBeatPosition(100));
  EXPECT_EQ(threeFour.CalcBeatPosition(2048), 2);
  EXPECT_EQ(threeFour.CalcBeatPosition(100), -1);
  EXPECT_EQ(threeFour.CalcPrevBeatPosition(0), 0);
  EXPECT_EQ(threeFour.CalcPrevBeatPosition(1024), 0);
  EXPECT_EQ(threeFour.CalcPrevBeatPosition(1500), 1024);
  EXPECT_FALSE(threeFour.IsCompound());
  EXPECT_TRUE(PKTimeSignature(2, 1536).IsCompound());

  PKTimeSignature noDuration(3, 0);
  EXPECT_FALSE(noDuration.IsBeatPosition(0));
  EXPECT_EQ(noDuration.CalcBeatPosition(0), -1);
  EXPECT_EQ(noDuration.CalcPrevBeatPosition(500), 0);
}

TEST(PKTimeSignaturePlain, IsABlockOfSixBytesThatClonesWhole) {
  PKTimeSignature fresh;
  EXPECT_EQ(NameOf(fresh), "4/4");
  EXPECT_EQ(fresh.Tag(), 0u);
  EXPECT_FALSE(fresh.LoadFirst());
  EXPECT_EQ(fresh.DataSizeLoad(), 6);
  PKTimeSignature time(7, 512);
  time.SetCompositeBeatDuration(true);
  std::unique_ptr<__PKBaseData> copy(time.CreateClone());
  auto* clone = static_cast<PKTimeSignature*>(copy.get());
  EXPECT_STREQ(clone->ClassName(), "PKTimeSignature");
  EXPECT_EQ(clone->GetBeats(), 7);
  EXPECT_EQ(clone->GetBeatDuration(), 512);
  EXPECT_FALSE(clone->GetCompositeBeats());
  EXPECT_TRUE(clone->GetCompositeBeatDuration());
  EXPECT_EQ(clone->GetDataBlock(), clone->Allocate());
}

// Composite records in the substitute host's store.
class PKTimeSignatureComposite : public ::testing::Test {
 protected:
  void Top(std::uint16_t item, std::int16_t inci, std::vector<std::uint16_t> words) { Store(kTop, item, inci, words); }
  void Bottom(std::uint16_t item, std::int16_t inci, std::vector<std::uint16_t> words) {
    Store(kBottom, item, inci, words);
  }
  std::vector<std::uint16_t> Stored(EXTAG tag, std::uint16_t item, std::int16_t inci) {
    const simhost::RecordBytes* bytes = host.document.Records().Find(tag, simhost::ItemKey(item, inci));
    std::vector<std::uint16_t> words;
    if (bytes != nullptr)
      for (std::size_t i = 0; i + 1 < bytes->size(); i += 2) words.push_back(std::uint16_t((*bytes)[i] | ((*bytes)[i + 1] << 8)));
    return words;
  }
  static constexpr EXTAG kTop = __PKCompositeTimeSigTopElement::kTag;
  static constexpr EXTAG kBottom = __PKCompositeTimeSigBottomElement::kTag;
  simhost::Host host;

 private:
  void Store(EXTAG tag, std::uint16_t item, std::int16_t inci, std::vector<std::uint16_t> words) {
    words.resize(6, 0);
    simhost::RecordBytes bytes;
    for (std::uint16_t word : words) {
      bytes.push_back(std::uint8_t(word & 0xFF));
      bytes.push_back(std::uint8_t(word >> 8));
    }
    host.document.Records().Save(tag, simhost::ItemKey(item, inci), bytes);
  }
};

TEST_F(PKTimeSignatureComposite, ThreePlusTwoOverAnEighth) {
  Top(5, 0, {3, 0, 1, 2, 0, 0});
  PKTimeSignature time(5, 512);
  time.SetCompositeBeats(true);
  EXPECT_EQ(time.CalcBeats(), 2);
  EXPECT_EQ(time.GetLargestBeats(), 3);
  EXPECT_TRUE(time.IsBeatPosition(0));
  EXPECT_TRUE(time.IsBeatPosition(1536));
  EXPECT_FALSE(time.IsBeatPosition(2560)) << "the end of the last beat";
  EXPECT_EQ(time.CalcBeatPosition(1536), 1);
  EXPECT_EQ(time.CalcBeatPosition(512), -1);
  EXPECT_EQ(time.CalcPrevBeatPosition(1536), 1536);
  EXPECT_EQ(time.CalcPrevBeatPosition(2000), 1536);
  EXPECT_EQ(time.CalcPrevBeatPosition(1000), 0);
  EXPECT_EQ(time.CalcPrevBeatPosition(2560), 0);
}

TEST_F(PKTimeSignatureComposite, GroupsPairTopAndBottom) {
  // (2+3)/8 + 2/4: top groups {2, 3} and {2}; bottom groups {512} and {1024}.
  Top(1, 0, {2, 0, 1, 3, 0, 0});
  Top(1, 1, {2, 0, 1});
  Bottom(2, 0, {512, 1, 1024, 1, 0, 0});
  PKTimeSignature time(1, 2);
  time.SetCompositeBeats(true);
  time.SetCompositeBeatDuration(true);

  std::unique_ptr<PKCompositeTimeSigTop> top(time.CreateCompositeTop());
  EXPECT_EQ(top->GetEntryCount(), 3);
  EXPECT_EQ(top->GetGroupCount(), 2);
  EXPECT_EQ(top->GetGroupElementCount(1), 2);
  EXPECT_EQ(top->GetGroupElementBeats(1, 1), 3);
  EXPECT_EQ(top->GetGroupElementBeats(2, 0), 2);
  EXPECT_EQ(top->GetGroupElementBeats(3, 0), 0);

  // Beats at 0, 1024 (2 eighths) and 2560 (3 more), ending at 4608.
  EXPECT_EQ(time.CalcBeatPosition(2560), 2);
  EXPECT_EQ(time.CalcPrevBeatPosition(4000), 2560);
  EXPECT_EQ(time.CalcPrevBeatPosition(4608), 0);
  EXPECT_EQ(time.GetLargestBeatDuration(), 1024);
  EXPECT_EQ(time.GetSmallestBeatDuration(), 512);
  EXPECT_FALSE(time.IsCompound());
}

TEST_F(PKTimeSignatureComposite, EntriesNotInUseAreLeftOutAndBottomsEndAtAZeroDuration) {
  Top(3, 0, {0, 0, 1, 4, 0, 1});       // the first entry is not in use
  Top(3, 1, {0, 7, 0});                // a second value alone keeps an entry
  Bottom(3, 0, {1536, 1, 0, 0, 768, 1});  // the entry after a zero duration is ignored
  Bottom(3, 1, {3072, 0});
  PKTimeSignature time(3, 3);
  time.SetCompositeBeats(true);
  time.SetCompositeBeatDuration(true);
  std::unique_ptr<PKCompositeTimeSigTop> top(time.CreateCompositeTop());
  ASSERT_EQ(top->GetEntryCount(), 2);
  EXPECT_EQ(top->Entries()[1].second, 7);
  std::unique_ptr<PKCompositeTimeSigBottom> bottom(time.CreateCompositeBottom());
  ASSERT_EQ(bottom->GetEntryCount(), 2);
  EXPECT_EQ(bottom->Entries()[1].duration, 3072);
  EXPECT_TRUE(time.IsCompound());
}

TEST_F(PKTimeSignatureComposite, ACompositeBottomWithoutRecords) {
  PKTimeSignature time(4, 9);
  time.SetCompositeBeatDuration(true);
  EXPECT_EQ(time.GetSmallestBeatDuration(), -31072);
  EXPECT_EQ(time.GetLargestBeatDuration(), 0);
  EXPECT_TRUE(time.IsCompound());
  EXPECT_EQ(time.CalcBeats(), 4);
}

TEST_F(PKTimeSignatureComposite, IdentityComparesFlagsThenGroups) {
  Top(1, 0, {4, 0, 1});
  Top(2, 0, {4, 9, 1});  // the second values are not compared
  Top(3, 0, {3, 0, 1});
  PKTimeSignature plain(4, 1024), first(1, 1024), second(2, 1024), third(3, 1024), plainCopy(4, 1024);
  for (PKTimeSignature* time : {&first, &second, &third}) time->SetCompositeBeats(true);
  EXPECT_FALSE(plain.IsIdentical(&first)) << "the flags differ";
  EXPECT_TRUE(first.IsIdentical(&second));
  EXPECT_FALSE(first.IsIdentical(&third));
  EXPECT_TRUE(plain.IsIdentical(&plainCopy));
  PKTimeSignature eighths(4, 512);
  EXPECT_FALSE(plain.IsIdentical(&eighths));
}

TEST_F(PKTimeSignatureComposite, SaveAllWritesTheFlattenedListBackTwoOrThreeToARecord) {
  Top(6, 0, {2, 0, 1, 2, 0, 0});
  Top(6, 1, {3, 0, 1});
  Top(6, 2, {1, 0, 0});
  Bottom(6, 0, {512, 1, 1024, 1});
  PKCompositeTimeSigTop top;
  EXPECT_FALSE(top.SaveAll()) << "nothing loaded";
  top.LoadFlattened(6);
  ASSERT_EQ(top.GetEntryCount(), 4);
  top.Entries().pop_back();
  top.Entries()[0].beats = 5;
  ASSERT_TRUE(top.SaveAll());
  EXPECT_EQ(Stored(kTop, 6, 0), (std::vector<std::uint16_t>{5, 0, 1, 2, 0, 0}));
  EXPECT_EQ(Stored(kTop, 6, 1), (std::vector<std::uint16_t>{3, 0, 1, 0, 0, 0}));
  EXPECT_TRUE(Stored(kTop, 6, 2).empty()) << "the old third record is gone";
  EXPECT_EQ(top.GetCount(), 2);

  PKCompositeTimeSigBottom bottom;
  bottom.LoadFlattened(6);
  bottom.Entries().push_back({256, 0});
  bottom.Entries().push_back({128, 1});
  ASSERT_TRUE(bottom.SaveAll());
  EXPECT_EQ(Stored(kBottom, 6, 0), (std::vector<std::uint16_t>{512, 1, 1024, 1, 256, 0}));
  EXPECT_EQ(Stored(kBottom, 6, 1), (std::vector<std::uint16_t>{128, 1, 0, 0, 0, 0}));
}

}  // namespace
