#include "tools/demoscore.h"

#include <vector>

namespace tools {
namespace {

// Divisions per quarter: triplet eighths are 4 of them.
constexpr int kDivisions = 6;

struct Value {
  const char* type;
  int duration;  // in divisions
  bool dotted;
};
const Value kHalf{"half", 12, false};
const Value kQuarter{"quarter", 6, false};
const Value kDottedHalf{"half", 18, true};
const Value kTripletEighth{"eighth", 2, false};
const Value kEighth{"eighth", 3, false};

// One <note> per pitch of the chord ("rest" for a rest); `extra` goes into the first note.
std::string Chord(const std::vector<std::string>& pitches, const Value& value, int voice, int staff,
                  const std::string& extra = std::string(), const std::string& flags = std::string()) {
  std::string text;
  for (std::size_t i = 0; i < pitches.size(); ++i) {
    const std::string& pitch = pitches[i];
    text += "<note>";
    if (flags.find('g') != std::string::npos) text += "<grace/>";
    if (i > 0) text += "<chord/>";
    if (pitch == "rest") {
      text += "<rest/>";
    } else {
      int alter = 0;
      std::size_t at = 1;
      for (; pitch[at] == '#' || pitch[at] == 'b'; ++at) alter += pitch[at] == '#' ? 1 : -1;
      text += "<pitch><step>" + pitch.substr(0, 1) + "</step>";
      if (alter != 0) text += "<alter>" + std::to_string(alter) + "</alter>";
      text += "<octave>" + pitch.substr(at) + "</octave></pitch>";
    }
    if (flags.find('g') == std::string::npos) text += "<duration>" + std::to_string(value.duration) + "</duration>";
    if (flags.find('t') != std::string::npos) text += "<tie type=\"start\"/>";
    if (flags.find('s') != std::string::npos) text += "<tie type=\"stop\"/>";
    text += "<voice>" + std::to_string(voice) + "</voice><type>" + value.type + "</type>";
    if (value.dotted) text += "<dot/>";
    if (value.duration == kTripletEighth.duration && flags.find('g') == std::string::npos)
      text += "<time-modification><actual-notes>3</actual-notes><normal-notes>2</normal-notes></time-modification>";
    text += "<staff>" + std::to_string(staff) + "</staff>";
    if (i == 0) text += extra;
    text += "</note>";
  }
  return text;
}

std::string Backup(int duration) { return "<backup><duration>" + std::to_string(duration) + "</duration></backup>"; }

std::string Attributes(int staves, const std::string& clefs) {
  return "<attributes><divisions>" + std::to_string(kDivisions) +
         "</divisions><key><fifths>1</fifths><mode>major</mode></key><time><beats>4</beats><beat-type>4</beat-type>"
         "</time>" +
         (staves > 1 ? "<staves>" + std::to_string(staves) + "</staves>" : std::string()) + clefs + "</attributes>";
}

const char kTreble[] = "<clef number=\"1\"><sign>G</sign><line>2</line></clef>";
const char kBass[] = "<clef number=\"2\"><sign>F</sign><line>4</line></clef>";

std::string Part(const std::string& id, const std::vector<std::string>& measures) {
  std::string text = "<part id=\"" + id + "\">";
  for (std::size_t m = 0; m < measures.size(); ++m)
    text += "<measure number=\"" + std::to_string(m + 1) + "\">" + measures[m] + "</measure>";
  return text + "</part>";
}

}  // namespace

std::string DemoScore() {
  const std::string staccato = "<notations><articulations><staccato/></articulations></notations>";
  const std::string slurStart = "<notations><slur number=\"1\" type=\"start\"/></notations>";
  const std::string slurStop = "<notations><slur number=\"1\" type=\"stop\"/></notations>";
  const std::string tupletStart = "<notations><tuplet type=\"start\" bracket=\"yes\"/></notations>";
  const std::string tupletStop = "<notations><tuplet type=\"stop\"/></notations>";
  const std::string words = "<direction placement=\"above\"><direction-type><words>Choral</words></direction-type>"
                            "<staff>1</staff></direction>";
  const std::string dynamics = "<direction placement=\"below\"><direction-type><dynamics><p/></dynamics>"
                               "</direction-type><staff>1</staff></direction>";
  // Choir, upper staff: chords of four, three and two notes, a single note, a rest,
  // a slur and a staccato over chords, a tie, a grace chord, a triplet of chords.
  // Lower staff: two-note chords.
  const std::vector<std::string> choir = {
      Attributes(2, std::string(kTreble) + kBass) + words +
          Chord({"D5", "B4", "G4", "D4"}, kQuarter, 1, 1, slurStart) + Chord({"C5", "A4", "E4"}, kQuarter, 1, 1) +
          Chord({"B4", "G4"}, kQuarter, 1, 1, slurStop) + Chord({"A4"}, kQuarter, 1, 1) + Backup(24) +
          Chord({"B3", "G2"}, kHalf, 5, 2) + Chord({"D3", "D2"}, kHalf, 5, 2),
      dynamics + Chord({"rest"}, kQuarter, 1, 1) + Chord({"E5", "C5", "G4"}, kQuarter, 1, 1, staccato) +
          Chord({"D5", "B4"}, kHalf, 1, 1, std::string(), "t") + Backup(24) + Chord({"C4", "A2"}, kHalf, 5, 2) +
          Chord({"G3", "B2"}, kHalf, 5, 2),
      Chord({"D5", "B4"}, kQuarter, 1, 1, std::string(), "s") + Chord({"B4", "G4"}, kEighth, 1, 1, std::string(), "g") +
          Chord({"C5", "A4", "F#4"}, kQuarter, 1, 1) +
          Chord({"B4", "G4"}, kTripletEighth, 1, 1, tupletStart) + Chord({"A4", "F#4"}, kTripletEighth, 1, 1) +
          Chord({"G4", "E4"}, kTripletEighth, 1, 1, tupletStop) + Chord({"A4", "F#4", "D4"}, kQuarter, 1, 1) +
          Backup(24) + Chord({"D3", "B2"}, kHalf, 5, 2) + Chord({"D3", "D2"}, kHalf, 5, 2),
      Chord({"G4", "D4", "B3"}, kDottedHalf, 1, 1) + Chord({"rest"}, kQuarter, 1, 1) + Backup(24) +
          Chord({"G3", "G2"}, kDottedHalf, 5, 2) + Chord({"rest"}, kQuarter, 5, 2),
  };
  // Organ: single notes only (largest chord of one note): left alone.
  const std::vector<std::string> organ = {
      Attributes(1, "<clef><sign>F</sign><line>4</line></clef>") + Chord({"G2"}, {"whole", 24, false}, 1, 1),
      Chord({"A2"}, kHalf, 1, 1) + Chord({"B2"}, kHalf, 1, 1),
      Chord({"D2"}, {"whole", 24, false}, 1, 1),
      Chord({"G2"}, kDottedHalf, 1, 1) + Chord({"rest"}, kQuarter, 1, 1),
  };
  // Strings: chords in layer 1 but also music in layer 2: left alone.
  const std::vector<std::string> strings = {
      Attributes(1, "<clef><sign>G</sign><line>2</line></clef>") + Chord({"B4", "G4"}, kHalf, 1, 1) +
          Chord({"A4", "F#4"}, kHalf, 1, 1) + Backup(24) + Chord({"D4"}, {"whole", 24, false}, 2, 1),
      Chord({"G4", "E4"}, {"whole", 24, false}, 1, 1) + Backup(24) + Chord({"C4"}, {"whole", 24, false}, 2, 1),
      Chord({"A4", "F#4"}, {"whole", 24, false}, 1, 1) + Backup(24) + Chord({"D4"}, {"whole", 24, false}, 2, 1),
      Chord({"G4", "D4"}, kDottedHalf, 1, 1) + Chord({"rest"}, kQuarter, 1, 1) + Backup(24) +
          Chord({"B3"}, kDottedHalf, 2, 1) + Chord({"rest"}, kQuarter, 2, 1),
  };
  // Harp: a chord of five notes: more than four layers would need, left alone.
  const std::vector<std::string> harp = {
      Attributes(1, "<clef><sign>G</sign><line>2</line></clef>") +
          Chord({"D5", "B4", "G4", "D4", "G3"}, {"whole", 24, false}, 1, 1),
      Chord({"C5", "A4"}, {"whole", 24, false}, 1, 1),
      Chord({"A4", "F#4"}, {"whole", 24, false}, 1, 1),
      Chord({"G4", "D4"}, kDottedHalf, 1, 1) + Chord({"rest"}, kQuarter, 1, 1),
  };
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<score-partwise version=\"4.0\"><work><work-title>Explode Layers: a chorale</work-title></work>"
         "<part-list>"
         "<score-part id=\"P1\"><part-name>Choir</part-name></score-part>"
         "<score-part id=\"P2\"><part-name>Organ</part-name></score-part>"
         "<score-part id=\"P3\"><part-name>Strings</part-name></score-part>"
         "<score-part id=\"P4\"><part-name>Harp</part-name></score-part>"
         "</part-list>" +
         Part("P1", choir) + Part("P2", organ) + Part("P3", strings) + Part("P4", harp) + "</score-partwise>\n";
}

}  // namespace tools
