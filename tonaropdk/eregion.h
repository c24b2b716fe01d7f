// The host's region record: two ends of 10 bytes, start then end.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)

struct EREGION {
  std::uint16_t startStaffList;  // 0: list in which the start slot counts (0: the document's own)
  std::int16_t startSlot;        // 2: 1-based slot of the first staff
  std::int16_t startMeasure;     // 4: 1-based
  std::int32_t startPos;         // 6: offset into the start measure
  std::uint16_t endStaffList;    // 10
  std::int16_t endSlot;          // 12: slot of the last staff
  std::int16_t endMeasure;       // 14
  std::int32_t endPos;           // 16: offset into the end measure; kEndOfMeasure: to its end
};

#pragma pack(pop)

// A measure position that stands for the end of the measure.
constexpr std::int32_t kEndOfMeasure = 0x7FFFFFFF;

static_assert(sizeof(EREGION) == 20, "region record is 20 bytes");
static_assert(offsetof(EREGION, startSlot) == 2 && offsetof(EREGION, startMeasure) == 4 &&
                  offsetof(EREGION, startPos) == 6 && offsetof(EREGION, endStaffList) == 10 &&
                  offsetof(EREGION, endSlot) == 12 && offsetof(EREGION, endMeasure) == 14 &&
                  offsetof(EREGION, endPos) == 16,
              "region record layout");
