// Every corpus file goes into the substitute host's document and comes back
// out of it unchanged: what the host holds (pitches, values, ties, grace
// notes, tuplets, layers) comes from the host, the rest from the score.
#include <gtest/gtest.h>

#include <map>

#include "musicxml/mxeventlist.h"
#include "musicxml/mxhostexport.h"
#include "musicxml/mxhostimport.h"
#include "musicxml/mxreader.h"
#include "musicxml/mxwriter.h"
#include "tests/musicxml/corpus.h"

namespace {

using musicxml::MxEventList;
using musicxml::MxHostBinding;
using musicxml::MxHostExport;
using musicxml::MxHostImport;
using musicxml::MxReader;
using musicxml::MxResult;
using musicxml::MxScore;

// Files the host cannot hold, with the reason the import gives.
const std::map<std::string, std::string> kRefused = {};

TEST(MxHostRoundTrip, EveryCorpusFileComesBackFromTheHostUnchanged) {
  const std::vector<std::string> files = testsupport::CorpusFiles();
  ASSERT_GE(files.size(), 90u) << "corpus missing or incomplete at " << testsupport::CorpusDir();
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    MxScore score;
    const MxResult read = MxReader::ReadFile(file, &score);
    ASSERT_TRUE(read) << read.Message();
    const std::vector<std::string> before = MxEventList::Of(score);
    simhost::Document document;
    MxHostBinding binding;
    const MxResult imported = MxHostImport::Import(score, 4, &document, &binding);
    const auto refused = kRefused.find(testsupport::BaseName(file));
    if (refused != kRefused.end()) {
      EXPECT_FALSE(imported);
      EXPECT_NE(std::string::npos, imported.Message().find(refused->second)) << imported.Message();
      continue;
    }
    ASSERT_TRUE(imported) << imported.Message();
    const MxResult exported = MxHostExport::Export(document, binding, &score);
    ASSERT_TRUE(exported) << exported.Message();
    EXPECT_EQ("", MxEventList::Compare(before, MxEventList::Of(score)));
    std::string text;
    ASSERT_TRUE(musicxml::MxWriter::WriteText(score, &text));
    MxScore again;
    ASSERT_TRUE(MxReader::ReadMemory(text, "again.musicxml", &again));
    EXPECT_EQ("", MxEventList::Compare(before, MxEventList::Of(again)));
  }
}

}  // namespace
