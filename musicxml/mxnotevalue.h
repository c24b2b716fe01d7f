// Note values: the names of MusicXML's <type>, their length, and the host's
// duration of a value with dots (1024 host units to the quarter note).
#pragma once

#include <cstdint>

#include "musicxml/mxfraction.h"

namespace musicxml {

// A notated value: a type with dots, or none when the score gives no type.
struct MxNoteValue {
  std::int32_t type = -1;  // index into the value table (0: "1024th" ... 13: "maxima"), -1: none
  std::int32_t dots = 0;

  bool HasType() const { return type >= 0; }
  bool operator==(const MxNoteValue& other) const { return type == other.type && dots == other.dots; }
  bool operator!=(const MxNoteValue& other) const { return !(*this == other); }
};

// Host time units in a quarter note.
constexpr std::int32_t kHostUnitsPerQuarter = 1024;

// Answers the table index of a <type> name, or -1 when the name is unknown.
std::int32_t NoteTypeFromName(const char* name);

// Answers the <type> name of a table index, or null for an index outside the table.
const char* NoteTypeName(std::int32_t type);

// Answers the length of a value in quarter notes (0 for a value without type).
MxFraction NoteValueLength(const MxNoteValue& value);

// Answers the host's duration of a value, or 0 when the host cannot hold it
// (no type, longer than a breve, longer than 16 bits hold, or dots finer than the host's units).
std::int32_t HostDurationOf(const MxNoteValue& value);

// Answers the value (with at most eight dots) whose length is exactly `length`
// quarters, or a value without type when there is none.
MxNoteValue NoteValueOfLength(const MxFraction& length);

}  // namespace musicxml
