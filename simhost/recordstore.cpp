#include "simhost/recordstore.h"

#include <algorithm>
#include <cstring>

#include "simhost/hostmeaning.h"

namespace simhost {
namespace {

// One number of a key: where it lies, how wide it is, whether it is signed.
struct KeyField {
  std::uint8_t offset;
  std::uint8_t width;
  bool isSigned;
};

struct LayoutFields {
  KeyField fields[3];
  std::uint8_t count;
};

const LayoutFields& FieldsOf(KeyLayout layout) {
  static const LayoutFields kItemInci = {{{0, 2, false}, {2, 2, true}}, 2};
  static const LayoutFields kEntryInci = {{{0, 4, true}, {4, 2, true}}, 2};
  static const LayoutFields kTripleInci = {{{0, 2, true}, {2, 2, true}, {4, 2, true}}, 3};
  static const LayoutFields kItemInciPlace = {{{0, 2, false}, {2, 2, true}, {4, 4, true}}, 3};
  static const LayoutFields kNumber = {{{0, 2, true}}, 1};
  switch (layout) {
    case KeyLayout::kEntryInci: return kEntryInci;
    case KeyLayout::kTripleInci: return kTripleInci;
    case KeyLayout::kItemInciPlace: return kItemInciPlace;
    case KeyLayout::kNumber: return kNumber;
    case KeyLayout::kItemInci: break;
  }
  return kItemInci;
}

// The tags whose key is not an item number and an inci.
struct TagLayout {
  EXTAG tag;
  KeyLayout layout;
};
const TagLayout kTagLayouts[] = {
    {tags::kTuplet, KeyLayout::kEntryInci},
    {tags::kArticulation, KeyLayout::kEntryInci},
    {tags::kShapeEntryMark, KeyLayout::kEntryInci},
    {tags::kDotMod, KeyLayout::kEntryInci},
    {tags::kFrameHold, KeyLayout::kTripleInci},
    {tags::kIndependentCell, KeyLayout::kTripleInci},
    {tags::kChord, KeyLayout::kTripleInci},
    {tags::kMidiExpression, KeyLayout::kTripleInci},
    {tags::kCenterShape, KeyLayout::kTripleInci},
    {tags::kGroup, KeyLayout::kTripleInci},
    {tags::kCurrentStaffSpec, KeyLayout::kItemInciPlace},
    {tags::kClefDef, KeyLayout::kNumber},
};

std::int64_t ReadField(const RecordKey& key, const KeyField& field) {
  if (field.width == 4) {
    std::uint32_t value;
    std::memcpy(&value, key.data() + field.offset, 4);
    return field.isSigned ? std::int64_t(std::int32_t(value)) : std::int64_t(value);
  }
  std::uint16_t value;
  std::memcpy(&value, key.data() + field.offset, 2);
  return field.isSigned ? std::int64_t(std::int16_t(value)) : std::int64_t(value);
}

void WriteField(RecordKey* key, const KeyField& field, std::int64_t value) {
  if (field.width == 4) {
    const std::uint32_t word = std::uint32_t(value);
    std::memcpy(key->data() + field.offset, &word, 4);
  } else {
    const std::uint16_t word = std::uint16_t(value);
    std::memcpy(key->data() + field.offset, &word, 2);
  }
}

// A number given as -1: every bit of the field set.
bool IsAskedFor(const RecordKey& key, const KeyField& field) {
  for (std::uint8_t i = 0; i < field.width; ++i)
    if (key[field.offset + i] != 0xFF) return false;
  return true;
}

}  // namespace

KeyLayout KeyLayoutOf(EXTAG tag) {
  for (const TagLayout& row : kTagLayouts)
    if (row.tag == tag) return row.layout;
  return KeyLayout::kItemInci;
}

RecordKey ItemKey(std::uint16_t item, std::int16_t inci) {
  RecordKey key{};
  std::memcpy(key.data(), &item, 2);
  std::memcpy(key.data() + 2, &inci, 2);
  return key;
}

RecordKey EntryKey(std::int32_t entryNumber, std::int16_t inci) {
  RecordKey key{};
  std::memcpy(key.data(), &entryNumber, 4);
  std::memcpy(key.data() + 4, &inci, 2);
  return key;
}

RecordKey TripleKey(std::int16_t first, std::int16_t second, std::int16_t inci) {
  RecordKey key{};
  std::memcpy(key.data(), &first, 2);
  std::memcpy(key.data() + 2, &second, 2);
  std::memcpy(key.data() + 4, &inci, 2);
  return key;
}

RecordKey NumberKey(std::int16_t number) {
  RecordKey key{};
  std::memcpy(key.data(), &number, 2);
  return key;
}

RecordKey KeyFrom(const void* key) {
  RecordKey copy{};
  if (key != nullptr) std::memcpy(copy.data(), key, copy.size());
  return copy;
}

std::vector<std::int64_t> KeyNumbers(EXTAG tag, const RecordKey& key) {
  const LayoutFields& layout = FieldsOf(KeyLayoutOf(tag));
  std::vector<std::int64_t> numbers;
  for (std::uint8_t i = 0; i < layout.count; ++i) numbers.push_back(ReadField(key, layout.fields[i]));
  return numbers;
}

bool RecordStore::KeyOrder::operator()(const RecordKey& a, const RecordKey& b) const {
  const LayoutFields& layout = FieldsOf(KeyLayoutOf(tag));
  for (std::uint8_t i = 0; i < layout.count; ++i) {
    const std::int64_t left = ReadField(a, layout.fields[i]);
    const std::int64_t right = ReadField(b, layout.fields[i]);
    if (left != right) return left < right;
  }
  return a < b;  // bytes the layout leaves free, which should be 0
}

RecordStore::TagRecords& RecordStore::RecordsOf(EXTAG tag) {
  auto found = _records.find(tag);
  if (found == _records.end()) found = _records.emplace(tag, TagRecords(KeyOrder{tag})).first;
  return found->second;
}

const RecordStore::TagRecords* RecordStore::RecordsOfConst(EXTAG tag) const {
  auto found = _records.find(tag);
  return found == _records.end() ? nullptr : &found->second;
}

const RecordBytes* RecordStore::Find(EXTAG tag, const RecordKey& key) const {
  const TagRecords* records = RecordsOfConst(tag);
  if (records == nullptr) return nullptr;
  auto found = records->find(key);
  return found == records->end() ? nullptr : &found->second;
}

RecordBytes* RecordStore::FindMutable(EXTAG tag, const RecordKey& key) {
  return const_cast<RecordBytes*>(Find(tag, key));
}

void RecordStore::Save(EXTAG tag, const RecordKey& key, RecordBytes bytes) {
  RecordsOf(tag)[key] = std::move(bytes);
}

bool RecordStore::CompleteKey(EXTAG tag, RecordKey* key) const {
  const KeyLayout kind = KeyLayoutOf(tag);
  const LayoutFields& layout = FieldsOf(kind);
  std::uint8_t first = layout.count;
  for (std::uint8_t i = 0; i < layout.count; ++i)
    if (IsAskedFor(*key, layout.fields[i])) {
      first = i;
      break;
    }
  if (first == layout.count) return true;  // nothing to assign
  if (kind == KeyLayout::kEntryInci && first == 0) return false;  // entry numbers come from frames

  // The records that share the numbers before the one to assign.
  const TagRecords* records = RecordsOfConst(tag);
  std::vector<std::int64_t> taken;
  if (records != nullptr)
    for (const auto& record : *records) {
      bool same = true;
      for (std::uint8_t i = 0; i < first && same; ++i)
        same = ReadField(record.first, layout.fields[i]) == ReadField(*key, layout.fields[i]);
      if (same) taken.push_back(ReadField(record.first, layout.fields[first]));
    }

  const bool isInci = first + 1 == layout.count;
  std::int64_t value = 0;
  if (isInci) {
    std::sort(taken.begin(), taken.end());
    for (std::int64_t used : taken)
      if (used == value) ++value;
  } else {
    value = 1;
    for (std::int64_t used : taken) value = std::max(value, used + 1);
  }
  WriteField(key, layout.fields[first], value);
  for (std::uint8_t i = first + 1; i < layout.count; ++i)
    if (IsAskedFor(*key, layout.fields[i])) WriteField(key, layout.fields[i], 0);
  return true;
}

bool RecordStore::Create(EXTAG tag, RecordKey* key, RecordBytes bytes) {
  RecordKey completed = *key;
  if (!CompleteKey(tag, &completed) || Find(tag, completed) != nullptr) return false;
  *key = completed;
  Save(tag, completed, std::move(bytes));
  return true;
}

bool RecordStore::Delete(EXTAG tag, const RecordKey& key) {
  auto found = _records.find(tag);
  if (found == _records.end() || found->second.erase(key) == 0) return false;
  if (KeyLayoutOf(tag) == KeyLayout::kEntryInci) {
    const std::vector<std::int64_t> numbers = KeyNumbers(tag, key);
    CloseInciGap(found->second, std::int32_t(numbers[0]), std::int16_t(numbers[1]));
  }
  return true;
}

void RecordStore::CloseInciGap(TagRecords& records, std::int32_t entryNumber, std::int16_t inci) {
  for (std::int32_t above = std::int32_t(inci) + 1; above <= 0x7FFF; ++above) {
    auto record = records.find(EntryKey(entryNumber, std::int16_t(above)));
    if (record == records.end()) break;
    RecordBytes bytes = std::move(record->second);
    records.erase(record);
    records.emplace(EntryKey(entryNumber, std::int16_t(above - 1)), std::move(bytes));
  }
}

bool RecordStore::Next(EXTAG tag, RecordKey* key) const {
  const TagRecords* records = RecordsOfConst(tag);
  if (records == nullptr) return false;
  auto after = records->upper_bound(*key);
  if (after == records->end()) return false;
  *key = after->first;
  return true;
}

bool RecordStore::Previous(EXTAG tag, RecordKey* key) const {
  const TagRecords* records = RecordsOfConst(tag);
  if (records == nullptr) return false;
  auto at = records->lower_bound(*key);
  if (at == records->begin()) return false;
  *key = std::prev(at)->first;
  return true;
}

std::vector<std::pair<RecordKey, const RecordBytes*>> RecordStore::All(EXTAG tag) const {
  std::vector<std::pair<RecordKey, const RecordBytes*>> all;
  if (const TagRecords* records = RecordsOfConst(tag))
    for (const auto& record : *records) all.emplace_back(record.first, &record.second);
  return all;
}

std::vector<EXTAG> RecordStore::Tags() const {
  std::vector<EXTAG> tagList;
  for (const auto& group : _records)
    if (!group.second.empty()) tagList.push_back(group.first);
  return tagList;
}

std::size_t RecordStore::Count(EXTAG tag) const {
  if (tag != 0) {
    const TagRecords* records = RecordsOfConst(tag);
    return records == nullptr ? 0 : records->size();
  }
  std::size_t total = 0;
  for (const auto& group : _records) total += group.second.size();
  return total;
}

}  // namespace simhost
