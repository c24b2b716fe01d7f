// One <note> element of the in-memory score: a pitch of a chord, or a rest.
// The fields are what the host holds of a note; everything else of the
// element (accidentals shown, noteheads, notations, lyrics...) stays in the
// source element and is written back from it.
#pragma once

#include <cstdint>
#include <vector>

#include <pugixml.hpp>

namespace musicxml {

// A written pitch: step letter, chromatic alteration, octave (4: the octave from middle C up).
struct MxPitch {
  char step = 'C';
  std::int32_t alter = 0;
  std::int32_t octave = 4;

  // Answers the number of diatonic steps above C0: middle C is 28.
  std::int32_t DiatonicNumber() const;
  // Answers the pitch that lies `number` diatonic steps above C0, with that alteration.
  static MxPitch FromDiatonic(std::int32_t number, std::int32_t alter);

  bool operator==(const MxPitch& other) const {
    return step == other.step && alter == other.alter && octave == other.octave;
  }
  bool operator!=(const MxPitch& other) const { return !(*this == other); }
};

// Answers 0 for C up to 6 for B, or -1 for a character that is no step letter.
std::int32_t StepIndex(char step);

// The groups of a note element's children that the writer copies from a source element.
enum MxCopyGroup : std::uint32_t {
  kCopyPerNote = 0x1,   // belongs to this pitch: accidental, notehead, tied, fingering...
  kCopyRhythm = 0x2,    // belongs to the rhythm of the entry: beams, tuplet brackets
  kCopyStem = 0x4,      // the stem direction
  kCopyMarkings = 0x8,  // belongs to the chord as a whole: articulations, slurs, lyrics...
  kCopyAll = 0xF,
};

struct MxNote {
  MxPitch pitch;                 // the pitch; for unpitched notes and placed rests, the display position
  bool hasPitch = false;         // false for a rest at its default place
  bool unpitched = false;        // an <unpitched> note (shown at `pitch`)
  bool tieStart = false;         // <tie type="start">: tied to the next note
  bool tieStop = false;          // <tie type="stop">
  std::int32_t displayStaff = 1; // <staff>: the staff the note is shown on
  std::int32_t line = 0;         // line of the element in the file read, 0 for a made note

  pugi::xml_node source;         // the element its other children come from, or none
  std::uint32_t copyGroups = kCopyAll;     // which groups of `source` are written
  pugi::xml_node rhythmSource;   // when set, the rhythm group comes from this element instead
  std::vector<pugi::xml_node> borrowedMarkings;  // markings of other notes written with this one
};

}  // namespace musicxml
