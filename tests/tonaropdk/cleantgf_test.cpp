#include "tonaropdk/cleantgf.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "simhost/host.h"
#include "simhost/scorebuilder.h"
#include "tonaropdk/hkservices.h"

// Packed host fields are compared as values, +(field): the checks take
// references, which a packed field at an odd address cannot give.
namespace {

// A frame over entries the test owns.
struct TestFrame {
  std::vector<EXENTRY> entries;
  EXTGF2005a frame{};

  explicit TestFrame(std::vector<EXENTRY> records) : entries(std::move(records)) {
    frame.entries = entries.empty() ? nullptr : entries.data();
    frame.entryCount = std::int16_t(entries.size());
  }
};

// An entry with notes carrying these IDs, note flags 0x80000000, and the
// unused note records filled with 0xAB so that zeroing can be seen.
EXENTRY EntryWithIDs(const std::vector<std::int16_t>& ids) {
  EXENTRY entry;
  std::memset(static_cast<void*>(&entry), 0xAB, sizeof(entry));
  entry.flags = kEntryNoteFlag;
  entry.noteCount = std::int16_t(ids.size());
  for (std::size_t n = 0; n < ids.size(); ++n) {
    entry.notes[n] = EXNOTE{std::int16_t(n), 0, ids[n], kNoteCreatedFlag};
  }
  return entry;
}

bool IsZero(const EXNOTE& note) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(&note);
  for (std::size_t i = 0; i < sizeof(note); ++i)
    if (bytes[i] != 0) return false;
  return true;
}

struct IDCase {
  const char* name;
  std::vector<std::int16_t> before;
  std::vector<std::int16_t> after;
};

TEST(CleanTGF, RenumbersMissingAndSharedNoteIDs) {
  const IDCase cases[] = {
      {"two zero IDs", {0, 0}, {1, 2}},
      {"two equal IDs: the earlier moves", {3, 3}, {4, 3}},
      {"distinct IDs stay", {2, 7}, {2, 7}},
      {"three equal IDs", {5, 5, 5}, {6, 7, 5}},
      {"zero after a larger ID", {4, 0, 2}, {4, 5, 2}},
      {"negative IDs never raise the top", {-3, 0}, {-3, 1}},
      {"a clash with an ID given earlier in the walk", {0, 1, 1}, {2, 3, 1}},
  };
  for (const IDCase& c : cases) {
    TestFrame test({EntryWithIDs(c.before)});
    CleanTGF(&test.frame);
    std::vector<std::int16_t> ids;
    for (std::int16_t n = 0; n < test.entries[0].noteCount; ++n) ids.push_back(test.entries[0].notes[n].noteID);
    EXPECT_EQ(ids, c.after) << c.name;
  }
}

TEST(CleanTGF, WritesTheLowFiveBitsOfEachIDIntoTheNoteFlags) {
  struct FlagCase {
    std::int16_t id;
    std::uint32_t flagsBefore;
    std::uint32_t flagsAfter;
  };
  const FlagCase cases[] = {
      {2, 0x80000000, 0x80020000},
      {7, 0x80000000, 0x80070000},
      {33, 0x80000000, 0x80010000},  // 33 keeps its ID; only its low five bits go into the flags
      {31, 0x401F0000, 0x401F0000},
      {1, 0x001E0001, 0x00010001},   // stale bits are cleared, other bits kept
  };
  for (const FlagCase& c : cases) {
    EXENTRY entry = EntryWithIDs({c.id});
    entry.notes[0].flags = c.flagsBefore;
    TestFrame test({entry});
    CleanTGF(&test.frame);
    EXPECT_EQ(test.entries[0].notes[0].noteID, c.id);
    EXPECT_EQ(+(test.entries[0].notes[0].flags), c.flagsAfter) << "ID " << c.id;
  }
}

TEST(CleanTGF, ZeroesTheUnusedNoteRecordsOnly) {
  const std::vector<std::int16_t> three = {1, 2, 3};
  std::vector<std::int16_t> twelve;
  for (std::int16_t id = 1; id <= 12; ++id) twelve.push_back(id);
  TestFrame test({EntryWithIDs(three), EntryWithIDs(twelve)});
  CleanTGF(&test.frame);

  for (int n = 0; n < 3; ++n) EXPECT_FALSE(IsZero(test.entries[0].notes[n])) << n;
  for (int n = 3; n < kMaxEntryNotes; ++n) EXPECT_TRUE(IsZero(test.entries[0].notes[n])) << n;
  for (int n = 0; n < kMaxEntryNotes; ++n) EXPECT_EQ(test.entries[1].notes[n].noteID, n + 1);
  // The bytes after the note records are the host's and stay.
  EXPECT_EQ(+(test.entries[0].measurePos), std::int32_t(0xABABABAB));
}

TEST(CleanTGF, GivesARestOneNoteRecordAndAnIDOnTheNextPass) {
  EXENTRY rest = EntryWithIDs({});
  rest.flags = 0;
  TestFrame test({rest});

  CleanTGF(&test.frame);
  const EXENTRY& once = test.entries[0];
  EXPECT_EQ(once.noteCount, 1);
  EXPECT_EQ(+(once.flags), kEntryRestRecordFlag);
  EXPECT_EQ(+(once.notes[0].flags), 0x80000000u);
  EXPECT_EQ(once.notes[0].displacement, 0);
  EXPECT_EQ(once.notes[0].raiseLower, 0);
  EXPECT_EQ(once.notes[0].noteID, 0);
  for (int n = 1; n < kMaxEntryNotes; ++n) EXPECT_TRUE(IsZero(once.notes[n])) << n;

  CleanTGF(&test.frame);
  EXPECT_EQ(test.entries[0].noteCount, 1);
  EXPECT_EQ(test.entries[0].notes[0].noteID, 1);
  EXPECT_EQ(+(test.entries[0].notes[0].flags), 0x80010000u);
}

TEST(CleanTGF, LeavesRestsAloneWhenTheProcessFlagIsOff) {
  ASSERT_TRUE(CanAddNoteRecordToRests);  // the starting value
  CanAddNoteRecordToRests = false;
  EXENTRY rest = EntryWithIDs({});
  rest.flags = 0;
  TestFrame test({rest});
  CleanTGF(&test.frame);
  EXPECT_EQ(test.entries[0].noteCount, 0);
  EXPECT_EQ(+(test.entries[0].flags), 0u);
  EXPECT_TRUE(IsZero(test.entries[0].notes[0]));
}

TEST(CleanTGF, IgnoresNullAndEmptyFramesAndNeverWritesOutsideTheNoteRecords) {
  CleanTGF(nullptr);
  TestFrame empty({});
  CleanTGF(&empty.frame);
  EXPECT_EQ(empty.frame.entryCount, 0);

  // A note count outside 0..12 addresses nothing outside the entry.
  EXENTRY wild = EntryWithIDs({1});
  wild.noteCount = -4;
  EXENTRY tooMany = EntryWithIDs({1});
  tooMany.noteCount = 40;
  TestFrame test({wild, tooMany});
  CleanTGF(&test.frame);
  EXPECT_EQ(test.entries[0].noteCount, -4);
  EXPECT_EQ(+(test.entries[0].entryNumber), 0xABABABABu);
  EXPECT_EQ(test.entries[1].noteCount, 40);
  EXPECT_EQ(+(test.entries[1].measurePos), std::int32_t(0xABABABAB));
}

// The wrappers that hand a frame to the host normalise it first.
TEST(CleanTGF, RunsBeforeTheHostSeesAFrame) {
  simhost::Host host;
  simhost::ScoreBuilder score(host.document);
  score.Staves(1).Measures(1);
  ASSERT_TRUE(score.Layer(1, 1, 1, "C4-E4/4"));

  EXTGF2005a* frame = HK_LoadTGF(0, 1, 1, 0, 1, kTonaroFrameworkVersion);
  ASSERT_NE(frame, nullptr);
  frame->entries[0].notes[0].noteID = 0;
  frame->entries[0].notes[1].noteID = 0;
  ASSERT_NE(HK_SaveTGF(frame, kTonaroFrameworkVersion), 0);
  EXPECT_EQ(host.document.Entries(1, 1, 0)[0].notes[0].noteID, 1);
  EXPECT_EQ(host.document.Entries(1, 1, 0)[0].notes[1].noteID, 2);

  // Insert: the entries the host copies into the new array are already clean.
  frame->entries[0].notes[1].noteID = 1;
  ASSERT_NE(HK_InsertEXENTRY(frame, 1, 1, kTonaroFrameworkVersion), 0);
  EXPECT_EQ(frame->entries[0].notes[0].noteID, 2);
  EXPECT_EQ(frame->entries[0].notes[1].noteID, 1);

  frame->entries[0].notes[0].flags = kNoteCreatedFlag;
  ASSERT_NE(HK_DeleteEXENTRY(frame, 1, 1, kTonaroFrameworkVersion), 0);
  EXPECT_EQ(+(frame->entries[0].notes[0].flags), 0x80020000u);

  frame->entries[0].notes[0].flags = kNoteCreatedFlag;
  HK_ReduceEntries(frame, kTonaroFrameworkVersion);  // the host lacks it; the frame is still normalised
  EXPECT_EQ(+(frame->entries[0].notes[0].flags), 0x80020000u);

  HK_FreeTGF(frame, kTonaroFrameworkVersion);
  EXPECT_EQ(host.OutstandingFrames(), 0);
}

}  // namespace
