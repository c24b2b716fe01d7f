#include "musicxml/mxtupletreader.h"

#include <cstring>

#include "musicxml/mxtext.h"

namespace musicxml {
namespace {

std::int32_t BracketNumber(pugi::xml_node bracket) {
  std::int64_t number = 1;
  if (!ParseWholeNumber(bracket.attribute("number").value(), 1, 16, &number)) number = 1;
  return std::int32_t(number);
}

// The <tuplet> brackets of every note of an event that start (or stop) there, in document order.
std::vector<pugi::xml_node> Brackets(const MxEvent& event, const char* type) {
  std::vector<pugi::xml_node> brackets;
  for (const MxNote& note : event.notes)
    for (pugi::xml_node notations : note.source.children("notations"))
      for (pugi::xml_node bracket : notations.children("tuplet"))
        if (std::strcmp(bracket.attribute("type").value(), type) == 0) brackets.push_back(bracket);
  return brackets;
}

// A count and value from <tuplet-actual> or <tuplet-normal>; false when the count is missing.
bool BracketPart(pugi::xml_node part, std::int32_t* count, MxNoteValue* value) {
  std::int64_t number = 0;
  if (!part || !ParseWholeNumber(part.child("tuplet-number").text().get(), 1, 4096, &number)) return false;
  *count = std::int32_t(number);
  if (pugi::xml_node type = part.child("tuplet-type")) {
    value->type = NoteTypeFromName(TrimmedText(type).c_str());
    value->dots = 0;
    for (pugi::xml_node dot = part.child("tuplet-dot"); dot; dot = dot.next_sibling("tuplet-dot")) ++value->dots;
  }
  return true;
}

}  // namespace

void MxTupletReader::CloseFrom(std::size_t level) {
  if (level < _open.size()) _open.resize(level);
}

bool MxTupletReader::ImplicitLevelIsFull(const MxMeasure& measure, const MxTuplet& tuplet) const {
  MxFraction filled;
  for (std::int32_t i = tuplet.first; i <= tuplet.last; ++i) {
    const MxEvent& event = measure.events[std::size_t(i)];
    if (!event.grace) filled += NoteValueLength(event.value);
  }
  return filled >= NoteValueLength(tuplet.unit) * MxFraction(tuplet.actual);
}

MxResult MxTupletReader::OpenLevel(MxMeasure* measure, std::int32_t eventIndex, pugi::xml_node bracket,
                                   bool innermost) {
  const MxEvent& event = measure->events[std::size_t(eventIndex)];
  const MxTimeModification& tm = event.timeModification;
  std::int64_t outerActual = 1;
  std::int64_t outerNormal = 1;
  for (const Open& open : _open) {
    outerActual *= measure->tuplets[std::size_t(open.tuplet)].actual;
    outerNormal *= measure->tuplets[std::size_t(open.tuplet)].normal;
  }
  MxTuplet tuplet;
  tuplet.first = tuplet.last = eventIndex;
  tuplet.unit = tm.normalValue.HasType() ? tm.normalValue : event.value;
  MxNoteValue actualValue;
  const bool fromBracket = bracket && BracketPart(bracket.child("tuplet-actual"), &tuplet.actual, &actualValue) &&
                           BracketPart(bracket.child("tuplet-normal"), &tuplet.normal, &tuplet.unit);
  // The innermost level takes what the time-modification leaves after the outer levels.
  if (innermost && tm.actual % outerActual == 0 && tm.normal % outerNormal == 0) {
    tuplet.actual = std::int32_t(tm.actual / outerActual);
    tuplet.normal = std::int32_t(tm.normal / outerNormal);
  } else if (!fromBracket) {
    return MxResult::Fail(MxStatus::kUnsupported,
                          "the tuplet brackets around this note do not give the ratio of its time-modification",
                          _score.fileName, event.notes.front().line);
  }
  if (!tuplet.unit.HasType()) tuplet.unit = event.value;
  measure->tuplets.push_back(tuplet);
  _open.push_back(Open{bracket ? BracketNumber(bracket) : 0, std::int32_t(measure->tuplets.size()) - 1});
  return MxResult();
}

MxResult MxTupletReader::Group(MxMeasure* measure, const std::vector<std::int32_t>& stream) {
  _open.clear();
  for (std::int32_t index : stream) {
    const MxEvent& event = measure->events[std::size_t(index)];
    if (event.grace) continue;
    const MxTimeModification& tm = event.timeModification;
    if (!tm.present || (tm.actual == 1 && tm.normal == 1)) {
      CloseFrom(0);
      continue;
    }
    // A level without brackets ends when full, or when the ratio changes.
    if (!_open.empty() && _open.back().number == 0) {
      const MxTuplet& implicit = measure->tuplets[std::size_t(_open.back().tuplet)];
      if (ImplicitLevelIsFull(*measure, implicit)) CloseFrom(_open.size() - 1);
    }
    const std::vector<pugi::xml_node> starts = Brackets(event, "start");
    for (std::size_t s = 0; s < starts.size(); ++s) {
      const std::int32_t number = BracketNumber(starts[s]);
      for (std::size_t level = 0; level < _open.size(); ++level)
        if (_open[level].number == number || _open[level].number == 0) {
          CloseFrom(level);
          break;
        }
      MxResult result = OpenLevel(measure, index, starts[s], s + 1 == starts.size());
      if (!result) return result;
    }
    std::int64_t actual = 1;
    std::int64_t normal = 1;
    for (const Open& open : _open) {
      actual *= measure->tuplets[std::size_t(open.tuplet)].actual;
      normal *= measure->tuplets[std::size_t(open.tuplet)].normal;
    }
    if (actual != tm.actual || normal != tm.normal) {
      // A ratio without a bracket of its own: a level without brackets inside the open ones.
      if (!_open.empty() && _open.back().number == 0) CloseFrom(_open.size() - 1);
      MxResult result = OpenLevel(measure, index, pugi::xml_node(), true);
      if (!result) return result;
      actual = normal = 1;
      for (const Open& open : _open) {
        actual *= measure->tuplets[std::size_t(open.tuplet)].actual;
        normal *= measure->tuplets[std::size_t(open.tuplet)].normal;
      }
      if (actual != tm.actual || normal != tm.normal)
        return MxResult::Fail(MxStatus::kUnsupported,
                              "the time-modification of this note does not agree with its tuplet brackets",
                              _score.fileName, event.notes.front().line);
    }
    for (const Open& open : _open) measure->tuplets[std::size_t(open.tuplet)].last = index;
    for (pugi::xml_node stop : Brackets(event, "stop")) {
      const std::int32_t number = BracketNumber(stop);
      for (std::size_t level = 0; level < _open.size(); ++level)
        if (_open[level].number == number) {
          CloseFrom(level);
          break;
        }
    }
  }
  return MxResult();
}

}  // namespace musicxml
