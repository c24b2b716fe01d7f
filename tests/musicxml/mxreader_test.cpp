// Reading scores: what the model holds of notes, time and voices, and the
// messages for input that cannot be read.
#include <gtest/gtest.h>

#include <fstream>

#include "musicxml/mxarchive.h"
#include "musicxml/mxreader.h"
#include "tests/musicxml/corpus.h"
#include "tests/musicxml/scoretext.h"
#include "tests/support/tempfolder.h"

namespace {

using musicxml::MxEvent;
using musicxml::MxFraction;
using musicxml::MxReader;
using musicxml::MxResult;
using musicxml::MxScore;
using musicxml::MxStatus;
using testsupport::Note;
using testsupport::ScoreWith;

MxScore Read(const std::string& text) {
  MxScore score;
  const MxResult result = MxReader::ReadMemory(text, "test.musicxml", &score);
  EXPECT_TRUE(result) << result.Message();
  return score;
}

struct BadInput {
  const char* name;
  std::string bytes;
  MxStatus status;
  std::int32_t line;  // 0: not checked
  const char* message;
};

TEST(MxReader, RefusesBadInputWithStatusPlaceAndReason) {
  const std::string good = ScoreWith(Note("C4", 16, "whole"));
  const std::string zeroDuration =
      "<score-partwise>\n<part id=\"P1\">\n<measure number=\"1\">\n<note><pitch><step>C</step><octave>4</octave>"
      "</pitch>\n<duration>0</duration></note></measure></part></score-partwise>";
  const std::string negativeDuration = ScoreWith("<note><pitch><step>C</step><octave>4</octave></pitch>\n\n"
                                                 "<duration>-4</duration><type>whole</type></note>");
  std::string noContainer;
  ASSERT_TRUE(musicxml::MxArchive::Build(good, "score.musicxml", &noContainer));
  for (std::size_t at = noContainer.find("container.xml"); at != std::string::npos;
       at = noContainer.find("container.xml", at))
    noContainer[at] = 'k';
  const BadInput cases[] = {
      {"truncated", good.substr(0, good.size() / 2), MxStatus::kNotXml, 0, "truncated"},
      {"not XML", "This is a letter, not a score.\n", MxStatus::kNotXml, 1, "not well-formed XML"},
      {"wrong root", "<?xml version=\"1.0\"?>\n<html><body/></html>", MxStatus::kWrongRoot, 2, "<html>"},
      {"timewise", "<score-timewise><part-list/></score-timewise>", MxStatus::kWrongRoot, 1, "timewise"},
      {"duration 0", zeroDuration, MxStatus::kBadValue, 5, "a duration of 0"},
      {"negative duration", negativeDuration, MxStatus::kBadValue, 9, "negative duration"},
      {"microtone", ScoreWith("<note><pitch><step>C</step><alter>0.5</alter><octave>4</octave></pitch>"
                              "<duration>16</duration><type>whole</type></note>"),
       MxStatus::kUnsupported, 0, "microtone"},
      {"zip without container", noContainer, MxStatus::kBadArchive, 0, "META-INF/container.xml"},
      {"zip that is broken", "PK\x03\x04 and then nothing of a zip", MxStatus::kNotZip, 0, "zip"},
      {"no parts", "<score-partwise><part-list/></score-partwise>", MxStatus::kBadValue, 1, "no <part>"},
  };
  for (const BadInput& bad : cases) {
    SCOPED_TRACE(bad.name);
    MxScore score;
    const MxResult result = MxReader::ReadMemory(bad.bytes, "bad.musicxml", &score);
    EXPECT_EQ(bad.status, result.status) << result.Message();
    EXPECT_EQ("bad.musicxml", result.file);
    if (bad.line != 0) {
      EXPECT_EQ(bad.line, result.line) << result.Message();
    }
    EXPECT_NE(std::string::npos, result.Message().find(bad.message)) << result.Message();
  }
}

TEST(MxReader, RefusesMissingFilesAndMxlFilesThatAreNotZipArchives) {
  MxScore score;
  MxResult result = MxReader::ReadFile("/nonexistent/folder/score.musicxml", &score);
  EXPECT_EQ(MxStatus::kFileNotFound, result.status);
  EXPECT_NE(std::string::npos, result.Message().find("/nonexistent/folder/score.musicxml")) << result.Message();

  const testsupport::TempFolder temporary;
  const std::string& folder = temporary.Path();
  const std::string path = folder + "/plain.mxl";
  std::ofstream(path) << ScoreWith(Note("C4", 16, "whole"));
  result = MxReader::ReadFile(path, &score);
  EXPECT_EQ(MxStatus::kNotZip, result.status);
  EXPECT_NE(std::string::npos, result.Message().find("not")) << result.Message();
}

TEST(MxReader, ResolvesBackupAndForwardIntoPositionsAndVoicesIntoLayers) {
  // Staff 1: voice 1 half notes, voice 2 starts after a forward; staff 2: voices 5 and 6,
  // and one note of voice 1 shown on staff 2 stays in voice 1's layer on staff 1.
  const std::string measure = Note("E5", 8, "half", 1, "", 1) + Note("D5", 4, "quarter", 1, "", 1) +
                              Note("C5", 4, "quarter", 1, "", 2) + "<backup><duration>16</duration></backup>" +
                              "<forward><duration>8</duration></forward>" + Note("G4", 8, "half", 2, "", 1) +
                              "<backup><duration>16</duration></backup>" + Note("C3", 16, "whole", 5, "", 2) +
                              "<backup><duration>16</duration></backup>" + Note("G2", 16, "whole", 6, "", 2);
  const MxScore score = Read(ScoreWith(measure, std::string(), 2));
  ASSERT_EQ(1u, score.parts.size());
  const auto& part = score.parts[0];
  EXPECT_EQ(2, part.staves);
  EXPECT_EQ((std::vector<std::int32_t>{1, 2}), part.layerVoices[0]);
  EXPECT_EQ((std::vector<std::int32_t>{5, 6}), part.layerVoices[1]);
  const auto& events = part.measures[0].events;
  ASSERT_EQ(6u, events.size());
  struct Expected {
    MxFraction position;
    std::int32_t staff, layer, shownOn;
  };
  const Expected expected[] = {{MxFraction(0), 1, 1, 1}, {MxFraction(2), 1, 1, 1}, {MxFraction(3), 1, 1, 2},
                               {MxFraction(2), 1, 2, 1}, {MxFraction(0), 2, 1, 2}, {MxFraction(0), 2, 2, 2}};
  for (std::size_t i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(expected[i].position, events[i].position);
    EXPECT_EQ(expected[i].staff, events[i].staff);
    EXPECT_EQ(expected[i].layer, events[i].layer);
    EXPECT_EQ(expected[i].shownOn, events[i].notes[0].displayStaff);
  }
  EXPECT_EQ('F', events[4].clef.sign);
  EXPECT_EQ(MxFraction(4), part.measures[0].duration);
}

TEST(MxReader, ReadsChordsTiesGraceCueAndPitches) {
  const std::string measure =
      "<note><grace slash=\"yes\"/><pitch><step>D</step><octave>5</octave></pitch><voice>1</voice>"
      "<type>eighth</type></note>" +
      Note("C4", 4, "quarter", 1, "<tie type=\"start\"/>") +
      "<note><chord/><pitch><step>E</step><alter>-1</alter><octave>4</octave></pitch><duration>4</duration>"
      "<voice>1</voice><type>quarter</type></note>"
      "<note><cue/><pitch><step>F</step><alter>1</alter><octave>4</octave></pitch><duration>6</duration>"
      "<voice>1</voice><type>quarter</type><dot/></note>" +
      Note("rest", 2, "eighth") + Note("C4", 4, "quarter", 1, "<tie type=\"stop\"/>");
  const MxScore score = Read(ScoreWith(measure));
  const auto& events = score.parts[0].measures[0].events;
  ASSERT_EQ(5u, events.size());
  EXPECT_TRUE(events[0].grace);
  EXPECT_EQ(MxFraction(0), events[0].duration);
  EXPECT_EQ(MxFraction(0), events[0].position);
  ASSERT_EQ(2u, events[1].notes.size());
  EXPECT_EQ(MxFraction(0), events[1].position);
  EXPECT_TRUE(events[1].notes[0].tieStart);
  EXPECT_EQ('E', events[1].notes[1].pitch.step);
  EXPECT_EQ(-1, events[1].notes[1].pitch.alter);
  EXPECT_TRUE(events[2].cue);
  EXPECT_EQ(1, events[2].value.dots);
  EXPECT_EQ(MxFraction(3, 2), events[2].duration);
  EXPECT_TRUE(events[3].rest);
  EXPECT_EQ(MxFraction(5, 2), events[3].position);
  EXPECT_TRUE(events[4].notes[0].tieStop);
  EXPECT_EQ(MxFraction(3), events[4].position);
}

TEST(MxReader, GroupsTupletsWithAndWithoutBrackets) {
  const std::string triplet = "<time-modification><actual-notes>3</actual-notes><normal-notes>2</normal-notes>"
                              "</time-modification>";
  // Two triplets of eighths without brackets, then one with brackets: three tuplets.
  std::string measure;
  for (int i = 0; i < 6; ++i) measure += Note("C5", 1, "eighth", 1, triplet);
  measure += Note("D5", 1, "eighth", 1, triplet + "<notations><tuplet type=\"start\"/></notations>");
  measure += Note("D5", 1, "eighth", 1, triplet);
  measure += Note("D5", 1, "eighth", 1, triplet + "<notations><tuplet type=\"stop\"/></notations>");
  measure += Note("E5", 3, "eighth", 1, "<dot/>") + Note("E5", 1, "16th");
  std::string text = ScoreWith(measure);
  text.replace(text.find("<divisions>4</divisions>"), 24, "<divisions>3</divisions>");
  const MxScore score = Read(text);
  const auto& tuplets = score.parts[0].measures[0].tuplets;
  ASSERT_EQ(3u, tuplets.size());
  const std::int32_t bounds[3][2] = {{0, 2}, {3, 5}, {6, 8}};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(bounds[i][0], tuplets[i].first);
    EXPECT_EQ(bounds[i][1], tuplets[i].last);
    EXPECT_EQ(3, tuplets[i].actual);
    EXPECT_EQ(2, tuplets[i].normal);
  }
}

TEST(MxReader, ReadsNestedTupletsOfTheCorpusAsTwoLevels) {
  MxScore score;
  const MxResult result = MxReader::ReadFile(testsupport::CorpusDir() + "/edge/23d-Tuplets-Nested.xml", &score);
  ASSERT_TRUE(result) << result.Message();
  const auto& tuplets = score.parts[0].measures[0].tuplets;
  ASSERT_GE(tuplets.size(), 2u);
  EXPECT_EQ(3, tuplets[0].actual);
  EXPECT_EQ(2, tuplets[0].normal);
  EXPECT_EQ("quarter", std::string(musicxml::NoteTypeName(tuplets[0].unit.type)));
  EXPECT_EQ(5, tuplets[1].actual);
  EXPECT_EQ(2, tuplets[1].normal);
  EXPECT_LT(tuplets[0].first, tuplets[1].first);
  EXPECT_GT(tuplets[0].last, tuplets[1].last);
}

TEST(MxReader, KeepsKeysPerStaffAndClefChangesInsideTheMeasure) {
  const std::string measure =
      "<attributes><key number=\"2\"><fifths>-2</fifths><mode>minor</mode></key></attributes>" +
      Note("C5", 8, "half", 1, "", 1) +
      "<attributes><clef><sign>C</sign><line>3</line></clef></attributes>" + Note("C4", 8, "half", 1, "", 1) +
      "<backup><duration>16</duration></backup>" + Note("C3", 16, "whole", 5, "", 2);
  const MxScore score = Read(ScoreWith(measure, Note("C5", 16, "whole", 1, "", 1), 2));
  const auto& first = score.parts[0].measures[0];
  EXPECT_EQ(0, first.keys[0].fifths);
  EXPECT_EQ(-2, first.keys[1].fifths);
  EXPECT_TRUE(first.keys[1].minor);
  EXPECT_EQ('G', first.events[0].clef.sign);
  EXPECT_EQ('C', first.events[1].clef.sign);
  EXPECT_EQ('F', first.events[2].clef.sign);
  EXPECT_EQ('C', score.parts[0].measures[1].clefs[0].sign);
  EXPECT_EQ('C', score.parts[0].measures[1].events[0].clef.sign);
}

TEST(MxReader, ReadsCompressedScoresThroughTheirContainer) {
  const std::string text = ScoreWith(Note("A4", 16, "whole"));
  std::string archive;
  ASSERT_TRUE(musicxml::MxArchive::Build(text, "inner/song.musicxml", &archive));
  const MxScore score = Read(archive);
  ASSERT_EQ(1u, score.parts.size());
  EXPECT_EQ('A', score.parts[0].measures[0].events[0].notes[0].pitch.step);
}

}  // namespace
