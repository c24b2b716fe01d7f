// Records that stand alone and are numbered ("others"): keyed by an unsigned
// 16-bit item number and a signed 16-bit inci, the record's place among the
// records of the same item.
#pragma once

#include <cstdint>

#include "tonaroframework/records/pkbasedata.h"

class __PKOther : public __PKBaseData {
 public:
  const char* ClassName() override { return "__PKOther"; }

 protected:
  static constexpr int kItemOffset = 0;
  static constexpr int kInciOffset = 2;

  // Sets the key to (item, inci), every other byte 0.
  void _SetItemKey(std::uint16_t item, std::int16_t inci);
};

// Others that come in a series per item, told apart by the inci.
class __PKInciOther : public __PKOther {
 public:
  // Loads the record (item, inci).
  virtual bool Load(std::uint16_t item, std::int16_t inci);
  // Stores the loaded record as a new inci of `item`, the next free one,
  // which the host writes into the key.
  virtual bool SaveNew(std::uint16_t item);
  // A series is read by item, inci by inci, so there is no first record.
  bool LoadFirst() override { return false; }

  std::uint16_t GetItem() const { return _KeyUnsigned16(kItemOffset); }
  std::int16_t GetInci() const { return _KeySigned16(kInciOffset); }
  // Changes the key's item number, keeping the inci.
  void _SetItem(std::uint16_t item) { _SetKeyUnsigned16(kItemOffset, item); }
  // Changes the key's inci, keeping the item number.
  void _SetInci(std::int16_t inci) { _SetKeySigned16(kInciOffset, inci); }
};

// Others with one record per item; the inci is always 0.
class __PKNoInciOther : public __PKOther {
 public:
  const char* ClassName() override { return "__PKNoInciOther"; }
  // Loads the record of `item`.
  virtual bool Load(std::uint16_t item);
  // Writes the record under `item`, replacing the record that had it or creating one.
  virtual bool SaveAs(std::uint16_t item);
  // SaveAs, and in classes whose record owns dependent records, those too.
  virtual bool DeepSaveAs(std::uint16_t item) { return SaveAs(item); }
  // Stores the loaded record under a new item number that the host assigns.
  virtual bool SaveNew();
  // Answers the key's item number.
  virtual std::uint16_t GetItemNo() { return _KeyUnsigned16(kItemOffset); }
  // Item numbers start at 1.
  bool LoadFirst() override { return Load(1); }
};
