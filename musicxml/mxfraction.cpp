#include "musicxml/mxfraction.h"

#include <limits>
#include <numeric>

namespace musicxml {
namespace {

__extension__ typedef __int128 Wide;

constexpr Wide kMax = std::numeric_limits<std::int64_t>::max();

Wide Gcd(Wide a, Wide b) {
  if (a < 0) a = -a;
  if (b < 0) b = -b;
  while (b != 0) {
    const Wide rest = a % b;
    a = b;
    b = rest;
  }
  return a;
}

// Reduces a wide fraction and narrows it, or answers an invalid value.
MxFraction Narrow(Wide numerator, Wide denominator) {
  if (denominator == 0) return MxFraction::Invalid();
  if (denominator < 0) {
    numerator = -numerator;
    denominator = -denominator;
  }
  const Wide divisor = Gcd(numerator, denominator);
  if (divisor > 1) {
    numerator /= divisor;
    denominator /= divisor;
  }
  if (numerator > kMax || numerator < -kMax || denominator > kMax) return MxFraction::Invalid();
  return MxFraction(std::int64_t(numerator), std::int64_t(denominator));
}

}  // namespace

MxFraction::MxFraction(std::int64_t numerator, std::int64_t denominator) {
  if (denominator == 0 || numerator == std::numeric_limits<std::int64_t>::min() ||
      denominator == std::numeric_limits<std::int64_t>::min()) {
    _numerator = 0;
    _denominator = 0;
    return;
  }
  if (denominator < 0) {
    numerator = -numerator;
    denominator = -denominator;
  }
  const std::int64_t divisor = std::gcd(numerator, denominator);
  _numerator = divisor > 1 ? numerator / divisor : numerator;
  _denominator = divisor > 1 ? denominator / divisor : denominator;
}

MxFraction MxFraction::Invalid() { return MxFraction(0, 0); }

MxFraction MxFraction::operator+(const MxFraction& other) const {
  if (!IsValid() || !other.IsValid()) return Invalid();
  return Narrow(Wide(_numerator) * other._denominator + Wide(other._numerator) * _denominator,
                Wide(_denominator) * other._denominator);
}

MxFraction MxFraction::operator-(const MxFraction& other) const {
  if (!IsValid() || !other.IsValid()) return Invalid();
  return Narrow(Wide(_numerator) * other._denominator - Wide(other._numerator) * _denominator,
                Wide(_denominator) * other._denominator);
}

MxFraction MxFraction::operator*(const MxFraction& other) const {
  if (!IsValid() || !other.IsValid()) return Invalid();
  return Narrow(Wide(_numerator) * other._numerator, Wide(_denominator) * other._denominator);
}

MxFraction MxFraction::operator/(const MxFraction& other) const {
  if (!IsValid() || !other.IsValid() || other._numerator == 0) return Invalid();
  return Narrow(Wide(_numerator) * other._denominator, Wide(_denominator) * other._numerator);
}

bool MxFraction::operator<(const MxFraction& other) const {
  if (!IsValid()) return false;
  if (!other.IsValid()) return true;
  return Wide(_numerator) * other._denominator < Wide(other._numerator) * _denominator;
}

bool MxFraction::ToUnits(std::int64_t perQuarter, std::int64_t* units) const {
  if (!IsValid() || perQuarter <= 0) return false;
  const Wide scaled = Wide(_numerator) * perQuarter;
  if (scaled % _denominator != 0) return false;
  const Wide value = scaled / _denominator;
  if (value > kMax || value < -kMax) return false;
  *units = std::int64_t(value);
  return true;
}

std::string MxFraction::ToString() const {
  if (!IsValid()) return "invalid";
  if (_denominator == 1) return std::to_string(_numerator);
  return std::to_string(_numerator) + "/" + std::to_string(_denominator);
}

std::int64_t LeastCommonMultiple(std::int64_t a, std::int64_t b, std::int64_t limit) {
  if (a <= 0 || b <= 0) return 0;
  const Wide value = Wide(a) / Gcd(a, b) * b;
  return value > limit ? 0 : std::int64_t(value);
}

}  // namespace musicxml
