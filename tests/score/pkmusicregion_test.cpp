#include "tonaroframework/score/pkmusicregion.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "simhost/host.h"
#include "simhost/scorebuilder.h"
#include "tonaroframework/entries/pknoteentry.h"
#include "tonaropdk/hkservices.h"

// Packed host fields are compared as values, +(field): the checks take
// references, which a packed field at an odd address cannot give.
namespace {

constexpr std::uint32_t kVersion = kTonaroFrameworkVersion;

EREGION Region(std::int16_t firstSlot, std::int16_t lastSlot, std::int16_t firstMeasure, std::int16_t lastMeasure,
               std::int32_t startPos = 0, std::int32_t endPos = kEndOfMeasure, std::uint16_t list = 0) {
  EREGION region = simhost::Document::MakeRegion(firstSlot, lastSlot, firstMeasure, lastMeasure, startPos, endPos);
  region.startStaffList = region.endStaffList = list;
  return region;
}

bool Same(const EREGION& a, const EREGION& b) { return std::memcmp(&a, &b, sizeof(EREGION)) == 0; }

EREGION RecordOf(const PKMusicRegion& region) {
  EREGION record;
  region.GetZorvanRegion(&record);
  return record;
}

// A score of three staves and four measures (4/4, 3/4, 4/4, 4/4).
class MusicRegion : public ::testing::Test {
 protected:
  void SetUp() override {
    host.settings.currentDocument = 3;
    score.Staves(3);
    host.document.AddMeasure();
    host.document.AddMeasure(simhost::TimeSignature{3, 1024});
    host.document.AddMeasures(2);
  }
  void TearDown() override { EXPECT_EQ(host.OutstandingFrames(), 0); }

  simhost::Host host;
  simhost::ScoreBuilder score{host.document};
};

TEST_F(MusicRegion, ConstructionTakesTheRecordAndTheCurrentDocument) {
  EREGION record = Region(1, 2, 3, 4, 512, 100);
  PKMusicRegion region(&record);
  EXPECT_STREQ(region.ClassName(), "PKMusicRegion");
  EXPECT_TRUE(Same(RecordOf(region), record));
  EXPECT_EQ(region.GetDocumentNumber(), 3);
  EXPECT_TRUE(region.IsCurrentDocument());
  EXPECT_EQ(region.GetClipToken(), 0u);

  PKMusicRegion empty(nullptr);
  EXPECT_TRUE(Same(RecordOf(empty), EREGION{}));
  EXPECT_TRUE(empty.IsEmpty());
  EXPECT_EQ(empty.GetDocumentNumber(), 0);
  EXPECT_FALSE(empty.IsCurrentDocument());

  empty.SetRegion(&region);
  EXPECT_TRUE(Same(RecordOf(empty), record));
  EXPECT_EQ(empty.GetDocumentNumber(), 3);
  host.settings.currentDocument = 4;
  EXPECT_FALSE(empty.IsCurrentDocument());
}

TEST_F(MusicRegion, PositionsAreInclusiveAtBothEnds) {
  struct Case {
    const char* name;
    EREGION region;
    std::int32_t measure;
    std::int32_t position;
    bool within;
  };
  const EREGION fromMiddle = Region(1, 1, 3, 5, 512, kEndOfMeasure);
  const EREGION endAtZero = Region(1, 1, 2, 5, 0, 0);
  const Case cases[] = {
      {"before the start position", fromMiddle, 3, 511, false},
      {"at the start position", fromMiddle, 3, 512, true},
      {"a middle measure at 0", fromMiddle, 4, 0, true},
      {"the end measure, far in", fromMiddle, 5, 100000, true},
      {"the end measure at its end", fromMiddle, 5, kEndOfMeasure, true},
      {"before the start measure", fromMiddle, 2, 2000, false},
      {"after the end measure", fromMiddle, 6, 0, false},
      {"end position 0: at 0", endAtZero, 5, 0, true},
      {"end position 0: after 0", endAtZero, 5, 1, false},
      {"end position 0: an earlier measure", endAtZero, 4, 3000, true},
  };
  for (const Case& c : cases) {
    EREGION record = c.region;
    PKMusicRegion region(&record);
    EXPECT_EQ(region.IsMeasurePosWithin(c.measure, c.position), c.within) << c.name;
  }

  EREGION record = fromMiddle;
  PKMusicRegion region(&record);
  EXPECT_FALSE(region.IsFullMeasureIncluded(3));
  EXPECT_TRUE(region.IsFullMeasureIncluded(4));
  EXPECT_TRUE(region.IsFullMeasureIncluded(5));
  EXPECT_FALSE(region.IsFullMeasureIncluded(6));
  EXPECT_TRUE(region.IsStartPos(3, 512));
  EXPECT_FALSE(region.IsStartPos(3, 0));
  EXPECT_TRUE(region.IsAbsoluteEndMeasurePos());
  EXPECT_TRUE(region.IsPartial());
  EREGION whole = Region(1, 1, 1, 2);
  EXPECT_FALSE(PKMusicRegion(&whole).IsPartial());

  PKMusicRegion empty(nullptr);
  EXPECT_TRUE(empty.IsMeasureIncluded(0));
  EXPECT_FALSE(empty.IsMeasureIncluded(1));
}

TEST_F(MusicRegion, EntriesAreWithinByStaffMeasureAndPosition) {
  ASSERT_TRUE(score.Layer(1, 3, 1, "C4/8 D4/8 E4/2."));  // positions 0, 512, 1024
  ASSERT_TRUE(score.Layer(2, 3, 1, "C4/8 D4/8 E4/2."));
  ASSERT_TRUE(score.Layer(1, 4, 1, "C4/8 D4/8 E4/2."));
  EREGION record = Region(1, 1, 3, 4, 512, 512);
  PKMusicRegion region(&record);

  struct Case {
    std::int16_t slot, measure;
    int index;
    bool within;
  };
  const Case cases[] = {{1, 3, 0, false}, {1, 3, 1, true}, {1, 3, 2, true}, {2, 3, 1, false},
                        {1, 4, 0, true},  {1, 4, 1, true}, {1, 4, 2, false}};
  for (const Case& c : cases) {
    EXTGF2005a* frame = HK_LoadTGF(0, c.slot, c.measure, 0, 1, kVersion);
    ASSERT_NE(frame, nullptr);
    PKNoteEntry entry(&frame->entries[c.index], frame, HK_SlotToInst(c.slot, 0, kVersion));
    EXPECT_EQ(region.IsEntryPosWithin(&entry), c.within)
        << "slot " << c.slot << " measure " << c.measure << " entry " << c.index;
    HK_FreeTGF(frame, kVersion);
  }
  EXPECT_FALSE(region.IsEntryPosWithin(nullptr));
}

TEST_F(MusicRegion, StavesCountInTheStartList) {
  ASSERT_TRUE(host.document.SetStaffList(2, {3, 1}));
  EREGION global = Region(1, 2, 1, 1);
  PKMusicRegion inGlobal(&global);
  EXPECT_TRUE(inGlobal.IsStaffIncluded(1));
  EXPECT_TRUE(inGlobal.IsStaffIncluded(2));
  EXPECT_FALSE(inGlobal.IsStaffIncluded(3));

  // A wide slot range includes no staff that the start list lacks.
  EREGION wide = Region(1, 30, 1, 1, 0, kEndOfMeasure, 2);
  PKMusicRegion inList(&wide);
  EXPECT_TRUE(inList.IsStaffIncluded(3));
  EXPECT_TRUE(inList.IsStaffIncluded(1));
  EXPECT_FALSE(inList.IsStaffIncluded(2));
  EXPECT_FALSE(inList.IsStaffIncluded(9));

  EREGION listed = Region(1, 2, 1, 1, 0, kEndOfMeasure, 2);
  PKMusicRegion converted(&listed);
  converted.ConvertToGlobalInstrumentList();
  EXPECT_EQ(converted.GetStartStaffList(), 0);
  EXPECT_EQ(converted.GetEndStaffList(), 0);
  EXPECT_EQ(converted.GetStartSlot(), 3);  // staff 3
  EXPECT_EQ(converted.GetEndSlot(), 1);    // staff 1
  converted.AssureSortedStaves();
  EXPECT_EQ(converted.GetStartSlot(), 1);
  EXPECT_EQ(converted.GetEndSlot(), 3);
}

TEST_F(MusicRegion, FullMeasureStackSpansEveryStaffOfTheList) {
  for (int i = 0; i < 3; ++i) host.document.AddStaff();  // six staves
  EREGION record = Region(2, 3, 2, 3, 100, 200);
  PKMusicRegion region(&record);
  ASSERT_TRUE(region.SetFullMeasureStack());
  EXPECT_EQ(region.GetStartSlot(), 1);
  EXPECT_EQ(region.GetEndSlot(), 6);
  EXPECT_EQ(region.GetStartMeasure(), 2);
  EXPECT_EQ(region.GetStartPos(), 100);
  EXPECT_EQ(region.GetEndPos(), 200);

  PKMusicRegion empty(nullptr);
  EXPECT_FALSE(empty.SetFullMeasureStack());
  EREGION unknownList = Region(2, 3, 1, 1, 0, kEndOfMeasure, 9);
  PKMusicRegion unlisted(&unknownList);
  EXPECT_FALSE(unlisted.SetFullMeasureStack());
  EXPECT_EQ(unlisted.GetStartSlot(), 2);
}

TEST_F(MusicRegion, OverlapNeedsSharedTimeAndASharedStaff) {
  ASSERT_TRUE(host.document.SetStaffList(2, {3, 1}));
  struct Case {
    const char* name;
    EREGION mine, theirs;
    bool overlapping;
  };
  const Case cases[] = {
      {"a shared staff and measure", Region(1, 2, 2, 3), Region(2, 3, 3, 4), true},
      {"no shared staff", Region(1, 2, 2, 3), Region(3, 3, 2, 3), false},
      {"theirs starts after mine ends", Region(1, 2, 2, 3), Region(1, 2, 4, 4), false},
      {"mine ends just before theirs starts", Region(1, 1, 1, 2, 0, 1023), Region(1, 1, 2, 3, 1024), false},
      {"mine ends where theirs starts", Region(1, 1, 1, 2, 0, 1024), Region(1, 1, 2, 3, 1024), true},
      {"mine starts just after theirs ends", Region(1, 1, 3, 4, 2048), Region(1, 1, 1, 3, 0, 2047), false},
      {"slots of another list", Region(1, 1, 1, 1), Region(2, 2, 1, 1, 0, kEndOfMeasure, 2), true},
      {"a reversed slot range", Region(2, 1, 1, 1), Region(1, 2, 1, 1), false},
  };
  for (const Case& c : cases) {
    EREGION mine = c.mine, theirs = c.theirs;
    PKMusicRegion a(&mine), b(&theirs);
    EXPECT_EQ(a.IsOverlapping(&b), c.overlapping) << c.name;
  }
}

TEST_F(MusicRegion, DurationAddsTheMeasuresCovered) {
  struct Case {
    const char* name;
    EREGION region;
    std::int32_t duration;
  };
  const Case cases[] = {
      {"measures 1 and 2 in full", Region(1, 1, 1, 2), 4096 + 3072},
      {"inside one measure, both ends counted", Region(1, 1, 1, 1, 1024, 2047), 1024},
      {"from 1024 of measure 1 to 1023 of measure 2", Region(1, 1, 1, 2, 1024, 1023), 3072 + 1024},
      {"measures 2 to 4", Region(2, 3, 2, 4), 3072 + 4096 + 4096},
  };
  for (const Case& c : cases) {
    EREGION record = c.region;
    EXPECT_EQ(PKMusicRegion(&record).CalcDuration(), c.duration) << c.name;
  }
  EXPECT_EQ(PKMusicRegion(nullptr).CalcDuration(), 0);
}

TEST_F(MusicRegion, MovingTheStartBackFromTheEnd) {
  struct Case {
    const char* name;
    EREGION region;
    std::int32_t duration;
    bool moved;
    std::int16_t startMeasure;
    std::int32_t startPos;
  };
  const Case cases[] = {
      {"inside the end measure", Region(1, 1, 1, 3), 1024, true, 3, 3072},
      {"into the 3/4 measure", Region(1, 1, 1, 3), 5000, true, 2, 3072 - 904},
      {"from an end position", Region(1, 1, 1, 3, 0, 2048), 1024, true, 3, 1024},
      {"exactly the end measure", Region(1, 1, 1, 3), 4096, true, 3, 0},
      {"further than the document", Region(1, 1, 1, 3), 100000, false, 1, 0},
      {"nothing", Region(1, 1, 1, 3), 0, false, 1, 0},
      {"less than nothing", Region(1, 1, 1, 3), -5, false, 1, 0},
  };
  for (const Case& c : cases) {
    EREGION record = c.region;
    PKMusicRegion region(&record);
    EXPECT_EQ(region.SetDurationOffsetLeft(c.duration), c.moved) << c.name;
    EXPECT_EQ(region.GetStartMeasure(), c.startMeasure) << c.name;
    EXPECT_EQ(region.GetStartPos(), c.startPos) << c.name;
    EXPECT_EQ(region.GetEndMeasure(), c.region.endMeasure) << c.name;
  }
  PKMusicRegion empty(nullptr);
  EXPECT_FALSE(empty.SetDurationOffsetLeft(100));
}

TEST_F(MusicRegion, MovingTheEndOnFromTheStart) {
  struct Case {
    const char* name;
    EREGION region;
    std::int32_t duration;
    bool moved;
    std::int16_t endMeasure;
    std::int32_t endPos;
  };
  const Case cases[] = {
      {"inside the start measure", Region(1, 1, 1, 4, 1024), 1024, true, 1, 2048},
      {"into the next measure", Region(1, 1, 1, 4, 1024), 4000, true, 2, 928},
      {"across the 3/4 measure", Region(1, 1, 1, 4, 1024), 7000, true, 3, 856},
      {"to the end of the start measure", Region(1, 1, 1, 4, 1024), 3072, true, 1, 4096},
      {"further than the document", Region(1, 1, 1, 4, 1024), 100000, false, 4, kEndOfMeasure},
      {"a start past the measure's end", Region(1, 1, 2, 4, 5000), 100, true, 3, 100},
      {"nothing", Region(1, 1, 1, 4), 0, false, 4, kEndOfMeasure},
  };
  for (const Case& c : cases) {
    EREGION record = c.region;
    PKMusicRegion region(&record);
    EXPECT_EQ(region.SetDurationOffsetRight(c.duration), c.moved) << c.name;
    EXPECT_EQ(region.GetEndMeasure(), c.endMeasure) << c.name;
    EXPECT_EQ(region.GetEndPos(), c.endPos) << c.name;
    EXPECT_EQ(region.GetStartPos(), +(c.region.startPos)) << c.name;
  }
}

TEST_F(MusicRegion, SelectionAndWholeDocumentComeFromTheHost) {
  PKMusicRegion region(nullptr);
  EXPECT_FALSE(region.SetCurrentSelection());  // nothing selected: the host answers 0
  EXPECT_TRUE(Same(RecordOf(region), EREGION{}));
  EXPECT_EQ(region.GetDocumentNumber(), 3);

  EXPECT_TRUE(region.SetFullDocument());
  EXPECT_TRUE(Same(RecordOf(region), Region(1, 3, 1, 4)));

  host.document.SetSelection(Region(2, 3, 2, 2, 10, 20));
  EXPECT_TRUE(region.SetCurrentSelection());
  EXPECT_TRUE(Same(RecordOf(region), Region(2, 3, 2, 2, 10, 20)));

  host.FailCall("HK_GetCurERegions", host.CallCount("HK_GetCurERegions") + 1);
  EXPECT_TRUE(region.SetFullDocument());  // true whatever the host answered
}

TEST_F(MusicRegion, HostActionsPassTheRegion) {
  EREGION record = Region(1, 2, 2, 3);
  PKMusicRegion region(&record);
  region.SetInDocument();
  region.Redraw();
  region.RebeamMusic();
  ASSERT_EQ(host.regionCalls.size(), 3u);
  EXPECT_EQ(host.regionCalls[0].service, "HK_SetCurERegion");
  EXPECT_EQ(host.regionCalls[1].service, "HK_RedrawMusic");
  EXPECT_EQ(host.regionCalls[2].service, "HK_RebeamRegion");
  for (const auto& call : host.regionCalls) EXPECT_TRUE(Same(call.region, record)) << call.service;
  EXPECT_TRUE(Same(host.document.Selection(), record));

  host.settings.currentDocument = 5;  // another document is current now
  region.SetInDocument();
  EXPECT_EQ(host.CallCount("HK_SetCurERegion"), 1u);
}

TEST_F(MusicRegion, CopyPasteAndReleaseThroughTheClipboard) {
  ASSERT_TRUE(score.Layer(1, 1, 1, "C4/4 D4/4 E4/2"));
  EREGION sourceRecord = Region(1, 1, 1, 1);
  PKMusicRegion source(&sourceRecord);
  ASSERT_TRUE(source.CopyMusic());
  const std::uint32_t token = source.GetClipToken();
  EXPECT_NE(token, 0u);
  EXPECT_FALSE(source.CopyMusic());  // a token is held: refused, the first kept
  EXPECT_FALSE(source.CutMusic());
  EXPECT_EQ(source.GetClipToken(), token);
  EXPECT_EQ(host.CallCount("HK_CopyCutMusic"), 1u);

  // Paste at another region: the token stays, so the clip pastes again.
  source.SetStartSlot(2);
  source.SetEndSlot(2);
  source.SetStartMeasure(3);
  source.SetEndMeasure(3);
  ASSERT_TRUE(source.PasteMusic());
  EXPECT_EQ(score.Describe(2, 3, 1), "C4/4 D4/4 E4/2");
  source.SetStartSlot(3);
  ASSERT_TRUE(source.PasteMusic());
  EXPECT_EQ(score.Describe(3, 3, 1), "C4/4 D4/4 E4/2");
  EXPECT_EQ(source.GetClipToken(), token);

  ASSERT_TRUE(source.ReleaseMusic());
  EXPECT_EQ(source.GetClipToken(), 0u);
  EXPECT_EQ(host.clipboard.Held(), 0u);
  EXPECT_FALSE(source.ReleaseMusic());
  EXPECT_FALSE(source.PasteMusic());
  EXPECT_EQ(host.CallCount("HK_InsertMergeMusic"), 2u);
}

TEST_F(MusicRegion, CutRemovesTheMusicAndRefusalsKeepTheState) {
  ASSERT_TRUE(score.Layer(1, 2, 1, "C4/4 D4/4 E4/4"));
  EREGION record = Region(1, 1, 2, 2, 1024, kEndOfMeasure);
  PKMusicRegion region(&record);
  ASSERT_TRUE(region.CutMusic());
  EXPECT_EQ(score.Describe(1, 2, 1), "C4/4");

  // A release the host refuses keeps the token.
  host.FailCall("HK_DisposeTonClipFileToken", 1);
  EXPECT_FALSE(region.ReleaseMusic());
  EXPECT_NE(region.GetClipToken(), 0u);
  EXPECT_TRUE(region.ReleaseMusic());

  // A copy the host refuses holds no token.
  host.FailCall("HK_CopyCutMusic", 2);
  EXPECT_FALSE(region.CopyMusic());
  EXPECT_EQ(region.GetClipToken(), 0u);

  // An empty region asks the host nothing.
  PKMusicRegion empty(nullptr);
  EXPECT_FALSE(empty.CopyMusic());
  EXPECT_FALSE(empty.CutMusic());
  EXPECT_FALSE(empty.PasteMusic());
  EXPECT_EQ(host.CallCount("HK_CopyCutMusic"), 2u);
}

}  // namespace
