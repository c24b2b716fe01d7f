// The normalised event list of a score: one line per thing the score holds
// (header element, measure, element at its position, event with its notes,
// tuplet), independent of how the document spells it (divisions, voice
// numbers, element order inside a note, backup and forward, indentation).
// Two scores hold the same music when their lists are equal.
#pragma once

#include <string>
#include <vector>

#include "musicxml/mxscore.h"

namespace musicxml {

class MxEventList {
 public:
  // Answers the list of a score.
  static std::vector<std::string> Of(const MxScore& score);

  // Answers "" when the lists are equal, else the first difference, both sides quoted.
  static std::string Compare(const std::vector<std::string>& expected, const std::vector<std::string>& actual);

  // Answers one line per note: part, measure, position, pitch, the staff it is
  // shown on, values, tie, grace, cue and tuplet ratio, but not its layer or
  // its voice's staff; sorted, so that scores whose notes moved between layers
  // compare equal.
  static std::vector<std::string> NotesWithoutLayers(const MxScore& score);

  // Answers the line of one event (without its place in the score).
  static std::string DescribeEvent(const MxEvent& event, bool withPreserved);
};

}  // namespace musicxml
