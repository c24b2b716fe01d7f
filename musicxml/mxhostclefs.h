// MusicXML clefs as the substitute host's clef definitions: the host's own
// clefs by their fixed indices, any other clef as a further definition that
// places middle C where that clef does.
#pragma once

#include <cstdint>

#include "musicxml/mxevent.h"
#include "simhost/document.h"

namespace musicxml {

class MxHostClefs {
 public:
  // Answers the staff position (0 top line, -8 bottom line) of middle C under the clef.
  static std::int32_t MiddleCPosition(const MxClef& clef);

  // Answers the host's clef index for the clef; for a clef the host has no
  // definition of, adds one (from index kClefCount up) to the document's
  // records, or reuses an added one that places middle C alike.
  static std::int16_t IndexOf(const MxClef& clef, simhost::Document* document);
};

}  // namespace musicxml
