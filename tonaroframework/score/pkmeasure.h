// Measures: the host's measure record (key, time signature, barlines, flag
// words), with the measure's key and time signature kept as objects of their
// own and written back into the record on save; and the measures of a region.
#pragma once

#include <cstdint>
#include <memory>

#include "tonaroframework/records/pkbrowserbase.h"
#include "tonaroframework/records/pkcollectiondata.h"
#include "tonaroframework/records/pkother.h"

class PKKeySignature;
class PKMusicRegion;
class PKTimeSignature;

class PKMeasure : public __PKNoInciOther {
 public:
  // The enumerations are ints throughout, so that a value outside the named
  // ones (which the setters refuse) is still a value of the type.
  enum SHOW_STATES : int { kShowNever = 0, kShowAlways = 1, kShowWhenChanged = 2 };
  enum BARLINE_STYLES : int {
    kBarlineNone = 0,
    kBarlineNormal = 1,
    kBarlineDouble = 2,
    kBarlineFinal = 3,
    kBarlineSolid = 4,
    kBarlineDashed = 5,
    kBarlineTick = 6,
  };
  enum POSITIONING_MODES : int { kPositioningTimeSignature = 0, kPositioningManual = 1, kPositioningBeatChart = 2 };

  static constexpr EXTAG kTag = 0x534F4D53;
  static constexpr std::int32_t kRecordSize = 26;
  // Aux flag: the measure carries smart shapes.
  static constexpr std::uint16_t kAuxSmartShapes = 0x2000;

  PKMeasure();
  ~PKMeasure() override;

  const char* ClassName() override { return "PKMeasure"; }
  std::int32_t DataSizeLoad() override { return kRecordSize; }
  void* Allocate() override { return _record; }
  __PKBaseData* CreateObject() override { return new PKMeasure(); }
  EXTAG Tag() override { return kTag; }
  // Copies the record only, not the key and time signature objects.
  bool CloneMemoryFrom(__PKBaseData* other) override { return _CloneEmbeddedFrom(other, _record, kRecordSize); }
  // Writes the key and time signature objects back into the record, then saves it.
  bool Save() override;

  void _SetAuxFlag(std::uint16_t mask, bool on) { _SetFlag(kAuxOffset, mask, on); }
  void _SetMeFlag(std::uint16_t mask, bool on) { _SetFlag(kMeOffset, mask, on); }
  void _SetNewFlag(std::uint16_t mask, bool on) { _SetFlag(kNewOffset, mask, on); }
  std::uint16_t GetAuxFlags() const { return _Word(kAuxOffset); }
  std::uint16_t GetMeFlags() const { return _Word(kMeOffset); }
  std::uint16_t GetNewFlags() const { return _Word(kNewOffset); }

  void SetShowKeySignature(SHOW_STATES state) { _SetShowState(kAuxKeyShow, kMeKeyShow, state); }
  SHOW_STATES GetShowKeySignature() const { return _GetShowState(kAuxKeyShow, kMeKeyShow); }
  void SetShowTimeSignature(SHOW_STATES state) { _SetShowState(kAuxTimeShow, kMeTimeShow, state); }
  SHOW_STATES GetShowTimeSignature() const { return _GetShowState(kAuxTimeShow, kMeTimeShow); }

  // Answers the code of a barline style (the style itself) and whether it is valid.
  bool _GetBarlineMask(BARLINE_STYLES style, std::uint16_t* code) const;
  void SetBarline(BARLINE_STYLES style) { _SetBarlineAt(kMeOffset, style); }
  BARLINE_STYLES GetBarline() const;
  void SetLeftBarline(BARLINE_STYLES style) { _SetBarlineAt(kNewOffset, style); }
  // Like GetBarline, but a code outside the styles answers 8.
  BARLINE_STYLES GetLeftBarline() const;

  // Full staff names exist on hosts above 0x0FFFFFFF only.
  void SetShowFullNames(bool on);
  bool GetShowFullNames() const;
  void SetPositioningNotesMode(POSITIONING_MODES mode);
  POSITIONING_MODES GetPositioningNotesMode() const;

  // The measure's key and time signature, made on first request and refreshed
  // from the record on every request; the measure keeps them.
  PKKeySignature* GetKeySignature();
  PKTimeSignature* GetTimeSignature();
  // The display time signature, when one was set; written back on save.
  PKTimeSignature* GetDisplayTimeSignature() const { return _displayTime.get(); }
  void SetDisplayTimeSignature(PKTimeSignature* time);

 private:
  static constexpr int kKeyOffset = 2;
  static constexpr int kBeatsOffset = 4;
  static constexpr int kDurationOffset = 6;
  static constexpr int kAuxOffset = 8;
  static constexpr int kMeOffset = 10;
  static constexpr int kDisplayBeatsOffset = 12;
  static constexpr int kDisplayDurationOffset = 14;
  static constexpr int kNewOffset = 16;
  static constexpr std::uint16_t kAuxTimeShow = 0x0010;
  static constexpr std::uint16_t kAuxKeyShow = 0x0020;
  static constexpr std::uint16_t kMeTimeShow = 0x0400;
  static constexpr std::uint16_t kMeKeyShow = 0x0800;

  std::uint16_t _Word(int offset) const;
  void _SetWord(int offset, std::uint16_t value);
  void _SetFlag(int offset, std::uint16_t mask, bool on);
  void _SetShowState(std::uint16_t auxBit, std::uint16_t meBit, SHOW_STATES state);
  SHOW_STATES _GetShowState(std::uint16_t auxBit, std::uint16_t meBit) const;
  void _SetBarlineAt(int offset, BARLINE_STYLES style);
  // Writes a time signature's plain numbers at two offsets (not those it names as composite).
  void _WriteTime(const PKTimeSignature& time, int beatsOffset, int durationOffset);

  std::uint8_t _record[kRecordSize] = {};
  std::unique_ptr<PKKeySignature> _key;
  std::unique_ptr<PKTimeSignature> _time;
  std::unique_ptr<PKTimeSignature> _displayTime;
};

// The measures of a region.
class PKMeasures : public __PKCollectionNoInciOther {
 public:
  const char* ClassName() override { return "PKMeasures"; }
  PKMeasure* CreateElement() override { return new PKMeasure(); }
  // Replaces the elements by copies of the measures from the region's start
  // measure to its end measure that load.
  void LoadRegion(PKMusicRegion* region);
  PKMeasure* GetMeasureAt(int index) const { return static_cast<PKMeasure*>(GetItemAt(index)); }
};

// Walks the document's measures from measure 1 on.
class PKBrowserMeasures : public __PKBrowserNoInciOther {
 public:
  const char* ClassName() override { return "PKBrowserMeasures"; }
  PKMeasure* CreateAnObject() override { return new PKMeasure(); }
};
