#include "tonaroframework/records/pkglobals.h"

#include <limits>

bool __PKGlobals::Load(std::int16_t number) {
  _ClearKey();
  _SetKeySigned16(kNumberOffset, number);
  return LoadDataBlock();
}

bool __PKGlobals::LoadNext() {
  const std::int16_t number = GetNumber();
  // The last number has no next one; adding 1 would wrap round to the first.
  if (number == std::numeric_limits<std::int16_t>::max()) return false;
  return Load(std::int16_t(number + 1));
}
