#include "tonaroframework/utilities/pktextfilestream.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tests/utilities/streamtestsupport.h"
#include "tonaroframework/utilities/pksettingspair.h"

namespace {

using streamtest::Units;
using streamtest::UnitsOf;

Units UnitsOf(const std::string& text) {
  Units units;
  for (unsigned char byte : text) units.push_back(std::int16_t(byte));
  return units;
}

class TextFileStreamTest : public streamtest::StreamFixture<PKTextFileStream> {
 protected:
  std::vector<Units> ReadAll() {
    std::unique_ptr<PKStrings> lines(stream.ReadStrings());
    std::vector<Units> all;
    if (lines == nullptr) return all;
    for (int i = 0; i < lines->GetCount(); ++i) all.push_back(UnitsOf(*lines->GetItemAt(i)));
    return all;
  }
  bool OpenForWriting() {
    stream.SetDefaultFolder(folder.Path().c_str());
    stream.GetFileName()->SetCString("out.txt");
    return stream.OpenWrite();
  }
};

TEST_F(TextFileStreamTest, SplitsLinesAtLineFeedsAndCarriageReturns) {
  struct Case {
    const char* content;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"a\nb\n", {"a", "b"}},
      {"a\nb", {"a", "b"}},  // no line feed at the end
      {"", {}},
      {"\n", {""}},
      {"\n\n", {"", ""}},
      {"a\r\nb\r\n", {"a", "", "b", ""}},  // a carriage return and a line feed end two lines
      {"a\rb\r", {"a", "b"}},              // carriage returns only
      {"one line", {"one line"}},
  };
  for (const Case& c : cases) {
    testsupport::TempFolder own;
    own.Write("f.txt", c.content);
    PKTextFileStream reader;
    reader.SetDefaultFolder(own.Path().c_str());
    reader.GetFileName()->SetCString("f.txt");
    ASSERT_TRUE(reader.OpenRead());
    std::vector<std::string> lines;
    while (PKString* line = reader.ReadString()) {
      lines.push_back(line->GetCString());
      delete line;
    }
    EXPECT_EQ(lines, c.lines) << '"' << c.content << '"';
    EXPECT_EQ(reader.ReadString(), nullptr);
  }
}

TEST_F(TextFileStreamTest, ReadsEveryByteAsOneCharacterOfItsValue) {
  std::string bytes;
  for (int b = 0; b < 256; ++b)
    if (b != '\n' && b != '\r') bytes.push_back(char(b));
  Open(bytes + "\n" + bytes);
  const std::vector<Units> lines = ReadAll();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], UnitsOf(bytes));
  EXPECT_EQ(lines[1], UnitsOf(bytes));
  EXPECT_EQ(lines[0][0xE9 - 2], 0xE9) << "not widened with a sign";
}

TEST_F(TextFileStreamTest, ReadsAOneMegabyteLine) {
  const std::string longLine(1 << 20, 'm');
  Open(longLine + "\nshort");
  std::unique_ptr<PKString> first(stream.ReadString());
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->GetLength(), 1 << 20);
  EXPECT_EQ(std::string(first->GetCString()), longLine);
  std::unique_ptr<PKString> second(stream.ReadString());
  ASSERT_NE(second, nullptr);
  EXPECT_STREQ(second->GetCString(), "short");
  EXPECT_EQ(stream.ReadString(), nullptr);
}

TEST_F(TextFileStreamTest, AnEmptyFileGivesAnEmptyList) {
  Open("");
  std::unique_ptr<PKStrings> lines(stream.ReadStrings());
  ASSERT_NE(lines, nullptr);
  EXPECT_EQ(lines->GetCount(), 0);
}

TEST_F(TextFileStreamTest, AClosedStreamReadsAndWritesNothing) {
  PKStrings strings;
  PKString text;
  PKSettingsPairs pairs;
  EXPECT_EQ(stream.ReadString(), nullptr);
  EXPECT_EQ(stream.ReadStrings(), nullptr);
  EXPECT_FALSE(stream.WriteStrings(&strings));
  EXPECT_FALSE(stream.WriteText(&text));
  EXPECT_FALSE(stream.WriteSettingsPairs(&pairs));
}

TEST_F(TextFileStreamTest, WritesStringsAsLinesAndTextAsItIs) {
  folder.Write("out.txt", "old content that must go");
  ASSERT_TRUE(OpenForWriting());
  PKStrings strings;
  for (const char* text : {"one", "", "caf\xE9"}) {
    PKString* s = new PKString;
    s->SetCString(text);
    strings.Add(s);
  }
  EXPECT_TRUE(stream.WriteStrings(&strings));
  PKString text;
  text.SetCString("tail");
  EXPECT_TRUE(stream.WriteText(&text));
  EXPECT_FALSE(stream.WriteText(nullptr));
  EXPECT_FALSE(stream.WriteStrings(nullptr));
  EXPECT_TRUE(stream.Close());
  EXPECT_EQ(folder.Read("out.txt"), "one\n\ncaf\xE9\ntail");
}

TEST_F(TextFileStreamTest, WritesSettingsPairsAsKeyEqualsValueLines) {
  ASSERT_TRUE(OpenForWriting());
  PKSettingsPairs pairs;
  pairs.Add(new PKSettingsPair("a", "1"));
  pairs.Add(new PKSettingsPair("key", "x=y"));
  pairs.Add(new PKSettingsPair("", ""));
  EXPECT_TRUE(stream.WriteSettingsPairs(&pairs));
  EXPECT_FALSE(stream.WriteSettingsPairs(nullptr));
  EXPECT_TRUE(stream.Close());
  EXPECT_EQ(folder.Read("out.txt"), "a=1\nkey=x=y\n=\n");
}

}  // namespace
