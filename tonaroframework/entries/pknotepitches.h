// Detached copies of notes (pitch only) and a collection of them, used to
// carry pitches from one entry to another.
#pragma once

#include "tonaroframework/entries/pknote.h"
#include "tonaroframework/foundation/pkcollection.h"

class PKNoteEntry;

class PKNotePitch : public PKNote {
 public:
  // Makes a copy of the whole note record of `note`; it belongs to no entry.
  explicit PKNotePitch(const PKNote* note);
  PKNotePitch(const PKNotePitch&) = delete;
  PKNotePitch& operator=(const PKNotePitch&) = delete;

  // Answers "PKNotePitch".
  const char* ClassName() override { return "PKNotePitch"; }

 private:
  EXNOTE _copy;
};

class PKNotePitches : public __PKCollection {
 public:
  // Answers "PKNotePitches".
  const char* ClassName() override { return "PKNotePitches"; }

  // Appends a copy of every note of a note entry, in note order; nothing for a rest or null.
  void AddFromEntry(PKNoteEntry* entry);
};
