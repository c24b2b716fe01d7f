#include "tonaroframework/records/pkother.h"

namespace {
// A key number given as -1 asks the host to assign it.
constexpr std::uint16_t kAssignItem = 0xFFFF;
constexpr std::int16_t kAssignInci = -1;
}  // namespace

void __PKOther::_SetItemKey(std::uint16_t item, std::int16_t inci) {
  _ClearKey();
  _SetKeyUnsigned16(kItemOffset, item);
  _SetKeySigned16(kInciOffset, inci);
}

bool __PKInciOther::Load(std::uint16_t item, std::int16_t inci) {
  _SetItemKey(item, inci);
  return LoadDataBlock();
}

bool __PKInciOther::SaveNew(std::uint16_t item) {
  if (GetLoadedSize() <= 0) return false;
  _SetItemKey(item, kAssignInci);
  return _CreateRecord();
}

bool __PKNoInciOther::Load(std::uint16_t item) {
  _SetItemKey(item, 0);
  return LoadDataBlock();
}

bool __PKNoInciOther::SaveAs(std::uint16_t item) {
  _SetItemKey(item, 0);
  return Save();
}

bool __PKNoInciOther::SaveNew() {
  if (GetLoadedSize() <= 0) return false;
  _SetItemKey(kAssignItem, kAssignInci);
  return _CreateRecord();
}
