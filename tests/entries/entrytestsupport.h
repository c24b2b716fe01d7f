// Shared pieces of the entry tests: a fixture with a substitute host and a
// score builder that checks no frame is left outstanding, and the entries of
// frames loaded straight from the host (for tests of single entries that do
// not need a layer).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "simhost/host.h"
#include "simhost/scorebuilder.h"
#include "tonaroframework/entries/pknote.h"
#include "tonaroframework/entries/pknoteentries.h"
#include "tonaroframework/entries/pknoteentry.h"

class EntriesTest : public ::testing::Test {
 protected:
  // Every frame the library loaded during the test has gone back to the host.
  void TearDown() override { EXPECT_EQ(host.OutstandingFrames(), 0); }

  // Fills a layer (numbered from 1) of a staff in a measure; fails the test on a notation error.
  void Music(std::int16_t staff, std::int16_t measure, std::int16_t userLayer, const std::string& notation) {
    ASSERT_TRUE(score.Layer(staff, measure, userLayer, notation)) << score.LastError();
  }

  // Makes the next call of `service` fail (the host counts calls from its start).
  void FailNext(const char* service, std::uint32_t later = 0) {
    host.FailCall(service, host.CallCount(service) + 1 + later);
  }

  simhost::Host host;
  simhost::ScoreBuilder score{host.document};
};

// The entries of one layer of a staff over some measures, one frame per
// measure loaded with HK_LoadTGF, linked in order across the frames. Destroys
// its entries, then frees its frames.
class LoadedEntries {
 public:
  LoadedEntries(std::int16_t staff, std::int16_t firstMeasure, std::int16_t lastMeasure, std::int16_t layer = 0);
  ~LoadedEntries();
  LoadedEntries(const LoadedEntries&) = delete;
  LoadedEntries& operator=(const LoadedEntries&) = delete;

  // Answers entry i (from 0, across the frames), or null.
  PKNoteEntry* operator[](int i) { return entries.GetItemAt(i); }
  int Count() const { return entries.GetCount(); }
  // Saves every frame back (false when the host refused one).
  bool Save();

  std::vector<EXTGF2005a*> frames;  // null where a load failed
  PKNoteEntries entries;
};

// Answers note i of an entry.
PKNote* NoteAt(PKNoteEntry* entry, int i);
// Answers the displacements of an entry's notes in note order.
std::vector<int> Displacements(PKNoteEntry* entry);
// Answers the note IDs of an entry's notes in note order.
std::vector<int> NoteIDs(PKNoteEntry* entry);
