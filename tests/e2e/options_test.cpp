// The duplicate-unisons option as the command reads it from the shared
// settings file at every invocation.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/explodefixture.h"

namespace {

using e2e::ExplodeFixture;

// A two-note chord, then a single note: with the option on, the single note
// reaches layer 2 as well.
const char kMusic[] = "C4-E4/2 A4/2";
const char kOn[] = "C4/2 A4/2";
const char kOff[] = "C4/2 r/2";

struct OptionsCase {
  const char* name;
  const char* optionsFile;  // null: no file
  const char* prefsFile;    // null: no file
  bool on;
};

class Options : public ExplodeFixture, public ::testing::WithParamInterface<OptionsCase> {};

TEST_P(Options, DecideTheSingleNoteOfLayer2) {
  const OptionsCase& c = GetParam();
  if (c.optionsFile != nullptr) WriteOptions(c.optionsFile);
  if (c.prefsFile != nullptr) settings.Write("zkpluginprefs.txt", c.prefsFile);
  score.Staves(1).Measures(1);
  ASSERT_TRUE(score.Layer(1, 1, 1, kMusic));
  EXPECT_EQ(1, Explode(1, 1, 1, 1));
  EXPECT_EQ("E4/2 A4/2", Layer(1, 1, 1));
  EXPECT_EQ(c.on ? kOn : kOff, Layer(1, 1, 2));
}

const OptionsCase kCases[] = {
    {"NoFile", nullptr, nullptr, false},
    {"Exact", "ZKEXPLODLAYERS_DUPLICATE_UNISONS=1\n", nullptr, true},
    {"AnyCaseAndSpaces", "zkexplodlayers_duplicate_unisons = 1\n", nullptr, true},
    {"ValueTrimmedOfTabsAndCarriageReturns", "ZKEXPLODLAYERS_DUPLICATE_UNISONS=\t1 \r\n", nullptr, true},
    {"SpelledWithTheE", "ZKEXPLODELAYERS_DUPLICATE_UNISONS=1\n", nullptr, false},
    {"True", "ZKEXPLODLAYERS_DUPLICATE_UNISONS=true\n", nullptr, false},
    {"Yes", "ZKEXPLODLAYERS_DUPLICATE_UNISONS=yes\n", nullptr, false},
    {"ZeroOne", "ZKEXPLODLAYERS_DUPLICATE_UNISONS=01\n", nullptr, false},
    {"FirstOccurrenceWinsOff", "ZKEXPLODLAYERS_DUPLICATE_UNISONS=0\nZKEXPLODLAYERS_DUPLICATE_UNISONS=1\n", nullptr,
     false},
    {"FirstOccurrenceWinsOn", "ZKEXPLODLAYERS_DUPLICATE_UNISONS=1\nZKEXPLODLAYERS_DUPLICATE_UNISONS=0\n", nullptr,
     true},
    {"PrefsFileIgnored", nullptr, "ZKEXPLODLAYERS_DUPLICATE_UNISONS=1\n", false},
    {"PrefsFileIgnoredBesideOptions", "other=1\n", "ZKEXPLODLAYERS_DUPLICATE_UNISONS=1\n", false},
    {"NoFinalLineFeed", "a=b\nZKEXPLODLAYERS_DUPLICATE_UNISONS=1", nullptr, true},
    {"CarriageReturnLineEnds", "a=b\rZKEXPLODLAYERS_DUPLICATE_UNISONS=1\rc=d\r", nullptr, true},
    {"OnlyEqualsLines", "=\n==\n=ZKEXPLODLAYERS_DUPLICATE_UNISONS=1\n", nullptr, false},
    {"KeyWithoutValue", "ZKEXPLODLAYERS_DUPLICATE_UNISONS\n", nullptr, false},
};
INSTANTIATE_TEST_SUITE_P(Table, Options, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<OptionsCase>& param) { return param.param.name; });

class OptionsFile : public ExplodeFixture {
 protected:
  // Answers layer 2 of the music after one run with these bytes as the options file.
  std::string Layer2After(const std::string& optionsBytes) {
    WriteOptions(optionsBytes);
    score.Staves(1).Measures(1);
    EXPECT_TRUE(score.Layer(1, 1, 1, kMusic));
    EXPECT_EQ(1, Explode(1, 1, 1, 1));
    return Layer(1, 1, 2);
  }
};

TEST_F(OptionsFile, BinaryBytesAroundAWellFormedLine) {
  std::string bytes("\x00\xff\xfe\x01garbage\x7f\x80", 13);
  bytes += "\nZKEXPLODLAYERS_DUPLICATE_UNISONS=1\n";
  bytes += std::string("\x00\x00\xc3\x28=\x01\n", 7);
  EXPECT_EQ(kOn, Layer2After(bytes));
}

TEST_F(OptionsFile, BinaryBytesOnlyLeaveTheOptionOff) {
  std::string bytes;
  for (int i = 0; i < 4096; ++i) bytes += char((i * 37 + 11) & 0xFF);
  EXPECT_EQ(kOff, Layer2After(bytes));
}

TEST_F(OptionsFile, AMegabyteLineBeforeTheKey) {
  EXPECT_EQ(kOn, Layer2After(std::string(1 << 20, 'x') + "=y\nZKEXPLODLAYERS_DUPLICATE_UNISONS=1\n"));
}

TEST_F(OptionsFile, IsReadAgainAtEveryInvocation) {
  score.Staves(2).Measures(1);
  ASSERT_TRUE(score.Layer(1, 1, 1, kMusic));
  ASSERT_TRUE(score.Layer(2, 1, 1, kMusic));
  WriteOptions("ZKEXPLODLAYERS_DUPLICATE_UNISONS=0\n");
  EXPECT_EQ(1, Explode(1, 1, 1, 1));
  WriteOptions("ZKEXPLODLAYERS_DUPLICATE_UNISONS=1\n");
  EXPECT_EQ(1, Explode(2, 2, 1, 1));
  EXPECT_EQ(kOff, Layer(1, 1, 2));
  EXPECT_EQ(kOn, Layer(2, 1, 2));
}

TEST_F(OptionsFile, AHostWithoutASettingsFolderLeavesTheOptionOff) {
  // The file exists, but the host tells no folder: nothing is read from elsewhere.
  host.settings.settingsFolder.clear();
  EXPECT_EQ(kOff, Layer2After("ZKEXPLODLAYERS_DUPLICATE_UNISONS=1\n"));
}

}  // namespace
