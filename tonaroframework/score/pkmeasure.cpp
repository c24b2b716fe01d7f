#include "tonaroframework/score/pkmeasure.h"

#include <cstring>

#include "tonaroframework/score/pkkeysignature.h"
#include "tonaroframework/score/pkmusicregion.h"
#include "tonaroframework/score/pktimesignature.h"
#include "tonaropdk/hkbinding.h"

namespace {

constexpr std::uint16_t kAuxCompositeDuration = 0x0040;
constexpr std::uint16_t kAuxCompositeBeats = 0x0080;
constexpr std::uint16_t kAuxFullNames = 0x0800;
constexpr std::uint32_t kFirstHostWithFullNames = 0x10000000;
constexpr std::uint16_t kBarlineBits = 0x00F0;
constexpr int kBarlineShift = 4;
constexpr int kLastBarlineStyle = 6;
constexpr PKMeasure::BARLINE_STYLES kUnknownLeftBarline = PKMeasure::BARLINE_STYLES(8);

// The low three aux bits for each positioning mode, mode 0 first.
constexpr std::uint16_t kPositioningBits = 0x0007;
constexpr std::uint16_t kPositioningCodes[] = {4, 0, 6};

}  // namespace

PKMeasure::PKMeasure() = default;

PKMeasure::~PKMeasure() = default;

std::uint16_t PKMeasure::_Word(int offset) const {
  std::uint16_t value;
  std::memcpy(&value, _record + offset, sizeof value);
  return value;
}

void PKMeasure::_SetWord(int offset, std::uint16_t value) { std::memcpy(_record + offset, &value, sizeof value); }

void PKMeasure::_SetFlag(int offset, std::uint16_t mask, bool on) {
  std::uint16_t word = _Word(offset);
  Set16BitFlag(&word, mask, on);
  _SetWord(offset, word);
}

void PKMeasure::_SetShowState(std::uint16_t auxBit, std::uint16_t meBit, SHOW_STATES state) {
  if (state < kShowNever || state > kShowWhenChanged) return;
  _SetAuxFlag(auxBit, state == kShowWhenChanged);
  _SetMeFlag(meBit, state == kShowAlways);
}

PKMeasure::SHOW_STATES PKMeasure::_GetShowState(std::uint16_t auxBit, std::uint16_t meBit) const {
  if ((GetAuxFlags() & auxBit) != 0) return kShowWhenChanged;
  return (GetMeFlags() & meBit) != 0 ? kShowAlways : kShowNever;
}

bool PKMeasure::_GetBarlineMask(BARLINE_STYLES style, std::uint16_t* code) const {
  const bool valid = style >= kBarlineNone && style <= kLastBarlineStyle;
  if (code != nullptr) *code = valid ? std::uint16_t(style) : 0;
  return valid;
}

void PKMeasure::_SetBarlineAt(int offset, BARLINE_STYLES style) {
  std::uint16_t code = 0;
  if (!_GetBarlineMask(style, &code)) return;
  _SetWord(offset, std::uint16_t((_Word(offset) & ~kBarlineBits) | (code << kBarlineShift)));
}

PKMeasure::BARLINE_STYLES PKMeasure::GetBarline() const {
  const int code = (GetMeFlags() & kBarlineBits) >> kBarlineShift;
  return code <= kLastBarlineStyle ? BARLINE_STYLES(code) : kBarlineNone;
}

PKMeasure::BARLINE_STYLES PKMeasure::GetLeftBarline() const {
  const int code = (GetNewFlags() & kBarlineBits) >> kBarlineShift;
  return code <= kLastBarlineStyle ? BARLINE_STYLES(code) : kUnknownLeftBarline;
}

void PKMeasure::SetShowFullNames(bool on) {
  if (RunningTonaroVersion >= kFirstHostWithFullNames) _SetAuxFlag(kAuxFullNames, on);
}

bool PKMeasure::GetShowFullNames() const {
  return RunningTonaroVersion >= kFirstHostWithFullNames && (GetAuxFlags() & kAuxFullNames) != 0;
}

void PKMeasure::SetPositioningNotesMode(POSITIONING_MODES mode) {
  if (mode < kPositioningTimeSignature || mode > kPositioningBeatChart) return;
  _SetWord(kAuxOffset, std::uint16_t((GetAuxFlags() & ~kPositioningBits) | kPositioningCodes[mode]));
}

PKMeasure::POSITIONING_MODES PKMeasure::GetPositioningNotesMode() const {
  const std::uint16_t code = GetAuxFlags() & kPositioningBits;
  if (code == kPositioningCodes[kPositioningTimeSignature]) return kPositioningTimeSignature;
  if (code == kPositioningCodes[kPositioningManual]) return kPositioningManual;
  return kPositioningBeatChart;
}

PKKeySignature* PKMeasure::GetKeySignature() {
  if (_key == nullptr) _key = std::make_unique<PKKeySignature>();
  _key->SetKeyValue(_Word(kKeyOffset));
  return _key.get();
}

PKTimeSignature* PKMeasure::GetTimeSignature() {
  if (_time == nullptr) _time = std::make_unique<PKTimeSignature>();
  _time->SetBeats(std::int16_t(_Word(kBeatsOffset)));
  _time->SetBeatDuration(std::int16_t(_Word(kDurationOffset)));
  _time->SetCompositeBeats((GetAuxFlags() & kAuxCompositeBeats) != 0);
  _time->SetCompositeBeatDuration((GetAuxFlags() & kAuxCompositeDuration) != 0);
  return _time.get();
}

void PKMeasure::SetDisplayTimeSignature(PKTimeSignature* time) { _displayTime.reset(time); }

void PKMeasure::_WriteTime(const PKTimeSignature& time, int beatsOffset, int durationOffset) {
  if (!time.GetCompositeBeats()) _SetWord(beatsOffset, std::uint16_t(time.GetBeats()));
  if (!time.GetCompositeBeatDuration()) _SetWord(durationOffset, std::uint16_t(time.GetBeatDuration()));
}

bool PKMeasure::Save() {
  if (_key != nullptr) _SetWord(kKeyOffset, _key->GetKeyValue());
  if (_time != nullptr) _WriteTime(*_time, kBeatsOffset, kDurationOffset);
  if (_displayTime != nullptr) _WriteTime(*_displayTime, kDisplayBeatsOffset, kDisplayDurationOffset);
  return __PKNoInciOther::Save();
}

void PKMeasures::LoadRegion(PKMusicRegion* region) {
  ClearAll();
  if (region == nullptr) return;
  PKMeasure scratch;
  for (int measure = region->GetStartMeasure(); measure <= region->GetEndMeasure(); ++measure)
    if (measure >= 0 && scratch.Load(std::uint16_t(measure))) Add(scratch.CreateClone());
}
