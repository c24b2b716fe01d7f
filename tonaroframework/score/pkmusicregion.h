// A rectangle of the score: a run of staff slots of one of the host's staff
// lists, times a run of measures, with a position inside the first and the
// last measure (both ends inclusive; 0x7FFFFFFF as the end position means the
// end of the measure). It wraps the host's EREGION, remembers the document it
// belongs to, and can hold one host clipboard token for copy, cut and paste.
#pragma once

#include <cstdint>

#include "tonaroframework/foundation/pkbase.h"
#include "tonaropdk/eregion.h"

class PKNoteEntry;

class PKMusicRegion : public __PKBase {
 public:
  // Takes over the host's region (document number: the current document), or
  // with null starts empty with document number 0.
  explicit PKMusicRegion(EREGION* region);

  // Answers "PKMusicRegion".
  const char* ClassName() override { return "PKMusicRegion"; }
  // Does not release a held clip token.
  ~PKMusicRegion() override = default;

  // Copies the 20 bytes in; the document number becomes the current document.
  void SetZorvanRegion(EREGION* region);
  // Copies the 20 bytes out.
  void GetZorvanRegion(EREGION* region) const;
  // Copies another region's record and document number (not its clip token).
  void SetRegion(PKMusicRegion* other);
  // Becomes the whole document as the host reports it; answers true whatever the host answered.
  bool SetFullDocument();
  // Becomes the host's current selection (even when the host answers failure);
  // answers whether the host answered success.
  bool SetCurrentSelection();
  // Exchanges the start and end slots when the end slot is the smaller one.
  void AssureSortedStaves();
  // Re-expresses both slots in staff list 0.
  void ConvertToGlobalInstrumentList();
  // Spans every staff of the start list; false (unchanged) for an empty region
  // or when the list has no staff at slot 1.
  bool SetFullMeasureStack();

  // Answers whether start measure <= measure <= end measure.
  bool IsMeasureIncluded(std::int16_t measure) const;
  // Answers whether the position of that measure lies inside the region.
  bool IsMeasurePosWithin(std::int32_t measure, std::int32_t position) const;
  // Answers whether the whole measure lies inside the region.
  bool IsFullMeasureIncluded(std::int16_t measure) const;
  // Answers whether the staff's slot in the start list lies in the slot range; false when it has none.
  bool IsStaffIncluded(std::int16_t instrument) const;
  // Answers whether the entry's staff, measure and position lie inside the region.
  bool IsEntryPosWithin(PKNoteEntry* entry) const;
  // Answers whether measure and position are the region's start.
  bool IsStartPos(std::int32_t measure, std::int32_t position) const;
  // Answers whether the end position is 0x7FFFFFFF.
  bool IsAbsoluteEndMeasurePos() const;
  // Answers whether the region starts or ends inside a measure.
  bool IsPartial() const;
  // Answers whether the two regions share a staff and a stretch of time.
  bool IsOverlapping(PKMusicRegion* other) const;
  // Answers whether the region belongs to the host's current document.
  bool IsCurrentDocument() const;
  // Answers whether start and end measure are both 0.
  bool IsEmpty() const { return _region.startMeasure == 0 && _region.endMeasure == 0; }

  // Answers the region's length in host time units; 0 for an empty region.
  std::int32_t CalcDuration() const;
  // Places the start `duration` units before the end; false (unchanged) when it cannot.
  bool SetDurationOffsetLeft(std::int32_t duration);
  // Places the end `duration` units after the start; false (unchanged) when it cannot.
  bool SetDurationOffsetRight(std::int32_t duration);

  // Makes the region the host's selection when it belongs to the current document.
  void SetInDocument();
  // Asks the host to redraw the region.
  void Redraw();
  // Asks the host to rebeam the region.
  void RebeamMusic();
  // Copies the region's music into a new clip token; false when a token is held,
  // the region is empty or the host answers 0.
  bool CopyMusic();
  // As CopyMusic, removing the music.
  bool CutMusic();
  // Pastes the held clip at this region; false with no token or an empty region.
  bool PasteMusic();
  // Releases the held token; false with none or when the host refuses (the token is kept).
  bool ReleaseMusic();

  // The fields of the region record and the region's own state.
  std::uint16_t GetStartStaffList() const { return _region.startStaffList; }
  std::int16_t GetStartSlot() const { return _region.startSlot; }
  std::int16_t GetStartMeasure() const { return _region.startMeasure; }
  std::int32_t GetStartPos() const { return _region.startPos; }
  std::uint16_t GetEndStaffList() const { return _region.endStaffList; }
  std::int16_t GetEndSlot() const { return _region.endSlot; }
  std::int16_t GetEndMeasure() const { return _region.endMeasure; }
  std::int32_t GetEndPos() const { return _region.endPos; }
  std::int16_t GetDocumentNumber() const { return _documentNumber; }
  std::uint32_t GetClipToken() const { return _clipToken; }
  void SetStartSlot(std::int16_t slot) { _region.startSlot = slot; }
  void SetEndSlot(std::int16_t slot) { _region.endSlot = slot; }
  void SetStartMeasure(std::int16_t measure) { _region.startMeasure = measure; }
  void SetEndMeasure(std::int16_t measure) { _region.endMeasure = measure; }
  void SetStartPos(std::int32_t position) { _region.startPos = position; }
  void SetEndPos(std::int32_t position) { _region.endPos = position; }

 private:
  // The measure length used for duration walks: that of the start slot's staff.
  std::int32_t MeasureLength(std::int16_t measure) const;
  // Copy (mode 1) or cut (mode 2) into a new token.
  bool TakeMusic(std::int16_t mode);

  EREGION _region;
  std::int16_t _documentNumber = 0;
  std::uint32_t _clipToken = 0;
};
