#include "musicxml/mxhostimport.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "musicxml/mxhostclefs.h"
#include "musicxml/mxpartlayout.h"
#include "simhost/pitch.h"

namespace musicxml {
namespace {

std::int32_t HostUnits(const MxFraction& quarters) {
  const long double value = (long double)quarters.Numerator() * kHostUnitsPerQuarter / quarters.Denominator();
  return std::int32_t(std::llround(value));
}

std::string Where(const MxScore& score, std::size_t part, std::size_t staff) {
  const MxPart& p = score.parts[part];
  return "part \"" + p.id + "\"" + (p.staves > 1 ? " staff " + std::to_string(staff) : std::string());
}

std::string VoiceList(const std::vector<std::int32_t>& voices) {
  std::string text;
  for (std::int32_t voice : voices) text += (text.empty() ? "" : ", ") + std::to_string(voice);
  return text;
}

}  // namespace

MxResult MxHostImport::CheckLayers(const MxScore& score, std::int16_t layers) {
  for (std::size_t p = 0; p < score.parts.size(); ++p)
    for (std::size_t s = 0; s < score.parts[p].layerVoices.size(); ++s) {
      const std::vector<std::int32_t>& voices = score.parts[p].layerVoices[s];
      if (std::int32_t(voices.size()) > layers)
        return MxResult::Fail(MxStatus::kTooManyLayers,
                              Where(score, p, s + 1) + " has " + std::to_string(voices.size()) + " voices (" +
                                  VoiceList(voices) + "); the host holds " + std::to_string(layers) +
                                  " layers per staff",
                              score.fileName, score.LineOf(score.parts[p].source));
    }
  return MxResult();
}

simhost::TimeSignature MxHostImport::HostTime(const MxScore& score, std::size_t measure) {
  const MxMeasure& first = score.parts.front().measures[measure];
  MxFraction length;
  for (const MxPart& part : score.parts)
    if (length < part.measures[measure].duration) length = part.measures[measure].duration;
  simhost::TimeSignature time;
  if (first.time.present && first.time.beatType > 0 && (4 * kHostUnitsPerQuarter) % first.time.beatType == 0) {
    time.beats = std::int16_t(first.time.beats);
    time.beatDuration = std::int16_t(4 * kHostUnitsPerQuarter / first.time.beatType);
  }
  const std::int32_t content = HostUnits(length);
  if (content <= 0 || content == time.Duration()) return time;
  // A measure whose content is not as long as its time signature gets a time signature of its length.
  if (time.beatDuration > 0 && content % time.beatDuration == 0 && content / time.beatDuration <= 0x7FFF) {
    time.beats = std::int16_t(content / time.beatDuration);
  } else if (content <= 0x7FFF) {
    time.beats = 1;
    time.beatDuration = std::int16_t(content);
  }
  return time;
}

MxResult MxHostImport::EntryOf(const MxScore& score, const MxEvent& event, std::uint16_t key, std::int16_t clef,
                               EXENTRY* entry) {
  std::memset(entry, 0, sizeof(EXENTRY));
  const std::int32_t line = event.notes.front().line;
  std::int32_t duration = HostDurationOf(event.value);
  if (duration == 0 && event.rest) {
    // A rest without a type lasts what it takes (whole-measure rests).
    std::int64_t units = 0;
    if (event.duration.ToUnits(kHostUnitsPerQuarter, &units) && units > 0 && units <= 0x7FFF)
      duration = std::int32_t(units);
  }
  if (duration == 0)
    return MxResult::Fail(MxStatus::kUnsupported, "the host cannot hold the value of this note", score.fileName, line);
  entry->duration = std::int16_t(duration);
  entry->measurePos = HostUnits(event.position);
  entry->clefIndex = clef;
  if (event.grace) entry->flags |= kEntryGraceFlag;
  if (!event.rest) entry->flags |= kEntryNoteFlag;
  const bool placedRest = event.rest && event.notes.front().hasPitch;
  if (event.rest && !placedRest) return MxResult();
  entry->noteCount = std::int16_t(event.notes.size());
  for (std::size_t i = 0; i < event.notes.size(); ++i) {
    const MxNote& note = event.notes[i];
    const simhost::Pitch pitch{note.pitch.step, std::int16_t(note.pitch.alter), std::int16_t(note.pitch.octave)};
    EXNOTE& record = entry->notes[i];
    record = simhost::NoteFromPitch(pitch, key);
    record.noteID = placedRest ? kMovableRestNoteID : std::int16_t(i + 1);
    record.flags = kNoteCreatedFlag;
    if (note.tieStart) record.flags |= kNoteTieFlag;
    if (note.source.child("accidental")) record.flags |= kNoteAccidentalFlag;
  }
  return MxResult();
}

MxResult MxHostImport::AddTuplets(const MxScore& score, const MxMeasure& measure,
                                  const std::vector<std::int32_t>& stream, const simhost::LayerPlace& place,
                                  simhost::Document* document) {
  auto indexInStream = [&stream](std::int32_t event) {
    for (std::size_t i = 0; i < stream.size(); ++i)
      if (stream[i] == event) return std::int32_t(i);
    return std::int32_t(-1);
  };
  std::vector<std::pair<std::int32_t, std::int32_t>> expected;
  for (const MxTuplet& tuplet : measure.tuplets) {
    const std::int32_t first = indexInStream(tuplet.first);
    if (first < 0) continue;
    const std::int32_t line = measure.events[std::size_t(tuplet.first)].notes.front().line;
    const std::int32_t unit = HostDurationOf(tuplet.unit);
    if (unit <= 0 || tuplet.actual > 0x7FFF || tuplet.normal > 0x7FFF)
      return MxResult::Fail(MxStatus::kUnsupported, "the host cannot hold the ratio of this tuplet", score.fileName,
                            line);
    const simhost::TupletRatio ratio{std::int16_t(tuplet.actual), std::int16_t(unit), std::int16_t(tuplet.normal),
                                     std::int16_t(unit)};
    if (document->AddTuplet(simhost::EntryPlace{place, first}, ratio) < 0)
      return MxResult::Fail(MxStatus::kHostError, "the host refused a tuplet", score.fileName, line);
    expected.emplace_back(first, indexInStream(tuplet.last));
  }
  // The host ends a tuplet where the written values fill it: it must end where the score's does.
  const std::vector<TupletInfo> items = document->TupletItems(document->Entries(place));
  std::vector<std::pair<std::int32_t, std::int32_t>> held;
  for (const TupletInfo& item : items) held.emplace_back(item.firstEntry, item.lastEntry);
  std::sort(expected.begin(), expected.end());
  std::sort(held.begin(), held.end());
  if (expected != held) {
    std::int32_t line = 0;
    for (std::size_t i = 0; i < expected.size() && line == 0; ++i)
      if (i >= held.size() || expected[i] != held[i])
        line = measure.events[std::size_t(stream[std::size_t(expected[i].first)])].notes.front().line;
    return MxResult::Fail(MxStatus::kUnsupported,
                          "a tuplet whose notes do not fill it cannot be held (the host would end it elsewhere)",
                          score.fileName, line);
  }
  return MxResult();
}

MxResult MxHostImport::Import(const MxScore& score, std::int16_t layers, simhost::Document* document,
                              MxHostBinding* binding) {
  if (document->StaffCount() != 0 || document->MeasureCount() != 0)
    return MxResult::Fail(MxStatus::kHostError, "the host's document is not empty", score.fileName);
  MxResult result = CheckLayers(score, layers);
  if (!result) return result;
  if (score.parts.front().measures.size() > 0x7FFF)
    return MxResult::Fail(MxStatus::kUnsupported, "the host holds at most 32767 measures", score.fileName);
  *binding = MxHostBinding();
  binding->layers = layers;
  for (std::size_t p = 0; p < score.parts.size(); ++p)
    for (std::int32_t s = 1; s <= score.parts[p].staves; ++s) {
      if (document->AddStaff() == 0)
        return MxResult::Fail(MxStatus::kHostError, "the host refused a staff", score.fileName);
      binding->staves.push_back(MxHostBinding::Staff{std::int32_t(p), s});
    }
  const std::size_t measures = score.parts.front().measures.size();
  for (std::size_t m = 0; m < measures; ++m)
    document->AddMeasure(HostTime(score, m), simhost::MakeKeyValue(score.parts.front().measures[m].keys.front().fifths,
                                                                   score.parts.front().measures[m].keys.front().minor));
  for (std::size_t p = 0; p < score.parts.size(); ++p) {
    const MxPart& part = score.parts[p];
    for (std::int32_t s = 1; s <= part.staves; ++s) {
      const std::int16_t staff = binding->HostStaff(std::int32_t(p), s);
      std::int16_t previousClef = -1;
      for (std::size_t m = 0; m < measures; ++m) {
        const MxMeasure& measure = part.measures[m];
        const std::int16_t number = std::int16_t(m + 1);
        const std::int16_t clef = MxHostClefs::IndexOf(measure.clefs[std::size_t(s - 1)], document);
        if (clef != previousClef) document->SetClef(staff, number, clef);
        previousClef = clef;
        const std::uint16_t key = document->GetKey(number);
        const auto streams = MxPartLayout::LayerStreams(measure, s);
        for (std::size_t layer = 0; layer < streams.size(); ++layer) {
          const simhost::LayerPlace place{staff, number, std::int16_t(layer)};
          std::vector<EXENTRY> entries(streams[layer].size());
          for (std::size_t i = 0; i < entries.size(); ++i) {
            const MxEvent& event = measure.events[std::size_t(streams[layer][i])];
            result = EntryOf(score, event, key, MxHostClefs::IndexOf(event.clef, document), &entries[i]);
            if (!result) return result;
          }
          if (!document->SetEntries(place, entries))
            return MxResult::Fail(MxStatus::kHostError, "the host refused the entries of a layer", score.fileName);
          result = AddTuplets(score, measure, streams[layer], place, document);
          if (!result) return result;
          binding->events[place] = streams[layer];
          binding->stored[place] = document->Entries(place);
        }
      }
    }
  }
  return MxResult();
}

}  // namespace musicxml
