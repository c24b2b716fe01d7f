// The processor's options as LoadUserOptions reads them from the host's
// settings folder, both options observed directly.
#include <gtest/gtest.h>

#include <memory>

#include "simhost/host.h"
#include "simhost/testservices.h"
#include "tests/support/tempfolder.h"
#include "tonaroframework/score/pkmusicregion.h"
#include "tonaroframework/utilities/pksettingspair.h"
#include "zkexplodelayers/pkexplodelayerprocessor.h"
#include "zkexplodelayers/zkexports.h"
#include "zkexplodelayers/zkoptions.h"

namespace {

class UserOptions : public ::testing::Test {
 protected:
  void SetUp() override { host.settings.settingsFolder = folder.Path(); }

  // Answers the two options after reading `text` as the options file.
  std::pair<bool, bool> Read(const char* text) {
    folder.Write(kZKOptionsFileName, text);
    PKMusicRegion region(nullptr);
    PKExplodeLayerProcessor processor(&region);
    processor.LoadUserOptions();
    return {processor.GetDuplicateUnisons(), processor.GetCenterRests()};
  }

  simhost::Host host;
  testsupport::TempFolder folder;
};

TEST_F(UserOptions, BothKeysAsSpelled) {
  struct Case {
    const char* file;
    bool duplicate;
    bool center;
  };
  const Case cases[] = {
      {"", false, false},
      {"ZKEXPLODLAYERS_DUPLICATE_UNISONS=1\nZKEXPLODELAYERS_CENTER_RESTS=1\n", true, true},
      {"zkexplodelayers_center_rests = 1\n", false, true},
      {"ZKEXPLODLAYERS_CENTER_RESTS=1\n", false, false},  // the centre key has the E
      {"ZKEXPLODELAYERS_CENTER_RESTS=0\nZKEXPLODELAYERS_CENTER_RESTS=1\n", false, false},
      {"ZKEXPLODELAYERS_CENTER_RESTS=1\nZKEXPLODELAYERS_CENTER_RESTS=0\n", false, true},
      {"ZKEXPLODELAYERS_CENTER_RESTS=1 1\n", false, false},
      {"ZKEXPLODELAYERS_CENTER_RESTS==1\n", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const auto options = Read(c.file);
    EXPECT_EQ(c.duplicate, options.first);
    EXPECT_EQ(c.center, options.second);
  }
}

TEST_F(UserOptions, MissingFileLeavesBothOff) {
  PKMusicRegion region(nullptr);
  PKExplodeLayerProcessor processor(&region);
  processor.LoadUserOptions();
  EXPECT_FALSE(processor.GetDuplicateUnisons());
  EXPECT_FALSE(processor.GetCenterRests());
}

TEST_F(UserOptions, PairsOfEitherFileInFileOrder) {
  folder.Write(kZKOptionsFileName, "a=1\nb = 2 \nc\n=3\nd==4");
  folder.Write(kZKPrefsFileName, "p=q\n");
  std::unique_ptr<PKSettingsPairs> options(LoadAllZKOptionsPairs(false));
  ASSERT_NE(nullptr, options);
  ASSERT_EQ(3, options->GetCount());
  const char* expected[][2] = {{"a", "1"}, {"b", "2"}, {"d", "=4"}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_STREQ(expected[i][0], options->GetPairAt(i)->GetKey()->GetCString());
    EXPECT_STREQ(expected[i][1], options->GetPairAt(i)->GetValue()->GetCString());
  }
  std::unique_ptr<PKSettingsPairs> prefs(LoadAllZKOptionsPairs(true));
  ASSERT_NE(nullptr, prefs);
  ASSERT_EQ(1, prefs->GetCount());
  EXPECT_STREQ("p", prefs->GetPairAt(0)->GetKey()->GetCString());
}

TEST_F(UserOptions, EmptyFileGivesAnEmptyCollectionAndMissingFileNull) {
  folder.Write(kZKOptionsFileName, "");
  std::unique_ptr<PKSettingsPairs> pairs(LoadAllZKOptionsPairs(false));
  ASSERT_NE(nullptr, pairs);
  EXPECT_EQ(0, pairs->GetCount());
  EXPECT_EQ(nullptr, LoadAllZKOptionsPairs(true));
}

// The folder code depends on the running host's version.
TEST(SettingsFolderCode, SevenBeforeVersion16AndFifteenFrom) {
  simhost::Host host;
  host.StandIn("HK_GetTonaroPath", simhost::probe::Service<std::int32_t, char*, std::uint32_t>());
  const simhost::probe::Received& received = simhost::probe::LastReceived();
  EXPECT_EQ(nullptr, LoadAllZKOptionsPairs(false));
  ASSERT_EQ(1u, received.calls);
  EXPECT_EQ(7u, received.slots.at(0));
  TonaroExtensionVersion(0x10000000u);
  EXPECT_EQ(nullptr, LoadAllZKOptionsPairs(false));
  ASSERT_EQ(2u, received.calls);
  EXPECT_EQ(15u, received.slots.at(0));
}

TEST(CaseInsensitiveKeys, CompareAsciiLettersOnly) {
  EXPECT_TRUE(ZKEqualIgnoringCase("Key_A", "kEY_a"));
  EXPECT_FALSE(ZKEqualIgnoringCase("Key", "Keys"));
  EXPECT_FALSE(ZKEqualIgnoringCase("Keys", "Key"));
  EXPECT_FALSE(ZKEqualIgnoringCase("[", "{"));  // not letters: no case
  EXPECT_TRUE(ZKEqualIgnoringCase("", ""));
}

}  // namespace
