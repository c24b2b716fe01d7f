// The command over many random scores: every staff is either untouched byte
// for byte, or its chords are spread highest to lowest over new layers with
// the rhythm of layer 1 and no note lost. Seeded; a failure names its seed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

#include "tests/e2e/explodefixture.h"
#include "tests/e2e/explodeoracle.h"

namespace {

using e2e::ExplodeFixture;
using e2e::RunConditions;

// How many random scores one run tries; ZK_PROPERTY_SCORES overrides it for long runs.
int ScoreCount() {
  const char* text = std::getenv("ZK_PROPERTY_SCORES");
  return text != nullptr && std::atoi(text) > 0 ? std::atoi(text) : 150;
}

class RandomScore {
 public:
  explicit RandomScore(std::uint32_t seed) : _random(seed) {}

  int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(_random); }
  bool Chance(int percent) { return Between(1, 100) <= percent; }

  std::string Pitch() {
    static const char* const kLetters[] = {"C", "D", "E", "F", "G", "A", "B"};
    static const char* const kAccidentals[] = {"", "", "", "#", "b"};
    return std::string(kLetters[Between(0, 6)]) + kAccidentals[Between(0, 4)] + std::to_string(Between(3, 5));
  }

  // One entry: a rest or a chord of 1 to 6 notes (some pitches repeated).
  std::string Entry(const char* value) {
    if (Chance(15)) return std::string("r/") + value;
    static const int kSizes[] = {1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 5, 6};
    const int size = kSizes[Between(0, 11)];
    std::string chord;
    std::string previous;
    for (int n = 0; n < size; ++n) {
      const std::string pitch = (n > 0 && Chance(10)) ? previous : Pitch();
      chord += (n > 0 ? "-" : "") + pitch;
      previous = pitch;
    }
    return chord + "/" + value;
  }

  // A measure of 4/4 in quarters, halves and eighths.
  std::string Measure() {
    std::string text;
    int eighths = 8;
    while (eighths > 0) {
      const int choice = Between(0, 2);
      const int length = choice == 0 ? 1 : choice == 1 ? 2 : 4;
      if (length > eighths) continue;
      text += (text.empty() ? "" : " ") + Entry(length == 1 ? "8" : length == 2 ? "4" : "2");
      eighths -= length;
    }
    return text;
  }

  std::int32_t Position() {
    static const std::int32_t kPositions[] = {0, 0, 512, 1024, 2048, 3072, 4000};
    return kPositions[Between(0, 6)];
  }

 private:
  std::mt19937 _random;
};

class ExplodeProperty : public ExplodeFixture {
 protected:
  // Builds a random score and the conditions of a run on it.
  RunConditions Build(RandomScore& random) {
    host.document = simhost::Document();
    const std::int16_t staves = std::int16_t(random.Between(1, 3));
    const std::int16_t measures = std::int16_t(random.Between(1, 4));
    score.Staves(staves).Measures(measures);
    for (std::int16_t staff = 1; staff <= staves; ++staff) {
      for (std::int16_t measure = 1; measure <= measures; ++measure) {
        if (!random.Chance(10)) {
          EXPECT_TRUE(score.Layer(staff, measure, 1, random.Measure())) << score.LastError();
        }
      }
      if (random.Chance(15)) {
        EXPECT_TRUE(score.Layer(staff, std::int16_t(random.Between(1, measures)), std::int16_t(random.Between(2, 4)),
                                "r/4 " + random.Pitch() + "/4"));
      }
    }
    RunConditions run;
    run.hiddenLayers.assign(4, false);
    if (random.Chance(15)) run.hiddenLayers[std::size_t(random.Between(0, 3))] = true;
    run.duplicateUnisons = random.Chance(50);
    const std::int16_t firstSlot = std::int16_t(random.Between(1, staves));
    const std::int16_t lastSlot = std::int16_t(random.Between(firstSlot, staves + 1));
    const std::int16_t firstMeasure = std::int16_t(random.Between(1, measures));
    const std::int16_t lastMeasure = std::int16_t(random.Between(firstMeasure, measures + 1));
    const std::int32_t startPos = random.Chance(60) ? 0 : random.Position();
    const std::int32_t endPos = random.Chance(60) ? kEndOfMeasure : random.Position();
    run.region = simhost::Document::MakeRegion(firstSlot, lastSlot, firstMeasure, lastMeasure, startPos, endPos);
    host.settings.hiddenLayers = run.hiddenLayers;
    WriteOptions(run.duplicateUnisons ? "ZKEXPLODLAYERS_DUPLICATE_UNISONS=1\n" : "");
    return run;
  }
};

TEST_F(ExplodeProperty, EveryStaffIsUntouchedOrExplodedCorrectly) {
  const int count = ScoreCount();
  int exploded = 0;
  for (int seed = 1; seed <= count; ++seed) {
    RandomScore random{std::uint32_t(seed)};
    const RunConditions run = Build(random);
    const auto before = e2e::TakeStaves(host.document);
    ASSERT_EQ(1, Explode(run.region)) << "seed " << seed;
    ASSERT_EQ(0, host.OutstandingFrames()) << "seed " << seed;
    for (const auto& staff : before) {
      const std::string problem = e2e::JudgeStaff(host.document, staff, run);
      ASSERT_EQ("", problem) << "seed " << seed;
      ASSERT_EQ("", e2e::FindLostNote(host.document, staff)) << "seed " << seed;
      if (simhost::SnapshotStaff(host.document, staff.staff) != staff.snapshot) ++exploded;
    }
  }
  // The generator must reach both outcomes often enough to mean something.
  EXPECT_GT(exploded, count / 5);
}

}  // namespace
