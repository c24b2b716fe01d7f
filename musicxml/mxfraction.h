// An exact time value: a fraction of a quarter note. MusicXML counts time in
// divisions that may change from measure to measure; positions and durations
// are kept as fractions so that nothing is rounded. A value that grew past
// what 64 bits hold becomes invalid, and stays invalid through arithmetic.
#pragma once

#include <cstdint>
#include <string>

namespace musicxml {

class MxFraction {
 public:
  MxFraction() = default;
  // Makes numerator/denominator in lowest terms; a denominator of 0 makes an invalid value.
  MxFraction(std::int64_t numerator, std::int64_t denominator = 1);

  // Answers an invalid value (the result of an overflow).
  static MxFraction Invalid();

  std::int64_t Numerator() const { return _numerator; }
  std::int64_t Denominator() const { return _denominator; }
  bool IsValid() const { return _denominator != 0; }
  bool IsZero() const { return _numerator == 0 && _denominator != 0; }
  bool IsNegative() const { return _numerator < 0; }

  MxFraction operator+(const MxFraction& other) const;
  MxFraction operator-(const MxFraction& other) const;
  MxFraction operator*(const MxFraction& other) const;
  MxFraction operator/(const MxFraction& other) const;
  MxFraction& operator+=(const MxFraction& other) { return *this = *this + other; }
  MxFraction& operator-=(const MxFraction& other) { return *this = *this - other; }

  bool operator==(const MxFraction& other) const {
    return _numerator == other._numerator && _denominator == other._denominator;
  }
  bool operator!=(const MxFraction& other) const { return !(*this == other); }
  // Orders valid values by size; invalid values sort after every valid one.
  bool operator<(const MxFraction& other) const;
  bool operator>(const MxFraction& other) const { return other < *this; }
  bool operator<=(const MxFraction& other) const { return !(other < *this); }
  bool operator>=(const MxFraction& other) const { return !(*this < other); }

  // Answers the value counted in units of 1/perQuarter quarter notes, or false
  // when it is not a whole number of them (or does not fit 64 bits).
  bool ToUnits(std::int64_t perQuarter, std::int64_t* units) const;

  // Answers "n/d", "n" for whole numbers, "invalid" for an invalid value.
  std::string ToString() const;

 private:
  std::int64_t _numerator = 0;
  std::int64_t _denominator = 1;
};

// Answers the least common multiple of two positive numbers, or 0 when it exceeds the limit.
std::int64_t LeastCommonMultiple(std::int64_t a, std::int64_t b, std::int64_t limit);

}  // namespace musicxml
