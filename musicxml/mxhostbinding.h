// What the import into the substitute host made of a score, kept for the
// export: which host staff is which staff of which part, which MusicXML event
// each stored entry came from, and the entries as they were stored, to tell
// the layers the command changed from those it left alone.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "simhost/document.h"
#include "tonaropdk/exentry.h"

namespace musicxml {

struct MxHostBinding {
  // A host staff: its part (index into the score's parts) and its staff in that part (from 1).
  struct Staff {
    std::int32_t part = 0;
    std::int32_t staff = 1;
  };

  std::vector<Staff> staves;  // by host staff number - 1
  // Per cell layer, the index of the event (in its measure) behind each stored entry, in entry order.
  std::map<simhost::LayerPlace, std::vector<std::int32_t>> events;
  // Per cell layer, the entries as the import stored them.
  std::map<simhost::LayerPlace, std::vector<EXENTRY>> stored;
  std::int16_t layers = 4;  // layers per staff of the host

  // Answers the host staff number of a part's staff, 0 when there is none.
  std::int16_t HostStaff(std::int32_t part, std::int32_t staff) const {
    for (std::size_t i = 0; i < staves.size(); ++i)
      if (staves[i].part == part && staves[i].staff == staff) return std::int16_t(i + 1);
    return 0;
  }
};

}  // namespace musicxml
