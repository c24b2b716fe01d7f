// Written pitches and the host's key-relative note records. A note record's
// displacement counts diatonic steps from the tonic of the key in effect, in
// the octave from middle C up (C major: C4 is 0, D4 1, B3 -1; G major: G4 is
// 0); its raise/lower is the alteration relative to the key signature (F#4 in
// C major: displacement 3, raise/lower +1; F#4 in G major: raise/lower 0).
//
// Key values are the host's 16-bit encoding: low byte the signed number of
// accidentals (positive sharps, negative flats), high byte the mode (0 major,
// 1 minor). Keys with bits 0xC000 or another mode are not standard: they are
// treated as C major here.
#pragma once

#include <cstdint>
#include <string>

#include "tonaropdk/exentry.h"

namespace simhost {

// A written pitch: step letter 'A'..'G' (upper case), alteration in semitones,
// octave (4: the octave from middle C up).
struct Pitch {
  char step = 'C';
  std::int16_t alter = 0;
  std::int16_t octave = 4;

  bool operator==(const Pitch& other) const {
    return step == other.step && alter == other.alter && octave == other.octave;
  }
  bool operator!=(const Pitch& other) const { return !(*this == other); }
};

// Answers the host's key value for a number of fifths (-7..7) and mode.
std::uint16_t MakeKeyValue(std::int32_t fifths, bool minor = false);

// Answers the diatonic steps from C up to the key's own tonic (A minor: 5);
// 0 for a key that is not standard.
std::int32_t KeyTonicSteps(std::uint16_t key);

// Answers the alteration (-1, 0, +1) that the key signature gives a step letter.
std::int32_t KeyAlterationOf(std::uint16_t key, char step);

// Answers the key-relative note record (displacement and raise/lower; ID and
// flags 0) of a written pitch in a key.
EXNOTE NoteFromPitch(const Pitch& pitch, std::uint16_t key);

// Answers the written pitch of a note record read in a key.
Pitch PitchFromNote(const EXNOTE& note, std::uint16_t key);

// Parses "C4", "F#4", "Bb3", "C##5", "Dbb2" (letter, accidentals '#'/'b', octave).
// Answers false for anything else and leaves `pitch` unchanged.
bool ParsePitch(const std::string& text, Pitch* pitch);

// Answers the text form of a pitch ("F#4"), as ParsePitch reads it.
std::string PitchText(const Pitch& pitch);

}  // namespace simhost
