#include "tonaroframework/entries/pknoteentrylayer.h"

#include <algorithm>
#include <limits>

#include "tonaroframework/entries/pkentryflags.h"
#include "tonaroframework/entries/pktuplet.h"
#include "tonaroframework/foundation/pkcollection.h"
#include "tonaroframework/score/pkmusicregion.h"
#include "tonaropdk/eregion.h"
#include "tonaropdk/hkservices.h"

namespace {

constexpr std::uint32_t kVersion = kTonaroFrameworkVersion;
// Plain loads ask the host for a frame to show and edit; loads to copy into
// or to refresh after a save pass 0.
constexpr std::int16_t kPlainLoad = 1;
constexpr std::int16_t kCopyLoad = 0;

int EntryCount(const EXTGF2005a* frame) {
  return (frame == nullptr || frame->entries == nullptr) ? 0 : frame->entryCount;
}

bool HoldsUnsavedEntry(const EXTGF2005a* frame) {
  for (int j = 0; j < EntryCount(frame); ++j)
    if (frame->entries[j].entryNumber == 0) return true;
  return false;
}

// The document's last measure, from a region over the whole document; 0 for an empty document.
std::int16_t LastDocumentMeasure() {
  PKMusicRegion document(nullptr);
  document.SetFullDocument();
  EREGION region{};
  document.GetZorvanRegion(&region);
  if (region.startMeasure == 0 && region.endMeasure == 0) return 0;
  return region.endMeasure;
}

bool Within(PKMusicRegion* region, PKNoteEntry* entry) {
  return entry != nullptr && region->IsEntryPosWithin(entry);
}

}  // namespace

PKNoteEntryLayer::PKNoteEntryLayer(std::int16_t layer, std::int16_t staff, std::int16_t startMeasure,
                                   std::int16_t endMeasure)
    : _layer(layer), _staff(staff), _startMeasure(startMeasure > 0 ? startMeasure : 1) {
  const std::int16_t last = LastDocumentMeasure();
  _endMeasure = (endMeasure == -1 || endMeasure > last) ? last : endMeasure;
}

PKNoteEntryLayer::~PKNoteEntryLayer() {
  ClearAll();
  _FreeFrames();
}

EXTGF2005a* PKNoteEntryLayer::GetFrame(int index) const {
  if (index < 0 || index >= GetFrameCount()) return nullptr;
  return _frames[std::size_t(index)];
}

void PKNoteEntryLayer::_FreeFrames() {
  for (EXTGF2005a* frame : _frames)
    if (frame != nullptr) HK_FreeTGF(frame, kVersion);
  _frames.clear();
}

bool PKNoteEntryLayer::_FailLoad() {
  ClearAll();
  _FreeFrames();
  return false;
}

int PKNoteEntryLayer::_FindFrameSlot(const EXTGF2005a* frame) const {
  if (frame == nullptr) return -1;
  // The frame of measure m normally sits in slot m - start.
  const int guess = frame->measure - _startMeasure;
  if (guess >= 0 && guess < GetFrameCount() && _frames[std::size_t(guess)] == frame) return guess;
  for (int k = 0; k < GetFrameCount(); ++k)
    if (_frames[std::size_t(k)] == frame) return k;
  return -1;
}

bool PKNoteEntryLayer::Load() {
  ClearAll();
  _FreeFrames();
  const int measures = _endMeasure - _startMeasure + 1;
  if (measures <= 0) return false;
  _frames.assign(std::size_t(measures), nullptr);
  if (!_shownLayersOnly || HK_GetShowLayer(_layer, kVersion) != 0) {
    const std::int16_t slot = HK_InstToSlot(_staff, 0, kVersion);
    for (int k = 0; k < measures; ++k) {
      EXTGF2005a* frame = HK_LoadTGF(0, slot, std::int16_t(_startMeasure + k), _layer, kPlainLoad, kVersion);
      if (frame == nullptr) return _FailLoad();
      _frames[std::size_t(k)] = frame;
    }
  }
  _SetupEntries();
  return true;
}

void PKNoteEntryLayer::_SetupEntries() {
  int total = 0;
  for (EXTGF2005a* frame : _frames) total += std::max(EntryCount(frame), 0);
  _RequireElement(total);  // one growth for the whole layer
  PKNoteEntry* previous = nullptr;
  for (EXTGF2005a* frame : _frames)
    if (frame != nullptr) previous = _AppendFrameEntries(frame, previous);
}

bool PKNoteEntryLayer::_LoadRedir(std::int16_t layer, std::int16_t staff, std::int16_t startMeasure) {
  ClearAll();
  _FreeFrames();
  if (_endMeasure < _startMeasure) return false;
  const int measures = _endMeasure - _startMeasure + 1;
  if (startMeasure + measures - 1 > std::numeric_limits<std::int16_t>::max()) return false;
  _frames.assign(std::size_t(measures), nullptr);
  if (!_shownLayersOnly || HK_GetShowLayer(_layer, kVersion) != 0) {
    const std::int16_t targetSlot = HK_InstToSlot(staff, 0, kVersion);
    const std::int16_t sourceSlot = HK_InstToSlot(_staff, 0, kVersion);
    for (int k = 0; k < measures; ++k) {
      EXTGF2005a* target = HK_LoadTGF(0, targetSlot, std::int16_t(startMeasure + k), layer, kCopyLoad, kVersion);
      if (target == nullptr) return _FailLoad();
      _frames[std::size_t(k)] = target;
      // The source as the document holds it: edits in memory elsewhere are not seen.
      EXTGF2005a* source = HK_LoadTGF(0, sourceSlot, std::int16_t(_startMeasure + k), _layer, kCopyLoad, kVersion);
      if (source == nullptr) return _FailLoad();
      const bool copied = _CopyEntries(source, target);
      HK_FreeTGF(source, kVersion);
      if (!copied) return _FailLoad();
    }
  }
  _staff = staff;
  _startMeasure = startMeasure;
  _endMeasure = std::int16_t(startMeasure + measures - 1);
  _layer = layer;
  _SetupEntries();
  return true;
}


bool PKNoteEntryLayer::CloneTuplets(PKNoteEntryLayer* source) {
  if (source == nullptr || source->GetCount() != GetCount()) return false;
  for (int i = 0; i < GetCount(); ++i) {
    PKNoteEntry* from = source->GetItemAt(i);
    PKNoteEntry* to = GetItemAt(i);
    if (from == nullptr || to == nullptr || to->GetRecord() == nullptr || !from->GetTupletStartFlag()) continue;
    bool saved = false;
    EDTTuplet2005 tuplet;
    for (std::int16_t inci = 0; inci >= 0 && from->_GetTupletDef(inci, &tuplet); ++inci) {
      std::uint8_t key[__PKBaseData::kKeySize];
      __PKEntryDetail::_MakeKey(std::int32_t(to->GetEntryNumber()), inci, key);
      HK_SaveEData(PKTuplet::kTag, key, &tuplet, PKTuplet::kRecordSize, kTonaroFrameworkVersion);
      saved = true;
    }
    EXENTRY* record = to->GetRecord();
    record->flags = WithEntryFlag(record->flags, kEntryTupletFlag, saved);
  }
  return true;
}

PKNoteEntryLayer* PKNoteEntryLayer::CreateCloneEntries(std::int16_t layer, std::int16_t staff,
                                                       std::int16_t startMeasure) {
  auto* clone = new PKNoteEntryLayer(_layer, _staff, _startMeasure, _endMeasure);
  clone->_LoadRedir(layer, staff, startMeasure);
  return clone;
}

std::vector<std::vector<PKNoteEntry*>> PKNoteEntryLayer::_GroupEntriesBySlot() {
  std::vector<std::vector<PKNoteEntry*>> groups(_frames.size());
  for (int i = 0; i < GetCount(); ++i) {
    PKNoteEntry* entry = GetItemAt(i);
    if (entry == nullptr) continue;
    const int slot = _FindFrameSlot(entry->GetFrame());
    if (slot >= 0) groups[std::size_t(slot)].push_back(entry);
  }
  return groups;
}

bool PKNoteEntryLayer::Save() {
  bool saved = true;
  std::vector<std::vector<PKNoteEntry*>> groups;  // made on the first reload
  for (int k = 0; k < GetFrameCount(); ++k) {
    EXTGF2005a* frame = _frames[std::size_t(k)];
    if (frame == nullptr) continue;
    const bool reload = HoldsUnsavedEntry(frame);
    if (HK_SaveTGF(frame, kVersion) == 0) {
      // Nothing was stored, so there are no new entry numbers to fetch; a
      // reload would only throw away the edits still in memory.
      saved = false;
      continue;
    }
    if (!reload) continue;
    if (groups.empty()) groups = _GroupEntriesBySlot();
    _ReloadFrame(k, groups[std::size_t(k)]);
  }
  return saved;
}

EXTGF2005a* PKNoteEntryLayer::_SilentTGFUpdate(EXTGF2005a* frame) {
  const int slot = _FindFrameSlot(frame);
  if (slot < 0) return frame;
  std::vector<PKNoteEntry*> entries;
  for (int i = 0; i < GetCount(); ++i) {
    PKNoteEntry* entry = GetItemAt(i);
    if (entry != nullptr && entry->GetFrame() == frame) entries.push_back(entry);
  }
  return _ReloadFrame(slot, entries);
}

EXTGF2005a* PKNoteEntryLayer::_ReloadFrame(int slot, const std::vector<PKNoteEntry*>& entries) {
  EXTGF2005a* old = _frames[std::size_t(slot)];
  EXTGF2005a* fresh = HK_LoadTGF(old->staffList, old->slot, old->measure, old->layer, kCopyLoad, kVersion);
  if (fresh == nullptr) return old;
  // Entries are rebound by index: a fresh frame of another size would leave
  // some of them pointing past its records.
  if (EntryCount(fresh) != EntryCount(old)) {
    HK_FreeTGF(fresh, kVersion);
    return old;
  }
  for (PKNoteEntry* entry : entries) {
    const int index = entry->_CalcTGFIndex();
    if (index >= 0) entry->_Rebind(fresh, &fresh->entries[index]);
  }
  _frames[std::size_t(slot)] = fresh;
  HK_FreeTGF(old, kVersion);
  return fresh;
}

bool PKNoteEntryLayer::DeleteAllNullEntries() {
  std::vector<_PKNoteEntryErase> erasures;
  for (int i = 0; i < GetCount(); ++i) {
    PKNoteEntry* entry = GetItemAt(i);
    if (entry == nullptr) continue;
    if (entry->GetRecord() == nullptr || entry->GetEntryNumber() == 0) return false;
    if (entry->GetDuration() == 0) erasures.emplace_back(entry, entry->GetFrame(), entry->GetEntryNumber());
  }
  // Work items of one frame come in record order, and each deletion moves the
  // later records down by one: the next search starts where the last one hit.
  const EXTGF2005a* searched = nullptr;
  int from = 0;
  for (const _PKNoteEntryErase& erasure : erasures) {
    EXTGF2005a* frame = erasure.frame;
    if (frame != searched) from = 0;
    searched = frame;
    int found = -1;
    for (int pass = 0; pass < 2 && found < 0; ++pass) {
      const int begin = pass == 0 ? from : 0;
      const int end = pass == 0 ? EntryCount(frame) : from;
      for (int j = begin; j < end && found < 0; ++j)
        if (frame->entries[j].entryNumber == erasure.entryNumber) found = j;
    }
    if (found < 0) continue;
    HK_DeleteEXENTRY(frame, std::int16_t(found), 1, kVersion);
    from = found;
  }
  // Every entry object is rebuilt from the frames below, the erased ones
  // with the rest, so they are not removed one by one.
  ClearAll();
  _SetupEntries();
  return true;
}

PKNoteEntry* PKNoteEntryLayer::_InsertNewEntries(EXTGF2005a* frame, int first, int count, int listIndex,
                                                 PKNoteEntry* previous) {
  const std::int16_t staff = PKNoteEntry::_CalcFrameStaff(frame);
  _RequireElement(count);
  PKNoteEntry* firstNew = nullptr;
  for (int i = 0; i < count; ++i) {
    auto* entry = new PKNoteEntry(&frame->entries[first + i], frame, staff);
    entry->_SetPrevious(previous);
    if (previous != nullptr) previous->_SetNext(entry);
    entry->_UpdateNoteCollection();
    InsertItemAt(entry, listIndex + i);
    if (firstNew == nullptr) firstNew = entry;
    previous = entry;
  }
  return firstNew;
}

PKNoteEntry* PKNoteEntryLayer::InsertEntriesBefore(PKNoteEntry* entry, int count) {
  if (count <= 0 || count > std::numeric_limits<std::int16_t>::max() || _frames.empty() || entry == nullptr)
    return nullptr;
  const int listIndex = GetIndexOf(entry);
  if (listIndex < 0) return nullptr;
  const int at = entry->_CalcTGFIndex();
  if (at < 0) return nullptr;
  EXTGF2005a* frame = entry->GetFrame();
  const std::int16_t measure = entry->GetMeasure();
  if (HK_InsertEXENTRY(frame, std::int16_t(at), std::int16_t(count), kVersion) == 0) return nullptr;

  PKNoteEntry* firstNew = _InsertNewEntries(frame, at, count, listIndex, entry->GetPrevious());
  PKNoteEntry* lastNew = GetItemAt(listIndex + count - 1);
  lastNew->_SetNext(entry);
  entry->_SetPrevious(lastNew);

  // The host may have moved the records: bind the measure's entries to them again, in order.
  PKNoteEntry* measureStart = firstNew;
  while (measureStart->GetPrevious() != nullptr && measureStart->GetPrevious()->GetMeasure() == measure)
    measureStart = measureStart->GetPrevious();
  int record = 0;
  for (PKNoteEntry* e = measureStart; e != nullptr && e->GetMeasure() == measure && record < EntryCount(frame);
       e = e->GetNext())
    e->_Rebind(frame, &frame->entries[record++]);
  return firstNew;
}

PKNoteEntry* PKNoteEntryLayer::InsertEntriesAfter(PKNoteEntry* entry, int count, bool nextMeasure) {
  if (count <= 0 || count > std::numeric_limits<std::int16_t>::max() || _frames.empty()) return nullptr;
  EXTGF2005a* frame = nullptr;
  int at = 0;
  int listIndex = 0;
  std::int16_t measure = 0;
  PKNoteEntry* following = nullptr;
  if (entry == nullptr && GetCount() == 0 && !nextMeasure) {
    frame = _frames.front();
    if (frame == nullptr) return nullptr;
    measure = frame->measure;
  } else {
    if (entry == nullptr) return nullptr;
    const int entryIndex = GetIndexOf(entry);
    const int recordIndex = entry->_CalcTGFIndex();
    if (entryIndex < 0 || recordIndex < 0) return nullptr;
    listIndex = entryIndex + 1;
    at = recordIndex + 1;
    frame = entry->GetFrame();
    measure = entry->GetMeasure();
    following = entry->GetNext();
    if (nextMeasure) {
      const int slot = _FindFrameSlot(frame);
      if (slot < 0 || slot + 1 >= GetFrameCount() || _frames[std::size_t(slot + 1)] == nullptr) return nullptr;
      if (following != nullptr && following->GetMeasure() == measure) return nullptr;
      frame = _frames[std::size_t(slot + 1)];
      at = 0;
      measure = std::int16_t(measure + 1);
    }
  }
  if (HK_InsertEXENTRY(frame, std::int16_t(at), std::int16_t(count), kVersion) == 0) return nullptr;

  PKNoteEntry* firstNew = _InsertNewEntries(frame, at, count, listIndex, entry);
  PKNoteEntry* lastNew = GetItemAt(listIndex + count - 1);
  lastNew->_SetNext(following);
  if (following != nullptr) following->_SetPrevious(lastNew);

  // The host may have moved the records: bind the neighbours in the measure to them again.
  int record = at + count;
  for (PKNoteEntry* e = following; e != nullptr && e->GetMeasure() == measure && record < EntryCount(frame);
       e = e->GetNext())
    e->_Rebind(frame, &frame->entries[record++]);
  record = at - 1;
  for (PKNoteEntry* e = entry; e != nullptr && e->GetMeasure() == measure && record >= 0; e = e->GetPrevious())
    e->_Rebind(frame, &frame->entries[record--]);
  return firstNew;
}

int PKNoteEntryLayer::CalcFrameDuration(int measure) {
  if (measure < _startMeasure || measure > _endMeasure) return 0;
  EXTGF2005a* frame = GetFrame(measure - _startMeasure);
  return frame != nullptr ? HK_GetTGFDuration(frame, kVersion) : 0;
}

int PKNoteEntryLayer::CalcRegionCount(PKMusicRegion* region) {
  if (region == nullptr) return 0;
  int count = 0;
  for (int i = 0; i < GetCount(); ++i)
    if (Within(region, GetItemAt(i))) ++count;
  return count;
}

PKNoteEntry* PKNoteEntryLayer::GetRegionItemAt(int index, PKMusicRegion* region) {
  if (region == nullptr || index < 0) return nullptr;
  for (int i = 0; i < GetCount(); ++i) {
    PKNoteEntry* entry = GetItemAt(i);
    if (Within(region, entry) && index-- == 0) return entry;
  }
  return nullptr;
}

int PKNoteEntryLayer::ForEachInRegion(PKIteratorHandler* handler, PKMusicRegion* region) {
  if (handler == nullptr || region == nullptr) return 0;
  int accepted = 0;
  for (int i = 0; i < GetCount(); ++i) {
    PKNoteEntry* entry = GetItemAt(i);
    if (!Within(region, entry)) continue;
    if (!handler->Iterate(entry)) break;
    ++accepted;
  }
  return accepted;
}

PKNoteEntries* PKNoteEntryLayer::CreateRegionEntries(PKMusicRegion* region) {
  auto* entries = new PKNoteEntries();
  if (region == nullptr) return entries;
  std::vector<PKNoteEntry*> within;
  for (int i = 0; i < GetCount(); ++i)
    if (Within(region, GetItemAt(i))) within.push_back(GetItemAt(i));
  entries->_RequireElement(int(within.size()));
  PKNoteEntry* previous = nullptr;
  for (PKNoteEntry* original : within) {
    PKNoteEntry* clone = original->CreateShallowClone();
    clone->_SetPrevious(previous);
    if (previous != nullptr) previous->_SetNext(clone);
    entries->Add(clone);
    previous = clone;
  }
  return entries;
}
