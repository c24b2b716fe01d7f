// Records of document-wide settings ("globals"), numbered from 0 by a signed
// 16-bit number.
#pragma once

#include <cstdint>

#include "tonaroframework/records/pkbasedata.h"

class __PKGlobals : public __PKBaseData {
 public:
  const char* ClassName() override { return "__PKGlobals"; }
  // Numbers start at 0.
  bool LoadFirst() override { return Load(0); }
  // Loads the record numbered one after the current one.
  bool LoadNext() override;

  // Loads the record `number`.
  bool Load(std::int16_t number);

  std::int16_t GetNumber() const { return _KeySigned16(kNumberOffset); }

 private:
  static constexpr int kNumberOffset = 0;
};
