// A byte-for-byte picture of one staff in the substitute host's document:
// its stored entries (every measure and layer), the records attached to those
// entries (tuplets, articulations, smart-shape entry marks: anything keyed by
// entry number), its cell records (frame holds, independent signatures, chord
// symbols...), its staff record, and the smart shapes that start or end on it.
// Two snapshots compare equal when every part holds the same bytes.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "simhost/document.h"

namespace simhost {

struct StaffSnapshot {
  // Label ("entries m2 l0", "record edIM 15/0" ...) to bytes.
  std::map<std::string, RecordBytes> parts;

  bool operator==(const StaffSnapshot& other) const { return parts == other.parts; }
  bool operator!=(const StaffSnapshot& other) const { return parts != other.parts; }
};

// Answers the snapshot of a staff (empty for an unknown staff).
StaffSnapshot SnapshotStaff(const Document& document, std::int16_t staff);

// Answers the labels of the parts that differ, were added or were removed,
// one a line ("" when the snapshots are equal).
std::string DescribeDifferences(const StaffSnapshot& before, const StaffSnapshot& after);

}  // namespace simhost
