#include "entrytestsupport.h"

#include "tonaropdk/hkservices.h"

LoadedEntries::LoadedEntries(std::int16_t staff, std::int16_t firstMeasure, std::int16_t lastMeasure,
                             std::int16_t layer) {
  const std::int16_t slot = HK_InstToSlot(staff, 0, kTonaroFrameworkVersion);
  PKNoteEntry* previous = nullptr;
  for (std::int16_t measure = firstMeasure; measure <= lastMeasure; ++measure) {
    EXTGF2005a* frame = HK_LoadTGF(0, slot, measure, layer, 1, kTonaroFrameworkVersion);
    frames.push_back(frame);
    if (frame == nullptr) continue;
    for (int j = 0; j < frame->entryCount; ++j) {
      auto* entry = new PKNoteEntry(&frame->entries[j], frame, staff);
      entry->_SetPrevious(previous);
      if (previous != nullptr) previous->_SetNext(entry);
      entry->_UpdateNoteCollection();
      entries.Add(entry);
      previous = entry;
    }
  }
}

LoadedEntries::~LoadedEntries() {
  entries.ClearAll();
  for (EXTGF2005a* frame : frames)
    if (frame != nullptr) HK_FreeTGF(frame, kTonaroFrameworkVersion);
}

bool LoadedEntries::Save() {
  bool saved = true;
  for (EXTGF2005a* frame : frames)
    if (frame != nullptr && HK_SaveTGF(frame, kTonaroFrameworkVersion) == 0) saved = false;
  return saved;
}

PKNote* NoteAt(PKNoteEntry* entry, int i) { return static_cast<PKNote*>(entry->GetItemAt(i)); }

std::vector<int> Displacements(PKNoteEntry* entry) {
  std::vector<int> result;
  for (int i = 0; i < entry->GetCount(); ++i) result.push_back(NoteAt(entry, i)->GetDisplacement());
  return result;
}

std::vector<int> NoteIDs(PKNoteEntry* entry) {
  std::vector<int> result;
  for (int i = 0; i < entry->GetCount(); ++i) result.push_back(NoteAt(entry, i)->GetNoteID());
  return result;
}
