#include "musicxml/mxscore.h"

#include <algorithm>

namespace musicxml {

MxScore::MxScore() : _document(new pugi::xml_document) {}
MxScore::MxScore(MxScore&&) noexcept = default;
MxScore& MxScore::operator=(MxScore&&) noexcept = default;
MxScore::~MxScore() = default;

std::int32_t MxScore::StaffCount() const {
  std::int32_t count = 0;
  for (const MxPart& part : parts) count += part.staves;
  return count;
}

std::int32_t MxScore::LineOf(pugi::xml_node node) const {
  const std::ptrdiff_t offset = node.offset_debug();
  if (offset < 0 || _lineStarts.empty()) return 0;
  const auto after = std::upper_bound(_lineStarts.begin(), _lineStarts.end(), std::size_t(offset));
  return std::int32_t(after - _lineStarts.begin());
}

}  // namespace musicxml
