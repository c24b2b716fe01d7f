// What the command must have done to a staff, judged from the score before
// and after a run: either the staff is untouched, or its chords are spread
// highest to lowest over new layers with the rhythm of layer 1.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "simhost/document.h"
#include "simhost/snapshot.h"
#include "tonaropdk/eregion.h"

namespace e2e {

// One staff of the score before the command ran.
struct StaffBefore {
  std::int16_t staff = 0;
  simhost::StaffSnapshot snapshot;
  std::map<simhost::LayerPlace, std::vector<EXENTRY>> layers;  // every layer of every measure
};

// Takes the picture of every staff of the document.
std::vector<StaffBefore> TakeStaves(const simhost::Document& document);

// The conditions of a run.
struct RunConditions {
  EREGION region{};
  std::vector<bool> hiddenLayers;
  std::int32_t reportedLayers = 4;
  bool duplicateUnisons = false;
};

// Answers "" when the staff is as the command must leave it, else what is wrong.
std::string JudgeStaff(const simhost::Document& after, const StaffBefore& before, const RunConditions& run);

// Answers "" when no note of layer 1 before is missing from the staff's
// layers at its measure and position afterwards (copies may be added), else
// the first note missing.
std::string FindLostNote(const simhost::Document& after, const StaffBefore& before);

}  // namespace e2e
