// Exploding every staff of every corpus file with the tool keeps every note
// (pitch, values, tie, grace, tuplet, at its place), leaves the markings the
// command does not carry on layer 1, and writes output that validates
// wherever the input does.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstring>
#include <map>

#include "musicxml/mxeventlist.h"
#include "musicxml/mxreader.h"
#include "tests/musicxml/corpus.h"
#include "tests/support/tempfolder.h"

namespace {

using musicxml::MxEventList;
using musicxml::MxScore;

// Files the host cannot hold, with the reason the tool gives.
const std::map<std::string, std::string> kRefused = {};

int RunTool(const std::string& input, const std::string& output, std::string* errors) {
  const std::string log = output + ".log";
  const std::string command = std::string(ZK_TOOL) + " '" + input + "' -o '" + output + "' 2> '" + log + "'";
  const int status = std::system(command.c_str());
  *errors = testsupport::ReadWholeFile(log);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Counts articulations and slurs per note layer: [0] on layer 1, [1] on other layers.
void CountMarkings(const MxScore& score, std::size_t counts[2]) {
  for (const auto& part : score.parts)
    for (const auto& measure : part.measures)
      for (const auto& event : measure.events)
        for (const auto& note : event.notes)
          for (pugi::xml_node notations : note.source.children("notations"))
            for (pugi::xml_node child : notations.children()) {
              if (std::strcmp(child.name(), "slur") != 0 && std::strcmp(child.name(), "articulations") != 0) continue;
              // A rest made from a note carries none of them; a note that left its chord neither.
              if (event.rest) continue;
              ++counts[event.layer == 1 ? 0 : 1];
            }
}

TEST(ExplodeCorpus, ExplodingEveryStaffKeepsEveryNote) {
  const std::vector<std::string> files = testsupport::CorpusFiles();
  ASSERT_GE(files.size(), 90u) << "corpus missing or incomplete at " << testsupport::CorpusDir();
  const testsupport::TempFolder temporary;
  const std::string& folder = temporary.Path();
  std::vector<std::string> inputs;
  std::vector<std::string> outputs;
  std::size_t exploded = 0;
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    const std::string output = folder + "/" + testsupport::BaseName(file) + ".exploded.musicxml";
    std::string errors;
    const int status = RunTool(file, output, &errors);
    const auto refused = kRefused.find(testsupport::BaseName(file));
    if (refused != kRefused.end()) {
      EXPECT_EQ(1, status);
      EXPECT_NE(std::string::npos, errors.find(refused->second)) << errors;
      continue;
    }
    ASSERT_EQ(0, status) << errors;
    MxScore before;
    MxScore after;
    ASSERT_TRUE(musicxml::MxReader::ReadFile(file, &before));
    const musicxml::MxResult read = musicxml::MxReader::ReadFile(output, &after);
    ASSERT_TRUE(read) << read.Message();
    EXPECT_EQ("", MxEventList::Compare(MxEventList::NotesWithoutLayers(before), MxEventList::NotesWithoutLayers(after)));
    std::size_t markingsBefore[2] = {0, 0};
    std::size_t markingsAfter[2] = {0, 0};
    CountMarkings(before, markingsBefore);
    CountMarkings(after, markingsAfter);
    // Markings of layer 1 stay on layer 1, none is lost or copied; other layers keep theirs.
    EXPECT_EQ(markingsBefore[0], markingsAfter[0]);
    EXPECT_EQ(markingsBefore[1], markingsAfter[1]);
    if (MxEventList::Of(before) != MxEventList::Of(after)) ++exploded;
    inputs.push_back(file);
    outputs.push_back(output);
  }
  EXPECT_GE(exploded, 40u) << "the command changed few files: is it running?";
  std::string errors;
  const std::vector<bool> inputValid = testsupport::ValidateWithSchema(inputs, &errors);
  const std::vector<bool> outputValid = testsupport::ValidateWithSchema(outputs, &errors);
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    if (inputValid[i]) {
      EXPECT_TRUE(outputValid[i]) << outputs[i] << " does not validate:\n" << errors;
    }
  }
}

}  // namespace
