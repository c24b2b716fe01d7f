// Writing scores: atomic files, compressed output, and failures that leave nothing behind.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>

#include "musicxml/mxeventlist.h"
#include "musicxml/mxreader.h"
#include "musicxml/mxwriter.h"
#include "tests/musicxml/corpus.h"
#include "tests/musicxml/scoretext.h"
#include "tests/support/tempfolder.h"

namespace {

using musicxml::MxEventList;
using musicxml::MxReader;
using musicxml::MxResult;
using musicxml::MxScore;
using musicxml::MxStatus;
using musicxml::MxWriter;
using testsupport::Note;

MxScore ReadText(const std::string& text) {
  MxScore score;
  const MxResult result = MxReader::ReadMemory(text, "input.musicxml", &score);
  EXPECT_TRUE(result) << result.Message();
  return score;
}

TEST(MxWriter, FailsIntoAMissingFolderWithoutWritingAnything) {
  const MxScore score = ReadText(testsupport::ScoreWith(Note("C4", 16, "whole")));
  const testsupport::TempFolder temporary;
  const std::string& folder = temporary.Path();
  const std::string path = folder + "/missing/out.musicxml";
  const MxResult result = MxWriter::WriteFile(score, path);
  EXPECT_EQ(MxStatus::kWriteError, result.status);
  EXPECT_EQ(path, result.file);
  EXPECT_NE(std::string::npos, result.Message().find("No such file or directory")) << result.Message();
  EXPECT_TRUE(testsupport::FolderEntries(folder).empty());
}

TEST(MxWriter, ReplacesAnExistingFileWholeAndLeavesNoTemporaryFile) {
  const MxScore score = ReadText(testsupport::ScoreWith(Note("C4", 16, "whole")));
  const testsupport::TempFolder temporary;
  const std::string& folder = temporary.Path();
  const std::string path = folder + "/out.musicxml";
  std::ofstream(path) << "old content that is much longer than nothing";
  ASSERT_TRUE(MxWriter::WriteFile(score, path));
  EXPECT_EQ(std::vector<std::string>{"out.musicxml"}, testsupport::FolderEntries(folder));
  MxScore again;
  ASSERT_TRUE(MxReader::ReadFile(path, &again));
  EXPECT_EQ("", MxEventList::Compare(MxEventList::Of(score), MxEventList::Of(again)));
}

TEST(MxWriter, WritesCompressedScoresThatReadBackTheSame) {
  MxScore score;
  ASSERT_TRUE(MxReader::ReadFile(testsupport::CorpusDir() + "/edge/42a-MultiVoice-TwoVoicesOnStaff-Lyrics.xml", &score));
  const testsupport::TempFolder temporary;
  const std::string& folder = temporary.Path();
  const std::string path = folder + "/song.mxl";
  ASSERT_TRUE(MxWriter::WriteFile(score, path));
  const std::string bytes = testsupport::ReadWholeFile(path);
  ASSERT_GT(bytes.size(), 60u);
  EXPECT_EQ(0, bytes.compare(0, 2, "PK"));
  // The mimetype comes first and stored, as readers of the format look for it.
  EXPECT_EQ(0, bytes.compare(30, 8, "mimetype"));
  EXPECT_NE(std::string::npos, bytes.find("application/vnd.recordare.musicxml"));
  MxScore again;
  const MxResult result = MxReader::ReadFile(path, &again);
  ASSERT_TRUE(result) << result.Message();
  EXPECT_EQ("", MxEventList::Compare(MxEventList::Of(score), MxEventList::Of(again)));
}

TEST(MxWriter, WritesOneDivisionsValueForAPartWhoseDivisionsChange) {
  MxScore score;
  ASSERT_TRUE(MxReader::ReadFile(testsupport::CorpusDir() + "/edge/03c-Rhythm-DivisionChange.xml", &score));
  ASSERT_GE(score.parts[0].divisionsUsed.size(), 2u);
  std::string text;
  ASSERT_TRUE(MxWriter::WriteText(score, &text));
  MxScore again;
  ASSERT_TRUE(MxReader::ReadMemory(text, "out.musicxml", &again));
  const auto& used = again.parts[0].divisionsUsed;
  for (std::int32_t divisions : used) EXPECT_EQ(used.front(), divisions);
  EXPECT_EQ("", MxEventList::Compare(MxEventList::Of(score), MxEventList::Of(again)));
}

TEST(MxWriter, WritesVersionFourAndTheLayerVoiceNumbers) {
  // Staff 2 uses voice 2 in the input; its layer 1 is written as voice 5.
  const std::string measure = Note("C5", 16, "whole", 1, "", 1) + "<backup><duration>16</duration></backup>" +
                              Note("C3", 16, "whole", 2, "", 2);
  const MxScore score = ReadText(testsupport::ScoreWith(measure, std::string(), 2));
  std::string text;
  ASSERT_TRUE(MxWriter::WriteText(score, &text));
  EXPECT_NE(std::string::npos, text.find("<score-partwise version=\"4.0\">"));
  EXPECT_NE(std::string::npos, text.find("MusicXML 4.0 Partwise"));
  EXPECT_NE(std::string::npos, text.find("<voice>5</voice>"));
  EXPECT_EQ(std::string::npos, text.find("<voice>2</voice>"));
}

}  // namespace
