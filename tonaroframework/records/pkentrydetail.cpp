#include "tonaroframework/records/pkentrydetail.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "tonaroframework/entries/pkentryflags.h"
#include "tonaropdk/exentry.h"
#include "tonaroframework/entries/pknote.h"
#include "tonaroframework/entries/pknoteentry.h"
#include "tonaropdk/hkservices.h"

namespace {
// An inci given as -1 asks the host to assign the next free one.
constexpr std::int16_t kAssignInci = -1;

std::int32_t EntryNumberOf(const PKNoteEntry* entry) { return std::int32_t(entry->GetEntryNumber()); }
}  // namespace

void __PKEntryDetail::_MakeKey(std::int32_t entryNumber, std::int16_t inci, std::uint8_t (&key)[kKeySize]) {
  std::memset(key, 0, sizeof key);
  std::memcpy(key + kEntryOffset, &entryNumber, sizeof entryNumber);
  std::memcpy(key + kInciOffset, &inci, sizeof inci);
}

void __PKEntryDetail::_SetEntryKey(std::int32_t entryNumber, std::int16_t inci) {
  _ClearKey();
  _SetKeySigned32(kEntryOffset, entryNumber);
  _SetKeySigned16(kInciOffset, inci);
}

bool __PKEntryDetail::Load(std::int32_t entryNumber, std::int16_t inci) {
  _SetEntryKey(entryNumber, inci);
  return LoadDataBlock();
}

void __PKEntryDetail::SetNoteEntry(PKNoteEntry* entry) {
  _entry = entry;
  _SetKeySigned32(kEntryOffset, entry != nullptr ? EntryNumberOf(entry) : 0);
}

bool __PKEntryDetail::SaveNew() {
  if (_entry == nullptr) return false;
  _SetEntryKey(GetEntryNumber(), kAssignInci);
  if (!_CreateRecord()) return false;
  _SetEntryFlag(_entry, true);
  return true;
}

void __PKEntryDetail::_SetEntryFlag(PKNoteEntry* entry, bool on) { _SetEntryFlagBit(entry, kEntryNoteDetailFlag, on); }

void __PKEntryDetail::_SetEntryFlagBit(PKNoteEntry* entry, std::uint32_t mask, bool on) {
  if (entry == nullptr || entry->GetRecord() == nullptr) return;
  EXENTRY* record = entry->GetRecord();
  record->flags = WithEntryFlag(record->flags, mask, on);
}

bool __PKEntryDetail::LoadFirst() {
  if (_entry == nullptr) return false;
  return Load(EntryNumberOf(_entry), 0);
}

bool __PKEntryDetail::LoadNext() {
  const std::int16_t inci = GetInci();
  if (inci == std::numeric_limits<std::int16_t>::max()) return false;
  _SetKeySigned16(kInciOffset, std::int16_t(inci + 1));
  if (LoadDataBlock()) return true;
  _SetKeySigned16(kInciOffset, inci);
  return false;
}

bool __PKEntryDetail::SaveAs(std::int32_t entryNumber, std::int16_t inci) {
  _SetEntryKey(entryNumber, inci);
  return Save();
}

bool __PKEntryDetail::_HasAnyMod(PKNote* note) {
  if (note == nullptr) return false;
  std::uint8_t scratch[kScratchSize];
  std::uint8_t key[kKeySize];
  _MakeKey(std::int32_t(note->_GetEntryNumber()), 0, key);
  std::int32_t room = std::min(DataSizeLoad(), kScratchSize);
  if (room <= 0) return false;
  return HK_LoadEData(Tag(), key, scratch, &room, kTonaroFrameworkVersion) != 0;
}
