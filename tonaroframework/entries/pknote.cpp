#include "tonaroframework/entries/pknote.h"

#include "tonaroframework/entries/pknoteentry.h"

#include "tonaroframework/entries/pkentryflags.h"

PKNote::PKNote(EXNOTE* record, std::int32_t index, PKNoteEntry* entry)
    : _index(index), _record(record), _entry(entry) {}

void PKNote::SetTie(bool tie) { _record->flags = WithEntryFlag(_record->flags, kNoteTieFlag, tie); }

bool PKNote::IsHigherPitchThan(PKNote* other) const {
  if (GetDisplacement() != other->GetDisplacement()) return GetDisplacement() > other->GetDisplacement();
  return GetRaiseLower() > other->GetRaiseLower();
}

bool PKNote::IsLowerPitchThan(PKNote* other) const {
  if (GetDisplacement() != other->GetDisplacement()) return GetDisplacement() < other->GetDisplacement();
  return GetRaiseLower() < other->GetRaiseLower();
}

std::uint32_t PKNote::_GetEntryNumber() const { return _entry != nullptr ? _entry->GetEntryNumber() : 0; }

void PKNote::_SetEntryFlag(std::uint32_t mask, bool on) {
  if (_entry == nullptr || _entry->GetRecord() == nullptr) return;
  _entry->GetRecord()->flags = WithEntryFlag(_entry->GetRecord()->flags, mask, on);
}

bool PKNote::_GetEntryFlag(std::uint32_t mask) const {
  if (_entry == nullptr || _entry->GetRecord() == nullptr) return false;
  return (_entry->GetRecord()->flags & mask) != 0;
}
