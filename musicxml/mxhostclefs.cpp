#include "musicxml/mxhostclefs.h"

#include <cstring>

namespace musicxml {
namespace {

constexpr std::int32_t kMiddleC = 28;  // diatonic number of C4

struct HostClef {
  MxClef clef;
  std::int16_t index;
};

// The clefs the host defines itself.
const HostClef kHostClefs[] = {
    {{'G', 2, 0}, simhost::kClefTreble},     {{'C', 3, 0}, simhost::kClefAlto},
    {{'C', 4, 0}, simhost::kClefTenor},      {{'F', 4, 0}, simhost::kClefBass},
    {{'P', 3, 0}, simhost::kClefPercussion}, {{'G', 2, -1}, simhost::kClefTreble8vb},
    {{'F', 4, -1}, simhost::kClefBass8vb},   {{'G', 2, 1}, simhost::kClefTreble8va},
};

}  // namespace

std::int32_t MxHostClefs::MiddleCPosition(const MxClef& clef) {
  // The pitch that sits on the clef's own line: G4, F3, C4. Other signs read like a treble clef.
  std::int32_t reference = 32;
  std::int32_t line = clef.line;
  if (clef.sign == 'F') reference = 24;
  if (clef.sign == 'C') reference = 28;
  if (clef.sign != 'G' && clef.sign != 'F' && clef.sign != 'C') line = 2;
  const std::int32_t linePosition = -8 + 2 * (line - 1);
  return linePosition + (kMiddleC - reference) - 7 * clef.octaveChange;
}

std::int16_t MxHostClefs::IndexOf(const MxClef& clef, simhost::Document* document) {
  for (const HostClef& host : kHostClefs)
    if (host.clef == clef) return host.index;
  if (clef.sign == 'P') return simhost::kClefPercussion;
  const std::int16_t position = std::int16_t(MiddleCPosition(clef));
  simhost::RecordStore& records = document->Records();
  std::int16_t index = simhost::kClefCount;
  for (;; ++index) {
    const simhost::RecordBytes* found = records.Find(simhost::tags::kClefDef, simhost::NumberKey(index));
    if (found == nullptr) break;
    std::int16_t stored = 0;
    if (found->size() >= 2) std::memcpy(&stored, found->data(), 2);
    if (stored == position) return index;
  }
  simhost::RecordBytes definition(std::size_t(simhost::kClefDefSize), 0);
  std::memcpy(definition.data(), &position, 2);
  records.Save(simhost::tags::kClefDef, simhost::NumberKey(index), definition);
  return index;
}

}  // namespace musicxml
