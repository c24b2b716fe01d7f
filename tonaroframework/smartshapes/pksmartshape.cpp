#include "tonaroframework/smartshapes/pksmartshape.h"

#include <cstring>
#include <initializer_list>

#include "tonaroframework/entries/pknoteentry.h"
#include "tonaroframework/score/pkmeasure.h"
#include "tonaroframework/score/pkmusicregion.h"
#include "tonaropdk/exentry.h"
#include "tonaropdk/hkbinding.h"

namespace {

// A new shape record: the host assigns the shape number; the second key word is 0.
constexpr std::uint16_t kAssignShape = 0xFFFF;

template <class Value>
Value ReadAt(const std::uint8_t* bytes, int offset) {
  Value value;
  std::memcpy(&value, bytes + offset, sizeof value);
  return value;
}

template <class Value>
void WriteAt(std::uint8_t* bytes, int offset, Value value) {
  std::memcpy(bytes + offset, &value, sizeof value);
}

// End-point fields.
constexpr int kStaffOffset = 0;
constexpr int kMeasureOffset = 2;
constexpr int kEntryOrPositionOffset = 4;

}  // namespace

// ---- Segments -------------------------------------------------------------

std::int16_t PKSmartShapeSegment::GetStaff() const { return ReadAt<std::int16_t>(_endPoint, kStaffOffset); }
void PKSmartShapeSegment::SetStaff(std::int16_t staff) { WriteAt(_endPoint, kStaffOffset, staff); }
std::int16_t PKSmartShapeSegment::GetMeasure() const { return ReadAt<std::int16_t>(_endPoint, kMeasureOffset); }
void PKSmartShapeSegment::SetMeasure(std::int16_t measure) { WriteAt(_endPoint, kMeasureOffset, measure); }
std::int32_t PKSmartShapeSegment::_Field() const { return ReadAt<std::int32_t>(_endPoint, kEntryOrPositionOffset); }
void PKSmartShapeSegment::_SetField(std::int32_t value) { WriteAt(_endPoint, kEntryOrPositionOffset, value); }

// ---- Shapes ---------------------------------------------------------------

PKSmartShape::PKSmartShape() { _SetDataBlock(_record); }

PKSmartShape::~PKSmartShape() = default;

std::int16_t PKSmartShape::GetShapeType() const { return ReadAt<std::int16_t>(_record, kTypeOffset); }
void PKSmartShape::SetShapeType(std::int16_t type) { WriteAt(_record, kTypeOffset, type); }
std::uint16_t PKSmartShape::GetFlags() const { return ReadAt<std::uint16_t>(_record, kFlagsOffset); }

PKSmartShapeSegment* PKSmartShape::GetStartSegment() {
  if (_start == nullptr) _start = std::make_unique<PKSmartShapeSegment>(_record + kStartOffset, this);
  return _start.get();
}

PKSmartShapeSegment* PKSmartShape::GetEndSegment() {
  if (_end == nullptr) _end = std::make_unique<PKSmartShapeSegment>(_record + kEndOffset, this);
  return _end.get();
}

bool PKSmartShape::SaveNew() {
  if (DataSizeSave() <= 0) return false;
  _SetItemKey(kAssignShape, 0);
  return _CreateRecord();
}

void PKSmartShape::_LoadCenterShapes() {
  _centres.ClearAll();
  for (int measure = GetStartSegment()->GetMeasure(); measure <= GetEndSegment()->GetMeasure(); ++measure) {
    PKSmartShapeMeasureMarks marks;
    marks.LoadAllForItem(std::uint16_t(measure));
    for (int i = 0; i < marks.GetCount(); ++i) {
      PKSmartShapeMeasureMark* mark = marks.GetMarkAt(i);
      if (mark->GetShapeNumber() != GetItemNo() || mark->GetCenterShapeInci() == 0) continue;
      auto* centre = new PKCenterSmartShape();
      centre->Load(GetItemNo(), mark->GetCenterShapeInci());
      _centres.Add(centre);
    }
  }
}

bool PKSmartShape::SaveNewEverything(PKNoteEntry* startEntry, PKNoteEntry* endEntry) {
  if (!SaveNew()) return false;
  const std::uint16_t shape = GetItemNo();
  const int first = GetStartSegment()->GetMeasure();
  const int last = GetEndSegment()->GetMeasure();
  for (int measure = first; measure <= last; ++measure) {
    PKSmartShapeMeasureMark mark;
    mark.SetShapeNumber(shape);
    if (measure > first && measure < last) {
      PKCenterSmartShape centre;
      if (centre.SaveNew(shape)) mark.SetCenterShapeInci(centre.GetSecond());
    }
    mark.SaveNew(std::uint16_t(measure));
    PKMeasure record;
    if (record.Load(std::uint16_t(measure))) {
      record._SetAuxFlag(PKMeasure::kAuxSmartShapes, true);
      record.Save();
    }
  }
  for (PKNoteEntry* entry : {startEntry, endEntry}) {
    if (entry == nullptr) continue;
    PKSmartShapeEntryMark mark;
    mark.SetShapeNumber(shape);
    mark.SetNoteEntry(entry);
    mark.SaveNew();
  }
  return true;
}

void PKSmartShape::DeleteEverything() {
  if (GetLoadedSize() <= 0) return;
  const std::uint16_t shape = GetItemNo();
  for (int measure = GetStartSegment()->GetMeasure(); measure <= GetEndSegment()->GetMeasure(); ++measure) {
    PKSmartShapeMeasureMarks marks;
    marks.LoadAllForItem(std::uint16_t(measure));
    for (int i = marks.GetCount() - 1; i >= 0; --i)
      if (marks.GetMarkAt(i)->GetShapeNumber() == shape) marks.GetMarkAt(i)->DeleteData();
  }
  if (IsEntryAttached()) {
    for (std::int32_t entryNumber : {GetStartSegment()->GetEntryNumber(), GetEndSegment()->GetEntryNumber()}) {
      PKSmartShapeEntryMarks marks;
      marks.LoadAllForENTNUM(entryNumber);
      for (int i = marks.GetCount() - 1; i >= 0; --i)
        if (marks.GetMarkAt(i)->GetShapeNumber() == shape) marks.GetMarkAt(i)->DeleteData();
    }
  }
  for (int i = _centres.GetCount() - 1; i >= 0; --i) static_cast<__PKBaseData*>(_centres.GetItemAt(i))->DeleteData();
  _centres.ClearAll();
  DeleteData();
}

void PKSmartShape::AssignToStaff(int staff) {
  GetStartSegment()->SetStaff(std::int16_t(staff));
  GetEndSegment()->SetStaff(std::int16_t(staff));
}

bool PKSmartShape::IsWithinRegion(PKMusicRegion* region) {
  if (region == nullptr) return false;
  PKSmartShapeSegment* ends[] = {GetStartSegment(), GetEndSegment()};
  for (PKSmartShapeSegment* end : ends) {
    if (!region->IsStaffIncluded(end->GetStaff())) return false;
    const bool within = IsEntryAttached()
                            ? end->GetMeasure() >= region->GetStartMeasure() && end->GetMeasure() <= region->GetEndMeasure()
                            : region->IsMeasurePosWithin(end->GetMeasure(), end->GetMeasurePos());
    if (!within) return false;
  }
  return true;
}

// ---- Measure marks --------------------------------------------------------

std::uint16_t PKSmartShapeMeasureMark::GetShapeNumber() const { return ReadAt<std::uint16_t>(_record, 0); }

void PKSmartShapeMeasureMark::SetShapeNumber(std::uint16_t shape) {
  WriteAt(_record, 0, shape);
  _SetDataBlock(_record);
  _SetLoadedSize(kRecordSize);
}

std::uint16_t PKSmartShapeMeasureMark::GetCenterShapeInci() const { return ReadAt<std::uint16_t>(_record, 2); }
void PKSmartShapeMeasureMark::SetCenterShapeInci(std::uint16_t inci) { WriteAt(_record, 2, inci); }

PKSmartShape* PKSmartShapeMeasureMark::CreateSmartShape(bool loadCentres) {
  if (GetShapeNumber() == 0) return nullptr;
  auto shape = std::make_unique<PKSmartShape>();
  if (!shape->Load(GetShapeNumber())) return nullptr;
  if (loadCentres)
    shape->_LoadCenterShapes();
  else
    shape->GetCenterShapes()->ClearAll();
  return shape.release();
}

bool PKSmartShapeMeasureMarks::LoadAll() {
  ClearAll();
  PKBrowserMeasures measures;
  const int count = measures.GetCount();
  for (int measure = 1; measure <= count; ++measure) {
    PKSmartShapeMeasureMarks ofMeasure;
    ofMeasure.SetTagOverride(GetTagOverride());
    ofMeasure.LoadAllForItem(std::uint16_t(measure));
    while (ofMeasure.GetCount() > 0) {
      Add(ofMeasure.GetItemAt(0));
      ofMeasure.DetachItemAt(0);
    }
  }
  return GetCount() > 0;
}

// ---- Entry marks ----------------------------------------------------------

std::uint16_t PKSmartShapeEntryMark::GetShapeNumber() const { return ReadAt<std::uint16_t>(_record, 0); }

void PKSmartShapeEntryMark::SetShapeNumber(std::uint16_t shape) {
  WriteAt(_record, 0, shape);
  _SetDataBlock(_record);
  _SetLoadedSize(kRecordSize);
}

void PKSmartShapeEntryMark::_SetEntryFlag(PKNoteEntry* entry, bool on) {
  if (entry == nullptr || entry->GetRecord() == nullptr) return;
  EXENTRY* record = entry->GetRecord();
  const std::uint16_t flags2 = record->flags2;
  record->flags2 = std::uint16_t(on ? (flags2 | kEntrySmartShapeFlag) : (flags2 & ~kEntrySmartShapeFlag));
}

// ---- Custom smart lines ---------------------------------------------------

PKCustomSmartLineDef::PKCustomSmartLineDef() : _laterHost(RunningTonaroVersion > 0x10FFFFFF) {
  _SetDataBlock(_ActiveArea());
}

bool PKCustomSmartLineDef::CloneMemoryFrom(__PKBaseData* other) {
  auto* line = dynamic_cast<PKCustomSmartLineDef*>(other);
  if (line == nullptr || line->GetLoadedSize() <= 0) return false;
  return _CloneEmbeddedFrom(other, _ActiveArea(), kRecordSize);
}
