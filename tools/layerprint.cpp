#include "tools/layerprint.h"

#include "simhost/scorebuilder.h"

namespace tools {

std::string DescribeLayers(simhost::Document& document, const musicxml::MxScore& score,
                           const musicxml::MxHostBinding& binding, const EREGION& selection) {
  simhost::ScoreBuilder builder(document);
  std::string text;
  for (std::int16_t slot = selection.startSlot; slot <= selection.endSlot; ++slot) {
    const std::int16_t staff = document.SlotToStaff(slot);
    if (staff <= 0 || std::size_t(staff) > binding.staves.size()) continue;
    const musicxml::MxHostBinding::Staff& place = binding.staves[std::size_t(staff - 1)];
    const musicxml::MxPart& part = score.parts[std::size_t(place.part)];
    text += "staff " + std::to_string(slot) + " (part " + part.id +
            (part.staves > 1 ? ", staff " + std::to_string(place.staff) : std::string()) + ")\n";
    for (std::int16_t measure = selection.startMeasure; measure <= selection.endMeasure; ++measure) {
      std::string lines;
      for (std::int16_t layer = 1; layer <= binding.layers; ++layer) {
        const std::string entries = builder.Describe(staff, measure, layer);
        if (entries.empty()) continue;
        lines += "    layer " + std::to_string(layer) + ": " + entries + "\n";
      }
      text += "  measure " + std::to_string(measure) + (lines.empty() ? " (empty)\n" : "\n" + lines);
    }
  }
  return text;
}

}  // namespace tools
