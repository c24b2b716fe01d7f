#include "simhost/document.h"

#include <algorithm>
#include <iterator>
#include <cstring>

namespace simhost {
namespace {

// Layer indexes the document keeps; the host's layer count (HK_GetMaxLayers) is smaller.
constexpr std::int16_t kLayerLimit = 32;

// Offsets in the measure record.
constexpr int kMeasureKeyOffset = 2;
constexpr int kMeasureBeatsOffset = 4;
constexpr int kMeasureBeatDurationOffset = 6;
constexpr int kMeasureAuxFlagsOffset = 8;
constexpr int kSystemStaffSize = 24;

template <class T>
T ReadAt(const RecordBytes& bytes, int offset) {
  T value{};
  if (bytes.size() >= std::size_t(offset) + sizeof(T)) std::memcpy(&value, bytes.data() + offset, sizeof(T));
  return value;
}

template <class T>
void WriteAt(RecordBytes& bytes, int offset, T value) {
  if (bytes.size() < std::size_t(offset) + sizeof(T)) bytes.resize(std::size_t(offset) + sizeof(T));
  std::memcpy(bytes.data() + offset, &value, sizeof(T));
}

const std::vector<EXENTRY>& NoEntries() {
  static const std::vector<EXENTRY> none;
  return none;
}

}  // namespace

Document::Document() {
  for (std::int16_t clef = 0; clef < kClefCount; ++clef) {
    RecordBytes definition(kClefDefSize, 0);
    WriteAt<std::int16_t>(definition, 0, ClefMiddleCPosition(clef));
    _records.Save(tags::kClefDef, NumberKey(clef), std::move(definition));
  }
}

// ---- Staves ---------------------------------------------------------------

std::int16_t Document::AddStaff(std::int16_t staff) {
  if (staff == 0) {
    staff = 1;
    for (std::int16_t existing : _scoreOrder) staff = std::max<std::int16_t>(staff, std::int16_t(existing + 1));
  }
  if (staff <= 0 || HasStaff(staff)) return 0;
  _scoreOrder.push_back(staff);
  _records.Save(tags::kStaff, ItemKey(std::uint16_t(staff)), RecordBytes(kStaffRecordSize, 0));
  SetScoreOrder(_scoreOrder);  // rewrites the system-staff records
  for (std::int16_t measure = 1; measure <= _measureCount; ++measure)
    WriteFrameHold(staff, measure, ClefAt(staff, measure));
  return staff;
}

bool Document::HasStaff(std::int16_t staff) const {
  return std::find(_scoreOrder.begin(), _scoreOrder.end(), staff) != _scoreOrder.end();
}

bool Document::SetScoreOrder(const std::vector<std::int16_t>& staves) {
  std::vector<std::int16_t> sortedNew = staves, sortedOld = _scoreOrder;
  std::sort(sortedNew.begin(), sortedNew.end());
  std::sort(sortedOld.begin(), sortedOld.end());
  if (sortedNew != sortedOld) return false;
  _scoreOrder = staves;
  for (const auto& record : _records.All(tags::kSystemStaff))
    if (KeyNumbers(tags::kSystemStaff, record.first)[0] == 0) _records.Delete(tags::kSystemStaff, record.first);
  for (std::size_t place = 0; place < _scoreOrder.size(); ++place) {
    RecordBytes systemStaff(kSystemStaffSize, 0);
    WriteAt<std::int16_t>(systemStaff, 0, _scoreOrder[place]);
    _records.Save(tags::kSystemStaff, ItemKey(0, std::int16_t(place)), std::move(systemStaff));
  }
  return true;
}

bool Document::SetStaffList(std::uint16_t list, const std::vector<std::int16_t>& staves) {
  if (list == 0) return false;
  for (std::int16_t staff : staves)
    if (!HasStaff(staff)) return false;
  _staffLists[list] = staves;
  return true;
}

std::int16_t Document::SlotToStaff(std::int16_t slot, std::uint16_t list) const {
  const std::vector<std::int16_t>* staves = &_scoreOrder;
  if (list != 0) {
    auto found = _staffLists.find(list);
    if (found == _staffLists.end()) return 0;
    staves = &found->second;
  }
  if (slot < 1 || std::size_t(slot) > staves->size()) return 0;
  return (*staves)[std::size_t(slot - 1)];
}

std::int16_t Document::StaffToSlot(std::int16_t staff, std::uint16_t list) const {
  const std::vector<std::int16_t>* staves = &_scoreOrder;
  if (list != 0) {
    auto found = _staffLists.find(list);
    if (found == _staffLists.end()) return 0;
    staves = &found->second;
  }
  auto at = std::find(staves->begin(), staves->end(), staff);
  return at == staves->end() ? 0 : std::int16_t(at - staves->begin() + 1);
}

// ---- Measures -------------------------------------------------------------

void Document::WriteMeasureRecord(std::int16_t measure, TimeSignature time, std::uint16_t key) {
  RecordBytes record(kMeasureRecordSize, 0);
  if (const RecordBytes* old = _records.Find(tags::kMeasure, ItemKey(std::uint16_t(measure)))) record = *old;
  WriteAt<std::uint16_t>(record, kMeasureKeyOffset, key);
  WriteAt<std::int16_t>(record, kMeasureBeatsOffset, time.beats);
  WriteAt<std::int16_t>(record, kMeasureBeatDurationOffset, time.beatDuration);
  _records.Save(tags::kMeasure, ItemKey(std::uint16_t(measure)), std::move(record));
}

std::int16_t Document::AddMeasure(TimeSignature time, std::uint16_t key) {
  const std::int16_t measure = ++_measureCount;
  WriteMeasureRecord(measure, time, key);
  for (std::int16_t staff : _scoreOrder) WriteFrameHold(staff, measure, ClefAt(staff, measure));
  return measure;
}

std::int16_t Document::AddMeasures(std::int16_t count, TimeSignature time, std::uint16_t key) {
  std::int16_t last = 0;
  for (std::int16_t i = 0; i < count; ++i) last = AddMeasure(time, key);
  return last;
}

bool Document::SetTimeSignature(std::int16_t measure, TimeSignature time) {
  if (measure < 1 || measure > _measureCount) return false;
  WriteMeasureRecord(measure, time, GetKey(measure));
  return true;
}

TimeSignature Document::GetTimeSignature(std::int16_t measure) const {
  const RecordBytes* record = _records.Find(tags::kMeasure, ItemKey(std::uint16_t(measure)));
  if (record == nullptr || measure < 1 || measure > _measureCount) return TimeSignature();
  return TimeSignature{ReadAt<std::int16_t>(*record, kMeasureBeatsOffset),
                       ReadAt<std::int16_t>(*record, kMeasureBeatDurationOffset)};
}

bool Document::SetKey(std::int16_t measure, std::uint16_t key) {
  if (measure < 1 || measure > _measureCount) return false;
  WriteMeasureRecord(measure, GetTimeSignature(measure), key);
  return true;
}

std::uint16_t Document::GetKey(std::int16_t measure) const {
  const RecordBytes* record = _records.Find(tags::kMeasure, ItemKey(std::uint16_t(measure)));
  if (record == nullptr || measure < 1 || measure > _measureCount) return 0;
  return ReadAt<std::uint16_t>(*record, kMeasureKeyOffset);
}

std::int32_t Document::MeasureDuration(std::int16_t staff, std::int16_t measure) const {
  if (!HasStaff(staff) || measure < 1 || measure > _measureCount) return 0;
  return GetTimeSignature(measure).Duration();
}

// ---- Clefs ----------------------------------------------------------------

void Document::WriteFrameHold(std::int16_t staff, std::int16_t measure, std::int16_t clef) {
  const RecordKey key = TripleKey(staff, measure, 0);
  RecordBytes hold(kFrameHoldSize, 0);
  if (const RecordBytes* old = _records.Find(tags::kFrameHold, key)) hold = *old;
  WriteAt<std::int16_t>(hold, 0, clef);
  _records.Save(tags::kFrameHold, key, std::move(hold));
}

bool Document::SetClef(std::int16_t staff, std::int16_t measure, std::int16_t clef) {
  if (!HasStaff(staff) || measure < 1 || measure > _measureCount) return false;
  _clefChanges[{staff, measure}] = clef;
  for (std::int16_t m = measure; m <= _measureCount; ++m) {
    if (m > measure && _clefChanges.count({staff, m}) != 0) break;
    WriteFrameHold(staff, m, clef);
  }
  return true;
}

std::int16_t Document::ClefAt(std::int16_t staff, std::int16_t measure) const {
  // The nearest change at or before the measure: one search, not a walk back
  // measure by measure (entries are inserted in every measure of long scores).
  auto after = _clefChanges.upper_bound({staff, measure});
  if (after == _clefChanges.begin()) return kClefTreble;
  const auto& nearest = *std::prev(after);
  if (nearest.first.first != staff || nearest.first.second < 1) return kClefTreble;
  return nearest.second;
}

// ---- Entries --------------------------------------------------------------

bool Document::IsValidLayer(const LayerPlace& place) const {
  return HasStaff(place.staff) && place.measure >= 1 && place.measure <= _measureCount && place.layer >= 0 &&
         place.layer < kLayerLimit;
}

const std::vector<EXENTRY>& Document::Entries(const LayerPlace& place) const {
  auto found = _layers.find(place);
  return found == _layers.end() ? NoEntries() : found->second;
}

std::vector<EXENTRY>* Document::StoredEntries(const LayerPlace& place) {
  auto found = _layers.find(place);
  return found == _layers.end() ? nullptr : &found->second;
}

bool Document::SetEntries(const LayerPlace& place, std::vector<EXENTRY> entries) {
  if (!IsValidLayer(place)) return false;
  for (EXENTRY& entry : entries) {
    if (entry.entryNumber == 0) entry.entryNumber = std::uint32_t(NewEntryNumber());
    _lastEntryNumber = std::max(_lastEntryNumber, std::int32_t(entry.entryNumber));
  }
  if (entries.empty())
    _layers.erase(place);
  else
    _layers[place] = std::move(entries);
  return true;
}

bool Document::UpdateEntry(const EntryPlace& place, const EXENTRY& entry) {
  std::vector<EXENTRY>* stored = StoredEntries(place.layer);
  if (stored == nullptr || place.index < 0 || std::size_t(place.index) >= stored->size()) return false;
  const std::uint32_t number = (*stored)[std::size_t(place.index)].entryNumber;
  (*stored)[std::size_t(place.index)] = entry;
  (*stored)[std::size_t(place.index)].entryNumber = number;
  return true;
}

bool Document::FindEntry(std::int32_t entryNumber, EntryPlace* place) const {
  if (entryNumber == 0) return false;
  for (const auto& layer : _layers)
    for (std::size_t i = 0; i < layer.second.size(); ++i)
      if (std::int32_t(layer.second[i].entryNumber) == entryNumber) {
        if (place != nullptr) *place = EntryPlace{layer.first, std::int32_t(i)};
        return true;
      }
  return false;
}

const EXENTRY* Document::EntryByNumber(std::int32_t entryNumber) const {
  EntryPlace place;
  if (!FindEntry(entryNumber, &place)) return nullptr;
  return &Entries(place.layer)[std::size_t(place.index)];
}

std::vector<LayerPlace> Document::FilledLayers() const {
  std::vector<LayerPlace> places;
  for (const auto& layer : _layers) places.push_back(layer.first);
  return places;
}

// ---- Tuplets --------------------------------------------------------------

std::int16_t Document::AddTuplet(const EntryPlace& first, const TupletRatio& ratio) {
  std::vector<EXENTRY>* stored = StoredEntries(first.layer);
  if (stored == nullptr || first.index < 0 || std::size_t(first.index) >= stored->size() || !ratio.IsValid())
    return -1;
  EXENTRY& entry = (*stored)[std::size_t(first.index)];
  EDTTuplet2005 tuplet{};
  WriteTupletRatio(tuplet, ratio);
  RecordBytes bytes(sizeof(tuplet));
  std::memcpy(bytes.data(), &tuplet, sizeof(tuplet));
  RecordKey key = EntryKey(std::int32_t(entry.entryNumber), -1);
  if (!_records.Create(tags::kTuplet, &key, std::move(bytes))) return -1;
  entry.flags |= kEntryTupletFlag;
  return std::int16_t(KeyNumbers(tags::kTuplet, key)[1]);
}

bool Document::TupletRatioAt(const EXENTRY& entry, std::int16_t inci, TupletRatio* ratio) const {
  if ((entry.flags & kEntryTupletFlag) == 0 || entry.entryNumber == 0) return false;
  const RecordBytes* record = _records.Find(tags::kTuplet, EntryKey(std::int32_t(entry.entryNumber), inci));
  if (record == nullptr) return false;
  EDTTuplet2005 tuplet{};
  std::memcpy(&tuplet, record->data(), std::min(record->size(), sizeof(tuplet)));
  *ratio = ReadTupletRatio(tuplet);
  return true;
}

std::size_t Document::TupletEnd(const std::vector<EXENTRY>& entries, std::size_t first, std::int16_t inci) const {
  TupletRatio ratio;
  if (!TupletRatioAt(entries[first], inci, &ratio) || !ratio.IsValid()) return first;
  std::int32_t written = 0;
  std::size_t last = first;
  for (std::size_t j = first; j < entries.size() && written < ratio.WrittenSpan();) {
    // A tuplet nested in this one counts with the time it takes, not with its written values.
    const std::int16_t nestedInci = j == first ? std::int16_t(inci + 1) : 0;
    TupletRatio nested;
    if (TupletRatioAt(entries[j], nestedInci, &nested) && nested.IsValid()) {
      last = TupletEnd(entries, j, nestedInci);
      written += nested.ElapsedSpan();
      j = last + 1;
      continue;
    }
    if ((entries[j].flags & kEntryGraceFlag) == 0) written += entries[j].duration;
    last = j++;
  }
  return last;
}

std::vector<TupletInfo> Document::TupletItems(const std::vector<EXENTRY>& entries) const {
  std::vector<TupletInfo> items;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const EXENTRY& entry = entries[i];
    if ((entry.flags & kEntryTupletFlag) == 0 || entry.entryNumber == 0) continue;
    for (std::int16_t inci = 0;; ++inci) {
      const RecordBytes* record = _records.Find(tags::kTuplet, EntryKey(std::int32_t(entry.entryNumber), inci));
      if (record == nullptr) break;
      TupletInfo item{};
      item.firstEntry = std::int16_t(i);
      item.inci = inci;
      std::memcpy(&item.tuplet, record->data(), std::min(record->size(), sizeof(item.tuplet)));
      item.lastEntry = std::int16_t(TupletEnd(entries, i, inci));
      items.push_back(item);
    }
  }
  return items;
}

std::int32_t Document::ElapsedDuration(const std::vector<EXENTRY>& entries, const std::vector<TupletInfo>& tuplets) {
  std::vector<bool> covered(entries.size(), false);
  std::int32_t total = 0;
  // A tuplet takes its elapsed span; tuplets nested in it are part of that span.
  for (const TupletInfo& item : tuplets) {
    const TupletRatio ratio = ReadTupletRatio(item.tuplet);
    if (!ratio.IsValid() || item.firstEntry < 0 || std::size_t(item.firstEntry) >= entries.size() ||
        covered[std::size_t(item.firstEntry)])
      continue;
    total += ratio.ElapsedSpan();
    for (std::size_t j = std::size_t(item.firstEntry); j <= std::size_t(item.lastEntry) && j < entries.size(); ++j)
      covered[j] = true;
  }
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (!covered[i] && (entries[i].flags & kEntryGraceFlag) == 0) total += entries[i].duration;
  return total;
}

// ---- Articulations --------------------------------------------------------

std::int16_t Document::ArticulationDefinition(ArticulationKind kind) {
  for (const auto& record : _records.All(tags::kArticulationDef))
    if (!record.second->empty() && ArticulationKindOf(record.second->data()) == kind)
      return std::int16_t(KeyNumbers(tags::kArticulationDef, record.first)[0]);
  RecordBytes definition(kArticulationDefSize, 0);
  definition[0] = ArticulationSymbol(kind);
  definition[3] = 24;                            // symbol size
  WriteAt<std::uint16_t>(definition, 0x0A, 0x0008);  // automatic placement
  RecordKey key = ItemKey(0xFFFF, -1);
  _records.Create(tags::kArticulationDef, &key, std::move(definition));
  return std::int16_t(KeyNumbers(tags::kArticulationDef, key)[0]);
}

ArticulationKind Document::ArticulationKindOfDefinition(std::int16_t definition) const {
  const RecordBytes* record = _records.Find(tags::kArticulationDef, ItemKey(std::uint16_t(definition)));
  if (record == nullptr || record->empty()) return ArticulationKind::kOther;
  return ArticulationKindOf(record->data());
}

std::int16_t Document::AddArticulation(std::int32_t entryNumber, std::int16_t definition) {
  EntryPlace place;
  if (!FindEntry(entryNumber, &place)) return -1;
  RecordBytes bytes(kArticulationSize, 0);
  WriteAt<std::int16_t>(bytes, 0, definition);
  RecordKey key = EntryKey(entryNumber, -1);
  if (!_records.Create(tags::kArticulation, &key, std::move(bytes))) return -1;
  (*StoredEntries(place.layer))[std::size_t(place.index)].flags |= kEntryArticulationFlag;
  return std::int16_t(KeyNumbers(tags::kArticulation, key)[1]);
}

std::vector<std::int16_t> Document::Articulations(std::int32_t entryNumber) const {
  std::vector<std::int16_t> definitions;
  for (std::int16_t inci = 0;; ++inci) {
    const RecordBytes* record = _records.Find(tags::kArticulation, EntryKey(entryNumber, inci));
    if (record == nullptr) break;
    definitions.push_back(ReadAt<std::int16_t>(*record, 0));
  }
  return definitions;
}

// ---- Smart shapes ---------------------------------------------------------

std::uint16_t Document::AddSlur(std::int32_t startEntry, std::int32_t endEntry, std::int16_t type) {
  EntryPlace start, end;
  if (!FindEntry(startEntry, &start) || !FindEntry(endEntry, &end) || start.layer.measure > end.layer.measure)
    return 0;
  RecordBytes shape(kSmartShapeSize, 0);
  WriteAt<std::int16_t>(shape, kShapeTypeOffset, type);
  WriteAt<std::uint16_t>(shape, kShapeFlagsOffset, kShapeEntryAttached);
  const EntryPlace ends[2] = {start, end};
  const std::int32_t numbers[2] = {startEntry, endEntry};
  const int offsets[2] = {kShapeStartOffset, kShapeEndOffset};
  for (int i = 0; i < 2; ++i) {
    WriteAt<std::int16_t>(shape, offsets[i] + kEndPointStaff, ends[i].layer.staff);
    WriteAt<std::int16_t>(shape, offsets[i] + kEndPointMeasure, ends[i].layer.measure);
    WriteAt<std::int32_t>(shape, offsets[i] + kEndPointEntry, numbers[i]);
  }
  RecordKey shapeKey = ItemKey(0xFFFF, -1);
  if (!_records.Create(tags::kSmartShape, &shapeKey, std::move(shape))) return 0;
  const std::uint16_t number = std::uint16_t(KeyNumbers(tags::kSmartShape, shapeKey)[0]);

  for (std::int16_t measure = start.layer.measure; measure <= end.layer.measure; ++measure) {
    std::uint16_t centre = 0;
    if (measure != start.layer.measure && measure != end.layer.measure) {
      RecordKey centreKey = TripleKey(std::int16_t(number), -1, 0);
      _records.Create(tags::kCenterShape, &centreKey, RecordBytes(kCenterShapeSize, 0));
      centre = std::uint16_t(KeyNumbers(tags::kCenterShape, centreKey)[1]);
    }
    RecordBytes mark(kShapeMeasureMarkSize, 0);
    WriteAt<std::uint16_t>(mark, 0, number);
    WriteAt<std::uint16_t>(mark, 2, centre);
    RecordKey markKey = ItemKey(std::uint16_t(measure), -1);
    _records.Create(tags::kShapeMeasureMark, &markKey, std::move(mark));
    if (RecordBytes* measureRecord = _records.FindMutable(tags::kMeasure, ItemKey(std::uint16_t(measure))))
      WriteAt<std::uint16_t>(*measureRecord, kMeasureAuxFlagsOffset,
                             ReadAt<std::uint16_t>(*measureRecord, kMeasureAuxFlagsOffset) |
                                 kMeasureCarriesSmartShapes);
  }
  for (int i = 0; i < 2; ++i) {
    if (i == 1 && endEntry == startEntry) break;
    RecordBytes mark(kShapeEntryMarkSize, 0);
    WriteAt<std::uint16_t>(mark, 0, number);
    RecordKey markKey = EntryKey(numbers[i], -1);
    _records.Create(tags::kShapeEntryMark, &markKey, std::move(mark));
    (*StoredEntries(ends[i].layer))[std::size_t(ends[i].index)].flags2 |= kEntrySmartShapeFlag;
  }
  return number;
}

std::vector<EntryShape> Document::EntryShapes() const {
  std::vector<EntryShape> shapes;
  for (const auto& record : _records.All(tags::kSmartShape)) {
    const RecordBytes& bytes = *record.second;
    if ((ReadAt<std::uint16_t>(bytes, kShapeFlagsOffset) & kShapeEntryAttached) == 0) continue;
    EntryShape shape;
    shape.number = std::uint16_t(KeyNumbers(tags::kSmartShape, record.first)[0]);
    shape.type = ReadAt<std::int16_t>(bytes, kShapeTypeOffset);
    shape.startEntry = ReadAt<std::int32_t>(bytes, kShapeStartOffset + kEndPointEntry);
    shape.endEntry = ReadAt<std::int32_t>(bytes, kShapeEndOffset + kEndPointEntry);
    shapes.push_back(shape);
  }
  return shapes;
}

// ---- Regions --------------------------------------------------------------

EREGION Document::MakeRegion(std::int16_t firstSlot, std::int16_t lastSlot, std::int16_t firstMeasure,
                             std::int16_t lastMeasure, std::int32_t startPos, std::int32_t endPos) {
  EREGION region{};
  region.startSlot = firstSlot;
  region.endSlot = lastSlot;
  region.startMeasure = firstMeasure;
  region.endMeasure = lastMeasure;
  region.startPos = startPos;
  region.endPos = endPos;
  return region;
}

EREGION Document::WholeDocument() const {
  if (_scoreOrder.empty() || _measureCount == 0) return EREGION{};
  return MakeRegion(1, StaffCount(), 1, _measureCount);
}

}  // namespace simhost
