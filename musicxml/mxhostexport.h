// Brings the substitute host's document back into the score it was imported
// from: every host-held field of every event (pitches, values, ties, grace
// notes, tuplets, layers) is taken from the host's entries; what the host does
// not hold comes from the MusicXML events the entries came from. Staves the
// command left alone keep their element order; in a changed staff the
// layers are written as voices one after the other, the other elements of
// the measure keeping their time positions, and the markings of a split chord
// (articulations, slurs, lyrics...) staying with layer 1.
#pragma once

#include "musicxml/mxhostbinding.h"
#include "musicxml/mxresult.h"
#include "musicxml/mxscore.h"
#include "simhost/document.h"

namespace musicxml {

class MxHostExport {
 public:
  // Rewrites the events of `score` (the score the binding was made from) from
  // the document; fails when the document no longer has the imported shape.
  static MxResult Export(const simhost::Document& document, const MxHostBinding& binding, MxScore* score);

  // Answers whether a staff's layers in a measure hold what the import stored.
  static bool IsUnchanged(const simhost::Document& document, const MxHostBinding& binding, std::int16_t staff,
                          std::int16_t measure);
};

}  // namespace musicxml
