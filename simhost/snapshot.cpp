#include "simhost/snapshot.h"

#include <cstring>
#include <set>

namespace simhost {
namespace {

// The cell-detail tags, keyed (staff, measure, inci).
const EXTAG kCellTags[] = {tags::kFrameHold, tags::kIndependentCell, tags::kChord, tags::kMidiExpression};

std::string TagText(EXTAG tag) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const char c = char((tag >> shift) & 0xFF);
    if (c >= 0x20 && c < 0x7F)
      text += c;
    else
      text += "\\" + std::to_string(int(std::uint8_t(c)));
  }
  return text;
}

std::string KeyText(EXTAG tag, const RecordKey& key) {
  std::string text;
  for (std::int64_t number : KeyNumbers(tag, key)) text += (text.empty() ? "" : "/") + std::to_string(number);
  return text;
}

template <class T>
T ReadAt(const RecordBytes& bytes, int offset) {
  T value{};
  if (bytes.size() >= std::size_t(offset) + sizeof(T)) std::memcpy(&value, bytes.data() + offset, sizeof(T));
  return value;
}

void AddRecord(StaffSnapshot& snapshot, EXTAG tag, const RecordKey& key, const RecordBytes& bytes) {
  snapshot.parts["record " + TagText(tag) + " " + KeyText(tag, key)] = bytes;
}

}  // namespace

StaffSnapshot SnapshotStaff(const Document& document, std::int16_t staff) {
  StaffSnapshot snapshot;
  if (!document.HasStaff(staff)) return snapshot;
  const RecordStore& records = document.Records();
  if (const RecordBytes* staffRecord = records.Find(tags::kStaff, ItemKey(std::uint16_t(staff))))
    AddRecord(snapshot, tags::kStaff, ItemKey(std::uint16_t(staff)), *staffRecord);

  std::set<std::int32_t> entryNumbers;
  for (const LayerPlace& place : document.FilledLayers()) {
    if (place.staff != staff) continue;
    const std::vector<EXENTRY>& entries = document.Entries(place);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(entries.data());
    snapshot.parts["entries m" + std::to_string(place.measure) + " l" + std::to_string(place.layer)] =
        RecordBytes(bytes, bytes + entries.size() * sizeof(EXENTRY));
    for (const EXENTRY& entry : entries) entryNumbers.insert(std::int32_t(entry.entryNumber));
  }

  std::set<std::uint16_t> shapes;
  for (EXTAG tag : records.Tags()) {
    const KeyLayout layout = KeyLayoutOf(tag);
    for (const auto& record : records.All(tag)) {
      const std::vector<std::int64_t> numbers = KeyNumbers(tag, record.first);
      if (layout == KeyLayout::kEntryInci && entryNumbers.count(std::int32_t(numbers[0])) != 0)
        AddRecord(snapshot, tag, record.first, *record.second);
    }
  }
  for (EXTAG tag : kCellTags)
    for (const auto& record : records.All(tag))
      if (KeyNumbers(tag, record.first)[0] == staff) AddRecord(snapshot, tag, record.first, *record.second);

  // Smart shapes with an end on this staff, with their measure marks and centre shapes.
  for (const auto& record : records.All(tags::kSmartShape)) {
    const RecordBytes& shape = *record.second;
    if (ReadAt<std::int16_t>(shape, kShapeStartOffset + kEndPointStaff) != staff &&
        ReadAt<std::int16_t>(shape, kShapeEndOffset + kEndPointStaff) != staff)
      continue;
    AddRecord(snapshot, tags::kSmartShape, record.first, shape);
    shapes.insert(std::uint16_t(KeyNumbers(tags::kSmartShape, record.first)[0]));
  }
  for (const auto& record : records.All(tags::kShapeMeasureMark))
    if (shapes.count(ReadAt<std::uint16_t>(*record.second, 0)) != 0)
      AddRecord(snapshot, tags::kShapeMeasureMark, record.first, *record.second);
  for (const auto& record : records.All(tags::kCenterShape))
    if (shapes.count(std::uint16_t(KeyNumbers(tags::kCenterShape, record.first)[0])) != 0)
      AddRecord(snapshot, tags::kCenterShape, record.first, *record.second);
  return snapshot;
}

std::string DescribeDifferences(const StaffSnapshot& before, const StaffSnapshot& after) {
  std::string text;
  for (const auto& part : before.parts) {
    auto found = after.parts.find(part.first);
    if (found == after.parts.end())
      text += "removed: " + part.first + "\n";
    else if (found->second != part.second)
      text += "changed: " + part.first + "\n";
  }
  for (const auto& part : after.parts)
    if (before.parts.count(part.first) == 0) text += "added: " + part.first + "\n";
  return text;
}

}  // namespace simhost
