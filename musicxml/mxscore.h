// The in-memory MusicXML score: the parts, their staves and measures, and the
// document they were read from, whose elements the model refers to for
// everything the host does not hold.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "musicxml/mxmeasure.h"

namespace musicxml {

struct MxPart {
  std::string id;
  pugi::xml_node source;           // the <part> element
  std::int32_t staves = 1;         // number of staves
  std::vector<MxMeasure> measures;
  // Per staff (index 0: staff 1), the voices that make its layers, layer 1 first.
  std::vector<std::vector<std::int32_t>> layerVoices;
  std::vector<std::int32_t> divisionsUsed;  // every <divisions> value of the part
};

class MxScore {
 public:
  MxScore();
  MxScore(MxScore&&) noexcept;
  MxScore& operator=(MxScore&&) noexcept;
  ~MxScore();

  // The document read; the model's element references point into it.
  pugi::xml_document& Document() { return *_document; }
  const pugi::xml_document& Document() const { return *_document; }
  pugi::xml_node Root() const { return _document->document_element(); }

  std::string fileName;   // the file it was read from, for messages
  std::vector<MxPart> parts;

  // Answers the number of staves of all parts together.
  std::int32_t StaffCount() const;

  // Answers the 1-based line of a node of the document, 0 when unknown.
  std::int32_t LineOf(pugi::xml_node node) const;
  // Remembers where the lines of the parsed text begin, for LineOf.
  void SetLineStarts(std::vector<std::size_t> starts) { _lineStarts = std::move(starts); }

 private:
  std::unique_ptr<pugi::xml_document> _document;
  std::vector<std::size_t> _lineStarts;
};

}  // namespace musicxml
