// Articulations of entries, and their copying from one entry to another.
#include "tonaroframework/entries/pkarticulation.h"

#include <gtest/gtest.h>

#include <vector>

#include "entrytestsupport.h"
#include "simhost/hostmeaning.h"

namespace {

class PKArticulationTest : public EntriesTest {
 protected:
  void SetUp() override {
    score.Staves(1).Measures(1);
    Music(1, 1, 1, "C4/4 D4/4 E4/4 F4/4");
  }
  // Gives a stored entry articulations of these definitions, incis 0 on.
  void Articulate(PKNoteEntry* entry, std::vector<std::int16_t> definitions) {
    for (std::int16_t definition : definitions)
      ASSERT_GE(host.document.AddArticulation(Number(entry), definition), 0);
  }
  static std::int32_t Number(PKNoteEntry* entry) { return std::int32_t(entry->GetEntryNumber()); }
  // The definitions stored for an entry, inci by inci, -1 where an inci is missing (up to `incis`).
  std::vector<int> Stored(PKNoteEntry* entry, int incis) {
    std::vector<int> definitions;
    for (int inci = 0; inci < incis; ++inci) {
      PKArticulation articulation;
      definitions.push_back(articulation.Load(Number(entry), std::int16_t(inci)) ? articulation.GetArticulationDefID()
                                                                                  : -1);
    }
    return definitions;
  }
  static bool Flagged(PKNoteEntry* entry) { return entry->GetArticulationFlag(); }
};

TEST_F(PKArticulationTest, TheCollectionReadsTheEntrysArticulationsInHostOrder) {
  LoadedEntries layer(1, 1, 1);
  Articulate(layer[0], {5, 7, 9});
  PKArticulations articulations;
  EXPECT_STREQ(articulations.ClassName(), "PKArticulations");
  articulations.SetNoteEntry(layer[0]);
  articulations.LoadAll();
  ASSERT_EQ(articulations.GetCount(), 3);
  EXPECT_STREQ(articulations.GetArticulationAt(0)->ClassName(), "PKArticulation");
  EXPECT_EQ(articulations.GetArticulationAt(2)->GetArticulationDefID(), 9);
  EXPECT_TRUE(articulations.ContainsID(7));
  EXPECT_FALSE(articulations.ContainsID(6));
}

TEST_F(PKArticulationTest, AddArticulationsSkipsDefinitionsTheTargetCarries) {
  LoadedEntries layer(1, 1, 1);
  Articulate(layer[0], {5, 7});
  Articulate(layer[1], {5});
  EXPECT_EQ(layer[1]->AddArticulations(layer[0], true), 1);
  EXPECT_EQ(Stored(layer[1], 4), (std::vector<int>{5, -1, 7, -1})) << "saved with inci 1 + its inci in the source";
  EXPECT_TRUE(Flagged(layer[1]));
}

TEST_F(PKArticulationTest, SkippedArticulationsLeaveTheirGapInTheIncis) {
  LoadedEntries layer(1, 1, 1);
  Articulate(layer[0], {5, 6, 7});
  Articulate(layer[1], {6, 8});
  EXPECT_EQ(layer[1]->AddArticulations(layer[0], true), 2);
  EXPECT_EQ(Stored(layer[1], 6), (std::vector<int>{6, 8, 5, -1, 7, -1}));

  // Without skipping, every articulation is copied after those present.
  EXPECT_EQ(layer[2]->AddArticulations(layer[0], false), 3);
  EXPECT_EQ(Stored(layer[2], 3), (std::vector<int>{5, 6, 7}));
}

TEST_F(PKArticulationTest, NothingIsAddedWithoutATargetNumberOrSourceArticulations) {
  LoadedEntries layer(1, 1, 1);
  Articulate(layer[0], {5});
  PKNoteEntry unnumbered;
  EXPECT_EQ(unnumbered.AddArticulations(layer[0], true), 0);
  EXPECT_EQ(layer[1]->AddArticulations(nullptr, true), 0);

  const std::size_t stored = host.document.Records().Count(PKArticulation::kTag);
  EXPECT_EQ(layer[1]->AddArticulations(layer[2], true), 0);
  EXPECT_FALSE(Flagged(layer[1])) << "the flag stays as it was";
  EXPECT_EQ(host.document.Records().Count(PKArticulation::kTag), stored);
}

TEST_F(PKArticulationTest, TheSourcesCacheIsUsedAndStillAddressesTheSource) {
  LoadedEntries layer(1, 1, 1);
  Articulate(layer[0], {5, 7});
  layer[0]->CacheArticulations();
  PKArticulations* cache = layer[0]->GetArticulationCache();
  ASSERT_NE(cache, nullptr);
  ASSERT_EQ(cache->GetCount(), 2);

  // Changing the cached copy shows that the cache, not the host, is read.
  cache->GetArticulationAt(1)->SetArticulationDefID(8);
  EXPECT_EQ(layer[3]->AddArticulations(layer[0], true), 2);
  EXPECT_EQ(Stored(layer[3], 2), (std::vector<int>{5, 8}));
  EXPECT_EQ(cache->GetArticulationAt(1)->GetNoteEntry(), layer[0]);
  EXPECT_EQ(cache->GetArticulationAt(1)->GetEntryNumber(), Number(layer[0]));
  EXPECT_EQ(cache->GetArticulationAt(1)->GetInci(), 1);
}

TEST_F(PKArticulationTest, AnEntryWithoutArticulationsKeepsItsCache) {
  LoadedEntries layer(1, 1, 1);
  layer[0]->CacheArticulations();
  EXPECT_EQ(layer[0]->GetArticulationCache(), nullptr);
  Articulate(layer[0], {5});
  layer[0]->CacheArticulations();
  PKArticulations* cache = layer[0]->GetArticulationCache();
  ASSERT_NE(cache, nullptr);
  host.document.Records().Delete(PKArticulation::kTag, simhost::EntryKey(Number(layer[0]), 0));
  layer[0]->CacheArticulations();
  EXPECT_EQ(layer[0]->GetArticulationCache(), cache);
  EXPECT_EQ(cache->GetCount(), 1);
}

TEST_F(PKArticulationTest, SaveNewOfAnArticulationSetsTheEntrysArticulationFlag) {
  LoadedEntries layer(1, 1, 1);
  PKArticulation articulation;
  articulation.SetArticulationDefID(4);
  articulation.SetNoteEntry(layer[2]);
  ASSERT_TRUE(articulation.SaveNew());
  EXPECT_EQ(articulation.GetInci(), 0);
  EXPECT_TRUE(Flagged(layer[2]));
  EXPECT_EQ(Stored(layer[2], 1), (std::vector<int>{4}));
}

}  // namespace
