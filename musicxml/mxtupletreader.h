// Groups the events of one voice of a measure into tuplets, from their
// time-modification and <tuplet> brackets, the way the host keeps them: one
// record per bracket level, with the events it spans and its own ratio.
#pragma once

#include <cstdint>
#include <vector>

#include "musicxml/mxmeasure.h"
#include "musicxml/mxresult.h"
#include "musicxml/mxscore.h"

namespace musicxml {

class MxTupletReader {
 public:
  explicit MxTupletReader(const MxScore& score) : _score(score) {}

  // Adds the tuplets of one voice to the measure; `stream` lists the voice's
  // events in time order. Fails when a note's time-modification does not
  // agree with the brackets around it.
  MxResult Group(MxMeasure* measure, const std::vector<std::int32_t>& stream);

 private:
  struct Open {
    std::int32_t number;   // the bracket's number attribute; 0 for a level without brackets
    std::int32_t tuplet;   // index into the measure's tuplets
  };

  MxResult OpenLevel(MxMeasure* measure, std::int32_t eventIndex, pugi::xml_node bracket, bool innermost);
  void CloseFrom(std::size_t level);
  bool ImplicitLevelIsFull(const MxMeasure& measure, const MxTuplet& tuplet) const;

  const MxScore& _score;
  std::vector<Open> _open;
};

}  // namespace musicxml
