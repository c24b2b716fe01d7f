// A tuplet that starts at an entry: the entry detail holding the host's
// 30-byte EDTTuplet2005 record, and the four appearance settings kept in its
// flag words.
#pragma once

#include <cstdint>

#include "tonaroframework/records/pkentrydetail.h"
#include "tonaropdk/extgf.h"

class PKTuplet : public __PKEntryDetail {
 public:
  // The modes are ints throughout, so that a value outside the named ones
  // (which the setters store as 0) is still a value of the type.
  // Where the tuplet's number and bracket are placed.
  enum PLACEMENTMODE : int {
    kPlacementManual = 0,
    kPlacementStemSide = 1,
    kPlacementNoteSide = 2,
    kPlacementAbove = 3,
    kPlacementBelow = 4,
  };
  // What the tuplet's number shows.
  enum NUMBERSTYLE : int {
    kNumberNothing = 0,
    kNumberCount = 1,
    kNumberRatio = 2,
    kNumberCountWithNote = 3,
    kNumberRatioWithNotes = 4,
  };
  // The line drawn over the tuplet.
  enum SHAPESTYLE : int {
    kShapeNothing = 0,
    kShapeBracket = 1,
    kShapeSlur = 2,
  };
  // How the bracket is drawn.
  enum APPEARANCEMODE : int {
    kAppearanceAlways = 0,
    kAppearanceUnbeamed = 1,
    kAppearanceNever = 2,
  };

  static constexpr EXTAG kTag = MakeTag('E', 3, 'T', 'P');
  static constexpr std::int32_t kRecordSize = std::int32_t(sizeof(EDTTuplet2005));

  PKTuplet() { _SetDataBlock(&_record); }

  const char* ClassName() override { return "PKTuplet"; }
  std::int32_t DataSizeLoad() override { return kRecordSize; }
  std::int32_t DataSizeSave() override { return kRecordSize; }
  void* Allocate() override { return &_record; }
  __PKBaseData* CreateObject() override { return new PKTuplet(); }
  EXTAG Tag() override { return kTag; }
  bool CloneMemoryFrom(__PKBaseData* other) override;
  // Sets or clears the entry's tuplet flag.
  void _SetEntryFlag(PKNoteEntry* entry, bool on) override;

  PLACEMENTMODE GetPlacementMode() const;
  void SetPlacementMode(PLACEMENTMODE mode);
  NUMBERSTYLE GetNumberStyle() const;
  void SetNumberStyle(NUMBERSTYLE style);
  SHAPESTYLE GetShapeStyle() const;
  void SetShapeStyle(SHAPESTYLE style);
  APPEARANCEMODE GetAppearanceMode() const;
  void SetAppearanceMode(APPEARANCEMODE mode);

  // The host record, as loaded or as it will be saved.
  EDTTuplet2005& Record() { return _record; }
  const EDTTuplet2005& Record() const { return _record; }

 private:
  EDTTuplet2005 _record{};
};
