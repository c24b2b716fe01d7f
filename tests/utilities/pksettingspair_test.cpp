#include "tonaroframework/utilities/pksettingspair.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/tempfolder.h"
#include "tonaroframework/utilities/pktextfilestream.h"

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs Contents(PKSettingsPairs& pairs) {
  Pairs contents;
  for (int i = 0; i < pairs.GetCount(); ++i) {
    PKSettingsPair* pair = pairs.GetPairAt(i);
    contents.emplace_back(pair->GetKey()->GetCString(), pair->GetValue()->GetCString());
  }
  return contents;
}

// Reads a settings file the way the options loader does: 8-bit lines from a
// stream whose default folder is the settings folder, then one pair per pair line.
std::unique_ptr<PKSettingsPairs> ReadSettings(const testsupport::TempFolder& folder, const char* name) {
  char settingsFolder[PKFileStream::kFolderBufferSize] = {};
  std::strncpy(settingsFolder, folder.Path().c_str(), sizeof settingsFolder - 1);
  PKTextFileStream stream;
  stream.SetDefaultFolder(settingsFolder);
  stream.GetFileName()->SetCString(name);
  if (!stream.OpenRead()) return nullptr;
  std::unique_ptr<PKStrings> lines(stream.ReadStrings());
  stream.Close();
  std::unique_ptr<PKSettingsPairs> pairs(new PKSettingsPairs);
  pairs->AddFromLines(lines.get());
  return pairs;
}

std::unique_ptr<PKSettingsPairs> ReadSettingsText(const std::string& content) {
  testsupport::TempFolder folder;
  folder.Write("zkpluginoptions.txt", content);
  return ReadSettings(folder, "zkpluginoptions.txt");
}

TEST(PKSettingsPair, AnswersTheNames) {
  PKSettingsPair pair;
  PKSettingsPairs pairs;
  EXPECT_STREQ(pair.ClassName(), "__PKBase");
  EXPECT_STREQ(pairs.ClassName(), "PKSettingsPairs");
}

TEST(PKSettingsPair, TurnsPairLinesIntoTrimmedPairs) {
  struct Case {
    const char* line;
    bool isPair;
    const char* key;
    const char* value;
  };
  const Case cases[] = {
      {"a=1", true, "a", "1"},
      {"b = 2 ", true, "b", "2"},
      {"c", false, "", ""},
      {"=3", false, "", ""},
      {"d==4", true, "d", "=4"},
      {" =5", true, "", "5"},  // a key that trims to nothing is still a pair
      {"e=", true, "e", ""},
      {"k = v = w", true, "k", "v = w"},
      {"\tkey\t=\tvalue\r", true, "key", "value"},
      {"#x=1", true, "#x", "1"},  // no comment syntax
      {"# a comment", false, "", ""},
      {"[section]", false, "", ""},
      {"", false, "", ""},
      {"=", false, "", ""},
      {"==", false, "", ""},
      {"\x0B k \x0C=1", true, "\x0B k \x0C", "1"},  // vertical tab and form feed are kept
  };
  for (const Case& c : cases) {
    PKString line;
    line.SetCString(c.line);
    std::unique_ptr<PKSettingsPair> pair(PKSettingsPair::CreateFromLine(&line));
    ASSERT_EQ(pair != nullptr, c.isPair) << '"' << c.line << '"';
    if (!pair) continue;
    EXPECT_STREQ(pair->GetKey()->GetCString(), c.key) << '"' << c.line << '"';
    EXPECT_STREQ(pair->GetValue()->GetCString(), c.value) << '"' << c.line << '"';
  }
  EXPECT_EQ(PKSettingsPair::CreateFromLine(nullptr), nullptr);
}

TEST(PKSettingsPairs, ReadsTheWellFormedLinesOfAFileInOrder) {
  static const char kBinaryBytes[] = "\x01\x02\xFF\x00garbage\nk=v\n\x80\x81=\x82\n";
  const std::string kBinary(kBinaryBytes, sizeof kBinaryBytes - 1);
  struct Case {
    const char* name;
    std::string content;
    Pairs pairs;
  };
  const Case cases[] = {
      {"five lines", "a=1\nb = 2 \nc\n=3\nd==4\n", {{"a", "1"}, {"b", "2"}, {"d", "=4"}}},
      {"no final line feed", "a=1\nlast=9", {{"a", "1"}, {"last", "9"}}},
      {"only equals signs", "=\n==\n=x\n", {}},
      {"carriage returns only", "a=1\rb=2\r", {{"a", "1"}, {"b", "2"}}},
      {"carriage return and line feed", "a=1\r\nb=2\r\n", {{"a", "1"}, {"b", "2"}}},
      {"repeated keys", "k=0\nk=1\n", {{"k", "0"}, {"k", "1"}}},
      {"empty key", " =v\n", {{"", "v"}}},
      {"empty file", "", {}},
      {"binary around a pair", kBinary,
       {{"k", "v"}, {"\x80\x81", "\x82"}}},
  };
  for (const Case& c : cases) {
    std::unique_ptr<PKSettingsPairs> pairs = ReadSettingsText(c.content);
    ASSERT_NE(pairs, nullptr) << c.name;
    EXPECT_EQ(Contents(*pairs), c.pairs) << c.name;
  }
}

TEST(PKSettingsPairs, ReadsAPairWithAOneMegabyteValue) {
  const std::string value(1 << 20, 'v');
  std::unique_ptr<PKSettingsPairs> pairs = ReadSettingsText("before=1\nbig=" + value + "\nafter=2");
  ASSERT_NE(pairs, nullptr);
  ASSERT_EQ(pairs->GetCount(), 3);
  EXPECT_EQ(pairs->GetPairAt(1)->GetValue()->GetLength(), 1 << 20);
  EXPECT_EQ(Contents(*pairs)[2], (std::pair<std::string, std::string>{"after", "2"}));
}

TEST(PKSettingsPairs, AMissingFileCannotBeOpened) {
  testsupport::TempFolder folder;
  EXPECT_EQ(ReadSettings(folder, "zkpluginoptions.txt"), nullptr);
}

TEST(PKSettingsPairs, WrittenPairsReadBackTheSame) {
  const Pairs written = {
      {"ZKEXPLODELAYERS_CENTER_RESTS", "1"}, {"a", "x=y"}, {"caf\xE9", "\xE9t\xE9"}, {"a", "again"}, {"empty", ""}};
  testsupport::TempFolder folder;
  {
    PKTextFileStream stream;
    stream.SetDefaultFolder(folder.Path().c_str());
    stream.GetFileName()->SetCString("zkpluginprefs.txt");
    ASSERT_TRUE(stream.OpenWrite());
    PKSettingsPairs pairs;
    for (const auto& p : written) pairs.Add(new PKSettingsPair(p.first.c_str(), p.second.c_str()));
    EXPECT_TRUE(stream.WriteSettingsPairs(&pairs));
  }
  std::unique_ptr<PKSettingsPairs> read = ReadSettings(folder, "zkpluginprefs.txt");
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(Contents(*read), written);
}

class CountedPair : public PKSettingsPair {
 public:
  explicit CountedPair(int* destroyed) : _destroyed(destroyed) {}
  ~CountedPair() override { ++*_destroyed; }

 private:
  int* _destroyed;
};

TEST(PKSettingsPairs, OwnsItsPairs) {
  int destroyed = 0;
  {
    PKSettingsPairs pairs;
    pairs.Add(new CountedPair(&destroyed));
    pairs.Add(new CountedPair(&destroyed));
    EXPECT_NE(pairs.GetPairAt(1), nullptr);
    EXPECT_EQ(pairs.GetPairAt(2), nullptr);
    EXPECT_EQ(pairs.GetPairAt(-1), nullptr);
  }
  EXPECT_EQ(destroyed, 2);
}

TEST(PKSettingsPairs, AddFromLinesAppendsAndCounts) {
  PKStrings lines;
  for (const char* text : {"a=1", "junk", "b=2"}) {
    PKString* line = new PKString;
    line->SetCString(text);
    lines.Add(line);
  }
  lines.Add(nullptr);
  PKSettingsPairs pairs;
  pairs.Add(new PKSettingsPair("first", "0"));
  EXPECT_EQ(pairs.AddFromLines(&lines), 2);
  EXPECT_EQ(pairs.AddFromLines(nullptr), 0);
  EXPECT_EQ(Contents(pairs), (Pairs{{"first", "0"}, {"a", "1"}, {"b", "2"}}));
}

}  // namespace
