#include "tonaroframework/score/pkkeysignature.h"

#include "tonaroframework/foundation/pkstring.h"

namespace {

constexpr std::uint16_t kOpaqueBits = 0xC000;
constexpr int kMajorMode = 0;
constexpr int kMinorMode = 1;
constexpr int kLetters = 7;

// The tonic's letter index by the position of the signature on the circle of
// fifths (sharps mod 7, or 7 - flats mod 7), for major and for minor keys.
constexpr int kMajorTonics[] = {2, 6, 3, 0, 4, 1, 5, 2};
constexpr int kMinorTonics[] = {0, 4, 1, 5, 2, 6, 3, 0};

int ModeOf(std::uint16_t key) { return (key >> 8) & 0x3F; }
bool IsStandard(std::uint16_t key) {
  return (key & kOpaqueBits) == 0 && (ModeOf(key) == kMajorMode || ModeOf(key) == kMinorMode);
}
int AccidentalsOf(std::uint16_t key) { return std::int8_t(key & 0xFF); }
bool IsLetter(int letter) { return letter >= 0 && letter < kLetters; }

// A letter's place in an order of accidentals, 1 to 7, from (a × letter + b) mod 7.
int PlaceInOrder(int letter, int factor, int addend) {
  const int place = ((factor * letter + addend) % kLetters + kLetters) % kLetters;
  return place == 0 ? kLetters : place;
}

}  // namespace

bool PKKeySignature::CloneMemoryFrom(__PKBaseData* other) {
  auto* key = dynamic_cast<PKKeySignature*>(other);
  if (key == nullptr) return false;
  _keyValue = key->_keyValue;
  _alterationOffset = key->_alterationOffset;
  _SetDataBlock(&_keyValue);
  _SetLoadedSize(kValueSize);
  return true;
}

std::uint16_t PKKeySignature::_EffectiveKey() const {
  if (!IsStandard(_keyValue)) return _keyValue;
  const std::uint8_t accidentals = std::uint8_t((_keyValue & 0xFF) + (_alterationOffset & 0xFF));
  return std::uint16_t((_keyValue & 0xFF00) | accidentals);
}

bool PKKeySignature::IsMajor() const { return IsStandard(_keyValue) && ModeOf(_keyValue) == kMajorMode; }

bool PKKeySignature::IsMinor() const { return IsStandard(_keyValue) && ModeOf(_keyValue) == kMinorMode; }

int PKKeySignature::CalcSharps() const {
  if (!IsStandard(_keyValue)) return -1;
  const int accidentals = AccidentalsOf(_EffectiveKey());
  return accidentals > 0 ? accidentals : 0;
}

int PKKeySignature::CalcFlats() const {
  if (!IsStandard(_keyValue)) return -1;
  const int accidentals = AccidentalsOf(_EffectiveKey());
  return accidentals < 0 ? -accidentals : 0;
}

int PKKeySignature::CalcScaleRootIndex() const {
  if (!IsStandard(_keyValue)) return -1;
  const int sharps = CalcSharps();
  const int flats = CalcFlats();
  const int position = flats == 0 ? sharps % kLetters : kLetters - flats % kLetters;
  return IsMinor() ? kMinorTonics[position] : kMajorTonics[position];
}

int PKKeySignature::CalcRootRelationIndex() const {
  if (!IsStandard(_keyValue)) return -1;
  const int sharps = CalcSharps();
  const int flats = CalcFlats();
  if (sharps > 0) return (4 * sharps) % kLetters;
  if (flats > 0) return kLetters - (4 * flats) % kLetters;
  return 0;
}

int PKKeySignature::CalcRootRelationAbsoluteIndex() const {
  int relation = CalcRootRelationIndex();
  if (relation < 0 || !IsMinor()) return relation;
  relation -= 2;
  return relation < 0 ? relation + kLetters : relation;
}

bool PKKeySignature::IsSharpNote(int letter) const {
  const int sharps = CalcSharps();
  return sharps > 0 && IsLetter(letter) && sharps >= PlaceInOrder(letter, 2, 5);
}

bool PKKeySignature::IsFlatNote(int letter) const {
  const int flats = CalcFlats();
  return flats > 0 && IsLetter(letter) && flats >= PlaceInOrder(letter, -2, 17);
}

bool PKKeySignature::IsIdentical(PKKeySignature* other) {
  if (other == nullptr) return false;
  return IsMinor() == other->IsMinor() && IsMajor() == other->IsMajor() &&
         CalcScaleRootIndex() == other->CalcScaleRootIndex() && CalcFlats() == other->CalcFlats() &&
         CalcSharps() == other->CalcSharps();
}

void PKKeySignature::MakeString(PKString* text) const {
  if (text == nullptr) return;
  text->SetCString("");
  if (!IsStandard(_keyValue)) return;
  const int root = CalcScaleRootIndex();
  text->Append(std::int16_t((IsMinor() ? 'a' : 'A') + root));
  if (IsSharpNote(root)) text->Append(" sharp");
  if (IsFlatNote(root)) text->Append(" flat");
  text->Append(IsMinor() ? " minor" : " major");
}
