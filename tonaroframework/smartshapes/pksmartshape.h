// Smart shapes (slurs, hairpins, lines...): a group of records per shape.
// One smart-shape record holds the shape and its two end points; each
// measure the shape spans has a measure mark naming it; each measure strictly
// between the first and the last has a centre-shape record; a shape attached
// to entries has an entry mark on its start entry and on its end entry.
#pragma once

#include <cstdint>
#include <memory>

#include "tonaroframework/foundation/pkcollection.h"
#include "tonaroframework/records/pkcollectiondata.h"
#include "tonaroframework/records/pkdetail.h"
#include "tonaroframework/records/pkentrydetail.h"
#include "tonaroframework/records/pkother.h"

class PKMusicRegion;
class PKNoteEntry;
class PKSmartShape;

// One end of a shape: a view of its end-point block inside the shape's record.
class PKSmartShapeSegment : public __PKBase {
 public:
  PKSmartShapeSegment(std::uint8_t* endPoint, PKSmartShape* shape) : _endPoint(endPoint), _shape(shape) {}
  const char* ClassName() override { return "PKSmartShapeSegment"; }

  std::int16_t GetStaff() const;
  void SetStaff(std::int16_t staff);
  std::int16_t GetMeasure() const;
  void SetMeasure(std::int16_t measure);
  // The end's entry number for a shape attached to entries; otherwise its
  // position in the measure. Both live in the same field.
  std::int32_t GetEntryNumber() const { return _Field(); }
  void SetEntryNumber(std::int32_t entryNumber) { _SetField(entryNumber); }
  std::int32_t GetMeasurePos() const { return _Field(); }
  void SetMeasurePos(std::int32_t position) { _SetField(position); }
  PKSmartShape* GetShape() const { return _shape; }

 private:
  std::int32_t _Field() const;
  void _SetField(std::int32_t value);

  std::uint8_t* _endPoint;
  PKSmartShape* _shape;
};

class PKSmartShape : public __PKNoInciOther {
 public:
  static constexpr EXTAG kTag = 0x4F085378;
  static constexpr std::int32_t kRecordSize = 92;
  // Flag word bit: the shape is attached to entries.
  static constexpr std::uint16_t kEntryAttached = 0x4000;

  PKSmartShape();
  ~PKSmartShape() override;

  const char* ClassName() override { return "PKSmartShape"; }
  std::int32_t DataSizeLoad() override { return kRecordSize; }
  void* Allocate() override { return _record; }
  __PKBaseData* CreateObject() override { return new PKSmartShape(); }
  EXTAG Tag() override { return kTag; }
  bool CloneMemoryFrom(__PKBaseData* other) override { return _CloneEmbeddedFrom(other, _record, kRecordSize); }
  // Creates a new smart-shape record under a shape number the host assigns.
  bool SaveNew() override;

  std::int16_t GetShapeType() const;
  void SetShapeType(std::int16_t type);
  std::uint16_t GetFlags() const;
  bool IsEntryAttached() const { return (GetFlags() & kEntryAttached) != 0; }
  PKSmartShapeSegment* GetStartSegment();
  PKSmartShapeSegment* GetEndSegment();
  // The centre shapes loaded by _LoadCenterShapes, elements PKCenterSmartShape.
  __PKCollection* GetCenterShapes() { return &_centres; }

  // Loads the centre shapes of this shape from the measure marks of the measures it spans.
  void _LoadCenterShapes();
  // Saves the shape as a new group: the shape record, a measure mark in every
  // measure it spans, centre shapes between, and entry marks on the entries
  // given. False only when the shape record cannot be created.
  bool SaveNewEverything(PKNoteEntry* startEntry, PKNoteEntry* endEntry);
  // Deletes the shape's group of records.
  void DeleteEverything();
  // Writes the staff into both end points.
  void AssignToStaff(int staff);
  // Whether both ends lie in the region (for a shape attached to entries,
  // whose ends hold entry numbers, their measures do).
  bool IsWithinRegion(PKMusicRegion* region);

 private:
  static constexpr int kTypeOffset = 0;
  static constexpr int kFlagsOffset = 4;
  static constexpr int kStartOffset = 6;
  static constexpr int kEndOffset = 36;

  std::uint8_t _record[kRecordSize] = {};
  std::unique_ptr<PKSmartShapeSegment> _start;
  std::unique_ptr<PKSmartShapeSegment> _end;
  __PKCollection _centres;
};

// A measure's mark of one shape: the shape number and, in measures strictly
// between the shape's first and last, the inci of its centre shape there.
class PKSmartShapeMeasureMark : public __PKInciOther {
 public:
  static constexpr EXTAG kTag = 0x6F744D78;
  static constexpr std::int32_t kRecordSize = 12;

  PKSmartShapeMeasureMark() { _SetDataBlock(_record); }
  const char* ClassName() override { return "PKSmartShapeMeasureMark"; }
  std::int32_t DataSizeLoad() override { return kRecordSize; }
  void* Allocate() override { return _record; }
  __PKBaseData* CreateObject() override { return new PKSmartShapeMeasureMark(); }
  EXTAG Tag() override { return kTag; }
  bool CloneMemoryFrom(__PKBaseData* other) override { return _CloneEmbeddedFrom(other, _record, kRecordSize); }

  std::uint16_t GetShapeNumber() const;
  // Sets the shape number; the mark then holds all its bytes.
  void SetShapeNumber(std::uint16_t shape);
  std::uint16_t GetCenterShapeInci() const;
  void SetCenterShapeInci(std::uint16_t inci);

  // Answers the shape the mark names, loaded (with its centre shapes when
  // `loadCentres`), owned by the caller; null without a shape number or when
  // the shape does not load.
  PKSmartShape* CreateSmartShape(bool loadCentres);

 private:
  std::uint8_t _record[kRecordSize] = {};
};

class PKSmartShapeMeasureMarks : public __PKCollectionInciOther {
 public:
  const char* ClassName() override { return "PKSmartShapeMeasureMarks"; }
  PKSmartShapeMeasureMark* CreateElement() override { return new PKSmartShapeMeasureMark(); }
  // Every measure mark of the document, in measure order.
  bool LoadAll() override;
  PKSmartShapeMeasureMark* GetMarkAt(int index) const { return static_cast<PKSmartShapeMeasureMark*>(GetItemAt(index)); }
};

// An entry's mark of one shape that starts or ends at it.
class PKSmartShapeEntryMark : public __PKEntryDetail {
 public:
  static constexpr EXTAG kTag = 0x65644578;
  static constexpr std::int32_t kRecordSize = 10;

  PKSmartShapeEntryMark() { _SetDataBlock(_record); }
  const char* ClassName() override { return "PKSmartShapeEntryMark"; }
  std::int32_t DataSizeLoad() override { return kRecordSize; }
  void* Allocate() override { return _record; }
  __PKBaseData* CreateObject() override { return new PKSmartShapeEntryMark(); }
  EXTAG Tag() override { return kTag; }
  bool CloneMemoryFrom(__PKBaseData* other) override { return _CloneEmbeddedFrom(other, _record, kRecordSize); }
  // Sets or clears the entry's smart-shape flag (in its second flag word).
  void _SetEntryFlag(PKNoteEntry* entry, bool on) override;

  std::uint16_t GetShapeNumber() const;
  // Sets the shape number; the mark then holds all its bytes.
  void SetShapeNumber(std::uint16_t shape);

 private:
  std::uint8_t _record[kRecordSize] = {};
};

class PKSmartShapeEntryMarks : public __PKCollectionEntryDetail {
 public:
  const char* ClassName() override { return "PKSmartShapeEntryMarks"; }
  PKSmartShapeEntryMark* CreateElement() override { return new PKSmartShapeEntryMark(); }
  PKSmartShapeEntryMark* GetMarkAt(int index) const { return static_cast<PKSmartShapeEntryMark*>(GetItemAt(index)); }
};

// A shape's part in one measure strictly between its first and last; the
// contents are the host's. Made zero-filled, always holding its 22 bytes.
class PKCenterSmartShape : public __PKNoInciDetail {
 public:
  static constexpr EXTAG kTag = 0x44034378;
  static constexpr std::int32_t kRecordSize = 22;

  PKCenterSmartShape() {
    _SetDataBlock(_record);
    _SetLoadedSize(kRecordSize);
  }
  const char* ClassName() override { return "PKCenterSmartShape"; }
  std::int32_t DataSizeLoad() override { return kRecordSize; }
  void* Allocate() override { return _record; }
  __PKBaseData* CreateObject() override { return new PKCenterSmartShape(); }
  EXTAG Tag() override { return kTag; }
  bool CloneMemoryFrom(__PKBaseData* other) override { return _CloneEmbeddedFrom(other, _record, kRecordSize); }

 private:
  std::uint8_t _record[kRecordSize] = {};
};

// The definition of a custom smart line. Hosts after 0x10FFFFFF keep it
// under another tag and version; the object decides which at construction and
// keeps its 72 bytes in the data area of that layout.
class PKCustomSmartLineDef : public __PKNoInciOther {
 public:
  static constexpr EXTAG kTag = 0x534F6C73;       // later hosts
  static constexpr EXTAG kEarlierTag = 0x4F066C73;  // hosts up to 0x10FFFFFF
  static constexpr std::int32_t kRecordSize = 72;

  PKCustomSmartLineDef();
  const char* ClassName() override { return "PKCustomSmartLineDef"; }
  std::uint32_t ZorvanVersion() override { return _laterHost ? 0x11000000u : 0x0F000000u; }
  std::int32_t DataSizeLoad() override { return kRecordSize; }
  void* Allocate() override { return _ActiveArea(); }
  __PKBaseData* CreateObject() override { return new PKCustomSmartLineDef(); }
  EXTAG Tag() override { return _laterHost ? kTag : kEarlierTag; }
  // Copies the 72 bytes of another definition's active area into this one's.
  bool CloneMemoryFrom(__PKBaseData* other) override;

  bool IsLaterHostLayout() const { return _laterHost; }

 private:
  std::uint8_t* _ActiveArea() { return _laterHost ? _laterRecord : _earlierRecord; }

  bool _laterHost;
  std::uint8_t _earlierRecord[kRecordSize] = {};
  std::uint8_t _laterRecord[kRecordSize] = {};
};
