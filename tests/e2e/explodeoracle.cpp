#include "tests/e2e/explodeoracle.h"

#include <algorithm>
#include <sstream>
#include <tuple>
#include <utility>

#include "tonaropdk/exentry.h"

namespace e2e {
namespace {

constexpr std::int16_t kHostLayers = 4;

using PitchKey = std::pair<std::int16_t, std::int16_t>;  // displacement, raise/lower

bool IsNote(const EXENTRY& entry) { return (entry.flags & kEntryNoteFlag) != 0; }

std::vector<PitchKey> Pitches(const EXENTRY& entry) {
  std::vector<PitchKey> pitches;
  if (!IsNote(entry)) return pitches;
  for (std::int16_t n = 0; n < entry.noteCount && n < kMaxEntryNotes; ++n)
    pitches.emplace_back(entry.notes[n].displacement, entry.notes[n].raiseLower);
  return pitches;
}

const std::vector<EXENTRY>& LayerOf(const StaffBefore& before, std::int16_t measure, std::int16_t layer) {
  static const std::vector<EXENTRY> kNone;
  auto found = before.layers.find(simhost::LayerPlace{before.staff, measure, layer});
  return found == before.layers.end() ? kNone : found->second;
}

// The selected range of measures, limited to the document as a layer limits it.
std::pair<std::int16_t, std::int16_t> MeasureRange(const simhost::Document& document, const EREGION& region) {
  if (region.startMeasure == 0 && region.endMeasure == 0) return {1, 0};
  const std::int16_t first = region.startMeasure > 0 ? region.startMeasure : 1;
  std::int16_t last = region.endMeasure;
  if (last == -1 || last > document.MeasureCount()) last = document.MeasureCount();
  return {first, last};
}

bool WithinRegion(const EREGION& region, std::int16_t measure, std::int32_t position) {
  if (measure < region.startMeasure || measure > region.endMeasure) return false;
  if (measure == region.startMeasure && position < region.startPos) return false;
  if (measure == region.endMeasure && position > region.endPos) return false;
  return true;
}

bool StaffSelected(const simhost::Document& document, std::int16_t staff, const EREGION& region) {
  const std::int16_t slot = document.StaffToSlot(staff, 0);
  return slot > 0 && slot >= region.startSlot && slot <= region.endSlot;
}

bool Qualifies(const simhost::Document& document, const StaffBefore& before, const RunConditions& run,
               std::int32_t* largest) {
  if (!StaffSelected(document, before.staff, run.region)) return false;
  if (!run.hiddenLayers.empty() && run.hiddenLayers[0]) return false;
  const auto range = MeasureRange(document, run.region);
  bool any = false;
  bool anyInRegion = false;
  *largest = 0;
  for (std::int16_t m = range.first; m <= range.second; ++m) {
    for (std::int16_t layer = 1; layer < kHostLayers; ++layer)
      if (!LayerOf(before, m, layer).empty()) return false;
    for (const EXENTRY& entry : LayerOf(before, m, 0)) {
      any = true;
      if (WithinRegion(run.region, m, entry.measurePos)) anyInRegion = true;
      if (IsNote(entry)) *largest = std::max<std::int32_t>(*largest, entry.noteCount);
    }
  }
  return any && anyInRegion && *largest >= 2 && *largest <= 4 && *largest <= run.reportedLayers;
}

std::string Where(std::int16_t staff, std::int16_t measure, std::int16_t layer, std::size_t index) {
  std::ostringstream text;
  text << "staff " << staff << " measure " << measure << " layer " << (layer + 1) << " entry " << index << ": ";
  return text.str();
}

std::string JudgeEntry(const EXENTRY& source, const std::vector<const EXENTRY*>& results, std::int32_t largest,
                       bool inRegion, bool duplicateUnisons) {
  const std::vector<PitchKey> chord = Pitches(source);
  std::vector<PitchKey> descending = chord;
  std::sort(descending.begin(), descending.end(), std::greater<PitchKey>());
  for (std::int32_t k = 0; k < largest; ++k) {
    const EXENTRY& result = *results[std::size_t(k)];
    if (result.duration != source.duration || result.measurePos != source.measurePos)
      return "rhythm differs from layer 1 in layer " + std::to_string(k + 1);
    const bool filler = (result.flags & kEntryFillerRestMark) != 0;
    std::vector<PitchKey> expected;
    if (!inRegion) {
      if (k == 0) expected = chord;
      if (k > 0 && !filler) return "a rest outside the region lacks the filler mark";
    } else if (!IsNote(source)) {
      // a rest stays a rest everywhere
    } else if (descending.size() == 1 && duplicateUnisons) {
      expected = descending;
    } else if (std::size_t(k) < descending.size()) {
      expected.push_back(descending[std::size_t(k)]);
    }
    std::vector<PitchKey> actual = Pitches(result);
    std::sort(actual.begin(), actual.end());
    std::sort(expected.begin(), expected.end());
    if (actual != expected) return "notes of layer " + std::to_string(k + 1) + " are not the expected ones";
    if (expected.empty() && IsNote(result)) return "layer " + std::to_string(k + 1) + " should hold a rest";
  }
  return "";
}

}  // namespace

std::vector<StaffBefore> TakeStaves(const simhost::Document& document) {
  std::vector<StaffBefore> staves;
  for (std::int16_t staff : document.ScoreOrder()) {
    StaffBefore before;
    before.staff = staff;
    before.snapshot = simhost::SnapshotStaff(document, staff);
    for (std::int16_t m = 1; m <= document.MeasureCount(); ++m)
      for (std::int16_t layer = 0; layer < kHostLayers; ++layer)
        before.layers[simhost::LayerPlace{staff, m, layer}] = document.Entries(staff, m, layer);
    staves.push_back(std::move(before));
  }
  return staves;
}

std::string JudgeStaff(const simhost::Document& after, const StaffBefore& before, const RunConditions& run) {
  std::int32_t largest = 0;
  if (!Qualifies(after, before, run, &largest)) {
    const simhost::StaffSnapshot now = simhost::SnapshotStaff(after, before.staff);
    if (now == before.snapshot) return "";
    return "staff " + std::to_string(before.staff) + " should be untouched:\n" +
           simhost::DescribeDifferences(before.snapshot, now);
  }
  const auto range = MeasureRange(after, run.region);
  for (std::int16_t m = 1; m <= after.MeasureCount(); ++m) {
    const bool inRange = m >= range.first && m <= range.second;
    for (std::int16_t layer = 0; layer < kHostLayers; ++layer) {
      const std::vector<EXENTRY>& now = after.Entries(before.staff, m, layer);
      const std::vector<EXENTRY>& was = LayerOf(before, m, layer);
      const bool expectChange = inRange && layer < largest;
      if (!expectChange && now.size() != was.size())
        return Where(before.staff, m, layer, 0) + "changed outside the exploded layers";
      if (expectChange && now.size() != LayerOf(before, m, 0).size())
        return Where(before.staff, m, layer, 0) + "entry count differs from layer 1";
    }
    if (!inRange) continue;
    const std::vector<EXENTRY>& source = LayerOf(before, m, 0);
    for (std::size_t i = 0; i < source.size(); ++i) {
      std::vector<const EXENTRY*> results;
      for (std::int16_t layer = 0; layer < largest; ++layer) results.push_back(&after.Entries(before.staff, m, layer)[i]);
      const std::string problem = JudgeEntry(source[i], results, largest,
                                             WithinRegion(run.region, m, source[i].measurePos), run.duplicateUnisons);
      if (!problem.empty()) return Where(before.staff, m, 0, i) + problem;
      for (std::int16_t layer = 1; layer < largest; ++layer)
        if (results[std::size_t(layer)]->entryNumber == 0) return Where(before.staff, m, layer, i) + "no entry number";
    }
  }
  return "";
}

std::string FindLostNote(const simhost::Document& after, const StaffBefore& before) {
  for (std::int16_t m = 1; m <= after.MeasureCount(); ++m) {
    std::map<std::int32_t, std::vector<PitchKey>> present;
    for (std::int16_t layer = 0; layer < kHostLayers; ++layer)
      for (const EXENTRY& entry : after.Entries(before.staff, m, layer))
        for (const PitchKey& pitch : Pitches(entry)) present[std::int32_t(entry.measurePos)].push_back(pitch);
    std::map<std::int32_t, std::vector<PitchKey>> needed;
    for (std::int16_t layer = 0; layer < kHostLayers; ++layer)
      for (const EXENTRY& entry : LayerOf(before, m, layer))
        for (const PitchKey& pitch : Pitches(entry)) needed[std::int32_t(entry.measurePos)].push_back(pitch);
    for (auto& [position, pitches] : needed) {
      std::vector<PitchKey> have = present[position];
      for (const PitchKey& pitch : pitches) {
        auto found = std::find(have.begin(), have.end(), pitch);
        if (found == have.end()) {
          std::ostringstream text;
          text << "staff " << before.staff << " measure " << m << " position " << position << " lost the note "
               << pitch.first << "/" << pitch.second;
          return text.str();
        }
        have.erase(found);
      }
    }
  }
  return "";
}

}  // namespace e2e
