#include "musicxml/mxhostexport.h"

#include <cstring>
#include <set>

#include "musicxml/mxcanonical.h"
#include "musicxml/mxnotewriter.h"
#include "musicxml/mxpartlayout.h"
#include "simhost/pitch.h"

namespace musicxml {
namespace {

bool SameEntries(const std::vector<EXENTRY>& a, const std::vector<EXENTRY>& b) {
  return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(EXENTRY)) == 0);
}

// Whether entries keep the rhythm of the stored ones: the same count, positions and values.
bool SameRhythm(const std::vector<EXENTRY>& entries, const std::vector<EXENTRY>& stored) {
  if (entries.size() != stored.size()) return false;
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (entries[i].measurePos != stored[i].measurePos || entries[i].duration != stored[i].duration ||
        ((entries[i].flags ^ stored[i].flags) & kEntryGraceFlag) != 0)
      return false;
  return true;
}

MxNoteValue ValueOfUnits(std::int32_t units) { return NoteValueOfLength(MxFraction(units, kHostUnitsPerQuarter)); }

// The markings of a note element that stay with the chord (layer 1 after a split).
void CollectMarkings(pugi::xml_node note, std::vector<pugi::xml_node>* markings) {
  for (pugi::xml_node child : note.children()) {
    if (child.type() != pugi::node_element) continue;
    if (std::strcmp(child.name(), "notations") == 0) {
      for (pugi::xml_node notation : child.children())
        if (notation.type() == pugi::node_element &&
            NoteChildRole(notation.name(), true) == MxNoteChildRole::kMarkings)
          markings->push_back(notation);
    } else if (std::strcmp(child.name(), "lyric") == 0) {
      markings->push_back(child);
    }
  }
}

// One layer of one staff in one measure, rebuilt from the host.
class LayerExport {
 public:
  LayerExport(const simhost::Document& document, const MxMeasure& original, std::int32_t staff, std::int16_t layer,
              std::uint16_t key)
      : _document(document), _original(original), _staff(staff), _layer(layer), _key(key) {}

  // Appends the layer's events (and tuplets) to `measure`, taking what the
  // host does not hold from `origins` (the original events behind each entry, or empty).
  void Append(const std::vector<EXENTRY>& entries, const std::vector<std::int32_t>& origins, bool ownLayer,
              MxMeasure* measure, std::vector<std::int32_t>* added) const;

 private:
  MxEvent EventOf(const EXENTRY& entry, const std::vector<TupletInfo>& items, std::size_t index,
                  const MxEvent* origin, bool ownLayer) const;
  void FillNotes(const EXENTRY& entry, const MxEvent* origin, bool ownLayer, MxEvent* event) const;

  const simhost::Document& _document;
  const MxMeasure& _original;
  std::int32_t _staff;
  std::int16_t _layer;
  std::uint16_t _key;
};

MxEvent LayerExport::EventOf(const EXENTRY& entry, const std::vector<TupletInfo>& items, std::size_t index,
                             const MxEvent* origin, bool ownLayer) const {
  MxEvent event;
  event.staff = _staff;
  event.layer = _layer + 1;
  event.voice = origin != nullptr && ownLayer ? origin->voice : (_staff - 1) * 4 + _layer + 1;
  event.rest = (entry.flags & kEntryNoteFlag) == 0;
  event.grace = (entry.flags & kEntryGraceFlag) != 0;
  event.cue = origin != nullptr && origin->cue;
  event.value = ValueOfUnits(entry.duration);
  if (origin != nullptr && !origin->value.HasType()) {
    std::int64_t units = 0;
    if (origin->duration.ToUnits(kHostUnitsPerQuarter, &units) && units == entry.duration) event.value = MxNoteValue();
  }
  // The tuplets around the entry give its time-modification; the innermost its unit.
  std::int64_t actual = 1;
  std::int64_t normal = 1;
  std::int32_t innermostFirst = -1;
  MxNoteValue unit;
  for (const TupletInfo& item : items) {
    if (std::size_t(item.firstEntry) > index || std::size_t(item.lastEntry) < index) continue;
    const simhost::TupletRatio ratio = simhost::ReadTupletRatio(item.tuplet);
    actual *= ratio.actualCount;
    normal *= ratio.normalCount;
    if (item.firstEntry >= innermostFirst) {
      innermostFirst = item.firstEntry;
      unit = ValueOfUnits(ratio.actualUnit);
    }
  }
  if (innermostFirst >= 0 && !event.grace) {
    event.timeModification.present = true;
    event.timeModification.actual = std::int32_t(actual);
    event.timeModification.normal = std::int32_t(normal);
    if (unit != event.value) event.timeModification.normalValue = unit;
  }
  MxFraction written = event.value.HasType() ? NoteValueLength(event.value) : MxFraction(entry.duration, kHostUnitsPerQuarter);
  const MxFraction elapsed = event.grace ? MxFraction() : written * MxFraction(normal, actual);
  const bool sameRhythm = origin != nullptr && origin->value == event.value && origin->grace == event.grace &&
                          origin->timeModification.actual == event.timeModification.actual &&
                          origin->timeModification.normal == event.timeModification.normal;
  // The score's own elapsed time and position are exact where the host's units round.
  event.duration = sameRhythm ? origin->duration : elapsed;
  event.position = origin != nullptr ? origin->position : MxFraction(entry.measurePos, kHostUnitsPerQuarter);
  FillNotes(entry, origin, ownLayer, &event);
  return event;
}

void LayerExport::FillNotes(const EXENTRY& entry, const MxEvent* origin, bool ownLayer, MxEvent* event) const {
  const MxNote* lead = origin != nullptr ? &origin->notes.front() : nullptr;
  std::vector<bool> used(origin != nullptr ? origin->notes.size() : 0, false);
  // Finds the original note of a host note, by its pitch as the host holds it.
  auto match = [&](const EXNOTE& record) -> std::int32_t {
    if (origin == nullptr || origin->rest != event->rest) return -1;
    for (std::size_t i = 0; i < origin->notes.size(); ++i) {
      if (used[i]) continue;
      const MxNote& note = origin->notes[i];
      const simhost::Pitch pitch{note.pitch.step, std::int16_t(note.pitch.alter), std::int16_t(note.pitch.octave)};
      const EXNOTE held = simhost::NoteFromPitch(pitch, _key);
      if (held.displacement == record.displacement && held.raiseLower == record.raiseLower) {
        used[i] = true;
        return std::int32_t(i);
      }
    }
    return -1;
  };
  if (event->rest) {
    MxNote rest;
    rest.displayStaff = _staff;
    if (entry.noteCount > 0 && entry.notes[0].noteID == kMovableRestNoteID) {
      const simhost::Pitch pitch = simhost::PitchFromNote(entry.notes[0], _key);
      rest.hasPitch = true;
      rest.pitch = MxPitch{pitch.step, 0, pitch.octave};
    }
    if (lead != nullptr) {
      rest.source = lead->source;
      rest.displayStaff = lead->displayStaff;
      // A rest that took the place of a note keeps only the entry's rhythm marks.
      rest.copyGroups = origin->rest && ownLayer ? kCopyAll : kCopyRhythm;
    }
    event->notes.push_back(rest);
    return;
  }
  bool identical = origin != nullptr && ownLayer && std::size_t(entry.noteCount) == origin->notes.size();
  for (std::int16_t k = 0; k < entry.noteCount; ++k) {
    const EXNOTE& record = entry.notes[k];
    const simhost::Pitch pitch = simhost::PitchFromNote(record, _key);
    MxNote note;
    note.hasPitch = true;
    note.pitch = MxPitch{pitch.step, pitch.alter, pitch.octave};
    note.tieStart = (record.flags & kNoteTieFlag) != 0;
    note.displayStaff = _staff;
    const std::int32_t found = match(record);
    identical = identical && found == k;
    if (found >= 0) {
      const MxNote& source = origin->notes[std::size_t(found)];
      note.source = source.source;
      note.unpitched = source.unpitched;
      note.tieStop = source.tieStop;
      note.displayStaff = source.displayStaff;
      note.line = source.line;
    }
    event->notes.push_back(note);
  }
  if (identical || origin == nullptr) return;
  // A chord split by the command: each note keeps what is its own, the first
  // note of each entry the rhythm marks of the chord, and the first note of the
  // chord's own layer the markings of the notes that left it.
  for (std::size_t k = 0; k < event->notes.size(); ++k) {
    MxNote& note = event->notes[k];
    if (ownLayer) {
      note.copyGroups = k == 0 ? kCopyAll : (kCopyPerNote | kCopyStem | kCopyMarkings);
    } else {
      note.copyGroups = k == 0 ? (kCopyPerNote | kCopyRhythm) : kCopyPerNote;
    }
    if (k == 0 && note.source != lead->source) note.rhythmSource = lead->source;
  }
  if (!ownLayer) return;
  std::set<std::string> present;
  std::vector<pugi::xml_node> own;
  for (const MxNote& note : event->notes) CollectMarkings(note.source, &own);
  for (pugi::xml_node marking : own) present.insert(CanonicalXml(marking));
  for (std::size_t i = 0; i < used.size(); ++i) {
    if (used[i]) continue;
    std::vector<pugi::xml_node> markings;
    CollectMarkings(origin->notes[i].source, &markings);
    for (pugi::xml_node marking : markings)
      if (present.insert(CanonicalXml(marking)).second) event->notes.front().borrowedMarkings.push_back(marking);
  }
}

void LayerExport::Append(const std::vector<EXENTRY>& entries, const std::vector<std::int32_t>& origins, bool ownLayer,
                         MxMeasure* measure, std::vector<std::int32_t>* added) const {
  const std::vector<TupletInfo> items = _document.TupletItems(entries);
  const std::int32_t base = std::int32_t(measure->events.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const MxEvent* origin = i < origins.size() ? &_original.events[std::size_t(origins[i])] : nullptr;
    measure->events.push_back(EventOf(entries[i], items, i, origin, ownLayer));
    added->push_back(base + std::int32_t(i));
  }
  for (const TupletInfo& item : items) {
    const simhost::TupletRatio ratio = simhost::ReadTupletRatio(item.tuplet);
    MxTuplet tuplet;
    tuplet.first = base + item.firstEntry;
    tuplet.last = base + item.lastEntry;
    tuplet.actual = ratio.actualCount;
    tuplet.normal = ratio.normalCount;
    tuplet.unit = ValueOfUnits(ratio.actualUnit);
    measure->tuplets.push_back(tuplet);
  }
}

}  // namespace

bool MxHostExport::IsUnchanged(const simhost::Document& document, const MxHostBinding& binding, std::int16_t staff,
                               std::int16_t measure) {
  for (std::int16_t layer = 0; layer < binding.layers; ++layer) {
    const simhost::LayerPlace place{staff, measure, layer};
    const auto stored = binding.stored.find(place);
    const std::vector<EXENTRY> none;
    if (!SameEntries(document.Entries(place), stored == binding.stored.end() ? none : stored->second)) return false;
  }
  return true;
}

MxResult MxHostExport::Export(const simhost::Document& document, const MxHostBinding& binding, MxScore* score) {
  if (document.StaffCount() != std::int16_t(binding.staves.size()) ||
      document.MeasureCount() != std::int16_t(score->parts.front().measures.size()))
    return MxResult::Fail(MxStatus::kHostError, "the host's document no longer has the staves and measures imported",
                          score->fileName);
  for (std::size_t p = 0; p < score->parts.size(); ++p) {
    MxPart& part = score->parts[p];
    for (std::size_t m = 0; m < part.measures.size(); ++m) {
      const MxMeasure original = part.measures[m];
      MxMeasure& measure = part.measures[m];
      const std::int16_t number = std::int16_t(m + 1);
      const std::uint16_t key = document.GetKey(number);
      measure.events.clear();
      measure.tuplets.clear();
      // Each original event's new index, for the staves that kept their shape.
      std::vector<std::int32_t> renumbered(original.events.size(), -1);
      std::vector<std::vector<std::int32_t>> changedStreams(std::size_t(part.staves));
      std::vector<bool> changed(std::size_t(part.staves), false);
      for (std::int32_t s = 1; s <= part.staves; ++s) {
        const std::int16_t staff = binding.HostStaff(std::int32_t(p), s);
        changed[std::size_t(s - 1)] = !IsUnchanged(document, binding, staff, number);
        for (std::int16_t layer = 0; layer < binding.layers; ++layer) {
          const simhost::LayerPlace place{staff, number, layer};
          const std::vector<EXENTRY>& entries = document.Entries(place);
          if (entries.empty()) continue;
          // The events behind the entries: the layer's own, or layer 1's for a layer cloned from it.
          std::vector<std::int32_t> origins;
          bool ownLayer = true;
          const auto storedOwn = binding.stored.find(place);
          const auto storedFirst = binding.stored.find(simhost::LayerPlace{staff, number, 0});
          if (storedOwn != binding.stored.end() && SameRhythm(entries, storedOwn->second)) {
            origins = binding.events.at(place);
          } else if (storedFirst != binding.stored.end() && SameRhythm(entries, storedFirst->second)) {
            origins = binding.events.at(simhost::LayerPlace{staff, number, 0});
            ownLayer = layer == 0;
          }
          std::vector<std::int32_t> added;
          LayerExport(document, original, s, layer, key).Append(entries, origins, ownLayer, &measure, &added);
          if (changed[std::size_t(s - 1)]) {
            changedStreams[std::size_t(s - 1)].insert(changedStreams[std::size_t(s - 1)].end(), added.begin(),
                                                      added.end());
          } else {
            for (std::size_t i = 0; i < added.size() && i < origins.size(); ++i)
              renumbered[std::size_t(origins[i])] = added[i];
          }
        }
      }
      // Elements keep their places; events of unchanged staves keep theirs; a
      // changed staff's layers go where its first event stood.
      std::vector<MxItem> items;
      std::vector<bool> placed(std::size_t(part.staves), false);
      for (const MxItem& item : original.items) {
        if (item.kind == MxItem::Kind::kElement) {
          items.push_back(item);
          continue;
        }
        const MxEvent& event = original.events[std::size_t(item.event)];
        const std::size_t staffIndex = std::size_t(event.staff - 1);
        if (!changed[staffIndex]) {
          if (renumbered[std::size_t(item.event)] < 0) continue;
          MxItem moved = item;
          moved.event = renumbered[std::size_t(item.event)];
          items.push_back(moved);
          continue;
        }
        if (placed[staffIndex]) continue;
        placed[staffIndex] = true;
        for (std::int32_t index : changedStreams[staffIndex]) {
          MxItem added = item;
          added.event = index;
          added.position = measure.events[std::size_t(index)].position;
          items.push_back(added);
        }
      }
      // A changed staff that had no events before (filled by the command) goes last.
      for (std::size_t s = 0; s < placed.size(); ++s)
        if (changed[s] && !placed[s])
          for (std::int32_t index : changedStreams[s]) {
            MxItem added;
            added.kind = MxItem::Kind::kEvent;
            added.event = index;
            added.position = measure.events[std::size_t(index)].position;
            items.push_back(added);
          }
      measure.items = items;
    }
  }
  return MxResult();
}

}  // namespace musicxml
