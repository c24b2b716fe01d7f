#include "tonaroframework/records/pkbasedata.h"

#include <algorithm>
#include <cstring>

#include "tonaropdk/hkservices.h"

bool __PKBaseData::CloneMemoryFrom(__PKBaseData* other) {
  if (other == nullptr || other->_loadedSize <= 0 || other->_dataBlock == nullptr) return false;
  const std::int32_t size = other->_loadedSize;
  // The old block may be the array being replaced; copy from other before releasing it.
  std::unique_ptr<std::uint8_t[]> copy(new std::uint8_t[std::size_t(size)]);
  std::memcpy(copy.get(), other->_dataBlock, std::size_t(size));
  ClearData();
  _ownedBlock = std::move(copy);
  _dataBlock = _ownedBlock.get();
  _loadedSize = size;
  return true;
}

bool __PKBaseData::Save() {
  if (_loadedSize <= 0 || _dataBlock == nullptr) return false;
  return HK_SaveEData(Tag(), _key, _dataBlock, DataSizeSave(), ZorvanVersion()) != 0;
}

bool __PKBaseData::DeleteData() { return HK_DeleteEData(Tag(), _key, ZorvanVersion()) != 0; }

bool __PKBaseData::LoadNext() {
  if (HK_NextEData(Tag(), _key, nullptr, 0, ZorvanVersion()) == 0) return false;
  return LoadDataBlock();
}

bool __PKBaseData::LoadDataBlock() {
  if (_dataBlock != nullptr && IsDynamicSize()) ClearData();
  if (_dataBlock == nullptr) _dataBlock = Allocate();
  const std::int32_t room = DataSizeLoad();
  // Without a block the host would only report the size, and the object
  // would look loaded with nothing to save.
  if (_dataBlock == nullptr || room <= 0) {
    _loadedSize = 0;
    return false;
  }
  std::int32_t size = room;
  if (HK_LoadEData(Tag(), _key, _dataBlock, &size, ZorvanVersion()) == 0) {
    _loadedSize = 0;
    return false;
  }
  // A host may report the stored record's size even when it is larger than
  // the room given; the valid bytes are never more than the block holds.
  _loadedSize = std::clamp(size, std::int32_t(0), room);
  return true;
}

bool __PKBaseData::CloneFrom(__PKBaseData* other) {
  if (other == nullptr) return false;
  std::memmove(_key, other->_key, sizeof _key);
  _tagOverride = other->_tagOverride;
  return CloneMemoryFrom(other);
}

__PKBaseData* __PKBaseData::CreateClone() {
  __PKBaseData* clone = CreateObject();
  if (clone != nullptr) clone->CloneFrom(this);
  return clone;
}

void __PKBaseData::ClearData() {
  Deallocate();
  _dataBlock = nullptr;
  _loadedSize = 0;
}

bool __PKBaseData::_CloneEmbeddedFrom(__PKBaseData* other, void* record, std::int32_t size) {
  if (other == nullptr || other->_loadedSize <= 0 || other->_dataBlock == nullptr) return false;
  if (other->_dataBlock != record) std::memcpy(record, other->_dataBlock, std::size_t(size));
  _dataBlock = record;
  _loadedSize = size;
  return true;
}

void* __PKBaseData::_AllocateOwnedBlock(std::int32_t size) {
  _ownedBlock.reset();
  _dataBlock = nullptr;
  if (size <= 0) return nullptr;
  _ownedBlock.reset(new std::uint8_t[std::size_t(size)]());
  _dataBlock = _ownedBlock.get();
  return _dataBlock;
}

std::uint16_t __PKBaseData::_KeyUnsigned16(int offset) const {
  std::uint16_t value;
  std::memcpy(&value, _key + offset, sizeof value);
  return value;
}

std::int16_t __PKBaseData::_KeySigned16(int offset) const {
  std::int16_t value;
  std::memcpy(&value, _key + offset, sizeof value);
  return value;
}

std::int32_t __PKBaseData::_KeySigned32(int offset) const {
  std::int32_t value;
  std::memcpy(&value, _key + offset, sizeof value);
  return value;
}

void __PKBaseData::_SetKeyUnsigned16(int offset, std::uint16_t value) { std::memcpy(_key + offset, &value, sizeof value); }

void __PKBaseData::_SetKeySigned16(int offset, std::int16_t value) { std::memcpy(_key + offset, &value, sizeof value); }

void __PKBaseData::_SetKeySigned32(int offset, std::int32_t value) { std::memcpy(_key + offset, &value, sizeof value); }

void __PKBaseData::_ClearKey() { std::memset(_key, 0, sizeof _key); }

bool __PKBaseData::_CreateRecord() {
  const std::int32_t size = DataSizeSave();
  if (size <= 0 || _dataBlock == nullptr) return false;
  return HK_CreateEData(Tag(), _key, _dataBlock, size, ZorvanVersion()) != 0;
}
