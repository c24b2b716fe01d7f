// The base of every document record object: the record's identity (tag and
// eight-byte key), a block of bytes in the host's layout for that record, and
// the protocol that moves the block between the object and the host through
// the record services.
#pragma once

#include <cstdint>
#include <memory>

#include "tonaroframework/foundation/pkbase.h"
#include "tonaropdk/hostabi.h"

class __PKBaseData : public __PKBase {
 public:
  // Bytes in a record key.
  static constexpr int kKeySize = 8;

  __PKBaseData() = default;
  __PKBaseData(const __PKBaseData&) = delete;
  __PKBaseData& operator=(const __PKBaseData&) = delete;

  const char* ClassName() override { return "__PKBaseData"; }
  // Answers the version under which the host reads and writes this class's record.
  virtual std::uint32_t ZorvanVersion() { return kTonaroFrameworkVersion; }
  // Answers the number of bytes to request on load.
  virtual std::int32_t DataSizeLoad() = 0;
  // Answers the number of bytes to write on save: the loaded size.
  virtual std::int32_t DataSizeSave() { return _loadedSize; }
  // Answers the block to load into: an embedded record, or for a dynamic-size
  // class an array of DataSizeLoad() bytes that becomes the data block.
  virtual void* Allocate() = 0;
  // Releases an array the object owns as its data block (see _AllocateOwnedBlock).
  virtual void Deallocate() { _ownedBlock.reset(); }
  // Answers whether the record's size varies, so that each load gets a fresh block.
  virtual bool IsDynamicSize() { return false; }
  // Answers a new, empty object of the same class; the caller owns it.
  virtual __PKBaseData* CreateObject() = 0;
  // Answers the record's tag.
  virtual EXTAG Tag() = 0;
  // Copies `other`'s bytes into a new array owned by this object when other
  // holds any (loaded size above 0); answers whether it did. Fixed-size
  // classes copy into their embedded record instead.
  virtual bool CloneMemoryFrom(__PKBaseData* other);
  ~__PKBaseData() override = default;
  // Writes the record back under the current key; false with nothing loaded.
  virtual bool Save();
  // Removes the host's record under the current key; the object is unchanged.
  virtual bool DeleteData();
  // Removes the record and the records that depend on it.
  virtual bool DeepDeleteData() { return DeleteData(); }
  // Loads the first record of the tag for the identity the object holds.
  virtual bool LoadFirst() = 0;
  // Moves the key to the host's next record of the tag and loads it.
  virtual bool LoadNext();

  // Loads the record that the tag and key address now.
  bool LoadDataBlock();
  // Copies other's key and tag override, then its bytes (CloneMemoryFrom).
  bool CloneFrom(__PKBaseData* other);
  // Answers a new object of the same class holding a copy of this one; the caller owns it.
  __PKBaseData* CreateClone();
  // Releases the data block: no block, loaded size 0.
  void ClearData();

  void* GetDataBlock() const { return _dataBlock; }
  std::int32_t GetLoadedSize() const { return _loadedSize; }
  EXTAG GetTagOverride() const { return _tagOverride; }
  void SetTagOverride(EXTAG tag) { _tagOverride = tag; }
  // The eight key bytes, as the host reads and writes them.
  std::uint8_t* GetKey() { return _key; }
  const std::uint8_t* GetKey() const { return _key; }

 protected:
  void _SetDataBlock(void* block) { _dataBlock = block; }
  void _SetLoadedSize(std::int32_t size) { _loadedSize = size; }
  // The CloneMemoryFrom of a fixed-size class: copies `size` bytes of other's
  // block into the embedded `record`, which becomes the data block.
  bool _CloneEmbeddedFrom(__PKBaseData* other, void* record, std::int32_t size);
  // Makes a zeroed array of `size` bytes, owned by this object, the data
  // block and answers it (null for a size of 0 or less).
  void* _AllocateOwnedBlock(std::int32_t size);

  // Key numbers at a byte offset, in the host's byte order.
  std::uint16_t _KeyUnsigned16(int offset) const;
  std::int16_t _KeySigned16(int offset) const;
  std::int32_t _KeySigned32(int offset) const;
  void _SetKeyUnsigned16(int offset, std::uint16_t value);
  void _SetKeySigned16(int offset, std::int16_t value);
  void _SetKeySigned32(int offset, std::int32_t value);
  // Sets every key byte to 0.
  void _ClearKey();
  // Asks the host to store the data block as a new record, assigning the key
  // numbers given as -1 and writing them into the key. Refuses without a host
  // call when there is nothing to write.
  bool _CreateRecord();

 private:
  EXTAG _tagOverride = 0;
  void* _dataBlock = nullptr;
  std::int32_t _loadedSize = 0;
  std::uint8_t _key[kKeySize] = {};
  std::unique_ptr<std::uint8_t[]> _ownedBlock;
};
