#include "musicxml/mxwriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "musicxml/mxarchive.h"
#include "musicxml/mxnotewriter.h"
#include "musicxml/mxtext.h"

namespace musicxml {
namespace {

constexpr std::int64_t kMaxDivisions = 0x7FFFFFFF;

const char kDoctype[] =
    "score-partwise PUBLIC \"-//Recordare//DTD MusicXML 4.0 Partwise//EN\" "
    "\"http://www.musicxml.org/dtds/partwise.dtd\"";

bool EndsWithMxl(const std::string& path) {
  return path.size() >= 4 && (path.compare(path.size() - 4, 4, ".mxl") == 0 || path.compare(path.size() - 4, 4, ".MXL") == 0);
}

// Answers the divisions per quarter that write every time value of the part
// in whole numbers, and that every divisions value it read divides; 0 when too fine.
std::int64_t PartDivisions(const MxPart& part) {
  std::int64_t divisions = 1;
  auto need = [&divisions](std::int64_t denominator) {
    if (divisions != 0) divisions = LeastCommonMultiple(divisions, denominator, kMaxDivisions);
  };
  for (std::int32_t used : part.divisionsUsed) need(used);
  for (const MxMeasure& measure : part.measures) {
    need(measure.duration.Denominator());
    for (const MxItem& item : measure.items) need(item.position.Denominator());
    for (const MxEvent& event : measure.events) {
      need(event.position.Denominator());
      need(event.duration.Denominator());
    }
  }
  return divisions;
}

// Rewrites an offset or duration counted in the divisions it was read in into the output's.
void Rescale(pugi::xml_node value, std::int64_t from, std::int64_t to) {
  const std::int64_t factor = to / from;  // the output's divisions are a multiple of every input's
  std::int64_t number = 0;
  if (ParseWholeNumber(value.text().get(), -(INT64_MAX / factor), INT64_MAX / factor, &number))
    value.text().set((long long)(number * factor));
  else
    value.text().set(std::strtod(value.text().get(), nullptr) * double(factor));
}

pugi::xml_node CopyElement(const MxItem& item, std::int64_t divisions, bool firstAttributes, pugi::xml_node out) {
  pugi::xml_node copy = out.append_copy(item.element);
  if (std::strcmp(copy.name(), "attributes") == 0) {
    pugi::xml_node given = copy.child("divisions");
    if (given) {
      given.text().set((long long)divisions);
    } else if (firstAttributes && divisions != 1) {
      pugi::xml_node after = copy.child("level") ? copy.child("level") : copy.child("footnote");
      pugi::xml_node added = after ? copy.insert_child_after("divisions", after) : copy.prepend_child("divisions");
      added.text().set((long long)divisions);
    }
    return copy;
  }
  if (item.divisions != divisions)
    for (pugi::xml_node child : copy.children())
      if (std::strcmp(child.name(), "offset") == 0 || std::strcmp(child.name(), "duration") == 0)
        Rescale(child, item.divisions, divisions);
  return copy;
}

void AppendMove(pugi::xml_node measure, const char* name, std::int64_t amount, std::int32_t voice, std::int32_t staff) {
  pugi::xml_node move = measure.append_child(name);
  move.append_child("duration").text().set((long long)amount);
  if (voice > 0) move.append_child("voice").text().set(voice);
  if (staff > 0) move.append_child("staff").text().set(staff);
}

// Answers whether the part gives its divisions before its first note.
bool DivisionsComeBeforeNotes(const MxPart& part) {
  for (const MxMeasure& measure : part.measures)
    for (const MxItem& item : measure.items) {
      if (item.kind == MxItem::Kind::kEvent) return false;
      if (std::strcmp(item.element.name(), "attributes") == 0 && item.element.child("divisions")) return true;
    }
  return false;
}

}  // namespace

MxResult MxWriter::WritePart(const MxScore& score, const MxPart& part, pugi::xml_node out) {
  const std::int64_t divisions = PartDivisions(part);
  if (divisions == 0)
    return MxResult::Fail(MxStatus::kWriteError,
                          "part \"" + part.id + "\" has time values too fine for whole divisions", score.fileName);
  // The divisions must be given before the first note: by the first attributes
  // when they come first, else by attributes of their own at the start.
  const bool givenBeforeNotes = DivisionsComeBeforeNotes(part);
  bool divisionsWritten = givenBeforeNotes;
  for (std::size_t m = 0; m < part.measures.size(); ++m) {
    const MxMeasure& measure = part.measures[m];
    pugi::xml_node element = out.append_child("measure");
    for (pugi::xml_attribute attribute : measure.source.attributes())
      element.append_attribute(attribute.name()) = attribute.value();
    if (!element.attribute("number")) element.append_attribute("number") = std::to_string(m + 1).c_str();
    if (m == 0 && !givenBeforeNotes && divisions != 1) {
      const bool startsWithAttributes = !measure.items.empty() && measure.items.front().kind == MxItem::Kind::kElement &&
                                        std::strcmp(measure.items.front().element.name(), "attributes") == 0;
      if (!startsWithAttributes) {
        element.append_child("attributes").append_child("divisions").text().set((long long)divisions);
        divisionsWritten = true;
      }
    }
    std::int64_t cursor = 0;
    std::int64_t reached = 0;
    for (const MxItem& item : measure.items) {
      const MxEvent* event = item.kind == MxItem::Kind::kEvent ? &measure.events[std::size_t(item.event)] : nullptr;
      std::int64_t position = 0;
      if (!(event ? event->position : item.position).ToUnits(divisions, &position) || position > kMaxDivisions)
        return MxResult::Fail(MxStatus::kWriteError, "a position cannot be written in whole divisions", score.fileName);
      MxNoteWriter::Context context;
      context.divisions = divisions;
      context.writeStaff = part.staves > 1;
      if (event != nullptr)
        context.voice = event->layer <= 4 ? (event->staff - 1) * 4 + event->layer : event->voice;
      if (position > cursor)
        AppendMove(element, "forward", position - cursor, event ? context.voice : 0,
                   event && context.writeStaff ? event->staff : 0);
      if (position < cursor) AppendMove(element, "backup", cursor - position, 0, 0);
      cursor = position;
      if (event == nullptr) {
        const bool first = !divisionsWritten && divisions != 1 && std::strcmp(item.element.name(), "attributes") == 0;
        CopyElement(item, divisions, first, element);
        divisionsWritten = divisionsWritten || first;
        continue;
      }
      if (!MxNoteWriter::WriteEvent(*event, context, element))
        return MxResult::Fail(MxStatus::kWriteError, "a duration cannot be written in whole divisions", score.fileName);
      std::int64_t duration = 0;
      if (!event->grace) event->duration.ToUnits(divisions, &duration);
      cursor += duration;
      if (cursor > reached) reached = cursor;
    }
    std::int64_t length = 0;
    if (!measure.duration.ToUnits(divisions, &length) || length > kMaxDivisions)
      return MxResult::Fail(MxStatus::kWriteError, "a measure is too long to write in whole divisions", score.fileName);
    if (reached < length && cursor < length) AppendMove(element, "forward", length - cursor, 0, 0);
  }
  return MxResult();
}

MxResult MxWriter::WriteText(const MxScore& score, std::string* text) {
  pugi::xml_document document;
  pugi::xml_node declaration = document.append_child(pugi::node_declaration);
  declaration.append_attribute("version") = "1.0";
  declaration.append_attribute("encoding") = "UTF-8";
  document.append_child(pugi::node_doctype).set_value(kDoctype);
  pugi::xml_node root = document.append_child("score-partwise");
  const pugi::xml_node source = score.Root();
  for (pugi::xml_attribute attribute : source.attributes())
    if (std::strcmp(attribute.name(), "version") != 0) root.append_attribute(attribute.name()) = attribute.value();
  root.append_attribute("version") = "4.0";
  for (pugi::xml_node child : source.children())
    if (child.type() == pugi::node_element && std::strcmp(child.name(), "part") != 0) root.append_copy(child);
  for (const MxPart& part : score.parts) {
    pugi::xml_node element = root.append_child("part");
    for (pugi::xml_attribute attribute : part.source.attributes())
      element.append_attribute(attribute.name()) = attribute.value();
    MxResult result = WritePart(score, part, element);
    if (!result) return result;
  }
  std::ostringstream stream;
  document.save(stream, "  ", pugi::format_default, pugi::encoding_utf8);
  *text = stream.str();
  return MxResult();
}

MxResult MxWriter::Serialise(const MxScore& score, const std::string& path, std::string* bytes) {
  std::string text;
  MxResult result = WriteText(score, &text);
  if (!result) return result;
  if (!EndsWithMxl(path)) {
    *bytes = std::move(text);
    return MxResult();
  }
  std::string member = path.substr(path.find_last_of('/') + 1);
  member = member.substr(0, member.size() - 4) + ".musicxml";
  result = MxArchive::Build(text, member, bytes);
  if (!result) result.file = path;
  return result;
}

MxResult MxWriter::WriteFile(const MxScore& score, const std::string& path) {
  std::string bytes;
  MxResult result = Serialise(score, path, &bytes);
  if (!result) return result;
  return WriteBytes(bytes, path);
}

MxResult MxWriter::WriteBytes(const std::string& bytes, const std::string& path) {
  std::string temporary = path + ".tmp-XXXXXX";
  const int descriptor = mkstemp(&temporary[0]);
  if (descriptor < 0)
    return MxResult::Fail(MxStatus::kWriteError,
                          std::string("cannot create the output file (") + std::strerror(errno) + ")", path);
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t count = write(descriptor, bytes.data() + written, bytes.size() - written);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) break;
    written += std::size_t(count);
  }
  const int savedError = errno;
  const bool complete = written == bytes.size();
  // mkstemp makes the file private; give it the mode a new file would get.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(descriptor, 0666 & ~mask);
  const bool closed = close(descriptor) == 0;
  if (!complete || !closed) {
    unlink(temporary.c_str());
    return MxResult::Fail(MxStatus::kWriteError, std::string("cannot write the output file (") +
                                                     std::strerror(complete ? errno : savedError) + ")", path);
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    const std::string reason = std::strerror(errno);
    unlink(temporary.c_str());
    return MxResult::Fail(MxStatus::kWriteError, "cannot put the output file in place (" + reason + ")", path);
  }
  return MxResult();
}

}  // namespace musicxml
