#include "tonaroframework/records/pkcollectiondata.h"

#include <cstdint>
#include <limits>

#include "tonaroframework/entries/pknoteentry.h"

namespace {
constexpr int kLastInci = std::numeric_limits<std::int16_t>::max();
constexpr int kLastNumber = std::numeric_limits<std::uint16_t>::max();
}  // namespace

// ---- Collections of any record --------------------------------------------

void __PKCollectionData::_AddClone(__PKBaseData* working) { Add(working->CreateClone()); }

void __PKCollectionData::_AddWhileLoading(__PKBaseData* working, bool loaded) {
  if (!loaded) return;
  do {
    _AddClone(working);
  } while (working->LoadNext());
}

bool __PKCollectionData::LoadAll() {
  ClearAll();
  std::unique_ptr<__PKBaseData> working = _CreateWorking(CreateElement());
  if (working == nullptr) return false;
  _AddWhileLoading(working.get(), working->LoadFirst());
  return GetCount() > 0;
}

bool __PKCollectionData::SaveAll() {
  bool saved = false;
  for (int i = 0; i < GetCount(); ++i) {
    __PKBaseData* element = GetElementAt(i);
    element->SetTagOverride(_tagOverride);
    saved = element->Save();
  }
  return saved;
}

// ---- Others with inci -----------------------------------------------------

int __PKCollectionInciOther::_CountIncis(__PKInciOther* working, std::uint16_t item) {
  int count = 0;
  while (count <= kLastInci && working->Load(item, std::int16_t(count))) ++count;
  return count;
}

bool __PKCollectionInciOther::DeleteDataForItem(std::uint16_t item) {
  std::unique_ptr<__PKInciOther> working = _CreateWorking(CreateElement());
  if (working == nullptr) return false;
  for (int inci = _CountIncis(working.get(), item) - 1; inci >= 0; --inci)
    if (!working->Load(item, std::int16_t(inci)) || !working->DeleteData()) return false;
  return true;
}

bool __PKCollectionInciOther::LoadAllForItem(std::uint16_t item) {
  ClearAll();
  std::unique_ptr<__PKInciOther> working = _CreateWorking(CreateElement());
  if (working == nullptr) return false;
  for (int inci = 0; inci <= kLastInci && working->Load(item, std::int16_t(inci)); ++inci) _AddClone(working.get());
  return GetCount() > 0;
}

bool __PKCollectionInciOther::SaveAllForItem(std::uint16_t item) {
  if (!DeleteDataForItem(item)) return false;
  for (int i = 0; i < GetCount(); ++i) {
    auto* element = static_cast<__PKInciOther*>(GetItemAt(i));
    element->SetTagOverride(GetTagOverride());
    if (!element->SaveNew(item)) return false;
  }
  return true;
}

bool __PKCollectionInciOther::SaveDataAs(std::uint16_t from, std::uint16_t to) {
  std::unique_ptr<__PKInciOther> working = _CreateWorking(CreateElement());
  if (working == nullptr || !working->Load(from, 0)) return false;
  int left = _CountIncis(working.get(), to);
  int copied = 0;
  for (; copied <= kLastInci && working->Load(from, std::int16_t(copied)); ++copied) {
    working->_SetItem(to);
    if (!working->Save()) return false;
  }
  while (left > copied) {
    --left;
    if (!working->Load(to, std::int16_t(left)) || !working->DeleteData()) return false;
  }
  return true;
}

__PKInciOther* __PKCollectionInciOther::FindItemNo(std::uint16_t item, std::int16_t inci) const {
  for (int i = 0; i < GetCount(); ++i) {
    auto* element = static_cast<__PKInciOther*>(GetItemAt(i));
    if (element->GetItem() == item && element->GetInci() == inci) return element;
  }
  return nullptr;
}

// ---- Others without inci --------------------------------------------------

__PKNoInciOther* __PKCollectionNoInciOther::FindItemNo(std::uint16_t item) const {
  for (int i = 0; i < GetCount(); ++i) {
    auto* element = static_cast<__PKNoInciOther*>(GetItemAt(i));
    if (element->GetItemNo() == item) return element;
  }
  return nullptr;
}

// ---- Details without inci -------------------------------------------------

bool __PKCollectionNoInciDetail::LoadAllForItem(std::uint16_t first, std::uint16_t start) {
  ClearAll();
  std::unique_ptr<__PKNoInciDetail> working = _CreateWorking(CreateElement());
  if (working == nullptr) return false;
  for (int second = start; second <= kLastNumber && working->Load(first, std::uint16_t(second)); ++second)
    _AddClone(working.get());
  return GetCount() > 0;
}

// ---- Entry details --------------------------------------------------------

bool __PKCollectionEntryDetail::LoadAll() {
  if (_entry == nullptr || _entry->GetRecord() == nullptr || _entry->GetEntryNumber() == 0) return false;
  ClearAll();
  std::unique_ptr<__PKEntryDetail> working = _CreateWorking(CreateElement());
  if (working == nullptr) return false;
  working->SetNoteEntry(_entry);
  for (bool loaded = working->LoadFirst(); loaded; loaded = working->LoadNext()) {
    auto* clone = static_cast<__PKEntryDetail*>(working->CreateClone());
    clone->SetNoteEntry(_entry);
    Add(clone);
  }
  return GetCount() > 0;
}

bool __PKCollectionEntryDetail::LoadAllForENTNUM(std::int32_t entryNumber) {
  if (entryNumber == 0) return false;
  ClearAll();
  std::unique_ptr<__PKEntryDetail> working = _CreateWorking(CreateElement());
  if (working == nullptr) return false;
  for (int inci = 0; inci <= kLastInci && working->Load(entryNumber, std::int16_t(inci)); ++inci)
    _AddClone(working.get());
  return GetCount() > 0;
}

bool __PKCollectionEntryDetail::DestroyItemAt(int index) {
  __PKEntryDetail* doomed = GetDetailAt(index);
  if (index < 0 || index >= GetCount() || doomed == nullptr) return GetCount() > 0;
  for (int i = 0; i < GetCount(); ++i) {
    __PKEntryDetail* element = GetDetailAt(i);
    if (element->GetInci() > doomed->GetInci()) element->_SetInci(std::int16_t(element->GetInci() - 1));
  }
  doomed->DeleteData();
  ClearItemAt(index);
  return GetCount() > 0;
}
