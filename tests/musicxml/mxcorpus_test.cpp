// Every corpus file is read (or refused with a reason), written back, and
// read again: the music it holds must be the same, and the output must
// validate against the schema wherever the input does.
#include <gtest/gtest.h>

#include <map>

#include "musicxml/mxeventlist.h"
#include "musicxml/mxreader.h"
#include "musicxml/mxwriter.h"
#include "tests/musicxml/corpus.h"
#include "tests/support/tempfolder.h"

namespace {

using musicxml::MxEventList;
using musicxml::MxReader;
using musicxml::MxResult;
using musicxml::MxScore;
using musicxml::MxWriter;

// Files the host cannot hold, with the reason the reader must give.
const std::map<std::string, std::string> kRefused = {};

// Reads, writes and reads again one file; answers the output's path, or "" after a failure.
std::string RoundTrip(const std::string& file, const std::string& folder) {
  MxScore score;
  const MxResult read = MxReader::ReadFile(file, &score);
  const auto refused = kRefused.find(testsupport::BaseName(file));
  if (refused != kRefused.end()) {
    EXPECT_FALSE(read) << file << " was expected to be refused";
    EXPECT_NE(std::string::npos, read.Message().find(refused->second)) << read.Message();
    return std::string();
  }
  if (!read) {
    ADD_FAILURE() << read.Message();
    return std::string();
  }
  const std::string output = folder + "/" + testsupport::BaseName(file) + ".out.musicxml";
  const MxResult written = MxWriter::WriteFile(score, output);
  if (!written) {
    ADD_FAILURE() << written.Message();
    return std::string();
  }
  MxScore again;
  const MxResult reread = MxReader::ReadFile(output, &again);
  if (!reread) {
    ADD_FAILURE() << reread.Message();
    return std::string();
  }
  EXPECT_EQ("", MxEventList::Compare(MxEventList::Of(score), MxEventList::Of(again))) << file;
  return output;
}

TEST(MxCorpus, EveryFileReadsAndRoundTripsUnchanged) {
  const std::vector<std::string> files = testsupport::CorpusFiles();
  ASSERT_GE(files.size(), 90u) << "corpus missing or incomplete at " << testsupport::CorpusDir();
  const testsupport::TempFolder temporary;
  const std::string& folder = temporary.Path();
  ASSERT_FALSE(folder.empty());
  std::vector<std::string> inputs;
  std::vector<std::string> outputs;
  for (const std::string& file : files) {
    const std::string output = RoundTrip(file, folder);
    if (output.empty()) continue;
    inputs.push_back(file);
    outputs.push_back(output);
  }
  std::string errors;
  const std::vector<bool> inputValid = testsupport::ValidateWithSchema(inputs, &errors);
  const std::vector<bool> outputValid = testsupport::ValidateWithSchema(outputs, &errors);
  std::size_t validInputs = 0;
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    validInputs += inputValid[i] ? 1 : 0;
    if (inputValid[i]) {
      EXPECT_TRUE(outputValid[i]) << outputs[i] << " does not validate:\n" << errors;
    }
  }
  EXPECT_GE(validInputs + 2, inputs.size()) << "xmllint did not run as expected:\n" << errors;
}

}  // namespace
