// A key signature: one key value in the host's 16-bit encoding, and the
// arithmetic of keys (sharps, flats, tonic, the letters altered, the name).
// It has no host record of its own; its owner (a cell, a measure) sets the
// value from its own record.
//
// Key value: bits 14 and 15 set make the word an opaque key that is neither
// major nor minor; otherwise the high byte (bits 8 to 13) is the mode (0
// major, 1 minor, 2 and up other modes) and the low byte a signed count of
// accidentals (positive sharps, negative flats). Only major and minor keys
// are standard; every calculation answers -1 (or an empty name) for others.
// Letters are indexed 0 for A up to 6 for G.
#pragma once

#include <cstdint>

#include "tonaroframework/records/pkbasedata.h"

class PKString;

class PKKeySignature : public __PKBaseData {
 public:
  static constexpr std::int32_t kValueSize = 2;

  // The value is always present: C major.
  PKKeySignature() {
    _SetDataBlock(&_keyValue);
    _SetLoadedSize(kValueSize);
  }
  explicit PKKeySignature(std::uint16_t keyValue) : PKKeySignature() { _keyValue = keyValue; }

  const char* ClassName() override { return "PKKeySignature"; }
  std::int32_t DataSizeLoad() override { return kValueSize; }
  void* Allocate() override { return &_keyValue; }
  __PKBaseData* CreateObject() override { return new PKKeySignature(); }
  // A key signature is not a host record.
  EXTAG Tag() override { return 0; }
  // Copies the key value and the alteration offset.
  bool CloneMemoryFrom(__PKBaseData* other) override;
  bool LoadFirst() override { return false; }

  std::uint16_t GetKeyValue() const { return _keyValue; }
  void SetKeyValue(std::uint16_t value) { _keyValue = value; }
  // Fifths added to the key's accidentals before any calculation (low 8 bits used).
  std::int16_t GetAlterationOffset() const { return _alterationOffset; }
  void SetAlterationOffset(std::int16_t offset) { _alterationOffset = offset; }

  bool IsMajor() const;
  bool IsMinor() const;

  // Number of sharps (0 with flats or none), -1 for a key that is not standard.
  int CalcSharps() const;
  // Number of flats as a positive count (0 with sharps or none), -1 for a key that is not standard.
  int CalcFlats() const;
  // Letter index of the tonic, -1 for a key that is not standard.
  int CalcScaleRootIndex() const;
  // Diatonic steps from C up to the tonic of the major key with this signature.
  int CalcRootRelationIndex() const;
  // Diatonic steps from C up to this key's own tonic (a minor key's lies lower).
  int CalcRootRelationAbsoluteIndex() const;
  // Whether the signature sharpens (flattens) the letter.
  bool IsSharpNote(int letter) const;
  bool IsFlatNote(int letter) const;

  using __PKBase::IsIdentical;
  // Same kind (major, minor, neither), tonic, flats and sharps.
  bool IsIdentical(PKKeySignature* other);
  // Sets `text` to the key's name ("E flat major", "a minor"), empty for a
  // key that is not standard.
  void MakeString(PKString* text) const;

 private:
  // The key value with the alteration offset applied.
  std::uint16_t _EffectiveKey() const;

  std::int16_t _alterationOffset = 0;
  std::uint16_t _keyValue = 0;
};
