// The common base of the lists of note entries: it owns its entries and
// builds them from entry frames.
#pragma once

#include "tonaroframework/entries/pknoteentry.h"
#include "tonaroframework/foundation/pkcollection.h"
#include "tonaropdk/extgf.h"

class __PKNoteEntryCollection : public __PKCollection {
 public:
  // Answers the entry at the index; null when out of range.
  virtual PKNoteEntry* GetItemAt(int index);

  // Replaces the entries of `target` with copies of the entries of `source`: entry numbers are
  // kept from the target's new blank records, detail and smart-shape flags are cleared.
  // Answers false, with the target's entries in whatever state the host left them, when the host
  // refuses to delete or insert (the target then does not hold one copy per source entry).
  static bool _CopyEntries(EXTGF2005a* source, EXTGF2005a* target);

 protected:
  // Appends an entry for every record of `frame`, in record order, the first linked after
  // `previous`; answers the last entry appended, or `previous` when the frame has none.
  PKNoteEntry* _AppendFrameEntries(EXTGF2005a* frame, PKNoteEntry* previous);
};
