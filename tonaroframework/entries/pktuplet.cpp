#include "tonaroframework/entries/pktuplet.h"

#include <iterator>

#include "tonaropdk/exentry.h"

namespace {

// The bits of the flag word (offset 0x12) that each setting uses, and the
// pattern stored for each value, value 0 first. A pattern not listed reads as 0.
constexpr std::uint16_t kPlacementMask = 0x0070;
constexpr std::uint16_t kPlacementPatterns[] = {0x0000, 0x0010, 0x0020, 0x0030, 0x0040};
constexpr std::uint16_t kNumberMask = 0x000F;
constexpr std::uint16_t kNumberPatterns[] = {0x0, 0x1, 0x2, 0x3, 0x4};
constexpr std::uint16_t kShapeMask = 0x3000;
constexpr std::uint16_t kShapePatterns[] = {0x0000, 0x2000, 0x1000};

// The appearance spans two words: bit 0x8000 of the flag word and bit 0x0010
// of the word at offset 0x08.
constexpr std::uint16_t kAppearanceFlagBit = 0x8000;
constexpr std::uint16_t kAppearanceWordBit = 0x0010;
struct AppearancePattern {
  bool flagBit;
  bool wordBit;
};
constexpr AppearancePattern kAppearancePatterns[] = {{false, false}, {true, false}, {true, true}};

template <std::size_t N>
int ValueOf(std::uint16_t word, std::uint16_t mask, const std::uint16_t (&patterns)[N]) {
  for (std::size_t value = 0; value < N; ++value)
    if ((word & mask) == patterns[value]) return int(value);
  return 0;
}

template <std::size_t N>
std::uint16_t WithValue(std::uint16_t word, std::uint16_t mask, const std::uint16_t (&patterns)[N], int value) {
  const std::uint16_t pattern = (value >= 0 && std::size_t(value) < N) ? patterns[value] : patterns[0];
  return std::uint16_t((word & ~mask) | pattern);
}

std::uint16_t WithBit(std::uint16_t word, std::uint16_t bit, bool on) {
  return std::uint16_t(on ? (word | bit) : (word & ~bit));
}

}  // namespace

bool PKTuplet::CloneMemoryFrom(__PKBaseData* other) { return _CloneEmbeddedFrom(other, &_record, kRecordSize); }

void PKTuplet::_SetEntryFlag(PKNoteEntry* entry, bool on) { _SetEntryFlagBit(entry, kEntryTupletFlag, on); }

PKTuplet::PLACEMENTMODE PKTuplet::GetPlacementMode() const {
  return PLACEMENTMODE(ValueOf(_record.flags, kPlacementMask, kPlacementPatterns));
}

void PKTuplet::SetPlacementMode(PLACEMENTMODE mode) {
  _record.flags = WithValue(_record.flags, kPlacementMask, kPlacementPatterns, int(mode));
}

PKTuplet::NUMBERSTYLE PKTuplet::GetNumberStyle() const {
  return NUMBERSTYLE(ValueOf(_record.flags, kNumberMask, kNumberPatterns));
}

void PKTuplet::SetNumberStyle(NUMBERSTYLE style) {
  _record.flags = WithValue(_record.flags, kNumberMask, kNumberPatterns, int(style));
}

PKTuplet::SHAPESTYLE PKTuplet::GetShapeStyle() const {
  return SHAPESTYLE(ValueOf(_record.flags, kShapeMask, kShapePatterns));
}

void PKTuplet::SetShapeStyle(SHAPESTYLE style) {
  _record.flags = WithValue(_record.flags, kShapeMask, kShapePatterns, int(style));
}

PKTuplet::APPEARANCEMODE PKTuplet::GetAppearanceMode() const {
  if ((_record.flags & kAppearanceFlagBit) == 0) return kAppearanceAlways;
  return (_record.appearance & kAppearanceWordBit) != 0 ? kAppearanceNever : kAppearanceUnbeamed;
}

void PKTuplet::SetAppearanceMode(APPEARANCEMODE mode) {
  const bool known = int(mode) >= 0 && std::size_t(mode) < std::size(kAppearancePatterns);
  const AppearancePattern& pattern = kAppearancePatterns[known ? std::size_t(mode) : 0];
  _record.flags = WithBit(_record.flags, kAppearanceFlagBit, pattern.flagBit);
  _record.appearance = WithBit(_record.appearance, kAppearanceWordBit, pattern.wordBit);
}
