#include "tonaroframework/entries/pknoteentry.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>

#include "tonaroframework/entries/pkarticulation.h"
#include "tonaroframework/entries/pkentryflags.h"
#include "tonaroframework/entries/pknotepitches.h"
#include "tonaropdk/hkservices.h"

namespace {

constexpr std::uint32_t kVersion = kTonaroFrameworkVersion;

// The flags MakeRest clears: a rest has no notes and so no note-level details.
constexpr std::uint32_t kRestClearedFlags =
    kEntryNoteFlag | kEntryNoteDetailFlag | kEntrySpecialAltsFlag | kEntryArticulationFlag;

// The undotted note values, from the longest (8192) down to 4.
constexpr std::int16_t kUndottedDurations[] = {8192, 4096, 2048, 1024, 512, 256, 128, 64, 32, 16, 8, 4};

// The note records in use; a corrupt count never reaches past the twelve slots.
int UsableNoteCount(const EXENTRY* record) {
  return std::clamp<int>(record->noteCount, 0, kMaxEntryNotes);
}

int UsableEntryCount(const EXTGF2005a* frame) {
  return (frame == nullptr || frame->entries == nullptr) ? 0 : std::max<int>(frame->entryCount, 0);
}

}  // namespace

PKNoteEntry::PKNoteEntry(EXENTRY* record, EXTGF2005a* frame, std::int16_t staff)
    : _record(record), _frame(frame), _measure(frame != nullptr ? frame->measure : 0), _staff(staff) {}

PKNoteEntry::~PKNoteEntry() { delete _articulationCache; }

std::int16_t PKNoteEntry::_CalcFrameStaff(const EXTGF2005a* frame) {
  if (frame == nullptr) return 0;
  return HK_SlotToInst(frame->slot, frame->staffList, kVersion);
}

PKNote* PKNoteEntry::_NoteAt(int index) const {
  return static_cast<PKNote*>(GetItemAt(index));
}

void PKNoteEntry::_Rebind(EXTGF2005a* frame, EXENTRY* record) {
  _frame = frame;
  _record = record;
  _measure = frame->measure;
  _UpdateNoteCollection();
}

void PKNoteEntry::_UpdateNoteCollection() {
  ClearAll();
  if (_record == nullptr) return;
  _RequireElement(UsableNoteCount(_record));
  for (int i = 0; i < UsableNoteCount(_record); ++i) Add(new PKNote(&_record->notes[i], i, this));
}

void PKNoteEntry::_PackEXENTRYNotes() {
  EXNOTE kept[kMaxEntryNotes];
  std::memset(kept, 0, sizeof kept);
  int keptCount = 0;
  for (int i = 0; i < GetCount(); ++i) {
    PKNote* note = _NoteAt(i);
    if (note != nullptr && !note->_deletionMark && keptCount < kMaxEntryNotes)
      kept[keptCount++] = *note->GetNoteRecord();
  }
  if (keptCount == GetCount()) return;
  if (keptCount > 0) {
    std::memcpy(_record->notes, kept, sizeof(EXNOTE) * std::size_t(keptCount));
    _record->noteCount = std::int16_t(keptCount);
  } else {
    _record->flags = WithEntryFlag(_record->flags, kEntryNoteFlag, false);
    _record->noteCount = 0;
  }
  _UpdateNoteCollection();
}

PKNote* PKNoteEntry::AddNewNote() {
  const int count = GetCount();
  if (count >= kMaxEntryNotes || !IsNote()) return nullptr;
  EXNOTE* slot = &_record->notes[count];
  std::memset(slot, 0, sizeof *slot);
  auto* note = new PKNote(slot, count, this);
  slot->flags |= kNoteCreatedFlag;
  // The smallest ID from 1 that no existing note carries.
  std::int16_t id = 1;
  for (int i = 0; i < count; ++i) {
    if (_NoteAt(i)->GetNoteID() == id) {
      ++id;
      i = -1;
    }
  }
  slot->noteID = id;
  Add(note);
  _record->noteCount = std::int16_t(count + 1);
  return note;
}

bool PKNoteEntry::DeleteNote(PKNote* note) {
  if (note == nullptr || GetIndexOf(note) < 0) return false;
  note->_deletionMark = true;
  bool anyLeft = false;
  for (int i = 0; i < GetCount() && !anyLeft; ++i) anyLeft = !_NoteAt(i)->_deletionMark;
  if (anyLeft)
    _PackEXENTRYNotes();
  else
    MakeRest();
  return true;
}

void PKNoteEntry::ClearPitches() {
  ClearAll();
  if (_record != nullptr) _record->noteCount = 0;
}

bool PKNoteEntry::AddPitch(PKNote* pitch) {
  if (pitch == nullptr || !IsNote()) return false;
  const std::int16_t displacement = pitch->GetDisplacement();
  const std::int16_t raiseLower = pitch->GetRaiseLower();
  PKNote* note = AddNewNote();
  if (note == nullptr) return false;
  note->SetDisplacement(displacement);
  note->SetRaiseLower(raiseLower);
  return true;
}

void PKNoteEntry::CopyNotes(PKNoteEntry* source) {
  if (source == nullptr || source == this || source->_record == nullptr || _record == nullptr) return;
  std::memmove(_record->notes, source->_record->notes, sizeof _record->notes);
  _record->noteCount = std::int16_t(UsableNoteCount(source->_record));
  _UpdateNoteCollection();
}

void PKNoteEntry::CopyNote(PKNote* note) {
  if (note == nullptr || _record == nullptr) return;
  // Copied first: the note may view one of this entry's own records.
  EXNOTE copy = *note->GetNoteRecord();
  copy.noteID = 1;
  _record->notes[0] = copy;
  _record->noteCount = 1;
  _UpdateNoteCollection();
}

void PKNoteEntry::_AddFirstNoteRecord() {
  std::memset(&_record->notes[0], 0, sizeof(EXNOTE));
  _record->notes[0].flags = kNoteCreatedFlag;
  Add(new PKNote(&_record->notes[0], 0, this));
  _record->noteCount = 1;
}

void PKNoteEntry::MakeNote() {
  _record->flags = WithEntryFlag(_record->flags, kEntryNoteFlag, true);
  if (GetCount() == 0) _AddFirstNoteRecord();
  EXNOTE& first = _record->notes[0];
  first.noteID = 0;
  first.displacement = 0;
  first.raiseLower = 0;
}

void PKNoteEntry::MakeRest() {
  _record->noteCount = 0;
  _UpdateNoteCollection();
  _record->flags = WithEntryFlag(_record->flags, kRestClearedFlags, false);
}

void PKNoteEntry::MakeMovableRest() {
  if (GetCount() == 0) _AddFirstNoteRecord();
  EXNOTE& first = _record->notes[0];
  first.noteID = kMovableRestNoteID;
  _record->flags = WithEntryFlag(_record->flags, kEntryRestRecordFlag, false);
  first.displacement = 0;
}

bool PKNoteEntry::IsRestMovable() const {
  return _record != nullptr && IsRest() && _record->noteCount >= 1 &&
         _record->notes[0].noteID == kMovableRestNoteID;
}

void PKNoteEntry::CopyEntry(PKNoteEntry* source) {
  if (source == nullptr || source->_record == nullptr || _record == nullptr) return;
  if (source->IsNote())
    MakeNote();
  else
    MakeRest();
  _record->duration = source->_record->duration;
  CopyNotes(source);
  _record->flags |= kEntryCopyMark;
}

void PKNoteEntry::TieAll(bool tie) {
  if (!IsNote()) return;
  for (int i = 0; i < GetCount(); ++i) _NoteAt(i)->SetTie(tie);
}

void PKNoteEntry::SetAccidentals(bool show) {
  if (!IsNote()) return;
  for (int i = 0; i < GetCount(); ++i) {
    EXNOTE* record = _NoteAt(i)->GetNoteRecord();
    record->flags = WithEntryFlag(record->flags, kNoteAccidentalFlag, show);
  }
}

PKNoteEntry* PKNoteEntry::CreateShallowClone() {
  auto* clone = new PKNoteEntry(_record, _frame, _CalcFrameStaff(_frame));
  clone->_UpdateNoteCollection();
  return clone;
}

PKNotePitches* PKNoteEntry::CreateNotePitches() {
  auto* pitches = new PKNotePitches();
  pitches->AddFromEntry(this);
  return pitches;
}

int PKNoteEntry::_CalcTGFIndex() const {
  const int count = UsableEntryCount(_frame);
  if (_record == nullptr || count == 0) return -1;
  // Pointer identity by address arithmetic: constant time, where a search of
  // the frame would make walks over a whole layer quadratic.
  const auto first = reinterpret_cast<std::uintptr_t>(_frame->entries);
  const auto here = reinterpret_cast<std::uintptr_t>(_record);
  if (here < first) return -1;
  const std::uintptr_t offset = here - first;
  if (offset % sizeof(EXENTRY) != 0 || offset / sizeof(EXENTRY) >= std::uintptr_t(count)) return -1;
  return int(offset / sizeof(EXENTRY));
}

PKNote* PKNoteEntry::FindLowestNote(PKNote* above) {
  PKNote* choice = nullptr;
  for (int i = 0; i < GetCount(); ++i) {
    PKNote* note = _NoteAt(i);
    if (note == nullptr || (above != nullptr && !note->IsHigherPitchThan(above))) continue;
    if (choice == nullptr || note->IsLowerPitchThan(choice)) choice = note;
  }
  return choice;
}

PKNote* PKNoteEntry::FindHighestNote(PKNote* below) {
  PKNote* choice = nullptr;
  for (int i = 0; i < GetCount(); ++i) {
    PKNote* note = _NoteAt(i);
    if (note == nullptr || (below != nullptr && !note->IsLowerPitchThan(below))) continue;
    if (choice == nullptr || note->IsHigherPitchThan(choice)) choice = note;
  }
  return choice;
}

PKNote* PKNoteEntry::CalcLowestNote() { return IsRest() ? nullptr : FindLowestNote(nullptr); }

PKNote* PKNoteEntry::CalcHighestNote() { return IsRest() ? nullptr : FindHighestNote(nullptr); }

int PKNoteEntry::CalcHighestDisplacement() {
  if (GetCount() == 0) return 0;
  int highest = _NoteAt(0)->GetDisplacement();
  for (int i = 1; i < GetCount(); ++i) highest = std::max<int>(highest, _NoteAt(i)->GetDisplacement());
  return highest;
}

int PKNoteEntry::CalcDisplacementRange() {
  if (GetCount() == 0) return 0;
  int lowest = _NoteAt(0)->GetDisplacement();
  int highest = lowest;
  for (int i = 1; i < GetCount(); ++i) {
    lowest = std::min<int>(lowest, _NoteAt(i)->GetDisplacement());
    highest = std::max<int>(highest, _NoteAt(i)->GetDisplacement());
  }
  return highest - lowest;
}

PKNote* PKNoteEntry::FindDisplacement(std::int16_t displacement) {
  if (IsRest()) return nullptr;
  for (int i = 0; i < GetCount(); ++i)
    if (_NoteAt(i)->GetDisplacement() == displacement) return _NoteAt(i);
  return nullptr;
}

bool PKNoteEntry::IsTied() {
  if (!IsNote()) return false;
  for (int i = 0; i < GetCount(); ++i)
    if (_NoteAt(i)->GetTie()) return true;
  return false;
}

bool PKNoteEntry::IsAllTied() {
  if (!IsNote()) return false;
  for (int i = 0; i < GetCount(); ++i)
    if (!_NoteAt(i)->GetTie()) return false;
  return true;
}

bool PKNoteEntry::IsTiedToPrevious() {
  if (!IsNote() || _previous == nullptr || !_previous->IsTied()) return false;
  if (_previous->_frame == nullptr || _frame == nullptr || _previous->_frame->layer != _frame->layer) return false;
  return _previous->_measure >= _measure - 1;
}

bool PKNoteEntry::IsDotted() const {
  return std::find(std::begin(kUndottedDurations), std::end(kUndottedDurations), _record->duration) ==
         std::end(kUndottedDurations);
}

int PKNoteEntry::CalcGraceNoteIndex() const {
  if (!IsGraceNote()) return -1;
  int count = 0;
  for (const PKNoteEntry* entry = _previous; entry != nullptr && entry->_measure == _measure && entry->IsGraceNote();
       entry = entry->_previous)
    ++count;
  return count;
}

bool PKNoteEntry::CalcMultiLayeredCell() const {
  int layersWithEntries = 0;
  const std::int16_t slot = HK_InstToSlot(_staff, 0, kVersion);
  for (std::int16_t layer = 0; layer < HK_GetMaxLayers(kVersion); ++layer) {
    EXTGF2005a* frame = HK_LoadTGF(0, slot, _measure, layer, 1, kVersion);
    if (frame == nullptr) continue;
    const bool holdsEntries = frame->entryCount > 0;
    HK_FreeTGF(frame, kVersion);
    if (holdsEntries && ++layersWithEntries == 2) return true;
  }
  return false;
}

bool PKNoteEntry::_IsSameEntry(const EXENTRY& other) const {
  // Unsaved entries all carry number 0: such an entry is only itself.
  if (&other == _record) return true;
  return _record->entryNumber != 0 && other.entryNumber == _record->entryNumber;
}

bool PKNoteEntry::IsStartOfTuplet(TupletInfo* info) const {
  if (_record == nullptr || !GetTupletStartFlag() || _frame->tuplets == nullptr) return false;
  const int entryCount = UsableEntryCount(_frame);
  for (int t = 0; t < _frame->tupletCount; ++t) {
    const TupletInfo& item = _frame->tuplets[t];
    if (item.firstEntry < 0 || item.firstEntry >= entryCount) continue;
    if (!_IsSameEntry(_frame->entries[item.firstEntry])) continue;
    if (info != nullptr) *info = item;
    return true;
  }
  return false;
}

bool PKNoteEntry::_GetTupletDef(std::int16_t inci, EDTTuplet2005* out) const {
  if (_record == nullptr || _frame == nullptr || _frame->tuplets == nullptr || out == nullptr) return false;
  const int entryCount = UsableEntryCount(_frame);
  for (int t = 0; t < _frame->tupletCount; ++t) {
    const TupletInfo& item = _frame->tuplets[t];
    if (item.firstEntry < 0 || item.firstEntry >= entryCount || item.inci != inci) continue;
    if (!_IsSameEntry(_frame->entries[item.firstEntry])) continue;
    std::memcpy(out, &item.tuplet, sizeof(EDTTuplet2005));
    return true;
  }
  return false;
}

bool PKNoteEntry::IsPartOfTuplet(TupletInfo* info) const {
  if (_record == nullptr || _frame == nullptr || _frame->tuplets == nullptr) return false;
  const int entryCount = UsableEntryCount(_frame);
  for (int t = 0; t < _frame->tupletCount; ++t) {
    const TupletInfo& item = _frame->tuplets[t];
    if (item.firstEntry >= entryCount) continue;
    const int last = std::min<int>(item.lastEntry, entryCount - 1);
    for (int e = std::max<int>(item.firstEntry, 0); e <= last; ++e) {
      if (!_IsSameEntry(_frame->entries[e])) continue;
      if (info != nullptr) *info = item;
      return true;
    }
  }
  return false;
}

// ---- Articulations --------------------------------------------------------

void PKNoteEntry::CacheArticulations() {
  auto loaded = std::make_unique<PKArticulations>();
  loaded->SetNoteEntry(this);
  loaded->LoadAll();
  if (loaded->GetCount() == 0) return;
  delete _articulationCache;
  _articulationCache = loaded.release();
}

int PKNoteEntry::AddArticulations(PKNoteEntry* source, bool skipExisting) {
  // A detail cannot be keyed to an entry the document has not numbered.
  if (source == nullptr || GetEntryNumber() == 0) return 0;
  PKArticulations present;
  present.SetNoteEntry(this);
  present.LoadAll();
  const int existing = present.GetCount();

  PKArticulations loadedForSource;
  PKArticulations* articulations = source->_articulationCache;
  if (articulations == nullptr) {
    loadedForSource.SetNoteEntry(source);
    loadedForSource.LoadAll();
    articulations = &loadedForSource;
  }

  int added = 0;
  for (int i = 0; i < articulations->GetCount(); ++i) {
    PKArticulation* articulation = articulations->GetArticulationAt(i);
    if (skipExisting && present.ContainsID(articulation->GetArticulationDefID())) continue;
    // A copy is saved, so that the source's cache keeps addressing the source.
    std::unique_ptr<PKArticulation> copy(static_cast<PKArticulation*>(articulation->CreateClone()));
    copy->SetNoteEntry(this);
    copy->SaveAs(std::int32_t(GetEntryNumber()), std::int16_t(existing + articulation->GetInci()));
    ++added;
  }
  if (added > 0) _record->flags = WithEntryFlag(_record->flags, kEntryArticulationFlag, true);
  return added;
}
