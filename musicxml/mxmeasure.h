// One measure of one part: its events, tuplets and the other elements it
// holds, each at its time position, and the attributes in effect at its start.
#pragma once

#include <cstdint>
#include <vector>

#include <pugixml.hpp>

#include "musicxml/mxevent.h"
#include "musicxml/mxfraction.h"

namespace musicxml {

// A key: fifths (positive sharps, negative flats) and whether it is minor.
// A key without <fifths> (given by steps and alterations) counts as C major.
struct MxKey {
  std::int32_t fifths = 0;
  bool minor = false;

  bool operator==(const MxKey& other) const { return fifths == other.fifths && minor == other.minor; }
};

// A time signature as the host stores it: beats of one beat type (4: quarter).
struct MxTime {
  std::int32_t beats = 4;
  std::int32_t beatType = 4;
  bool present = false;  // false: no time signature (senza misura or none given)
};

// One child of a measure in document order: an event, or another element kept as it was read.
struct MxItem {
  enum class Kind { kEvent, kElement };
  Kind kind = Kind::kElement;
  std::int32_t event = -1;    // index into the measure's events, for kEvent
  pugi::xml_node element;     // the element, for kElement
  MxFraction position;        // where it stands in the measure
  std::int32_t divisions = 1; // divisions in effect where it was read (its offsets count in them)
};

struct MxMeasure {
  pugi::xml_node source;          // the <measure> element, whose attributes are written back
  std::vector<MxEvent> events;    // in document order
  std::vector<MxTuplet> tuplets;
  std::vector<MxItem> items;      // in document order
  MxFraction duration;            // the furthest position any child reaches
  MxTime time;                    // the time signature in effect
  std::vector<MxKey> keys;        // key in effect at the start, per staff (index 0: staff 1)
  std::vector<MxClef> clefs;      // clef in effect at the start, per staff
};

}  // namespace musicxml
