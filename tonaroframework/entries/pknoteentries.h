// A plain list of note entries, used for views of a layer (for instance the
// entries within a region).
#pragma once

#include "tonaroframework/entries/pknoteentrycollection.h"

class PKNoteEntries : public __PKNoteEntryCollection {
 public:
  // Answers "PKNoteEntries".
  const char* ClassName() override { return "PKNoteEntries"; }
};
