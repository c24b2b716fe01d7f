#include "tonaroframework/entries/pkarticulation.h"

#include "tonaropdk/exentry.h"

bool PKArticulation::CloneMemoryFrom(__PKBaseData* other) { return _CloneEmbeddedFrom(other, &_record, kRecordSize); }

void PKArticulation::_SetEntryFlag(PKNoteEntry* entry, bool on) { _SetEntryFlagBit(entry, kEntryArticulationFlag, on); }

bool PKArticulations::ContainsID(std::int16_t definition) const {
  for (int i = 0; i < GetCount(); ++i)
    if (GetArticulationAt(i)->GetArticulationDefID() == definition) return true;
  return false;
}
