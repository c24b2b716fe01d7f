#include "tonaroframework/records/pkdetail.h"

namespace {
// A key number given as -1 asks the host to assign it.
constexpr std::uint16_t kAssignNumber = 0xFFFF;
}  // namespace

void __PKNoInciDetail::_SetDetailKey(std::uint16_t first, std::uint16_t second) {
  _ClearKey();
  _SetKeyUnsigned16(kFirstOffset, first);
  _SetKeyUnsigned16(kSecondOffset, second);
}

bool __PKNoInciDetail::Load(std::uint16_t first, std::uint16_t second) {
  _SetDetailKey(first, second);
  return LoadDataBlock();
}

bool __PKNoInciDetail::SaveNew(std::uint16_t first) {
  if (GetLoadedSize() <= 0) return false;
  _SetDetailKey(first, kAssignNumber);
  return _CreateRecord();
}
