#include "musicxml/mxeventlist.h"

#include <algorithm>
#include <cstring>

#include "musicxml/mxcanonical.h"
#include "musicxml/mxnotewriter.h"
#include "musicxml/mxpartlayout.h"
#include "musicxml/mxtext.h"

namespace musicxml {
namespace {

std::string ValueText(const MxNoteValue& value) {
  if (!value.HasType()) return "-";
  return std::string(NoteTypeName(value.type)) + std::string(std::size_t(value.dots), '.');
}

std::string PitchText(const MxNote& note) {
  if (!note.hasPitch) return "default";
  std::string text(1, note.pitch.step);
  text += std::string(std::size_t(note.pitch.alter > 0 ? note.pitch.alter : 0), '#');
  text += std::string(std::size_t(note.pitch.alter < 0 ? -note.pitch.alter : 0), 'b');
  return text + std::to_string(note.pitch.octave);
}

// Everything of a note element the host does not hold: its attributes, the
// attributes of the host's own children, and the other children whole.
std::string Preserved(pugi::xml_node source) {
  if (!source) return "{}";
  std::string text = CanonicalAttributes(source);
  for (pugi::xml_node child : OrderedNoteChildren(source)) {
    const char* name = child.name();
    if (NoteChildRole(name, false) != MxNoteChildRole::kHost) {
      text += CanonicalXml(child);
    } else if (std::strcmp(name, "dot") == 0 ||
               ((std::strcmp(name, "grace") == 0 || std::strcmp(name, "rest") == 0 || std::strcmp(name, "type") == 0) &&
                source.child(name) == child)) {
      // The writer keeps the attributes of these host elements (only the first of a name, as it reads them).
      if (child.first_attribute()) text += CanonicalAttributes(child);
    }
  }
  return "{" + text + "}";
}

// An element kept at its position, without what depends on the divisions.
std::string ElementText(const MxItem& item) {
  pugi::xml_document copy;
  pugi::xml_node element = copy.append_copy(item.element);
  element.remove_child("divisions");
  for (pugi::xml_node child : element.children()) {
    if (std::strcmp(child.name(), "offset") != 0 && std::strcmp(child.name(), "duration") != 0) continue;
    std::int64_t number = 0;
    if (ParseWholeNumber(child.text().get(), INT64_MIN / 4, INT64_MAX / 4, &number))
      child.text().set(MxFraction(number, item.divisions).ToString().c_str());
  }
  return CanonicalXml(element);
}

std::string Place(std::size_t part, std::size_t measure) {
  return "P" + std::to_string(part + 1) + " m" + std::to_string(measure + 1);
}

}  // namespace

std::string MxEventList::DescribeEvent(const MxEvent& event, bool withPreserved) {
  std::string text = event.rest ? "rest" : "note";
  text += " value=" + ValueText(event.value) + " elapsed=" + event.duration.ToString();
  if (event.grace) text += " grace";
  if (event.cue) text += " cue";
  if (event.timeModification.present) {
    const MxTimeModification& tm = event.timeModification;
    text += " tm=" + std::to_string(tm.actual) + ":" + std::to_string(tm.normal) + "/" +
            ValueText(tm.normalValue.HasType() ? tm.normalValue : event.value);
  }
  for (const MxNote& note : event.notes) {
    text += " [" + PitchText(note) + (note.unpitched ? " unpitched" : "") + " shown=" + std::to_string(note.displayStaff);
    if (note.tieStop) text += " tie-stop";
    if (note.tieStart) text += " tie-start";
    if (withPreserved) text += " " + Preserved(note.source);
    text += "]";
  }
  return text;
}

std::vector<std::string> MxEventList::Of(const MxScore& score) {
  std::vector<std::string> lines;
  // The version is the writer's own (4.0); the root's other attributes are kept.
  pugi::xml_document root;
  pugi::xml_node copy = root.append_child(score.Root().name());
  for (pugi::xml_attribute attribute : score.Root().attributes())
    if (std::strcmp(attribute.name(), "version") != 0) copy.append_attribute(attribute.name()) = attribute.value();
  lines.push_back("root " + CanonicalAttributes(copy));
  for (pugi::xml_node child : score.Root().children())
    if (child.type() == pugi::node_element && std::strcmp(child.name(), "part") != 0)
      lines.push_back("header " + CanonicalXml(child));
  for (std::size_t p = 0; p < score.parts.size(); ++p) {
    const MxPart& part = score.parts[p];
    lines.push_back("part " + std::to_string(p + 1) + " " + CanonicalAttributes(part.source) +
                    " staves=" + std::to_string(part.staves));
    for (std::size_t m = 0; m < part.measures.size(); ++m) {
      const MxMeasure& measure = part.measures[m];
      const std::string place = Place(p, m);
      // A measure without the number the schema requires is written with its place as number.
      pugi::xml_document holder;
      pugi::xml_node attributes = holder.append_child("measure");
      for (pugi::xml_attribute attribute : measure.source.attributes())
        attributes.append_attribute(attribute.name()) = attribute.value();
      if (!attributes.attribute("number")) attributes.append_attribute("number") = std::to_string(m + 1).c_str();
      lines.push_back(place + " " + CanonicalAttributes(attributes) + " length=" + measure.duration.ToString());
      for (const MxItem& item : measure.items) {
        if (item.kind != MxItem::Kind::kElement) continue;
        const std::string text = ElementText(item);
        // Attributes that only gave divisions hold no music.
        if (text != "<attributes></attributes>") lines.push_back(place + " @" + item.position.ToString() + " " + text);
      }
      for (std::int32_t staff = 1; staff <= part.staves; ++staff) {
        const auto streams = MxPartLayout::LayerStreams(measure, staff);
        for (std::size_t layer = 0; layer < streams.size(); ++layer)
          for (std::int32_t index : streams[layer]) {
            const MxEvent& event = measure.events[std::size_t(index)];
            lines.push_back(place + " s" + std::to_string(staff) + " L" + std::to_string(layer + 1) + " @" +
                            event.position.ToString() + " " + DescribeEvent(event, true));
          }
      }
      for (const MxTuplet& tuplet : measure.tuplets) {
        const MxEvent& first = measure.events[std::size_t(tuplet.first)];
        const MxEvent& last = measure.events[std::size_t(tuplet.last)];
        lines.push_back(place + " s" + std::to_string(first.staff) + " L" + std::to_string(first.layer) + " tuplet " +
                        std::to_string(tuplet.actual) + ":" + std::to_string(tuplet.normal) + "/" +
                        ValueText(tuplet.unit) + " from @" + first.position.ToString() + " to @" +
                        last.position.ToString());
      }
    }
  }
  return lines;
}

std::vector<std::string> MxEventList::NotesWithoutLayers(const MxScore& score) {
  std::vector<std::string> lines;
  for (std::size_t p = 0; p < score.parts.size(); ++p)
    for (std::size_t m = 0; m < score.parts[p].measures.size(); ++m)
      for (const MxEvent& event : score.parts[p].measures[m].events) {
        if (event.rest) continue;
        MxEvent single = event;
        for (const MxNote& note : event.notes) {
          single.notes.assign(1, note);
          // The staff a voice belongs to follows from its voice's notes, which
          // change when layers change; the staff a note is shown on does not.
          lines.push_back(Place(p, m) + " @" + event.position.ToString() + " " + DescribeEvent(single, false));
        }
      }
  std::sort(lines.begin(), lines.end());
  return lines;
}

std::string MxEventList::Compare(const std::vector<std::string>& expected, const std::vector<std::string>& actual) {
  const std::size_t common = std::min(expected.size(), actual.size());
  for (std::size_t i = 0; i < common; ++i)
    if (expected[i] != actual[i])
      return "line " + std::to_string(i + 1) + " differs:\n  expected: " + expected[i] + "\n  actual:   " + actual[i];
  if (expected.size() != actual.size())
    return "the lists differ in length (" + std::to_string(expected.size()) + " and " + std::to_string(actual.size()) +
           "); first extra line: " + (expected.size() > common ? expected[common] : actual[common]);
  return std::string();
}

}  // namespace musicxml
