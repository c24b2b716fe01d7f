#include "musicxml/mxnotewriter.h"

#include <cstring>
#include <string>


namespace musicxml {
namespace {

struct ChildRule {
  const char* name;
  MxNoteChildRole role;
};

// Children of <note> that are not the host's, in schema order.
const ChildRule kNoteChildren[] = {
    {"instrument", MxNoteChildRole::kPerNote}, {"footnote", MxNoteChildRole::kMarkings},
    {"level", MxNoteChildRole::kMarkings},     {"accidental", MxNoteChildRole::kPerNote},
    {"stem", MxNoteChildRole::kStem},          {"notehead", MxNoteChildRole::kPerNote},
    {"notehead-text", MxNoteChildRole::kPerNote}, {"beam", MxNoteChildRole::kRhythm},
    {"notations", MxNoteChildRole::kPerNote},  {"lyric", MxNoteChildRole::kMarkings},
    {"play", MxNoteChildRole::kPerNote},       {"listen", MxNoteChildRole::kPerNote},
};

const char* const kHostChildren[] = {"grace", "cue", "chord", "pitch", "unpitched", "rest", "duration",
                                     "tie", "voice", "type", "dot", "time-modification", "staff"};

// Children of <notations> that belong to one pitch or to the rhythm; all others are the chord's markings.
const ChildRule kNotationChildren[] = {
    {"tied", MxNoteChildRole::kPerNote},      {"tuplet", MxNoteChildRole::kRhythm},
    {"technical", MxNoteChildRole::kPerNote}, {"glissando", MxNoteChildRole::kPerNote},
    {"slide", MxNoteChildRole::kPerNote},     {"arpeggiate", MxNoteChildRole::kPerNote},
    {"accidental-mark", MxNoteChildRole::kPerNote},
};

std::uint32_t GroupOf(MxNoteChildRole role) {
  switch (role) {
    case MxNoteChildRole::kPerNote: return kCopyPerNote;
    case MxNoteChildRole::kRhythm: return kCopyRhythm;
    case MxNoteChildRole::kStem: return kCopyStem;
    case MxNoteChildRole::kMarkings: return kCopyMarkings;
    default: return 0;
  }
}

void CopyAttributes(pugi::xml_node from, pugi::xml_node to) {
  for (pugi::xml_attribute attribute : from.attributes()) to.append_attribute(attribute.name()) = attribute.value();
}

void AppendText(pugi::xml_node parent, const char* name, const std::string& text) {
  parent.append_child(name).text().set(text.c_str());
}

// Copies the children of one <notations> whose groups are wanted; answers whether any was copied.
bool CopyNotations(pugi::xml_node notations, std::uint32_t groups, pugi::xml_node out) {
  pugi::xml_node copy;
  for (pugi::xml_node child : notations.children()) {
    // Stray text inside <notations> stays with the note it was found in.
    const bool text = child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata;
    if (child.type() != pugi::node_element && !(text && (groups & kCopyPerNote) != 0)) continue;
    if (!text && (GroupOf(NoteChildRole(child.name(), true)) & groups) == 0) continue;
    if (!copy) {
      copy = out.append_child("notations");
      CopyAttributes(notations, copy);
    }
    copy.append_copy(child);
  }
  return bool(copy);
}

void WritePlaced(pugi::xml_node placed, const MxNote& note) {
  if (!note.hasPitch) return;
  placed.append_child("display-step").text().set(std::string(1, note.pitch.step).c_str());
  placed.append_child("display-octave").text().set(note.pitch.octave);
}

}  // namespace

MxNoteChildRole NoteChildRole(const char* name, bool inNotations) {
  if (inNotations) {
    for (const ChildRule& rule : kNotationChildren)
      if (std::strcmp(rule.name, name) == 0) return rule.role;
    return MxNoteChildRole::kMarkings;
  }
  for (const char* host : kHostChildren)
    if (std::strcmp(host, name) == 0) return MxNoteChildRole::kHost;
  for (const ChildRule& rule : kNoteChildren)
    if (std::strcmp(rule.name, name) == 0) return rule.role;
  return MxNoteChildRole::kPerNote;
}

std::vector<pugi::xml_node> OrderedNoteChildren(pugi::xml_node note) {
  static const char* const kOrder[] = {"grace", "cue", "chord", "pitch", "unpitched", "rest", "duration", "tie",
                                       "instrument", "footnote", "level", "voice", "type", "dot", "accidental",
                                       "time-modification", "stem", "notehead", "notehead-text", "staff", "beam",
                                       "notations", "lyric", "play", "listen"};
  std::vector<pugi::xml_node> ordered;
  for (const char* name : kOrder)
    for (pugi::xml_node child : note.children(name)) ordered.push_back(child);
  for (pugi::xml_node child : note.children())
    if (child.type() == pugi::node_element && !IsKnownNoteChild(child.name())) ordered.push_back(child);
  return ordered;
}

bool IsKnownNoteChild(const char* name) {
  if (NoteChildRole(name, false) == MxNoteChildRole::kHost) return true;
  for (const ChildRule& rule : kNoteChildren)
    if (std::strcmp(rule.name, name) == 0) return true;
  return false;
}

bool MxNoteWriter::WriteEvent(const MxEvent& event, const Context& context, pugi::xml_node measure) {
  std::int64_t duration = 0;
  if (!event.grace && (!event.duration.ToUnits(context.divisions, &duration) || duration > 0x7FFFFFFF)) return false;
  for (std::size_t i = 0; i < event.notes.size(); ++i)
    WriteNote(event, event.notes[i], i > 0, context, duration, measure.append_child("note"));
  return true;
}

void MxNoteWriter::WriteNote(const MxEvent& event, const MxNote& note, bool chord, const Context& context,
                             std::int64_t duration, pugi::xml_node out) {
  const pugi::xml_node source = note.source;
  const std::uint32_t groups = note.copyGroups;
  // Copies the children of that name from the element, when their group is wanted.
  auto copyNamed = [&out](pugi::xml_node from, const char* name) {
    for (pugi::xml_node child : from.children(name)) out.append_copy(child);
  };
  auto copyRule = [&](const ChildRule& rule) {
    if (std::strcmp(rule.name, "notations") == 0) return;
    const std::uint32_t group = GroupOf(rule.role);
    if ((groups & group) == 0) return;
    copyNamed(group == kCopyRhythm && note.rhythmSource ? note.rhythmSource : source, rule.name);
  };
  CopyAttributes(source, out);
  if (event.grace) CopyAttributes(source.child("grace"), out.append_child("grace"));
  if (event.cue) out.append_child("cue");
  if (chord) out.append_child("chord");
  if (event.rest) {
    pugi::xml_node rest = out.append_child("rest");
    CopyAttributes(source.child("rest"), rest);
    WritePlaced(rest, note);
  } else if (note.unpitched) {
    WritePlaced(out.append_child("unpitched"), note);
  } else {
    pugi::xml_node pitch = out.append_child("pitch");
    AppendText(pitch, "step", std::string(1, note.pitch.step));
    if (note.pitch.alter != 0) pitch.append_child("alter").text().set(note.pitch.alter);
    pitch.append_child("octave").text().set(note.pitch.octave);
  }
  if (!event.grace) AppendText(out, "duration", std::to_string(duration));
  if (!event.cue) {
    if (note.tieStop) out.append_child("tie").append_attribute("type") = "stop";
    if (note.tieStart) out.append_child("tie").append_attribute("type") = "start";
  }
  for (const ChildRule& rule : kNoteChildren) {
    if (std::strcmp(rule.name, "accidental") == 0) {
      // voice, type and dots come before the accidental
      out.append_child("voice").text().set(context.voice);
      if (event.value.HasType()) {
        pugi::xml_node type = out.append_child("type");
        CopyAttributes(source.child("type"), type);
        type.text().set(NoteTypeName(event.value.type));
        pugi::xml_node sourceDot = source.child("dot");
        for (std::int32_t d = 0; d < event.value.dots; ++d) {
          CopyAttributes(sourceDot, out.append_child("dot"));
          sourceDot = sourceDot.next_sibling("dot");
        }
      }
    }
    if (std::strcmp(rule.name, "stem") == 0 && event.timeModification.present) {
      const MxTimeModification& tm = event.timeModification;
      pugi::xml_node modification = out.append_child("time-modification");
      modification.append_child("actual-notes").text().set(tm.actual);
      modification.append_child("normal-notes").text().set(tm.normal);
      if (tm.normalValue.HasType()) {
        AppendText(modification, "normal-type", NoteTypeName(tm.normalValue.type));
        for (std::int32_t d = 0; d < tm.normalValue.dots; ++d) modification.append_child("normal-dot");
      }
    }
    if (std::strcmp(rule.name, "beam") == 0 && context.writeStaff)
      out.append_child("staff").text().set(note.displayStaff);
    if (std::strcmp(rule.name, "notations") == 0) {
      const std::uint32_t ownGroups = note.rhythmSource ? groups & ~kCopyRhythm : groups;
      for (pugi::xml_node notations : source.children("notations")) CopyNotations(notations, ownGroups, out);
      if (note.rhythmSource && (groups & kCopyRhythm) != 0)
        for (pugi::xml_node notations : note.rhythmSource.children("notations"))
          CopyNotations(notations, kCopyRhythm, out);
      pugi::xml_node borrowed;
      for (pugi::xml_node marking : note.borrowedMarkings) {
        if (std::strcmp(marking.name(), "lyric") == 0) continue;
        if (!borrowed) borrowed = out.append_child("notations");
        borrowed.append_copy(marking);
      }
    }
    copyRule(rule);
    if (std::strcmp(rule.name, "lyric") == 0)
      for (pugi::xml_node marking : note.borrowedMarkings)
        if (std::strcmp(marking.name(), "lyric") == 0) out.append_copy(marking);
  }
  // Children no rule names (from later versions of the format) stay with their note.
  if ((groups & kCopyPerNote) != 0)
    for (pugi::xml_node child : source.children())
      if (child.type() == pugi::node_element && !IsKnownNoteChild(child.name())) out.append_copy(child);
}

}  // namespace musicxml
