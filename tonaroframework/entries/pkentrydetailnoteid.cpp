#include "tonaroframework/entries/pkentrydetailnoteid.h"

#include <cstring>
#include <limits>
#include <vector>

#include "tonaroframework/entries/pknote.h"
#include "tonaroframework/entries/pknoteentry.h"
#include "tonaropdk/exentry.h"
#include "tonaropdk/hkservices.h"

namespace {

// An inci given as -1 asks the host to assign the next free one.
constexpr std::int16_t kAssignInci = -1;

std::int32_t EntryNumberOf(const PKNoteEntry* entry) {
  return entry != nullptr ? std::int32_t(entry->GetEntryNumber()) : 0;
}

// An entry-detail key, as the record services read it.
struct EntryDetailKey {
  std::uint8_t bytes[__PKBaseData::kKeySize];
  EntryDetailKey(std::int32_t entryNumber, std::int16_t inci) : number(entryNumber) { SetInci(inci); }
  void SetInci(std::int16_t inci) { __PKEntryDetail::_MakeKey(number, inci, bytes); }
  std::int32_t number;
};

}  // namespace

std::int16_t __PKEntryDetailNoteID::_ScanForNoteID(PKNoteEntry* entry, std::int16_t noteID) {
  const std::int32_t room = DataSizeLoad();
  if (room <= 0) return -1;
  std::vector<std::uint8_t> scratch(static_cast<std::size_t>(room));
  EntryDetailKey key(EntryNumberOf(entry), 0);
  for (int inci = 0; inci <= std::numeric_limits<std::int16_t>::max(); ++inci) {
    key.SetInci(std::int16_t(inci));
    std::int32_t size = room;
    if (HK_LoadEData(Tag(), key.bytes, scratch.data(), &size, kTonaroFrameworkVersion) == 0) return -1;
    if (_IsNoteMatch(scratch.data(), noteID)) return std::int16_t(inci);
  }
  return -1;
}

bool __PKEntryDetailNoteID::_LoadForNoteID(PKNoteEntry* entry, std::int16_t noteID) {
  const std::int16_t inci = _ScanForNoteID(entry, noteID);
  return inci >= 0 && Load(EntryNumberOf(entry), inci);
}

bool __PKEntryDetailNoteID::_SaveForNoteID(PKNoteEntry* entry, std::int16_t noteID) {
  const std::int32_t size = DataSizeSave();
  if (entry == nullptr || GetDataBlock() == nullptr || size <= 0) return false;
  const std::int16_t inci = _ScanForNoteID(entry, noteID);
  EntryDetailKey key(EntryNumberOf(entry), inci < 0 ? kAssignInci : inci);
  _SetNoteID(noteID);
  const bool saved = inci < 0
                         ? HK_CreateEData(Tag(), key.bytes, GetDataBlock(), size, kTonaroFrameworkVersion) != 0
                         : HK_SaveEData(Tag(), key.bytes, GetDataBlock(), size, kTonaroFrameworkVersion) != 0;
  if (!saved) return false;
  std::memcpy(GetKey(), key.bytes, sizeof key.bytes);
  return true;
}

bool __PKEntryDetailNoteID::LoadAt(PKNote* note) {
  if (note == nullptr || !_GetNoteFlag(note)) return false;
  return _LoadForNoteID(note->GetEntry(), note->GetNoteID());
}

bool __PKEntryDetailNoteID::SaveAt(PKNote* note) {
  if (note == nullptr || !_SaveForNoteID(note->GetEntry(), note->GetNoteID())) return false;
  _SetNoteFlag(note, true);
  return true;
}

bool __PKEntryDetailNoteID::EraseAt(PKNote* note) {
  if (note == nullptr) return false;
  const std::int16_t inci = _ScanForNoteID(note->GetEntry(), note->GetNoteID());
  if (inci < 0) return false;
  EntryDetailKey key(std::int32_t(note->_GetEntryNumber()), inci);
  if (HK_DeleteEData(Tag(), key.bytes, kTonaroFrameworkVersion) == 0) return false;
  if (!_HasAnyMod(note)) _SetNoteFlag(note, false);
  key.SetInci(kAssignInci);
  std::memcpy(GetKey(), key.bytes, sizeof key.bytes);
  return true;
}

// ---- Rest dots ------------------------------------------------------------

bool PKDotMod::_IsNoteMatch(const void* data, std::int16_t noteID) {
  std::int16_t stored;
  std::memcpy(&stored, data, sizeof stored);
  return stored == noteID;
}

void PKDotMod::_SetNoteFlag(PKNote* note, bool on) {
  if (note != nullptr) note->_SetSpecialAltsEntryFlag(on);
}

bool PKDotMod::_GetNoteFlag(PKNote* note) { return note != nullptr && note->_GetSpecialAltsEntryFlag(); }

bool PKDotMod::LoadRestDotAt(PKNoteEntry* rest) {
  // The flag that a save sets is the one that says there is something to load.
  if (rest == nullptr || rest->GetRecord() == nullptr || (rest->GetRecord()->flags & kEntrySpecialAltsFlag) == 0)
    return false;
  return _LoadForNoteID(rest, kRestNoteID);
}

bool PKDotMod::SaveRestDotAt(PKNoteEntry* rest) {
  if (!_SaveForNoteID(rest, kRestNoteID)) return false;
  _SetEntryFlagBit(rest, kEntrySpecialAltsFlag, true);
  return true;
}
