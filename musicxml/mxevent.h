// One event of a voice: a rest, a single note or a chord, with its place in
// time and its notated value; and the tuplets that group events.
#pragma once

#include <cstdint>
#include <vector>

#include "musicxml/mxfraction.h"
#include "musicxml/mxnote.h"
#include "musicxml/mxnotevalue.h"

namespace musicxml {

// <time-modification>: `actual` notes in the time of `normal` notes of `normalValue`.
struct MxTimeModification {
  bool present = false;
  std::int32_t actual = 1;
  std::int32_t normal = 1;
  MxNoteValue normalValue;  // <normal-type>/<normal-dot>; without type, the note's own value
};

// The clef in effect at an event: sign letter (G, F, C; 'P' percussion, 'T' TAB,
// 'J' jianpu, 'N' none), line, and octave change.
struct MxClef {
  char sign = 'G';
  std::int32_t line = 2;
  std::int32_t octaveChange = 0;

  bool operator==(const MxClef& other) const {
    return sign == other.sign && line == other.line && octaveChange == other.octaveChange;
  }
};

struct MxEvent {
  std::int32_t staff = 1;   // the staff it belongs to: its voice's home staff
  std::int32_t voice = 1;   // the <voice> number
  std::int32_t layer = 1;   // its layer on that staff, from 1 (rank of the voice among the staff's voices)
  MxFraction position;      // onset from the start of the measure, in quarters
  MxFraction duration;      // elapsed time in quarters; 0 for a grace note
  MxNoteValue value;        // notated value; no type for a rest written without one
  bool rest = false;
  bool grace = false;
  bool cue = false;
  MxTimeModification timeModification;
  MxClef clef;              // the clef in effect at the event on its staff
  std::vector<MxNote> notes;  // the chord in document order; a rest has exactly one

  // Answers the end of the event in the measure: position plus elapsed time.
  MxFraction End() const { return position + duration; }
};

// Events of one voice under one tuplet bracket: `actual` notes of `unit` in the
// time of `normal` of them. Nested tuplets are separate records, outer first.
struct MxTuplet {
  std::int32_t first = 0;  // index into the measure's events
  std::int32_t last = 0;   // index into the measure's events, inclusive
  std::int32_t actual = 1;
  std::int32_t normal = 1;
  MxNoteValue unit;
};

}  // namespace musicxml
