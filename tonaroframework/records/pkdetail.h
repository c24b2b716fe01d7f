// Records that hang from two numbers ("details"): keyed by an unsigned 16-bit
// first number, an unsigned 16-bit second number and a signed 16-bit inci.
#pragma once

#include <cstdint>

#include "tonaroframework/records/pkbasedata.h"

class __PKDetail : public __PKBaseData {};

// Details with one record per pair of numbers; the inci is always 0.
class __PKNoInciDetail : public __PKDetail {
 public:
  // Details are read by their numbers, so there is no first record.
  bool LoadFirst() override { return false; }

  // Loads the record (first, second).
  bool Load(std::uint16_t first, std::uint16_t second);
  // Stores the loaded record under `first` and a second number that the host assigns.
  bool SaveNew(std::uint16_t first);

  std::uint16_t GetFirst() const { return _KeyUnsigned16(kFirstOffset); }
  std::uint16_t GetSecond() const { return _KeyUnsigned16(kSecondOffset); }

 protected:
  static constexpr int kFirstOffset = 0;
  static constexpr int kSecondOffset = 2;
  static constexpr int kInciOffset = 4;

  // Sets the key to (first, second, 0), every other byte 0.
  void _SetDetailKey(std::uint16_t first, std::uint16_t second);
};
