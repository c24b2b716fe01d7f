// A small notation for building and reading the substitute host's score in
// tests, one layer of one staff in one measure per line:
//
//   simhost::ScoreBuilder score(host.document);
//   score.Staves(2).Measures(4);                       // 2 staves, 4 measures of 4/4, C major
//   score.Layer(1, 2, 1, "C4-E4-G4/4 r/4 {3:2 D4/8 E4 F#4} G4/2");
//   EXPECT_EQ(score.Describe(1, 2, 1), "C4-E4-G4/4 r/4 {3:2/8 D4/8 E4/8 F#4/8} G4/2");
//
// Layers are numbered as the user sees them: 1 is the first layer (host layer
// index 0). Tokens are separated by spaces:
//
// | token            | meaning                                                        |
// |------------------|----------------------------------------------------------------|
// | C4  F#4  Bb3     | a note: letter, accidentals (# or b, repeated), octave         |
// | C4-E4-G4         | a chord: notes joined by '-', in the order of the note records |
// | r                | a rest                                                         |
// | .../4  .../8.    | the value: 1 2 4 8 16 32 64 128, then one '.' per dot; without |
// |                  | it, the previous entry's value (a quarter at the start)        |
// | C4~              | the note is tied to the next one                               |
// | gD5/8            | 'g' in front: a grace note (takes no time)                     |
// | ...@s  ...@sat   | '@' then marks: s staccato, a accent, t tenuto, m marcato      |
// | {3:2  {3:2/8     | opens a tuplet: 3 in the time of 2 units of the value given,   |
// |                  | or of the next entry's value; '}' after an entry closes it     |
//
// Notes are spelled in the key of the measure (see pitch.h): displacement from
// the key's tonic, raise/lower relative to the signature. Entries get measure
// positions from the durations (tuplets scaled, grace notes taking no time),
// note IDs 1, 2, ... in chord order, the clef of the cell, and entry numbers.
// Rests are stored without note records.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "simhost/document.h"

namespace simhost {

class ScoreBuilder {
 public:
  explicit ScoreBuilder(Document& document) : _document(document) {}

  // Adds `count` staves (numbers 1, 2, ... as the document gives them).
  ScoreBuilder& Staves(std::int16_t count);
  // Adds `count` measures of the time signature and key.
  ScoreBuilder& Measures(std::int16_t count, TimeSignature time = TimeSignature(), std::uint16_t key = 0);

  // Replaces one layer's entries with the music of `notation`. Answers false,
  // storing nothing, for an unknown staff/measure/layer or a notation error
  // (LastError() tells which).
  bool Layer(std::int16_t staff, std::int16_t measure, std::int16_t userLayer, const std::string& notation);
  // Answers what went wrong in the last failed Layer call.
  const std::string& LastError() const { return _error; }

  // Answers a layer's stored entries in the notation above (durations always
  // written, tuplets with their unit); "" for an empty layer.
  std::string Describe(std::int16_t staff, std::int16_t measure, std::int16_t userLayer) const;
  // Answers the entry number of the index-th entry (from 0) of a layer; 0 when none.
  std::int32_t EntryNumber(std::int16_t staff, std::int16_t measure, std::int16_t userLayer,
                           std::int32_t index) const;
  // Answers the stored entries of a layer.
  const std::vector<EXENTRY>& Entries(std::int16_t staff, std::int16_t measure, std::int16_t userLayer) const;

 private:
  Document& _document;
  std::string _error;
};

// Answers the written duration of a value token ("4", "8.", "2..") or 0 when it is none.
std::int32_t DurationOfValue(const std::string& value);
// Answers the value token of a written duration ("8." for 768) or "" when it has none.
std::string ValueOfDuration(std::int32_t duration);

}  // namespace simhost
