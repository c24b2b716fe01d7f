// The entry-frame services of the substitute host, called through the
// library's wrappers as the framework calls them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "simhost/host.h"
#include "simhost/scorebuilder.h"
#include "tonaropdk/hkservices.h"

// Packed host fields are compared as values, +(field): the checks take
// references, which a packed field at an odd address cannot give.
namespace {

constexpr std::uint32_t kVersion = kTonaroFrameworkVersion;

class FrameServices : public ::testing::Test {
 protected:
  void SetUp() override {
    score.Staves(2).Measures(3);
    ASSERT_TRUE(score.Layer(1, 1, 1, "C4/4 D4/4 E4/2"));
    ASSERT_TRUE(score.Layer(1, 2, 1, "{3:2 C4/8 D4 E4} F4/4 G4/2"));
    ASSERT_TRUE(score.Layer(2, 1, 2, "r/1"));
  }
  void TearDown() override { EXPECT_EQ(host.OutstandingFrames(), 0); }

  // Loads the frame of a staff (by slot), measure and layer index.
  static EXTGF2005a* Load(std::int16_t slot, std::int16_t measure, std::int16_t layer, std::int16_t flag = 1) {
    return HK_LoadTGF(0, slot, measure, layer, flag, kVersion);
  }
  static void Free(EXTGF2005a* frame) { HK_FreeTGF(frame, kVersion); }

  simhost::Host host;
  simhost::ScoreBuilder score{host.document};
};

TEST_F(FrameServices, LoadHandsOutACopyOfTheStoredEntries) {
  EXTGF2005a* frame = Load(1, 1, 0);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->staffList, 0);
  EXPECT_EQ(frame->slot, 1);
  EXPECT_EQ(frame->measure, 1);
  EXPECT_EQ(frame->layer, 0);
  ASSERT_EQ(frame->entryCount, 3);
  EXPECT_EQ(frame->tupletCount, 0);
  const auto& stored = host.document.Entries(1, 1, 0);
  EXPECT_EQ(std::memcmp(frame->entries, stored.data(), 3 * sizeof(EXENTRY)), 0);
  EXPECT_NE(+(frame->entries), stored.data());

  // Changes in the frame stay in the frame until it is saved.
  frame->entries[0].duration = 2048;
  EXPECT_EQ(host.document.Entries(1, 1, 0)[0].duration, 1024);

  EXTGF2005a* second = Load(1, 1, 0);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second, frame);
  EXPECT_EQ(second->entries[0].duration, 1024);
  EXPECT_EQ(host.OutstandingFrames(), 2);
  Free(second);
  Free(frame);
}

TEST_F(FrameServices, LoadAnswersNullOutsideTheScore) {
  struct Case {
    const char* name;
    std::uint16_t list;
    std::int16_t slot, measure, layer;
  };
  const Case cases[] = {
      {"slot 0", 0, 0, 1, 0},      {"slot beyond the staves", 0, 3, 1, 0}, {"measure 0", 0, 1, 0, 0},
      {"measure 4 of 3", 0, 1, 4, 0}, {"layer -1", 0, 1, 1, -1},          {"layer 4 of 4", 0, 1, 1, 4},
      {"an unknown staff list", 7, 1, 1, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(HK_LoadTGF(c.list, c.slot, c.measure, c.layer, 1, kVersion), nullptr) << c.name;

  // An empty layer is a frame without entries, not a failure.
  EXTGF2005a* empty = Load(2, 3, 3);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty->entryCount, 0);
  Free(empty);

  host.settings.maxLayersAnswer = 0x00030006;  // 6 layers, whatever the high half holds
  EXTGF2005a* sixth = Load(1, 1, 5);
  EXPECT_NE(sixth, nullptr);
  Free(sixth);
}

TEST_F(FrameServices, SlotsCountInTheStaffListGiven) {
  ASSERT_TRUE(host.document.SetScoreOrder({2, 1}));
  EXTGF2005a* frame = Load(2, 1, 0);  // slot 2 now holds staff 1
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->entryCount, 3);
  Free(frame);

  ASSERT_TRUE(host.document.SetStaffList(3, {1}));
  frame = HK_LoadTGF(3, 1, 1, 0, 1, kVersion);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->staffList, 3);
  EXPECT_EQ(frame->entryCount, 3);
  Free(frame);
}

TEST_F(FrameServices, InsertMovesTheArrayAndAddsBlankEntries) {
  EXTGF2005a* frame = Load(1, 1, 0);
  ASSERT_NE(frame, nullptr);
  const EXENTRY* before = frame->entries;
  const std::uint32_t first = frame->entries[0].entryNumber;
  const std::uint32_t second = frame->entries[1].entryNumber;

  ASSERT_EQ(HK_InsertEXENTRY(frame, 1, 2, kVersion), 1);
  EXPECT_NE(+(frame->entries), before);
  ASSERT_EQ(frame->entryCount, 5);
  EXPECT_EQ(+(frame->entries[0].entryNumber), first);
  EXPECT_EQ(+(frame->entries[1].entryNumber), 0u);
  EXPECT_EQ(+(frame->entries[2].entryNumber), 0u);
  EXPECT_EQ(+(frame->entries[3].entryNumber), second);
  EXPECT_EQ(frame->entries[1].duration, 0);
  EXPECT_EQ(frame->entries[1].noteCount, 0);
  EXPECT_EQ(+(frame->entries[1].measurePos), 1024);  // where the entry before it ends

  // An index equal to the entry count appends.
  ASSERT_EQ(HK_InsertEXENTRY(frame, 5, 1, kVersion), 1);
  ASSERT_EQ(frame->entryCount, 6);
  EXPECT_EQ(+(frame->entries[5].entryNumber), 0u);
  EXPECT_EQ(+(frame->entries[4].entryNumber), +(host.document.Entries(1, 1, 0)[2].entryNumber));

  EXPECT_EQ(HK_InsertEXENTRY(frame, 7, 1, kVersion), 0);
  EXPECT_EQ(HK_InsertEXENTRY(frame, -1, 1, kVersion), 0);
  EXPECT_EQ(frame->entryCount, 6);
  Free(frame);
}

TEST_F(FrameServices, DeleteMovesTheArrayAndRemovesEntries) {
  EXTGF2005a* frame = Load(1, 1, 0);
  ASSERT_NE(frame, nullptr);
  const std::uint32_t last = frame->entries[2].entryNumber;
  const EXENTRY* before = frame->entries;
  ASSERT_EQ(HK_DeleteEXENTRY(frame, 0, 2, kVersion), 1);
  EXPECT_NE(+(frame->entries), before);
  ASSERT_EQ(frame->entryCount, 1);
  EXPECT_EQ(+(frame->entries[0].entryNumber), last);

  EXPECT_EQ(HK_DeleteEXENTRY(frame, 0, 2, kVersion), 0);  // beyond the entries
  ASSERT_EQ(HK_DeleteEXENTRY(frame, 0, 1, kVersion), 1);
  EXPECT_EQ(frame->entryCount, 0);
  EXPECT_EQ(+(frame->entries), nullptr);
  Free(frame);
}

TEST_F(FrameServices, SaveNumbersNewEntriesInTheDocumentNotInTheFrame) {
  EXTGF2005a* frame = Load(1, 1, 0);
  ASSERT_NE(frame, nullptr);
  ASSERT_EQ(HK_InsertEXENTRY(frame, 3, 1, kVersion), 1);
  frame->entries[3].duration = 1024;
  ASSERT_EQ(HK_SaveTGF(frame, kVersion), 1);
  EXPECT_EQ(+(frame->entries[3].entryNumber), 0u);

  const auto& stored = host.document.Entries(1, 1, 0);
  ASSERT_EQ(stored.size(), 4u);
  EXPECT_NE(+(stored[3].entryNumber), 0u);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_NE(+(stored[3].entryNumber), +(stored[i].entryNumber));
  // The host stores the frame as normalised: the new rest got its note record.
  EXPECT_EQ(stored[3].noteCount, 1);

  // Reloading with the frame's own fields and flag 0 shows the number.
  EXTGF2005a* fresh = HK_LoadTGF(frame->staffList, frame->slot, frame->measure, frame->layer, 0, kVersion);
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(+(fresh->entries[3].entryNumber), +(stored[3].entryNumber));
  Free(frame);
  Free(fresh);
}

TEST_F(FrameServices, NewEntryNumbersAreNeverReused) {
  std::set<std::uint32_t> seen;
  for (const auto& place : host.document.FilledLayers())
    for (const EXENTRY& entry : host.document.Entries(place)) seen.insert(std::uint32_t(entry.entryNumber));
  for (int round = 0; round < 3; ++round) {
    EXTGF2005a* frame = Load(2, 3, 0);
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(HK_DeleteEXENTRY(frame, 0, frame->entryCount, kVersion), 1);
    ASSERT_EQ(HK_InsertEXENTRY(frame, 0, 2, kVersion), 1);
    ASSERT_EQ(HK_SaveTGF(frame, kVersion), 1);
    Free(frame);
    for (const EXENTRY& entry : host.document.Entries(2, 3, 0)) EXPECT_TRUE(seen.insert(std::uint32_t(entry.entryNumber)).second);
  }
}

TEST_F(FrameServices, AFailedSaveStoresNothing) {
  EXTGF2005a* frame = Load(1, 1, 0);
  ASSERT_NE(frame, nullptr);
  frame->entries[0].duration = 512;
  host.FailCall("HK_SaveTGF", 1);
  EXPECT_EQ(HK_SaveTGF(frame, kVersion), 0);
  EXPECT_EQ(host.document.Entries(1, 1, 0)[0].duration, 1024);
  EXPECT_EQ(HK_SaveTGF(frame, kVersion), 1);
  EXPECT_EQ(host.document.Entries(1, 1, 0)[0].duration, 512);
  Free(frame);
}

TEST_F(FrameServices, TupletItemsComeFromTheStoredTupletRecords) {
  EXTGF2005a* frame = Load(1, 2, 0);
  ASSERT_NE(frame, nullptr);
  ASSERT_EQ(frame->tupletCount, 1);
  EXPECT_EQ(frame->tuplets[0].firstEntry, 0);
  EXPECT_EQ(frame->tuplets[0].lastEntry, 2);
  EXPECT_EQ(frame->tuplets[0].inci, 0);
  EXPECT_EQ(simhost::ReadTupletRatio(frame->tuplets[0].tuplet), (simhost::TupletRatio{3, 512, 2, 512}));

  // Entries inserted before the tuplet move its item; deleting its first entry drops it.
  ASSERT_EQ(HK_InsertEXENTRY(frame, 0, 1, kVersion), 1);
  ASSERT_EQ(frame->tupletCount, 1);
  EXPECT_EQ(frame->tuplets[0].firstEntry, 1);
  EXPECT_EQ(frame->tuplets[0].lastEntry, 3);
  ASSERT_EQ(HK_DeleteEXENTRY(frame, 1, 1, kVersion), 1);
  EXPECT_EQ(frame->tupletCount, 0);
  Free(frame);

  // Without its tuplet flag the host does not see the entry's tuplet.
  simhost::EntryPlace first{{1, 2, 0}, 0};
  EXENTRY entry = host.document.Entries(1, 2, 0)[0];
  entry.flags &= ~kEntryTupletFlag;
  ASSERT_TRUE(host.document.UpdateEntry(first, entry));
  frame = Load(1, 2, 0);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->tupletCount, 0);
  Free(frame);
}

TEST_F(FrameServices, DurationCountsTupletsByTheirElapsedSpanAndGraceNotesAsNothing) {
  ASSERT_TRUE(score.Layer(2, 2, 1, "gD4/8 {3:2 C4/8 D4 E4} {5:4 C4/16 D4 E4 F4 G4} r/2"));
  struct Case {
    std::int16_t slot, measure;
    std::int32_t duration;
  };
  const Case cases[] = {{1, 1, 4096}, {1, 2, 4096}, {2, 2, 1024 + 1024 + 2048}, {2, 3, 0}};
  for (const Case& c : cases) {
    EXTGF2005a* frame = Load(c.slot, c.measure, 0);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(HK_GetTGFDuration(frame, kVersion), c.duration) << "slot " << c.slot << " measure " << c.measure;
    Free(frame);
  }
}

TEST_F(FrameServices, EveryServiceCallIsLogged) {
  host.ClearCallLog();
  EXTGF2005a* frame = Load(1, 1, 0);
  HK_SaveTGF(frame, kVersion);
  Free(frame);
  const std::vector<std::string> expected = {"HK_LoadTGF", "HK_SaveTGF", "HK_FreeTGF"};
  EXPECT_EQ(host.CallLog(), expected);
}

using FrameServicesDeathTest = FrameServices;

TEST_F(FrameServicesDeathTest, AFrameFreedTwiceStopsTheHost) {
  EXPECT_DEATH(
      {
        EXTGF2005a* frame = Load(1, 1, 0);
        Free(frame);
        Free(frame);
      },
      "HK_FreeTGF: frame freed twice");
}

// The host's own services are called here, without the wrappers' CleanTGF,
// which would itself reach into the freed frame.
TEST_F(FrameServicesDeathTest, AFrameUsedAfterBeingFreedStopsTheHost) {
  using Edit = std::int32_t(TONARO_CALL*)(EXTGF2005a*, std::int32_t, std::int32_t, std::uint32_t);
  using Whole = std::int32_t(TONARO_CALL*)(EXTGF2005a*, std::uint32_t);
  const char* edits[] = {"HK_InsertEXENTRY", "HK_DeleteEXENTRY"};
  const char* wholes[] = {"HK_SaveTGF", "HK_GetTGFDuration"};
  for (const char* service : edits) {
    const auto call = reinterpret_cast<Edit>(host.Resolve(service));
    ASSERT_NE(call, nullptr);
    EXPECT_DEATH(
        {
          EXTGF2005a* frame = Load(1, 1, 0);
          Free(frame);
          call(frame, 0, 1, kVersion);
        },
        std::string(service) + ": frame used after HK_FreeTGF");
  }
  for (const char* service : wholes) {
    const auto call = reinterpret_cast<Whole>(host.Resolve(service));
    ASSERT_NE(call, nullptr);
    EXPECT_DEATH(
        {
          EXTGF2005a* frame = Load(1, 1, 0);
          Free(frame);
          call(frame, kVersion);
        },
        std::string(service) + ": frame used after HK_FreeTGF");
  }
}

// The table keeps the blocks of the most recent frees only, so that a long
// command runs in bounded memory: the oldest of one free too many is released
// (and reported as unknown), the next oldest is still recognised.
TEST_F(FrameServicesDeathTest, OnlyTheMostRecentFreesAreKept) {
  std::vector<EXTGF2005a*> frames;
  for (std::size_t i = 0; i <= simhost::FrameTable::kFreedFramesKept; ++i) frames.push_back(Load(1, 1, 0));
  for (EXTGF2005a* frame : frames) Free(frame);
  EXPECT_EQ(host.Frames().Created(), std::int32_t(frames.size()));
  EXPECT_DEATH(Free(frames[1]), "HK_FreeTGF: frame freed twice");
  EXPECT_DEATH(Free(frames[0]), "HK_FreeTGF: not a frame this host handed out");
}

TEST_F(FrameServicesDeathTest, APointerThatNeverWasAFrameStopsTheHost) {
  EXTGF2005a forged{};
  EXPECT_DEATH(HK_FreeTGF(&forged, kVersion), "HK_FreeTGF: not a frame this host handed out");
}

#if defined(__SANITIZE_ADDRESS__)
// Under AddressSanitizer a pointer kept across an insertion reads freed memory.
TEST_F(FrameServicesDeathTest, AStaleEntryPointerIsCaughtUnderTheSanitizer) {
  EXPECT_DEATH(
      {
        EXTGF2005a* frame = Load(1, 1, 0);
        volatile EXENTRY* stale = frame->entries;
        HK_InsertEXENTRY(frame, 0, 1, kVersion);
        std::fprintf(stderr, "%d\n", int(stale->duration));
      },
      "heap-use-after-free");
}
#endif

}  // namespace
