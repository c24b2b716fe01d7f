#include "tonaroframework/entries/pknotepitches.h"

#include "tonaroframework/entries/pknoteentry.h"

PKNotePitch::PKNotePitch(const PKNote* note) : PKNote(nullptr, 0, nullptr), _copy(*note->GetNoteRecord()) {
  _SetNoteRecord(&_copy);
}

void PKNotePitches::AddFromEntry(PKNoteEntry* entry) {
  if (entry == nullptr || !entry->IsNote()) return;
  const int count = entry->GetCount();
  _RequireElement(count);
  for (int i = 0; i < count; ++i) {
    auto* note = static_cast<PKNote*>(entry->GetItemAt(i));
    if (note != nullptr) Add(new PKNotePitch(note));
  }
}
