#include "musicxml/mxpartlayout.h"

#include <algorithm>
#include <map>

#include "musicxml/mxtupletreader.h"

namespace musicxml {
namespace {

// Home staff of every voice: the staff most of its notes are shown on (the lower number on a tie).
std::map<std::int32_t, std::int32_t> HomeStaves(const MxPart& part) {
  std::map<std::int32_t, std::map<std::int32_t, std::int32_t>> shown;
  for (const MxMeasure& measure : part.measures)
    for (const MxEvent& event : measure.events)
      for (const MxNote& note : event.notes) ++shown[event.voice][note.displayStaff];
  std::map<std::int32_t, std::int32_t> home;
  for (const auto& voice : shown) {
    std::int32_t best = 0;
    std::int32_t count = -1;
    for (const auto& staff : voice.second)
      if (staff.second > count) {
        best = staff.first;
        count = staff.second;
      }
    home[voice.first] = best;
  }
  return home;
}

MxClef ClefAt(const MxMeasure& measure, const std::vector<MxClefChange>& changes, const MxEvent& event,
              std::int32_t item) {
  MxClef clef = measure.clefs[std::size_t(event.staff - 1)];
  for (const MxClefChange& change : changes)
    if (change.staff == event.staff &&
        (change.position < event.position || (change.position == event.position && change.item < item)))
      clef = change.clef;
  return clef;
}

}  // namespace

std::vector<std::vector<std::int32_t>> MxPartLayout::LayerStreams(const MxMeasure& measure, std::int32_t staff) {
  std::vector<std::vector<std::int32_t>> streams;
  for (std::size_t i = 0; i < measure.events.size(); ++i) {
    const MxEvent& event = measure.events[i];
    if (event.staff != staff) continue;
    if (std::int32_t(streams.size()) < event.layer) streams.resize(std::size_t(event.layer));
    streams[std::size_t(event.layer - 1)].push_back(std::int32_t(i));
  }
  for (std::vector<std::int32_t>& stream : streams)
    std::stable_sort(stream.begin(), stream.end(), [&measure](std::int32_t a, std::int32_t b) {
      return measure.events[std::size_t(a)].position < measure.events[std::size_t(b)].position;
    });
  return streams;
}

MxResult MxPartLayout::Arrange(const MxScore& score, MxPart* part,
                               const std::vector<std::vector<MxClefChange>>& clefChanges) {
  const std::map<std::int32_t, std::int32_t> home = HomeStaves(*part);
  part->layerVoices.assign(std::size_t(part->staves), std::vector<std::int32_t>());
  for (const auto& voice : home) part->layerVoices[std::size_t(voice.second - 1)].push_back(voice.first);
  for (std::size_t m = 0; m < part->measures.size(); ++m) {
    MxMeasure& measure = part->measures[m];
    std::vector<std::int32_t> itemOfEvent(measure.events.size(), 0);
    for (std::size_t i = 0; i < measure.items.size(); ++i)
      if (measure.items[i].kind == MxItem::Kind::kEvent) itemOfEvent[std::size_t(measure.items[i].event)] = std::int32_t(i);
    for (std::size_t e = 0; e < measure.events.size(); ++e) {
      MxEvent& event = measure.events[e];
      event.staff = home.at(event.voice);
      const std::vector<std::int32_t>& voices = part->layerVoices[std::size_t(event.staff - 1)];
      event.layer = std::int32_t(std::find(voices.begin(), voices.end(), event.voice) - voices.begin()) + 1;
      event.clef = ClefAt(measure, clefChanges[m], event, itemOfEvent[e]);
    }
    MxTupletReader tuplets(score);
    for (std::int32_t staff = 1; staff <= part->staves; ++staff) {
      for (const std::vector<std::int32_t>& stream : LayerStreams(measure, staff)) {
        for (std::size_t i = 1; i < stream.size(); ++i) {
          const MxEvent& before = measure.events[std::size_t(stream[i - 1])];
          const MxEvent& event = measure.events[std::size_t(stream[i])];
          if (event.position < before.End())
            return MxResult::Fail(MxStatus::kUnsupported,
                                  "voice " + std::to_string(event.voice) +
                                      " has notes that overlap in time; a layer cannot hold them",
                                  score.fileName, event.notes.front().line);
        }
        MxResult result = tuplets.Group(&measure, stream);
        if (!result) return result;
      }
    }
  }
  return MxResult();
}

}  // namespace musicxml
