#include "tests/musicxml/scoretext.h"

namespace testsupport {

std::string ScoreWith(const std::string& firstMeasure, const std::string& secondMeasure, int staves) {
  std::string text =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<score-partwise version=\"4.0\">\n"
      "  <part-list><score-part id=\"P1\"><part-name>Piano</part-name></score-part></part-list>\n"
      "  <part id=\"P1\">\n"
      "    <measure number=\"1\">\n"
      "      <attributes><divisions>4</divisions><key><fifths>0</fifths></key>"
      "<time><beats>4</beats><beat-type>4</beat-type></time>";
  if (staves > 1) text += "<staves>" + std::to_string(staves) + "</staves>";
  text += "<clef><sign>G</sign><line>2</line></clef>";
  if (staves > 1) text += "<clef number=\"2\"><sign>F</sign><line>4</line></clef>";
  text += "</attributes>\n" + firstMeasure + "\n    </measure>\n";
  if (!secondMeasure.empty()) text += "    <measure number=\"2\">\n" + secondMeasure + "\n    </measure>\n";
  return text + "  </part>\n</score-partwise>\n";
}

std::string Note(const std::string& pitch, int duration, const char* type, int voice, const std::string& extra,
                 int staff) {
  std::string text = "<note>";
  if (pitch == "rest") {
    text += "<rest/>";
  } else {
    const char step = pitch[0];
    int alter = 0;
    std::size_t i = 1;
    for (; i < pitch.size() && (pitch[i] == '#' || pitch[i] == 'b'); ++i) alter += pitch[i] == '#' ? 1 : -1;
    text += "<pitch><step>" + std::string(1, step) + "</step>";
    if (alter != 0) text += "<alter>" + std::to_string(alter) + "</alter>";
    text += "<octave>" + pitch.substr(i) + "</octave></pitch>";
  }
  text += "<duration>" + std::to_string(duration) + "</duration><voice>" + std::to_string(voice) + "</voice><type>" +
          type + "</type>";
  if (staff > 0) text += "<staff>" + std::to_string(staff) + "</staff>";
  return text + extra + "</note>";
}

}  // namespace testsupport
