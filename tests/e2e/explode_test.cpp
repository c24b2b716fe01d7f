// The command end to end: the real plug-in explodes the chords of layer 1 of
// a score in the substitute host.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/explodefixture.h"
#include "tonaropdk/exentry.h"

namespace {

using e2e::ExplodeFixture;
using simhost::Document;
using simhost::SnapshotStaff;

class ExplodeCommand : public ExplodeFixture {};

// One chord of each kind in a measure of layer 1, and what each layer holds afterwards.
struct ChordCase {
  const char* name;
  bool duplicateUnisons;
  const char* layers[4];
};

class ExplodeChords : public ExplodeFixture, public ::testing::WithParamInterface<ChordCase> {};

TEST_P(ExplodeChords, SpreadsEachChordHighestToLowest) {
  const ChordCase& c = GetParam();
  score.Staves(1).Measures(1);
  ASSERT_TRUE(score.Layer(1, 1, 1, "C4-E4-G4-B4/4 C4-E4-G4/4 D4-F4/8 A4/8 r/4")) << score.LastError();
  WriteOptions(c.duplicateUnisons ? "ZKEXPLODLAYERS_DUPLICATE_UNISONS=1\n" : "");
  EXPECT_EQ(1, Explode(1, 1, 1, 1));
  for (std::int16_t layer = 1; layer <= 4; ++layer)
    EXPECT_EQ(c.layers[layer - 1], Layer(1, 1, layer)) << "layer " << layer;
}

const ChordCase kChordCases[] = {
    {"UnisonsOff", false,
     {"B4/4 G4/4 F4/8 A4/8 r/4", "G4/4 E4/4 D4/8 r/8 r/4", "E4/4 C4/4 r/8 r/8 r/4", "C4/4 r/4 r/8 r/8 r/4"}},
    {"UnisonsOn", true,
     {"B4/4 G4/4 F4/8 A4/8 r/4", "G4/4 E4/4 D4/8 A4/8 r/4", "E4/4 C4/4 r/8 A4/8 r/4", "C4/4 r/4 r/8 A4/8 r/4"}},
};
INSTANTIATE_TEST_SUITE_P(Table, ExplodeChords, ::testing::ValuesIn(kChordCases),
                         [](const ::testing::TestParamInfo<ChordCase>& param) { return param.param.name; });

TEST_F(ExplodeCommand, NewEntriesAreNumberedAndKeepTheRhythmAcrossMeasures) {
  score.Staves(1).Measures(3);
  ASSERT_TRUE(score.Layer(1, 1, 1, "C4-E4/2 D4-F4/2"));
  ASSERT_TRUE(score.Layer(1, 2, 1, "r/4 E4-G4/2."));
  ASSERT_TRUE(score.Layer(1, 3, 1, "C4-G4/1"));
  EXPECT_EQ(1, Explode(1, 1, 1, 3));
  EXPECT_EQ("E4/2 F4/2", Layer(1, 1, 1));
  EXPECT_EQ("C4/2 D4/2", Layer(1, 1, 2));
  EXPECT_EQ("r/4 G4/2.", Layer(1, 2, 1));
  EXPECT_EQ("r/4 E4/2.", Layer(1, 2, 2));
  EXPECT_EQ("C4/1", Layer(1, 3, 2));
  EXPECT_EQ("", Layer(1, 1, 3));
  for (std::int16_t measure = 1; measure <= 3; ++measure)
    for (std::size_t i = 0; i < score.Entries(1, measure, 2).size(); ++i) {
      EXPECT_NE(0u, +Entry(1, measure, 2, i).entryNumber);
      EXPECT_EQ(+Entry(1, measure, 1, i).measurePos, +Entry(1, measure, 2, i).measurePos);
      EXPECT_EQ(+Entry(1, measure, 1, i).duration, +Entry(1, measure, 2, i).duration);
    }
}

TEST_F(ExplodeCommand, OnlyQualifyingStavesChange) {
  score.Staves(2).Measures(1);
  ASSERT_TRUE(score.Layer(1, 1, 1, "C4-E4/1"));
  ASSERT_TRUE(score.Layer(1, 1, 2, "G4/1"));  // staff 1 already uses layer 2
  ASSERT_TRUE(score.Layer(2, 1, 1, "D4-F4/1"));
  const auto staff1 = SnapshotStaff(host.document, 1);
  EXPECT_EQ(1, Explode(1, 2, 1, 1));
  EXPECT_EQ(staff1, SnapshotStaff(host.document, 1));
  EXPECT_EQ("F4/1", Layer(2, 1, 1));
  EXPECT_EQ("D4/1", Layer(2, 1, 2));
}

// Staves the command must leave exactly as they are.
struct UntouchedCase {
  const char* name;
  const char* layer1;
  const char* otherLayer;  // music for another layer, or null
  std::int16_t otherLayerNumber;
  std::vector<bool> hiddenLayers;
  std::int32_t reportedLayers;
};

class ExplodeUntouched : public ExplodeFixture, public ::testing::WithParamInterface<UntouchedCase> {};

TEST_P(ExplodeUntouched, LeavesTheStaffAsItWas) {
  const UntouchedCase& c = GetParam();
  host.settings.hiddenLayers = c.hiddenLayers;
  host.settings.maxLayersAnswer = c.reportedLayers;
  score.Staves(1).Measures(1);
  ASSERT_TRUE(score.Layer(1, 1, 1, c.layer1)) << score.LastError();
  if (c.otherLayer != nullptr) {
    ASSERT_TRUE(score.Layer(1, 1, c.otherLayerNumber, c.otherLayer));
  }
  const auto before = SnapshotStaff(host.document, 1);
  EXPECT_EQ(1, Explode(1, 1, 1, 1));
  const auto after = SnapshotStaff(host.document, 1);
  EXPECT_EQ(before, after) << DescribeDifferences(before, after);
}

const UntouchedCase kUntouchedCases[] = {
    {"SingleNotesOnly", "C4/2 D4/2", nullptr, 0, {}, 4},
    {"FiveNoteChord", "C4-E4-G4-B4-D5/2 C4-E4/2", nullptr, 0, {}, 4},
    {"Layer1Empty", "", nullptr, 0, {}, 4},
    {"Layer1Hidden", "C4-E4/1", nullptr, 0, {true}, 4},
    {"MusicInHiddenLayer3", "C4-E4/1", "G5/1", 3, {false, false, true}, 4},
    {"MusicInLayer4", "C4-E4/1", "r/2 G5/2", 4, {}, 4},
    {"FewerLayersThanTheChordNeeds", "C4-E4-G4/1", nullptr, 0, {}, 2},
    {"HostWithOneLayer", "C4-E4/1", nullptr, 0, {}, 1},
};
INSTANTIATE_TEST_SUITE_P(Table, ExplodeUntouched, ::testing::ValuesIn(kUntouchedCases),
                         [](const ::testing::TestParamInfo<UntouchedCase>& param) { return param.param.name; });

TEST_F(ExplodeCommand, AnEntryOfLayer2OutsideTheSelectedPositionsStillCounts) {
  score.Staves(1).Measures(1);
  ASSERT_TRUE(score.Layer(1, 1, 1, "C4-E4/2 D4-F4/2"));
  ASSERT_TRUE(score.Layer(1, 1, 2, "G5/4"));  // at position 0, before the selection
  const auto before = SnapshotStaff(host.document, 1);
  EXPECT_EQ(1, Explode(Document::MakeRegion(1, 1, 1, 1, 2048, kEndOfMeasure)));
  EXPECT_EQ(before, SnapshotStaff(host.document, 1));
}

TEST_F(ExplodeCommand, ThreeNoteChordsMakeExactlyLayers2And3) {
  score.Staves(1).Measures(2);
  ASSERT_TRUE(score.Layer(1, 1, 1, "C4-E4-G4/2 D4-F4/2"));
  ASSERT_TRUE(score.Layer(1, 2, 1, "A4/1"));
  EXPECT_EQ(1, Explode(1, 1, 1, 2));
  EXPECT_EQ("G4/2 F4/2", Layer(1, 1, 1));
  EXPECT_EQ("E4/2 D4/2", Layer(1, 1, 2));
  EXPECT_EQ("C4/2 r/2", Layer(1, 1, 3));
  EXPECT_EQ("r/1", Layer(1, 2, 3));
  EXPECT_EQ("", Layer(1, 1, 4));
  EXPECT_EQ("", Layer(1, 2, 4));
}

TEST_F(ExplodeCommand, TupletsFollowIntoEveryNewLayer) {
  score.Staves(1).Measures(1);
  ASSERT_TRUE(score.Layer(1, 1, 1, "{3:2/8 C4-E4/8 D4-F4/8 E4-G4/8} C4-E4/4 r/2")) << score.LastError();
  EXPECT_EQ(1, Explode(1, 1, 1, 1));
  EXPECT_EQ("{3:2/8 E4/8 F4/8 G4/8} E4/4 r/2", Layer(1, 1, 1));
  EXPECT_EQ("{3:2/8 C4/8 D4/8 E4/8} C4/4 r/2", Layer(1, 1, 2));
  EXPECT_NE(0u, Entry(1, 1, 2, 0).flags & kEntryTupletFlag);
  EXPECT_EQ(0u, Entry(1, 1, 2, 1).flags & kEntryTupletFlag);
}

TEST_F(ExplodeCommand, ArticulationsFollowIntoEveryNewLayerInsideTheRegion) {
  score.Staves(1).Measures(1);
  ASSERT_TRUE(score.Layer(1, 1, 1, "C4-E4-G4/4@s D4-F4/4@a E4-G4/4@tm r/4@s")) << score.LastError();
  // From the second beat on: the first chord stays whole and its copies are fillers.
  EXPECT_EQ(1, Explode(Document::MakeRegion(1, 1, 1, 1, 1024, kEndOfMeasure)));
  EXPECT_EQ("C4-E4-G4/4@s F4/4@a G4/4@tm r/4@s", Layer(1, 1, 1));
  EXPECT_EQ("r/4 D4/4@a E4/4@tm r/4@s", Layer(1, 1, 2));
  EXPECT_EQ("r/4 r/4@a r/4@tm r/4@s", Layer(1, 1, 3));
  const bool flagged[] = {false, true, true, true};
  for (std::int16_t layer = 2; layer <= 3; ++layer)
    for (std::size_t i = 0; i < 4; ++i)
      EXPECT_EQ(flagged[i], (Entry(1, 1, layer, i).flags & kEntryArticulationFlag) != 0)
          << "layer " << layer << " entry " << i;
}

// Slurs of layer 1 over two measures: entries 0-2 of measure 1 (type 1), entry
// 1 of measure 1 to entry 0 of measure 2 (type 8), entries 2-3 of measure 1 (type 3).
class ExplodeSlurs : public ExplodeFixture {
 protected:
  void SetUp() override {
    ExplodeFixture::SetUp();
    score.Staves(1).Measures(2);
    ASSERT_TRUE(score.Layer(1, 1, 1, "C4-E4/4 D4-F4/4 E4-G4/4 F4-A4/4"));
    ASSERT_TRUE(score.Layer(1, 2, 1, "G4-B4/1"));
    ASSERT_NE(0, host.document.AddSlur(Number(1, 1, 0), Number(1, 1, 2), 1));
    ASSERT_NE(0, host.document.AddSlur(Number(1, 1, 1), Number(2, 0, 0), 8));
    ASSERT_NE(0, host.document.AddSlur(Number(1, 1, 2), Number(1, 1, 3), 3));
  }
  // The entry number of entry `index` of a measure's user layer (staff 1); the
  // layer is given for new layers, 1 otherwise.
  std::int32_t Number(std::int16_t measure, std::int16_t layer, std::int32_t index) const {
    return score.EntryNumber(1, measure, layer == 0 ? 1 : layer, index);
  }
  // The slurs whose ends both lie in a user layer, as "measure.index-measure.index:type".
  std::vector<std::string> SlursOfLayer(std::int16_t layer) const {
    std::vector<std::string> slurs;
    for (const simhost::EntryShape& shape : host.document.EntryShapes()) {
      const std::string start = PlaceOf(shape.startEntry, layer), end = PlaceOf(shape.endEntry, layer);
      if (!start.empty() && !end.empty()) slurs.push_back(start + "-" + end + ":" + std::to_string(shape.type));
    }
    return slurs;
  }

 private:
  std::string PlaceOf(std::int32_t entryNumber, std::int16_t layer) const {
    for (std::int16_t measure = 1; measure <= 2; ++measure)
      for (std::size_t i = 0; i < score.Entries(1, measure, layer).size(); ++i)
        if (std::int32_t(score.Entries(1, measure, layer)[i].entryNumber) == entryNumber)
          return std::to_string(measure) + "." + std::to_string(i);
    return "";
  }
};

TEST_F(ExplodeSlurs, EveryNewLayerGetsTheSlursBetweenItsOwnEntries) {
  EXPECT_EQ(1, Explode(1, 1, 1, 2));
  const std::vector<std::string> original = {"1.0-1.2:1", "1.1-2.0:8", "1.2-1.3:3"};
  EXPECT_EQ(SlursOfLayer(1), original) << "layer 1 keeps its own slurs";
  EXPECT_EQ(SlursOfLayer(2), (std::vector<std::string>{"1.0-1.2:15", "1.1-2.0:16", "1.2-1.3:3"}));
  EXPECT_TRUE(SlursOfLayer(3).empty());
  for (std::size_t i = 0; i < 4; ++i)
    EXPECT_NE(0, Entry(1, 1, 2, i).flags2 & kEntrySmartShapeFlag) << "entry " << i;
  EXPECT_NE(0, Entry(1, 2, 2, 0).flags2 & kEntrySmartShapeFlag);
}

TEST_F(ExplodeSlurs, ASlurStartingBeforeTheRegionIsNotCopied) {
  // From the second beat of measure 1 on: the slur from entry 0 starts outside.
  EXPECT_EQ(1, Explode(Document::MakeRegion(1, 1, 1, 2, 1024, kEndOfMeasure)));
  EXPECT_EQ(SlursOfLayer(2), (std::vector<std::string>{"1.1-2.0:16", "1.2-1.3:3"}));
  EXPECT_EQ(0, Entry(1, 1, 2, 0).flags2 & kEntrySmartShapeFlag);
}

TEST_F(ExplodeCommand, ARepeatedPitchSendsTheEarlierCopyDown) {
  score.Staves(1).Measures(1);
  // The tie tells the two copies of C4 apart.
  ASSERT_TRUE(score.Layer(1, 1, 1, "C4~-C4/1"));
  EXPECT_EQ(1, Explode(1, 1, 1, 1));
  EXPECT_EQ("C4/1", Layer(1, 1, 1));
  EXPECT_EQ("C4~/1", Layer(1, 1, 2));
}

TEST_F(ExplodeCommand, ARegionFromMidMeasureLeavesEarlierChordsWholeWithMarkedFillers) {
  score.Staves(1).Measures(2);
  ASSERT_TRUE(score.Layer(1, 1, 1, "C4-E4/4 D4-F4/4 E4-G4/4 F4-A4/4"));
  ASSERT_TRUE(score.Layer(1, 2, 1, "G4-B4/2 A4-C5/2"));
  // From the third beat of measure 1 up to the first half of measure 2.
  EXPECT_EQ(1, Explode(Document::MakeRegion(1, 1, 1, 2, 2048, 2047)));
  EXPECT_EQ("C4-E4/4 D4-F4/4 G4/4 A4/4", Layer(1, 1, 1));
  EXPECT_EQ("r/4 r/4 E4/4 F4/4", Layer(1, 1, 2));
  EXPECT_EQ("B4/2 A4-C5/2", Layer(1, 2, 1));
  EXPECT_EQ("G4/2 r/2", Layer(1, 2, 2));
  const std::uint32_t expectedMarks[] = {kEntryFillerRestMark, kEntryFillerRestMark, 0, 0};
  for (std::size_t i = 0; i < 4; ++i)
    EXPECT_EQ(expectedMarks[i], Entry(1, 1, 2, i).flags & kEntryFillerRestMark) << "entry " << i;
  EXPECT_EQ(0u, Entry(1, 2, 2, 0).flags & kEntryFillerRestMark);
  EXPECT_EQ(kEntryFillerRestMark, Entry(1, 2, 2, 1).flags & kEntryFillerRestMark);
  EXPECT_EQ(0u, Entry(1, 1, 1, 0).flags & kEntryFillerRestMark);
}

TEST_F(ExplodeCommand, OddRegionsChangeNothing) {
  struct OddRegion {
    const char* name;
    EREGION region;
  };
  const OddRegion cases[] = {
      {"empty", EREGION{}},
      {"reversed slots", Document::MakeRegion(2, 1, 1, 1)},
      {"start past end in one measure", Document::MakeRegion(1, 2, 1, 1, 3072, 1024)},
      {"reversed measures", Document::MakeRegion(1, 2, 2, 1)},
      {"slots past the score", Document::MakeRegion(3, 5, 1, 1)},
  };
  score.Staves(2).Measures(2);
  ASSERT_TRUE(score.Layer(1, 1, 1, "C4-E4/2 D4-F4/2"));
  ASSERT_TRUE(score.Layer(2, 2, 1, "C4-E4-G4/1"));
  const auto staff1 = SnapshotStaff(host.document, 1);
  const auto staff2 = SnapshotStaff(host.document, 2);
  for (const OddRegion& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(1, Explode(c.region));
    EXPECT_EQ(staff1, SnapshotStaff(host.document, 1));
    EXPECT_EQ(staff2, SnapshotStaff(host.document, 2));
  }
}

TEST_F(ExplodeCommand, MeasuresPastTheEndOfTheDocumentAreLimitedToIt) {
  score.Staves(1).Measures(2);
  ASSERT_TRUE(score.Layer(1, 2, 1, "C4-E4/1"));
  EXPECT_EQ(1, Explode(1, 1, 1, 30));
  EXPECT_EQ("E4/1", Layer(1, 2, 1));
  EXPECT_EQ("C4/1", Layer(1, 2, 2));
  EXPECT_EQ(2, host.document.MeasureCount());
}

TEST_F(ExplodeCommand, ASecondRunFindsLayer2TakenAndChangesNothing) {
  score.Staves(1).Measures(1);
  ASSERT_TRUE(score.Layer(1, 1, 1, "C4-E4/1"));
  EXPECT_EQ(1, Explode(1, 1, 1, 1));
  const auto once = SnapshotStaff(host.document, 1);
  EXPECT_EQ(1, Explode(1, 1, 1, 1));
  EXPECT_EQ(once, SnapshotStaff(host.document, 1));
}

}  // namespace
