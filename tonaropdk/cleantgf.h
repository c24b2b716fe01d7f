// Normalisation of an entry frame before the host sees it again: unique note
// IDs within every entry, the low five bits of each note ID in its note flags,
// unused note records zeroed, and (while CanAddNoteRecordToRests holds) a
// note record for every rest that has none.
#pragma once

#include "tonaropdk/extgf.h"

// Whether CleanTGF gives a rest without note records one note record; true
// from the start, and nothing in the library changes it.
extern bool CanAddNoteRecordToRests;

// Normalises every entry of the frame in place; does nothing for a null frame
// or a frame without entries.
void CleanTGF(EXTGF2005a* frame);
