// Puts a score into the substitute host's document: staves in score order,
// measures with their time signatures and keys, clefs, and per staff, measure
// and layer the entries as the host stores them, with their tuplets.
#pragma once

#include <cstdint>

#include "musicxml/mxhostbinding.h"
#include "musicxml/mxresult.h"
#include "musicxml/mxscore.h"
#include "simhost/document.h"

namespace musicxml {

class MxHostImport {
 public:
  // Fills an empty document from the score, remembering in `binding` where
  // everything came from. Fails before changing the document when a staff
  // has more voices than `layers`; fails on the way (leaving a partly filled
  // document to be discarded) when something cannot be held: a tuplet the
  // host would end elsewhere, a value out of the host's range.
  static MxResult Import(const MxScore& score, std::int16_t layers, simhost::Document* document,
                         MxHostBinding* binding);

  // Answers the host's entry record of an event, its pitches spelled in the
  // measure's key; false (and why) when the host cannot hold the event.
  static MxResult EntryOf(const MxScore& score, const MxEvent& event, std::uint16_t key, std::int16_t clef,
                          EXENTRY* entry);

  // Answers the time signature the host gives a measure: the score's, or one
  // as long as the measure's content where that differs (pickups, free time).
  static simhost::TimeSignature HostTime(const MxScore& score, std::size_t measure);

 private:
  static MxResult CheckLayers(const MxScore& score, std::int16_t layers);
  static MxResult AddTuplets(const MxScore& score, const MxMeasure& measure, const std::vector<std::int32_t>& stream,
                             const simhost::LayerPlace& place, simhost::Document* document);
};

}  // namespace musicxml
