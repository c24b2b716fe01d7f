// Record classes for the tests of the record base and the record families,
// each as a record class of the framework is built: a fixed-size one with its
// host record embedded, and a dynamic-size one whose block is sized by the
// host's stored record. A fixture with a substitute host whose store the
// tests fill and read directly.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "simhost/host.h"
#include "simhost/recordstore.h"
#include "tonaroframework/records/pkbasedata.h"
#include "tonaroframework/records/pkdetail.h"
#include "tonaroframework/records/pkentrydetail.h"
#include "tonaroframework/records/pkglobals.h"
#include "tonaroframework/records/pkother.h"

// Bytes of a test record: `size` bytes counting up from `first`.
std::vector<std::uint8_t> Pattern(std::int32_t size, std::uint8_t first);

// A fixed-size record of ten bytes, embedded in the object, the way the
// framework's fixed-size classes hold theirs.
template <class Family>
class FixedRecord : public Family {
 public:
  static constexpr std::int32_t kSize = 10;

  explicit FixedRecord(EXTAG tag) : _tag(tag) {}
  const char* ClassName() override { return "FixedRecord"; }
  std::int32_t DataSizeLoad() override { return kSize; }
  void* Allocate() override { return _record; }
  __PKBaseData* CreateObject() override { return new FixedRecord(_tag); }
  EXTAG Tag() override { return _tag; }
  bool CloneMemoryFrom(__PKBaseData* other) override { return this->_CloneEmbeddedFrom(other, _record, kSize); }

  std::uint8_t* Bytes() { return _record; }

 private:
  EXTAG _tag;
  std::uint8_t _record[kSize] = {};
};

// A record whose size varies: the block is an array of the stored record's
// size, asked of the host before every load.
class DynamicRecord : public __PKNoInciOther {
 public:
  explicit DynamicRecord(EXTAG tag) : _tag(tag) {}
  const char* ClassName() override { return "DynamicRecord"; }
  std::int32_t DataSizeLoad() override;
  void* Allocate() override { return _AllocateOwnedBlock(DataSizeLoad()); }
  bool IsDynamicSize() override { return true; }
  __PKBaseData* CreateObject() override { return new DynamicRecord(_tag); }
  EXTAG Tag() override { return _tag; }

 private:
  EXTAG _tag;
};

// The bytes the current host stores under tag and key, empty when there is no record.
std::vector<std::uint8_t> Stored(EXTAG tag, const simhost::RecordKey& key);
// The bytes of an object's data block, as many as it has loaded.
std::vector<std::uint8_t> Loaded(const __PKBaseData& record);
// The object's key as the host's store reads keys.
inline simhost::RecordKey KeyOf(const __PKBaseData& record) { return simhost::KeyFrom(record.GetKey()); }

class RecordsTest : public ::testing::Test {
 protected:
  simhost::RecordStore& Store() { return host.document.Records(); }

  simhost::Host host;
};
