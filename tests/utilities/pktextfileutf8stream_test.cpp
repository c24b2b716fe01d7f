#include "tonaroframework/utilities/pktextfileutf8stream.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "tests/utilities/streamtestsupport.h"

namespace {

using streamtest::Units;
using streamtest::UnitsOf;

Units Ascii(const std::string& text) {
  Units units;
  for (char c : text) units.push_back(std::int16_t(c));
  return units;
}

class Utf8StreamTest : public streamtest::StreamFixture<PKTextFileUTF8Stream> {
 protected:
  // Every piece the stream answers, until it answers null.
  std::vector<Units> ReadPieces() {
    std::vector<Units> pieces;
    while (PKString* piece = stream.ReadString()) {
      pieces.push_back(UnitsOf(*piece));
      delete piece;
    }
    return pieces;
  }
};

TEST_F(Utf8StreamTest, ConvertsLinesAndKeepsTheirLineFeeds) {
  Open("h\xC3\xA9llo \xE2\x82\xAC\n\xF0\x9F\x98\x80" "end");
  const std::vector<Units> pieces = ReadPieces();
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[0], (Units{'h', 0x00E9, 'l', 'l', 'o', ' ', std::int16_t(0x20AC), '\n'}));
  EXPECT_EQ(pieces[1], (Units{std::int16_t(0xD83D), std::int16_t(0xDE00), 'e', 'n', 'd'}));
}

TEST_F(Utf8StreamTest, ALongLineArrivesInPiecesOf1023Bytes) {
  Open(std::string(3000, 'x') + "\n");
  const std::vector<Units> pieces = ReadPieces();
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_EQ(pieces[0], Ascii(std::string(1023, 'x')));
  EXPECT_EQ(pieces[1], Ascii(std::string(1023, 'x')));
  EXPECT_EQ(pieces[2], Ascii(std::string(954, 'x') + "\n"));
}

TEST_F(Utf8StreamTest, ACharacterAtThePieceLimitIsNotCut) {
  struct Case {
    std::string character;
    Units units;
  };
  const Case cases[] = {
      {"\xC3\xA9", {0x00E9}},
      {"\xE2\x82\xAC", {std::int16_t(0x20AC)}},
      {"\xF0\x9F\x98\x80", {std::int16_t(0xD83D), std::int16_t(0xDE00)}},
  };
  for (const Case& c : cases) {
    testsupport::TempFolder own;
    // The character's first byte is the last byte of the first piece.
    own.Write("f.txt", std::string(1022, 'x') + c.character + "yz\n");
    PKTextFileUTF8Stream reader;
    reader.SetDefaultFolder(own.Path().c_str());
    reader.GetFileName()->SetCString("f.txt");
    ASSERT_TRUE(reader.OpenRead());
    std::unique_ptr<PKString> first(reader.ReadString());
    std::unique_ptr<PKString> second(reader.ReadString());
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    Units expected = Ascii(std::string(1022, 'x'));
    expected.insert(expected.end(), c.units.begin(), c.units.end());
    EXPECT_EQ(UnitsOf(*first), expected) << c.character.size() << "-byte character";
    EXPECT_EQ(UnitsOf(*second), Ascii("yz\n"));
    EXPECT_EQ(reader.ReadString(), nullptr);
  }
}

TEST_F(Utf8StreamTest, InvalidUtf8GivesAnEmptyStringAndReadingGoesOn) {
  Open("ok\n\xFF\xFE bad\n\xC0\xAF overlong\nfine\nabc\xE2\x82");
  const std::vector<Units> pieces = ReadPieces();
  ASSERT_EQ(pieces.size(), 5u);
  EXPECT_EQ(pieces[0], Ascii("ok\n"));
  EXPECT_TRUE(pieces[1].empty());
  EXPECT_TRUE(pieces[2].empty());
  EXPECT_EQ(pieces[3], Ascii("fine\n"));
  EXPECT_TRUE(pieces[4].empty()) << "a character cut by the end of the file";
}

TEST_F(Utf8StreamTest, OnlyLineFeedsEndPieces) {
  Open("a\rb\r\nc");
  const std::vector<Units> pieces = ReadPieces();
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[0], Ascii("a\rb\r\n"));
  EXPECT_EQ(pieces[1], Ascii("c"));
}

TEST_F(Utf8StreamTest, ReadStringsReadsUtf8) {
  Open("\xC3\xA9\n\nz");
  std::unique_ptr<PKStrings> lines(stream.ReadStrings());
  ASSERT_NE(lines, nullptr);
  ASSERT_EQ(lines->GetCount(), 3);
  EXPECT_EQ(UnitsOf(*lines->GetItemAt(0)), (Units{0x00E9, '\n'}));
  EXPECT_EQ(UnitsOf(*lines->GetItemAt(1)), (Units{'\n'}));
  EXPECT_EQ(UnitsOf(*lines->GetItemAt(2)), (Units{'z'}));
}

TEST_F(Utf8StreamTest, SurvivesBinaryContent) {
  std::mt19937 random(1234);
  std::string bytes(20000, '\0');
  for (char& b : bytes) b = char(random() & 0xFF);
  Open(bytes);
  std::size_t total = 0;
  int pieces = 0;
  while (PKString* piece = stream.ReadString()) {
    total += std::size_t(piece->GetLength());
    ++pieces;
    EXPECT_LE(piece->GetLength(), PKTextFileUTF8Stream::kPieceBytes + 3);
    delete piece;
  }
  EXPECT_GT(pieces, 0);
  EXPECT_LE(total, bytes.size());
}

TEST_F(Utf8StreamTest, EmptyFileAndClosedStreamGiveNull) {
  EXPECT_EQ(stream.ReadString(), nullptr);
  Open("");
  EXPECT_EQ(stream.ReadString(), nullptr);
}

}  // namespace
