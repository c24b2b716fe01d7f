// Articulations: one articulation on an entry (an entry detail of 10 bytes
// whose first field names its definition), and the articulations of one entry.
#pragma once

#include <cstdint>

#include "tonaroframework/records/pkcollectiondata.h"
#include "tonaroframework/records/pkentrydetail.h"

class PKArticulation : public __PKEntryDetail {
 public:
  static constexpr EXTAG kTag = MakeTag('e', 'd', 'I', 'M');
  static constexpr std::int32_t kRecordSize = 10;

  PKArticulation() { _SetDataBlock(&_record); }

  const char* ClassName() override { return "PKArticulation"; }
  std::int32_t DataSizeLoad() override { return kRecordSize; }
  std::int32_t DataSizeSave() override { return kRecordSize; }
  void* Allocate() override { return &_record; }
  __PKBaseData* CreateObject() override { return new PKArticulation(); }
  EXTAG Tag() override { return kTag; }
  bool CloneMemoryFrom(__PKBaseData* other) override;
  // Sets or clears the entry's articulation flag.
  void _SetEntryFlag(PKNoteEntry* entry, bool on) override;

  // The item number of the articulation's definition.
  std::int16_t GetArticulationDefID() const { return _record.definition; }
  void SetArticulationDefID(std::int16_t definition) { _record.definition = definition; }

 private:
  struct Record {
    std::int16_t definition;
    std::uint8_t host[8];
  };
  static_assert(sizeof(Record) == kRecordSize, "articulation record is 10 bytes");

  Record _record{};
};

// The articulations of one entry, in the order the host delivers them.
class PKArticulations : public __PKCollectionEntryDetail {
 public:
  const char* ClassName() override { return "PKArticulations"; }
  PKArticulation* CreateElement() override { return new PKArticulation(); }

  // Answers whether an element's definition is `definition`.
  bool ContainsID(std::int16_t definition) const;
  // Answers element i, or null.
  PKArticulation* GetArticulationAt(int index) const { return static_cast<PKArticulation*>(GetItemAt(index)); }
};
