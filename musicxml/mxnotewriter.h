// Writes the <note> elements of one event: what the host holds comes from
// the event, everything else from the notes' source elements, in the order
// the schema gives.
#pragma once

#include <cstdint>
#include <vector>

#include <pugixml.hpp>

#include "musicxml/mxevent.h"

namespace musicxml {

// What a child element of <note> (or of <notations>) is to the writer.
enum class MxNoteChildRole {
  kHost,      // written from the event's fields
  kPerNote,   // copied with its note
  kRhythm,    // copied into every entry of the same rhythm
  kStem,      // copied where the stem is kept
  kMarkings,  // copied with the chord's markings (layer 1 after an explode)
};

// Answers the role of a child of <note>, or of <notations> when `inNotations`.
MxNoteChildRole NoteChildRole(const char* name, bool inNotations);

// Answers whether the schema names this child of <note>; the writer puts the others last.
bool IsKnownNoteChild(const char* name);

// Answers the element children of a <note> in the order the writer writes
// them: the schema's order (document order among equal names), unknown ones last.
std::vector<pugi::xml_node> OrderedNoteChildren(pugi::xml_node note);

class MxNoteWriter {
 public:
  // How the writer numbers and places what it writes.
  struct Context {
    std::int64_t divisions = 1;   // divisions per quarter of the output
    std::int32_t voice = 1;       // the <voice> to write
    bool writeStaff = false;      // whether <staff> is written (parts of several staves)
  };

  // Appends the event's notes (the chord in order) to `measure`; false when a
  // duration is not a whole number of the output's divisions.
  static bool WriteEvent(const MxEvent& event, const Context& context, pugi::xml_node measure);

 private:
  static void WriteNote(const MxEvent& event, const MxNote& note, bool chord, const Context& context,
                        std::int64_t duration, pugi::xml_node out);
};

}  // namespace musicxml
