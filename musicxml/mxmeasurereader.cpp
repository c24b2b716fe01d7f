#include "musicxml/mxmeasurereader.h"

#include <cstring>

#include "musicxml/mxtext.h"

namespace musicxml {
namespace {

constexpr std::int64_t kMaxWhole = 0x7FFFFFFF;
constexpr std::int32_t kMaxStaves = 64;
constexpr std::int32_t kMaxKeyFifths = 7;

bool Is(pugi::xml_node node, const char* name) { return std::strcmp(node.name(), name) == 0; }

// Default line of a clef sign when the clef gives none.
std::int32_t DefaultClefLine(char sign) {
  switch (sign) {
    case 'G': return 2;
    case 'F': return 4;
    case 'C': return 3;
    case 'T': return 5;
    default: return 3;
  }
}

char ClefSignLetter(const std::string& sign) {
  if (sign == "G" || sign == "F" || sign == "C") return sign[0];
  if (sign == "percussion") return 'P';
  if (sign == "TAB") return 'T';
  if (sign == "jianpu") return 'J';
  if (sign == "none") return 'N';
  return 0;
}

}  // namespace

MxMeasureReader::MxMeasureReader(const MxScore& score, MxPartState* state, std::vector<std::int32_t>* divisionsUsed)
    : _score(score), _state(state), _divisionsUsed(divisionsUsed) {
  GrowStaves(_state->staves);
}

MxResult MxMeasureReader::Fail(MxStatus status, const std::string& description, pugi::xml_node where) const {
  return MxResult::Fail(status, description, _score.fileName, _score.LineOf(where));
}

void MxMeasureReader::GrowStaves(std::int32_t staves) {
  if (staves > _state->staves) _state->staves = staves;
  if (std::int32_t(_state->keys.size()) < _state->staves) _state->keys.resize(std::size_t(_state->staves));
  if (std::int32_t(_state->clefs.size()) < _state->staves) _state->clefs.resize(std::size_t(_state->staves));
}

void MxMeasureReader::Advance(const MxFraction& amount) {
  _cursor += amount;
  if (_measure->duration < _cursor) _measure->duration = _cursor;
}

MxResult MxMeasureReader::ReadDuration(pugi::xml_node owner, MxFraction* duration) const {
  pugi::xml_node node = owner.child("duration");
  if (!node) return Fail(MxStatus::kBadValue, std::string("<") + owner.name() + "> without <duration>", owner);
  std::int64_t value = 0;
  if (!ParseWholeNumber(node.text().get(), INT64_MIN / 2, kMaxWhole, &value))
    return Fail(MxStatus::kBadValue, "duration \"" + TrimmedText(node) + "\" is not a whole number of divisions", node);
  if (value == 0) return Fail(MxStatus::kBadValue, "a duration of 0", node);
  if (value < 0) return Fail(MxStatus::kBadValue, "a negative duration (" + std::to_string(value) + ")", node);
  *duration = MxFraction(value, _state->divisions);
  return MxResult();
}

MxResult MxMeasureReader::Read(pugi::xml_node element, MxMeasure* measure, std::vector<MxClefChange>* clefChanges) {
  _measure = measure;
  _cursor = MxFraction();
  _lastEvent = -1;
  measure->source = element;
  measure->duration = MxFraction();
  measure->keys = _state->keys;
  measure->clefs = _state->clefs;
  measure->time = _state->time;
  for (pugi::xml_node child : element.children()) {
    if (child.type() != pugi::node_element) continue;
    if (Is(child, "note")) {
      MxResult result = AddNote(child);
      if (!result) return result;
      continue;
    }
    if (Is(child, "backup") || Is(child, "forward")) {
      MxFraction amount;
      MxResult result = ReadDuration(child, &amount);
      if (!result) return result;
      if (Is(child, "backup")) {
        // A backup past the start of the measure (a known exporter fault) stops at the start, as readers do.
        _cursor -= amount;
        if (_cursor.IsNegative()) _cursor = MxFraction();
      } else {
        Advance(amount);
      }
      if (!_cursor.IsValid()) return Fail(MxStatus::kUnsupported, "time values grow too large", child);
      _lastEvent = -1;
      continue;
    }
    MxItem item;
    item.kind = MxItem::Kind::kElement;
    item.element = child;
    item.position = _cursor;
    item.divisions = _state->divisions;
    measure->items.push_back(item);
    if (Is(child, "attributes")) {
      MxResult result = ReadAttributes(child, std::int32_t(measure->items.size()) - 1, clefChanges);
      if (!result) return result;
      measure->items.back().divisions = _state->divisions;
    }
  }
  measure->keys.resize(std::size_t(_state->staves));
  measure->clefs.resize(std::size_t(_state->staves));
  return MxResult();
}

MxResult MxMeasureReader::ReadAttributes(pugi::xml_node element, std::int32_t item,
                                         std::vector<MxClefChange>* clefChanges) {
  if (pugi::xml_node divisions = element.child("divisions")) {
    std::int64_t value = 0;
    if (!ParseWholeNumber(divisions.text().get(), 1, kMaxWhole, &value))
      return Fail(MxStatus::kBadValue, "divisions \"" + TrimmedText(divisions) + "\" is not a positive whole number",
                  divisions);
    _state->divisions = std::int32_t(value);
    _divisionsUsed->push_back(_state->divisions);
  }
  if (pugi::xml_node staves = element.child("staves")) {
    std::int64_t value = 0;
    if (!ParseWholeNumber(staves.text().get(), 1, kMaxStaves, &value))
      return Fail(MxStatus::kBadValue, "staves \"" + TrimmedText(staves) + "\" is not a number of staves", staves);
    GrowStaves(std::int32_t(value));
  }
  // Attributes at the very start of the measure set what the measure begins with.
  const bool atStart = _cursor.IsZero();
  for (pugi::xml_node key : element.children("key")) {
    MxResult result = ReadKey(key);
    if (!result) return result;
  }
  if (atStart) _measure->keys = _state->keys;
  for (pugi::xml_node time : element.children("time")) {
    MxResult result = ReadTime(time);
    if (!result) return result;
  }
  if (atStart) _measure->time = _state->time;
  for (pugi::xml_node clef : element.children("clef")) {
    MxResult result = ReadClef(clef, item, clefChanges);
    if (!result) return result;
  }
  if (atStart) _measure->clefs = _state->clefs;
  return MxResult();
}

MxResult MxMeasureReader::ReadKey(pugi::xml_node key) {
  std::int32_t first = 0;
  std::int32_t last = _state->staves - 1;
  if (pugi::xml_attribute number = key.attribute("number")) {
    std::int64_t staff = 0;
    if (!ParseWholeNumber(number.value(), 1, kMaxStaves, &staff))
      return Fail(MxStatus::kBadValue, "key number \"" + std::string(number.value()) + "\" is not a staff", key);
    GrowStaves(std::int32_t(staff));
    first = last = std::int32_t(staff) - 1;
  }
  MxKey value;
  if (pugi::xml_node fifths = key.child("fifths")) {
    std::int64_t count = 0;
    if (!ParseWholeNumber(fifths.text().get(), -kMaxKeyFifths, kMaxKeyFifths, &count))
      return Fail(MxStatus::kUnsupported, "a key of " + TrimmedText(fifths) + " fifths cannot be held", fifths);
    value.fifths = std::int32_t(count);
    value.minor = TrimmedText(key.child("mode")) == "minor";
  }
  for (std::int32_t staff = first; staff <= last; ++staff) _state->keys[std::size_t(staff)] = value;
  return MxResult();
}

MxResult MxMeasureReader::ReadTime(pugi::xml_node time) {
  if (time.child("senza-misura")) {
    _state->time = MxTime();
    return MxResult();
  }
  // Several beats/beat-type pairs (and "3+2" beats) add up over a common beat type.
  std::int64_t beats = 0;
  std::int64_t beatType = 1;
  pugi::xml_node beatsNode = time.child("beats");
  for (; beatsNode; beatsNode = beatsNode.next_sibling("beats")) {
    pugi::xml_node typeNode = beatsNode.next_sibling("beat-type");
    std::int64_t type = 0;
    if (!ParseWholeNumber(typeNode.text().get(), 1, 1024, &type))
      return Fail(MxStatus::kBadValue, "beat-type \"" + TrimmedText(typeNode) + "\" is not a note value",
                  typeNode ? typeNode : beatsNode);
    std::int64_t count = 0;
    std::string text = TrimmedText(beatsNode);
    std::size_t start = 0;
    while (start <= text.size()) {
      const std::size_t plus = text.find('+', start);
      const std::string term = text.substr(start, plus == std::string::npos ? std::string::npos : plus - start);
      std::int64_t value = 0;
      if (!ParseWholeNumber(term.c_str(), 0, 1024, &value))
        return Fail(MxStatus::kBadValue, "beats \"" + text + "\" is not a count of beats", beatsNode);
      count += value;
      if (plus == std::string::npos) break;
      start = plus + 1;
    }
    const std::int64_t common = LeastCommonMultiple(beatType, type, 1 << 20);
    if (common == 0) return Fail(MxStatus::kUnsupported, "this time signature cannot be held", time);
    beats = beats * (common / beatType) + count * (common / type);
    beatType = common;
  }
  if (beats <= 0 || beats > 0x7FFF) return Fail(MxStatus::kUnsupported, "this time signature cannot be held", time);
  _state->time.beats = std::int32_t(beats);
  _state->time.beatType = std::int32_t(beatType);
  _state->time.present = true;
  return MxResult();
}

MxResult MxMeasureReader::ReadClef(pugi::xml_node clef, std::int32_t item, std::vector<MxClefChange>* clefChanges) {
  std::int32_t staff = 1;
  if (pugi::xml_attribute number = clef.attribute("number")) {
    std::int64_t value = 0;
    if (!ParseWholeNumber(number.value(), 1, kMaxStaves, &value))
      return Fail(MxStatus::kBadValue, "clef number \"" + std::string(number.value()) + "\" is not a staff", clef);
    staff = std::int32_t(value);
    GrowStaves(staff);
  }
  MxClef value;
  value.sign = ClefSignLetter(TrimmedText(clef.child("sign")));
  if (value.sign == 0)
    return Fail(MxStatus::kBadValue, "clef sign \"" + TrimmedText(clef.child("sign")) + "\" is unknown", clef);
  value.line = DefaultClefLine(value.sign);
  std::int64_t number = 0;
  if (pugi::xml_node line = clef.child("line")) {
    if (!ParseWholeNumber(line.text().get(), 1, 9, &number))
      return Fail(MxStatus::kBadValue, "clef line \"" + TrimmedText(line) + "\" is not a staff line", line);
    value.line = std::int32_t(number);
  }
  if (pugi::xml_node change = clef.child("clef-octave-change")) {
    if (!ParseWholeNumber(change.text().get(), -4, 4, &number))
      return Fail(MxStatus::kBadValue, "clef-octave-change \"" + TrimmedText(change) + "\" is out of range", change);
    value.octaveChange = std::int32_t(number);
  }
  _state->clefs[std::size_t(staff - 1)] = value;
  clefChanges->push_back(MxClefChange{staff, _cursor, item, value});
  return MxResult();
}

MxResult MxMeasureReader::ReadNote(pugi::xml_node element, MxNote* note, MxEvent* event, bool* chord) const {
  note->source = element;
  note->line = _score.LineOf(element);
  *chord = bool(element.child("chord"));
  event->grace = bool(element.child("grace"));
  event->cue = bool(element.child("cue"));
  std::int64_t number = 0;
  if (pugi::xml_node pitch = element.child("pitch")) {
    note->hasPitch = true;
    note->pitch.step = TrimmedText(pitch.child("step")).size() == 1 ? TrimmedText(pitch.child("step"))[0] : '?';
    if (StepIndex(note->pitch.step) < 0)
      return Fail(MxStatus::kBadValue, "step \"" + TrimmedText(pitch.child("step")) + "\" is no note letter", pitch);
    if (pugi::xml_node alter = pitch.child("alter")) {
      if (!ParseWholeNumber(alter.text().get(), -3, 3, &number))
        return Fail(MxStatus::kUnsupported,
                    "alter \"" + TrimmedText(alter) + "\" (a microtone or more than a triple accidental) cannot be held",
                    alter);
      note->pitch.alter = std::int32_t(number);
    }
    if (!ParseWholeNumber(pitch.child("octave").text().get(), 0, 9, &number))
      return Fail(MxStatus::kBadValue, "octave \"" + TrimmedText(pitch.child("octave")) + "\" is out of range", pitch);
    note->pitch.octave = std::int32_t(number);
  } else if (pugi::xml_node placed = element.child("unpitched") ? element.child("unpitched") : element.child("rest")) {
    event->rest = Is(placed, "rest");
    note->unpitched = !event->rest;
    pugi::xml_node step = placed.child("display-step");
    if (step) {
      note->hasPitch = true;
      const std::string letter = TrimmedText(step);
      note->pitch.step = letter.size() == 1 ? letter[0] : '?';
      if (StepIndex(note->pitch.step) < 0)
        return Fail(MxStatus::kBadValue, "display-step \"" + letter + "\" is no note letter", step);
      if (!ParseWholeNumber(placed.child("display-octave").text().get(), 0, 9, &number))
        return Fail(MxStatus::kBadValue, "display-octave is missing or out of range", placed);
      note->pitch.octave = std::int32_t(number);
    } else if (note->unpitched) {
      // An unpitched note without a display position sits on the middle line of a treble staff.
      note->hasPitch = true;
      note->pitch = MxPitch{'B', 0, 4};
    }
  } else {
    return Fail(MxStatus::kBadValue, "<note> without <pitch>, <unpitched> or <rest>", element);
  }
  for (pugi::xml_node tie : element.children("tie")) {
    const std::string type = tie.attribute("type").value();
    if (type == "start") note->tieStart = true;
    if (type == "stop") note->tieStop = true;
  }
  if (pugi::xml_node staff = element.child("staff")) {
    if (!ParseWholeNumber(staff.text().get(), 1, kMaxStaves, &number))
      return Fail(MxStatus::kBadValue, "staff \"" + TrimmedText(staff) + "\" is not a staff number", staff);
    note->displayStaff = std::int32_t(number);
  }
  if (pugi::xml_node voice = element.child("voice")) {
    if (!ParseWholeNumber(voice.text().get(), 1, 1 << 20, &number))
      return Fail(MxStatus::kUnsupported, "voice \"" + TrimmedText(voice) + "\" is not a voice number", voice);
    event->voice = std::int32_t(number);
  }
  if (pugi::xml_node type = element.child("type")) {
    event->value.type = NoteTypeFromName(TrimmedText(type).c_str());
    if (event->value.type < 0)
      return Fail(MxStatus::kBadValue, "note type \"" + TrimmedText(type) + "\" is unknown", type);
    for (pugi::xml_node dot = element.child("dot"); dot; dot = dot.next_sibling("dot")) ++event->value.dots;
    if (HostDurationOf(event->value) == 0)
      return Fail(MxStatus::kUnsupported,
                  "the note value \"" + TrimmedText(type) + "\" with " + std::to_string(event->value.dots) +
                      " dot(s) cannot be held",
                  type);
  }
  if (pugi::xml_node modification = element.child("time-modification")) {
    MxTimeModification& tm = event->timeModification;
    tm.present = true;
    std::int64_t actual = 0;
    std::int64_t normal = 0;
    if (!ParseWholeNumber(modification.child("actual-notes").text().get(), 1, 4096, &actual) ||
        !ParseWholeNumber(modification.child("normal-notes").text().get(), 1, 4096, &normal))
      return Fail(MxStatus::kBadValue, "time-modification without usable actual-notes and normal-notes", modification);
    tm.actual = std::int32_t(actual);
    tm.normal = std::int32_t(normal);
    if (pugi::xml_node normalType = modification.child("normal-type")) {
      tm.normalValue.type = NoteTypeFromName(TrimmedText(normalType).c_str());
      if (tm.normalValue.type < 0)
        return Fail(MxStatus::kBadValue, "normal-type \"" + TrimmedText(normalType) + "\" is unknown", normalType);
      for (pugi::xml_node dot = modification.child("normal-dot"); dot; dot = dot.next_sibling("normal-dot"))
        ++tm.normalValue.dots;
    }
  }
  if (!event->grace) {
    MxResult result = ReadDuration(element, &event->duration);
    if (!result) return result;
  } else if (!event->value.HasType()) {
    return Fail(MxStatus::kUnsupported, "a grace note without <type> cannot be held", element);
  }
  return MxResult();
}

MxResult MxMeasureReader::AddNote(pugi::xml_node element) {
  MxNote note;
  MxEvent event;
  bool chord = false;
  MxResult result = ReadNote(element, &note, &event, &chord);
  if (!result) return result;
  if (chord && _lastEvent >= 0 && !event.rest && !_measure->events[std::size_t(_lastEvent)].rest) {
    MxEvent& lead = _measure->events[std::size_t(_lastEvent)];
    if (lead.duration != event.duration || (event.value.HasType() && lead.value != event.value) ||
        lead.grace != event.grace)
      return Fail(MxStatus::kUnsupported, "chord notes of different values or durations cannot be held", element);
    if (lead.notes.size() >= 12) return Fail(MxStatus::kUnsupported, "a chord of more than 12 notes cannot be held", element);
    lead.notes.push_back(note);
    return MxResult();
  }
  if (!event.value.HasType() && !event.rest) {
    MxFraction notated = event.duration;
    if (event.timeModification.present)
      notated = notated * MxFraction(event.timeModification.actual, event.timeModification.normal);
    event.value = NoteValueOfLength(notated);
    if (!event.value.HasType() || HostDurationOf(event.value) == 0)
      return Fail(MxStatus::kUnsupported, "a note without <type> whose duration is no note value cannot be held", element);
  }
  event.position = _cursor;
  event.notes.push_back(note);
  _measure->events.push_back(event);
  _lastEvent = std::int32_t(_measure->events.size()) - 1;
  MxItem item;
  item.kind = MxItem::Kind::kEvent;
  item.event = _lastEvent;
  item.position = _cursor;
  item.divisions = _state->divisions;
  _measure->items.push_back(item);
  Advance(event.duration);
  if (!_cursor.IsValid()) return Fail(MxStatus::kUnsupported, "time values grow too large", element);
  return MxResult();
}

}  // namespace musicxml
