// The normalised event list sees every change of what a score holds, and
// none of how it is spelled.
#include <gtest/gtest.h>

#include <cstring>

#include "musicxml/mxeventlist.h"
#include "musicxml/mxreader.h"
#include "tests/musicxml/scoretext.h"

namespace {

using musicxml::MxEventList;
using musicxml::MxReader;
using musicxml::MxScore;
using testsupport::Note;

std::vector<std::string> ListOf(const std::string& text) {
  MxScore score;
  const musicxml::MxResult result = MxReader::ReadMemory(text, "list.musicxml", &score);
  EXPECT_TRUE(result) << result.Message();
  return MxEventList::Of(score);
}

const std::string kMeasure =
    "<direction><direction-type><dynamics><p/></dynamics></direction-type></direction>" +
    Note("C4", 4, "quarter", 1, "<tie type=\"start\"/><lyric><text>la</text></lyric>") +
    Note("C4", 4, "quarter", 1, "<tie type=\"stop\"/><notations><articulations><staccato/></articulations></notations>") +
    Note("E4", 8, "half", 1);

struct Change {
  const char* name;
  const char* from;
  const char* to;
};

TEST(MxEventList, NoticesEveryChangeOfContent) {
  const std::string original = testsupport::ScoreWith(kMeasure);
  const Change changes[] = {
      {"pitch", "<step>E</step>", "<step>F</step>"},
      {"alteration", "<step>E</step>", "<step>E</step><alter>-1</alter>"},
      {"notated value", "<type>half</type>", "<type>half</type><dot/>"},
      {"elapsed duration", "<duration>8</duration>", "<duration>6</duration>"},
      {"voice", "<voice>1</voice><type>half</type>", "<voice>2</voice><type>half</type>"},
      {"tie", "<tie type=\"start\"/>", ""},
      {"lyric", "<text>la</text>", "<text>lo</text>"},
      {"articulation", "<staccato/>", "<accent/>"},
      {"direction", "<p/>", "<f/>"},
      {"direction position", "<direction>", "<forward><duration>4</duration></forward><direction>"},
      {"grace", "<note><pitch><step>E", "<note><grace/><pitch><step>E"},
      {"measure attribute", "<measure number=\"1\">", "<measure number=\"1\" implicit=\"yes\">"},
  };
  const std::vector<std::string> before = ListOf(original);
  for (const Change& change : changes) {
    SCOPED_TRACE(change.name);
    std::string changed = original;
    const std::size_t at = changed.find(change.from);
    ASSERT_NE(std::string::npos, at);
    changed.replace(at, std::strlen(change.from), change.to);
    EXPECT_NE("", MxEventList::Compare(before, ListOf(changed)));
  }
}

TEST(MxEventList, IgnoresSpelling) {
  const std::string original = testsupport::ScoreWith(kMeasure);
  std::string spelled = original;
  // Twice the divisions, attributes in another order, and a backup/forward pair that cancels out.
  spelled.replace(spelled.find("<divisions>4</divisions>"), 24, "<divisions>8</divisions>");
  for (std::size_t at = spelled.find("<duration>"); at != std::string::npos; at = spelled.find("<duration>", at + 1)) {
    const std::size_t end = spelled.find("</duration>", at);
    const int value = std::stoi(spelled.substr(at + 10, end - at - 10));
    spelled.replace(at + 10, end - at - 10, std::to_string(value * 2));
  }
  spelled.replace(spelled.find("<tie type=\"start\"/>"), 19, "<tie type=\"start\"  />");
  spelled.replace(spelled.find("<direction>"), 11,
                  "<forward><duration>4</duration></forward><backup><duration>4</duration></backup><direction>");
  EXPECT_EQ("", MxEventList::Compare(ListOf(original), ListOf(spelled)));
}

}  // namespace
