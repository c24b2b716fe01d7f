#include "tonaroframework/score/pkmusicregion.h"

#include <cstring>

#include "tonaroframework/entries/pknoteentry.h"
#include "tonaropdk/hkservices.h"

namespace {

constexpr std::uint32_t kVersion = kTonaroFrameworkVersion;

// Clipboard modes of HK_CopyCutMusic.
constexpr std::int16_t kCopyMode = 1;
constexpr std::int16_t kCutMode = 2;
// HK_InsertMergeMusic's third argument: merge the clip into the target.
constexpr std::uint8_t kMerge = 1;

#pragma pack(push, 1)
// What the clipboard services are given: the region, then two fields of the
// host's that the library always sets to 1.
struct ClipRequest {
  EREGION region;
  std::int32_t first;
  std::int32_t second;
};
#pragma pack(pop)
static_assert(sizeof(ClipRequest) == 28, "clipboard request is 28 bytes");

ClipRequest MakeRequest(const EREGION& region) { return ClipRequest{region, 1, 1}; }

}  // namespace

PKMusicRegion::PKMusicRegion(EREGION* region) {
  std::memset(&_region, 0, sizeof(_region));
  if (region != nullptr) SetZorvanRegion(region);
}

void PKMusicRegion::SetZorvanRegion(EREGION* region) {
  std::memcpy(&_region, region, sizeof(_region));
  _documentNumber = HK_GetCurrentZorvanDocument(kVersion);
}

void PKMusicRegion::GetZorvanRegion(EREGION* region) const { std::memcpy(region, &_region, sizeof(_region)); }

void PKMusicRegion::SetRegion(PKMusicRegion* other) {
  _region = other->_region;
  _documentNumber = other->_documentNumber;
}

bool PKMusicRegion::SetFullDocument() {
  std::int32_t unused = 0;
  EREGION selection{}, document{};
  HK_GetCurERegions(&unused, &selection, &document, kVersion);
  _region = document;
  _documentNumber = HK_GetCurrentZorvanDocument(kVersion);
  return true;
}

bool PKMusicRegion::SetCurrentSelection() {
  std::int32_t unused = 0;
  EREGION selection{}, document{};
  const std::int16_t answer = HK_GetCurERegions(&unused, &selection, &document, kVersion);
  _region = selection;
  _documentNumber = HK_GetCurrentZorvanDocument(kVersion);
  return answer != 0;
}

void PKMusicRegion::AssureSortedStaves() {
  if (_region.endSlot < _region.startSlot) {
    const std::int16_t slot = _region.startSlot;
    _region.startSlot = _region.endSlot;
    _region.endSlot = slot;
  }
}

void PKMusicRegion::ConvertToGlobalInstrumentList() {
  const std::int16_t startInstrument = HK_SlotToInst(_region.startSlot, _region.startStaffList, kVersion);
  const std::int16_t endInstrument = HK_SlotToInst(_region.endSlot, _region.endStaffList, kVersion);
  _region.startStaffList = 0;
  _region.endStaffList = 0;
  _region.startSlot = HK_InstToSlot(startInstrument, 0, kVersion);
  _region.endSlot = HK_InstToSlot(endInstrument, 0, kVersion);
}

bool PKMusicRegion::SetFullMeasureStack() {
  if (IsEmpty() || HK_SlotToInst(1, _region.startStaffList, kVersion) <= 0) return false;
  std::int16_t last = 1;
  while (last < INT16_MAX && HK_SlotToInst(std::int16_t(last + 1), _region.startStaffList, kVersion) > 0) ++last;
  _region.startSlot = 1;
  _region.endSlot = last;
  return true;
}

bool PKMusicRegion::IsMeasureIncluded(std::int16_t measure) const {
  return _region.startMeasure <= measure && measure <= _region.endMeasure;
}

bool PKMusicRegion::IsMeasurePosWithin(std::int32_t measure, std::int32_t position) const {
  const std::int16_t number = std::int16_t(measure);
  if (!IsMeasureIncluded(number)) return false;
  if (number == _region.startMeasure && position < _region.startPos) return false;
  if (number == _region.endMeasure && position > _region.endPos) return false;
  return true;
}

bool PKMusicRegion::IsFullMeasureIncluded(std::int16_t measure) const {
  return IsMeasureIncluded(measure) && IsMeasurePosWithin(measure, 0) && IsMeasurePosWithin(measure, kEndOfMeasure);
}

bool PKMusicRegion::IsStaffIncluded(std::int16_t instrument) const {
  const std::int16_t slot = HK_InstToSlot(instrument, _region.startStaffList, kVersion);
  return slot > 0 && _region.startSlot <= slot && slot <= _region.endSlot;
}

bool PKMusicRegion::IsEntryPosWithin(PKNoteEntry* entry) const {
  if (entry == nullptr) return false;
  return IsStaffIncluded(entry->GetStaff()) && IsMeasurePosWithin(entry->GetMeasure(), entry->GetMeasurePos());
}

bool PKMusicRegion::IsStartPos(std::int32_t measure, std::int32_t position) const {
  return std::int16_t(measure) == _region.startMeasure && position == _region.startPos;
}

bool PKMusicRegion::IsAbsoluteEndMeasurePos() const { return _region.endPos == kEndOfMeasure; }

bool PKMusicRegion::IsPartial() const { return _region.startPos != 0 || _region.endPos != kEndOfMeasure; }

bool PKMusicRegion::IsOverlapping(PKMusicRegion* other) const {
  const EREGION& theirs = other->_region;
  if (_region.endMeasure < theirs.startMeasure || _region.startMeasure > theirs.endMeasure) return false;
  if (_region.endMeasure == theirs.startMeasure && _region.endPos < theirs.startPos) return false;
  if (_region.startMeasure == theirs.endMeasure && _region.startPos > theirs.endPos) return false;
  // Each region's slots count in its own start list.
  for (std::int32_t a = _region.startSlot; a <= _region.endSlot; ++a) {
    const std::int16_t mine = HK_SlotToInst(std::int16_t(a), _region.startStaffList, kVersion);
    for (std::int32_t b = theirs.startSlot; b <= theirs.endSlot; ++b)
      if (mine == HK_SlotToInst(std::int16_t(b), theirs.startStaffList, kVersion)) return true;
  }
  return false;
}

bool PKMusicRegion::IsCurrentDocument() const {
  return _documentNumber == HK_GetCurrentZorvanDocument(kVersion);
}

std::int32_t PKMusicRegion::MeasureLength(std::int16_t measure) const {
  const std::int16_t staff = HK_SlotToInst(_region.startSlot, _region.startStaffList, kVersion);
  return HK_GetMeasureDuration(staff, measure, kVersion);
}

std::int32_t PKMusicRegion::CalcDuration() const {
  if (IsEmpty()) return 0;
  std::int32_t total = 0;
  for (std::int32_t m = _region.startMeasure; m <= _region.endMeasure; ++m) {
    const std::int16_t measure = std::int16_t(m);
    const std::int32_t length = MeasureLength(measure);
    const std::int32_t first = measure == _region.startMeasure ? _region.startPos : 0;
    const std::int32_t last =
        (measure == _region.endMeasure && _region.endPos != kEndOfMeasure) ? _region.endPos : length - 1;
    total += last - first + 1;
  }
  return total;
}

bool PKMusicRegion::SetDurationOffsetLeft(std::int32_t duration) {
  if (IsEmpty() || duration <= 0) return false;
  // In the end measure the time up to the end position counts, or the whole
  // measure when the region runs to its end.
  const std::int64_t atEnd =
      _region.endPos != kEndOfMeasure ? _region.endPos : std::int64_t(MeasureLength(_region.endMeasure));
  std::int64_t remaining = duration;
  for (std::int32_t m = _region.endMeasure; m >= INT16_MIN; --m) {
    const std::int16_t measure = std::int16_t(m);
    const std::int32_t length = MeasureLength(measure);
    if (length <= 0) return false;
    const std::int64_t available = (m == _region.endMeasure && atEnd > 0) ? atEnd : length;
    if (available >= remaining) {
      _region.startMeasure = measure;
      _region.startPos = std::int32_t(available - remaining);
      return true;
    }
    remaining -= available;
  }
  return false;
}

bool PKMusicRegion::SetDurationOffsetRight(std::int32_t duration) {
  if (IsEmpty() || duration <= 0) return false;
  std::int64_t remaining = duration;
  std::int64_t entered = _region.startPos;
  for (std::int32_t m = _region.startMeasure; m <= INT16_MAX; ++m, entered = 0) {
    const std::int16_t measure = std::int16_t(m);
    const std::int32_t length = MeasureLength(measure);
    if (length <= 0) return false;
    // A start beyond the measure's length leaves nothing of it to use.
    const std::int64_t available = entered < length ? length - entered : 0;
    if (available >= remaining) {
      _region.endMeasure = measure;
      _region.endPos = std::int32_t(entered + remaining);
      return true;
    }
    remaining -= available;
  }
  return false;
}

void PKMusicRegion::SetInDocument() {
  if (IsCurrentDocument()) HK_SetCurERegion(&_region, kVersion);
}

void PKMusicRegion::Redraw() { HK_RedrawMusic(&_region, kVersion); }

void PKMusicRegion::RebeamMusic() { HK_RebeamRegion(&_region, 0, kVersion); }

bool PKMusicRegion::TakeMusic(std::int16_t mode) {
  if (_clipToken != 0 || IsEmpty()) return false;
  ClipRequest request = MakeRequest(_region);
  _clipToken = std::uint32_t(HK_CopyCutMusic(&request, mode, kVersion));
  return _clipToken != 0;
}

bool PKMusicRegion::CopyMusic() { return TakeMusic(kCopyMode); }

bool PKMusicRegion::CutMusic() { return TakeMusic(kCutMode); }

bool PKMusicRegion::PasteMusic() {
  if (_clipToken == 0 || IsEmpty()) return false;
  ClipRequest request = MakeRequest(_region);
  return HK_InsertMergeMusic(std::int32_t(_clipToken), &request, kMerge, kVersion) != 0;
}

bool PKMusicRegion::ReleaseMusic() {
  if (_clipToken == 0) return false;
  const std::uint8_t answer = HK_DisposeTonClipFileToken(std::int32_t(_clipToken), kVersion);
  if (answer != 0) _clipToken = 0;
  return answer != 0;
}
