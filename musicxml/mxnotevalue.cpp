#include "musicxml/mxnotevalue.h"

#include <cstring>

namespace musicxml {
namespace {

// Index i lasts 2^(i-8) quarter notes: "1024th" is 1/256 of a quarter, "quarter" is index 8.
const char* const kTypeNames[] = {"1024th", "512th", "256th", "128th", "64th",  "32nd",  "16th",
                                  "eighth", "quarter", "half", "whole", "breve", "long", "maxima"};
constexpr std::int32_t kTypeCount = std::int32_t(sizeof(kTypeNames) / sizeof(kTypeNames[0]));
constexpr std::int32_t kQuarterIndex = 8;
constexpr std::int32_t kBreveIndex = 11;
constexpr std::int32_t kMaxHostDots = 8;  // finer dots leave the host's units

}  // namespace

std::int32_t NoteTypeFromName(const char* name) {
  if (name == nullptr) return -1;
  for (std::int32_t i = 0; i < kTypeCount; ++i)
    if (std::strcmp(kTypeNames[i], name) == 0) return i;
  return -1;
}

const char* NoteTypeName(std::int32_t type) {
  return (type >= 0 && type < kTypeCount) ? kTypeNames[type] : nullptr;
}

MxFraction NoteValueLength(const MxNoteValue& value) {
  if (!value.HasType() || value.type >= kTypeCount || value.dots < 0 || value.dots > 16) return MxFraction();
  const std::int32_t shift = value.type - kQuarterIndex;
  const MxFraction plain = shift >= 0 ? MxFraction(std::int64_t(1) << shift) : MxFraction(1, std::int64_t(1) << -shift);
  // Each dot adds half of what the previous one added: the value times (2 - 2^-dots).
  const MxFraction factor = MxFraction((std::int64_t(2) << value.dots) - 1, std::int64_t(1) << value.dots);
  return plain * factor;
}

std::int32_t HostDurationOf(const MxNoteValue& value) {
  if (!value.HasType() || value.type > kBreveIndex || value.dots < 0 || value.dots > kMaxHostDots) return 0;
  std::int64_t units = 0;
  if (!NoteValueLength(value).ToUnits(kHostUnitsPerQuarter, &units)) return 0;
  return units > 0x7FFF ? 0 : std::int32_t(units);
}

MxNoteValue NoteValueOfLength(const MxFraction& length) {
  for (std::int32_t type = 0; type < kTypeCount; ++type)
    for (std::int32_t dots = 0; dots <= kMaxHostDots; ++dots) {
      const MxNoteValue candidate{type, dots};
      if (NoteValueLength(candidate) == length) return candidate;
    }
  return MxNoteValue();
}

}  // namespace musicxml
