#include "musicxml/mxreader.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "musicxml/mxarchive.h"
#include "musicxml/mxmeasurereader.h"
#include "musicxml/mxpartlayout.h"

namespace musicxml {
namespace {

// MusicXML nests a few levels deep; far deeper documents are refused before
// anything walks them recursively.
constexpr std::int32_t kMaxDepth = 64;

std::vector<std::size_t> LineStarts(const std::string& text) {
  std::vector<std::size_t> starts{0};
  for (std::size_t i = 0; i < text.size(); ++i)
    if (text[i] == '\n') starts.push_back(i + 1);
  return starts;
}

std::int32_t LineAtOffset(const std::vector<std::size_t>& starts, std::ptrdiff_t offset) {
  if (offset < 0) return 0;
  std::int32_t line = 0;
  for (std::size_t start : starts) {
    if (start > std::size_t(offset)) break;
    ++line;
  }
  return line;
}

// Answers the depth of the deepest element, walking without recursion.
std::int32_t Depth(pugi::xml_node root) {
  std::int32_t deepest = 0;
  std::int32_t depth = 0;
  pugi::xml_node node = root;
  while (node) {
    if (depth > deepest) deepest = depth;
    if (node.first_child()) {
      node = node.first_child();
      ++depth;
      continue;
    }
    while (node && !node.next_sibling() && node != root) {
      node = node.parent();
      --depth;
    }
    if (!node || node == root) break;
    node = node.next_sibling();
  }
  return deepest;
}

bool EndsWith(const std::string& text, const char* suffix) {
  const std::size_t length = std::strlen(suffix);
  if (text.size() < length) return false;
  for (std::size_t i = 0; i < length; ++i)
    if (std::tolower(static_cast<unsigned char>(text[text.size() - length + i])) != suffix[i]) return false;
  return true;
}

}  // namespace

MxResult MxReader::ReadFile(const std::string& path, MxScore* score) {
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return MxResult::Fail(MxStatus::kFileNotFound, std::string("cannot open the file (") + std::strerror(errno) + ")",
                          path);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) return MxResult::Fail(MxStatus::kReadError, "cannot read the file", path);
  const std::string content = bytes.str();
  if (EndsWith(path, ".mxl") && !MxArchive::LooksLikeZip(content))
    return MxResult::Fail(MxStatus::kNotZip, "a .mxl file must be a zip archive, and this one is not", path);
  return ReadMemory(content, path, score);
}

MxResult MxReader::ReadMemory(const std::string& bytes, const std::string& name, MxScore* score) {
  *score = MxScore();
  score->fileName = name;
  if (!MxArchive::LooksLikeZip(bytes)) return ReadDocument(bytes, score);
  std::string document;
  MxResult result = MxArchive::ExtractScore(bytes, name, &document);
  if (!result) return result;
  return ReadDocument(document, score);
}

MxResult MxReader::ReadDocument(const std::string& text, MxScore* score) {
  const std::vector<std::size_t> starts = LineStarts(text);
  const pugi::xml_parse_result parsed = score->Document().load_buffer(text.data(), text.size(), pugi::parse_default | pugi::parse_ws_pcdata_single);
  if (parsed.status == pugi::status_no_document_element)
    return MxResult::Fail(MxStatus::kNotXml, "not well-formed XML: the file holds no XML element", score->fileName, 1);
  if (!parsed) {
    std::string description = std::string("not well-formed XML: ") + parsed.description();
    if (parsed.offset >= std::ptrdiff_t(text.size()) - 1 || parsed.status == pugi::status_end_element_mismatch)
      description += " (is the file truncated?)";
    return MxResult::Fail(MxStatus::kNotXml, description, score->fileName, LineAtOffset(starts, parsed.offset));
  }
  score->SetLineStarts(starts);
  pugi::xml_node root = score->Root();
  if (!root) return MxResult::Fail(MxStatus::kNotXml, "the document has no root element", score->fileName);
  if (std::strcmp(root.name(), "score-partwise") != 0) {
    std::string description = std::string("the root element is <") + root.name() + ">, not <score-partwise>";
    if (std::strcmp(root.name(), "score-timewise") == 0) description += " (timewise scores are not supported)";
    return MxResult::Fail(MxStatus::kWrongRoot, description, score->fileName, score->LineOf(root));
  }
  if (Depth(root) > kMaxDepth)
    return MxResult::Fail(MxStatus::kUnsupported, "elements nest deeper than any MusicXML document does",
                          score->fileName);
  for (pugi::xml_node element : root.children("part")) {
    score->parts.emplace_back();
    MxResult result = ReadPart(score, element, &score->parts.back());
    if (!result) return result;
  }
  if (score->parts.empty())
    return MxResult::Fail(MxStatus::kBadValue, "the score has no <part>", score->fileName, score->LineOf(root));
  for (const MxPart& part : score->parts)
    if (part.measures.size() != score->parts.front().measures.size())
      return MxResult::Fail(MxStatus::kUnsupported,
                            "part \"" + part.id + "\" has " + std::to_string(part.measures.size()) +
                                " measures and part \"" + score->parts.front().id + "\" has " +
                                std::to_string(score->parts.front().measures.size()) +
                                "; the host needs the same measures in every part",
                            score->fileName, score->LineOf(part.source));
  return MxResult();
}

MxResult MxReader::ReadPart(MxScore* score, pugi::xml_node element, MxPart* part) {
  part->id = element.attribute("id").value();
  part->source = element;
  MxPartState state;
  std::vector<std::vector<MxClefChange>> clefChanges;
  MxMeasureReader reader(*score, &state, &part->divisionsUsed);
  for (pugi::xml_node measureElement : element.children("measure")) {
    part->measures.emplace_back();
    clefChanges.emplace_back();
    MxResult result = reader.Read(measureElement, &part->measures.back(), &clefChanges.back());
    if (!result) return result;
  }
  if (part->measures.empty())
    return MxResult::Fail(MxStatus::kBadValue, "part \"" + part->id + "\" has no <measure>", score->fileName,
                          score->LineOf(element));
  part->staves = state.staves;
  for (const MxMeasure& measure : part->measures)
    for (const MxEvent& event : measure.events)
      for (const MxNote& note : event.notes)
        if (note.displayStaff > part->staves) part->staves = note.displayStaff;
  for (MxMeasure& measure : part->measures) {
    measure.keys.resize(std::size_t(part->staves));
    measure.clefs.resize(std::size_t(part->staves));
  }
  return MxPartLayout::Arrange(*score, part, clefChanges);
}

}  // namespace musicxml
