// Arranges the events of a part once all its measures are read: each voice
// gets its home staff (where most of its notes are shown) and its layer on
// that staff (the lowest voice number is layer 1), each event the clef in
// effect, and each voice its tuplets.
#pragma once

#include <vector>

#include "musicxml/mxmeasurereader.h"
#include "musicxml/mxresult.h"
#include "musicxml/mxscore.h"

namespace musicxml {

class MxPartLayout {
 public:
  // Arranges the part; `clefChanges` holds, per measure, the clefs met inside
  // it. Fails when a voice overlaps itself or its tuplets cannot be grouped.
  static MxResult Arrange(const MxScore& score, MxPart* part,
                          const std::vector<std::vector<MxClefChange>>& clefChanges);

  // Answers, per layer of a staff, the indices of the measure's events in time order.
  static std::vector<std::vector<std::int32_t>> LayerStreams(const MxMeasure& measure, std::int32_t staff);
};

}  // namespace musicxml
